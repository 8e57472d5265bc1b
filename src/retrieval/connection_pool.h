#pragma once
// The connection threads of one download run, their request queue and the run's watchdog.
// Requests are queued by id; the waiter collects each answer by its id, in any order.
#include <deque>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "framework/internet.h"
#include "framework/sync.h"
#include "retrieval/connection_info.h"
#include "retrieval/connection_thread.h"
#include "retrieval/timeout_thread.h"

namespace tw {

class CConnectionPool {
 public:
  static constexpr long kNoRequest = -1;

  // Opens the root WinINet handle and starts the watchdog and the given number of connection
  // threads; timeout is the seconds each request may take (0: no limit).
  CConnectionPool(int threads, std::string userAgent, int timeout);
  // Stops: ends and joins every thread and drops the requests nobody collected.
  ~CConnectionPool();
  CConnectionPool(const CConnectionPool&) = delete;
  CConnectionPool& operator=(const CConnectionPool&) = delete;

  // True when the root handle, the watchdog and at least one connection thread exist.
  bool Started() const { return started_; }

  // Queues a GET; returns its id, or kNoRequest when none can be made (the pool did not start,
  // or the ids are exhausted).
  long Request(const std::string& url, const std::string& lastModified);
  // Waits without time limit for the request and hands out its answer (also when it failed:
  // see succeeded). Empty for an id that was never made or was already collected.
  CConnectionInfoPtr Wait(long id);

 private:
  friend class CConnectionThread;
  struct CQueued {
    long id;
    CConnectionInfoPtr info;
  };

  // For the connection threads: the next request, waiting for one; false once stopping.
  bool Next(CQueued& out);
  void Finished(const CQueued& done);
  void Stop();

  CInternetHandle internet_;
  std::string userAgent_;
  int timeout_;
  bool started_ = false;

  CCriticalSection queueLock_;
  std::deque<CQueued> queue_;
  CEvent queueEvent_{false};  // auto-reset: set while the queue holds requests
  CEvent stopEvent_{true};
  bool stop_ = false;

  CCriticalSection resultLock_;
  std::map<long, std::unique_ptr<CEvent>> waiting_;  // id → set when it finished
  std::map<long, CConnectionInfoPtr> results_;
  long nextId_ = 0;

  CTimeoutThread watchdog_;
  std::vector<std::unique_ptr<CConnectionThread>> threads_;
};

}  // namespace tw
