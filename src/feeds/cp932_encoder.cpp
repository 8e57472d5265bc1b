#include "feeds/cp932_encoder.h"

#include <windows.h>

#include <cstdint>
#include <memory>

#include "framework/text.h"

namespace tw {
namespace {

constexpr uint16_t kUnmappable = 0xFFFF;  // no character of code page 932 is encoded so

bool IsSurrogate(wchar_t c) { return c >= 0xD800 && c <= 0xDFFF; }

// code[u] is the code page 932 code of UTF-16 unit u: one byte (< 0x100) or lead << 8 | trail.
class CEncodingTable {
 public:
  CEncodingTable() : code_(new uint16_t[0x10000]) {
    // Every unit but the surrogates, converted in one call; each gives exactly one
    // character of output (its code or the default "?").
    std::wstring all;
    all.reserve(0x10000);
    for (unsigned u = 1; u < 0x10000; ++u) {
      if (!IsSurrogate(static_cast<wchar_t>(u))) all += static_cast<wchar_t>(u);
    }
    std::string out(all.size() * 2, '\0');
    int n = WideCharToMultiByte(kCodePage932, WC_NO_BEST_FIT_CHARS, all.data(),
                                static_cast<int>(all.size()), out.data(),
                                static_cast<int>(out.size()), nullptr, nullptr);
    for (unsigned u = 0; u < 0x10000; ++u) code_[u] = kUnmappable;
    code_[0] = 0;
    size_t pos = 0;
    for (wchar_t c : all) {
      if (pos >= static_cast<size_t>(n)) break;
      auto b = static_cast<unsigned char>(out[pos]);
      if (IsLeadByte932(b) && pos + 1 < static_cast<size_t>(n)) {
        code_[c] = static_cast<uint16_t>(b << 8 | static_cast<unsigned char>(out[pos + 1]));
        pos += 2;
      } else {
        code_[c] = b == '?' && c != L'?' ? kUnmappable : b;
        ++pos;
      }
    }
  }

  uint16_t Code(wchar_t c) const { return code_[static_cast<uint16_t>(c)]; }

 private:
  std::unique_ptr<uint16_t[]> code_;
};

const CEncodingTable& Table() {
  static const CEncodingTable table;  // built once, thread-safe
  return table;
}

// The system's conversion, for text with surrogates (whose replacement rules are its own).
std::string SystemEncode(std::wstring_view text, bool* replaced) {
  std::string out(text.size() * 2, '\0');
  BOOL used = FALSE;
  int n = WideCharToMultiByte(kCodePage932, WC_NO_BEST_FIT_CHARS, text.data(),
                              static_cast<int>(text.size()), out.data(),
                              static_cast<int>(out.size()), nullptr, replaced ? &used : nullptr);
  out.resize(n > 0 ? static_cast<size_t>(n) : 0);
  if (replaced) *replaced = used != FALSE;
  return out;
}

}  // namespace

std::string EncodeCp932(std::wstring_view text, bool* replaced) {
  if (replaced) *replaced = false;
  const CEncodingTable& table = Table();
  std::string out;
  out.reserve(text.size() * 2);
  for (wchar_t c : text) {
    if (c < 0x80) {
      out += static_cast<char>(c);
      continue;
    }
    if (IsSurrogate(c)) return SystemEncode(text, replaced);
    uint16_t code = table.Code(c);
    if (code == kUnmappable) {
      out += '?';
      if (replaced) *replaced = true;
    } else if (code > 0xFF) {
      out += static_cast<char>(code >> 8);
      out += static_cast<char>(code & 0xFF);
    } else {
      out += static_cast<char>(code);
    }
  }
  return out;
}

}  // namespace tw
