#include "model/site_merge.h"

#include <gtest/gtest.h>

#include <set>

#include "model/site_list.h"

namespace tw {
namespace {

// "T:L:D" → item with title T, link L, date D (seconds; empty for none), download time dl.
CItemPtr Item(const std::string& title, const std::string& link, int64_t date = -1,
              int64_t downloaded = -1) {
  auto item = std::make_shared<CItem>();
  item->title = title;
  item->link = link;
  item->date = CW3CDate(date);
  item->downloadTime = CW3CDate(downloaded);
  return item;
}

std::string Titles(const std::vector<CItemPtr>& items) {
  std::string out;
  for (const auto& i : items) out += (out.empty() ? "" : ",") + i->title;
  return out;
}

std::string Times(const std::vector<CItemPtr>& items) {
  std::string out;
  for (const auto& i : items)
    out += (out.empty() ? "" : ",") + std::to_string(i->downloadTime.Time());
  return out;
}

constexpr int64_t kStart = 5000;

struct MergeCase {
  const char* name;
  std::vector<CItemPtr> old;
  std::vector<CItemPtr> fresh;
  int rest;
  const char* titles;
  const char* times;
};

TEST(SiteMerge, MergesDownloadsAsTheTableSays) {
  const MergeCase cases[] = {
      {"identical items keep their download time", {Item("a", "1", 10, 100), Item("b", "2", 20, 200)},
       {Item("a", "1", 10), Item("b", "2", 20)}, 0, "a,b", "100,200"},
      {"a changed title with the same link is new and leaves no vanished copy",
       {Item("old", "1", 10, 100)}, {Item("new", "1", 10)}, 3, "new", "5000"},
      {"a changed date is new too", {Item("a", "1", 10, 100)}, {Item("a", "1", 11)}, 3, "a", "5000"},
      {"rest 0 drops vanished items", {Item("a", "1", 1, 100), Item("b", "2", 2, 200)},
       {Item("c", "3", 3)}, 0, "c", "5000"},
      {"rest 3 keeps the first three vanished after the new ones",
       {Item("v1", "1", 1, 1), Item("v2", "2", 2, 2), Item("k", "k", 9, 9), Item("v3", "3", 3, 3),
        Item("v4", "4", 4, 4)},
       {Item("n", "n", 5), Item("k", "k", 9)}, 3, "n,k,v1,v2,v3", "5000,9,1,2,3"},
      {"two new items with one old link: the first takes it, the second is new",
       {Item("a", "1", 1, 100), Item("b", "2", 2, 200)}, {Item("x", "1", 7), Item("y", "1", 8)}, 5,
       "x,y,b", "5000,5000,200"},
      {"duplicate keys are matched one to one in order",
       {Item("a", "1", 1, 100), Item("a", "1", 1, 150)}, {Item("a", "1", 1), Item("a", "1", 1)}, 5,
       "a,a", "100,150"},
  };
  for (const MergeCase& c : cases) {
    CFeedSite old;
    old.uri->uri = "http://x/feed";
    old.items = c.old;
    CSourceResult result;
    result.uri = "http://x/feed";
    result.fresh = true;
    result.items = c.fresh;
    MergeResult(old, old.Uri(), {}, result, CW3CDate(kStart), c.rest);
    EXPECT_EQ(Titles(result.items), c.titles) << c.name;
    EXPECT_EQ(Times(result.items), c.times) << c.name;
  }
}

struct SiteFixture {
  CSiteList list;
  CSite* site;
  SiteFixture() {
    auto feed = std::make_shared<CFeedSite>();
    feed->uri->uri = "http://x/feed";
    feed->uri->lastModified = "Mon, 05 Jul 2004 00:00:00 GMT";
    feed->title = "Old title";
    feed->items = {Item("a", "1", 1, 100), Item("b", "2", 2, 200)};
    site = &list.Add(feed);
  }
  CSourceResult Merge(CSourceResult r, int rest = 0) {
    MergeResult(*site->Main(), site->Feed()->Uri(), site->SubSites(), r, CW3CDate(kStart), rest);
    return r;
  }
};

TEST(SiteInstall, NotModifiedKeepsEverythingIncludingLastModified) {
  SiteFixture f;
  CSourceResult r;
  r.uri = "http://x/feed";  // 304: not fresh, nothing read
  r = f.Merge(std::move(r));
  EXPECT_TRUE(InstallResult(*f.site, r));
  EXPECT_EQ(f.site->Feed()->title, "Old title");
  EXPECT_EQ(Titles(f.site->Main()->items), "a,b");
  EXPECT_EQ(Times(f.site->Main()->items), "100,200");
  EXPECT_EQ(f.site->Feed()->uri->lastModified, "Mon, 05 Jul 2004 00:00:00 GMT");
}

TEST(SiteInstall, ResultOfAnEditedUriIsDropped) {
  SiteFixture f;
  CSourceResult r;
  r.uri = "http://x/feed";
  r.fresh = true;
  r.title = "Fetched";
  r.items = {Item("z", "9", 9)};
  r = f.Merge(std::move(r));
  f.site->Feed()->uri = std::make_shared<CSiteUri>(CSiteUri{"http://x/edited", ""});
  EXPECT_FALSE(InstallResult(*f.site, r));
  EXPECT_EQ(f.site->Feed()->Uri(), "http://x/edited");
  EXPECT_EQ(f.site->Feed()->title, "Old title");
  EXPECT_EQ(Titles(f.site->Main()->items), "a,b");
}

TEST(SiteInstall, MovedFreshResultTakesNewLocationAndItsLastModified) {
  SiteFixture f;
  CSourceResult r;
  r.uri = "http://x/feed";
  r.fresh = true;
  r.moved = true;
  r.location = "http://y/feed";
  r.lastModified = "Tue, 06 Jul 2004 00:00:00 GMT";
  r.title = "New";
  r.items = {Item("a", "1", 1)};
  r = f.Merge(std::move(r));
  EXPECT_TRUE(InstallResult(*f.site, r));
  EXPECT_EQ(f.site->Feed()->Uri(), "http://y/feed");
  EXPECT_EQ(f.site->Feed()->uri->lastModified, "Tue, 06 Jul 2004 00:00:00 GMT");
  EXPECT_EQ(Titles(f.site->Main()->items), "a");
  EXPECT_EQ(Times(f.site->Main()->items), "100");
}

TEST(SiteInstall, FeedListSubSitesAreMergedWithThePreviousOnesOfTheSameUri) {
  SiteFixture f;
  auto sub = std::make_shared<CFeedSite>();
  sub->uri->uri = "http://x/sub1";
  sub->items = {Item("s", "s", 1, 42)};
  f.site->SubSites().push_back(sub);
  CSourceResult r;
  r.uri = "http://x/feed";
  r.fresh = true;
  CSourceResult s1, s2;
  s1.uri = "http://x/sub1";
  s1.fresh = true;
  s1.items = {Item("s", "s", 1), Item("t", "t", 2)};
  s2.uri = "http://x/sub2";
  s2.fresh = true;
  s2.items = {Item("u", "u", 3)};
  r.subSites = {s1, s2};
  r = f.Merge(std::move(r));
  ASSERT_TRUE(InstallResult(*f.site, r));
  ASSERT_EQ(f.site->SubSites().size(), 2u);
  EXPECT_EQ(Times(f.site->SubSites()[0]->items), "42,5000");
  EXPECT_EQ(Times(f.site->SubSites()[1]->items), "5000");
  EXPECT_EQ(Titles(f.site->AllItems()), "s,t,u");

  // A 304 on the feed list keeps the sub sites as they are.
  CSourceResult again;
  again.uri = "http://x/feed";
  again = f.Merge(std::move(again));
  ASSERT_TRUE(InstallResult(*f.site, again));
  EXPECT_EQ(f.site->SubSites().size(), 2u);
  EXPECT_EQ(Titles(f.site->AllItems()), "s,t,u");
}

TEST(SiteInstall, ChannelTakesOnlyFreshResults) {
  CSiteList list;
  auto channel = std::make_shared<CChannelSite>();
  channel->items = {Item("a", "1", 1, 100)};
  CSite& site = list.Add(channel);
  CSourceResult stale;
  EXPECT_FALSE(InstallResult(site, stale));
  CSourceResult fresh;
  fresh.fresh = true;
  fresh.title = "Channel";
  fresh.items = {Item("b", "2", 2)};
  EXPECT_TRUE(InstallResult(site, fresh));
  EXPECT_EQ(Titles(site.Main()->items), "b");
  EXPECT_EQ(site.Main()->title, "Channel");
}

TEST(SiteList, IdsAreSixteenCharactersOfTheAlphabetAndUnique) {
  CSiteList list;
  std::set<std::string> seen;
  for (int i = 0; i < 2000; ++i) {
    CSite& site = list.Add(std::make_shared<CFeedSite>());
    ASSERT_EQ(site.Id().size(), 16u);
    for (char c : site.Id()) ASSERT_TRUE(std::isalnum(static_cast<unsigned char>(c))) << site.Id();
    seen.insert(site.Id());
  }
  EXPECT_EQ(seen.size(), 2000u);
  EXPECT_EQ(list.Size(), 2000u);
  std::string removed;
  list.onRemove = [&](CSite& s) { removed = s.Id(); };
  std::string first = list.begin()->first;
  EXPECT_TRUE(list.Remove(first));
  EXPECT_EQ(removed, first);
  EXPECT_EQ(list.Find(first), nullptr);
  EXPECT_FALSE(list.Remove(first));
}

}  // namespace
}  // namespace tw
