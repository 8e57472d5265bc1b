#pragma once
// Readers of Atom 0.3 (http://purl.org/atom/ns#) and Atom 1.0 (RFC 4287).
#include <string>

#include "feeds/feed_reader.h"

namespace tw {

// Atom 0.3: link from the alternate link, summary as description, content as encoded
// content, the date from modified, else issued, else created.
class CAtom03Reader : public CFeedReader {
 public:
  explicit CAtom03Reader(const CXmlDocument& doc) : CFeedReader(doc) {}

 protected:
  std::wstring Namespaces() const override;
  std::wstring ChannelTitlePath() const override { return L"/atom030:feed/atom030:title"; }
  std::wstring ItemListPath() const override { return L"/atom030:feed/atom030:entry"; }
  void ReadItem(const CXmlNode& node, CFeedItem& item) const override;
};

// Atom 1.0: link from the alternate link, else from the first link without rel; summary as
// description, content as encoded content; the date from updated, else published.
class CAtom10Reader : public CFeedReader {
 public:
  explicit CAtom10Reader(const CXmlDocument& doc) : CFeedReader(doc) {}

 protected:
  std::wstring Namespaces() const override;
  std::wstring ChannelTitlePath() const override { return L"/atom10:feed/atom10:title"; }
  std::wstring ItemListPath() const override { return L"/atom10:feed/atom10:entry"; }
  void ReadItem(const CXmlNode& node, CFeedItem& item) const override;
};

}  // namespace tw
