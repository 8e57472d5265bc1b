#pragma once
// One HTTP request of a download run and its answer. Shared by the pool's queue, the
// connection thread that runs it, the watchdog while it is watched, and the waiter.
#include <windows.h>
#include <wininet.h>

#include <memory>
#include <string>

#include "framework/xml.h"

namespace tw {

class CTimeoutThread;

struct CConnectionInfo {
  // The request.
  HINTERNET internet = nullptr;  // the run's root handle, owned by the pool
  std::string url;               // replaced by the target of each followed redirect
  std::string userAgent;         // empty: no User-Agent line
  std::string lastModified;      // in: the If-Modified-Since value (empty: none)
  int timeout = 0;               // seconds granted by the watchdog; 0: no limit
  CTimeoutThread* watchdog = nullptr;

  // The answer.
  bool succeeded = false;
  int status = 0;                // status code of the last answer; 0 when none came
  bool contentReceived = false;  // a 2xx body was parsed into document; clear for 304
  bool moved = false;            // a 301 was followed; newLocation is its target
  std::string newLocation;
  // (lastModified holds the answer's Last-Modified text after a 2xx answer.)
  std::unique_ptr<CXmlDocument> document;
};

using CConnectionInfoPtr = std::shared_ptr<CConnectionInfo>;

}  // namespace tw
