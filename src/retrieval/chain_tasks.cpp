#include "retrieval/chain_tasks.h"

namespace tw {

CNotifyViewsTask::CNotifyViewsTask(CTaskNotifier& notifier, UINT message,
                                   std::function<void(UINT)> notifyViews)
    : CTask(notifier), message_(message), notifyViews_(std::move(notifyViews)) {}

void CNotifyViewsTask::Run() {
  if (notifyViews_) notifyViews_(message_);
  Complete();
}

CReflectTask::CReflectTask(CTaskNotifier& notifier, CItemDataLumpPtr lump, CSiteList& sites,
                           std::function<void()> afterInstall)
    : CTask(notifier),
      lump_(std::move(lump)),
      sites_(sites),
      afterInstall_(std::move(afterInstall)) {}

void CReflectTask::Run() {
  {
    CLock lock(lump_->Lock());
    for (const auto& [id, site] : sites_) {
      auto it = lump_->sources.find(id);
      if (it != lump_->sources.end()) InstallResult(*site, it->second);
    }
    lump_->sources.clear();
  }
  if (afterInstall_) afterInstall_();
  Complete();
}

CReflectSiteTask::CReflectSiteTask(CTaskNotifier& notifier, CItemDataLumpPtr lump,
                                   std::vector<CSite*> targets)
    : CTask(notifier), lump_(std::move(lump)), targets_(std::move(targets)) {}

void CReflectSiteTask::Run() {
  {
    CLock lock(lump_->Lock());
    for (CSite* site : targets_) {
      auto it = lump_->sources.find(site->Id());
      if (it != lump_->sources.end()) InstallResult(*site, it->second);
    }
    lump_->sources.clear();
  }
  Complete();
}

}  // namespace tw
