#include "framework/property_sheet.h"

#include <commctrl.h>
#include <prsht.h>

#include "framework/text.h"
#include "framework/window.h"

namespace tw {

void CPropertyPage::SetModified(bool modified) {
  if (!hwnd_) return;
  HWND sheet = GetParent(hwnd_);
  SendMessageW(sheet, modified ? PSM_CHANGED : PSM_UNCHANGED, reinterpret_cast<WPARAM>(hwnd_), 0);
}

INT_PTR CALLBACK CPropertyPage::Procedure(HWND hwnd, UINT message, WPARAM wp, LPARAM lp) {
  if (message == WM_INITDIALOG) {
    // lp is the sheet's copy of the PROPSHEETPAGEW; its lParam holds the page object.
    LPARAM page = reinterpret_cast<const PROPSHEETPAGEW*>(lp)->lParam;
    reinterpret_cast<CPropertyPage*>(page)->hwnd_ = hwnd;
    SetWindowLongPtrW(hwnd, DWLP_USER, page);
  }
  auto* self = reinterpret_cast<CPropertyPage*>(GetWindowLongPtrW(hwnd, DWLP_USER));
  if (!self) return FALSE;
  if (message == WM_NCDESTROY) {
    SetWindowLongPtrW(hwnd, DWLP_USER, 0);
    self->hwnd_ = nullptr;
    return FALSE;
  }
  try {
    return self->Dispatch(message, wp, lp);
  } catch (...) {
    return FALSE;
  }
}

INT_PTR CPropertyPage::Dispatch(UINT message, WPARAM wp, LPARAM lp) {
  switch (message) {
    case WM_INITDIALOG:
      return OnInitDialog() ? TRUE : FALSE;
    case WM_COMMAND:
      return OnCommand(LOWORD(wp), HIWORD(wp), reinterpret_cast<HWND>(lp)) ? TRUE : FALSE;
    case WM_NOTIFY: {
      // Only the sheet's PSN_ codes are taken here; controls' notifications go on.
      const auto* header = reinterpret_cast<const NMHDR*>(lp);
      if (header && Notify(*header)) return TRUE;
      break;
    }
    default:
      break;
  }
  return OnMessage(message, wp, lp);
}

// Sheet notifications answer through DWLP_MSGRESULT.
INT_PTR CPropertyPage::Notify(const NMHDR& header) {
  LONG_PTR result = 0;
  switch (header.code) {
    case PSN_SETACTIVE:
      result = OnSetActive() ? 0 : -1;
      break;
    case PSN_KILLACTIVE:
      result = OnKillActive() ? FALSE : TRUE;
      break;
    case PSN_APPLY: {
      // A failed apply must not close the sheet as if the settings were saved.
      bool ok = false;
      try {
        ok = OnApply();
      } catch (...) {
      }
      result = ok ? PSNRET_NOERROR : PSNRET_INVALID_NOCHANGEPAGE;
      break;
    }
    case PSN_RESET:
      OnReset();
      break;
    default:
      return FALSE;
  }
  SetWindowLongPtrW(hwnd_, DWLP_MSGRESULT, result);
  return TRUE;
}

INT_PTR CPropertySheet::DoModal(HWND owner, int startPage) {
  if (pages_.empty()) return -1;
  INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_TAB_CLASSES | ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&controls);

  std::vector<PROPSHEETPAGEW> pages(pages_.size());
  for (size_t i = 0; i < pages_.size(); ++i) {
    CPropertyPage& page = *pages_[i];
    PROPSHEETPAGEW& p = pages[i];
    p.dwSize = sizeof(p);
    p.dwFlags = PSP_DEFAULT;
    p.hInstance = ModuleInstance();
    p.pszTemplate = MAKEINTRESOURCEW(page.resourceId_);
    p.pfnDlgProc = &CPropertyPage::Procedure;
    p.lParam = reinterpret_cast<LPARAM>(&page);
    if (!page.title_.empty()) {
      page.wideTitle_ = ToWide(page.title_);
      p.dwFlags |= PSP_USETITLE;
      p.pszTitle = page.wideTitle_.c_str();
    }
  }
  std::wstring caption = ToWide(caption_);
  PROPSHEETHEADERW header{};
  header.dwSize = sizeof(header);
  header.dwFlags = PSH_PROPSHEETPAGE | PSH_NOCONTEXTHELP | (applyButton_ ? 0 : PSH_NOAPPLYNOW);
  header.hwndParent = owner;
  header.hInstance = ModuleInstance();
  header.pszCaption = caption.c_str();
  header.nPages = static_cast<UINT>(pages.size());
  header.nStartPage =
      startPage >= 0 && static_cast<size_t>(startPage) < pages.size() ? startPage : 0;
  header.ppsp = pages.data();
  return PropertySheetW(&header);
}

}  // namespace tw
