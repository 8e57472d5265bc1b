#include "framework/thread.h"

#include <process.h>

#include <exception>
#include <optional>

#include "framework/com.h"

namespace tw {

CWorkerThread::CWorkerThread(std::function<void()> body, ThreadCom com)
    : body_(std::move(body)), com_(com) {}

CWorkerThread::~CWorkerThread() { Join(INFINITE); }

bool CWorkerThread::Start() {
  if (Running()) return false;
  failed_ = false;
  {
    CLock lock(errorLock_);
    error_.clear();
  }
  unsigned id = 0;
  handle_.Reset(reinterpret_cast<HANDLE>(_beginthreadex(nullptr, 0, &Entry, this, 0, &id)));
  return static_cast<bool>(handle_);
}

bool CWorkerThread::Join(DWORD ms) {
  return !handle_ || WaitForSingleObject(handle_.Get(), ms) == WAIT_OBJECT_0;
}

bool CWorkerThread::Running() const {
  return handle_ && WaitForSingleObject(handle_.Get(), 0) == WAIT_TIMEOUT;
}

bool CWorkerThread::SetPriority(int priority) {
  return handle_ && SetThreadPriority(handle_.Get(), priority) != FALSE;
}

std::string CWorkerThread::Error() const {
  CLock lock(errorLock_);
  return error_;
}

void CWorkerThread::Run() {
  if (body_) body_();
}

unsigned __stdcall CWorkerThread::Entry(void* self) {
  auto* thread = static_cast<CWorkerThread*>(self);
  try {
    thread->RunGuarded();
  } catch (...) {  // only a failure to record the error (out of memory) gets here
    thread->failed_ = true;
  }
  return thread->failed_ ? 1 : 0;
}

// Nothing may leave a thread entry: every exception is kept as the thread's failure.
void CWorkerThread::RunGuarded() {
  std::string error;
  try {
    std::optional<CComInit> com;
    if (com_ != ThreadCom::kNone) {
      com.emplace(com_ == ThreadCom::kApartment ? COINIT_APARTMENTTHREADED : COINIT_MULTITHREADED);
      if (!com->Ok()) throw CComException(E_FAIL, "CoInitializeEx");
    }
    Run();
    return;
  } catch (const std::exception& e) {
    failed_ = true;
    error = e.what();
  } catch (...) {
    failed_ = true;
    error = "unknown exception";
  }
  CLock lock(errorLock_);
  error_ = std::move(error);
}

}  // namespace tw
