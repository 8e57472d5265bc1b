#include "framework/files.h"

#include <atomic>

#include "framework/sync.h"

namespace tw {
namespace {

bool IsSeparator(wchar_t c) { return c == L'\\' || c == L'/'; }

// Length of the part of path that is not a folder to create: "C:\", "\\server\share\", "\".
size_t RootLength(const std::wstring& p) {
  size_t start = p.compare(0, 4, L"\\\\?\\") == 0 ? 4 : 0;  // long-path prefix
  if (p.size() >= start + 2 && p[start + 1] == L':') {
    return start + (p.size() > start + 2 && IsSeparator(p[start + 2]) ? 3 : 2);
  }
  if (start == 0 && p.size() >= 2 && IsSeparator(p[0]) && IsSeparator(p[1])) {
    size_t server = p.find_first_of(L"\\/", 2);
    if (server == std::wstring::npos) return p.size();
    size_t share = p.find_first_of(L"\\/", server + 1);
    return share == std::wstring::npos ? p.size() : share + 1;
  }
  if (!p.empty() && IsSeparator(p[0])) return 1;
  return start;
}

std::wstring TwoDigits(unsigned v) { return (v < 10 ? L"0" : L"") + std::to_wstring(v); }

// A new, empty file beside path with a name nobody uses; removed on destruction unless kept.
class CTempFile {
 public:
  explicit CTempFile(const std::wstring& path) {
    static std::atomic<unsigned> counter{0};
    for (int attempt = 0; attempt < 100; ++attempt) {
      path_ = path + L".tmp-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
              std::to_wstring(++counter);
      file_.Reset(CreateFileW(path_.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                              FILE_ATTRIBUTE_NORMAL, nullptr));
      if (file_) return;
      DWORD e = GetLastError();
      if (e != ERROR_FILE_EXISTS && e != ERROR_ALREADY_EXISTS) break;
    }
    path_.clear();
  }
  CTempFile(const CTempFile&) = delete;
  CTempFile& operator=(const CTempFile&) = delete;
  ~CTempFile() {
    file_.Reset();
    if (!path_.empty()) DeleteFileW(path_.c_str());
  }

  bool Valid() const { return !path_.empty(); }
  const std::wstring& Path() const { return path_; }
  HANDLE File() const { return file_.Get(); }
  // Reopens a file another writer has filled, to flush it.
  bool Reopen() {
    file_.Reset(CreateFileW(path_.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr));
    return static_cast<bool>(file_);
  }
  void Close() { file_.Reset(); }

  // Flushes and closes the file, then moves it over target in one step.
  bool Replace(const std::wstring& target) {
    if (!file_ || !FlushFileBuffers(file_.Get())) return false;
    file_.Reset();
    if (!MoveFileExW(path_.c_str(), target.c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
      return false;
    }
    path_.clear();  // it is target now
    return true;
  }

 private:
  std::wstring path_;
  CHandle file_;
};

}  // namespace

std::wstring ModulePath() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    DWORD n = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (n == 0) return {};
    if (n < path.size()) {
      path.resize(n);
      return path;
    }
    path.resize(path.size() * 2);  // truncated
  }
}

std::wstring ModuleFolder() { return ParentFolder(ModulePath()); }

std::wstring JoinPath(const std::wstring& folder, const std::wstring& name) {
  size_t skip = 0;
  while (skip < name.size() && IsSeparator(name[skip])) ++skip;
  if (folder.empty()) return name.substr(skip);
  if (skip == name.size()) return folder;
  if (IsSeparator(folder.back())) return folder + name.substr(skip);
  return folder + L"\\" + name.substr(skip);
}

std::wstring ParentFolder(const std::wstring& path) {
  size_t slash = path.find_last_of(L"\\/");
  if (slash == std::wstring::npos) return {};
  if (slash < RootLength(path)) return path.substr(0, RootLength(path));  // "C:\x" → "C:\"
  return path.substr(0, slash);
}

bool FileExists(const std::wstring& path) {
  DWORD a = GetFileAttributesW(path.c_str());
  return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}

bool FolderExists(const std::wstring& path) {
  DWORD a = GetFileAttributesW(path.c_str());
  return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

bool CreateDirectories(const std::wstring& path) {
  if (path.empty()) return false;
  size_t pos = RootLength(path);
  while (pos < path.size()) {
    size_t next = path.find_first_of(L"\\/", pos);
    if (next == std::wstring::npos) next = path.size();
    if (next > pos) {  // "a\\b" has an empty component
      std::wstring folder = path.substr(0, next);
      if (!FolderExists(folder) && !CreateDirectoryW(folder.c_str(), nullptr) &&
          GetLastError() != ERROR_ALREADY_EXISTS) {
        return false;
      }
    }
    pos = next + 1;
  }
  return FolderExists(path);
}

bool ReadWholeFile(const std::wstring& path, std::string& out) {
  CHandle file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                           OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  LARGE_INTEGER size{};
  if (!file || !GetFileSizeEx(file.Get(), &size) || size.QuadPart > 0x7fffffff) return false;
  std::string data(static_cast<size_t>(size.QuadPart), '\0');
  size_t done = 0;
  while (done < data.size()) {
    DWORD read = 0;
    if (!ReadFile(file.Get(), data.data() + done, static_cast<DWORD>(data.size() - done), &read,
                  nullptr)) {
      return false;
    }
    if (read == 0) break;  // shorter than it was a moment ago
    done += read;
  }
  data.resize(done);
  out = std::move(data);
  return true;
}

bool WriteAll(HANDLE file, const void* data, size_t size) {
  const char* p = static_cast<const char*>(data);
  while (size > 0) {
    DWORD chunk = size > 0x40000000 ? 0x40000000 : static_cast<DWORD>(size);
    DWORD written = 0;
    if (!WriteFile(file, p, chunk, &written, nullptr) || written == 0) return false;
    p += written;
    size -= written;
  }
  return true;
}

bool WriteWholeFile(const std::wstring& path, std::string_view bytes) {
  CHandle file(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                           FILE_ATTRIBUTE_NORMAL, nullptr));
  return file && WriteAll(file.Get(), bytes.data(), bytes.size());
}

bool SaveFileAtomically(const std::wstring& path, const std::function<bool(HANDLE file)>& writer) {
  CTempFile temp(path);
  return temp.Valid() && writer(temp.File()) && temp.Replace(path);
}

bool SaveFileAtomically(const std::wstring& path, std::string_view bytes) {
  return SaveFileAtomically(
      path, [bytes](HANDLE file) { return WriteAll(file, bytes.data(), bytes.size()); });
}

bool SaveFileAtomicallyVia(const std::wstring& path,
                           const std::function<bool(const std::wstring& tempPath)>& save) {
  CTempFile temp(path);
  if (!temp.Valid()) return false;
  temp.Close();  // the name is reserved; the writer opens the file itself
  return save(temp.Path()) && temp.Reopen() && temp.Replace(path);
}

std::wstring MoveAside(const std::wstring& path) {
  SYSTEMTIME t{};
  GetLocalTime(&t);
  std::wstring base = path + L".damaged-" + std::to_wstring(t.wYear) + TwoDigits(t.wMonth) +
                      TwoDigits(t.wDay) + L"-" + TwoDigits(t.wHour) + TwoDigits(t.wMinute) +
                      TwoDigits(t.wSecond);
  for (int n = 1; n < 1000; ++n) {
    std::wstring target = n == 1 ? base : base + L"-" + std::to_wstring(n);
    // No MOVEFILE_REPLACE_EXISTING: an earlier damaged copy is never overwritten.
    if (MoveFileExW(path.c_str(), target.c_str(), MOVEFILE_WRITE_THROUGH)) return target;
    DWORD e = GetLastError();
    if (e != ERROR_ALREADY_EXISTS && e != ERROR_FILE_EXISTS) return {};
  }
  return {};
}

}  // namespace tw
