#include "app/tidewatch_app.h"

#include <windows.h>
#include <commctrl.h>
#include <ole2.h>

#include "framework/logger.h"
#include "app/system.h"
#include "framework/files.h"
#include "framework/message_box.h"
#include "framework/text.h"
#include "ranking/keyword_dialog.h"
#include "ranking/keyword_match.h"
#include "resources/resource.h"

namespace tw {

namespace {
constexpr DWORD kPredecessorWaitMs = 10000;
const char kInitFailed[] = "初期化に失敗しました。";
const char kInitFailedCaption[] = "初期化失敗";
}  // namespace

CTidewatchApp::CTidewatchApp() = default;

CTidewatchApp::~CTidewatchApp() = default;

int CTidewatchApp::Run() {
  int code = InitInstance();
  if (code == kExitOk) {
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
  }
  ExitInstance();
  return code;
}

int CTidewatchApp::InitInstance() {
  commandLine_ = ParseCommandLine(ProcessArguments());

  // A restarting predecessor must be gone before this instance takes the mutex and the files.
  if (commandLine_.waitProcessId != 0) {
    HANDLE predecessor = OpenProcess(SYNCHRONIZE, FALSE, commandLine_.waitProcessId);
    if (predecessor) {
      DWORD waited = WaitForSingleObject(predecessor, kPredecessorWaitMs);
      CloseHandle(predecessor);
      if (waited == WAIT_TIMEOUT) return kExitPredecessor;
    }
  }

  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&controls);
  if (FAILED(OleInitialize(nullptr))) {
    ShowMessage(nullptr, "OLE の初期化に失敗しました。OLE ライブラリのバージョンが正しいことを確認してください。",
                "エラー", MB_OK | MB_ICONERROR);
    return kExitFailed;
  }
  oleInitialised_ = true;

  CSystem& system = CSystem::Instance();
  if (!system.LoadCustomSetting()) {
    ShowInitFailure();
    return kExitFailed;
  }
  CCustomSetting& custom = system.Custom();

  instanceMutex_ = std::make_unique<CMutex>(custom.mutexName);
  if (!instanceMutex_->Valid() || !instanceMutex_->Lock(0)) return kExitOtherInstance;

  if (commandLine_.debug) EnableDebugLog();

  settingDirectory_ = std::make_unique<CSettingDirectory>(custom.name, custom.companyName,
                                                          custom.applicationName);
  if (!settingDirectory_->Prepare()) return kExitFailed;

  mainFrame_ = std::make_unique<CMainFrame>([this](int id) { OnCommand(id); });
  if (!mainFrame_->Create()) return kExitFailed;
  system.SetMainWindow(mainFrame_->Handle(), [this](int id) { return IsCommandAvailable(id); });

  if (!system.LoadData(settingDirectory_->Directory())) {
    ShowInitFailure();
    return kExitFailed;
  }
  if (!system.Start()) {
    ShowInitFailure();
    return kExitFailed;
  }
  // View windows are created here once they exist; then the first update of all sites.
  system.UpdateManager().StartUpdate();
  return kExitOk;
}

void CTidewatchApp::ShowInitFailure() {
  ShowMessage(mainFrame_ ? mainFrame_->Handle() : nullptr, kInitFailed, kInitFailedCaption,
              MB_OK | MB_ICONERROR);
}

void CTidewatchApp::ExitInstance() {
  CSystem::Instance().Shutdown();
  mainFrame_.reset();
  if (oleInitialised_) OleUninitialize();
  oleInitialised_ = false;
}

void CTidewatchApp::OnCommand(int id) {
  switch (id) {
    case ID_APP_EXIT:
      OnExit();
      break;
    case ID_CHANGE_SETTING_FOLDER:
      OnChangeSettingFolder();
      break;
    case ID_KEYWORD_SETTINGS:
      OnKeywordSettings();
      break;
    case ID_UPDATE_ALL:
      CSystem::Instance().UpdateManager().StartUpdate();
      break;
    default:
      break;
  }
}

bool CTidewatchApp::IsCommandAvailable(int id) {
  switch (id) {
    case ID_APP_EXIT:
    case ID_CHANGE_SETTING_FOLDER:
    case ID_UPDATE_ALL:
      return true;
    case ID_KEYWORD_SETTINGS: {
      // Disabled while another settings dialog holds the semaphore.
      if (!settingsSemaphore_.TryTake()) return false;
      settingsSemaphore_.Release();
      return true;
    }
    default:
      return false;  // commands whose dialogs are not part of the program yet
  }
}

void CTidewatchApp::OnKeywordSettings() {
  if (!settingsSemaphore_.TryTake()) return;
  CSystem& system = CSystem::Instance();
  CKeywordDialog dialog(system.Keywords().Keywords());
  if (dialog.DoModal(mainFrame_->Handle()) == IDOK) {
    CommitKeywords(system.Keywords(), dialog.Result(), system.Sites(),
                   JoinPath(system.SettingFolder(), L"keyword.xml"));
    // The views re-rank in full on their settings-changed notification once they exist.
  }
  settingsSemaphore_.Release();
}

void CTidewatchApp::OnExit() {
  if (mainFrame_ && mainFrame_->Handle()) mainFrame_->SendMessage(WM_CLOSE);
}

void CTidewatchApp::OnChangeSettingFolder() {
  if (!settingDirectory_) return;
  const std::string& name = CSystem::Instance().Custom().name;
  std::string question = "設定ファイル保存フォルダを変更するためには、一旦" + name +
                         "を再起動する必要があります。\r\n" + name + "を再起動しますか？";
  if (ShowMessage(mainFrame_->Handle(), question, "再起動の確認", MB_OKCANCEL | MB_ICONQUESTION) !=
      IDOK)
    return;
  settingDirectory_->Forget();

  std::wstring exe = ModulePath();
  std::wstring line = L"\"" + exe + L"\" /waitterminate " + std::to_wstring(GetCurrentProcessId());
  STARTUPINFOW si{};
  si.cb = sizeof si;
  si.dwFlags = STARTF_USESHOWWINDOW;
  si.wShowWindow = SW_SHOWNORMAL;
  PROCESS_INFORMATION pi{};
  if (CreateProcessW(exe.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si,
                     &pi)) {
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
  }
  mainFrame_->SendMessage(WM_COMMAND, ID_APP_EXIT);
}

}  // namespace tw
