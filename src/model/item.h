#pragma once
// One article and its identity across downloads.
#include <cstdint>
#include <memory>
#include <string>

#include "feeds/w3c_date.h"

namespace tw {

class CParsedText;
class CItemScore;

// The identity of an item: equal title, link (byte strings) and date value.
struct CItemKey {
  std::string title;
  std::string link;
  CW3CDate date;

  bool operator==(const CItemKey& o) const {
    return title == o.title && link == o.link && date == o.date;
  }
  bool operator!=(const CItemKey& o) const { return !(*this == o); }
};

struct CItemKeyHash {
  size_t operator()(const CItemKey& k) const {
    size_t h = std::hash<std::string>()(k.title);
    h = h * 31 + std::hash<std::string>()(k.link);
    return h * 31 + std::hash<int64_t>()(k.date.Time());
  }
};

class CItem {
 public:
  std::string title;
  std::string link;
  std::string source;
  std::string description;         // plain, as the reader produced it
  std::string encodedDescription;  // rich content (e.g. content:encoded), may be empty
  CW3CDate date;                   // the article's own date, none when the feed gave none
  CW3CDate downloadTime;           // when the program first saw the article
  double interest = 0.5;           // learned interest, 0.5 when unknown
  // The title and the description cut into text, keyword and markup pieces against the
  // keyword list; null until parsed. Immutable once built: a new scan replaces them.
  std::shared_ptr<const CParsedText> parsedTitle;
  std::shared_ptr<const CParsedText> parsedDescription;
  // The item's reading record, cached by the score store (which owns it) on first look-up;
  // the store trusts it only while scoreStamp matches its own stamp.
  mutable CItemScore* scoreRecord = nullptr;
  mutable uint64_t scoreStamp = 0;

  CItemKey Key() const { return CItemKey{title, link, date}; }
};

using CItemPtr = std::shared_ptr<CItem>;

}  // namespace tw
