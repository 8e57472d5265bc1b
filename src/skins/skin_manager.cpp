#include "skins/skin_manager.h"

#include <windows.h>

#include <algorithm>
#include <cwchar>

#include "framework/files.h"
#include "framework/logger.h"
#include "framework/text.h"
#include "skins/skin_factory.h"
#include "skins/skin_uris.h"

namespace tw {
namespace {

// Names of the files in folder that end in ".xml" (a wildcard search alone also finds longer
// extensions through their short names), sorted without regard to case.
std::vector<std::wstring> XmlFilesIn(const std::wstring& folder) {
  std::vector<std::wstring> names;
  WIN32_FIND_DATAW data;
  HANDLE find = FindFirstFileW((folder + L"\\*.xml").c_str(), &data);
  if (find == INVALID_HANDLE_VALUE) return names;
  do {
    if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
    std::wstring name = data.cFileName;
    if (name.size() >= 4 && _wcsicmp(name.c_str() + name.size() - 4, L".xml") == 0) {
      names.push_back(name);
    }
  } while (FindNextFileW(find, &data));
  FindClose(find);
  std::sort(names.begin(), names.end(), [](const std::wstring& a, const std::wstring& b) {
    return _wcsicmp(a.c_str(), b.c_str()) < 0;
  });
  return names;
}

}  // namespace

std::wstring ProgramSkinFolder() { return JoinPath(ModuleFolder(), L"skin"); }

bool CSkinManager::Load(const CReport& report) { return LoadFolder(ProgramSkinFolder(), report); }

bool CSkinManager::LoadFolder(const std::wstring& folder, const CReport& report) {
  skins_.clear();
  byId_.clear();
  CLogger& info = GetLogger(0);
  info.Log("Find Skin File in %s\n", ToCp932(folder).c_str());
  for (const std::wstring& name : XmlFilesIn(folder)) {
    std::string path = ToCp932(folder + L"\\" + name);
    info.Log("Found Skin File %s\n", path.c_str());
    CSkinPtr skin = LoadSkin(folder + L"\\" + name);
    if (!skin) {
      GetLogger(1).Log("Failed Load Skin %s\n", path.c_str());
      continue;
    }
    info.Log("Succeeded Load Skin %s(ID=%s)\n", path.c_str(), skin->Id().c_str());
    if (byId_.count(skin->Id())) {
      report("スキンID(" + skin->Id() + ")が重なっています。");
      return false;
    }
    info.Log("Add Skin ID=%s\n", skin->Id().c_str());
    skins_.push_back(skin);
    byId_.emplace(skin->Id(), skin);
  }
  if (!byId_.count(kDefaultSkinId)) {
    report("デフォルトのスキンが存在しません。");
    return false;
  }
  return true;
}

CSkinPtr CSkinManager::Find(const std::string& id) const {
  auto it = byId_.find(id);
  if (it != byId_.end()) return it->second;
  it = byId_.find(kDefaultSkinId);
  return it != byId_.end() ? it->second : nullptr;
}

}  // namespace tw
