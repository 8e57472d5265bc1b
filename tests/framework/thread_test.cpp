#include "framework/thread.h"

#include <gtest/gtest.h>

#include <objbase.h>

#include <atomic>
#include <stdexcept>
#include <string>

#include "framework/sync.h"

namespace tw {
namespace {

class CCountingThread : public CWorkerThread {
 public:
  ~CCountingThread() override { Join(); }
  std::atomic<int> runs{0};

 protected:
  void Run() override { ++runs; }
};

TEST(WorkerThread, RunsJoinsAndKeepsAnExceptionInsideTheThread) {
  struct Case {
    const char* name;
    std::function<void()> body;
    bool failed;
    std::string error;
  } cases[] = {
      {"plain", [] {}, false, ""},
      {"std::exception", [] { throw std::runtime_error("読み込み失敗"); }, true, "読み込み失敗"},
      {"anything else", [] { throw 42; }, true, "unknown exception"},
  };
  for (const Case& c : cases) {
    std::atomic<bool> ran{false};
    CWorkerThread thread([&] {
      ran = true;
      c.body();
    });
    ASSERT_TRUE(thread.Start()) << c.name;
    ASSERT_TRUE(thread.Join(10000)) << c.name;
    EXPECT_TRUE(ran) << c.name;
    EXPECT_EQ(thread.Failed(), c.failed) << c.name;
    EXPECT_EQ(thread.Error(), c.error) << c.name;
    DWORD code = STILL_ACTIVE;
    GetExitCodeThread(thread.Handle(), &code);
    EXPECT_EQ(code, c.failed ? 1u : 0u) << c.name;
  }

  // A subclass's Run, started again after it ended.
  CCountingThread counting;
  ASSERT_TRUE(counting.Start());
  ASSERT_TRUE(counting.Join(10000));
  ASSERT_TRUE(counting.Start());
  ASSERT_TRUE(counting.Join(10000));
  EXPECT_EQ(counting.runs, 2);
}

TEST(WorkerThread, JoinTimesOutWhileItRunsAndComIsEnteredWhenAsked) {
  CEvent go(true);
  HRESULT withCom = E_FAIL;
  HRESULT withoutCom = E_FAIL;
  // CoInitializeEx answers S_FALSE when the thread is already in that apartment.
  auto probe = [&](HRESULT& out) {
    go.Wait();
    out = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    if (SUCCEEDED(out)) CoUninitialize();
  };
  CWorkerThread com([&] { probe(withCom); }, ThreadCom::kApartment);
  CWorkerThread plain([&] { probe(withoutCom); });
  ASSERT_TRUE(com.Start());
  ASSERT_TRUE(plain.Start());
  EXPECT_FALSE(com.Start());  // still running
  EXPECT_TRUE(com.SetPriority(THREAD_PRIORITY_BELOW_NORMAL));
  EXPECT_FALSE(com.Join(50));
  EXPECT_TRUE(com.Running());
  go.Set();
  ASSERT_TRUE(com.Join(10000));
  ASSERT_TRUE(plain.Join(10000));
  EXPECT_FALSE(com.Running());
  EXPECT_EQ(withCom, S_FALSE);
  EXPECT_EQ(withoutCom, S_OK);
}

TEST(Sync, SemaphoreCountsAndRefusesToPassItsMaximum) {
  CSemaphore semaphore(1, 1);
  ASSERT_TRUE(semaphore.Valid());
  EXPECT_TRUE(semaphore.TryTake());
  EXPECT_FALSE(semaphore.TryTake());
  EXPECT_TRUE(semaphore.Release());
  EXPECT_FALSE(semaphore.Release());  // would be 2 of 1
  EXPECT_TRUE(semaphore.TryTake());
  EXPECT_FALSE(semaphore.Take(10));
}

TEST(Sync, AutoResetEventReleasesOneWaitManualStaysSet) {
  for (bool manual : {false, true}) {
    CEvent event(manual);
    EXPECT_FALSE(event.Wait(0)) << manual;
    event.Set();
    EXPECT_TRUE(event.Wait(0)) << manual;
    EXPECT_EQ(event.Wait(0), manual) << manual;
    event.Reset();
    EXPECT_FALSE(event.Wait(0)) << manual;
  }
}

TEST(Sync, NamedMutexIsExclusiveAndAnAbandonedOneCanBeTaken) {
  const std::wstring name = L"TidewatchTest-mutex-" + std::to_wstring(GetCurrentProcessId());
  CMutex mine(name);
  ASSERT_TRUE(mine.Valid());
  EXPECT_FALSE(mine.AlreadyExisted());
  ASSERT_TRUE(mine.Lock(0));

  bool existed = false;
  bool lockedWhileHeld = true;
  CWorkerThread other([&] {
    CMutex theirs(name);
    existed = theirs.AlreadyExisted();
    lockedWhileHeld = theirs.Lock(0);
  });
  ASSERT_TRUE(other.Start());
  ASSERT_TRUE(other.Join(10000));
  EXPECT_TRUE(existed);
  EXPECT_FALSE(lockedWhileHeld);
  EXPECT_TRUE(mine.Unlock());

  // A thread that ends holding the mutex leaves it abandoned, not locked for ever.
  CWorkerThread abandoning([&] {
    CMutex theirs(name);
    theirs.Lock(0);
  });
  ASSERT_TRUE(abandoning.Start());
  ASSERT_TRUE(abandoning.Join(10000));
  EXPECT_TRUE(mine.Lock(1000));
  mine.Unlock();
}

}  // namespace
}  // namespace tw
