#pragma once
// Reading numbers from the text of data files the way the C library's atoi does (leading
// blanks, an optional sign, the leading digits; anything else reads as 0), but saturating at
// the limits of int instead of overflowing.
#include <climits>
#include <string_view>

namespace tw {

template <class Char>
int ParseDecimal(std::basic_string_view<Char> text) {
  size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || (text[i] >= '\t' && text[i] <= '\r'))) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  long long value = 0;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
    value = value * 10 + (text[i] - '0');
    if (value > static_cast<long long>(INT_MAX) + 1) value = static_cast<long long>(INT_MAX) + 1;
  }
  if (negative) value = -value;
  if (value > INT_MAX) return INT_MAX;
  if (value < INT_MIN) return INT_MIN;
  return static_cast<int>(value);
}

inline int ParseDecimal(std::string_view text) { return ParseDecimal<char>(text); }
inline int ParseDecimal(std::wstring_view text) { return ParseDecimal<wchar_t>(text); }

}  // namespace tw
