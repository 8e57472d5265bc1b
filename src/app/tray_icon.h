#pragma once
// Icons in the notification area. One hidden window of class "CTrayIcon" receives the icons'
// callback messages and the taskbar-restart broadcast (after Explorer restarted, every icon is
// added again).
#include <windows.h>
#include <shellapi.h>

#include <map>
#include <memory>
#include <string>

#include "framework/window.h"

namespace tw {

// Receives the mouse messages of its icon.
class CTrayIconOwner {
 public:
  virtual ~CTrayIconOwner() = default;
  virtual void OnTrayMouse(UINT mouseMessage) = 0;
};

// The tooltip cut to what the shell holds (127 bytes from shell version 5 on, 63 before),
// never in the middle of a double-byte character.
std::string CutTooltip(const std::string& textCp932, int shellVersion);

class CTrayIcon : private CWindow {
 public:
  CTrayIcon();
  ~CTrayIcon() override;

  // Adds an icon; retries counts the attempts while the shell times out (0: until it works).
  // Returns the icon id, or 0 on failure.
  UINT AddIcon(CTrayIconOwner* owner, HICON icon, const std::string& tooltip, int retries);
  // Changes what is given (nullptr / no tooltip: keep).
  bool ModifyIcon(UINT id, HICON icon, const std::string* tooltip);
  bool RemoveIcon(UINT id);

  int ShellVersion() const { return shellVersion_; }
  HWND Handle() const { return CWindow::Handle(); }

  static constexpr const wchar_t* kClassName = L"CTrayIcon";

 private:
  struct Icon {
    NOTIFYICONDATAW data;
    CTrayIconOwner* owner;
  };

  const wchar_t* ClassName() const override { return kClassName; }
  LRESULT OnMessage(UINT message, WPARAM wp, LPARAM lp) override;
  bool EnsureWindow();
  bool Add(NOTIFYICONDATAW& data, int retries);
  void FillTooltip(NOTIFYICONDATAW& data, const std::string& tooltip) const;

  UINT callbackMessage_;
  UINT taskbarCreated_;
  int shellVersion_;
  UINT nextId_ = 1;
  std::map<UINT, Icon> icons_;
};

}  // namespace tw
