#include "retrieval/task_queue.h"

namespace tw {

void CTaskQueue::Append(const std::vector<CTaskPtr>& tasks) {
  CLock lock(lock_);
  queue_.insert(queue_.end(), tasks.begin(), tasks.end());
}

void CTaskQueue::Run() {
  CTaskPtr next;
  {
    CLock lock(lock_);
    if (running_) return;  // the outer call goes on with the queue
    running_ = true;
  }
  for (;;) {
    {
      CLock lock(lock_);
      if (current_ && !current_->Done()) break;
      current_.reset();
      if (queue_.empty()) break;
      current_ = queue_.front();
      queue_.pop_front();
      next = current_;
    }
    // Outside the lock: a task may send messages to windows that call back into the manager.
    next->Run();
    next.reset();
  }
  CLock lock(lock_);
  running_ = false;
}

bool CTaskQueue::Busy() const {
  CLock lock(lock_);
  return !queue_.empty() || (current_ && !current_->Done());
}

bool CTaskQueue::Empty() const {
  CLock lock(lock_);
  return queue_.empty() && !current_;
}

void CTaskQueue::Clear() {
  std::deque<CTaskPtr> queue;
  CTaskPtr current;
  {
    CLock lock(lock_);
    queue.swap(queue_);
    current.swap(current_);
  }
  // Destroyed outside the lock, newest first, the running task last.
  while (!queue.empty()) queue.pop_back();
  current.reset();
}

}  // namespace tw
