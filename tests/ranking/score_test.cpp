#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/test_support.h"
#include "framework/text.h"
#include "framework/xml.h"
#include "model/data_namespaces.h"
#include "ranking/keyword_list.h"
#include "ranking/keyword_match.h"
#include "ranking/score_calculator.h"
#include "ranking/score_store.h"

namespace tw {
namespace {

constexpr int64_t kHour = 3600;
constexpr int64_t kDay = 86400;
constexpr int64_t kNoTime = CW3CDate::kNone;

int64_t LocalTime(const char* w3c) { return CW3CDate::ParseW3C(w3c).Time(); }

std::unique_ptr<CSite> MakeSite(const std::string& id) {
  return std::make_unique<CSite>(id, std::make_shared<CFeedSite>());
}

struct ComponentCase {
  const char* name;
  int64_t dateOffset;      // from now; kNoTime for no date
  int64_t downloadOffset;  // from now; kNoTime for none
  std::string title, description;
  std::vector<int> clicksPerDay;  // index 0 = today
  int date, keyword, site, total;
};

TEST(ScoreCalculator, ComponentsAreWeightedTruncatedAndAdded) {
  const int64_t now = LocalTime("2024-05-10T12:00:00");
  std::vector<int> month10(30, 10), everyDay(28, 1);
  const ComponentCase cases[] = {
      {"fresh item of a never-read site", 0, kNoTime, "t", "", {}, 1000, 0, 0, 1500},
      {"an hour ahead", kHour, kNoTime, "t", "", {}, 1000, 0, 0, 1500},
      {"25 hours ahead", 25 * kHour, kNoTime, "t", "", {}, 0, 0, 0, 500},
      {"two days old", -2 * kDay, kNoTime, "t", "", {}, 500, 0, 0, 1000},
      {"six days old", -6 * kDay, kNoTime, "t", "", {}, 250, 0, 0, 750},
      {"no date: download time", kNoTime, -2 * kDay, "t", "", {}, 500, 0, 0, 1000},
      {"no date at all", kNoTime, kNoTime, "t", "", {}, 0, 0, 0, 500},
      {"one keyword four times", 0, kNoTime, "abcとabcとabc", "abc", {}, 1000, 600, 0, 2100},
      {"two keywords", 0, kNoTime, "abc", "<b>xyz</b>", {}, 1000, 900, 0, 2400},
      {"three opens today", 0, kNoTime, "t", "", {3}, 1000, 0, 185, 1685},
      {"ten a day for a month", 0, kNoTime, "t", "", month10, 1000, 0, 500, 2000},
      {"once a day", 0, kNoTime, "t", "", everyDay, 1000, 0, 450, 1950},
  };
  CKeywordList keywords;
  keywords.Add({1, "abc"});
  keywords.Add({1, "xyz"});
  for (const ComponentCase& c : cases) {
    CScoreStore store;
    auto site = MakeSite("SITE000000000001");
    for (size_t day = 0; day < c.clicksPerDay.size(); ++day) {
      for (int i = 0; i < c.clicksPerDay[day]; ++i)
        store.GetSiteScore(site->Id()).ClickAt(now - static_cast<int64_t>(day) * kDay);
    }
    CItem item;
    item.title = c.title;
    item.encodedDescription = c.description;
    item.date = CW3CDate(c.dateOffset == kNoTime ? kNoTime : now + c.dateOffset);
    item.downloadTime = CW3CDate(c.downloadOffset == kNoTime ? kNoTime : now + c.downloadOffset);
    ParseItemTexts(item, keywords.GetTree().get());

    CScoreCalculator calculator(store, now);
    ScoreDetail detail;
    EXPECT_EQ(calculator.CalcScore(*site, item, &detail), c.total) << c.name;
    EXPECT_EQ(detail.date.Weighted(), c.date) << c.name;
    EXPECT_EQ(detail.keyword.Weighted(), c.keyword) << c.name;
    EXPECT_EQ(detail.learning.Weighted(), 500) << c.name;
    EXPECT_EQ(detail.site.Weighted(), c.site) << c.name;
    EXPECT_EQ(calculator.Score(*site, item), c.total) << c.name;
  }
}

TEST(ScoreCalculator, SiteFrequencyIsFixedForTheCalculatorsLife) {
  const int64_t now = LocalTime("2024-05-10T12:00:00");
  CScoreStore store;
  auto site = MakeSite("SITE000000000001");
  CScoreCalculator calculator(store, now);
  EXPECT_EQ(calculator.SiteValue(*site), 0.0);
  store.SiteScore(*site).ClickAt(now);
  EXPECT_EQ(calculator.SiteValue(*site), 0.0);
  EXPECT_GT(CScoreCalculator(store, now).SiteValue(*site), 0.0);
}

TEST(ScoreStore, OpeningMarkingReadAndUnread) {
  CScoreStore store;
  auto site = MakeSite("SITE000000000001");
  CItem item;
  item.title = "記事";
  item.link = "http://example.com/1";
  CScoreCalculator calculator(store);
  EXPECT_TRUE(calculator.IsCandidate(item));

  store.Open(item, *site);
  store.Open(item, *site);
  EXPECT_FALSE(calculator.IsCandidate(item));
  store.MarkRead(item);
  EXPECT_EQ(store.GetItemScore(item.Key()).count, 2);
  EXPECT_EQ(store.SiteScore(*site).Count(LocalDay(CW3CDate::Now().Time())), 2);
  store.MarkUnread(item);
  EXPECT_EQ(store.GetItemScore(item.Key()).count, 0);
  EXPECT_TRUE(calculator.IsCandidate(item));
  store.MarkRead(item);
  EXPECT_EQ(store.GetItemScore(item.Key()).count, 1);

  // An equal key from another item object shares the record.
  CItem copy = item;
  copy.scoreRecord = nullptr;
  EXPECT_TRUE(store.IsRead(copy));
}

TEST(ScoreStore, FileRoundTripKeepsKeysCountsAndDays) {
  test::CTempFolder folder;
  const std::wstring path = folder.File(L"scores.xml");
  const int64_t morning = LocalTime("2024-05-10T09:30:00");
  const int64_t midnight = LocalTime("2024-05-09");

  CScoreStore store;
  store.GetItemScore({" 先頭に空白", "http://a/1", CW3CDate(morning)}).count = 2;
  store.GetItemScore({"真夜中", "http://a/2", CW3CDate(midnight)}).count = 0;
  store.GetItemScore({"日付なし", "http://a/3", CW3CDate()}).count = 1;
  for (int i = 0; i < 70; ++i)
    store.GetItemScore({"n" + std::to_string(i), "", CW3CDate(morning + i)}).count = i;
  store.GetSiteScore("SITE000000000001").ClickAt(morning);
  store.GetSiteScore("SITE000000000001").ClickAt(morning);
  store.GetSiteScore("SITE000000000001").ClickAt(morning - 3 * kDay);
  store.GetSiteScore("SITE000000000002");  // no days
  ASSERT_TRUE(store.Save(path));

  CXmlDocument doc;
  ASSERT_TRUE(doc.LoadFile(path));
  doc.SetSelectionNamespaces(TideSelection(kNsData1Old));
  EXPECT_EQ(doc.SelectNodes(L"/tide:Scores/tide:Group").Size(), 2);
  EXPECT_EQ(doc.SelectNodes(L"/tide:Scores/tide:Group[1]/tide:ItemScore").Size(), 64);
  EXPECT_EQ(doc.SelectNodes(L"/tide:Scores/tide:SiteScore").Size(), 2);
  EXPECT_EQ(doc.SelectNodes(L"//tide:SiteScore[tide:Key='SITE000000000002']/*").Size(), 1);
  EXPECT_EQ(doc.AsNode().SelectText(
                L"//tide:ItemScore[tide:Key/tide:Link='http://a/1']/tide:Key/tide:Date"),
            L"2024-05-10T09:30:00");
  EXPECT_EQ(doc.AsNode().SelectText(
                L"//tide:ItemScore[tide:Key/tide:Link='http://a/2']/tide:Key/tide:Date"),
            L"2024-05-09");
  EXPECT_EQ(doc.AsNode().SelectText(
                L"//tide:SiteScore[tide:Key='SITE000000000001']/tide:Click[1]/tide:Date"),
            L"2024-05-07");

  CScoreStore loaded;
  ASSERT_TRUE(loaded.Load(path, [](const std::string& m) { ADD_FAILURE() << m; }));
  ASSERT_EQ(loaded.ItemRecordCount(), store.ItemRecordCount());
  for (const auto& [key, record] : store.ItemRecords()) {
    auto found = loaded.ItemRecords().find(key);
    ASSERT_NE(found, loaded.ItemRecords().end()) << key.title;
    EXPECT_EQ(found->second.count, record.count) << key.title;
  }
  ASSERT_EQ(loaded.SiteRecordCount(), 2u);
  EXPECT_EQ(loaded.GetSiteScore("SITE000000000001").Days(),
            store.GetSiteScore("SITE000000000001").Days());
  EXPECT_TRUE(loaded.GetSiteScore("SITE000000000002").Days().empty());
}

// Summer dates in a zone with daylight saving: the key read back is the key written.
TEST(ScoreStore, FileKeepsKeysAcrossDaylightSaving) {
  struct CZone {
    CZone() {
      _putenv("TZ=CET-1CEST");
      _tzset();
    }
    ~CZone() {
      _putenv("TZ=JST-9");
      _tzset();
    }
  } zone;
  test::CTempFolder folder;
  const std::wstring path = folder.File(L"scores.xml");
  const int64_t summer = 1720000000;  // 2024-07-03, daylight saving in force
  CScoreStore store;
  store.GetItemScore({"t", "l", CW3CDate(summer)}).count = 1;
  store.GetSiteScore("SITE000000000001").ClickAt(summer);
  ASSERT_TRUE(store.Save(path));
  CScoreStore loaded;
  ASSERT_TRUE(loaded.Load(path, [](const std::string& m) { ADD_FAILURE() << m; }));
  EXPECT_EQ(loaded.ItemRecords().count({"t", "l", CW3CDate(summer)}), 1u);
  EXPECT_EQ(loaded.GetSiteScore("SITE000000000001").Count(LocalDay(summer)), 1);
}

TEST(ScoreStore, LoadHandlesMissingWrongAndDuplicateRecords) {
  test::CTempFolder folder;
  const std::wstring path = folder.File(L"scores.xml");
  std::vector<std::string> messages;
  auto report = [&messages](const std::string& m) { messages.push_back(m); };
  const std::string ns = "xmlns='http://www.velmarco.jp/applictions/tidewatch/data/1'";

  CScoreStore store;
  EXPECT_TRUE(store.Load(path, report));
  EXPECT_EQ(store.ItemRecordCount(), 0u);

  test::WriteUtf8(
      path,
      "<Scores " + ns +
          "><Group>"
          "<ItemScore><Key><Title>a</Title><Link>l</Link><Date/></Key><Click>1</Click></ItemScore>"
          "</Group>"
          "<ItemScore><Key><Title>a</Title><Link>l</Link><Date/></Key><Click>5</Click></ItemScore>"
          "</Scores>");
  ASSERT_TRUE(store.Load(path, report));
  EXPECT_EQ(store.ItemRecordCount(), 1u);
  EXPECT_EQ(store.GetItemScore({"a", "l", CW3CDate()}).count, 5);

  test::WriteUtf8(path, "<Keywords " + ns + "/>");
  EXPECT_FALSE(store.Load(path, report));
  EXPECT_EQ(store.ItemRecordCount(), 0u);
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_NE(messages[0].find("の形式エラーです。"), std::string::npos);
}

TEST(ScoreStore, CleanUpDropsRecordsOfVanishedSitesAndItemsOnly) {
  CSiteList sites;
  auto feed = std::make_shared<CFeedSite>();
  for (const char* title : {"kept1", "kept2"}) {
    auto item = std::make_shared<CItem>();
    item->title = title;
    feed->items.push_back(item);
  }
  CSite& site = sites.Add(feed);

  CScoreStore store;
  store.MarkRead(*feed->items[0]);  // cached in the item
  store.GetSiteScore(site.Id());
  // No more records than items and sites: nothing is done, even for a stale record.
  store.GetItemScore({"stale", "", CW3CDate()});
  store.CleanUp(sites);
  EXPECT_EQ(store.ItemRecordCount(), 2u);

  store.GetItemScore(feed->items[1]->Key()).count = 3;
  CItem detached;  // an item object that outlives its site, with a cached record
  detached.title = "gone";
  store.MarkRead(detached);
  store.GetSiteScore("GONE000000000000");
  store.CleanUp(sites);
  EXPECT_EQ(store.ItemRecordCount(), 2u);
  EXPECT_EQ(store.SiteRecordCount(), 1u);
  EXPECT_TRUE(store.IsRead(*feed->items[0]));
  EXPECT_EQ(store.ItemScore(*feed->items[1]).count, 3);
  // Its record is gone: it reads as unread and gets a fresh record instead of the freed one.
  EXPECT_FALSE(store.IsRead(detached));
  EXPECT_EQ(store.ItemRecordCount(), 3u);
}

}  // namespace
}  // namespace tw
