#include "feeds/feed_text.h"

#include "feeds/cp932_encoder.h"
#include "framework/text.h"

namespace tw {
namespace {

wchar_t RepairedChar(wchar_t c) {
  switch (c) {
    case L'\u203E':
      return L'\u007E';  // overline → tilde
    case L'\u2014':
      return L'\u2015';  // em dash → horizontal bar
    case L'\u301C':
      return L'\uFF5E';  // wave dash → full-width tilde
    case L'\u2016':
      return L'\u2225';  // double vertical line → parallel to
    case L'\u2212':
      return L'\uFF0D';  // minus sign → full-width hyphen-minus
    default:
      return c;
  }
}

bool IsAsciiBlank(unsigned char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

}  // namespace

std::string PlainText(std::wstring_view text) { return EncodeCp932(text, nullptr); }

std::string RepairedText(std::wstring text) {
  bool replaced = false;
  std::string out = EncodeCp932(text, &replaced);
  if (!replaced) return out;
  for (wchar_t& c : text) c = RepairedChar(c);
  return EncodeCp932(text, nullptr);
}

std::string TrimCp932(const std::string& text) {
  size_t begin = std::string::npos, end = 0;
  for (size_t i = 0; i < text.size();) {
    auto b = static_cast<unsigned char>(text[i]);
    size_t width = IsLeadByte932(b) && i + 1 < text.size() ? 2 : 1;
    bool blank =
        width == 1 ? IsAsciiBlank(b) : b == 0x81 && static_cast<unsigned char>(text[i + 1]) == 0x40;
    if (!blank) {
      if (begin == std::string::npos) begin = i;
      end = i + width;
    }
    i += width;
  }
  return begin == std::string::npos ? std::string() : text.substr(begin, end - begin);
}

std::wstring NodeText(const CXmlNode& node) {
  try {
    return node.Text();
  } catch (const CComException&) {
    return {};
  }
}

std::wstring SelectedText(const CXmlNode& node, const std::wstring& xpath) {
  try {
    return node.SelectText(xpath);
  } catch (const CComException&) {
    return {};
  }
}

CChildElements::CChildElements(const CXmlNode& parent, std::initializer_list<CElementName> wanted,
                               size_t allIndex) {
  try {
    for (CXmlNode child = parent.FirstChild(); child; child = child.NextSibling()) {
      std::wstring name = child.BaseName();
      std::wstring ns;
      bool nsRead = false;
      size_t index = 0;
      for (const CElementName& w : wanted) {
        if (index < kMaxNames && name == w.name) {
          if (!nsRead) {
            if (child.Type() != NODE_ELEMENT) break;
            ns = child.NamespaceUri();
            nsRead = true;
          }
          if (ns == w.ns) {
            if (!first_[index]) first_[index] = child;
            if (index == allIndex) all_.push_back(child);
          }
        }
        ++index;
      }
    }
  } catch (const CComException&) {
    // Keep what was found before MSXML failed; the other fields stay empty.
  }
}

}  // namespace tw
