#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/test_support.h"
#include "feeds/feed_detector.h"
#include "framework/text.h"

namespace tw {
namespace {

constexpr int64_t kNoonUtc = 1089028800;        // 2004-07-05T12:00:00Z
constexpr int64_t kLocalMidnight = 1088953200;  // 2004-07-05 in TZ=JST-9
constexpr int64_t kNone = CW3CDate::kNone;

struct Expected {
  const char* title;
  const char* link;
  const char* description;
  const char* encoded;
  const char* source;
  int64_t time;
};

struct ReadFeed {
  FeedFormat format = FeedFormat::kNone;
  std::string title;
  std::vector<CFeedItem> items;
};

ReadFeed ReadDocument(const CXmlDocument& doc) {
  ReadFeed out;
  out.format = DetectFeedFormat(doc);
  std::shared_ptr<CFeedReader> reader = CreateFeedReader(out.format, doc);
  if (!reader) return out;
  out.title = reader->ChannelTitle();
  while (auto item = reader->NextItem()) out.items.push_back(std::move(*item));
  EXPECT_FALSE(reader->NextItem());  // stays exhausted
  return out;
}

void ExpectFeed(const wchar_t* fixture, FeedFormat format, const char* title,
                const std::vector<Expected>& expected) {
  SCOPED_TRACE(ToUtf8(fixture));
  CXmlDocument doc;
  ASSERT_TRUE(doc.LoadFile(test::Fixture(std::wstring(L"feeds\\") + fixture)));
  ReadFeed feed = ReadDocument(doc);
  EXPECT_EQ(feed.format, format);
  EXPECT_EQ(feed.title, title);
  ASSERT_EQ(feed.items.size(), expected.size());
  for (size_t i = 0; i < expected.size(); ++i) {
    const CFeedItem& item = feed.items[i];
    const Expected& e = expected[i];
    SCOPED_TRACE(i);
    EXPECT_EQ(item.title, e.title);
    EXPECT_EQ(item.link, e.link);
    EXPECT_EQ(item.description, e.description);
    EXPECT_EQ(item.encoded, e.encoded);
    EXPECT_EQ(item.source, e.source);
    EXPECT_EQ(item.date.Time(), e.time);
  }
}

// Shift_JIS, a DOCTYPE naming the remote Netscape DTD, entities, blanks around a title.
TEST(FeedReaders, Rss091KeepsDescriptionAsPlainDescription) {
  ExpectFeed(L"rss091.xml", FeedFormat::kRss091, "技術ニュース & 話題",
             {{"新しいＣＰＵが発表された", "http://news.example.jp/2004/07/05/cpu.html",
               "性能は<b>二倍</b>に & 消費電力は半分に。", "", "", kNone},
              {"", "", "見出しもリンクもない記事", "", "", kNone}});
}

TEST(FeedReaders, Rss092TakesDescriptionAsEncodedContent) {
  ExpectFeed(L"rss092.xml", FeedFormat::kRss092, "ブログ 0.92",
             {{"夏休みの計画", "http://blog.example.jp/entry/1", "",
               "<p>海に行く。<br/>山にも &amp; 行く。</p>", "", kNone}});
}

// Wave dash, minus and em dash come out as their CP932 forms, "é" as the replacement;
// pubDate wins over dc:date, dc:date stands in for a missing pubDate only.
TEST(FeedReaders, Rss20RepairsTitlesAndFallsBackToDcDate) {
  ExpectFeed(
      L"rss20.xml", FeedFormat::kRss20, "週刊～ニュース",
      {{"気温は－5度～3度 ― 寒波", "http://weekly.example.jp/a/1", "", "<p>北日本で &amp; 大雪</p>",
        "", 1089030615},
       {"Caf? の新メニュー", "http://weekly.example.jp/a/2", "", "<i>限定</i>", "", kNoonUtc},
       {"日付の壊れた記事", "", "", "", "", kNone}});
}

// EUC-JP; items in table-of-contents order: an entry by the plain "resource" attribute, one
// that matches nothing, one whose resource holds an apostrophe, one listed twice; of two
// items with the same rdf:about the first is used.
TEST(FeedReaders, Rss10FollowsTableOfContents) {
  ExpectFeed(L"rss10.xml", FeedFormat::kRss10, "日記 1.0",
             {{"二日目", "http://diary.example.jp/2", "", "", "集約元", kNone},
              {"一日目", "http://diary.example.jp/1", "要約です", "<p>本文は<b>ここ</b>です</p>",
               "元のサイト", 1089030615},
              {"引用符入りの about", "", "", "", "", kNone},
              {"二日目", "http://diary.example.jp/2", "", "", "集約元", kNone}});
}

TEST(FeedReaders, Atom03TakesAlternateLinkAndNewestDate) {
  ExpectFeed(L"atom03.xml", FeedFormat::kAtom03, "Atom 0.3 の日記",
             {{"最初の記事", "http://atom.example.jp/1", "要約", "<p>本文</p>", "", kNoonUtc},
              {"作成日だけの記事", "", "", "", "", kLocalMidnight}});
}

TEST(FeedReaders, Atom10TakesAlternateOrPlainLinkAndUpdatedOrPublished) {
  ExpectFeed(
      L"atom10.xml", FeedFormat::kAtom10, "Atom 1.0 のサイト",
      {{"見出し & 記号", "http://atom10.example.jp/1", "一行の要約", "<p>本文 <b>太字</b></p>", "",
        kNoonUtc},
       {"公開日だけの記事", "http://atom10.example.jp/2", "", "XHTML の本文", "", kLocalMidnight}});
}

TEST(FeedReaders, DatesKeepTheirFeedText) {
  CXmlDocument doc;
  ASSERT_TRUE(doc.LoadFile(test::Fixture(L"feeds\\rss10.xml")));
  ReadFeed feed = ReadDocument(doc);
  ASSERT_EQ(feed.items.size(), 4u);
  EXPECT_EQ(feed.items[1].date.FormatW3C(), "2004-07-05T21:30:15+09:00");
}

TEST(FeedDetection, PicksTheFirstMatchingRule) {
  const std::wstring rdf = L"xmlns:rdf='http://www.w3.org/1999/02/22-rdf-syntax-ns#'";
  struct Case {
    std::wstring xml;
    FeedFormat format;
  } cases[] = {
      {L"<rdf:RDF " + rdf + L" xmlns='http://purl.org/rss/1.0/'><channel/></rdf:RDF>",
       FeedFormat::kRss10},
      {L"<rss version='0.91'/>", FeedFormat::kRss091},
      {L"<rss version='0.92'/>", FeedFormat::kRss092},
      {L"<rss version='2.0'/>", FeedFormat::kRss20},
      {L"<rss version='0.94'/>", FeedFormat::kRss20},  // other versions by the name
      {L"<rss/>", FeedFormat::kRss20},
      {L"<x:rss xmlns:x='urn:x' version='0.91'/>", FeedFormat::kRss20},  // base name only
      {L"<feed version='0.3' xmlns='http://purl.org/atom/ns#'/>", FeedFormat::kAtom03},
      {L"<feed xmlns='http://purl.org/atom/ns#'/>", FeedFormat::kAtom03},
      {L"<feed version='0.3'/>", FeedFormat::kAtom03},
      {L"<feed xmlns='http://www.w3.org/2005/Atom'/>", FeedFormat::kAtom10},
      {L"<feed xmlns='http://www.w3.org/2005/Atom' version='0.3'/>", FeedFormat::kAtom10},
      {L"<opml version='1.0'/>", FeedFormat::kOpml10},
      {L"<opml version='1.1'/>", FeedFormat::kOpml11},
      {L"<opml version='2.0'/>", FeedFormat::kOpml},
      {L"<opml/>", FeedFormat::kOpml},
      {L"<rdf:RDF " + rdf + L"><channel xmlns='urn:other'/></rdf:RDF>", FeedFormat::kRss10},
      {L"<RSS version='2.0'/>", FeedFormat::kNone},  // names are case-sensitive
      {L"<html><body/></html>", FeedFormat::kNone},
  };
  for (const Case& c : cases) {
    CXmlDocument doc;
    ASSERT_TRUE(doc.LoadXml(c.xml)) << ToUtf8(c.xml);
    FeedFormat format = DetectFeedFormat(doc);
    EXPECT_EQ(format, c.format) << ToUtf8(c.xml);
    EXPECT_EQ(static_cast<bool>(CreateFeedReader(format, doc)),
              format != FeedFormat::kNone && !IsOpml(format));
  }
  CXmlDocument empty;  // nothing loaded: no document element
  EXPECT_EQ(DetectFeedFormat(empty), FeedFormat::kNone);
}

// The reader's lookup gives what one XPath search per table-of-contents entry gives, for
// entries in any order, repeated, empty or matching nothing, and items sharing an rdf:about,
// carrying it empty or under another prefix, and (in the first round) items without one.
TEST(FeedReaders, Rss10LookupAgreesWithXPathSearchPerEntry) {
  for (bool someWithoutAbout : {true, false}) {
    SCOPED_TRACE(someWithoutAbout);
    std::wstring toc, items;
    std::vector<std::wstring> abouts;
    unsigned seed = 12345;
    auto next = [&seed](unsigned n) {
      seed = seed * 1103515245 + 12345;
      return (seed >> 16) % n;
    };
    for (int i = 0; i < 40; ++i) {
      unsigned kind = next(10);
      abouts.push_back(kind == 1 ? L"" : L"r" + std::to_wstring(next(30)));
      std::wstring about =
          kind == 0 && someWithoutAbout ? L""
          : kind == 2 ? L" xmlns:r='http://www.w3.org/1999/02/22-rdf-syntax-ns#' r:about='" +
                            abouts.back() + L"'"
                      : L" rdf:about='" + abouts.back() + L"'";
      items += L"<item" + about + L"><title>t" + std::to_wstring(i) + L"</title></item>";
    }
    // Mostly document order, as real feeds have it, with jumps back, repeats, empty entries
    // and entries that match nothing.
    std::vector<std::wstring> resources;
    for (size_t i = 0, cursor = 0; i < 80; ++i) {
      unsigned kind = next(10);
      resources.push_back(kind < 6   ? abouts[cursor++ % abouts.size()]
                          : kind < 8 ? abouts[next(40)]
                          : kind < 9 ? L""
                                     : L"x" + std::to_wstring(i));
      toc += kind == 7 ? L"<rdf:li resource='" + resources.back() + L"'/>"
                       : L"<rdf:li rdf:resource='" + resources.back() + L"'/>";
    }
    CXmlDocument doc;
    ASSERT_TRUE(
        doc.LoadXml(L"<rdf:RDF xmlns:rdf='http://www.w3.org/1999/02/22-rdf-syntax-ns#' "
                    L"xmlns='http://purl.org/rss/1.0/'><channel><items><rdf:Seq>" +
                    toc + L"</rdf:Seq></items></channel>" + items + L"</rdf:RDF>"));
    std::vector<std::string> expected;
    DetectFeedFormat(doc);  // binds the prefixes used below
    for (const std::wstring& r : resources) {
      CXmlNode item = doc.SelectSingle(L"/rdf:RDF/rss100:item[@rdf:about='" + r + L"']");
      if (item) expected.push_back(ToCp932(item.SelectText(L"rss100:title")));
    }
    ReadFeed feed = ReadDocument(doc);
    std::vector<std::string> titles;
    for (const CFeedItem& item : feed.items) titles.push_back(item.title);
    EXPECT_EQ(titles, expected);
    EXPECT_GT(expected.size(), 40u);  // the case mix did produce repeats
  }
}

// An RDF root whose channel is in another namespace is read as RSS 1.0 and has no items.
TEST(FeedDetection, ForeignRdfIsReadAsRss10WithoutItems) {
  CXmlDocument doc;
  ASSERT_TRUE(doc.LoadXml(
      L"<rdf:RDF xmlns:rdf='http://www.w3.org/1999/02/22-rdf-syntax-ns#' xmlns='urn:other'>"
      L"<channel><title>t</title><items><rdf:Seq><rdf:li rdf:resource='a'/></rdf:Seq></items>"
      L"</channel><item rdf:about='a'><title>x</title></item></rdf:RDF>"));
  ReadFeed feed = ReadDocument(doc);
  EXPECT_EQ(feed.format, FeedFormat::kRss10);
  EXPECT_EQ(feed.title, "");
  EXPECT_TRUE(feed.items.empty());
}

// A reader selects its items on first use and keeps its place, so a caller can stop early.
TEST(FeedReaders, ReadIncrementallyFromTheDocument) {
  CXmlDocument doc;
  ASSERT_TRUE(
      doc.LoadXml(L"<rss version='2.0'><channel><title>c</title>"
                  L"<item><title>1</title></item><item><title>2</title></item>"
                  L"</channel></rss>"));
  auto reader = CreateFeedReader(DetectFeedFormat(doc), doc);
  ASSERT_TRUE(reader);
  auto first = reader->NextItem();  // before the channel title: either call selects
  ASSERT_TRUE(first);
  EXPECT_EQ(first->title, "1");
  EXPECT_EQ(reader->ChannelTitle(), "c");
  auto second = reader->NextItem();
  ASSERT_TRUE(second);
  EXPECT_EQ(second->title, "2");
  EXPECT_FALSE(reader->NextItem());
}

}  // namespace
}  // namespace tw
