#include "retrieval/update_manager.h"

#include "retrieval/chain_tasks.h"
#include "retrieval/channel_task.h"
#include "retrieval/update_task.h"

namespace tw {

CUpdateManager::CUpdateManager(CUpdateContext context) : context_(std::move(context)) {}

CUpdateManager::~CUpdateManager() {
  queue_.Clear();
  Destroy();
}

bool CUpdateManager::Create() {
  if (window_.Handle()) return true;
  window_.onApp = [this](UINT n, WPARAM, LPARAM) {
    if (WM_APP + n == kMsgRunQueue) queue_.Run();
  };
  window_.onTimer = [this](UINT_PTR id) {
    if (id == kTimerId) OnMinute();
  };
  if (!window_.Create()) return false;
  window_.SetTimer(kTimerId, kTimerMs);
  return true;
}

void CUpdateManager::Destroy() {
  window_.KillTimer(kTimerId);
  window_.Destroy();
}

void CUpdateManager::OnMinute() {
  ++minutes_;
  if (updateCycle_ != 0 && minutes_ >= updateCycle_) {
    minutes_ = 0;
    StartUpdate();  // does nothing while an update still runs
  }
}

std::vector<CTaskPtr> CUpdateManager::BuildChain() {
  auto lump = std::make_shared<CItemDataLump>();
  CUpdateParameters parameters = context_.Parameters();
  std::vector<CTaskPtr> chain;
  chain.push_back(std::make_shared<CUpdateStartNotifyTask>(*this, context_.notifyViews));
  chain.push_back(std::make_shared<CUpdateTask>(*this, lump, *context_.sites, parameters));
  chain.push_back(
      std::make_shared<CUpdateAllChannelTask>(*this, lump, *context_.sites, context_.channels));
  for (const CLumpTaskFactory& make : context_.lumpTasks) {
    if (CTaskPtr task = make(*this, lump)) chain.push_back(std::move(task));
  }
  chain.push_back(
      std::make_shared<CReflectTask>(*this, lump, *context_.sites, context_.afterInstall));
  chain.push_back(std::make_shared<CUpdateEndNotifyTask>(*this, context_.notifyViews));
  return chain;
}

void CUpdateManager::StartUpdate() {
  if (queue_.Busy() || !context_.sites || !window_.Handle()) return;
  queue_.Append(BuildChain());
  queue_.Run();
}

}  // namespace tw
