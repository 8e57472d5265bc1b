// Start-up of the real program in processes of its own: single instance, predecessor wait,
// the settings folder in the registry, and the exit command.
#include <gtest/gtest.h>

#include "app/program_copy.h"
#include "app/tidewatch_app.h"
#include "framework/files.h"
#include "framework/text.h"
#include "resources/resource.h"

namespace tw {
namespace {

using test::CProgramCopy;

const std::wstring kFolderDialog = ToWide("設定ファイル保存フォルダの指定");
const std::wstring kConfirm = ToWide("確認");

TEST(Startup, RemembersFolderRunsAndExitsOnTheExitCommand) {
  CProgramCopy copy;
  std::wstring settings = copy.SettingsFolder() + L"\\nested\\deeper";
  copy.RememberFolder(settings);
  auto process = copy.Start();
  ASSERT_TRUE(test::WaitForMainFrame(process->Id()));
  EXPECT_TRUE(FolderExists(settings));  // created with its missing parents
  EXPECT_TRUE(test::WaitForProcessWindow(process->Id(), L"CTrayIcon", 5000)) << "no tray icon";
  EXPECT_EQ(test::ExitProgram(*process), CTidewatchApp::kExitOk);
}

TEST(Startup, SecondInstanceWithTheSameMutexEndsQuietlyAnotherMutexRuns) {
  const std::wstring shared = L"TidewatchTest-shared-" + std::to_wstring(GetCurrentProcessId());
  CProgramCopy first(shared), second(shared), other;
  for (auto* c : {&first, &second, &other}) c->RememberFolder(c->SettingsFolder());
  auto a = first.Start();
  ASSERT_TRUE(test::WaitForMainFrame(a->Id()));
  auto b = second.Start();
  EXPECT_EQ(b->Wait(10000), CTidewatchApp::kExitOtherInstance);
  auto c = other.Start();
  EXPECT_TRUE(test::WaitForMainFrame(c->Id()));
  EXPECT_TRUE(a->Running());
  EXPECT_EQ(test::ExitProgram(*a), CTidewatchApp::kExitOk);
  EXPECT_EQ(test::ExitProgram(*c), CTidewatchApp::kExitOk);
}

TEST(Startup, WaitsForItsPredecessorToEnd) {
  CProgramCopy predecessor, successor;
  predecessor.RememberFolder(predecessor.SettingsFolder());
  successor.RememberFolder(successor.SettingsFolder());
  auto old = predecessor.Start();
  ASSERT_TRUE(test::WaitForMainFrame(old->Id()));
  auto fresh = successor.Start(L"/waitterminate " + std::to_wstring(old->Id()));
  Sleep(1500);
  EXPECT_EQ(test::WaitForMainFrame(fresh->Id(), 0), nullptr) << "started before the other ended";
  EXPECT_EQ(test::ExitProgram(*old), CTidewatchApp::kExitOk);
  EXPECT_TRUE(test::WaitForMainFrame(fresh->Id()));
  EXPECT_EQ(test::ExitProgram(*fresh), CTidewatchApp::kExitOk);

  // A process id that no longer exists is skipped at once.
  auto again = successor.Start(L"-WAITTERMINATE " + std::to_wstring(old->Id()));
  EXPECT_TRUE(test::WaitForMainFrame(again->Id(), 5000));
  EXPECT_EQ(test::ExitProgram(*again), CTidewatchApp::kExitOk);
}

// Chooses folder in the folder dialog of the process and presses OK.
void ChooseFolder(HWND dialog, const std::wstring& folder) {
  SetDlgItemTextW(dialog, IDC_DIRECTORY_PATH, folder.c_str());
  PostMessageW(dialog, WM_COMMAND, IDOK, 0);
}


TEST(Startup, AsksForTheFolderWhenNoneOrAnotherTypeIsRemembered) {
  for (bool wrongType : {false, true}) {
    CProgramCopy copy;
    if (wrongType) copy.RememberWrongType();
    auto process = copy.Start();
    HWND dialog = test::WaitForDialog(process->Id(), kFolderDialog);
    ASSERT_TRUE(dialog) << "wrong type: " << wrongType;
    // Pre-filled with documents + company + application.
    std::wstring suggested = test::DialogText(dialog, IDC_DIRECTORY_PATH);
    EXPECT_NE(suggested.find(L"\\TidewatchTest\\Copy"), std::wstring::npos);
    std::wstring chosen = copy.SettingsFolder() + L"\\chosen";
    ChooseFolder(dialog, chosen);
    ASSERT_TRUE(test::WaitForMainFrame(process->Id()));
    std::wstring remembered;
    EXPECT_EQ(copy.RememberedType(&remembered), static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(remembered, chosen);
    EXPECT_TRUE(FolderExists(chosen));
    EXPECT_EQ(test::ExitProgram(*process), CTidewatchApp::kExitOk);
  }
}

TEST(Startup, CancellingAsksAgainAndNoEndsTheProgram) {
  CProgramCopy copy;
  auto process = copy.Start();
  HWND dialog = test::WaitForDialog(process->Id(), kFolderDialog);
  ASSERT_TRUE(dialog);
  PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
  HWND ask = test::WaitForDialog(process->Id(), kConfirm);
  ASSERT_TRUE(ask);
  PostMessageW(ask, WM_COMMAND, IDYES, 0);
  dialog = test::WaitForDialog(process->Id(), kFolderDialog);
  ASSERT_TRUE(dialog) << "Yes reopens the folder dialog";
  PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
  ask = test::WaitForDialog(process->Id(), kConfirm);
  ASSERT_TRUE(ask);
  PostMessageW(ask, WM_COMMAND, IDNO, 0);
  EXPECT_EQ(process->Wait(10000), CTidewatchApp::kExitFailed);
  EXPECT_EQ(copy.RememberedType(), static_cast<DWORD>(REG_NONE));
}

}  // namespace
}  // namespace tw

namespace tw {
namespace {

TEST(Startup, ChangingTheSettingsFolderForgetsItAndRestarts) {
  CProgramCopy copy;
  copy.RememberFolder(copy.SettingsFolder());
  auto process = copy.Start();
  HWND frame = test::WaitForMainFrame(process->Id());
  ASSERT_TRUE(frame);
  PostMessageW(frame, WM_COMMAND, ID_CHANGE_SETTING_FOLDER, 0);
  HWND ask = test::WaitForDialog(process->Id(), ToWide("再起動の確認"));
  ASSERT_TRUE(ask);
  PostMessageW(ask, WM_COMMAND, IDOK, 0);
  EXPECT_EQ(process->Wait(10000), CTidewatchApp::kExitOk);
  // The restarted program finds no remembered folder and asks for one.
  HWND dialog = test::WaitForDialog(0, kFolderDialog);
  ASSERT_TRUE(dialog);
  EXPECT_EQ(copy.RememberedType(), static_cast<DWORD>(REG_NONE));
  DWORD successor = 0;
  GetWindowThreadProcessId(dialog, &successor);
  std::wstring chosen = copy.SettingsFolder() + L"\\second";
  ChooseFolder(dialog, chosen);
  HWND newFrame = test::WaitForMainFrame(successor);
  ASSERT_TRUE(newFrame);
  std::wstring remembered;
  copy.RememberedType(&remembered);
  EXPECT_EQ(remembered, chosen);
  HANDLE handle = OpenProcess(SYNCHRONIZE, FALSE, successor);
  PostMessageW(newFrame, WM_COMMAND, ID_APP_EXIT, 0);
  EXPECT_EQ(WaitForSingleObject(handle, 10000), WAIT_OBJECT_0);
  CloseHandle(handle);
}

}  // namespace
}  // namespace tw

namespace tw {
namespace {

TEST(Startup, DebugSwitchWritesTheSkinLoaderLogInTheWorkingFolder) {
  CProgramCopy copy;
  copy.RememberFolder(copy.SettingsFolder());
  auto quiet = copy.Start();
  ASSERT_TRUE(test::WaitForMainFrame(quiet->Id()));
  EXPECT_EQ(test::ExitProgram(*quiet), CTidewatchApp::kExitOk);
  std::wstring log = test::ParentOf(copy.Exe()) + L"\\log.txt";
  EXPECT_FALSE(test::FileExists(log)) << "no log without the switch";

  auto debug = copy.Start(L"-DEBUG");
  ASSERT_TRUE(test::WaitForMainFrame(debug->Id()));
  EXPECT_EQ(test::ExitProgram(*debug), CTidewatchApp::kExitOk);
  std::string text = test::ReadFileBytes(log);
  EXPECT_NE(text.find("Find Skin File in "), std::string::npos) << text;
  EXPECT_NE(text.find("Add Skin ID="), std::string::npos) << text;
}

}  // namespace
}  // namespace tw

namespace tw {
namespace {

int CountDialogs(DWORD pid, const std::wstring& caption) {
  struct Search {
    DWORD pid;
    const std::wstring* caption;
    int count;
  } s{pid, &caption, 0};
  EnumWindows(
      [](HWND hwnd, LPARAM p) -> BOOL {
        auto* s = reinterpret_cast<Search*>(p);
        DWORD owner = 0;
        GetWindowThreadProcessId(hwnd, &owner);
        wchar_t text[256];
        GetWindowTextW(hwnd, text, 256);
        if (owner == s->pid && *s->caption == text && IsWindowVisible(hwnd)) ++s->count;
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&s));
  return s.count;
}

TEST(Startup, KeywordCommandOpensOneDialogAndSavesTheList) {
  CProgramCopy copy;
  copy.RememberFolder(copy.SettingsFolder());
  auto process = copy.Start();
  HWND frame = test::WaitForMainFrame(process->Id());
  ASSERT_TRUE(frame);
  const std::wstring caption = ToWide("キーワード設定");
  PostMessageW(frame, WM_COMMAND, ID_KEYWORD_SETTINGS, 0);
  HWND dialog = test::WaitForDialog(process->Id(), caption);
  ASSERT_TRUE(dialog);
  // A second request while the dialog is open does nothing.
  PostMessageW(frame, WM_COMMAND, ID_KEYWORD_SETTINGS, 0);
  Sleep(500);
  EXPECT_EQ(CountDialogs(process->Id(), caption), 1);
  SetDlgItemTextW(dialog, IDC_KEYWORD_EDIT, ToWide("東京,,大阪").c_str());
  PostMessageW(dialog, WM_COMMAND, IDOK, 0);
  Sleep(500);
  std::string saved = test::ReadFileBytes(copy.SettingsFolder() + L"\\keyword.xml");
  EXPECT_NE(saved.find(Cp932ToUtf8("東京")), std::string::npos) << saved;
  EXPECT_NE(saved.find(Cp932ToUtf8("大阪")), std::string::npos) << saved;
  // Closed: the command opens the dialog again.
  PostMessageW(frame, WM_COMMAND, ID_KEYWORD_SETTINGS, 0);
  dialog = test::WaitForDialog(process->Id(), caption);
  ASSERT_TRUE(dialog);
  EXPECT_EQ(test::DialogText(dialog, IDC_KEYWORD_EDIT), ToWide("東京,大阪"));
  PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
  EXPECT_EQ(test::ExitProgram(*process), CTidewatchApp::kExitOk);
}

}  // namespace
}  // namespace tw
