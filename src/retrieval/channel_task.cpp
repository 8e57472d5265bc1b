#include "retrieval/channel_task.h"

#include <utility>

#include "feeds/feed_detector.h"
#include "framework/xml.h"
#include "retrieval/feed_result.h"

namespace tw {
namespace {

// Refreshes the channels one after another; a channel whose call or document fails keeps a
// result that is not fresh, so that installing it changes nothing.
class CChannelThread : public CTaskThread {
 public:
  CChannelThread(std::vector<CChannelRequest> channels, std::shared_ptr<CChannelProvider> provider)
      : CTaskThread(ThreadCom::kApartment),
        channels_(std::move(channels)),
        provider_(std::move(provider)) {
    for (const CChannelRequest& channel : channels_) {
      results_.emplace_back(channel.siteId, CSourceResult{});
    }
  }
  std::vector<std::pair<std::string, CSourceResult>>& Results() { return results_; }

 protected:
  void Work() override {
    for (size_t i = 0; i < channels_.size(); ++i) {
      CSourceResult& result = results_[i].second;
      try {
        Read(channels_[i], result);
      } catch (...) {
        result = CSourceResult{};
      }
    }
  }

 private:
  void Read(const CChannelRequest& channel, CSourceResult& result) {
    std::wstring text;
    if (!provider_ || !provider_->GetChannel(channel.pluginId, channel.siteId, text)) return;
    CXmlDocument doc;
    if (!doc.LoadXml(text)) return;
    auto reader = CreateFeedReader(DetectFeedFormat(doc), doc);
    if (!reader) return;
    ReadFeedResult(*reader, result);
    result.fresh = true;
  }

  std::vector<CChannelRequest> channels_;
  std::shared_ptr<CChannelProvider> provider_;
  std::vector<std::pair<std::string, CSourceResult>> results_;
};

CChannelRequest RequestOf(const CSite& site, const CChannelSite& channel) {
  return CChannelRequest{site.Id(), channel.pluginId, channel.data};
}

std::vector<CChannelRequest> CollectViewed(const CSiteList& sites) {
  std::vector<CChannelRequest> out;
  for (const auto& [id, site] : sites) {
    const CChannelSite* channel = site->Channel();
    if (channel && site->HasViewers()) out.push_back(RequestOf(*site, *channel));
  }
  return out;
}

std::vector<CChannelRequest> CollectTargets(const std::vector<CSite*>& targets) {
  std::vector<CChannelRequest> out;
  for (CSite* site : targets) {
    if (const CChannelSite* channel = site->Channel()) out.push_back(RequestOf(*site, *channel));
  }
  return out;
}

}  // namespace

CUpdateAllChannelTask::CUpdateAllChannelTask(CTaskNotifier& notifier, CItemDataLumpPtr lump,
                                             const CSiteList& sites,
                                             std::shared_ptr<CChannelProvider> provider)
    : CUpdateAllChannelTask(notifier, std::move(lump), CollectViewed(sites), std::move(provider)) {}

CUpdateAllChannelTask::CUpdateAllChannelTask(CTaskNotifier& notifier, CItemDataLumpPtr lump,
                                             std::vector<CChannelRequest> channels,
                                             std::shared_ptr<CChannelProvider> provider)
    : CThreadTask(notifier),
      lump_(std::move(lump)),
      channels_(std::move(channels)),
      provider_(std::move(provider)) {}

void CUpdateAllChannelTask::Run() {
  if (channels_.empty()) {
    Complete();
    return;
  }
  if (!StartThread(std::make_unique<CChannelThread>(channels_, provider_),
                   THREAD_PRIORITY_NORMAL)) {
    Finish();  // the chain goes on; the channels keep their items
  }
}

void CUpdateAllChannelTask::OnThreadDone(CTaskThread& thread) {
  auto& results = static_cast<CChannelThread&>(thread).Results();
  CLock lock(lump_->Lock());
  // Channel results are not merged: every item counts as newly downloaded.
  for (auto& [id, result] : results) {
    for (const CItemPtr& item : result.items) item->downloadTime = lump_->startTime;
    lump_->sources.emplace(id, std::move(result));
  }
  results.clear();
  Complete();
}

CUpdateSomeChannelTask::CUpdateSomeChannelTask(CTaskNotifier& notifier, CItemDataLumpPtr lump,
                                               const std::vector<CSite*>& targets,
                                               std::shared_ptr<CChannelProvider> provider)
    : CUpdateAllChannelTask(notifier, std::move(lump), CollectTargets(targets),
                            std::move(provider)) {}

}  // namespace tw
