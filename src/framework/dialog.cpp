#include "framework/dialog.h"

#include "framework/text.h"
#include "framework/window.h"

namespace tw {

HWND CDialogBase::Item(int id) const { return hwnd_ ? GetDlgItem(hwnd_, id) : nullptr; }

std::string CDialogBase::GetItemText(int id) const { return ToCp932(GetItemTextW(id)); }

std::wstring CDialogBase::GetItemTextW(int id) const {
  HWND item = Item(id);
  if (!item) return {};
  std::wstring text(static_cast<size_t>(GetWindowTextLengthW(item)) + 1, L'\0');
  int n = GetWindowTextW(item, text.data(), static_cast<int>(text.size()));
  text.resize(static_cast<size_t>(n > 0 ? n : 0));
  return text;
}

void CDialogBase::SetItemText(int id, const std::string& textCp932) {
  SetItemTextW(id, ToWide(textCp932));
}

void CDialogBase::SetItemTextW(int id, const std::wstring& text) {
  if (HWND item = Item(id)) SetWindowTextW(item, text.c_str());
}

void CDialogBase::EnableItem(int id, bool enable) {
  if (HWND item = Item(id)) EnableWindow(item, enable);
}

CDialog::~CDialog() {
  if (hwnd_ && !modal_) {
    SetWindowLongPtrW(hwnd_, DWLP_USER, 0);
    DestroyWindow(hwnd_);
  }
}

INT_PTR CDialog::DoModal(HWND owner) {
  if (hwnd_) return -1;
  modal_ = true;
  return DialogBoxParamW(ModuleInstance(), MAKEINTRESOURCEW(resourceId_), owner, &Procedure,
                         reinterpret_cast<LPARAM>(this));
}

bool CDialog::Create(HWND owner) {
  if (hwnd_) return false;
  modal_ = false;
  HWND hwnd = CreateDialogParamW(ModuleInstance(), MAKEINTRESOURCEW(resourceId_), owner, &Procedure,
                                 reinterpret_cast<LPARAM>(this));
  return hwnd != nullptr && hwnd_ == hwnd;
}

void CDialog::Destroy() {
  if (hwnd_ && !modal_) DestroyWindow(hwnd_);
}

bool CDialog::TranslateDialogMessage(MSG& msg) { return hwnd_ && IsDialogMessageW(hwnd_, &msg); }

void CDialog::EndDialog(INT_PTR result) {
  if (!hwnd_) return;
  if (modal_) {
    ::EndDialog(hwnd_, result);
  } else {
    DestroyWindow(hwnd_);
  }
}

bool CDialog::OnCommand(int id, int code, HWND control) {
  switch (id) {
    case IDOK:
      OnOK();
      return true;
    case IDCANCEL:
      OnCancel();
      return true;
    default:
      return false;
  }
}

INT_PTR CALLBACK CDialog::Procedure(HWND hwnd, UINT message, WPARAM wp, LPARAM lp) {
  if (message == WM_INITDIALOG && lp) {
    reinterpret_cast<CDialog*>(lp)->hwnd_ = hwnd;
    SetWindowLongPtrW(hwnd, DWLP_USER, lp);
  }
  auto* self = reinterpret_cast<CDialog*>(GetWindowLongPtrW(hwnd, DWLP_USER));
  if (!self) return FALSE;
  if (message == WM_NCDESTROY) {
    SetWindowLongPtrW(hwnd, DWLP_USER, 0);
    self->hwnd_ = nullptr;
    return FALSE;
  }
  try {
    return self->Dispatch(message, wp, lp);
  } catch (...) {
    // A dialog whose set-up failed is closed rather than shown half-filled.
    if (message == WM_INITDIALOG) self->EndDialog(-1);
    return FALSE;
  }
}

INT_PTR CDialog::Dispatch(UINT message, WPARAM wp, LPARAM lp) {
  switch (message) {
    case WM_INITDIALOG:
      return OnInitDialog() ? TRUE : FALSE;
    case WM_COMMAND:
      return OnCommand(LOWORD(wp), HIWORD(wp), reinterpret_cast<HWND>(lp)) ? TRUE : FALSE;
    case WM_DESTROY:
      OnDestroy();
      return FALSE;
    default:
      return OnMessage(message, wp, lp);
  }
}

}  // namespace tw
