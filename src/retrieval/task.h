#pragma once
// The task machinery of an update: tasks run one after another on the main thread; a task that
// works in the background completes later and asks its notifier (the update manager or the
// loading dialog) to run the queue again with WM_APP+1. The tasks of one chain share the lump
// of fetched sources.
#include <windows.h>

#include <functional>
#include <map>
#include <memory>
#include <string>

#include "feeds/w3c_date.h"
#include "framework/sync.h"
#include "framework/thread.h"
#include "framework/window.h"
#include "model/site_merge.h"

namespace tw {

// To a notifier's window: run the task queue. To a task's window: its worker has finished
// (lParam = the worker thread).
constexpr UINT kMsgRunQueue = WM_APP + 1;
constexpr UINT kMsgThreadDone = WM_APP + 1;

// Runs a chain of tasks: WM_APP+1 to its window runs the queue again.
class CTaskNotifier {
 public:
  virtual HWND NotifyWindow() const = 0;

 protected:
  ~CTaskNotifier() = default;
};

class CTask {
 public:
  explicit CTask(CTaskNotifier& notifier) : notifier_(notifier) {}
  CTask(const CTask&) = delete;
  CTask& operator=(const CTask&) = delete;
  virtual ~CTask() = default;

  virtual void Run() = 0;
  // Marks the task done.
  virtual void Finish() { done_ = true; }
  // Finish, then ask the notifier to run the queue.
  virtual void Complete();
  bool Done() const { return done_; }

 protected:
  CTaskNotifier& Notifier() const { return notifier_; }

 private:
  CTaskNotifier& notifier_;
  bool done_ = false;
};

using CTaskPtr = std::shared_ptr<CTask>;

// The fetched sources of one chain, by site id (each already merged with its site's source),
// and the start time of the download run. The lock guards both between the main thread and
// the workers of the chain.
class CItemDataLump {
 public:
  CCriticalSection& Lock() { return lock_; }

  std::map<std::string, CSourceResult> sources;
  CW3CDate startTime = CW3CDate::Now();

 private:
  CCriticalSection lock_;
};

using CItemDataLumpPtr = std::shared_ptr<CItemDataLump>;

// A hidden window (popup, no title, never shown) that hands its WM_APP+n messages and its
// timers to functions: the windows of the update manager and of the tasks.
class CMessageWindow : public CWindow {
 public:
  std::function<void(UINT n, WPARAM wp, LPARAM lp)> onApp;
  std::function<void(UINT_PTR id)> onTimer;

  bool Create();

 protected:
  const wchar_t* ClassName() const override { return L"TidewatchMessageWindow"; }
  LRESULT OnAppMessage(UINT n, WPARAM wp, LPARAM lp) override;
  void OnTimer(UINT_PTR id) override;
};

// The worker of a thread task: runs Work, then posts WM_APP+1 with itself as lParam to the
// task's window, if that still exists (also when Work failed).
class CTaskThread : public CWorkerThread {
 public:
  explicit CTaskThread(ThreadCom com = ThreadCom::kNone) : CWorkerThread(nullptr, com) {}
  ~CTaskThread() override { Join(INFINITE); }
  void SetNotify(HWND window) { notify_ = window; }

 protected:
  virtual void Work() = 0;

 private:
  void Run() override;

  HWND notify_ = nullptr;
};

// A task that works on a worker thread and completes in OnThreadDone, on the main thread.
class CThreadTask : public CTask {
 public:
  using CTask::CTask;
  // Waits up to 1000 ms for a worker that still runs; one that is still running then is left
  // to end on its own (it finds the window gone and posts nothing).
  ~CThreadTask() override;

 protected:
  // Starts thread at priority; first waits for the previous worker of this task. False when
  // the window or the thread cannot be made.
  bool StartThread(std::unique_ptr<CTaskThread> thread, int priority);
  // Main thread, after the worker has ended; the worker's results are read from it here.
  virtual void OnThreadDone(CTaskThread& thread) = 0;

 private:
  void OnWindowMessage(UINT n, WPARAM wp, LPARAM lp);

  CMessageWindow window_;
  std::unique_ptr<CTaskThread> thread_;
};

// Keeps a worker that did not end in time until it has ended; threads kept earlier that have
// ended by now are deleted. Used when a task goes while its worker still runs.
void LeaveThreadToEnd(std::unique_ptr<CWorkerThread> thread);

}  // namespace tw
