#pragma once
// Dialogs from resource templates: a modal or modeless CDialog whose procedure hands messages
// to virtual handlers and catches every exception, with control helpers that speak code page
// 932 and call the W functions.
#include <windows.h>

#include <string>

namespace tw {

// Control helpers shared by dialogs and property pages.
class CDialogBase {
 public:
  HWND Handle() const { return hwnd_; }
  HWND Item(int id) const;
  std::string GetItemText(int id) const;  // empty when the control does not exist
  std::wstring GetItemTextW(int id) const;
  void SetItemText(int id, const std::string& textCp932);
  void SetItemTextW(int id, const std::wstring& text);
  void EnableItem(int id, bool enable);

 protected:
  CDialogBase() = default;
  ~CDialogBase() = default;
  HWND hwnd_ = nullptr;
};

class CDialog : public CDialogBase {
 public:
  explicit CDialog(UINT resourceId) : resourceId_(resourceId) {}
  CDialog(const CDialog&) = delete;
  CDialog& operator=(const CDialog&) = delete;
  // Destroys a modeless dialog still open (without calling the handlers).
  virtual ~CDialog();

  // Runs the dialog modally; returns the EndDialog result, -1 when it cannot be made or its
  // OnInitDialog threw.
  INT_PTR DoModal(HWND owner);
  // Modeless: creates the dialog (shown when its template says WS_VISIBLE); false on failure.
  // The owner's message loop passes messages to TranslateDialogMessage.
  bool Create(HWND owner);
  void Destroy();
  // Keyboard navigation of a modeless dialog; true when msg was consumed.
  bool TranslateDialogMessage(MSG& msg);

  // Modal: ends the dialog with result. Modeless: destroys it.
  void EndDialog(INT_PTR result);

 protected:
  // Return true to let the system set the focus to the first control.
  virtual bool OnInitDialog() { return true; }
  // Return false to leave the command unhandled. The default sends IDOK and IDCANCEL to
  // OnOK and OnCancel.
  virtual bool OnCommand(int id, int code, HWND control);
  virtual void OnOK() { EndDialog(IDOK); }
  virtual void OnCancel() { EndDialog(IDCANCEL); }
  virtual void OnDestroy() {}
  // Every other message, with dialog-procedure meaning: TRUE when handled (results go through
  // DWLP_MSGRESULT). The default handles nothing.
  virtual INT_PTR OnMessage(UINT message, WPARAM wp, LPARAM lp) { return FALSE; }

 private:
  static INT_PTR CALLBACK Procedure(HWND hwnd, UINT message, WPARAM wp, LPARAM lp);
  INT_PTR Dispatch(UINT message, WPARAM wp, LPARAM lp);

  UINT resourceId_;
  bool modal_ = false;
};

}  // namespace tw
