#include "framework/window.h"

#include <gtest/gtest.h>

#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

namespace tw {
namespace {

constexpr int kThrowingCommand = 13;

// Records what its handlers see; can throw from OnCommand and from OnCreate.
class CProbeWindow : public CWindow {
 public:
  explicit CProbeWindow(bool* deleted = nullptr, bool throwOnCreate = false)
      : deleted_(deleted), throwOnCreate_(throwOnCreate) {}
  ~CProbeWindow() override {
    Destroy();  // while the subclass still exists, so that OnDestroy runs
    if (deleted_) *deleted_ = true;
  }
  bool Seen(const std::string& e) const {
    for (const auto& s : events) {
      if (s == e) return true;
    }
    return false;
  }
  std::vector<std::string> events;

 protected:
  const wchar_t* ClassName() const override { return L"TidewatchTestProbe"; }
  bool OnCreate(const CREATESTRUCTW&) override {
    if (throwOnCreate_) throw std::runtime_error("create failed");
    events.push_back("create");
    return true;
  }
  void OnDestroy() override { events.push_back("destroy"); }
  bool OnCommand(int id, int code, HWND) override {
    if (id == kThrowingCommand) throw std::runtime_error("handler failed");
    events.push_back("command " + std::to_string(id));
    return true;
  }
  void OnTimer(UINT_PTR id) override {
    KillTimer(id);
    events.push_back("timer " + std::to_string(id));
  }
  LRESULT OnAppMessage(UINT n, WPARAM wp, LPARAM) override { return n * 100 + wp; }

 private:
  bool* deleted_;
  bool throwOnCreate_;
};

// Dispatches this thread's messages until done() or ms milliseconds pass.
bool PumpUntil(const std::function<bool()>& done, DWORD ms) {
  DWORD start = GetTickCount();
  while (!done()) {
    if (GetTickCount() - start > ms) return false;
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
  }
  return true;
}

constexpr RECT kRect{100, 100, 400, 300};

TEST(Window, HandlersReceiveTheirMessagesAndTheObjectIsFoundFromTheHandle) {
  CProbeWindow w;
  ASSERT_TRUE(w.Create(0, WS_OVERLAPPEDWINDOW | WS_VISIBLE, std::string("窓のタイトル"), kRect));
  HWND hwnd = w.Handle();
  ASSERT_TRUE(IsWindow(hwnd));
  wchar_t title[64] = {};
  GetWindowTextW(hwnd, title, 64);
  EXPECT_STREQ(title, L"窓のタイトル");
  EXPECT_EQ(w.events.front(), "create");
  EXPECT_EQ(CWindow::FromHandle(hwnd), &w);
  EXPECT_EQ(CWindow::FromHandle(GetDesktopWindow()), nullptr);
  EXPECT_EQ(CWindow::FromHandle(nullptr), nullptr);

  ASSERT_TRUE(w.SetTimer(7, 10));
  ASSERT_TRUE(w.PostMessage(WM_COMMAND, MAKEWPARAM(42, BN_CLICKED), 0));
  EXPECT_TRUE(PumpUntil([&] { return w.Seen("timer 7") && w.Seen("command 42"); }, 5000));
  EXPECT_EQ(w.SendMessage(WM_APP + 3, 5), 305);

  w.Destroy();
  EXPECT_EQ(w.events.back(), "destroy");
  EXPECT_EQ(w.Handle(), nullptr);
  EXPECT_FALSE(IsWindow(hwnd));
}

TEST(Window, ExceptionsInHandlersStayInsideTheWindowProcedure) {
  CProbeWindow w;
  ASSERT_TRUE(w.Create(0, WS_POPUP, L"probe", kRect));
  // Dispatched from the message loop and sent directly: neither call may see the exception.
  ASSERT_TRUE(w.PostMessage(WM_COMMAND, MAKEWPARAM(kThrowingCommand, BN_CLICKED), 0));
  ASSERT_TRUE(w.PostMessage(WM_COMMAND, MAKEWPARAM(43, BN_CLICKED), 0));
  EXPECT_TRUE(PumpUntil([&] { return w.Seen("command 43"); }, 5000));
  w.SendMessage(WM_COMMAND, MAKEWPARAM(kThrowingCommand, BN_CLICKED), 0);
  EXPECT_TRUE(IsWindow(w.Handle()));

  // An OnCreate that throws makes no window.
  CProbeWindow broken(nullptr, true);
  EXPECT_FALSE(broken.Create(0, WS_POPUP, L"broken", kRect));
  EXPECT_EQ(broken.Handle(), nullptr);
}

TEST(Window, DeletesItselfAfterItsWindowIsGoneWhenAsked) {
  bool deleted = false;
  auto* w = new CProbeWindow(&deleted);
  w->SetDeleteOnDestroy(true);
  ASSERT_TRUE(w->Create(0, WS_POPUP, L"self-deleting", kRect));
  DestroyWindow(w->Handle());
  EXPECT_TRUE(deleted);

  // A failed Create leaves the object to its owner.
  bool brokenDeleted = false;
  auto* broken = new CProbeWindow(&brokenDeleted, true);
  broken->SetDeleteOnDestroy(true);
  EXPECT_FALSE(broken->Create(0, WS_POPUP, L"broken", kRect));
  EXPECT_FALSE(brokenDeleted);
  delete broken;
  EXPECT_TRUE(brokenDeleted);
}

}  // namespace
}  // namespace tw
