// feedinfo.exe: the feed inspector prints what the readers see as UTF-8 JSON lines.
#include <gtest/gtest.h>
#include <windows.h>

#include <sstream>
#include <string>
#include <vector>

#include "common/test_support.h"

namespace tw {
namespace {

// Runs feedinfo.exe on a file.
test::CToolRun RunFeedInfo(const std::wstring& file) {
  return test::RunTool(test::BuildPath(L"tools\\feedinfo\\feedinfo.exe"), file, 30000);
}

TEST(FeedInfo, PrintsFormatTitleAndEveryItemOfEachReader) {
  struct Case {
    const wchar_t* fixture;
    const char* header;
    size_t items;
  } cases[] = {
      {L"rss091.xml", u8R"({"format": "rss091", "title": "技術ニュース & 話題"})", 2},
      {L"rss092.xml", u8R"({"format": "rss092", "title": "ブログ 0.92"})", 1},
      {L"rss10.xml", u8R"({"format": "rss10", "title": "日記 1.0"})", 4},
      {L"rss20.xml", u8R"({"format": "rss20", "title": "週刊～ニュース"})", 3},
      {L"atom03.xml", u8R"({"format": "atom03", "title": "Atom 0.3 の日記"})", 2},
      {L"atom10.xml", u8R"({"format": "atom10", "title": "Atom 1.0 のサイト"})", 2},
  };
  for (const Case& c : cases) {
    test::CToolRun run = RunFeedInfo(test::Fixture(std::wstring(L"feeds\\") + c.fixture));
    EXPECT_EQ(run.exitCode, 0) << c.header;
    ASSERT_EQ(run.lines.size(), 1 + c.items) << c.header;
    EXPECT_EQ(run.lines[0], c.header);
  }
  test::CToolRun rss10 = RunFeedInfo(test::Fixture(L"feeds\\rss10.xml"));
  ASSERT_EQ(rss10.lines.size(), 5u);
  EXPECT_EQ(
      rss10.lines[2],
      u8R"({"title": "一日目", "link": "http://diary.example.jp/1", "description": "要約です", )"
      u8R"("encoded": "<p>本文は<b>ここ</b>です</p>", "source": "元のサイト", )"
      u8R"("date": "2004-07-05T21:30:15+09:00", "time": 1089030615})");
  EXPECT_EQ(rss10.lines[1],
            u8R"({"title": "二日目", "link": "http://diary.example.jp/2", "description": "", )"
            u8R"("encoded": "", "source": "集約元", "date": "", "time": -1})");
}

TEST(FeedInfo, ExitCodeTellsFeedNoFeedAndNotXml) {
  test::CTempFolder dir;
  struct Case {
    const char* xml;
    int exitCode;
    std::vector<std::string> lines;
  } cases[] = {
      {"<opml version=\"1.0\"><body/></opml>", 0, {R"({"format": "opml10", "title": null})"}},
      {"<opml version=\"2.0\"><body/></opml>", 0, {R"({"format": "opml", "title": null})"}},
      {"<html><body/></html>", 2, {R"({"format": null, "title": null})"}},
      {"<rss version=\"2.0\"><channel>", 1, {}},
      {"<rss version=\"2.0\"><channel><title>say \"hi\" \\ a&#9;b&#10;c</title>"
       "<item><pubDate>Mon, 05 Jul 2004 21:30:15 GMT</pubDate></item></channel></rss>",
       0,
       {R"({"format": "rss20", "title": "say \"hi\" \\ a\tb\nc"})",
        R"({"title": "", "link": "", "description": "", "encoded": "", "source": "", )"
        R"("date": "2004-07-06T06:30:15", "time": 1089063015})"}},
  };
  int n = 0;
  for (const Case& c : cases) {
    std::wstring file = dir.File(L"doc" + std::to_wstring(++n) + L".xml");
    test::WriteFileBytes(file, c.xml);
    test::CToolRun run = RunFeedInfo(file);
    EXPECT_EQ(run.exitCode, c.exitCode) << c.xml;
    EXPECT_EQ(run.lines, c.lines) << c.xml;
  }
  EXPECT_EQ(RunFeedInfo(dir.File(L"missing.xml")).exitCode, 1);
}

}  // namespace
}  // namespace tw
