#pragma once
// Format detection: which reader (or OPML porter) a loaded document needs.
#include <memory>

#include "feeds/feed_reader.h"
#include "framework/xml.h"

namespace tw {

enum class FeedFormat {
  kNone,  // not a feed
  kRss091,
  kRss092,
  kRss10,
  kRss20,
  kAtom03,
  kAtom10,
  kOpml10,
  kOpml11,
  kOpml,  // any other OPML version
};

// Detects the format by the document element, its "version" attribute and namespaces (first
// match wins, names compared exactly). Sets the document's SelectionNamespaces. Throws
// CComException when MSXML fails.
FeedFormat DetectFeedFormat(const CXmlDocument& doc);

// A reader over doc for a feed format; empty for OPML and kNone.
std::shared_ptr<CFeedReader> CreateFeedReader(FeedFormat format, const CXmlDocument& doc);

bool IsOpml(FeedFormat format);

// Short name for tools and logs ("rss091", "atom10", "opml" …); nullptr for kNone.
const char* FeedFormatName(FeedFormat format);

}  // namespace tw
