#pragma once
// Builds the text of a large XML document directly, for data files too big to build node by
// node through the DOM quickly. The text is then parsed by the DOM, which checks it and saves
// it with its own output. Texts are escaped; characters that XML cannot carry are dropped
// so that the file always reads back.
#include <cstddef>
#include <functional>
#include <initializer_list>
#include <string>
#include <string_view>
#include <utility>

namespace tw {

class CXmlTextWriter {
 public:
  using CAttributes = std::initializer_list<std::pair<const wchar_t*, std::wstring_view>>;

  void Start(const wchar_t* name, CAttributes attributes = {});  // <name a="v">
  void End(const wchar_t* name);                                 // </name>
  // <name>text</name>, or <name/> for an empty text.
  void Element(const wchar_t* name, std::wstring_view text, CAttributes attributes = {});
  void Element(const wchar_t* name, std::string_view cp932);

  const std::wstring& Text() const { return out_; }
  std::wstring TakeText() { return std::move(out_); }

 private:
  void Escape(std::wstring_view text, bool attribute);
  void OpenTag(const wchar_t* name, CAttributes attributes);

  std::wstring out_;
  std::wstring wide_;  // conversion buffer
};

// Characters XML 1.0 can carry: tab, line feed, carriage return, U+0020 and above apart from
// U+FFFE and U+FFFF, and surrogates only in pairs. Everything else is dropped.
std::wstring XmlSafe(std::wstring_view text);

}  // namespace tw
