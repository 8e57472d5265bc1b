// The model's states drive which data files are written: only a system that reached the
// running state saves at shutdown.
#include "app/system.h"

#include <gtest/gtest.h>

#include "common/test_support.h"

namespace tw {
namespace {

class SystemTest : public testing::Test {
 protected:
  void SetUp() override {
    CSystem::Instance().report = [this](const std::string& text, const std::string&, unsigned) {
      messages_ += text + "\n";
      return IDOK;
    };
  }
  void TearDown() override { CSystem::Instance().Shutdown(); }

  bool Load() {
    CSystem& s = CSystem::Instance();
    return s.LoadCustomSetting(program_.Path()) &&
           s.LoadData(settings_.Path(), test::BuildPath(L"Tidewatch\\skin"));
  }

  test::CTempFolder program_, settings_;
  std::string messages_;
};

TEST_F(SystemTest, StatesRunOnlyInOrder) {
  CSystem& s = CSystem::Instance();
  EXPECT_FALSE(s.LoadData(settings_.Path()));
  EXPECT_FALSE(s.Start());
  EXPECT_TRUE(s.LoadCustomSetting(program_.Path()));
  EXPECT_FALSE(s.LoadCustomSetting(program_.Path()));
  EXPECT_FALSE(s.Start());
  EXPECT_TRUE(s.LoadData(settings_.Path(), test::BuildPath(L"Tidewatch\\skin")));
  EXPECT_EQ(s.GetState(), CSystem::kDataRead);
  EXPECT_EQ(s.VersionText(), "");  // a test program carries no version resource
  EXPECT_EQ(messages_, "");
}

TEST_F(SystemTest, RunningSystemSavesAndTheNextStartReadsItBack) {
  CSystem& s = CSystem::Instance();
  ASSERT_TRUE(Load());
  ASSERT_TRUE(s.Start());
  auto feed = std::make_shared<CFeedSite>();
  feed->uri->uri = "http://127.0.0.1/feed.xml";
  feed->name = "ニュース";
  std::string id = s.Sites().Add(feed).Id();
  s.Preferences().numThread = 7;
  s.Shutdown();

  ASSERT_TRUE(Load());
  CSite* site = s.Sites().Find(id);
  ASSERT_NE(site, nullptr);
  EXPECT_EQ(site->Feed()->name, "ニュース");
  EXPECT_EQ(s.Preferences().numThread, 7u);
  EXPECT_EQ(messages_, "");
}

TEST_F(SystemTest, StartThatFailsAfterLoadingWritesNothingBack) {
  CSystem& s = CSystem::Instance();
  ASSERT_TRUE(Load());
  ASSERT_TRUE(s.Start());
  s.Sites().Add(std::make_shared<CFeedSite>());
  s.Shutdown();
  std::string sites = test::ReadFileBytes(settings_.File(L"sites.xml"));
  std::string preferences = test::ReadFileBytes(settings_.File(L"preferences.xml"));
  ASSERT_FALSE(sites.empty());

  ASSERT_TRUE(Load());  // data read, but Start never ran
  s.Sites().Add(std::make_shared<CFeedSite>());
  s.Preferences().numThread = 9;
  s.Shutdown();
  EXPECT_EQ(test::ReadFileBytes(settings_.File(L"sites.xml")), sites);
  EXPECT_EQ(test::ReadFileBytes(settings_.File(L"preferences.xml")), preferences);
}

TEST_F(SystemTest, SitesFileWithAnotherRootFailsTheLoadWithItsMessage) {
  test::WriteUtf8(settings_.File(L"sites.xml"), "<Other/>");
  CSystem& s = CSystem::Instance();
  EXPECT_TRUE(s.LoadCustomSetting(program_.Path()));
  EXPECT_FALSE(s.LoadData(settings_.Path(), test::BuildPath(L"Tidewatch\\skin")));
  EXPECT_NE(messages_.find("の形式エラーです。"), std::string::npos) << messages_;
  EXPECT_EQ(test::ReadFileBytes(settings_.File(L"sites.xml")), "<Other/>");
}

}  // namespace
}  // namespace tw
