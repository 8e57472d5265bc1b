#pragma once
// The program's own notification icon: a left click brings the views forward, a right click
// opens the command menu (menu 130), whose commands go to the hidden main window.
#include <functional>
#include <string>

#include "app/tray_icon.h"

namespace tw {

class CProgramIcon : public CTrayIconOwner {
 public:
  // isAvailable tells which menu commands can run now (the others are shown disabled).
  CProgramIcon(CTrayIcon& tray, HWND mainWindow, std::function<bool(int)> isAvailable);
  ~CProgramIcon() override;

  bool Add(const std::string& tooltip);
  void SetTooltip(const std::string& tooltip);

  void OnTrayMouse(UINT mouseMessage) override;
  std::function<void()> onLeftClick;   // bring the views to the front
  std::function<void()> onMenuClosed;  // e.g. move on to the next tip

 private:
  void ShowMenu();

  CTrayIcon& tray_;
  HWND mainWindow_;
  std::function<bool(int)> isAvailable_;
  UINT id_ = 0;
};

}  // namespace tw
