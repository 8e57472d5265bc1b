#include "retrieval/connection_pool.h"

#include <climits>

#include "framework/window.h"

namespace tw {
namespace {

// The application title of the program's string table; the root handle's agent text.
constexpr UINT kIdsAppTitle = 57344;
constexpr wchar_t kDefaultAgent[] = L"Tidewatch";

std::wstring DefaultAgent() {
  const wchar_t* text = nullptr;
  int n = LoadStringW(ModuleInstance(), kIdsAppTitle, reinterpret_cast<LPWSTR>(&text), 0);
  return n > 0 ? std::wstring(text, static_cast<size_t>(n)) : std::wstring(kDefaultAgent);
}

}  // namespace

CConnectionPool::CConnectionPool(int threads, std::string userAgent, int timeout)
    : userAgent_(std::move(userAgent)), timeout_(timeout) {
  internet_.Reset(
      InternetOpenW(DefaultAgent().c_str(), INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0));
  if (!internet_ || !queueEvent_.Valid() || !stopEvent_.Valid() || !watchdog_.Start()) return;
  for (int i = 0; i < threads; ++i) {
    auto thread = std::make_unique<CConnectionThread>(*this);
    if (!thread->Start()) break;
    threads_.push_back(std::move(thread));
  }
  started_ = !threads_.empty();
}

CConnectionPool::~CConnectionPool() { Stop(); }

void CConnectionPool::Stop() {
  {
    CLock lock(queueLock_);
    stop_ = true;
  }
  stopEvent_.Set();
  for (auto& thread : threads_) thread->Join(INFINITE);
  threads_.clear();
  {
    CLock lock(queueLock_);
    queue_.clear();
  }
  {
    CLock lock(resultLock_);
    results_.clear();
    waiting_.clear();
  }
  watchdog_.Stop();
}

long CConnectionPool::Request(const std::string& url, const std::string& lastModified) {
  if (!started_) return kNoRequest;
  auto info = std::make_shared<CConnectionInfo>();
  info->internet = internet_.Get();
  info->url = url;
  info->userAgent = userAgent_;
  info->lastModified = lastModified;
  info->timeout = timeout_;
  info->watchdog = &watchdog_;
  long id;
  {
    CLock lock(resultLock_);
    // Skip ids still in use; once the counter has wrapped around to -1 no id is left.
    while (nextId_ != kNoRequest && waiting_.count(nextId_)) {
      nextId_ = nextId_ == LONG_MAX ? kNoRequest : nextId_ + 1;
    }
    if (nextId_ == kNoRequest) return kNoRequest;
    id = nextId_;
    nextId_ = nextId_ == LONG_MAX ? kNoRequest : nextId_ + 1;
    auto done = std::make_unique<CEvent>(true);
    if (!done->Valid()) return kNoRequest;
    waiting_[id] = std::move(done);
  }
  CLock lock(queueLock_);
  queue_.push_back(CQueued{id, std::move(info)});
  queueEvent_.Set();
  return id;
}

CConnectionInfoPtr CConnectionPool::Wait(long id) {
  CEvent* done = nullptr;
  {
    CLock lock(resultLock_);
    auto it = waiting_.find(id);
    if (it == waiting_.end()) return nullptr;
    done = it->second.get();
  }
  // The event stays in the map (so the pointer stays valid) until it is collected below; only
  // this waiter collects it.
  done->Wait(INFINITE);
  CLock lock(resultLock_);
  CConnectionInfoPtr info;
  if (auto it = results_.find(id); it != results_.end()) {
    info = std::move(it->second);
    results_.erase(it);
  }
  waiting_.erase(id);
  return info;
}

bool CConnectionPool::Next(CQueued& out) {
  HANDLE events[] = {queueEvent_.Handle(), stopEvent_.Handle()};
  for (;;) {
    WaitForMultipleObjects(2, events, FALSE, INFINITE);
    CLock lock(queueLock_);
    if (stop_) return false;
    if (queue_.empty()) continue;  // another thread took it
    out = std::move(queue_.front());
    queue_.pop_front();
    // Wake the next thread for the requests still waiting.
    if (!queue_.empty()) queueEvent_.Set();
    return true;
  }
}

void CConnectionPool::Finished(const CQueued& done) {
  CLock lock(resultLock_);
  results_[done.id] = done.info;
  if (auto it = waiting_.find(done.id); it != waiting_.end()) it->second->Set();
}

}  // namespace tw
