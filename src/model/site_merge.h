#pragma once
// Merging a download into what a source held before, and installing the merged result into
// its site. Both run on the main thread; downloads build CSourceResult objects of their own.
#include <string>
#include <vector>

#include "model/site.h"

namespace tw {

// What one download (or channel refresh) produced for one source.
struct CSourceResult {
  std::string uri;            // the URI the download was made from
  bool fresh = false;         // a document was received and read
  bool moved = false;         // the server answered 301: location is the new URI
  std::string location;
  std::string lastModified;   // the server's Last-Modified text
  std::string title;
  std::vector<CItemPtr> items;           // document order
  std::vector<CSourceResult> subSites;   // the feeds of a feed list (an OPML answer)
};

// Merges result with old (the source in its current state; oldUri is its URI, empty for a
// channel). A result that is not fresh, or that was fetched from another URI, takes copies of
// the old title and items instead. New items keep the download time of an old item with an equal
// key; otherwise they are stamped with downloadStart. The first restItems old items that
// vanished are appended after the new ones. Sub-site results are merged with the old sub site of
// the same URI, also when the main result is not fresh (a feed list that answered 304); a result
// without sub-site results keeps the old sub sites.
void MergeResult(const CSiteSource& old, const std::string& oldUri,
                 const std::vector<std::shared_ptr<CFeedSite>>& oldSubSites,
                 CSourceResult& result, const CW3CDate& downloadStart, int restItems);

// Installs a merged result into the site's main source. A feed result fetched from a URI that
// is no longer the site's changes nothing (the user's edit wins). Returns true when anything
// changed.
bool InstallResult(CSite& site, CSourceResult& result);

}  // namespace tw
