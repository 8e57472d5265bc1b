#pragma once
// The queue of a chain of tasks and the task that runs now, shared by the update manager and
// the loading dialog. Tasks run and complete on the main thread.
#include <deque>
#include <vector>

#include "framework/sync.h"
#include "retrieval/task.h"

namespace tw {

class CTaskQueue {
 public:
  // Destroys the queued tasks and the current one.
  ~CTaskQueue() { Clear(); }

  void Append(const std::vector<CTaskPtr>& tasks);
  // While there is no current task or it is done: drop it and run the next one. A task that
  // completes inside Run lets the next one start at once; one that works in the background
  // returns, and its Complete later brings the notifier here again.
  void Run();
  // True while tasks wait in the queue or the current one has not finished.
  bool Busy() const;
  // True when nothing is queued and nothing runs.
  bool Empty() const;
  void Clear();

 private:
  mutable CCriticalSection lock_;
  std::deque<CTaskPtr> queue_;
  CTaskPtr current_;
  bool running_ = false;  // Run is on the stack (a task's Run may come back here)
};

}  // namespace tw
