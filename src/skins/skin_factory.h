#pragma once
// Makes a skin object from a skin file.
#include <string>

#include "skins/skin.h"

namespace tw {

// The skin of a ".xml" skin file, of the class its hs:Skin element names; none when the file
// cannot be read, has no hs:Skin, names another class or breaks the format.
CSkinPtr LoadSkin(const std::wstring& path);

}  // namespace tw
