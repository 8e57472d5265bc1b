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

// Runs feedinfo.exe on a URL.
test::CToolRun RunFeedInfo(const std::string& url) {
  return test::RunTool(test::BuildPath(L"tools\\feedinfo\\feedinfo.exe"), ToWide(url), 60000);
}

TEST(FeedInfoUrl, PrintsTheAnswerThenTheFeed) {
  ASSERT_NE(Server().Port(), 0) << "the feed server did not start";
  const std::string target = Server().Url("/gen/fi?lm=1577836800&enc=gzip");
  test::CToolRun run = RunFeedInfo(Server().Url("/r/301/gen/fi?lm=1577836800&enc=gzip"));
  EXPECT_EQ(run.exitCode, 0);
  ASSERT_EQ(run.lines.size(), 5u);
  EXPECT_EQ(run.lines[0], "{\"status\": 200, \"moved\": true, \"location\": \"" + target +
                              "\", \"lastModified\": \"Wed, 01 Jan 2020 00:00:00 GMT\", "
                              "\"fresh\": true}");
  EXPECT_EQ(run.lines[1], "{\"format\": \"rss20\", \"title\": \"Feed fi\"}");
  EXPECT_EQ(run.lines[2].rfind("{\"title\": \"fi item 0\", \"link\": ", 0), 0u) << run.lines[2];

  test::CToolRun missing = RunFeedInfo(Server().Url("/status/404"));
  EXPECT_EQ(missing.exitCode, 1);
  ASSERT_EQ(missing.lines.size(), 1u);
  EXPECT_EQ(missing.lines[0],
            "{\"status\": 404, \"moved\": false, \"location\": \"\", \"lastModified\": \"\", "
            "\"fresh\": false}");
}

}  // namespace
}  // namespace tw
