// bench_data_files.exe — save and load of a site file of 200 sites with 100 items each
// (20 000 items, every item with a description, every third with rich content).
//   bench_data_files            save and load in one process, best and median of 5 runs each
//   bench_data_files save DIR   only save into DIR (peak memory of saving alone)
//   bench_data_files load DIR   only load DIR\sites.xml (peak memory of loading alone)
#include "bench_clock.h"
#include <windows.h>

#include <psapi.h>
#include <shellapi.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "framework/com.h"
#include "framework/files.h"
#include "framework/text.h"
#include "framework/xml.h"
#include "model/site_file.h"

namespace tw::bench {
namespace {

constexpr int kSites = 200;
constexpr int kItems = 100;
constexpr int kRuns = 5;

double PeakMiB() {
  PROCESS_MEMORY_COUNTERS c{};
  c.cb = sizeof c;
  GetProcessMemoryInfo(GetCurrentProcess(), &c, sizeof c);
  return static_cast<double>(c.PeakWorkingSetSize) / (1024.0 * 1024.0);
}

void MakeSites(CSiteList& sites) {
  int64_t t = 1100000000;
  for (int s = 0; s < kSites; ++s) {
    auto feed = std::make_shared<CFeedSite>();
    feed->uri->uri = "http://news" + std::to_string(s) + ".example.jp/index.rdf";
    feed->uri->lastModified = "Sat, 06 Mar 2004 10:00:00 GMT";
    feed->title = "ニュースサイト " + std::to_string(s);
    feed->shortTitle = "N" + std::to_string(s);
    for (int i = 0; i < kItems; ++i) {
      auto item = std::make_shared<CItem>();
      item->title = "今日の記事その" + std::to_string(i) + "：新しい製品が発表されました";
      item->link = feed->uri->uri + "/articles/" + std::to_string(i) + ".html";
      item->description =
          "本日、東京で新しい製品の発表会が開かれました。会場には多くの人が集まり、"
          "新機能の説明に耳を傾けていました。発売は来月の予定です。";
      if (i % 3 == 0) item->encodedDescription = "<p>" + item->description + "</p>";
      item->date = CW3CDate(t - 600 * i);
      item->downloadTime = CW3CDate(t + 60 * i);
      feed->items.push_back(item);
    }
    sites.Add(feed);
  }
}

size_t ItemCount(const CSiteList& sites) {
  size_t n = 0;
  for (const auto& entry : sites) n += entry.second->AllItems().size();
  return n;
}

void Report(const char* what, std::vector<double> ms) {
  std::sort(ms.begin(), ms.end());
  std::printf("%-5s best %7.1f ms   median %7.1f ms   (%zu runs)\n", what, ms.front(),
              ms[ms.size() / 2], ms.size());
}

int Save(const std::wstring& dir, int runs) {
  CSiteList sites;
  MakeSites(sites);
  std::printf("sites %zu, items %zu, peak after building %.1f MiB\n", sites.Size(),
              ItemCount(sites), PeakMiB());
  const std::wstring path = JoinPath(dir, L"sites.xml");
  std::vector<double> ms;
  for (int r = 0; r < runs; ++r) {
    double start = Now();
    if (!SaveSites(sites, path)) {
      std::fprintf(stderr, "save failed\n");
      return 1;
    }
    ms.push_back(1000 * (Now() - start));
  }
  std::string bytes;
  ReadWholeFile(path, bytes);
  Report("save", ms);
  std::printf("file %.1f MiB, peak after saving %.1f MiB\n", bytes.size() / (1024.0 * 1024.0),
              PeakMiB());
  return 0;
}

int Load(const std::wstring& dir, int runs) {
  const std::wstring path = JoinPath(dir, L"sites.xml");
  std::vector<double> ms;
  size_t items = 0;
  for (int r = 0; r < runs; ++r) {
    CSiteList sites;
    double start = Now();
    bool ok = LoadSites(sites, path, [](const std::string& m) {
      std::fprintf(stderr, "message: %s\n", Cp932ToUtf8(m).c_str());
    });
    ms.push_back(1000 * (Now() - start));
    items = ItemCount(sites);
    if (!ok || items != static_cast<size_t>(kSites * kItems)) {
      std::fprintf(stderr, "load failed (%zu items)\n", items);
      return 1;
    }
  }
  Report("load", ms);
  std::printf("items %zu, peak after loading %.1f MiB\n", items, PeakMiB());
  // The share of the DOM's own parsing in the load.
  std::vector<double> parse;
  for (int r = 0; r < runs; ++r) {
    CXmlDocument doc;
    doc.SetPreserveWhiteSpace(true);
    double start = Now();
    doc.LoadFile(path);
    parse.push_back(1000 * (Now() - start));
  }
  Report("parse", parse);
  return 0;
}

}  // namespace
}  // namespace tw::bench

int main() {
  int argc = 0;
  wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
  tw::CComInit com;
  std::printf("start: peak %.1f MiB\n", tw::bench::PeakMiB());
  if (argc == 3 && std::wcscmp(argv[1], L"save") == 0) return tw::bench::Save(argv[2], 1);
  if (argc == 3 && std::wcscmp(argv[1], L"load") == 0) return tw::bench::Load(argv[2], 1);
  wchar_t temp[MAX_PATH];
  GetTempPathW(MAX_PATH, temp);
  std::wstring dir =
      std::wstring(temp) + L"tw-bench-data-" + std::to_wstring(GetCurrentProcessId());
  CreateDirectoryW(dir.c_str(), nullptr);
  int rc = tw::bench::Save(dir, tw::bench::kRuns);
  if (rc == 0) rc = tw::bench::Load(dir, tw::bench::kRuns);
  DeleteFileW(tw::JoinPath(dir, L"sites.xml").c_str());
  RemoveDirectoryW(dir.c_str());
  return rc;
}
