#pragma once
// Giving items their parsed title and description: when they are read from file, for the
// items an update just fetched, and for every item after the keywords changed.
#include <memory>
#include <string>
#include <vector>

#include "model/item.h"
#include "model/site_list.h"
#include "ranking/keyword_list.h"

namespace tw {

// Parses the title as plain text, and the description as plain text unless it is empty and
// the encoded description is not, which is then parsed as markup. onlyMissing keeps the
// parsed texts the item already has.
void ParseItemTexts(CItem& item, const CKeywordLevelTree* tree, bool onlyMissing = false);

// The keyword-match step of an update: every item lacking a parsed title or description gets
// the missing one. Runs on a worker thread over items no site holds yet; tree is the one taken
// when the step started.
void MatchKeywords(const std::vector<CItemPtr>& items, const CKeywordLevelTree* tree);

// Re-parses the title and description of every item of every site with the list's tree.
void RescanKeywords(const CKeywordList& keywords, const CSiteList& sites);

// After the keyword dialog was confirmed: the list becomes keywords, is saved to path, and
// every item is re-parsed; the caller then has the views rank in full. False when the file
// could not be written (the new list is in use all the same).
bool CommitKeywords(CKeywordList& list, const std::vector<CKeyword>& keywords,
                    const CSiteList& sites, const std::wstring& path);

}  // namespace tw
