#include "ranking/keyword_match.h"

#include "feeds/markup_tokenizer.h"
#include "ranking/site_items.h"

namespace tw {

void ParseItemTexts(CItem& item, const CKeywordLevelTree* tree, bool onlyMissing) {
  if (!onlyMissing || !item.parsedTitle) item.parsedTitle = ParseText(item.title, tree);
  if (!onlyMissing || !item.parsedDescription) {
    item.parsedDescription = ParsesEncodedDescription(item.description, item.encodedDescription)
                                 ? ParseMarkup(item.encodedDescription, tree)
                                 : ParseText(item.description, tree);
  }
}

void MatchKeywords(const std::vector<CItemPtr>& items, const CKeywordLevelTree* tree) {
  for (const CItemPtr& item : items) {
    if (item) ParseItemTexts(*item, tree, true);
  }
}

void RescanKeywords(const CKeywordList& keywords, const CSiteList& sites) {
  std::shared_ptr<const CKeywordLevelTree> tree = keywords.GetTree();
  for (const auto& [id, site] : sites) {
    ForEachItem(*site, [&tree](CItem& item) { ParseItemTexts(item, tree.get()); });
  }
}

bool CommitKeywords(CKeywordList& list, const std::vector<CKeyword>& keywords,
                    const CSiteList& sites, const std::wstring& path) {
  list.Clear();
  for (const CKeyword& k : keywords) list.Add(k);
  bool saved = list.Save(path);
  RescanKeywords(list, sites);
  return saved;
}

}  // namespace tw
