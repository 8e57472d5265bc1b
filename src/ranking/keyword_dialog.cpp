#include "ranking/keyword_dialog.h"

#include "resources/resource.h"

namespace tw {

CKeywordDialog::CKeywordDialog(std::vector<CKeyword> keywords)
    : CDialog(IDD_KEYWORD), keywords_(std::move(keywords)) {}

bool CKeywordDialog::OnInitDialog() {
  SetItemText(IDC_KEYWORD_EDIT, JoinKeywords(keywords_));
  return true;
}

void CKeywordDialog::OnOK() {
  keywords_ = SplitKeywords(GetItemText(IDC_KEYWORD_EDIT));
  EndDialog(IDOK);
}

}  // namespace tw
