#pragma once
// Dialog 138: the settings folder, typed or picked with the shell's folder browser.
#include <string>

#include "framework/dialog.h"

namespace tw {

class CDirectorySelectDialog : public CDialog {
 public:
  explicit CDirectorySelectDialog(std::wstring path);
  const std::wstring& Path() const { return path_; }

 protected:
  bool OnInitDialog() override;
  bool OnCommand(int id, int code, HWND control) override;
  void OnOK() override;

 private:
  void Browse();

  std::wstring path_;
};

}  // namespace tw
