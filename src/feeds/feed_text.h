#pragma once
// Reading node text for the feed readers: plain and repaired conversion to code page 932,
// trimming, and a one-pass lookup of an item's child elements.
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

#include "framework/xml.h"

namespace tw {

// UTF-16 → code page 932 with the code page's replacement for characters it lacks.
std::string PlainText(std::wstring_view text);
// As PlainText, but when a replacement was needed, five characters that other systems use in
// place of CP932's own are mapped first (wave dash, em dash, overline, double vertical line,
// minus sign), so that they come out as the characters the user expects instead of "?".
std::string RepairedText(std::wstring text);
// Removes leading and trailing white space: ASCII blanks and the ideographic space, walking
// double-byte characters whole so that no trail byte is mistaken for a blank.
std::string TrimCp932(const std::string& text);

// The DOM text of a node, empty for an empty node or when MSXML fails to give it.
std::wstring NodeText(const CXmlNode& node);
// The text of the first node that xpath selects from node, empty when none or on failure.
std::wstring SelectedText(const CXmlNode& node, const std::wstring& xpath);

// An element name in a namespace (empty namespace: no namespace), as an XPath step
// "prefix:name" selects it.
struct CElementName {
  std::wstring_view ns;
  std::wstring_view name;
};

// Walks the children of a node once and keeps, for each wanted name, the first matching
// child element, and for one of them (allIndex) every match in document order. Gives the
// same nodes as one XPath child step per name, at a fraction of the cost of compiling and
// running a query for every field of every item.
class CChildElements {
 public:
  static constexpr size_t kMaxNames = 8;
  static constexpr size_t kNoIndex = static_cast<size_t>(-1);

  CChildElements(const CXmlNode& parent, std::initializer_list<CElementName> wanted,
                 size_t allIndex = kNoIndex);

  // The first child element with the index-th wanted name, empty when none.
  const CXmlNode& First(size_t index) const { return first_[index]; }
  // Every child element with the allIndex-th name.
  const std::vector<CXmlNode>& All() const { return all_; }

  std::wstring Text(size_t index) const { return NodeText(first_[index]); }

 private:
  CXmlNode first_[kMaxNames];
  std::vector<CXmlNode> all_;
};

}  // namespace tw
