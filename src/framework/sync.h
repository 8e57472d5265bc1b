#pragma once
// Owners for kernel handles and the synchronisation objects threads share: critical section
// with a scoped lock, event, semaphore and (named) mutex.
#include <windows.h>

#include <string>
#include <utility>

namespace tw {

// Owns one kernel handle (CloseHandle on destruction). INVALID_HANDLE_VALUE, which some calls
// return for failure, is stored as the empty handle.
class CHandle {
 public:
  CHandle() = default;
  explicit CHandle(HANDLE h) : h_(h == INVALID_HANDLE_VALUE ? nullptr : h) {}
  CHandle(const CHandle&) = delete;
  CHandle& operator=(const CHandle&) = delete;
  CHandle(CHandle&& o) noexcept : h_(std::exchange(o.h_, nullptr)) {}
  CHandle& operator=(CHandle&& o) noexcept {
    if (this != &o) Reset(o.Detach());
    return *this;
  }
  ~CHandle() { Reset(); }

  HANDLE Get() const { return h_; }
  explicit operator bool() const { return h_ != nullptr; }
  void Reset(HANDLE h = nullptr) {
    if (h_) CloseHandle(h_);
    h_ = h == INVALID_HANDLE_VALUE ? nullptr : h;
  }
  // Gives up ownership; the caller closes the handle.
  HANDLE Detach() { return std::exchange(h_, nullptr); }

 private:
  HANDLE h_ = nullptr;
};

class CCriticalSection {
 public:
  CCriticalSection() { InitializeCriticalSection(&cs_); }
  CCriticalSection(const CCriticalSection&) = delete;
  CCriticalSection& operator=(const CCriticalSection&) = delete;
  ~CCriticalSection() { DeleteCriticalSection(&cs_); }
  void Enter() { EnterCriticalSection(&cs_); }
  void Leave() { LeaveCriticalSection(&cs_); }
  bool TryEnter() { return TryEnterCriticalSection(&cs_) != FALSE; }

 private:
  CRITICAL_SECTION cs_;
};

// Holds a critical section for the lifetime of the object.
class CLock {
 public:
  explicit CLock(CCriticalSection& cs) : cs_(cs) { cs_.Enter(); }
  CLock(const CLock&) = delete;
  CLock& operator=(const CLock&) = delete;
  ~CLock() { cs_.Leave(); }

 private:
  CCriticalSection& cs_;
};

// A manual-reset event stays signalled until Reset; an auto-reset one releases one waiter.
class CEvent {
 public:
  explicit CEvent(bool manualReset, bool initiallySet = false, const wchar_t* name = nullptr)
      : h_(CreateEventW(nullptr, manualReset, initiallySet, name)) {}
  bool Set() { return SetEvent(h_.Get()) != FALSE; }
  bool Reset() { return ResetEvent(h_.Get()) != FALSE; }
  // True when the event was signalled within ms milliseconds.
  bool Wait(DWORD ms = INFINITE) { return WaitForSingleObject(h_.Get(), ms) == WAIT_OBJECT_0; }
  HANDLE Handle() const { return h_.Get(); }
  bool Valid() const { return static_cast<bool>(h_); }

 private:
  CHandle h_;
};

class CSemaphore {
 public:
  CSemaphore(long initial, long maximum, const wchar_t* name = nullptr)
      : h_(CreateSemaphoreW(nullptr, initial, maximum, name)) {}
  // Takes one count, waiting up to ms milliseconds; false when none became free.
  bool Take(DWORD ms = INFINITE) { return WaitForSingleObject(h_.Get(), ms) == WAIT_OBJECT_0; }
  // Takes one count only if one is free now.
  bool TryTake() { return Take(0); }
  // Gives counts back; false when that would pass the maximum (nothing is released then).
  bool Release(long count = 1) { return ReleaseSemaphore(h_.Get(), count, nullptr) != FALSE; }
  HANDLE Handle() const { return h_.Get(); }
  bool Valid() const { return static_cast<bool>(h_); }

 private:
  CHandle h_;
};

// A mutex, named to be shared between processes (an empty name makes a private one). Owned by
// the thread that locks it; recursive within that thread.
class CMutex {
 public:
  explicit CMutex(const std::wstring& name = std::wstring())
      : h_(CreateMutexW(nullptr, FALSE, name.empty() ? nullptr : name.c_str())),
        existed_(h_ && GetLastError() == ERROR_ALREADY_EXISTS) {}
  // True when the calling thread owns the mutex within ms milliseconds. A mutex abandoned by a
  // thread or process that ended while holding it counts as acquired: its owner is gone.
  bool Lock(DWORD ms = INFINITE) {
    DWORD r = WaitForSingleObject(h_.Get(), ms);
    return r == WAIT_OBJECT_0 || r == WAIT_ABANDONED;
  }
  bool Unlock() { return ReleaseMutex(h_.Get()) != FALSE; }
  // True when a mutex of this name existed before this object opened it.
  bool AlreadyExisted() const { return existed_; }
  HANDLE Handle() const { return h_.Get(); }
  bool Valid() const { return static_cast<bool>(h_); }

 private:
  CHandle h_;
  bool existed_;
};

}  // namespace tw
