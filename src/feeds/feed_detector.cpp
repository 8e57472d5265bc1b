#include "feeds/feed_detector.h"

#include <string>

#include "feeds/atom_readers.h"
#include "feeds/feed_namespaces.h"
#include "feeds/rss_readers.h"

namespace tw {
namespace {

// "/rdf:RDF/rss100:channel" below an rdf:RDF root, without an XPath query: the channel is
// normally the root's first child.
bool HasRss10Channel(const CXmlNode& root) {
  for (CXmlNode child = root.FirstChild(); child; child = child.NextSibling()) {
    if (child.Type() == NODE_ELEMENT && child.BaseName() == L"channel" &&
        child.NamespaceUri() == kNsRss10) {
      return true;
    }
  }
  return false;
}

}  // namespace

FeedFormat DetectFeedFormat(const CXmlDocument& doc) {
  CXmlDocument d = doc;  // same DOM; SetSelectionNamespaces is a property of the DOM
  d.SetSelectionNamespaces(std::wstring(L"xmlns:rss100='") + kNsRss10 + L"' xmlns:rdf='" + kNsRdf +
                           L"' xmlns:atom030='" + kNsAtom03 + L"' xmlns:atom10='" + kNsAtom10 +
                           L"'");
  CXmlNode root = d.Root();
  if (!root) return FeedFormat::kNone;
  const std::wstring version = root.Attribute(L"version");
  const std::wstring name = root.Name();
  const std::wstring baseName = root.BaseName();
  const std::wstring ns = root.NamespaceUri();
  // "/prefix:name" selects the root when it has that name in that namespace: comparing the
  // names spares an XPath query per rule.
  auto rootIs = [&](const wchar_t* n, const wchar_t* uri) { return baseName == n && ns == uri; };

  if (rootIs(L"RDF", kNsRdf) && HasRss10Channel(root)) return FeedFormat::kRss10;
  if (name == L"rss") {
    if (version == L"0.91") return FeedFormat::kRss091;
    if (version == L"0.92") return FeedFormat::kRss092;
    if (version == L"2.0") return FeedFormat::kRss20;
  }
  if (version == L"0.3" && rootIs(L"feed", kNsAtom03)) return FeedFormat::kAtom03;
  if (name == L"opml") {
    if (version == L"1.0") return FeedFormat::kOpml10;
    if (version == L"1.1") return FeedFormat::kOpml11;
  }
  // Atom 1.0 before the fallback by name, which would take its "feed" for Atom 0.3.
  if (rootIs(L"feed", kNsAtom10)) return FeedFormat::kAtom10;
  if (baseName == L"RDF") return FeedFormat::kRss10;
  if (baseName == L"rss") return FeedFormat::kRss20;
  if (baseName == L"feed") return FeedFormat::kAtom03;
  if (baseName == L"opml") return FeedFormat::kOpml;
  return FeedFormat::kNone;
}

std::shared_ptr<CFeedReader> CreateFeedReader(FeedFormat format, const CXmlDocument& doc) {
  switch (format) {
    case FeedFormat::kRss091:
      return std::make_shared<CRss091Reader>(doc);
    case FeedFormat::kRss092:
      return std::make_shared<CRss092Reader>(doc);
    case FeedFormat::kRss10:
      return std::make_shared<CRss10Reader>(doc);
    case FeedFormat::kRss20:
      return std::make_shared<CRss20Reader>(doc);
    case FeedFormat::kAtom03:
      return std::make_shared<CAtom03Reader>(doc);
    case FeedFormat::kAtom10:
      return std::make_shared<CAtom10Reader>(doc);
    default:
      return nullptr;
  }
}

bool IsOpml(FeedFormat format) {
  return format == FeedFormat::kOpml10 || format == FeedFormat::kOpml11 ||
         format == FeedFormat::kOpml;
}

const char* FeedFormatName(FeedFormat format) {
  switch (format) {
    case FeedFormat::kRss091:
      return "rss091";
    case FeedFormat::kRss092:
      return "rss092";
    case FeedFormat::kRss10:
      return "rss10";
    case FeedFormat::kRss20:
      return "rss20";
    case FeedFormat::kAtom03:
      return "atom03";
    case FeedFormat::kAtom10:
      return "atom10";
    case FeedFormat::kOpml10:
      return "opml10";
    case FeedFormat::kOpml11:
      return "opml11";
    case FeedFormat::kOpml:
      return "opml";
    default:
      return nullptr;
  }
}

}  // namespace tw
