#pragma once
// The site file "sites.xml": every site with its sources and items.
#include <string>

#include "model/data_file.h"
#include "model/site_list.h"

namespace tw {

// Replaces the sites of list with those of the file, converting the oldest form. A missing
// file gives no sites; a damaged one is moved aside and reported, then counts as missing; a
// file with another root is reported and fails. A site whose id is empty or already taken
// gets a fresh id instead of being dropped. Channel data is kept unchanged, as UTF-8.
bool LoadSites(CSiteList& list, const std::wstring& path, const CDataFileReport& report);
// Writes every site; the old file stays whole when that fails.
bool SaveSites(const CSiteList& list, const std::wstring& path);

}  // namespace tw
