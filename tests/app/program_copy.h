#pragma once
// A private copy of tidewatch.exe for process tests: its own folder with a custom.xml that
// gives it its own mutex and registry key, and a settings folder remembered (or not) under it.
#include <windows.h>

#include <memory>
#include <string>

#include "common/test_support.h"

namespace tw::test {

class CProgramCopy {
 public:
  // mutex: the Mutex value of its custom.xml (empty: a unique one).
  explicit CProgramCopy(const std::wstring& mutex = L"");
  ~CProgramCopy();

  const std::wstring& Exe() const { return exe_; }
  const std::wstring& RegistryKey() const { return key_; }  // under HKCU
  std::wstring SettingsFolder() const { return settings_.Path(); }

  // Remembers folder as the settings folder (a REG_SZ value), or a value of another type.
  void RememberFolder(const std::wstring& folder);
  void RememberWrongType();
  // The remembered value and its type (REG_NONE when absent).
  DWORD RememberedType(std::wstring* value = nullptr) const;

  std::unique_ptr<CChildProcess> Start(const std::wstring& args = L"") const;

 private:
  CTempFolder folder_;
  CTempFolder settings_;
  std::wstring exe_;
  std::wstring key_;
};

// The hidden main window of a running copy (nullptr when it did not appear in time).
HWND WaitForMainFrame(DWORD pid, DWORD ms = 10000);
// A dialog or message box of the process (pid 0: of any process), with its caption (nullptr
// when none in time).
HWND WaitForDialog(DWORD pid, const std::wstring& caption, DWORD ms = 10000);
// The text of a dialog's control.
std::wstring DialogText(HWND dialog, int id);
// Asks a running copy to exit as its tray menu's "終了" does; returns its exit code (-1 if it
// did not end within ms).
int ExitProgram(CChildProcess& process, DWORD ms = 10000);

}  // namespace tw::test
