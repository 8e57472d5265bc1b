#pragma once
// The user's keywords, their file "keyword.xml", the trie built from them, and the text form
// the keyword dialog shows.
#include <memory>
#include <string>
#include <vector>

#include "model/data_file.h"
#include "ranking/parsed_text.h"

namespace tw {

struct CKeyword {
  int level = 1;
  std::string text;  // code page 932, matched byte for byte
};

class CKeywordList {
 public:
  void Clear();
  // Appends a keyword; one with empty text is discarded.
  void Add(CKeyword keyword);
  const std::vector<CKeyword>& Keywords() const { return keywords_; }

  // The trie of the current keywords, built on first use after a change. The tree is never
  // changed: a change of the list drops it, and holders of the old one keep it alive.
  std::shared_ptr<const CKeywordLevelTree> GetTree() const;

  // Replaces the list with the file's. A missing file gives an empty list; a damaged one is
  // moved aside and reported, then counts as missing; another root is reported and fails.
  bool Load(const std::wstring& path, const CDataFileReport& report);
  // Writes the list; the old file stays whole when that fails.
  bool Save(const std::wstring& path) const;

 private:
  std::vector<CKeyword> keywords_;
  mutable std::shared_ptr<const CKeywordLevelTree> tree_;
};

// The keyword dialog's text: cut at every "," (walking whole characters); each non-empty piece,
// blanks included, becomes a keyword of level 1.
std::vector<CKeyword> SplitKeywords(const std::string& text);
// The keywords' texts joined with "," in list order.
std::string JoinKeywords(const std::vector<CKeyword>& keywords);

}  // namespace tw
