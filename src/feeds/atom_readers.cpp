#include "feeds/atom_readers.h"

#include <vector>

#include "feeds/feed_namespaces.h"
#include "feeds/feed_text.h"

namespace tw {
namespace {

// The href of the first link that has one among the links with rel="alternate" (withRel) or
// among the links without rel, as XPath "link[@rel='alternate']/@href" and
// "link[not(@rel)]/@href" select it; empty when none.
std::wstring LinkHref(const std::vector<CXmlNode>& links, bool withRel) {
  for (const CXmlNode& link : links) {
    try {
      bool matches = withRel ? link.Attribute(L"rel") == L"alternate" : !link.HasAttribute(L"rel");
      if (!matches) continue;
      std::wstring href = link.Attribute(L"href");
      if (!href.empty() || link.HasAttribute(L"href")) return href;
    } catch (const CComException&) {
      return {};
    }
  }
  return {};
}

CW3CDate FirstDate(const CChildElements& c, std::initializer_list<size_t> fields) {
  std::string text;
  for (size_t field : fields) {
    text = PlainText(c.Text(field));
    if (!text.empty()) break;
  }
  return CW3CDate::ParseW3C(text);  // an empty text gives none
}

}  // namespace

std::wstring CAtom03Reader::Namespaces() const {
  return std::wstring(L"xmlns:atom030='") + kNsAtom03 + L"'";
}

void CAtom03Reader::ReadItem(const CXmlNode& node, CFeedItem& item) const {
  enum { kTitle, kLink, kSummary, kContent, kModified, kIssued, kCreated };
  CChildElements c(node,
                   {{kNsAtom03, L"title"},
                    {kNsAtom03, L"link"},
                    {kNsAtom03, L"summary"},
                    {kNsAtom03, L"content"},
                    {kNsAtom03, L"modified"},
                    {kNsAtom03, L"issued"},
                    {kNsAtom03, L"created"}},
                   kLink);
  item.title = ItemTitle(c.Text(kTitle));
  item.link = PlainText(LinkHref(c.All(), true));
  item.description = RepairedText(c.Text(kSummary));
  item.encoded = RepairedText(c.Text(kContent));
  item.date = FirstDate(c, {kModified, kIssued, kCreated});
}

std::wstring CAtom10Reader::Namespaces() const {
  return std::wstring(L"xmlns:atom10='") + kNsAtom10 + L"'";
}

void CAtom10Reader::ReadItem(const CXmlNode& node, CFeedItem& item) const {
  enum { kTitle, kLink, kSummary, kContent, kUpdated, kPublished };
  CChildElements c(node,
                   {{kNsAtom10, L"title"},
                    {kNsAtom10, L"link"},
                    {kNsAtom10, L"summary"},
                    {kNsAtom10, L"content"},
                    {kNsAtom10, L"updated"},
                    {kNsAtom10, L"published"}},
                   kLink);
  item.title = ItemTitle(c.Text(kTitle));
  std::wstring link = LinkHref(c.All(), true);
  if (link.empty()) link = LinkHref(c.All(), false);
  item.link = PlainText(link);
  item.description = RepairedText(c.Text(kSummary));
  item.encoded = RepairedText(c.Text(kContent));
  item.date = FirstDate(c, {kUpdated, kPublished});
}

}  // namespace tw
