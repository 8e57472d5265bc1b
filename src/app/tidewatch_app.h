#pragma once
// The application object: start-up order, the single running instance, the settings folder,
// the message loop and the orderly shutdown.
#include <memory>
#include <string>

#include "app/command_line.h"
#include "app/main_frame.h"
#include "app/setting_directory.h"
#include "framework/sync.h"

namespace tw {

class CTidewatchApp {
 public:
  // Process exit codes, so that a caller (or a test) can tell the quiet endings apart.
  enum ExitCode {
    kExitOk = 0,
    kExitFailed = 1,          // start-up failed (a message was shown, or the user gave up)
    kExitOtherInstance = 2,   // another instance holds the mutex
    kExitPredecessor = 3,     // the process to wait for did not end in time
  };

  CTidewatchApp();
  ~CTidewatchApp();

  // Start-up, message loop and shutdown; returns the process exit code.
  int Run();

  void OnCommand(int id);
  bool IsCommandAvailable(int id);
  void OnExit();
  void OnChangeSettingFolder();
  void OnKeywordSettings();

 private:
  int InitInstance();  // kExitOk when the program runs
  void ExitInstance();
  void ShowInitFailure();

  CCommandLine commandLine_;
  std::unique_ptr<CSettingDirectory> settingDirectory_;
  std::unique_ptr<CMutex> instanceMutex_;
  std::unique_ptr<CMainFrame> mainFrame_;
  // Taken (without waiting) by every command that opens a settings dialog, so that only one
  // such dialog is open at a time.
  CSemaphore settingsSemaphore_{1, 1};
  bool oleInitialised_ = false;
};

}  // namespace tw
