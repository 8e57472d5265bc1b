#include "servers/feed_server_process.h"

#include <windows.h>
#include <wininet.h>

#include <cstdlib>
#include <string>

#include "framework/internet.h"
#include "framework/text.h"

namespace tw::test {
namespace {

constexpr DWORD kStartWaitMs = 15000;

std::string Env(const char* name, const char* fallback = "") {
  const char* v = std::getenv(name);
  return v && *v ? v : fallback;
}

// A Unix path as Wine's Z: drive shows it.
std::wstring WinePath(const std::string& unixPath) {
  std::wstring p = L"Z:" + FromUtf8(unixPath);
  for (wchar_t& c : p)
    if (c == L'/') c = L'\\';
  return p;
}

bool UnderWine() {
  return GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr;
}

}  // namespace

CFeedServer::CFeedServer() {
  // TW_SOURCE_DIR and TW_BUILD_DIR hold Unix paths (CTest sets them).
  std::string script = Env("TW_SOURCE_DIR") + "/tests/servers/feed_server.py";
  std::string portFile =
      Env("TW_BUILD_DIR") + "/tests/feed-server-" + std::to_string(GetCurrentProcessId()) + ".port";
  std::wstring portPath = WinePath(portFile);
  DeleteFileW(portPath.c_str());

  std::wstring python = FromUtf8(Env("TW_PYTHON", "/usr/bin/python3"));
  std::wstring line =
      python + L" \"" + FromUtf8(script) + L"\" --port-file \"" + FromUtf8(portFile) + L"\"";
  std::wstring exe = UnderWine() ? WinePath(Env("TW_PYTHON", "/usr/bin/python3")) : L"";
  STARTUPINFOW si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  if (!CreateProcessW(exe.empty() ? nullptr : exe.c_str(), line.data(), nullptr, nullptr, FALSE, 0,
                      nullptr, nullptr, &si, &pi)) {
    return;
  }
  if (pi.hThread) CloseHandle(pi.hThread);
  if (pi.hProcess) CloseHandle(pi.hProcess);

  for (DWORD waited = 0; waited < kStartWaitMs; waited += 50) {
    HANDLE file = CreateFileW(portPath.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_DELETE,
                              nullptr, OPEN_EXISTING, 0, nullptr);
    if (file != INVALID_HANDLE_VALUE) {
      char text[16] = {};
      DWORD read = 0;
      ReadFile(file, text, sizeof text - 1, &read, nullptr);
      CloseHandle(file);
      DeleteFileW(portPath.c_str());
      port_ = std::atoi(text);
      return;
    }
    Sleep(50);
  }
}

CFeedServer::~CFeedServer() {
  if (port_) Get("/quit");
}

std::string CFeedServer::Url(const std::string& path) const {
  return "http://127.0.0.1:" + std::to_string(port_) + path;
}

std::string CFeedServer::Get(const std::string& path) const {
  CInternetHandle internet(
      InternetOpenW(L"TidewatchTest", INTERNET_OPEN_TYPE_DIRECT, nullptr, nullptr, 0));
  if (!internet) return {};
  CInternetHandle request(InternetOpenUrlW(
      internet.Get(), ToWide(Url(path)).c_str(), nullptr, 0,
      INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE | INTERNET_FLAG_NO_AUTO_REDIRECT, 0));
  if (!request) return {};
  std::string body;
  char buffer[4096];
  DWORD read = 0;
  while (InternetReadFile(request.Get(), buffer, sizeof buffer, &read) && read > 0) {
    body.append(buffer, read);
  }
  return body;
}

int CFeedServer::Hits(const std::string& path) const {
  return std::atoi(Get("/hits?path=" + path).c_str());
}

}  // namespace tw::test
