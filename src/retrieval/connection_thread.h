#pragma once
// A connection thread of a download run: takes requests from the pool's queue one at a time
// and performs each as one HTTP GET through WinINet.
#include "framework/thread.h"
#include "retrieval/connection_info.h"

namespace tw {

class CConnectionPool;

class CConnectionThread : public CWorkerThread {
 public:
  explicit CConnectionThread(CConnectionPool& pool);
  ~CConnectionThread() override;

  // One GET with up to 5 redirects, the conditional header, gzip and the watchdog; fills the
  // answer fields of info. True on success (a parsed 2xx answer, or 304 to a conditional
  // request). Never throws. Needs COM on the calling thread (the body is parsed here).
  static bool Get(const CConnectionInfoPtr& info);

 private:
  void Run() override;

  CConnectionPool& pool_;
};

}  // namespace tw
