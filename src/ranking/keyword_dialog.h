#pragma once
// The keyword dialog: one edit box with the keywords joined by commas. OK leaves the split
// keywords in Result(); the caller commits them (CommitKeywords) and re-ranks the views.
#include <vector>

#include "framework/dialog.h"
#include "ranking/keyword_list.h"

namespace tw {

class CKeywordDialog : public CDialog {
 public:
  explicit CKeywordDialog(std::vector<CKeyword> keywords);

  // The keywords as the user confirmed them (valid after IDOK).
  const std::vector<CKeyword>& Result() const { return keywords_; }

 protected:
  bool OnInitDialog() override;
  void OnOK() override;

 private:
  std::vector<CKeyword> keywords_;
};

}  // namespace tw
