#include "framework/window.h"

#include <windowsx.h>

#include <utility>

#include "framework/text.h"

extern "C" IMAGE_DOS_HEADER __ImageBase;

namespace tw {
namespace {

// Ends a paint even when the handler throws.
class CPaint {
 public:
  explicit CPaint(HWND hwnd) : hwnd_(hwnd), dc_(BeginPaint(hwnd, &ps_)) {}
  CPaint(const CPaint&) = delete;
  CPaint& operator=(const CPaint&) = delete;
  ~CPaint() { EndPaint(hwnd_, &ps_); }
  HDC Dc() const { return dc_; }
  const PAINTSTRUCT& Info() const { return ps_; }

 private:
  HWND hwnd_;
  PAINTSTRUCT ps_{};
  HDC dc_;
};

}  // namespace

HINSTANCE ModuleInstance() { return reinterpret_cast<HINSTANCE>(&__ImageBase); }

CWindow::~CWindow() {
  if (hwnd_) {
    // Detach first: the subclass part of this object no longer exists.
    SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
    DestroyWindow(hwnd_);
    hwnd_ = nullptr;
  }
}

void CWindow::PrepareClass(WNDCLASSEXW& wc) const {
  wc.style = CS_DBLCLKS;
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
}

bool CWindow::EnsureClass() const {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof(wc);
  if (GetClassInfoExW(ModuleInstance(), ClassName(), &wc)) {
    return wc.lpfnWndProc == &Procedure;  // a foreign class of the same name is no use
  }
  wc = WNDCLASSEXW{};
  wc.cbSize = sizeof(wc);
  PrepareClass(wc);
  wc.lpfnWndProc = &Procedure;
  wc.hInstance = ModuleInstance();
  wc.lpszClassName = ClassName();
  // Another thread may have registered it in between.
  return RegisterClassExW(&wc) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

bool CWindow::Create(DWORD exStyle, DWORD style, const std::string& titleCp932, const RECT& rect,
                     HWND parent, HMENU menuOrId) {
  return Create(exStyle, style, ToWide(titleCp932), rect, parent, menuOrId);
}

bool CWindow::Create(DWORD exStyle, DWORD style, const std::wstring& title, const RECT& rect,
                     HWND parent, HMENU menuOrId) {
  if (hwnd_ || !EnsureClass()) return false;
  HWND hwnd = CreateWindowExW(exStyle, ClassName(), title.c_str(), style, rect.left, rect.top,
                              rect.right - rect.left, rect.bottom - rect.top, parent, menuOrId,
                              ModuleInstance(), this);
  if (!hwnd) return false;
  created_ = true;
  return true;
}

void CWindow::Destroy() {
  if (hwnd_) DestroyWindow(hwnd_);
}

LRESULT CWindow::SendMessage(UINT message, WPARAM wp, LPARAM lp) const {
  return hwnd_ ? ::SendMessageW(hwnd_, message, wp, lp) : 0;
}

bool CWindow::PostMessage(UINT message, WPARAM wp, LPARAM lp) const {
  return hwnd_ && ::PostMessageW(hwnd_, message, wp, lp);
}

bool CWindow::SetTimer(UINT_PTR id, UINT ms) {
  return hwnd_ && ::SetTimer(hwnd_, id, ms, nullptr) != 0;
}

void CWindow::KillTimer(UINT_PTR id) {
  if (hwnd_) ::KillTimer(hwnd_, id);
}

CWindow* CWindow::FromHandle(HWND hwnd) {
  // GWLP_USERDATA means something else in other windows: trust it only in our own classes.
  if (!hwnd || GetClassLongPtrW(hwnd, GCLP_WNDPROC) != reinterpret_cast<ULONG_PTR>(&Procedure)) {
    return nullptr;
  }
  return reinterpret_cast<CWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
}

LRESULT CWindow::OnAppMessage(UINT n, WPARAM wp, LPARAM lp) {
  return OnMessage(WM_APP + n, wp, lp);
}

LRESULT CWindow::OnMessage(UINT message, WPARAM wp, LPARAM lp) {
  return DefWindowProcW(hwnd_, message, wp, lp);
}

LRESULT CALLBACK CWindow::Procedure(HWND hwnd, UINT message, WPARAM wp, LPARAM lp) {
  if (message == WM_NCCREATE) {
    // Made by Create (a window of our class made elsewhere has no object and gets defaults).
    auto* self = static_cast<CWindow*>(reinterpret_cast<CREATESTRUCTW*>(lp)->lpCreateParams);
    if (self) {
      self->hwnd_ = hwnd;
      SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
  }
  // Messages before WM_NCCREATE (WM_GETMINMAXINFO) and after detaching have no object.
  auto* self = reinterpret_cast<CWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (!self) return DefWindowProcW(hwnd, message, wp, lp);
  if (message == WM_NCDESTROY) return self->NcDestroy(wp, lp);
  try {
    return self->Dispatch(message, wp, lp);
  } catch (...) {
    // A window whose OnCreate failed half-way is not made; anything else gets the default.
    if (message == WM_CREATE) return -1;
    return DefWindowProcW(hwnd, message, wp, lp);
  }
}

LRESULT CWindow::Dispatch(UINT message, WPARAM wp, LPARAM lp) {
  switch (message) {
    case WM_CREATE:
      return OnCreate(*reinterpret_cast<const CREATESTRUCTW*>(lp)) ? 0 : -1;
    case WM_DESTROY:
      OnDestroy();
      return 0;
    case WM_CLOSE:
      OnClose();
      return 0;
    case WM_COMMAND:
      if (OnCommand(LOWORD(wp), HIWORD(wp), reinterpret_cast<HWND>(lp))) return 0;
      break;
    case WM_TIMER:
      if (lp == 0) {  // timers with their own procedure go to DefWindowProc, which calls it
        OnTimer(wp);
        return 0;
      }
      break;
    case WM_PAINT: {
      CPaint paint(hwnd_);
      OnPaint(paint.Dc(), paint.Info());
      return 0;
    }
    case WM_MOUSEMOVE:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
    case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDOWN:
    case WM_MBUTTONUP:
    case WM_MBUTTONDBLCLK:
      if (OnMouse(message, GET_X_LPARAM(lp), GET_Y_LPARAM(lp), GET_KEYSTATE_WPARAM(wp))) return 0;
      break;
    case WM_MOUSEWHEEL:
      if (OnMouseWheel(GET_WHEEL_DELTA_WPARAM(wp), GET_X_LPARAM(lp), GET_Y_LPARAM(lp),
                       GET_KEYSTATE_WPARAM(wp))) {
        return 0;
      }
      break;
    case WM_SIZE:
      OnSize(static_cast<UINT>(wp), LOWORD(lp), HIWORD(lp));
      return 0;
    default:
      if (message >= WM_APP && message <= 0xBFFF) return OnAppMessage(message - WM_APP, wp, lp);
      break;
  }
  return OnMessage(message, wp, lp);
}

LRESULT CWindow::NcDestroy(WPARAM wp, LPARAM lp) {
  HWND hwnd = hwnd_;
  try {
    OnNcDestroy();
  } catch (...) {
  }
  SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
  hwnd_ = nullptr;
  LRESULT result = DefWindowProcW(hwnd, WM_NCDESTROY, wp, lp);
  // Only a window that was fully made: after a failed Create the caller still owns the object.
  if (std::exchange(created_, false) && deleteOnDestroy_) delete this;
  return result;
}

}  // namespace tw
