#include "common/test_support.h"

#include <shellapi.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace tw::test {
namespace {

std::wstring EnvPath(const wchar_t* name) {
  const wchar_t* v = _wgetenv(name);
  if (!v || !*v) throw std::runtime_error("environment variable missing");
  // The variables hold Unix paths; under Wine the Z: drive maps the root.
  std::wstring p = v;
  if (!p.empty() && p[0] == L'/') {
    for (auto& c : p)
      if (c == L'/') c = L'\\';
    p = L"Z:" + p;
  }
  return p;
}

void RemoveTree(const std::wstring& path) {
  std::wstring from = path + L'\0';
  SHFILEOPSTRUCTW op{};
  op.wFunc = FO_DELETE;
  op.pFrom = from.c_str();
  op.fFlags = FOF_NOCONFIRMATION | FOF_NOERRORUI | FOF_SILENT;
  SHFileOperationW(&op);
}

}  // namespace

CTempFolder::CTempFolder() {
  wchar_t temp[MAX_PATH];
  GetTempPathW(MAX_PATH, temp);
  static unsigned counter = 0;
  for (;;) {
    path_ = std::wstring(temp) + L"tw-test-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
            std::to_wstring(++counter);
    if (CreateDirectoryW(path_.c_str(), nullptr)) break;
  }
}

CTempFolder::~CTempFolder() { RemoveTree(path_); }

std::wstring Fixture(const std::wstring& name) {
  return EnvPath(L"TW_SOURCE_DIR") + L"\\tests\\fixtures\\" + name;
}

std::wstring BuildPath(const std::wstring& name) {
  return EnvPath(L"TW_BUILD_DIR") + L"\\" + name;
}

std::string ReadFileBytes(const std::wstring& path) {
  std::ifstream in(path.c_str(), std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

void WriteFileBytes(const std::wstring& path, const std::string& bytes) {
  std::ofstream out(path.c_str(), std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  if (!out) throw std::runtime_error("cannot write test file");
}

bool FileExists(const std::wstring& path) {
  return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

void CopyFileOrThrow(const std::wstring& from, const std::wstring& to) {
  if (!CopyFileW(from.c_str(), to.c_str(), FALSE)) throw std::runtime_error("copy failed");
}

void CopyFolderOrThrow(const std::wstring& from, const std::wstring& to) {
  if (!CreateDirectoryW(to.c_str(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS)
    throw std::runtime_error("cannot create folder");
  WIN32_FIND_DATAW found;
  HANDLE search = FindFirstFileW((from + L"\\*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return;
  do {
    std::wstring name = found.cFileName;
    if (name == L"." || name == L"..") continue;
    if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
      CopyFolderOrThrow(from + L"\\" + name, to + L"\\" + name);
    else
      CopyFileOrThrow(from + L"\\" + name, to + L"\\" + name);
  } while (FindNextFileW(search, &found));
  FindClose(search);
}

CChildProcess::CChildProcess(const std::wstring& exe, const std::wstring& args,
                             const std::wstring& workDir) {
  std::wstring line = L"\"" + exe + L"\" " + args;
  STARTUPINFOW si{};
  si.cb = sizeof si;
  if (!CreateProcessW(exe.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                      workDir.empty() ? nullptr : workDir.c_str(), &si, &info_)) {
    info_ = {};
  }
}

CChildProcess::~CChildProcess() {
  if (Running()) Kill();
  if (info_.hProcess) CloseHandle(info_.hProcess);
  if (info_.hThread) CloseHandle(info_.hThread);
}

int CChildProcess::Wait(DWORD ms) {
  if (!info_.hProcess) return -1;
  if (WaitForSingleObject(info_.hProcess, ms) != WAIT_OBJECT_0) return -1;
  DWORD code = 0;
  GetExitCodeProcess(info_.hProcess, &code);
  return static_cast<int>(code);
}

bool CChildProcess::Running() const {
  return info_.hProcess && WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT;
}

void CChildProcess::Kill() {
  if (info_.hProcess) {
    TerminateProcess(info_.hProcess, 99);
    WaitForSingleObject(info_.hProcess, 5000);
  }
}

CToolRun RunTool(const std::wstring& exe, const std::wstring& argument, DWORD ms) {
  CTempFolder dir;
  std::wstring outPath = dir.File(L"out.txt");
  SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
  HANDLE out = CreateFileW(outPath.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit, CREATE_ALWAYS,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
  CToolRun run;
  if (out == INVALID_HANDLE_VALUE) return run;
  std::wstring line = L"\"" + exe + L"\" \"" + argument + L"\"";
  STARTUPINFOW si{};
  si.cb = sizeof si;
  si.dwFlags = STARTF_USESTDHANDLES;
  si.hStdOutput = out;
  si.hStdError = GetStdHandle(STD_ERROR_HANDLE);
  PROCESS_INFORMATION pi{};
  if (CreateProcessW(exe.c_str(), line.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &si,
                     &pi)) {
    if (WaitForSingleObject(pi.hProcess, ms) == WAIT_OBJECT_0) {
      DWORD code = 0;
      GetExitCodeProcess(pi.hProcess, &code);
      run.exitCode = static_cast<int>(code);
    } else {
      TerminateProcess(pi.hProcess, 99);
    }
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
  }
  CloseHandle(out);
  std::istringstream text(ReadFileBytes(outPath));
  for (std::string l; std::getline(text, l);) run.lines.push_back(l);
  return run;
}

namespace {
struct FindData {
  DWORD pid;
  const std::wstring* cls;
  HWND found;
};
BOOL CALLBACK FindWindowOfProcess(HWND hwnd, LPARAM param) {
  auto* d = reinterpret_cast<FindData*>(param);
  DWORD pid = 0;
  GetWindowThreadProcessId(hwnd, &pid);
  if (pid != d->pid) return TRUE;
  if (!d->cls->empty()) {
    wchar_t name[256];
    GetClassNameW(hwnd, name, 256);
    if (*d->cls != name) return TRUE;
  }
  d->found = hwnd;
  return FALSE;
}
}  // namespace

HWND WaitForProcessWindow(DWORD pid, const std::wstring& className, DWORD ms) {
  DWORD start = GetTickCount();
  for (;;) {
    FindData d{pid, &className, nullptr};
    EnumWindows(FindWindowOfProcess, reinterpret_cast<LPARAM>(&d));
    if (d.found) return d.found;
    if (GetTickCount() - start > ms) return nullptr;
    Sleep(50);
  }
}

}  // namespace tw::test
