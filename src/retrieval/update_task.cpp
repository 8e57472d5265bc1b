#include "retrieval/update_task.h"

namespace tw {
namespace {

constexpr DWORD kDownloadGraceMs = 1000;

}  // namespace

CFeedDownloadTask::CFeedDownloadTask(CTaskNotifier& notifier, CItemDataLumpPtr lump,
                                     CUpdateParameters parameters)
    : CTask(notifier), lump_(std::move(lump)), parameters_(std::move(parameters)) {}

CFeedDownloadTask::~CFeedDownloadTask() {
  window_.Destroy();  // a run that ends from now on posts nothing
  if (download_ && !download_->Join(kDownloadGraceMs)) LeaveThreadToEnd(std::move(download_));
}

void CFeedDownloadTask::Run() {
  window_.onApp = [this](UINT n, WPARAM, LPARAM lp) {
    if (WM_APP + n == kMsgDownloadDone) OnDownloadDone(lp);
  };
  if (!window_.Create()) {
    Finish();  // the chain goes on without this task
    return;
  }
  download_ = std::make_unique<CDownloadThread>();
  for (CSite* site : SitesToFetch()) {
    if (const CFeedSite* feed = site->Feed()) {
      download_->AddSite(site->Id(), *feed, site->SubSites());
    }
  }
  download_->SetParameters(window_.Handle(), parameters_.numThread, parameters_.userAgent,
                           parameters_.timeout);
  if (!download_->Start()) {
    download_.reset();
    Finish();
  }
}

void CFeedDownloadTask::OnDownloadDone(LPARAM thread) {
  if (!download_ || reinterpret_cast<LPARAM>(download_.get()) != thread) return;
  std::map<std::string, CSourceResult> results;
  CW3CDate start;
  {
    CLock lock(lump_->Lock());
    download_->Join(INFINITE);
    start = download_->StartTime();
    lump_->startTime = start;
    results = std::move(download_->Results());
    download_.reset();
  }
  for (auto& [id, result] : results) {
    CSite* site = FindSite(id);
    const CFeedSite* feed = site ? site->Feed() : nullptr;
    if (!feed) continue;  // deleted (or made a channel) while it was being fetched
    MergeResult(*feed, feed->Uri(), site->SubSites(), result, start, parameters_.restItem);
    CLock lock(lump_->Lock());
    lump_->sources.emplace(id, std::move(result));
  }
  Complete();
}

CUpdateTask::CUpdateTask(CTaskNotifier& notifier, CItemDataLumpPtr lump, CSiteList& sites,
                         CUpdateParameters parameters)
    : CFeedDownloadTask(notifier, std::move(lump), std::move(parameters)), sites_(sites) {}

std::vector<CSite*> CUpdateTask::SitesToFetch() const {
  std::vector<CSite*> out;
  for (const auto& [id, site] : sites_) {
    if (site->Feed() && site->HasViewers()) out.push_back(site.get());
  }
  return out;
}

CSite* CUpdateTask::FindSite(const std::string& id) const { return sites_.Find(id); }

CUpdateSiteTask::CUpdateSiteTask(CTaskNotifier& notifier, CItemDataLumpPtr lump,
                                 CUpdateParameters parameters, std::vector<CSite*> targets)
    : CFeedDownloadTask(notifier, std::move(lump), std::move(parameters)),
      targets_(std::move(targets)) {}

std::vector<CSite*> CUpdateSiteTask::SitesToFetch() const {
  std::vector<CSite*> out;
  for (CSite* site : targets_)
    if (site->Feed()) out.push_back(site);
  return out;
}

CSite* CUpdateSiteTask::FindSite(const std::string& id) const {
  for (CSite* site : targets_)
    if (site->Id() == id) return site;
  return nullptr;
}

}  // namespace tw
