#pragma once
// All skins of the program, loaded at start-up from the "skin" folder beside the program.
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "skins/skin.h"

namespace tw {

class CSkinManager {
 public:
  // Shows a message to the user (code page 932 text); tests capture it instead.
  using CReport = std::function<void(const std::string& textCp932)>;

  // Loads every skin of the "skin" folder beside the program.
  bool Load(const CReport& report);
  // Loads every "*.xml" skin of folder, in name order. Files that yield no skin are skipped.
  // Fails, after reporting it, when two skins share an id or no skin has the default id.
  bool LoadFolder(const std::wstring& folder, const CReport& report);

  // The skin with this id; the default skin for an id that no skin has (none when even that
  // is missing).
  CSkinPtr Find(const std::string& id) const;
  const std::vector<CSkinPtr>& Skins() const { return skins_; }

 private:
  std::vector<CSkinPtr> skins_;  // in load order
  std::map<std::string, CSkinPtr> byId_;
};

// The "skin" folder beside the running program.
std::wstring ProgramSkinFolder();

}  // namespace tw
