#pragma once
// WinINet plumbing: a handle owner that another thread may close (closing a request handle is
// how a blocked call is aborted), URL splitting and joining, header queries and time-outs.
#include <windows.h>
#include <wininet.h>

#include <atomic>
#include <cstdint>
#include <string>

namespace tw {

// Owns one HINTERNET. Close may be called from any thread, any number of times: the handle
// is closed exactly once, by whichever call comes first.
class CInternetHandle {
 public:
  explicit CInternetHandle(HINTERNET h = nullptr) : h_(h) {}
  CInternetHandle(const CInternetHandle&) = delete;
  CInternetHandle& operator=(const CInternetHandle&) = delete;
  ~CInternetHandle() { Close(); }

  HINTERNET Get() const { return h_.load(); }
  explicit operator bool() const { return h_.load() != nullptr; }
  // True when this call closed the handle (false when it was already closed or empty).
  bool Close();
  // Closes what is held and takes h.
  void Reset(HINTERNET h);

 private:
  std::atomic<HINTERNET> h_;
};

struct CUrlParts {
  INTERNET_SCHEME scheme = INTERNET_SCHEME_UNKNOWN;
  std::wstring host;
  INTERNET_PORT port = 0;
  std::wstring user;
  std::wstring password;
  std::wstring object;  // path and query, "/" when the URL has none
};

// Splits an absolute URL; false when it cannot be split.
bool SplitUrl(const std::wstring& url, CUrlParts& parts);
// relative resolved against base (an absolute URL stays as it is); empty when it cannot be.
std::wstring CombineUrl(const std::wstring& base, const std::wstring& relative);

// A response header as text (HTTP_QUERY_LOCATION, …); false when absent.
bool QueryHeader(HINTERNET request, DWORD query, std::wstring& value);
// A numeric response header (HTTP_QUERY_STATUS_CODE, …); false when absent.
bool QueryNumber(HINTERNET request, DWORD query, DWORD& value);

// Connect, send and receive time-outs of a handle, in milliseconds.
bool SetTimeouts(HINTERNET handle, DWORD ms);

}  // namespace tw
