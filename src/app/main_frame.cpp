#include "app/main_frame.h"

namespace tw {

bool CMainFrame::Create() {
  RECT r{CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT};
  return CWindow::Create(0, WS_POPUP, std::wstring(), r);
}

bool CMainFrame::OnCommand(int id, int code, HWND) {
  if (onCommand_) onCommand_(id);
  return true;
}

void CMainFrame::OnDestroy() { PostQuitMessage(0); }

}  // namespace tw
