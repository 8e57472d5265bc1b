#pragma once
// Namespace URIs of the program's data files: one base and a path per file generation.
// The misspelt "applictions" is how the older generations were written and must stay.
#include <string>

namespace tw {

inline const std::wstring kNsBase = L"http://www.velmarco.jp";
inline const std::wstring kNsData1Old = kNsBase + L"/applictions/tidewatch/data/1";
inline const std::wstring kNsData2 = kNsBase + L"/applictions/tidewatch/data/2";
inline const std::wstring kNsData3 = kNsBase + L"/applications/tidewatch/data/3";
inline const std::wstring kNsData1New = kNsBase + L"/applications/tidewatch/data/1";
// The program's application URI; the default name of its single-instance mutex.
inline const std::wstring kApplicationUri = kNsBase + L"/applications/tidewatch";

// "xmlns:tide='<uri>'" for SelectionNamespaces.
inline std::wstring TideSelection(const std::wstring& uri) { return L"xmlns:tide='" + uri + L"'"; }

}  // namespace tw
