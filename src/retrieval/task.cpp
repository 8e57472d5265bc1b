#include "retrieval/task.h"

#include <vector>

namespace tw {
namespace {

constexpr DWORD kWorkerGraceMs = 1000;

}  // namespace

void CTask::Complete() {
  Finish();
  // (A null window would make this a message to the thread itself.)
  if (HWND window = notifier_.NotifyWindow()) PostMessageW(window, kMsgRunQueue, 0, 0);
}

bool CMessageWindow::Create() {
  RECT none{0, 0, 0, 0};
  return CWindow::Create(0, WS_POPUP, std::wstring(), none);
}

LRESULT CMessageWindow::OnAppMessage(UINT n, WPARAM wp, LPARAM lp) {
  if (!onApp) return CWindow::OnAppMessage(n, wp, lp);
  onApp(n, wp, lp);
  return 0;
}

void CMessageWindow::OnTimer(UINT_PTR id) {
  if (onTimer) onTimer(id);
}

void CTaskThread::Run() {
  try {
    Work();
  } catch (...) {
    // The task still hears of the end, with whatever results were made.
  }
  if (notify_ && IsWindow(notify_)) {
    PostMessageW(notify_, kMsgThreadDone, 0, reinterpret_cast<LPARAM>(this));
  }
}

CThreadTask::~CThreadTask() {
  window_.Destroy();  // a worker that ends from now on posts nothing
  if (thread_ && !thread_->Join(kWorkerGraceMs)) LeaveThreadToEnd(std::move(thread_));
}

bool CThreadTask::StartThread(std::unique_ptr<CTaskThread> thread, int priority) {
  if (!window_.Handle()) {
    window_.onApp = [this](UINT n, WPARAM wp, LPARAM lp) { OnWindowMessage(n, wp, lp); };
    if (!window_.Create()) return false;
  }
  if (thread_) thread_->Join(INFINITE);
  thread_ = std::move(thread);
  thread_->SetNotify(window_.Handle());
  if (!thread_->Start()) {
    thread_.reset();
    return false;
  }
  thread_->SetPriority(priority);
  return true;
}

void CThreadTask::OnWindowMessage(UINT n, WPARAM wp, LPARAM lp) {
  if (WM_APP + n != kMsgThreadDone || !thread_ || reinterpret_cast<LPARAM>(thread_.get()) != lp) {
    return;
  }
  thread_->Join(INFINITE);
  OnThreadDone(*thread_);
}

void LeaveThreadToEnd(std::unique_ptr<CWorkerThread> thread) {
  // Never destroyed: a worker still running at exit ends with the process instead of holding
  // up its exit.
  static auto* kept = new std::vector<std::unique_ptr<CWorkerThread>>();
  static CCriticalSection* lock = new CCriticalSection();
  CLock hold(*lock);
  for (auto it = kept->begin(); it != kept->end();) {
    it = (*it)->Running() ? it + 1 : kept->erase(it);
  }
  if (thread) kept->push_back(std::move(thread));
}

}  // namespace tw
