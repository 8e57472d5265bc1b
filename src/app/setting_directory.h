#pragma once
// Finds and remembers the settings folder: a string value in the registry under the
// customisation's company and application names, asked of the user when it is absent.
#include <string>

namespace tw {

class CSettingDirectory {
 public:
  CSettingDirectory(std::string productName, std::string companyName,
                    std::string applicationName);
  virtual ~CSettingDirectory() = default;

  // Yields the settings folder (created with its parents), or false when the user gives up or
  // the registry key cannot be opened.
  bool Prepare();
  // Deletes the remembered value so that the next start asks again; true when deleted.
  bool Forget();

  const std::wstring& Directory() const { return directory_; }

  // "Software\<company>\<application>\Directory" under HKEY_CURRENT_USER.
  virtual bool GetRegistryKey(std::wstring& key) const;
  // Documents folder \ company \ application.
  virtual std::wstring GetDefaultDirectory() const;
  // "…を開始できません。指定しますか？" — true for Yes.
  virtual bool AskRetry() const;
  // Lets the user choose a folder, pre-filled with path; false when cancelled.
  virtual bool SelectDirectory(std::wstring& path) const;

 protected:
  std::string productName_;
  std::string companyName_;
  std::string applicationName_;
  std::wstring keyName_ = L"Directory";
  std::wstring valueName_ = L"Preference";
  std::wstring directory_;
};

}  // namespace tw
