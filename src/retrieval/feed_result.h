#pragma once
// Turning a fetched document into a source result: a feed read by its reader, or a feed list
// (an OPML document whose outlines name the feeds of one site).
#include <string>
#include <vector>

#include "feeds/feed_reader.h"
#include "framework/xml.h"
#include "model/site_merge.h"

namespace tw {

// The channel title and every item of the reader, in document order, into result (the items
// are appended; fresh is left to the caller). Throws CComException when MSXML fails.
void ReadFeedResult(CFeedReader& reader, CSourceResult& result);

struct CFeedListEntry {
  std::string title;  // code page 932
  std::string uri;
};

// The title of the list (head/title) and every outline with an xmlUrl attribute, at any depth,
// in document order; an address that appears twice is listed once. Throws CComException when
// MSXML fails.
std::string ReadFeedList(const CXmlDocument& doc, std::vector<CFeedListEntry>& entries);

}  // namespace tw
