#include "framework/xml_declaration.h"

#include <cctype>

namespace tw {

std::string DeclaredEncoding(std::string_view bytes) {
  if (bytes.substr(0, 5) != "<?xml") return {};
  size_t end = bytes.find("?>");
  if (end == std::string_view::npos) return {};
  std::string_view decl = bytes.substr(0, end);
  size_t at = decl.find("encoding");
  if (at == std::string_view::npos) return {};
  at += 8;
  while (at < decl.size() && (decl[at] == ' ' || decl[at] == '\t' || decl[at] == '\r' ||
                              decl[at] == '\n' || decl[at] == '='))
    ++at;
  if (at >= decl.size() || (decl[at] != '"' && decl[at] != '\'')) return {};
  char quote = decl[at++];
  size_t close = decl.find(quote, at);
  if (close == std::string_view::npos) return {};
  std::string name(decl.substr(at, close - at));
  for (char& c : name) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return name;
}

unsigned LegacyJapaneseCodePage(const std::string& e) {
  if (e == "shift_jis" || e == "shift-jis" || e == "sjis" || e == "x-sjis" || e == "ms_kanji" ||
      e == "windows-31j" || e == "cp932" || e == "csshiftjis")
    return 932;
  if (e == "euc-jp" || e == "x-euc-jp" || e == "eucjp" || e == "cseucpkdfmtjapanese")
    return 20932;
  if (e == "iso-2022-jp" || e == "csiso2022jp") return 50220;
  return 0;
}

std::string_view WithoutDeclaration(std::string_view bytes) {
  if (bytes.substr(0, 5) != "<?xml") return bytes;
  size_t end = bytes.find("?>");
  return end == std::string_view::npos ? bytes : bytes.substr(end + 2);
}

}  // namespace tw
