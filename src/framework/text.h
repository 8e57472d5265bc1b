#pragma once
// Text helpers. The program's text is std::string in code page 932 (Shift_JIS as Windows
// extends it); UTF-16 appears only at W API, COM and BSTR boundaries.
#include <string>
#include <string_view>

namespace tw {

constexpr unsigned kCodePage932 = 932;

// True when b starts a double-byte character in code page 932 (the same answer as
// IsDBCSLeadByteEx(932, b), without a system call per byte).
constexpr bool IsLeadByte932(unsigned char b) {
  return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}

// Code page 932 → UTF-16. Invalid bytes become the code page's default character.
std::wstring ToWide(std::string_view cp932);
// UTF-16 → code page 932. Characters the code page lacks become "?" (its replacement).
std::string ToCp932(std::wstring_view wide);
// UTF-16 ↔ UTF-8, for tools that print and for files that must be UTF-8.
std::string ToUtf8(std::wstring_view wide);
std::wstring FromUtf8(std::string_view utf8);
inline std::string Cp932ToUtf8(std::string_view cp932) { return ToUtf8(ToWide(cp932)); }
inline std::string Utf8ToCp932(std::string_view utf8) { return ToCp932(FromUtf8(utf8)); }

}  // namespace tw
