#pragma once
// The URIs of skin files: the namespace of their elements, the three class URIs and the ids
// the program itself refers to. The base is the one the data files use; the namespace path
// keeps its historical spelling "applictions".
#include <string>

namespace tw {

inline const std::wstring kSkinUriBase = L"http://www.velmarco.jp";
inline const std::wstring kSkinNamespace = kSkinUriBase + L"/applictions/tidewatch/skin/1";

inline const std::wstring kSimpleSkinClass =
    kSkinUriBase + L"/applications/tidewatch/skin/classes/simpleskin";
inline const std::wstring kTransparentSkinClass =
    kSkinUriBase + L"/applications/tidewatch/skin/classes/transparentskin";
inline const std::wstring kPaintSkinClass =
    kSkinUriBase + L"/applications/tidewatch/skin/classes/paintskin";

// Skin ids are program text (code page 932); these two are ASCII.
inline const std::string kDefaultSkinId =
    "http://www.velmarco.jp/applications/tidewatch/skin/id/default";
// The id that views converted from the oldest preferences form name.
inline const std::string kSimpleSkinId =
    "http://www.velmarco.jp/applications/tidewatch/skin/id/simple";

}  // namespace tw
