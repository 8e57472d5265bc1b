#include "framework/dialog.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

#include "framework/message_box.h"
#include "framework/property_sheet.h"
#include "test_resources.h"

namespace tw {
namespace {

// Reads the resource's Japanese text, replaces it, throws from one command and closes itself
// with IDOK from a timer.
class CSelfClosingDialog : public CDialog {
 public:
  CSelfClosingDialog() : CDialog(IDD_TEST_DIALOG) {}
  std::string initialText;
  std::wstring textAfterSet;
  std::string textAtOk;
  int throws = 0;

 protected:
  bool OnInitDialog() override {
    initialText = GetItemText(IDC_TEST_EDIT);
    SetItemText(IDC_TEST_EDIT, "新しい値：東京");
    wchar_t raw[64] = {};
    GetDlgItemTextW(Handle(), IDC_TEST_EDIT, raw, 64);
    textAfterSet = raw;
    SetTimer(Handle(), 1, 20, nullptr);
    return true;
  }
  bool OnCommand(int id, int code, HWND control) override {
    if (id == IDC_TEST_THROW) {
      ++throws;
      throw std::runtime_error("handler failed");
    }
    return CDialog::OnCommand(id, code, control);
  }
  void OnOK() override {
    textAtOk = GetItemText(IDC_TEST_EDIT);
    CDialog::OnOK();
  }
  INT_PTR OnMessage(UINT message, WPARAM wp, LPARAM) override {
    if (message != WM_TIMER) return FALSE;
    KillTimer(Handle(), wp);
    PostMessageW(Handle(), WM_COMMAND, MAKEWPARAM(IDC_TEST_THROW, BN_CLICKED), 0);
    PostMessageW(Handle(), WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    return TRUE;
  }
};

TEST(Dialog, ModalDialogShowsJapaneseTextSurvivesAnExceptionAndEndsWithOk) {
  CSelfClosingDialog dialog;
  EXPECT_EQ(dialog.DoModal(nullptr), IDOK);
  EXPECT_EQ(dialog.initialText, "日本語の入力欄");
  EXPECT_EQ(dialog.textAfterSet, L"新しい値：東京");
  EXPECT_EQ(dialog.textAtOk, "新しい値：東京");
  EXPECT_EQ(dialog.throws, 1);
  EXPECT_EQ(dialog.Handle(), nullptr);

  CDialog missing(IDD_TEST_MISSING);
  EXPECT_EQ(missing.DoModal(nullptr), -1);
}

TEST(Dialog, ModelessDialogGivesItsControlsAndCancelDestroysIt) {
  CDialog dialog(IDD_TEST_DIALOG);
  ASSERT_TRUE(dialog.Create(nullptr));
  HWND hwnd = dialog.Handle();
  ASSERT_TRUE(IsWindow(hwnd));
  EXPECT_EQ(dialog.GetItemText(IDC_TEST_EDIT), "日本語の入力欄");
  dialog.EnableItem(IDOK, false);
  EXPECT_FALSE(IsWindowEnabled(dialog.Item(IDOK)));
  EXPECT_EQ(dialog.Item(9999), nullptr);
  EXPECT_EQ(dialog.GetItemText(9999), "");

  SendMessageW(hwnd, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
  EXPECT_FALSE(IsWindow(hwnd));
  EXPECT_EQ(dialog.Handle(), nullptr);
}

// Presses the sheet's OK from a timer; refuses the first apply, which must keep the sheet open.
class CRefusingPage : public CPropertyPage {
 public:
  CRefusingPage() : CPropertyPage(IDD_TEST_PAGE, "一般") {}
  int applies = 0;
  int activations = 0;
  std::string text;

 protected:
  bool OnInitDialog() override {
    PressOkSoon();
    return true;
  }
  bool OnSetActive() override {
    ++activations;
    return true;
  }
  bool OnApply() override {
    text = GetItemText(IDC_TEST_EDIT);
    if (++applies == 1) {
      PressOkSoon();
      return false;
    }
    return true;
  }
  INT_PTR OnMessage(UINT message, WPARAM wp, LPARAM) override {
    if (message != WM_TIMER) return FALSE;
    KillTimer(Handle(), wp);
    PostMessageW(GetParent(Handle()), PSM_PRESSBUTTON, PSBTN_OK, 0);
    return TRUE;
  }

 private:
  void PressOkSoon() { SetTimer(Handle(), 1, 20, nullptr); }
};

TEST(PropertySheets, RefusedApplyKeepsTheSheetOpenUntilEveryPageAccepts) {
  CRefusingPage first;
  CPropertyPage second(IDD_TEST_PAGE);
  CPropertySheet sheet("設定");
  sheet.AddPage(first);
  sheet.AddPage(second);
  EXPECT_GT(sheet.DoModal(nullptr), 0);
  EXPECT_EQ(first.applies, 2);
  EXPECT_GE(first.activations, 1);
  EXPECT_EQ(first.text, "設定値");
}

// The text a message box shows, read by a timer that then presses OK.
std::wstring g_boxText;

BOOL CALLBACK FindDialogOfThread(HWND hwnd, LPARAM found) {
  wchar_t cls[16] = {};
  GetClassNameW(hwnd, cls, 16);
  if (std::wstring(cls) != L"#32770" || !IsWindowVisible(hwnd)) return TRUE;
  *reinterpret_cast<HWND*>(found) = hwnd;
  return FALSE;
}

void CALLBACK ReadAndCloseMessageBox(HWND, UINT, UINT_PTR id, DWORD) {
  HWND box = nullptr;
  EnumThreadWindows(GetCurrentThreadId(), &FindDialogOfThread, reinterpret_cast<LPARAM>(&box));
  if (!box) return;
  KillTimer(nullptr, id);
  wchar_t text[128] = {};
  GetDlgItemTextW(box, 0xFFFF, text, 128);  // the message's static control
  g_boxText = text;
  PostMessageW(box, WM_COMMAND, IDOK, 0);
}

TEST(MessageBoxes, ShowsCodePage932TextThroughTheWideCall) {
  g_boxText.clear();
  SetTimer(nullptr, 0, 30, &ReadAndCloseMessageBox);
  EXPECT_EQ(ShowMessage(nullptr, "初期化に失敗しました。", "Tidewatch", MB_OK | MB_ICONERROR),
            IDOK);
  EXPECT_EQ(g_boxText, L"初期化に失敗しました。");
}

}  // namespace
}  // namespace tw
