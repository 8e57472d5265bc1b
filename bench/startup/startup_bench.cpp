// Prints how long tidewatch.exe takes from CreateProcess to its running state (main window
// created after the data files are loaded and the tray icon is added), and to a clean exit.
// Run under Wine with TW_BUILD_DIR set, e.g. from scripts/bench.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <vector>

#include "app/program_copy.h"
#include "framework/com.h"
#include "resources/resource.h"

int main() {
  tw::CComInit com;
  const int kRuns = 5;
  std::vector<double> start, exit;
  for (int i = 0; i < kRuns; ++i) {
    tw::test::CProgramCopy copy;
    copy.RememberFolder(copy.SettingsFolder());
    LARGE_INTEGER f, t0, t1, t2;
    QueryPerformanceFrequency(&f);
    QueryPerformanceCounter(&t0);
    auto process = copy.Start();
    HWND frame = tw::test::WaitForProcessWindow(process->Id(), L"CTrayIcon", 20000);
    QueryPerformanceCounter(&t1);
    if (!frame) {
      std::printf("run %d: no running state within 20 s\n", i + 1);
      return 1;
    }
    int code = tw::test::ExitProgram(*process);
    QueryPerformanceCounter(&t2);
    start.push_back(1000.0 * (t1.QuadPart - t0.QuadPart) / f.QuadPart);
    exit.push_back(1000.0 * (t2.QuadPart - t1.QuadPart) / f.QuadPart);
    std::printf("run %d: running after %.0f ms, exit code %d after %.0f ms\n", i + 1, start.back(),
                code, exit.back());
  }
  std::sort(start.begin(), start.end());
  std::sort(exit.begin(), exit.end());
  std::printf("start to running: median %.0f ms (min %.0f, max %.0f); exit: median %.0f ms\n",
              start[kRuns / 2], start.front(), start.back(), exit[kRuns / 2]);
  return 0;
}
