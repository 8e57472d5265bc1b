#include "framework/internet.h"

#include <vector>

namespace tw {

bool CInternetHandle::Close() {
  HINTERNET h = h_.exchange(nullptr);
  if (!h) return false;
  InternetCloseHandle(h);
  return true;
}

void CInternetHandle::Reset(HINTERNET h) {
  Close();
  h_.store(h);
}

bool SplitUrl(const std::wstring& url, CUrlParts& parts) {
  if (url.empty() || url.size() > INTERNET_MAX_URL_LENGTH) return false;
  // Buffers as large as the URL itself: no part can be longer.
  size_t size = url.size() + 1;
  std::vector<wchar_t> host(size), user(size), password(size), path(size), extra(size);
  URL_COMPONENTSW c{};
  c.dwStructSize = sizeof(c);
  c.lpszHostName = host.data();
  c.dwHostNameLength = static_cast<DWORD>(size);
  c.lpszUserName = user.data();
  c.dwUserNameLength = static_cast<DWORD>(size);
  c.lpszPassword = password.data();
  c.dwPasswordLength = static_cast<DWORD>(size);
  c.lpszUrlPath = path.data();
  c.dwUrlPathLength = static_cast<DWORD>(size);
  c.lpszExtraInfo = extra.data();
  c.dwExtraInfoLength = static_cast<DWORD>(size);
  if (!InternetCrackUrlW(url.c_str(), static_cast<DWORD>(url.size()), 0, &c)) return false;
  parts.scheme = c.nScheme;
  parts.host.assign(host.data(), c.dwHostNameLength);
  parts.port = c.nPort;
  parts.user.assign(user.data(), c.dwUserNameLength);
  parts.password.assign(password.data(), c.dwPasswordLength);
  parts.object.assign(path.data(), c.dwUrlPathLength);
  parts.object.append(extra.data(), c.dwExtraInfoLength);
  if (parts.object.empty()) parts.object = L"/";
  return !parts.host.empty();
}

std::wstring CombineUrl(const std::wstring& base, const std::wstring& relative) {
  DWORD size = static_cast<DWORD>(base.size() + relative.size() + 16);
  for (int attempt = 0; attempt < 2; ++attempt) {
    std::vector<wchar_t> out(size);
    if (InternetCombineUrlW(base.c_str(), relative.c_str(), out.data(), &size, ICU_NO_ENCODE)) {
      return std::wstring(out.data(), size);
    }
    if (GetLastError() != ERROR_INSUFFICIENT_BUFFER) break;
    size += 1;
  }
  return {};
}

bool QueryHeader(HINTERNET request, DWORD query, std::wstring& value) {
  DWORD bytes = 256;
  for (int attempt = 0; attempt < 2; ++attempt) {
    std::vector<wchar_t> buffer(bytes / sizeof(wchar_t) + 1);
    DWORD index = 0;
    if (HttpQueryInfoW(request, query, buffer.data(), &bytes, &index)) {
      value.assign(buffer.data(), bytes / sizeof(wchar_t));
      return true;
    }
    if (GetLastError() != ERROR_INSUFFICIENT_BUFFER) return false;
  }
  return false;
}

bool QueryNumber(HINTERNET request, DWORD query, DWORD& value) {
  DWORD bytes = sizeof(value);
  DWORD index = 0;
  return HttpQueryInfoW(request, query | HTTP_QUERY_FLAG_NUMBER, &value, &bytes, &index) != FALSE;
}

bool SetTimeouts(HINTERNET handle, DWORD ms) {
  bool ok = true;
  for (DWORD option : {INTERNET_OPTION_CONNECT_TIMEOUT, INTERNET_OPTION_SEND_TIMEOUT,
                       INTERNET_OPTION_RECEIVE_TIMEOUT}) {
    ok = InternetSetOptionW(handle, option, &ms, sizeof(ms)) && ok;
  }
  return ok;
}

}  // namespace tw
