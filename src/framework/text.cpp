#include "framework/text.h"

#include <windows.h>

namespace tw {
namespace {

std::wstring Decode(unsigned codePage, std::string_view in) {
  if (in.empty()) return {};
  int n = MultiByteToWideChar(codePage, 0, in.data(), static_cast<int>(in.size()), nullptr, 0);
  std::wstring out(static_cast<size_t>(n), L'\0');
  MultiByteToWideChar(codePage, 0, in.data(), static_cast<int>(in.size()), out.data(), n);
  return out;
}

// No best-fit guesses ("é" → "e"): a character the code page lacks becomes its "?".
DWORD Flags(unsigned codePage) { return codePage == CP_UTF8 ? 0 : WC_NO_BEST_FIT_CHARS; }

std::string Encode(unsigned codePage, std::wstring_view in) {
  if (in.empty()) return {};
  int n = WideCharToMultiByte(codePage, Flags(codePage), in.data(), static_cast<int>(in.size()), nullptr, 0,
                              nullptr, nullptr);
  std::string out(static_cast<size_t>(n), '\0');
  WideCharToMultiByte(codePage, Flags(codePage), in.data(), static_cast<int>(in.size()), out.data(), n, nullptr,
                      nullptr);
  return out;
}

}  // namespace

std::wstring ToWide(std::string_view cp932) { return Decode(kCodePage932, cp932); }
std::string ToCp932(std::wstring_view wide) { return Encode(kCodePage932, wide); }
std::string ToUtf8(std::wstring_view wide) { return Encode(CP_UTF8, wide); }
std::wstring FromUtf8(std::string_view utf8) { return Decode(CP_UTF8, utf8); }

}  // namespace tw
