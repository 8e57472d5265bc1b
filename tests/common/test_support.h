#pragma once
// Helpers shared by the test programs: temporary folders, fixtures, files, child processes.
#include <windows.h>

#include <string>
#include <vector>

namespace tw::test {

// A fresh folder under %TEMP%, removed with everything in it when the object goes.
class CTempFolder {
 public:
  CTempFolder();
  ~CTempFolder();
  CTempFolder(const CTempFolder&) = delete;
  CTempFolder& operator=(const CTempFolder&) = delete;
  const std::wstring& Path() const { return path_; }
  std::wstring File(const std::wstring& name) const { return path_ + L"\\" + name; }

 private:
  std::wstring path_;
};

// The repository's tests\fixtures folder (from TW_SOURCE_DIR), with a trailing name.
std::wstring Fixture(const std::wstring& name);
// The build folder (from TW_BUILD_DIR), with a trailing name.
std::wstring BuildPath(const std::wstring& name);

std::string ReadFileBytes(const std::wstring& path);
void WriteFileBytes(const std::wstring& path, const std::string& bytes);
// UTF-8 source text → file bytes (for writing XML fixtures inline).
inline void WriteUtf8(const std::wstring& path, const std::string& utf8) {
  WriteFileBytes(path, utf8);
}
bool FileExists(const std::wstring& path);
// The folder part of a path.
inline std::wstring ParentOf(const std::wstring& path) { return path.substr(0, path.find_last_of(L"\\/")); }
void CopyFileOrThrow(const std::wstring& from, const std::wstring& to);
// Copies a folder with everything in it (to is created).
void CopyFolderOrThrow(const std::wstring& from, const std::wstring& to);

// A started child process; Wait returns its exit code or -1 on time-out.
class CChildProcess {
 public:
  CChildProcess(const std::wstring& exe, const std::wstring& args,
                const std::wstring& workDir = L"");
  ~CChildProcess();
  CChildProcess(const CChildProcess&) = delete;
  CChildProcess& operator=(const CChildProcess&) = delete;
  bool Started() const { return info_.hProcess != nullptr; }
  DWORD Id() const { return info_.dwProcessId; }
  HANDLE Handle() const { return info_.hProcess; }
  int Wait(DWORD ms);
  bool Running() const;
  void Kill();

 private:
  PROCESS_INFORMATION info_{};
};

// What a console tool printed (one string per line) and its exit code (-1: did not end).
struct CToolRun {
  int exitCode = -1;
  std::vector<std::string> lines;
};
// Runs exe with one quoted argument, its standard output going to a temporary file, waiting at
// most ms milliseconds.
CToolRun RunTool(const std::wstring& exe, const std::wstring& argument, DWORD ms);

// The first visible or hidden top-level window of a process whose class name matches (empty
// class matches any), polling up to ms milliseconds; nullptr when none appeared.
HWND WaitForProcessWindow(DWORD pid, const std::wstring& className, DWORD ms);

}  // namespace tw::test
