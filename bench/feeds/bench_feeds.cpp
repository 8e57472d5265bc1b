// bench_feeds.exe — reading speed of the feed readers. For every format and for 10 to 10 000
// items it prints items per second and the ratio of full reading (load, detect, channel
// title, every item) to the bare DOM load of the same bytes, then two large documents, then
// the RSS 1.0 table-of-contents lookup by per-entry XPath against the reader.
#include "bench_clock.h"
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "feed_generator.h"
#include "feeds/feed_detector.h"
#include "framework/com.h"
#include "framework/xml.h"

namespace tw::bench {
namespace {

void Load(CXmlDocument& doc, const std::string& bytes) {
  if (!doc.LoadBytes(bytes.data(), bytes.size())) {
    std::fprintf(stderr, "generated feed does not load: %ls\n", doc.ParseError().c_str());
    std::exit(1);
  }
}

double BareLoad(const std::string& bytes) {
  double start = Now();
  CXmlDocument doc;
  Load(doc, bytes);
  return Now() - start;
}

double FullRead(const std::string& bytes, int expectedItems) {
  double start = Now();
  CXmlDocument doc;
  Load(doc, bytes);
  auto reader = CreateFeedReader(DetectFeedFormat(doc), doc);
  int items = 0;
  if (reader) {
    reader->ChannelTitle();
    while (reader->NextItem()) ++items;
  }
  double elapsed = Now() - start;
  if (items != expectedItems) {
    std::fprintf(stderr, "read %d items instead of %d\n", items, expectedItems);
    std::exit(1);
  }
  return elapsed;
}

double Best(const std::vector<double>& v) { return *std::min_element(v.begin(), v.end()); }

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

struct Figures {
  double load;   // best bare load
  double read;   // best full read
  double ratio;  // median over runs of full read / bare load measured next to each other
};

// Runs a bare load and a full read next to each other, over and over, until there are at
// least minRuns pairs and about budget seconds were spent. Each pair sees the same state of
// the machine (which others share), so the ratio is taken per pair.
Figures Measure(const std::string& bytes, int items, int minRuns, double budget) {
  std::vector<double> loads, reads, ratios;
  double spent = 0;
  while (static_cast<int>(reads.size()) < minRuns || (spent < budget && reads.size() < 500)) {
    if (reads.size() % 2) {  // alternate the order so that neither always goes first
      reads.push_back(FullRead(bytes, items));
      loads.push_back(BareLoad(bytes));
    } else {
      loads.push_back(BareLoad(bytes));
      reads.push_back(FullRead(bytes, items));
    }
    ratios.push_back(reads.back() / loads.back());
    spent += loads.back() + reads.back();
  }
  return {Best(loads), Best(reads), Median(ratios)};
}

void PrintRow(const char* format, int items, const std::string& bytes, const Figures& f) {
  std::printf("%-7s %7d %9.2f %10.2f %10.2f %11.0f %6.2f\n", format, items,
              static_cast<double>(bytes.size()) / (1024 * 1024), f.load * 1000, f.read * 1000,
              items / f.read, f.ratio);
  std::fflush(stdout);
}

// The RSS 1.0 lookup the reader replaced: one XPath search over all items per entry.
double XPathTableOfContents(const CXmlDocument& doc) {
  double start = Now();
  for (const CXmlNode& entry :
       doc.SelectNodes(L"/rdf:RDF/rss100:channel/rss100:items/rdf:Seq/rdf:li")) {
    doc.SelectSingle(L"/rdf:RDF/rss100:item[@rdf:about='" + entry.Attribute(L"rdf:resource") +
                     L"']");
  }
  return Now() - start;
}

// The whole read of the same document through the reader, load excluded.
double ReaderRead(const CXmlDocument& doc) {
  double start = Now();
  auto reader = CreateFeedReader(FeedFormat::kRss10, doc);
  while (reader->NextItem()) {
  }
  return Now() - start;
}

void Run() {
  const FeedFormat formats[] = {FeedFormat::kRss091, FeedFormat::kRss092, FeedFormat::kRss10,
                                FeedFormat::kRss20,  FeedFormat::kAtom03, FeedFormat::kAtom10};
  std::printf(
      "Feed reading under TZ=%s: best times; ratio = full read / bare DOM load, median of "
      "paired runs\n\n",
      std::getenv("TZ") ? std::getenv("TZ") : "(unset)");
  std::printf("%-7s %7s %9s %10s %10s %11s %6s\n", "format", "items", "MB", "load ms", "read ms",
              "items/s", "ratio");
  for (FeedFormat format : formats) {
    for (int items : {10, 100, 1000, 10000}) {
      std::string bytes = GenerateFeed(format, items);
      PrintRow(FeedFormatName(format), items, bytes, Measure(bytes, items, 9, 1.5));
    }
  }

  std::printf("\nLarge documents\n");
  {
    std::string bytes = GenerateFeed(FeedFormat::kRss20, 10000, 10);
    PrintRow("rss20", 10000, bytes, Measure(bytes, 10000, 5, 0));
  }
  {
    std::string bytes = GenerateFeed(FeedFormat::kRss10, 100000);
    PrintRow("rss10", 100000, bytes, Measure(bytes, 100000, 5, 0));
  }

  std::printf("\nRSS 1.0 table of contents: XPath search per entry vs. the reader\n");
  std::printf("%7s %14s %16s\n", "items", "XPath ms", "reader ms");
  for (int items : {100, 300, 1000, 3000}) {
    std::string bytes = GenerateFeed(FeedFormat::kRss10, items);
    CXmlDocument doc;
    Load(doc, bytes);
    DetectFeedFormat(doc);  // binds the prefixes the XPath search uses
    double xpath = XPathTableOfContents(doc);
    double reader = ReaderRead(doc);
    std::printf("%7d %14.1f %16.1f\n", items, xpath * 1000, reader * 1000);
    std::fflush(stdout);
  }
}

}  // namespace
}  // namespace tw::bench

int main() {
  tw::CComInit com;
  try {
    tw::bench::Run();
  } catch (const tw::CComException& e) {
    std::fprintf(stderr, "COM failure: %s\n", e.what());
    return 1;
  }
  return 0;
}
