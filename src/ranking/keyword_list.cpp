#include "ranking/keyword_list.h"

#include "framework/decimal.h"
#include "framework/text.h"
#include "model/data_namespaces.h"

namespace tw {

void CKeywordList::Clear() {
  keywords_.clear();
  tree_.reset();
}

void CKeywordList::Add(CKeyword keyword) {
  if (keyword.text.empty()) return;
  keywords_.push_back(std::move(keyword));
  tree_.reset();
}

std::shared_ptr<const CKeywordLevelTree> CKeywordList::GetTree() const {
  if (!tree_) {
    auto tree = std::make_shared<CKeywordLevelTree>();
    for (const CKeyword& k : keywords_) tree->Insert(k.text, k.level);
    tree->Finish();
    tree_ = std::move(tree);
  }
  return tree_;
}

bool CKeywordList::Load(const std::wstring& path, const CDataFileReport& report) {
  // Read into a new list first: a file that fails to load leaves the current list as it is.
  std::vector<CKeyword> read;
  bool ok = ReadDataFile(
      path, kNsData1Old, L"Keywords", report,
      [&](const CXmlNode& root) {
        for (const CXmlNode& node : root.SelectNodes(L"tide:Keyword")) {
          CKeyword keyword;
          if (CXmlNode level = node.SelectSingle(L"tide:Level"))
            keyword.level = ParseDecimal(level.Text());
          if (CXmlNode text = node.SelectSingle(L"tide:Text"))
            keyword.text = ToCp932(ExactText(text));
          read.push_back(std::move(keyword));
        }
      },
      {});
  if (!ok) return false;
  Clear();
  for (CKeyword& keyword : read) Add(std::move(keyword));
  return true;
}

bool CKeywordList::Save(const std::wstring& path) const {
  CXmlDocument doc;
  const std::wstring& ns = kNsData1Old;
  CXmlNode root = doc.CreateElement(L"Keywords", ns);
  doc.SetRoot(root);
  for (const CKeyword& k : keywords_) {
    CXmlNode node = root.AppendElement(L"Keyword", ns);
    node.AppendTextElement(L"Level", ns, std::to_wstring(k.level));
    node.AppendTextElement(L"Text", ns, ToWide(k.text));
  }
  return SaveDataFile(doc, path);
}

std::vector<CKeyword> SplitKeywords(const std::string& text) {
  std::vector<CKeyword> keywords;
  size_t start = 0;
  for (size_t i = 0; i <= text.size();) {
    if (i == text.size() || text[i] == ',') {
      if (i > start) keywords.push_back(CKeyword{1, text.substr(start, i - start)});
      start = ++i;
      continue;
    }
    i += IsLeadByte932(static_cast<unsigned char>(text[i])) && i + 1 < text.size() ? 2 : 1;
  }
  return keywords;
}

std::string JoinKeywords(const std::vector<CKeyword>& keywords) {
  std::string text;
  for (size_t i = 0; i < keywords.size(); ++i) {
    if (i > 0) text += ',';
    text += keywords[i].text;
  }
  return text;
}

}  // namespace tw
