#include "app/program_icon.h"

#include "framework/window.h"
#include "resources/resource.h"

namespace tw {

namespace {
constexpr int kAddRetries = 10;  // 5 s of a busy shell at start-up
}

CProgramIcon::CProgramIcon(CTrayIcon& tray, HWND mainWindow, std::function<bool(int)> isAvailable)
    : tray_(tray), mainWindow_(mainWindow), isAvailable_(std::move(isAvailable)) {}

CProgramIcon::~CProgramIcon() {
  if (id_) tray_.RemoveIcon(id_);
}

bool CProgramIcon::Add(const std::string& tooltip) {
  HICON icon = static_cast<HICON>(LoadImageW(ModuleInstance(), MAKEINTRESOURCEW(IDI_TIDEWATCH),
                                             IMAGE_ICON, GetSystemMetrics(SM_CXSMICON),
                                             GetSystemMetrics(SM_CYSMICON), LR_SHARED));
  id_ = tray_.AddIcon(this, icon, tooltip, kAddRetries);
  return id_ != 0;
}

void CProgramIcon::SetTooltip(const std::string& tooltip) {
  if (id_) tray_.ModifyIcon(id_, nullptr, &tooltip);
}

void CProgramIcon::OnTrayMouse(UINT mouseMessage) {
  if (mouseMessage == WM_LBUTTONDOWN) {
    if (onLeftClick) onLeftClick();
  } else if (mouseMessage == WM_RBUTTONUP) {
    ShowMenu();
    if (onMenuClosed) onMenuClosed();
  }
}

void CProgramIcon::ShowMenu() {
  HMENU menu = LoadMenuW(ModuleInstance(), MAKEINTRESOURCEW(IDR_TRAY_MENU));
  if (!menu) return;
  HMENU popup = GetSubMenu(menu, 0);
  for (int i = 0, n = GetMenuItemCount(popup); i < n; ++i) {
    UINT id = GetMenuItemID(popup, i);
    if (id != 0 && id != static_cast<UINT>(-1) && isAvailable_ && !isAvailable_(static_cast<int>(id)))
      EnableMenuItem(popup, i, MF_BYPOSITION | MF_GRAYED);
  }
  POINT at;
  GetCursorPos(&at);
  // The owner must be the foreground window, and must get a message after the menu, or the
  // menu does not close when the user clicks elsewhere.
  SetForegroundWindow(mainWindow_);
  TrackPopupMenu(popup, TPM_LEFTBUTTON, at.x, at.y, 0, mainWindow_, nullptr);
  PostMessageW(mainWindow_, WM_NULL, 0, 0);
  DestroyMenu(menu);
}

}  // namespace tw
