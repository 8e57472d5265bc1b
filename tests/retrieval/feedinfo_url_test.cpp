// feedinfo.exe URL: the feed inspector fetches through the downloader and prints the answer
// before what the readers see.
#include <gtest/gtest.h>
#include <windows.h>

#include <sstream>
#include <string>
#include <vector>

#include "common/test_support.h"
#include "framework/text.h"
#include "retrieval_test_support.h"

namespace tw {
namespace {

using test::Server;

struct ToolRun {
  int exitCode = -1;
  std::vector<std::string> lines;
};

// Runs feedinfo.exe with its standard output going to a temporary file.
ToolRun RunFeedInfo(const std::string& url) {
  test::CTempFolder dir;
  std::wstring outPath = dir.File(L"out.txt");
  SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
  HANDLE out = CreateFileW(outPath.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit, CREATE_ALWAYS,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
  ToolRun run;
  if (out == INVALID_HANDLE_VALUE) return run;
  std::wstring exe = test::BuildPath(L"tools\\feedinfo\\feedinfo.exe");
  std::wstring line = L"\"" + exe + L"\" \"" + ToWide(url) + L"\"";
  STARTUPINFOW si{};
  si.cb = sizeof si;
  si.dwFlags = STARTF_USESTDHANDLES;
  si.hStdOutput = out;
  si.hStdError = GetStdHandle(STD_ERROR_HANDLE);
  PROCESS_INFORMATION pi{};
  if (CreateProcessW(exe.c_str(), line.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &si,
                     &pi)) {
    if (WaitForSingleObject(pi.hProcess, 60000) == WAIT_OBJECT_0) {
      DWORD code = 0;
      GetExitCodeProcess(pi.hProcess, &code);
      run.exitCode = static_cast<int>(code);
    } else {
      TerminateProcess(pi.hProcess, 99);
    }
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
  }
  CloseHandle(out);
  std::istringstream text(test::ReadFileBytes(outPath));
  for (std::string l; std::getline(text, l);) run.lines.push_back(l);
  return run;
}

TEST(FeedInfoUrl, PrintsTheAnswerThenTheFeed) {
  ASSERT_NE(Server().Port(), 0) << "the feed server did not start";
  const std::string target = Server().Url("/gen/fi?lm=1577836800&enc=gzip");
  ToolRun run = RunFeedInfo(Server().Url("/r/301/gen/fi?lm=1577836800&enc=gzip"));
  EXPECT_EQ(run.exitCode, 0);
  ASSERT_EQ(run.lines.size(), 5u);
  EXPECT_EQ(run.lines[0], "{\"status\": 200, \"moved\": true, \"location\": \"" + target +
                              "\", \"lastModified\": \"Wed, 01 Jan 2020 00:00:00 GMT\", "
                              "\"fresh\": true}");
  EXPECT_EQ(run.lines[1], "{\"format\": \"rss20\", \"title\": \"Feed fi\"}");
  EXPECT_EQ(run.lines[2].rfind("{\"title\": \"fi item 0\", \"link\": ", 0), 0u) << run.lines[2];

  ToolRun missing = RunFeedInfo(Server().Url("/status/404"));
  EXPECT_EQ(missing.exitCode, 1);
  ASSERT_EQ(missing.lines.size(), 1u);
  EXPECT_EQ(missing.lines[0],
            "{\"status\": 404, \"moved\": false, \"location\": \"\", \"lastModified\": \"\", "
            "\"fresh\": false}");
}

}  // namespace
}  // namespace tw
