#pragma once
// The tasks of a chain that run on the main thread and complete at once: the notifications to
// the views at the start and the end of a full update, and the installation of the lump's
// sources into the sites.
#include <functional>
#include <vector>

#include "model/site_list.h"
#include "retrieval/task.h"

namespace tw {

// Sends one message to every view window and completes.
class CNotifyViewsTask : public CTask {
 public:
  CNotifyViewsTask(CTaskNotifier& notifier, UINT message,
                   std::function<void(UINT message)> notifyViews);
  void Run() override;

 private:
  UINT message_;
  std::function<void(UINT)> notifyViews_;
};

// WM_APP+4: the views show that an update runs.
class CUpdateStartNotifyTask : public CNotifyViewsTask {
 public:
  static constexpr UINT kMessage = WM_APP + 4;
  CUpdateStartNotifyTask(CTaskNotifier& notifier, std::function<void(UINT)> notifyViews)
      : CNotifyViewsTask(notifier, kMessage, std::move(notifyViews)) {}
};

// WM_APP+3: the views handle the end of the update (they rank again).
class CUpdateEndNotifyTask : public CNotifyViewsTask {
 public:
  static constexpr UINT kMessage = WM_APP + 3;
  CUpdateEndNotifyTask(CTaskNotifier& notifier, std::function<void(UINT)> notifyViews)
      : CNotifyViewsTask(notifier, kMessage, std::move(notifyViews)) {}
};

// Installs the lump's sources into the sites of the collection that have an entry, then lets
// afterInstall prune the reading records.
class CReflectTask : public CTask {
 public:
  CReflectTask(CTaskNotifier& notifier, CItemDataLumpPtr lump, CSiteList& sites,
               std::function<void()> afterInstall);
  void Run() override;

 private:
  CItemDataLumpPtr lump_;
  CSiteList& sites_;
  std::function<void()> afterInstall_;
};

// Installs the lump's sources into the loading dialog's sites (which need not be in the
// collection yet).
class CReflectSiteTask : public CTask {
 public:
  CReflectSiteTask(CTaskNotifier& notifier, CItemDataLumpPtr lump, std::vector<CSite*> targets);
  void Run() override;

 private:
  CItemDataLumpPtr lump_;
  std::vector<CSite*> targets_;
};

}  // namespace tw
