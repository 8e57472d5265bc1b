#include "app/setting_directory.h"

#include <gtest/gtest.h>

#include "common/test_support.h"
#include "framework/files.h"
#include "framework/registry.h"

namespace tw {
namespace {

// A settings directory whose dialogs are scripted: each SelectDirectory call takes the next
// answer (empty = cancel), each AskRetry the next yes/no.
class CScriptedDirectory : public CSettingDirectory {
 public:
  using CSettingDirectory::CSettingDirectory;
  std::vector<std::wstring> selections;
  std::vector<bool> retries;
  mutable size_t selected = 0, asked = 0;
  mutable std::wstring firstSuggestion;

  bool SelectDirectory(std::wstring& path) const override {
    if (selected == 0) firstSuggestion = path;
    std::wstring answer = selected < selections.size() ? selections[selected] : L"";
    ++selected;
    if (answer.empty()) return false;
    path = answer;
    return true;
  }
  bool AskRetry() const override { return asked < retries.size() && retries[asked++]; }
};

class SettingDirectoryTest : public testing::Test {
 protected:
  void TearDown() override { CRegistryKey::DeleteTree(HKEY_CURRENT_USER, L"Software\\TidewatchUnit"); }
  test::CTempFolder dir_;
};

TEST_F(SettingDirectoryTest, AsksRemembersAndForgets) {
  CScriptedDirectory d("Tidewatch", "TidewatchUnit", "Reader");
  std::wstring chosen = dir_.File(L"a\\b");
  d.selections = {L"", chosen};  // cancel, then choose
  d.retries = {true};
  ASSERT_TRUE(d.Prepare());
  EXPECT_EQ(d.Directory(), chosen);
  EXPECT_TRUE(FolderExists(chosen));
  EXPECT_EQ(d.selected, 2u);
  EXPECT_NE(d.firstSuggestion.find(L"\\TidewatchUnit\\Reader"), std::wstring::npos);

  CScriptedDirectory again("Tidewatch", "TidewatchUnit", "Reader");
  ASSERT_TRUE(again.Prepare());  // remembered: no question
  EXPECT_EQ(again.Directory(), chosen);
  EXPECT_EQ(again.selected, 0u);

  EXPECT_TRUE(again.Forget());
  EXPECT_FALSE(again.Forget());  // nothing left to delete
  CScriptedDirectory refuses("Tidewatch", "TidewatchUnit", "Reader");
  refuses.retries = {false};
  EXPECT_FALSE(refuses.Prepare());
  EXPECT_EQ(refuses.selected, 1u);
}

}  // namespace
}  // namespace tw
