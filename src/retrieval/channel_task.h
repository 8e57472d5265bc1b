#pragma once
// The channel task of an update chain: asks the channel plug-ins for the documents of the
// channel sites on a worker thread and puts what the feed readers find in them into the lump.
#include <memory>
#include <string>
#include <vector>

#include "retrieval/task.h"
#include "retrieval/update_context.h"

namespace tw {

// The plug-in host's side of a channel refresh.
class CChannelProvider {
 public:
  virtual ~CChannelProvider() = default;
  // The channel document (an RSS 1.0 text) of the channel channelId of plug-in pluginId;
  // false when the plug-in is missing or its call failed. Called on a worker thread that has
  // COM initialised; must be safe to call from there.
  virtual bool GetChannel(const std::string& pluginId, const std::string& channelId,
                          std::wstring& document) = 0;
};

// One channel to refresh: copies of what the plug-in call takes.
struct CChannelRequest {
  std::string siteId;  // also the channel's id at its plug-in
  std::string pluginId;
  std::string data;
};

// The full update's task: every channel site that at least one view shows, collected when the
// task is made.
class CUpdateAllChannelTask : public CThreadTask {
 public:
  CUpdateAllChannelTask(CTaskNotifier& notifier, CItemDataLumpPtr lump, const CSiteList& sites,
                        std::shared_ptr<CChannelProvider> provider);

  void Run() override;
  const std::vector<CChannelRequest>& Channels() const { return channels_; }

 protected:
  // For the loading dialog's task: the given channels, whatever views show them.
  CUpdateAllChannelTask(CTaskNotifier& notifier, CItemDataLumpPtr lump,
                        std::vector<CChannelRequest> channels,
                        std::shared_ptr<CChannelProvider> provider);

 private:
  void OnThreadDone(CTaskThread& thread) override;

  CItemDataLumpPtr lump_;
  std::vector<CChannelRequest> channels_;
  std::shared_ptr<CChannelProvider> provider_;
};

// The loading dialog's task: the given sites whose main source is a channel.
class CUpdateSomeChannelTask : public CUpdateAllChannelTask {
 public:
  CUpdateSomeChannelTask(CTaskNotifier& notifier, CItemDataLumpPtr lump,
                         const std::vector<CSite*>& targets,
                         std::shared_ptr<CChannelProvider> provider);
};

}  // namespace tw
