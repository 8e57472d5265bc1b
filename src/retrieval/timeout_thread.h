#pragma once
// The watchdog of a download run: counts down a time allowance for every open request, once a
// second, and closes the request's handle when it is used up, so that the WinINet call blocked
// on it returns with an error.
#include <list>
#include <memory>

#include "framework/internet.h"
#include "framework/sync.h"
#include "framework/thread.h"

namespace tw {

struct CTimeoutItem {
  std::shared_ptr<CInternetHandle> request;
  std::shared_ptr<const void> owner;  // keeps the request's connection info alive
  int remaining = 0;                  // seconds; 0 is never closed
};

class CTimeoutThread : private CWorkerThread {
 public:
  CTimeoutThread() = default;
  // Stops the thread if it still runs.
  ~CTimeoutThread() override;

  // Starts the thread with its one-second timer; false when it cannot.
  bool Start();
  // Ends the thread and waits for it without time limit.
  void Stop();

  // Watches request for seconds (called just before the request is sent).
  void Register(const std::shared_ptr<CInternetHandle>& request, std::shared_ptr<const void> owner,
                int seconds);
  // Stops watching every item of this request.
  void Unregister(const std::shared_ptr<CInternetHandle>& request);

  // One second passed: counts every item down and closes those that reach 0. Called by the
  // thread's timer; public so that the arithmetic can be driven directly.
  void Tick();
  size_t Watched() const;

 private:
  void Run() override;

  mutable CCriticalSection lock_;
  std::list<CTimeoutItem> items_;
  CEvent ready_{true};  // the thread's message queue exists
  DWORD threadId_ = 0;
};

}  // namespace tw
