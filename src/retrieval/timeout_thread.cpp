#include "retrieval/timeout_thread.h"

namespace tw {
namespace {

constexpr UINT kTickMs = 1000;

}  // namespace

CTimeoutThread::~CTimeoutThread() { Stop(); }

bool CTimeoutThread::Start() {
  ready_.Reset();
  if (!CWorkerThread::Start()) return false;
  threadId_ = GetThreadId(Handle());
  // Stop posts to the thread's message queue, which exists only once the thread made it.
  HANDLE waits[] = {ready_.Handle(), Handle()};
  return WaitForMultipleObjects(2, waits, FALSE, INFINITE) == WAIT_OBJECT_0;
}

void CTimeoutThread::Stop() {
  if (!Running()) return;
  PostThreadMessageW(threadId_, WM_QUIT, 0, 0);
  Join(INFINITE);
}

void CTimeoutThread::Register(const std::shared_ptr<CInternetHandle>& request,
                              std::shared_ptr<const void> owner, int seconds) {
  CLock lock(lock_);
  items_.push_back(CTimeoutItem{request, std::move(owner), seconds});
}

void CTimeoutThread::Unregister(const std::shared_ptr<CInternetHandle>& request) {
  CLock lock(lock_);
  items_.remove_if([&](const CTimeoutItem& item) { return item.request == request; });
}

void CTimeoutThread::Tick() {
  CLock lock(lock_);
  for (auto it = items_.begin(); it != items_.end();) {
    if (it->remaining == 0 || --it->remaining != 0) {
      ++it;
      continue;
    }
    // The connection thread blocked on this handle sees its call fail and gives up.
    it->request->Close();
    it = items_.erase(it);
  }
}

size_t CTimeoutThread::Watched() const {
  CLock lock(lock_);
  return items_.size();
}

void CTimeoutThread::Run() {
  MSG msg;
  PeekMessageW(&msg, nullptr, WM_USER, WM_USER, PM_NOREMOVE);  // makes the message queue
  UINT_PTR timer = SetTimer(nullptr, 0, kTickMs, nullptr);
  ready_.Set();
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    if (msg.message == WM_TIMER && msg.hwnd == nullptr && msg.wParam == timer) Tick();
  }
  KillTimer(nullptr, timer);
}

}  // namespace tw
