#include "app/program_copy.h"

#include "framework/registry.h"
#include "framework/text.h"
#include "model/data_namespaces.h"
#include "resources/resource.h"

namespace tw::test {

CProgramCopy::CProgramCopy(const std::wstring& mutex) {
  exe_ = folder_.File(L"tidewatch.exe");
  CopyFileOrThrow(BuildPath(L"Tidewatch\\tidewatch.exe"), exe_);
  CopyFolderOrThrow(BuildPath(L"Tidewatch\\skin"), folder_.File(L"skin"));
  std::wstring unique = L"Copy" + std::to_wstring(GetCurrentProcessId()) + L"x" +
                        std::to_wstring(GetTickCount64() % 100000000);
  std::wstring mutexName = mutex.empty() ? L"TidewatchTest-" + unique : mutex;
  key_ = L"Software\\TidewatchTest\\" + unique + L"\\Directory";
  std::string xml = "<?xml version='1.0' encoding='UTF-8'?><Custom xmlns='" + ToUtf8(kNsData1New) +
                    "'><Name>Tidewatch</Name><Mutex>" + ToUtf8(mutexName) +
                    "</Mutex><Registry><CompanyName>TidewatchTest</CompanyName><ApplicationName>" +
                    ToUtf8(unique) + "</ApplicationName></Registry></Custom>";
  WriteUtf8(folder_.File(L"custom.xml"), xml);
}

CProgramCopy::~CProgramCopy() {
  CRegistryKey::DeleteTree(HKEY_CURRENT_USER, key_.substr(0, key_.rfind(L'\\')));
}

void CProgramCopy::RememberFolder(const std::wstring& folder) {
  CRegistryKey key;
  key.Create(HKEY_CURRENT_USER, key_);
  key.SetString(L"Preference", folder);
}

void CProgramCopy::RememberWrongType() {
  CRegistryKey key;
  key.Create(HKEY_CURRENT_USER, key_);
  DWORD number = 42;
  RegSetValueExW(key.Get(), L"Preference", 0, REG_DWORD, reinterpret_cast<BYTE*>(&number),
                 sizeof number);
}

DWORD CProgramCopy::RememberedType(std::wstring* value) const {
  CRegistryKey key;
  if (!key.Open(HKEY_CURRENT_USER, key_)) return REG_NONE;
  DWORD type = REG_NONE;
  if (RegQueryValueExW(key.Get(), L"Preference", nullptr, &type, nullptr, nullptr) != ERROR_SUCCESS)
    return REG_NONE;
  if (value) *value = key.QueryString(L"Preference").value_or(L"");
  return type;
}

std::unique_ptr<CChildProcess> CProgramCopy::Start(const std::wstring& args) const {
  return std::make_unique<CChildProcess>(exe_, args, folder_.Path());
}

HWND WaitForMainFrame(DWORD pid, DWORD ms) {
  return WaitForProcessWindow(pid, L"TidewatchMainFrame", ms);
}

namespace {
struct DialogSearch {
  DWORD pid;
  const std::wstring* caption;
  HWND found;
};
BOOL CALLBACK FindDialog(HWND hwnd, LPARAM param) {
  auto* s = reinterpret_cast<DialogSearch*>(param);
  DWORD pid = 0;
  GetWindowThreadProcessId(hwnd, &pid);
  wchar_t cls[64], text[256];
  GetClassNameW(hwnd, cls, 64);
  GetWindowTextW(hwnd, text, 256);
  if ((s->pid == 0 || pid == s->pid) && std::wstring(cls) == L"#32770" && *s->caption == text &&
      IsWindowVisible(hwnd)) {
    s->found = hwnd;
    return FALSE;
  }
  return TRUE;
}
}  // namespace

HWND WaitForDialog(DWORD pid, const std::wstring& caption, DWORD ms) {
  DWORD start = GetTickCount();
  for (;;) {
    DialogSearch s{pid, &caption, nullptr};
    EnumWindows(FindDialog, reinterpret_cast<LPARAM>(&s));
    if (s.found) return s.found;
    if (GetTickCount() - start > ms) return nullptr;
    Sleep(50);
  }
}

std::wstring DialogText(HWND dialog, int id) {
  wchar_t text[1024] = L"";
  GetDlgItemTextW(dialog, id, text, 1024);
  return text;
}

int ExitProgram(CChildProcess& process, DWORD ms) {
  HWND frame = WaitForMainFrame(process.Id(), 2000);
  if (frame) PostMessageW(frame, WM_COMMAND, ID_APP_EXIT, 0);
  return process.Wait(ms);
}

}  // namespace tw::test
