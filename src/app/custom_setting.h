#pragma once
// The distributor's customisation: "custom.xml" beside the executable can rename the program
// and give it its own instance mutex and registry key.
#include <string>

namespace tw {

class CCustomSetting {
 public:
  CCustomSetting() { SetDefaults(); }

  void SetDefaults();
  // Reads the file; a missing or broken file keeps the defaults. Never fails.
  bool Load(const std::wstring& path);

  bool customised = false;
  std::string name;          // the program's name in messages
  std::string copyright;
  std::string producer;
  std::string version;
  std::string displayTitle;  // about box title
  std::wstring mutexName;    // single-instance mutex
  std::string companyName;   // registry key and default settings folder
  std::string applicationName;
};

}  // namespace tw
