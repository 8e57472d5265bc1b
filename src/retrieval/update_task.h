#pragma once
// The download tasks of the update chains: fetch feed sites on a download run and merge each
// result with its site's current source into the chain's lump.
#include <memory>
#include <string>
#include <vector>

#include "retrieval/download_thread.h"
#include "retrieval/task.h"
#include "retrieval/update_context.h"

namespace tw {

// What both download tasks share; they differ in which sites they fetch.
class CFeedDownloadTask : public CTask {
 public:
  CFeedDownloadTask(CTaskNotifier& notifier, CItemDataLumpPtr lump, CUpdateParameters parameters);
  // Waits up to 1000 ms for a download run that still goes on; one that has not ended by then
  // is left to end on its own (it finds the window gone and posts nothing).
  ~CFeedDownloadTask() override;

  void Run() override;

 protected:
  // The sites to fetch, read when the task runs.
  virtual std::vector<CSite*> SitesToFetch() const = 0;
  // The site a result belongs to; nullptr for a site deleted meanwhile (its result is dropped).
  virtual CSite* FindSite(const std::string& id) const = 0;

 private:
  void OnDownloadDone(LPARAM thread);

  CItemDataLumpPtr lump_;
  CUpdateParameters parameters_;
  CMessageWindow window_;
  std::unique_ptr<CDownloadThread> download_;
};

// The full update's task: every feed site of the collection that at least one view shows.
class CUpdateTask : public CFeedDownloadTask {
 public:
  CUpdateTask(CTaskNotifier& notifier, CItemDataLumpPtr lump, CSiteList& sites,
              CUpdateParameters parameters);

 protected:
  std::vector<CSite*> SitesToFetch() const override;
  CSite* FindSite(const std::string& id) const override;

 private:
  CSiteList& sites_;
};

// The loading dialog's task: the given sites whose main source is a feed, whatever views show
// them. The sites must outlive the task.
class CUpdateSiteTask : public CFeedDownloadTask {
 public:
  CUpdateSiteTask(CTaskNotifier& notifier, CItemDataLumpPtr lump, CUpdateParameters parameters,
                  std::vector<CSite*> targets);

 protected:
  std::vector<CSite*> SitesToFetch() const override;
  CSite* FindSite(const std::string& id) const override;

 private:
  std::vector<CSite*> targets_;
};

}  // namespace tw
