#pragma once
// Small skin files for the skin tests.
#include <string>

#include "common/test_support.h"
#include "framework/text.h"
#include "skins/skin_uris.h"

namespace tw::test {

// A skin file (UTF-8) of the given class URI path ("simpleskin", …), id and inner XML (code
// page 932, as the test's literals are).
inline std::string SkinXml(const std::string& cls, const std::string& id, const std::string& body) {
  return Cp932ToUtf8(
      "<?xml version='1.0' encoding='UTF-8'?>\n"
      "<Skins xmlns='" +
      ToUtf8(kSkinNamespace) +
      "'>"
      "<Skin class='http://www.velmarco.jp/applications/tidewatch/skin/classes/" +
      cls + "' id='" + id + "'>" + body + "</Skin></Skins>");
}

inline std::wstring WriteSkin(const CTempFolder& dir, const std::wstring& name,
                              const std::string& xml) {
  std::wstring path = dir.File(name);
  WriteUtf8(path, xml);
  return path;
}

}  // namespace tw::test
