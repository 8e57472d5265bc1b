#include "model/xml_text_writer.h"

#include <windows.h>

namespace tw {
namespace {

bool IsHighSurrogate(wchar_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool IsLowSurrogate(wchar_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

}  // namespace

std::wstring XmlSafe(std::wstring_view text) {
  std::wstring out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    wchar_t c = text[i];
    if (IsHighSurrogate(c)) {
      if (i + 1 < text.size() && IsLowSurrogate(text[i + 1])) {
        out += c;
        out += text[++i];
      }
      continue;
    }
    if (IsLowSurrogate(c) || c == 0xFFFE || c == 0xFFFF) continue;
    if (c < 0x20 && c != L'\t' && c != L'\n' && c != L'\r') continue;
    out += c;
  }
  return out;
}

void CXmlTextWriter::Escape(std::wstring_view text, bool attribute) {
  for (size_t i = 0; i < text.size(); ++i) {
    const wchar_t c = text[i];
    if (IsHighSurrogate(c)) {
      if (i + 1 < text.size() && IsLowSurrogate(text[i + 1])) {
        out_ += c;
        out_ += text[++i];
      }
      continue;
    }
    switch (c) {
      case L'&':
        out_ += L"&amp;";
        continue;
      case L'<':
        out_ += L"&lt;";
        continue;
      case L'>':
        out_ += L"&gt;";
        continue;
      case L'\r':
        out_ += L"&#13;";
        continue;  // a raw one would read back as a line feed
      case L'"':
        out_ += attribute ? L"&quot;" : L"\"";
        continue;
      // Attribute values have their blanks normalised on reading unless written as references.
      case L'\t':
        out_ += attribute ? L"&#9;" : L"\t";
        continue;
      case L'\n':
        out_ += attribute ? L"&#10;" : L"\n";
        continue;
      default:
        break;
    }
    if (c < 0x20 || IsLowSurrogate(c) || c == 0xFFFE || c == 0xFFFF) continue;
    out_ += c;
  }
}

void CXmlTextWriter::OpenTag(const wchar_t* name, CAttributes attributes) {
  out_ += L'<';
  out_ += name;
  for (const auto& [attr, value] : attributes) {
    out_ += L' ';
    out_ += attr;
    out_ += L"=\"";
    Escape(value, true);
    out_ += L'"';
  }
}

void CXmlTextWriter::Start(const wchar_t* name, CAttributes attributes) {
  OpenTag(name, attributes);
  out_ += L'>';
}

void CXmlTextWriter::End(const wchar_t* name) {
  out_ += L"</";
  out_ += name;
  out_ += L'>';
}

void CXmlTextWriter::Element(const wchar_t* name, std::wstring_view text, CAttributes attributes) {
  OpenTag(name, attributes);
  if (text.empty()) {
    out_ += L"/>";
    return;
  }
  out_ += L'>';
  Escape(text, false);
  End(name);
}

void CXmlTextWriter::Element(const wchar_t* name, std::string_view cp932) {
  wide_.resize(cp932.size());  // code page 932 never yields more UTF-16 units than bytes
  int n = cp932.empty() ? 0
                        : MultiByteToWideChar(932, 0, cp932.data(), static_cast<int>(cp932.size()),
                                              wide_.data(), static_cast<int>(wide_.size()));
  Element(name, std::wstring_view(wide_.data(), n > 0 ? static_cast<size_t>(n) : 0));
}

}  // namespace tw
