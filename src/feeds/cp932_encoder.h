#pragma once
// Fast UTF-16 → code page 932 conversion for the feed readers, which convert every field of
// every item. The table is taken once from the system's own conversion (no best-fit
// guesses), so the result is the same as WideCharToMultiByte's, byte for byte.
#include <string>
#include <string_view>

namespace tw {

// Characters the code page lacks become "?"; replaced (when given) tells whether that
// happened.
std::string EncodeCp932(std::wstring_view text, bool* replaced = nullptr);

}  // namespace tw
