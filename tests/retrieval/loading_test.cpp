// The loading dialog's chain, and the channel task with a plug-in host stand-in, with the tasks
// that work on the lump before it is installed.
#include <gtest/gtest.h>

#include <memory>
#include <mutex>
#include <set>
#include <string>
#include <vector>

#include "framework/text.h"
#include "retrieval/channel_task.h"
#include "retrieval/loading_dialog.h"
#include "retrieval/update_manager.h"
#include "retrieval_test_support.h"

namespace tw {
namespace {

using test::Server;

CUpdateParameters Parameters() { return CUpdateParameters{3, 10, 10, "Tidewatch 1.10"}; }

// Answers for the channel "good" with a small RSS 1.0 document and fails every other call.
class CFakeChannels : public CChannelProvider {
 public:
  bool GetChannel(const std::string& pluginId, const std::string& channelId,
                  std::wstring& document) override {
    std::lock_guard<std::mutex> lock(mutex_);
    calls.insert(channelId);
    onMainThread = onMainThread || GetCurrentThreadId() == mainThread_;
    if (channelId != goodId) return false;
    document =
        LR"(<rdf:RDF xmlns:rdf="http://www.w3.org/1999/02/22-rdf-syntax-ns#"
        xmlns="http://purl.org/rss/1.0/">
      <channel rdf:about="urn:c"><title>検索チャンネル</title><link>urn:c</link>
        <description/><items><rdf:Seq><rdf:li rdf:resource="urn:1"/></rdf:Seq></items></channel>
      <item rdf:about="urn:1"><title>見つかった記事</title><link>http://example.invalid/1</link></item>
      </rdf:RDF>)";
    return true;
  }

  std::string goodId;
  std::set<std::string> calls;
  bool onMainThread = false;

 private:
  std::mutex mutex_;
  DWORD mainThread_ = GetCurrentThreadId();
};

std::shared_ptr<CChannelSite> Channel(const std::string& title) {
  auto channel = std::make_shared<CChannelSite>();
  channel->pluginId = "urn:test-plugin";
  channel->title = title;
  auto item = std::make_shared<CItem>();
  item->title = "old";
  channel->items = {item};
  return channel;
}

// A task of the kind keyword matching and word scores are: works on the lump before it is
// installed. It marks every item it finds there.
class CMarkLumpTask : public CTask {
 public:
  CMarkLumpTask(CTaskNotifier& notifier, CItemDataLumpPtr lump)
      : CTask(notifier), lump_(std::move(lump)) {}
  void Run() override {
    CLock lock(lump_->Lock());
    for (auto& [id, source] : lump_->sources) {
      for (auto& item : source.items) item->interest = 0.875;
    }
    Complete();
  }

 private:
  CItemDataLumpPtr lump_;
};

TEST(ChannelTask, ChannelsAreReadOnAWorkerAndFailuresKeepTheirItems) {
  CSiteList sites;
  test::CTestViewer viewer;
  CSite& good = sites.Add(Channel("before"));
  CSite& bad = sites.Add(Channel("kept"));
  CSite& unviewed = sites.Add(Channel("unviewed"));
  good.AddViewer(&viewer);
  bad.AddViewer(&viewer);
  auto channels = std::make_shared<CFakeChannels>();
  channels->goodId = good.Id();

  CUpdateContext context;
  context.sites = &sites;
  context.parameters = Parameters;
  context.channels = channels;
  context.lumpTasks.push_back([](CTaskNotifier& notifier, const CItemDataLumpPtr& lump) {
    return std::make_shared<CMarkLumpTask>(notifier, lump);
  });
  CUpdateManager manager(context);
  ASSERT_TRUE(manager.Create());
  CW3CDate before = CW3CDate::Now();
  manager.StartUpdate();
  ASSERT_TRUE(test::PumpUntil([&] { return !manager.Updating(); }, 30000));

  EXPECT_EQ(channels->calls, (std::set<std::string>{good.Id(), bad.Id()}));
  EXPECT_FALSE(channels->onMainThread);
  const CChannelSite& fetched = *good.Channel();
  EXPECT_EQ(fetched.title, "検索チャンネル");
  ASSERT_EQ(fetched.items.size(), 1u) << "channel results replace the items, none vanish";
  EXPECT_EQ(fetched.items[0]->title, "見つかった記事");
  EXPECT_GE(fetched.items[0]->downloadTime.Time(), before.Time());
  EXPECT_EQ(fetched.items[0]->interest, 0.875) << "the lump task ran before the installation";
  EXPECT_EQ(bad.Channel()->title, "kept");
  ASSERT_EQ(bad.Channel()->items.size(), 1u);
  EXPECT_EQ(bad.Channel()->items[0]->title, "old");
  EXPECT_EQ(unviewed.Channel()->title, "unviewed");
}

TEST(LoadingDialog, FetchesItsSitesWhateverViewsShowThemAndClosesWithOk) {
  ASSERT_NE(Server().Port(), 0) << "the feed server did not start";
  CUpdateContext context;
  context.parameters = Parameters;
  auto channels = std::make_shared<CFakeChannels>();
  context.channels = channels;

  // New sites that are in no collection and no view yet.
  auto feed = std::make_shared<CFeedSite>();
  feed->uri->uri = Server().Url("/gen/new?items=2&lm=1577836800");
  CSite site("AAAAAAAAAAAAAAAA", feed);
  CSite channel("BBBBBBBBBBBBBBBB", Channel("channel"));
  channels->goodId = channel.Id();
  CLoadingDialog dialog(context);
  dialog.AddSite(&site);
  dialog.AddSite(&channel);
  EXPECT_EQ(dialog.Show(nullptr), IDOK);

  EXPECT_EQ(site.Feed()->title, "Feed new");
  EXPECT_EQ(site.Feed()->items.size(), 2u);
  EXPECT_EQ(site.Feed()->uri->lastModified, test::kFixedLastModified);
  EXPECT_EQ(channel.Channel()->title, "検索チャンネル");

  CLoadingDialog empty(context);
  EXPECT_EQ(empty.Show(nullptr), IDOK) << "nothing to fetch: not shown";
}

}  // namespace
}  // namespace tw
