// bench_update.exe — a full update of 200 feeds of 50 items served by the local feed server,
// with 1, 3 and 10 connection threads, side by side with curl fetching the same 200 URLs with
// --parallel --parallel-max N (the practical floor for the transfers). While the update runs,
// a 10 ms timer on the main thread records its largest lateness and the longest single message
// the main thread handled. Run it with scripts/bench update (TW_SOURCE_DIR and TW_BUILD_DIR
// hold Unix paths; curl and the server are the Linux ones).
#include "bench_clock.h"
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "framework/com.h"
#include "framework/text.h"
#include "retrieval/update_manager.h"
#include "servers/feed_server_process.h"

namespace tw::bench {
namespace {

using test::CFeedServer;

constexpr int kFeeds = 200;
constexpr int kItems = 50;
constexpr int kRuns = 3;
constexpr UINT kProbeMs = 10;
const int kThreadCounts[] = {1, 3, 10};

std::string Env(const char* name) {
  const char* v = std::getenv(name);
  return v ? v : "";
}

std::wstring WinePath(const std::string& unixPath) {
  std::wstring p = L"Z:" + FromUtf8(unixPath);
  std::replace(p.begin(), p.end(), L'/', L'\\');
  return p;
}

std::string FeedPath(int i) {
  return "/gen/bench" + std::to_string(i) + "?items=" + std::to_string(kItems);
}

// How the main thread fared: the largest lateness of a 10 ms timer and the longest message.
struct CProbe {
  double lastTick = 0;
  double worstLateness = 0;
  double worstMessage = 0;
};
CProbe* g_probe = nullptr;

void CALLBACK ProbeTick(HWND, UINT, UINT_PTR, DWORD) {
  double now = Now();
  if (g_probe->lastTick > 0) {
    g_probe->worstLateness =
        std::max(g_probe->worstLateness, now - g_probe->lastTick - kProbeMs / 1000.0);
  }
  g_probe->lastTick = now;
}

struct CUpdateFigures {
  double seconds = 0;
  double lateness = 0;
  double longestMessage = 0;
  size_t items = 0;
};

CUpdateFigures RunUpdate(const CFeedServer& server, int threads) {
  CSiteList sites;
  CSiteViewer viewer;
  for (int i = 0; i < kFeeds; ++i) {
    auto feed = std::make_shared<CFeedSite>();
    feed->uri->uri = server.Url(FeedPath(i));
    sites.Add(feed).AddViewer(&viewer);
  }
  CUpdateContext context;
  context.sites = &sites;
  context.parameters = [threads] { return CUpdateParameters{threads, 20, 10, "Tidewatch 1.10"}; };
  CUpdateManager manager(context);
  if (!manager.Create()) {
    std::fprintf(stderr, "the update manager's window cannot be made\n");
    std::exit(1);
  }
  CProbe probe;
  g_probe = &probe;
  UINT_PTR timer = SetTimer(nullptr, 0, kProbeMs, &ProbeTick);
  CUpdateFigures figures;
  double start = Now();
  manager.StartUpdate();
  MSG msg;
  while (manager.Updating()) {
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      double before = Now();
      DispatchMessageW(&msg);
      if (msg.message != WM_TIMER) {
        figures.longestMessage = std::max(figures.longestMessage, Now() - before);
      }
    }
  }
  figures.seconds = Now() - start;
  KillTimer(nullptr, timer);
  figures.lateness = probe.worstLateness;
  g_probe = nullptr;
  for (const auto& [id, site] : sites) figures.items += site->AllItems().size();
  return figures;
}

// Runs curl (the Linux one) kRuns times for each thread count through a shell script and
// returns the best time of each, in seconds; empty when curl could not be run.
std::vector<double> RunCurl(const CFeedServer& server) {
  std::string folder = Env("TW_BUILD_DIR") + "/bench";
  std::string config = folder + "/bench_update_curl.cfg";
  std::string script = folder + "/bench_update_curl.sh";
  std::string result = folder + "/bench_update_curl.txt";
  {
    std::ofstream cfg(WinePath(config).c_str(), std::ios::binary | std::ios::trunc);
    for (int i = 0; i < kFeeds; ++i) {
      cfg << "url = \"" << server.Url(FeedPath(i)) << "\"\noutput = \"/dev/null\"\n";
    }
    std::ofstream sh(WinePath(script).c_str(), std::ios::binary | std::ios::trunc);
    sh << "rm -f '" << result << "'\n";
    for (int n : kThreadCounts) {
      std::string curl = "curl -s --no-progress-meter -H 'Accept-Encoding: gzip' --parallel " +
                         std::string("--parallel-max ") + std::to_string(n) + " -K '" + config +
                         "' 2>/dev/null || exit 1";
      sh << "for run in $(seq " << kRuns << "); do s=$(date +%s%N); " << curl
         << "; e=$(date +%s%N); echo " << n << " $(( (e - s) / 1000 )) >> '" << result
         << ".tmp'; done\n";
    }
    sh << "mv '" << result << ".tmp' '" << result << "'\n";
  }
  DeleteFileW(WinePath(result).c_str());
  std::wstring line = L"/bin/sh \"" + FromUtf8(script) + L"\"";
  STARTUPINFOW si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  if (!CreateProcessW(L"Z:\\bin\\sh", line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                      &si, &pi)) {
    return {};
  }
  if (pi.hThread) CloseHandle(pi.hThread);
  if (pi.hProcess) CloseHandle(pi.hProcess);
  // Wine gives no handle to wait on for a Linux child: wait for its result file.
  for (int waited = 0; waited < 600 * 10; ++waited) {
    std::ifstream in(WinePath(result).c_str());
    if (in) {
      std::vector<double> best(std::size(kThreadCounts), 1e9);
      int n = 0;
      long long micros = 0;
      while (in >> n >> micros) {
        for (size_t i = 0; i < std::size(kThreadCounts); ++i) {
          if (kThreadCounts[i] == n) best[i] = std::min(best[i], micros / 1e6);
        }
      }
      return best;
    }
    Sleep(100);
  }
  return {};
}

int Run() {
  CFeedServer server;
  if (!server.Port()) {
    std::fprintf(stderr, "the feed server did not start\n");
    return 1;
  }
  std::printf("full update of %d feeds of %d items from a local server (best of %d runs)\n", kFeeds,
              kItems, kRuns);
  std::vector<double> curl = RunCurl(server);
  std::printf("%-10s %12s %12s %8s %16s %16s %8s\n", "NumThread", "update s", "curl s", "ratio",
              "UI lateness ms", "longest msg ms", "items");
  for (size_t i = 0; i < std::size(kThreadCounts); ++i) {
    CUpdateFigures best;
    best.seconds = 1e9;
    double worstLateness = 0, worstMessage = 0;
    for (int r = 0; r < kRuns; ++r) {
      CUpdateFigures f = RunUpdate(server, kThreadCounts[i]);
      if (f.seconds < best.seconds) best = f;
      worstLateness = std::max(worstLateness, f.lateness);
      worstMessage = std::max(worstMessage, f.longestMessage);
    }
    double c = curl.empty() ? 0 : curl[i];
    std::printf("%-10d %12.3f %12.3f %8.2f %16.1f %16.1f %8zu\n", kThreadCounts[i], best.seconds, c,
                c > 0 ? best.seconds / c : 0.0, worstLateness * 1000, worstMessage * 1000,
                best.items);
  }
  if (curl.empty()) std::printf("(curl could not be run: its column is 0)\n");
  std::printf("UI lateness and longest message: the worst over all runs of that row\n");
  return 0;
}

}  // namespace
}  // namespace tw::bench

int main() {
  tw::CComInit com;
  return tw::bench::Run();
}
