#pragma once
// The stored settings of one view: its name, the sites it shows, its window behaviour and its
// skin settings; with their XML form inside the preferences file.
#include <string>
#include <vector>

#include "framework/xml.h"
#include "skins/skin_manager.h"
#include "skins/skin_setting.h"

namespace tw {

class CRankedViewPreference {
 public:
  std::string name;                  // the window title, code page 932
  std::vector<std::string> siteIds;  // in display order
  int zOrder = 1;                    // 0 bottom-most, 1 normal, 2 top-most
  int noneZOrder = 3;                // the same when the view has no rows; 3 = as zOrder
  bool viewTaskbar = false;
  int browser = 0;  // 0 the standard browser, 1 browserCommand
  std::string browserCommand;
  bool lock = false;
  bool enableOverlap = false;
  int assignRate = 3;  // 0..10
  CSkinSetting skin;

  // Everything of other.
  void CopyFrom(const CRankedViewPreference& other) { *this = other; }
  // The settings of other, but not the name, the sites or the position on the screen.
  void CopySettingsFrom(const CRankedViewPreference& other);

  // Reads a RankedViewPreference element (prefix "tide" bound to its namespace); values
  // outside their range fall back, and the skin settings are read through the skin they name
  // (the default skin when that one is missing).
  void Read(const CXmlNode& element, const CSkinManager& skins);
  // Appends a RankedViewPreference element to parent, in the parent's namespace.
  void Write(const CXmlNode& parent, const CSkinManager& skins) const;
};

}  // namespace tw
