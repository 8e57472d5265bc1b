#include "framework/logger.h"

#include <gtest/gtest.h>

#include <regex>

#include "common/test_support.h"

namespace tw {
namespace {

// The file output writes "log.txt" in the working folder, so these run in a temporary one.
class LoggerTest : public testing::Test {
 protected:
  void SetUp() override {
    GetCurrentDirectoryW(MAX_PATH, saved_);
    SetCurrentDirectoryW(dir_.Path().c_str());
  }
  void TearDown() override {
    for (int level : {0, 1, 2}) GetLogger(level).SetOutput(nullptr);
    SetCurrentDirectoryW(saved_);
  }
  test::CTempFolder dir_;
  wchar_t saved_[MAX_PATH];
};

TEST_F(LoggerTest, WithoutOutputsNothingIsWrittenAndNoFileIsCreated) {
  GetLogger(0).Log("Find Skin File in %s\n", "skin");
  EXPECT_FALSE(test::FileExists(dir_.File(L"log.txt")));
}

TEST_F(LoggerTest, DebugLogAppendsStampedLinesAcrossRuns) {
  test::WriteFileBytes(dir_.File(L"log.txt"), "earlier run\n");
  EnableDebugLog();
  GetLogger(0).Log("Add Skin ID=%s\n", "simple");
  GetLogger(1).Log("Failed Load Skin %s\n", std::string(3000, 'x').c_str());  // cut at 2047
  GetLogger(0).SetOutput(nullptr);
  GetLogger(1).SetOutput(nullptr);
  GetLogger(2).SetOutput(nullptr);  // releases the file
  std::string text = test::ReadFileBytes(dir_.File(L"log.txt"));
  std::regex expected(
      "earlier run\n"
      "\\d{4}/\\d\\d/\\d\\d \\d\\d:\\d\\d:\\d\\d Add Skin ID=simple\n"
      "\\d{4}/\\d\\d/\\d\\d \\d\\d:\\d\\d:\\d\\d Failed Load Skin x{2030}");
  EXPECT_TRUE(std::regex_match(text, expected)) << text.substr(0, 200);
}

}  // namespace
}  // namespace tw
