#pragma once
// Reading the encoding named by an XML declaration, for documents whose bytes the DOM
// cannot decode by itself (Wine's MSXML knows no Japanese legacy encodings).
#include <string>
#include <string_view>

namespace tw {

// The lower-cased value of encoding="…" in a leading <?xml …?> declaration; empty when the
// bytes have no declaration or it names no encoding.
std::string DeclaredEncoding(std::string_view bytes);

// The Windows code page of a Japanese legacy encoding name (lower case), 0 for any other.
unsigned LegacyJapaneseCodePage(const std::string& encoding);

// The bytes with the leading XML declaration removed (so that text already decoded to UTF-16
// is not decoded a second time by its old name).
std::string_view WithoutDeclaration(std::string_view bytes);

}  // namespace tw
