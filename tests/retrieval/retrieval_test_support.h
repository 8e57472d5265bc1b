#pragma once
// Helpers of the retrieval tests: the one feed server of the test program, a message pump for
// the main thread, and a view stand-in.
#include <windows.h>

#include <functional>

#include "model/site.h"
#include "servers/feed_server_process.h"

namespace tw::test {

// Started on first use, ended when the test program ends.
inline const CFeedServer& Server() {
  static CFeedServer server;
  return server;
}

// Dispatches the main thread's messages until done() holds or ms pass; returns done().
inline bool PumpUntil(const std::function<bool()>& done, DWORD ms) {
  DWORD start = GetTickCount();
  while (!done()) {
    if (GetTickCount() - start > ms) return done();
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
  }
  return true;
}

// Something that shows sites, as a view window does.
class CTestViewer : public CSiteViewer {};

// The date the server gives every Last-Modified of its fixed feeds.
constexpr char kFixedLastModified[] = "Wed, 01 Jan 2020 00:00:00 GMT";

}  // namespace tw::test
