#include "app/tray_icon.h"

#include <shlwapi.h>

#include "framework/text.h"

namespace tw {
namespace {

// The major version of Shell32.dll, 0 when DllGetVersion is missing or fails.
int ReadShellVersion() {
  HMODULE shell = GetModuleHandleW(L"shell32.dll");
  if (!shell) return 0;
  auto getVersion =
      reinterpret_cast<DLLGETVERSIONPROC>(reinterpret_cast<void*>(GetProcAddress(shell, "DllGetVersion")));
  if (!getVersion) return 0;
  DLLVERSIONINFO info{};
  info.cbSize = sizeof info;
  return SUCCEEDED(getVersion(&info)) ? static_cast<int>(info.dwMajorVersion) : 0;
}

constexpr DWORD kRetryWaitMs = 500;

}  // namespace

std::string CutTooltip(const std::string& text, int shellVersion) {
  size_t limit = shellVersion >= 5 ? 127 : 63;
  if (text.size() <= limit) return text;
  size_t end = 0;
  while (end < text.size()) {
    size_t next = end + (IsLeadByte932(static_cast<unsigned char>(text[end])) ? 2 : 1);
    if (next > limit) break;
    end = next;
  }
  return text.substr(0, end);
}

CTrayIcon::CTrayIcon()
    : callbackMessage_(RegisterWindowMessageW(L"CTrayIcon")),
      taskbarCreated_(RegisterWindowMessageW(L"TaskbarCreated")),
      shellVersion_(ReadShellVersion()) {}

CTrayIcon::~CTrayIcon() {
  while (!icons_.empty()) RemoveIcon(icons_.begin()->first);
}

bool CTrayIcon::EnsureWindow() {
  if (CWindow::Handle()) return true;
  RECT r{0, 0, 0, 0};
  return Create(0, WS_POPUP, std::wstring(), r);
}

void CTrayIcon::FillTooltip(NOTIFYICONDATAW& data, const std::string& tooltip) const {
  // The cut is made in code page 932 bytes, which is what the shell's limit counts.
  std::wstring wide = ToWide(CutTooltip(tooltip, shellVersion_));
  size_t room = sizeof data.szTip / sizeof data.szTip[0] - 1;
  wcsncpy(data.szTip, wide.c_str(), room);
  data.szTip[room] = L'\0';
}

bool CTrayIcon::Add(NOTIFYICONDATAW& data, int retries) {
  for (int attempt = 0; retries <= 0 || attempt < retries; ++attempt) {
    if (Shell_NotifyIconW(NIM_ADD, &data)) return true;
    if (GetLastError() != ERROR_TIMEOUT) return false;
    // The shell was busy: the icon may still have arrived, which a modify tells.
    Sleep(kRetryWaitMs);
    if (Shell_NotifyIconW(NIM_MODIFY, &data)) return true;
  }
  return false;
}

UINT CTrayIcon::AddIcon(CTrayIconOwner* owner, HICON icon, const std::string& tooltip,
                        int retries) {
  if (!EnsureWindow()) return 0;
  Icon entry{};
  entry.owner = owner;
  NOTIFYICONDATAW& d = entry.data;
  d.cbSize = sizeof d;
  d.hWnd = CWindow::Handle();
  d.uID = nextId_++;
  d.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
  d.uCallbackMessage = callbackMessage_;
  d.hIcon = icon;
  FillTooltip(d, tooltip);
  if (!Add(d, retries)) {
    if (icons_.empty()) Destroy();
    return 0;
  }
  icons_[d.uID] = entry;
  return d.uID;
}

bool CTrayIcon::ModifyIcon(UINT id, HICON icon, const std::string* tooltip) {
  auto it = icons_.find(id);
  if (it == icons_.end()) return false;
  NOTIFYICONDATAW& d = it->second.data;
  d.uFlags = 0;
  if (icon) {
    d.hIcon = icon;
    d.uFlags |= NIF_ICON;
  }
  if (tooltip) {
    FillTooltip(d, *tooltip);
    d.uFlags |= NIF_TIP;
  }
  if (d.uFlags == 0) return true;
  bool ok = Shell_NotifyIconW(NIM_MODIFY, &d) != FALSE;
  d.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
  return ok;
}

bool CTrayIcon::RemoveIcon(UINT id) {
  auto it = icons_.find(id);
  if (it == icons_.end()) return false;
  Shell_NotifyIconW(NIM_DELETE, &it->second.data);
  icons_.erase(it);
  if (icons_.empty()) Destroy();
  return true;
}

LRESULT CTrayIcon::OnMessage(UINT message, WPARAM wp, LPARAM lp) {
  if (message == callbackMessage_) {
    auto it = icons_.find(static_cast<UINT>(wp));
    if (it != icons_.end() && it->second.owner) it->second.owner->OnTrayMouse(static_cast<UINT>(lp));
    return 0;
  }
  if (message == taskbarCreated_) {
    for (auto& [id, icon] : icons_) Add(icon.data, 1);
    return 0;
  }
  return CWindow::OnMessage(message, wp, lp);
}

}  // namespace tw
