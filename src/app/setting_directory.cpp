#include "app/setting_directory.h"

#include <windows.h>
#include <shlobj.h>

#include "app/directory_select_dialog.h"
#include "framework/files.h"
#include "framework/message_box.h"
#include "framework/registry.h"
#include "framework/text.h"

namespace tw {

CSettingDirectory::CSettingDirectory(std::string productName, std::string companyName,
                                     std::string applicationName)
    : productName_(std::move(productName)),
      companyName_(std::move(companyName)),
      applicationName_(std::move(applicationName)) {}

bool CSettingDirectory::GetRegistryKey(std::wstring& key) const {
  key = L"Software\\" + ToWide(companyName_) + L"\\" + ToWide(applicationName_) + L"\\" + keyName_;
  return true;
}

std::wstring CSettingDirectory::GetDefaultDirectory() const {
  wchar_t documents[MAX_PATH] = L"";
  SHGetFolderPathW(nullptr, CSIDL_PERSONAL, nullptr, SHGFP_TYPE_CURRENT, documents);
  return JoinPath(JoinPath(documents, ToWide(companyName_)), ToWide(applicationName_));
}

bool CSettingDirectory::AskRetry() const {
  std::string text = "設定ファイルを保存するフォルダを指定しないと" + productName_ +
                     "を開始できません。\r\n指定しますか？";
  return ShowMessage(nullptr, text, "確認", MB_YESNO | MB_ICONQUESTION) == IDYES;
}

bool CSettingDirectory::SelectDirectory(std::wstring& path) const {
  CDirectorySelectDialog dialog(path);
  if (dialog.DoModal(nullptr) != IDOK) return false;
  path = dialog.Path();
  return true;
}

bool CSettingDirectory::Prepare() {
  std::wstring keyPath;
  if (!GetRegistryKey(keyPath)) return false;
  CRegistryKey key;
  if (!key.Create(HKEY_CURRENT_USER, keyPath, KEY_ALL_ACCESS)) return false;
  std::wstring folder;
  switch (key.ReadString(valueName_, folder)) {
    case RegistryRead::kOk:
      break;
    case RegistryRead::kUnreadable:
      return false;
    case RegistryRead::kAbsent:
    case RegistryRead::kWrongType:  // a value of another type counts as absent
      folder = GetDefaultDirectory();
      while (!SelectDirectory(folder)) {
        if (!AskRetry()) return false;
      }
      key.SetString(valueName_, folder);
      break;
  }
  // A folder that cannot be created is not reported here: the file loads fail instead.
  CreateDirectories(folder);
  directory_ = folder;
  return true;
}

bool CSettingDirectory::Forget() {
  std::wstring keyPath;
  if (!GetRegistryKey(keyPath)) return false;
  CRegistryKey key;
  if (!key.Open(HKEY_CURRENT_USER, keyPath, KEY_ALL_ACCESS)) return false;
  return key.DeleteValue(valueName_);
}

}  // namespace tw
