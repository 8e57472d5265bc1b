#pragma once
// Readers of the RSS 0.9x/2.0 family (root element "rss", items under /rss/channel) and of
// RSS 1.0 (RDF, items found through the channel's table of contents).
#include <optional>
#include <string>
#include <unordered_map>

#include "feeds/feed_reader.h"

namespace tw {

class CRssReader : public CFeedReader {
 protected:
  using CFeedReader::CFeedReader;
  std::wstring ChannelTitlePath() const override { return L"/rss/channel/title"; }
  std::wstring ItemListPath() const override { return L"/rss/channel/item"; }
};

// RSS 0.91: the description is plain description.
class CRss091Reader : public CRssReader {
 public:
  explicit CRss091Reader(const CXmlDocument& doc) : CRssReader(doc) {}

 protected:
  void ReadItem(const CXmlNode& node, CFeedItem& item) const override;
};

// RSS 0.92: the description is taken as encoded (HTML) content.
class CRss092Reader : public CRssReader {
 public:
  explicit CRss092Reader(const CXmlDocument& doc) : CRssReader(doc) {}

 protected:
  void ReadItem(const CXmlNode& node, CFeedItem& item) const override;
};

// RSS 2.0 (and any other version of "rss"): description as encoded content, the date from
// pubDate (RFC 822), or from dc:date (W3C) when the item has no pubDate.
class CRss20Reader : public CRssReader {
 public:
  explicit CRss20Reader(const CXmlDocument& doc) : CRssReader(doc) {}

 protected:
  void ReadItem(const CXmlNode& node, CFeedItem& item) const override;
};

// RSS 1.0: the items in the order of the channel's rdf:Seq. An entry's resource is looked up
// among the document's items by rdf:about: entries that match nothing are skipped, an item
// listed twice is returned twice, and of two items with the same rdf:about the first counts.
// The items are scanned in document order once, as far as the entries need, and every
// rdf:about passed is remembered, so reading is linear in the size of the document.
class CRss10Reader : public CFeedReader {
 public:
  explicit CRss10Reader(const CXmlDocument& doc) : CFeedReader(doc) {}

 protected:
  std::wstring Namespaces() const override;
  std::wstring ChannelTitlePath() const override { return L"/rdf:RDF/rss100:channel/rss100:title"; }
  std::wstring ItemListPath() const override {
    return L"/rdf:RDF/rss100:channel/rss100:items/rdf:Seq/rdf:li";
  }
  void OnSelected() override;
  CXmlNode NextItemNode() override;
  void ReadItem(const CXmlNode& node, CFeedItem& item) const override;

 private:
  // The first item in document order whose rdf:about equals resource, or an empty node.
  CXmlNode FindItem(const std::wstring& resource);

  CXmlNodeList items_;  // /rdf:RDF/rss100:item, scanned with Next()
  // Their rdf:about attributes, scanned along with them when every item has one.
  CXmlNodeList abouts_;
  bool aboutsAligned_ = false;
  // The same items, for Item().
  std::optional<CXmlNodeList> itemsByPosition_;
  long scanned_ = 0;  // how many of items_ have been scanned
  // rdf:about → position in items_ of the first item carrying it, for the items scanned.
  std::unordered_map<std::wstring, long> firstByAbout_;
};

}  // namespace tw
