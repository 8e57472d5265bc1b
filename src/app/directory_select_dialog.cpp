#include "app/directory_select_dialog.h"

#include <shlobj.h>

#include "framework/com.h"
#include "resources/resource.h"

namespace tw {
namespace {

// Selects the start folder once the browser has initialised.
int CALLBACK BrowseCallback(HWND hwnd, UINT message, LPARAM, LPARAM data) {
  if (message == BFFM_INITIALIZED)
    SendMessageW(hwnd, BFFM_SETSELECTIONW, TRUE, data);
  return 0;
}

}  // namespace

CDirectorySelectDialog::CDirectorySelectDialog(std::wstring path)
    : CDialog(IDD_DIRECTORY_SELECT), path_(std::move(path)) {}

bool CDirectorySelectDialog::OnInitDialog() {
  SetItemTextW(IDC_DIRECTORY_PATH, path_);
  return true;
}

bool CDirectorySelectDialog::OnCommand(int id, int code, HWND control) {
  if (id == IDC_DIRECTORY_BROWSE) {
    Browse();
    return true;
  }
  return CDialog::OnCommand(id, code, control);
}

void CDirectorySelectDialog::OnOK() {
  path_ = GetItemTextW(IDC_DIRECTORY_PATH);  // taken as typed; the loads report problems
  EndDialog(IDOK);
}

void CDirectorySelectDialog::Browse() {
  std::wstring current = GetItemTextW(IDC_DIRECTORY_PATH);
  BROWSEINFOW info{};
  info.hwndOwner = Handle();
  info.ulFlags = BIF_RETURNONLYFSDIRS;
  info.lpfn = BrowseCallback;
  info.lParam = reinterpret_cast<LPARAM>(current.c_str());
  PIDLIST_ABSOLUTE chosen = SHBrowseForFolderW(&info);
  if (!chosen) return;
  wchar_t path[MAX_PATH];
  if (SHGetPathFromIDListW(chosen, path)) SetItemTextW(IDC_DIRECTORY_PATH, path);
  CoTaskMemFree(chosen);
}

}  // namespace tw
