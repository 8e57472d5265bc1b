#include "retrieval/connection_thread.h"

#include <new>
#include <stdexcept>

#include "framework/internet.h"
#include "framework/text.h"
#include "retrieval/connection_pool.h"
#include "retrieval/gzip_member.h"
#include "retrieval/timeout_thread.h"

namespace tw {
namespace {

constexpr int kMaxRequests = 6;  // the first request and up to 5 redirects
constexpr DWORD kReadStep = 64 * 1024;

bool IsRedirect(DWORD status) {
  return status == 301 || status == 302 || status == 303 || status == 307;
}

// Watches a request from just before it is sent until the scope ends (answered, failed or
// redirected).
class CWatch {
 public:
  CWatch(const CConnectionInfoPtr& info, std::shared_ptr<CInternetHandle> request)
      : watchdog_(info->watchdog), request_(std::move(request)) {
    if (watchdog_) watchdog_->Register(request_, info, info->timeout);
  }
  CWatch(const CWatch&) = delete;
  CWatch& operator=(const CWatch&) = delete;
  ~CWatch() {
    if (watchdog_) watchdog_->Unregister(request_);
  }

 private:
  CTimeoutThread* watchdog_;
  std::shared_ptr<CInternetHandle> request_;
};

std::wstring Trim(const std::wstring& s) {
  const wchar_t* blanks = L" \t\r\n";
  size_t first = s.find_first_not_of(blanks);
  if (first == std::wstring::npos) return {};
  return s.substr(first, s.find_last_not_of(blanks) - first + 1);
}

bool EqualsNoCase(const std::wstring& a, const wchar_t* b) {
  return CompareStringOrdinal(a.c_str(), static_cast<int>(a.size()), b, -1, TRUE) == CSTR_EQUAL;
}

// The whole body; false when reading fails (a closed handle, a time-out) or it is too large.
// Only what has arrived is read each time (a read asking for more waits until it all came, and
// a server that sends a byte now and then would hold it for hours); between the reads the
// handle is looked at again, so that a request the watchdog closed stops at once.
bool ReadBody(const CInternetHandle& request, std::string& body) {
  body.clear();
  std::string buffer;
  for (;;) {
    DWORD available = 0;
    // Get() is empty once the watchdog closed the handle: the call then fails.
    if (!InternetQueryDataAvailable(request.Get(), &available, 0, 0)) return false;
    if (available == 0) return true;
    DWORD want = available < kReadStep ? available : kReadStep;
    if (buffer.size() < want) buffer.resize(want);
    DWORD read = 0;
    if (!InternetReadFile(request.Get(), buffer.data(), want, &read)) return false;
    if (read == 0) return true;
    if (body.size() + read > kMaxBodyBytes) return false;
    body.append(buffer.data(), read);
  }
}

// The answer to a request that was not redirected: status, headers and body.
bool TakeAnswer(CConnectionInfo& info, const CInternetHandle& request, DWORD status,
                bool conditional) {
  if (status == 304 && conditional) {
    info.contentReceived = false;  // the site keeps what it had
    return true;
  }
  if (status < 200 || status > 299) return false;
  std::wstring lastModified;
  QueryHeader(request.Get(), HTTP_QUERY_LAST_MODIFIED, lastModified);
  std::wstring encoding;
  bool gzip = false;
  if (QueryHeader(request.Get(), HTTP_QUERY_CONTENT_ENCODING, encoding)) {
    if (!EqualsNoCase(Trim(encoding), L"gzip")) return false;
    gzip = true;
  }
  std::string body;
  if (!ReadBody(request, body)) return false;
  if (gzip) {
    std::string plain;
    if (DecodeGzipMember(body, plain) != GzipResult::kOk) return false;
    body.swap(plain);
  }
  auto document = std::make_unique<CXmlDocument>();
  if (!document->LoadBytes(body.data(), body.size())) return false;
  info.lastModified = ToCp932(Trim(lastModified));
  info.document = std::move(document);
  info.contentReceived = true;
  return true;
}

// A header value up to its first line break: a stored value can add no header lines of its own.
std::wstring HeaderValue(const std::string& text) {
  std::wstring value = ToWide(text);
  return value.substr(0, value.find_first_of(L"\r\n"));
}

bool RunGet(const CConnectionInfoPtr& infoPtr) {
  CConnectionInfo& info = *infoPtr;
  std::wstring url = ToWide(info.url);
  const std::wstring agent = HeaderValue(info.userAgent);
  const std::wstring lastModified = HeaderValue(info.lastModified);
  const bool conditional = !lastModified.empty();
  std::wstring headers;
  if (!agent.empty()) headers += L"User-Agent: " + agent + L"\r\n";
  if (conditional) headers += L"If-Modified-Since: " + lastModified + L"\r\n";
  headers += L"Accept-Encoding: gzip\r\n";

  for (int attempt = 0; attempt < kMaxRequests; ++attempt) {
    CUrlParts parts;
    if (!SplitUrl(url, parts)) return false;
    if (parts.scheme != INTERNET_SCHEME_HTTP && parts.scheme != INTERNET_SCHEME_HTTPS) {
      return false;
    }
    const bool https = parts.scheme == INTERNET_SCHEME_HTTPS;
    CInternetHandle connection(InternetConnectW(
        info.internet, parts.host.c_str(), parts.port,
        parts.user.empty() ? nullptr : parts.user.c_str(),
        parts.password.empty() ? nullptr : parts.password.c_str(), INTERNET_SERVICE_HTTP, 0, 1));
    if (!connection) return false;
    // Feeds need no cookies, and leaving the cookie store alone saves some 3 ms a request
    // under Wine (three quarters of a local request's time).
    DWORD flags = INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE | INTERNET_FLAG_NO_COOKIES |
                  (https ? INTERNET_FLAG_SECURE : INTERNET_FLAG_NO_AUTO_REDIRECT);
    auto request = std::make_shared<CInternetHandle>(HttpOpenRequestW(
        connection.Get(), L"GET", parts.object.c_str(), nullptr, nullptr, nullptr, flags, 1));
    if (!*request) return false;
    // Closing the handle aborts a blocked call on Windows but not under Wine: the socket
    // time-outs release a hung server there.
    if (info.timeout > 0) SetTimeouts(request->Get(), static_cast<DWORD>(info.timeout) * 1000);
    if (!HttpAddRequestHeadersW(request->Get(), headers.c_str(), static_cast<DWORD>(headers.size()),
                                HTTP_ADDREQ_FLAG_ADD_IF_NEW)) {
      return false;
    }
    CWatch watch(infoPtr, request);
    if (!HttpSendRequestW(request->Get(), nullptr, 0, nullptr, 0)) return false;
    DWORD status = 0;
    if (!QueryNumber(request->Get(), HTTP_QUERY_STATUS_CODE, status)) return false;
    info.status = static_cast<int>(status);
    if (!IsRedirect(status)) return TakeAnswer(info, *request, status, conditional);
    std::wstring location;
    if (!QueryHeader(request->Get(), HTTP_QUERY_LOCATION, location)) return false;
    // A relative Location is resolved against the URL that answered.
    location = CombineUrl(url, Trim(location));
    if (location.empty()) return false;
    if (status == 301) {
      info.moved = true;
      info.newLocation = ToCp932(location);
    }
    url = location;
  }
  return false;  // the sixth answer was a redirect as well
}

}  // namespace

CConnectionThread::CConnectionThread(CConnectionPool& pool)
    : CWorkerThread(nullptr, ThreadCom::kMultithreaded), pool_(pool) {}

CConnectionThread::~CConnectionThread() { Join(INFINITE); }

bool CConnectionThread::Get(const CConnectionInfoPtr& info) {
  bool ok = false;
  try {
    ok = RunGet(info);
  } catch (const CComException&) {
  } catch (const std::bad_alloc&) {
  }
  if (!ok) {
    info->document.reset();
    info->contentReceived = false;
  }
  info->succeeded = ok;
  return ok;
}

void CConnectionThread::Run() {
  CConnectionPool::CQueued request{};
  while (pool_.Next(request)) {
    Get(request.info);
    pool_.Finished(request);
    request = CConnectionPool::CQueued{};
  }
}

}  // namespace tw
