#include "ranking/parsed_text.h"

#include <algorithm>

#include "feeds/markup_tokenizer.h"
#include "framework/text.h"

namespace tw {
namespace {

// Collects the tokens of a fragment: text and resolved entities pile up until a tag or the
// end, and are then scanned as one run so that a keyword may span an entity.
class CMarkupCollector : public CMarkupHandler {
 public:
  CMarkupCollector(const CKeywordLevelTree* tree, CParsedText::Items& out)
      : tree_(tree), out_(out) {}

  bool OnText(const std::string& text) override {
    pending_ += text;
    return true;
  }
  bool OnEntity(const std::string&, const std::string& decoded) override {
    pending_ += decoded;
    return true;
  }
  bool OnStartElement(const std::string& name) override {
    Flush();
    out_.push_back(std::make_shared<CStartElementParsedItem>(name));
    return true;
  }
  bool OnEndElement(const std::string& name) override {
    Flush();
    out_.push_back(std::make_shared<CEndElementParsedItem>(name));
    return true;
  }
  void Flush() {
    if (pending_.empty()) return;
    ScanKeywords(pending_, tree_, out_);
    pending_.clear();
  }

 private:
  const CKeywordLevelTree* tree_;
  CParsedText::Items& out_;
  std::string pending_;
};

}  // namespace

CParsedText::CParsedText(Kind kind, Items items) : kind_(kind), items_(std::move(items)) {
  for (const auto& item : items_) {
    if (item->GetKind() == CParsedItem::kKeyword)
      keywordTexts_.push_back(static_cast<const CKeywordParsedItem&>(*item).text);
  }
  std::sort(keywordTexts_.begin(), keywordTexts_.end());
  keywordTexts_.erase(std::unique(keywordTexts_.begin(), keywordTexts_.end()), keywordTexts_.end());
}

bool CParsedText::Accept(CParsedTextVisitor& visitor) const {
  for (const auto& item : items_) {
    if (!item->Accept(visitor)) return false;
  }
  return true;
}

void ScanKeywords(std::string_view text, const CKeywordLevelTree* tree, CParsedText::Items& out) {
  const size_t n = text.size();
  size_t pending = 0;  // start of the plain text not yet emitted
  size_t pos = 0;
  while (pos < n) {
    auto b = static_cast<unsigned char>(text[pos]);
    const size_t width = IsLeadByte932(b) && pos + 1 < n ? 2 : 1;
    // Most positions begin no keyword: a test of their first bytes spares the tree walk.
    const bool canStart = tree && tree->MayMatch(text.substr(pos));
    if (canStart) {
      int level = 0;
      if (size_t length = tree->Match(text.substr(pos), &level)) {
        if (pos > pending)
          out.push_back(
              std::make_shared<CTextParsedItem>(std::string(text.substr(pending, pos - pending))));
        out.push_back(
            std::make_shared<CKeywordParsedItem>(level, std::string(text.substr(pos, length))));
        pos += length;
        pending = pos;
        continue;
      }
    }
    pos += width;
  }
  if (n > pending)
    out.push_back(std::make_shared<CTextParsedItem>(std::string(text.substr(pending))));
}

CParsedTextPtr ParseText(std::string_view text, const CKeywordLevelTree* tree) {
  CParsedText::Items items;
  ScanKeywords(text, tree, items);
  return std::make_shared<const CParsedText>(CParsedText::kPlain, std::move(items));
}

CParsedTextPtr ParseMarkup(const std::string& text, const CKeywordLevelTree* tree) {
  CParsedText::Items items;
  CMarkupCollector collector(tree, items);
  Tokenize(text, collector);
  collector.Flush();
  return std::make_shared<const CParsedText>(CParsedText::kMarkup, std::move(items));
}

}  // namespace tw
