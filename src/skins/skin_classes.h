#pragma once
// The skins that add nothing to the common part: plain colour rows, and the see-through
// variant.
#include "skins/skin.h"

namespace tw {

class CSimpleSkin : public CSkin {
 public:
  CSimpleSkin(const CXmlNode& skin, std::wstring path) : CSkin(skin, std::move(path)) {}
};

class CTransparentSkin : public CSkin {
 public:
  CTransparentSkin(const CXmlNode& skin, std::wstring path) : CSkin(skin, std::move(path)) {}
};

}  // namespace tw
