#include "feeds/rss_readers.h"

#include "feeds/feed_namespaces.h"
#include "feeds/feed_text.h"

namespace tw {
namespace {

enum RssField { kTitle, kLink, kDescription, kPubDate, kDcDate };

CChildElements RssChildren(const CXmlNode& node) {
  return CChildElements(node, {{L"", L"title"},
                               {L"", L"link"},
                               {L"", L"description"},
                               {L"", L"pubDate"},
                               {kNsDublinCore, L"date"}});
}

}  // namespace

void CRss091Reader::ReadItem(const CXmlNode& node, CFeedItem& item) const {
  CChildElements c = RssChildren(node);
  item.title = ItemTitle(c.Text(kTitle));
  item.link = PlainText(c.Text(kLink));
  item.description = RepairedText(c.Text(kDescription));
}

void CRss092Reader::ReadItem(const CXmlNode& node, CFeedItem& item) const {
  CChildElements c = RssChildren(node);
  item.title = ItemTitle(c.Text(kTitle));
  item.link = PlainText(c.Text(kLink));
  item.encoded = RepairedText(c.Text(kDescription));
}

void CRss20Reader::ReadItem(const CXmlNode& node, CFeedItem& item) const {
  CChildElements c = RssChildren(node);
  item.title = ItemTitle(c.Text(kTitle));
  item.link = PlainText(c.Text(kLink));
  item.encoded = RepairedText(c.Text(kDescription));
  std::string pubDate = PlainText(c.Text(kPubDate));
  if (!pubDate.empty()) {
    item.date = CW3CDate::ParseRfc822(pubDate);
  } else {
    std::string dcDate = PlainText(c.Text(kDcDate));
    if (!dcDate.empty()) item.date = CW3CDate::ParseW3C(dcDate);
  }
}

std::wstring CRss10Reader::Namespaces() const {
  return std::wstring(L"xmlns:rss100='") + kNsRss10 + L"' xmlns:rdf='" + kNsRdf + L"' xmlns:dc='" +
         kNsDublinCore + L"' xmlns:content='" + kNsContent + L"' xmlns:ag='" + kNsAggregation +
         L"' xmlns:ag100='" + kNsAggregation10 + L"'";
}

void CRss10Reader::OnSelected() {
  items_ = Document().SelectNodes(L"/rdf:RDF/rss100:item");
  // When every item has an rdf:about, the n-th attribute of this list belongs to the n-th
  // item: reading them from the list costs less than asking each item for its attribute.
  abouts_ = Document().SelectNodes(L"/rdf:RDF/rss100:item/@rdf:about");
  aboutsAligned_ = abouts_.Size() == items_.Size();
}

// A per-entry XPath search ("/rdf:RDF/rss100:item[@rdf:about='…']") would make reading
// quadratic in the number of items and break on a resource holding an apostrophe.
CXmlNode CRss10Reader::FindItem(const std::wstring& resource) {
  auto known = firstByAbout_.find(resource);
  if (known != firstByAbout_.end()) {
    // A second list for random access: item() can move the nextNode() position of the list
    // it is called on (MSXML under Wine does).
    if (!itemsByPosition_) itemsByPosition_ = Document().SelectNodes(L"/rdf:RDF/rss100:item");
    return itemsByPosition_->Item(known->second);
  }
  for (CXmlNode item = items_.Next(); item; item = items_.Next()) {
    long position = scanned_++;
    std::wstring about;
    if (aboutsAligned_) {
      about = abouts_.Next().Value();
    } else {
      about = item.AttributeNs(kNsRdf, L"about");
      // An empty resource matches an item whose rdf:about is present and empty, not one
      // without it.
      if (about.empty() && !item.SelectSingle(L"@rdf:about")) continue;
    }
    bool first = firstByAbout_.emplace(about, position).second;
    if (first && about == resource) return item;
  }
  return {};
}

CXmlNode CRss10Reader::NextItemNode() {
  for (CXmlNode entry = ItemList().Next(); entry; entry = ItemList().Next()) {
    std::wstring resource = entry.Attribute(L"rdf:resource");
    if (resource.empty()) resource = entry.Attribute(L"resource");
    CXmlNode item = FindItem(resource);
    if (item) return item;
  }
  return {};
}

void CRss10Reader::ReadItem(const CXmlNode& node, CFeedItem& item) const {
  enum { kTitle, kLink, kDescription, kEncoded, kDate, kSource, kSource100 };
  CChildElements c(node, {{kNsRss10, L"title"},
                          {kNsRss10, L"link"},
                          {kNsRss10, L"description"},
                          {kNsContent, L"encoded"},
                          {kNsDublinCore, L"date"},
                          {kNsAggregation, L"source"},
                          {kNsAggregation10, L"source"}});
  item.title = ItemTitle(c.Text(kTitle));
  item.link = PlainText(c.Text(kLink));
  item.description = RepairedText(c.Text(kDescription));
  item.encoded = RepairedText(c.Text(kEncoded));
  item.date = CW3CDate::ParseW3C(PlainText(c.Text(kDate)));
  item.source = PlainText(c.Text(kSource));
  if (item.source.empty()) item.source = PlainText(c.Text(kSource100));
}

}  // namespace tw
