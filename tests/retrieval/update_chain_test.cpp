// The update chain end to end against the local feed server: a settings folder with views and
// sites, one update, and what the sites hold afterwards; only viewed sites are fetched; a second
// update while one runs does nothing; a site deleted during its download is ignored.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "common/test_support.h"
#include "model/preferences.h"
#include "model/site_file.h"
#include "retrieval/chain_tasks.h"
#include "retrieval/update_manager.h"
#include "retrieval_test_support.h"
#include "skins/skin_uris.h"

namespace tw {
namespace {

using test::Server;

constexpr int64_t kFixedTime = 1577836800;

std::shared_ptr<CFeedSite> Feed(const std::string& path) {
  auto feed = std::make_shared<CFeedSite>();
  feed->uri->uri = Server().Url(path);
  return feed;
}

CItemPtr OldItem(const std::string& title, const std::string& link, int64_t date,
                 int64_t downloaded) {
  auto item = std::make_shared<CItem>();
  item->title = title;
  item->link = link;
  item->date = CW3CDate(date);
  item->downloadTime = CW3CDate(downloaded);
  return item;
}

// A manager over sites that records what the views were sent.
class CTestUpdate {
 public:
  explicit CTestUpdate(CSiteList& sites, int restItem = 10) {
    CUpdateContext context;
    context.sites = &sites;
    context.parameters = [restItem] {
      return CUpdateParameters{3, 10, restItem, "Tidewatch 1.10"};
    };
    context.notifyViews = [this](UINT message) { messages.push_back(message); };
    manager = std::make_unique<CUpdateManager>(std::move(context));
  }
  int Starts() const {
    int n = 0;
    for (UINT m : messages) n += m == CUpdateStartNotifyTask::kMessage;
    return n;
  }
  // Runs the main thread's messages until the chain has ended.
  bool Finish() {
    return test::PumpUntil([this] { return !manager->Updating(); }, 60000);
  }

  std::vector<UINT> messages;
  std::unique_ptr<CUpdateManager> manager;
};

const CSkinManager& ShippedSkins() {
  static CSkinManager skins = [] {
    CSkinManager s;
    s.LoadFolder(test::Fixture(L"..\\..\\data\\skin"), [](const std::string&) {});
    return s;
  }();
  return skins;
}

class UpdateChainTest : public testing::Test {
 protected:
  void SetUp() override { ASSERT_NE(Server().Port(), 0) << "the feed server did not start"; }
};

TEST_F(UpdateChainTest, OneUpdateMergesTheViewedSitesOfASettingsFolder) {
  test::CTempFolder folder;
  const std::wstring sitesPath = folder.File(L"sites.xml");
  const std::wstring preferencesPath = folder.File(L"preferences.xml");
  std::string one, two, three;
  {
    CSiteList original;
    auto feed = Feed("/gen/one?items=3&lm=1577836800");
    // An item the feed still has (same title, link and date) and one it no longer has.
    feed->items = {OldItem("one item 0", "http://example.invalid/one/0", kFixedTime, 1000),
                   OldItem("gone", "http://example.invalid/gone", kFixedTime - 50, 900)};
    one = original.Add(feed).Id();
    two = original.Add(Feed("/r/301/gen/two?items=2")).Id();  // moved for good
    three = original.Add(Feed("/gen/three")).Id();
    ASSERT_TRUE(SaveSites(original, sitesPath));
    CPreferences preferences;
    for (const std::vector<std::string>& ids :
         {std::vector<std::string>{one, two}, std::vector<std::string>{two}}) {
      auto view = std::make_unique<CRankedViewPreference>();
      ShippedSkins().Find(kDefaultSkinId)->ApplyDefaults(view->skin, 1);
      view->siteIds = ids;
      preferences.views.push_back(std::move(view));
    }
    ASSERT_TRUE(preferences.Save(preferencesPath, ShippedSkins()));
  }

  // Loaded as at start-up; each view registers with the sites it shows.
  auto ignore = [](const std::string&) {};
  CSiteList sites;
  ASSERT_TRUE(LoadSites(sites, sitesPath, ignore));
  CPreferences preferences;
  ASSERT_TRUE(preferences.Load(preferencesPath, ShippedSkins(), ignore));
  ASSERT_EQ(preferences.views.size(), 2u);
  test::CTestViewer viewers[2];
  for (size_t v = 0; v < 2; ++v) {
    for (const std::string& id : preferences.views[v]->siteIds) {
      sites.Find(id)->AddViewer(&viewers[v]);
    }
  }
  int threeHits = Server().Hits("/gen/three");
  CTestUpdate update(sites);
  ASSERT_TRUE(update.manager->Create());
  CW3CDate before = CW3CDate::Now();
  update.manager->StartUpdate();
  ASSERT_TRUE(update.Finish());
  CW3CDate after = CW3CDate::Now();

  EXPECT_EQ(update.messages, (std::vector<UINT>{WM_APP + 4, WM_APP + 3}));
  const CFeedSite& first = *sites.Find(one)->Feed();
  EXPECT_EQ(first.title, "Feed one");
  EXPECT_EQ(first.uri->lastModified, test::kFixedLastModified);
  ASSERT_EQ(first.items.size(), 4u) << "three fetched items and the vanished one";
  EXPECT_EQ(first.items[0]->downloadTime.Time(), 1000) << "an unchanged item keeps its time";
  for (size_t i = 1; i < 3; ++i) {
    EXPECT_GE(first.items[i]->downloadTime.Time(), before.Time());
    EXPECT_LE(first.items[i]->downloadTime.Time(), after.Time());
  }
  EXPECT_EQ(first.items[3]->title, "gone");
  EXPECT_EQ(first.items[3]->downloadTime.Time(), 900);

  const CFeedSite& second = *sites.Find(two)->Feed();
  EXPECT_EQ(second.Uri(), Server().Url("/gen/two?items=2"));
  EXPECT_EQ(second.title, "Feed two");
  EXPECT_EQ(second.items.size(), 2u);
  EXPECT_EQ(second.uri->lastModified, "") << "the server sent none";

  EXPECT_TRUE(sites.Find(three)->Feed()->items.empty());
  EXPECT_EQ(Server().Hits("/gen/three"), threeHits) << "no view shows it";

  // The merged sites survive in the site file, Last-Modified text included.
  ASSERT_TRUE(SaveSites(sites, sitesPath));
  CSiteList reloaded;
  ASSERT_TRUE(LoadSites(reloaded, sitesPath, ignore));
  EXPECT_EQ(reloaded.Find(one)->Feed()->uri->lastModified, test::kFixedLastModified);
  EXPECT_EQ(reloaded.Find(one)->Feed()->items.size(), 4u);
}

TEST_F(UpdateChainTest, FeedListSubSitesMergeWithThePreviousOnesEvenWhenTheListIsUnchanged) {
  CSiteList sites;
  test::CTestViewer viewer;
  auto list = Feed("/opml/p,r?lm=1577836800");
  list->uri->lastModified = test::kFixedLastModified;  // the list answers 304
  list->title = "My list";
  CSite& site = sites.Add(list);
  site.AddViewer(&viewer);
  auto previous = Feed("/gen/p?lm=1577836800");  // an outline it had before, with an old item
  previous->items = {OldItem("p old", "http://example.invalid/p/old", kFixedTime, 700)};
  site.SubSites().push_back(previous);
  auto r = Feed("/gen/r?lm=1577836800");  // an outline that has nothing yet
  site.SubSites().push_back(r);

  CTestUpdate update(sites);
  ASSERT_TRUE(update.manager->Create());
  update.manager->StartUpdate();
  ASSERT_TRUE(update.Finish());

  EXPECT_EQ(site.Feed()->title, "My list");
  ASSERT_EQ(site.SubSites().size(), 2u);
  const CFeedSite& p = *site.SubSites()[0];
  EXPECT_EQ(p.Uri(), previous->Uri());
  ASSERT_EQ(p.items.size(), 4u) << "the fetched items and the vanished old one";
  EXPECT_EQ(p.items[0]->title, "p item 0");
  EXPECT_EQ(p.items[3]->downloadTime.Time(), 700);
  EXPECT_EQ(p.uri->lastModified, test::kFixedLastModified);
  EXPECT_EQ(site.SubSites()[1]->items.size(), 3u);
}

TEST_F(UpdateChainTest, SecondUpdateWhileOneRunsDoesNothing) {
  CSiteList sites;
  test::CTestViewer viewer;
  CSite& slow = sites.Add(Feed("/gen/slow?delay=1500"));
  slow.AddViewer(&viewer);
  const std::string unviewed = sites.Add(Feed("/gen/unviewed")).Id();
  int slowHits = Server().Hits("/gen/slow");
  int unviewedHits = Server().Hits("/gen/unviewed");

  CTestUpdate update(sites);
  ASSERT_TRUE(update.manager->Create());
  update.manager->StartUpdate();
  EXPECT_TRUE(update.manager->Updating());
  update.manager->StartUpdate();
  ASSERT_TRUE(update.Finish());
  EXPECT_EQ(update.Starts(), 1);
  EXPECT_EQ(Server().Hits("/gen/slow"), slowHits + 1);

  update.manager->StartUpdate();  // once the first has ended, the next one runs
  ASSERT_TRUE(update.Finish());
  EXPECT_EQ(update.Starts(), 2);
  EXPECT_EQ(Server().Hits("/gen/slow"), slowHits + 2);
  EXPECT_EQ(Server().Hits("/gen/unviewed"), unviewedHits);
  EXPECT_EQ(sites.Find(slow.Id())->Main()->items.size(), 3u);
  EXPECT_TRUE(sites.Find(unviewed)->Main()->items.empty());
}

TEST_F(UpdateChainTest, SiteDeletedDuringItsDownloadIsIgnored) {
  CSiteList sites;
  test::CTestViewer viewer;
  const std::string gone = sites.Add(Feed("/gen/deleted?delay=1000")).Id();
  const std::string kept = sites.Add(Feed("/gen/kept")).Id();
  sites.Find(gone)->AddViewer(&viewer);
  sites.Find(kept)->AddViewer(&viewer);

  CTestUpdate update(sites);
  ASSERT_TRUE(update.manager->Create());
  update.manager->StartUpdate();
  ASSERT_TRUE(sites.Remove(gone));
  ASSERT_TRUE(update.Finish());
  EXPECT_EQ(sites.Size(), 1u);
  EXPECT_EQ(sites.Find(kept)->Main()->items.size(), 3u);
  EXPECT_EQ(update.messages.back(), static_cast<UINT>(WM_APP + 3));
}

TEST_F(UpdateChainTest, TimerStartsAnUpdateEachCycleButNotDuringOne) {
  CSiteList sites;  // nothing to fetch: the chain still runs from start to end
  CTestUpdate update(sites);
  ASSERT_TRUE(update.manager->Create());
  update.manager->SetUpdateCycle(45);
  for (int minute = 1; minute < 45; ++minute) update.manager->OnMinute();
  EXPECT_EQ(update.Starts(), 0);
  update.manager->OnMinute();
  EXPECT_EQ(update.Starts(), 1) << "45 minutes after the start";
  EXPECT_EQ(update.manager->MinuteCounter(), 0u);

  // Still running (no message was handled): the timer that comes due does nothing, and the
  // counter starts again from 0.
  for (int minute = 0; minute < 45; ++minute) update.manager->OnMinute();
  EXPECT_EQ(update.Starts(), 1);
  EXPECT_EQ(update.manager->MinuteCounter(), 0u);
  ASSERT_TRUE(update.Finish());
  for (int minute = 0; minute < 44; ++minute) update.manager->OnMinute();
  EXPECT_EQ(update.Starts(), 1);
  update.manager->OnMinute();
  EXPECT_EQ(update.Starts(), 2);
  ASSERT_TRUE(update.Finish());

  update.manager->SetUpdateCycle(0);  // never
  for (int minute = 0; minute < 500; ++minute) update.manager->OnMinute();
  EXPECT_EQ(update.Starts(), 2);
  EXPECT_EQ(update.messages.size(), 4u);
}

}  // namespace
}  // namespace tw
