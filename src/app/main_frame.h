#pragma once
// The hidden main window: never shown, owner of message boxes, target of the tray menu's
// commands. Closing it ends the message loop.
#include <functional>

#include "framework/window.h"

namespace tw {

class CMainFrame : public CWindow {
 public:
  explicit CMainFrame(std::function<void(int)> onCommand) : onCommand_(std::move(onCommand)) {}
  bool Create();

  static constexpr const wchar_t* kClassName = L"TidewatchMainFrame";

 protected:
  const wchar_t* ClassName() const override { return kClassName; }
  bool OnCommand(int id, int code, HWND control) override;
  void OnDestroy() override;

 private:
  std::function<void(int)> onCommand_;
};

}  // namespace tw
