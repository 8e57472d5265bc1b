#pragma once
// A title or description cut into plain-text runs, keyword hits and (for markup) element
// boundaries. Built once by a keyword scan and never changed; views draw it and the score
// calculator counts its keywords.
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "ranking/keyword_tree.h"

namespace tw {

using CKeywordLevelTree = CKeywordTree<int, 2>;

class CTextParsedItem;
class CKeywordParsedItem;
class CStartElementParsedItem;
class CEndElementParsedItem;

// Each operation returns false to stop the walk.
class CParsedTextVisitor {
 public:
  virtual ~CParsedTextVisitor() = default;
  virtual bool OnText(const CTextParsedItem& item) = 0;
  virtual bool OnKeyword(const CKeywordParsedItem& item) = 0;
  virtual bool OnStartElement(const CStartElementParsedItem& item) = 0;
  virtual bool OnEndElement(const CEndElementParsedItem& item) = 0;
};

class CParsedItem {
 public:
  enum Kind { kText = 0, kKeyword = 1, kStartElement = 2, kEndElement = 3 };
  virtual ~CParsedItem() = default;
  virtual Kind GetKind() const = 0;
  virtual bool Accept(CParsedTextVisitor& visitor) const = 0;
};

class CTextParsedItem : public CParsedItem {
 public:
  explicit CTextParsedItem(std::string text) : text(std::move(text)) {}
  Kind GetKind() const override { return kText; }
  bool Accept(CParsedTextVisitor& v) const override { return v.OnText(*this); }
  const std::string text;
};

class CKeywordParsedItem : public CParsedItem {
 public:
  CKeywordParsedItem(int level, std::string text) : level(level), text(std::move(text)) {}
  Kind GetKind() const override { return kKeyword; }
  bool Accept(CParsedTextVisitor& v) const override { return v.OnKeyword(*this); }
  const int level;
  const std::string text;  // the matched bytes
};

class CStartElementParsedItem : public CParsedItem {
 public:
  explicit CStartElementParsedItem(std::string name) : name(std::move(name)) {}
  Kind GetKind() const override { return kStartElement; }
  bool Accept(CParsedTextVisitor& v) const override { return v.OnStartElement(*this); }
  const std::string name;
};

class CEndElementParsedItem : public CParsedItem {
 public:
  explicit CEndElementParsedItem(std::string name) : name(std::move(name)) {}
  Kind GetKind() const override { return kEndElement; }
  bool Accept(CParsedTextVisitor& v) const override { return v.OnEndElement(*this); }
  const std::string name;
};

class CParsedText {
 public:
  enum Kind { kPlain = 0, kMarkup = 1 };
  using Items = std::vector<std::shared_ptr<const CParsedItem>>;

  CParsedText(Kind kind, Items items);

  Kind GetKind() const { return kind_; }
  const Items& GetItems() const { return items_; }
  // Calls the visitor for each item in order; false when it stopped the walk.
  bool Accept(CParsedTextVisitor& visitor) const;
  // The texts of the keyword hits, each once, sorted by bytes.
  const std::vector<std::string>& KeywordTexts() const { return keywordTexts_; }

 private:
  Kind kind_;
  Items items_;
  std::vector<std::string> keywordTexts_;
};

using CParsedTextPtr = std::shared_ptr<const CParsedText>;

// Appends the text and keyword items of a keyword scan of text (tree may be null: no
// keywords).
void ScanKeywords(std::string_view text, const CKeywordLevelTree* tree, CParsedText::Items& out);

// The whole text scanned for keywords (kind plain); an empty text gives no items.
CParsedTextPtr ParseText(std::string_view text, const CKeywordLevelTree* tree);
// An HTML fragment through the markup tokenizer (kind markup): the text between tags, with
// character entities replaced, is scanned for keywords; each tag becomes an element item;
// attributes are dropped.
CParsedTextPtr ParseMarkup(const std::string& text, const CKeywordLevelTree* tree);

}  // namespace tw
