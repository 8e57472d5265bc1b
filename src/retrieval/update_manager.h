#pragma once
// The update scheduler: a hidden window with a one-minute timer that starts a full update of
// the sites every update cycle, and the queue that runs the update's chain of tasks on the main
// thread: start notification, downloads, channels, the lump tasks, installation, end
// notification.
#include <vector>

#include "retrieval/task.h"
#include "retrieval/task_queue.h"
#include "retrieval/update_context.h"

namespace tw {

class CUpdateManager : public CTaskNotifier {
 public:
  static constexpr UINT_PTR kTimerId = 1;
  static constexpr UINT kTimerMs = 60000;

  explicit CUpdateManager(CUpdateContext context);
  // Destroys the queued tasks, then the window.
  ~CUpdateManager();
  CUpdateManager(const CUpdateManager&) = delete;
  CUpdateManager& operator=(const CUpdateManager&) = delete;

  // Makes the hidden window and starts its timer; false when the window cannot be made.
  bool Create();
  void Destroy();

  // Queues and runs the full chain; does nothing while an update is still queued or running.
  void StartUpdate();
  // Minutes between automatic updates; 0 never.
  void SetUpdateCycle(unsigned minutes) { updateCycle_ = minutes; }
  unsigned UpdateCycle() const { return updateCycle_; }

  bool Updating() const { return queue_.Busy(); }
  unsigned MinuteCounter() const { return minutes_; }
  // One tick of the timer: counts a minute and starts an update when the cycle has passed.
  void OnMinute();

  HWND NotifyWindow() const override { return window_.Handle(); }
  CUpdateContext& Context() { return context_; }
  const CUpdateContext& Context() const { return context_; }

  // The chain of a full update, in queue order (the channel task has collected its channels).
  std::vector<CTaskPtr> BuildChain();

 private:
  CUpdateContext context_;
  CMessageWindow window_;
  CTaskQueue queue_;
  unsigned updateCycle_ = 0;
  unsigned minutes_ = 0;
};

}  // namespace tw
