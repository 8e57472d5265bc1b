#pragma once
// A worker thread that runs a function (or an overridden Run) and never lets an exception out
// of its entry point. The object must outlive the thread: the destructor waits for it.
#include <windows.h>

#include <atomic>
#include <functional>
#include <string>

#include "framework/sync.h"

namespace tw {

// COM apartment the thread enters before Run (and leaves after it).
enum class ThreadCom { kNone, kApartment, kMultithreaded };

class CWorkerThread {
 public:
  // Without a body the thread runs the overridden Run.
  explicit CWorkerThread(std::function<void()> body = nullptr, ThreadCom com = ThreadCom::kNone);
  CWorkerThread(const CWorkerThread&) = delete;
  CWorkerThread& operator=(const CWorkerThread&) = delete;
  // Waits for the thread to end. A subclass whose Run uses its own members must Join in its
  // own destructor, before those members go.
  virtual ~CWorkerThread();

  // Starts the thread; false when it is still running from an earlier Start or cannot be created.
  bool Start();
  // True when the thread has ended within ms milliseconds (or was never started).
  bool Join(DWORD ms = INFINITE);
  bool Running() const;
  HANDLE Handle() const { return handle_.Get(); }
  bool SetPriority(int priority);

  // After the thread has ended: true when Run ended by an exception (or COM could not be
  // initialised), with the exception's text (code page 932) when it had one.
  bool Failed() const { return failed_; }
  std::string Error() const;

 protected:
  // Runs on the new thread; the default calls the body given to the constructor.
  virtual void Run();

 private:
  static unsigned __stdcall Entry(void* self);
  void RunGuarded();

  std::function<void()> body_;
  ThreadCom com_;
  CHandle handle_;
  std::atomic<bool> failed_{false};
  mutable CCriticalSection errorLock_;
  std::string error_;
};

}  // namespace tw
