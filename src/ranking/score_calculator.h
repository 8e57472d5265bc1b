#pragma once
// The total score of an item: four components (freshness, keywords, learned interest, how
// often its site is read), each weighted and truncated to an int, then added. One calculator
// serves one ranking pass or one detail dialog: it remembers each site's reading frequency for
// its life, so clicks during a pass do not change that pass.
#include <cstdint>
#include <string>
#include <unordered_map>

#include "feeds/w3c_date.h"
#include "model/item.h"
#include "model/site.h"
#include "ranking/score_store.h"

namespace tw {

struct ScoreDetail {
  struct Component {
    double value = 0.0;
    int weight = 0;
    // weight × value truncated toward zero: what the detail dialog shows.
    int Weighted() const { return static_cast<int>(weight * value); }
  };
  Component date, keyword, learning, site;

  int Total() const {
    return date.Weighted() + keyword.Weighted() + learning.Weighted() + site.Weighted();
  }
};

class CScoreCalculator {
 public:
  static constexpr int kDateWeight = 1000;
  static constexpr int kKeywordWeight = 1200;
  static constexpr int kLearningWeight = 1000;
  static constexpr int kSiteWeight = 500;

  // now: the current time (seconds since 1970), fixed for the calculator's life.
  explicit CScoreCalculator(CScoreStore& store, int64_t now = CW3CDate::Now().Time());
  virtual ~CScoreCalculator() = default;
  CScoreCalculator(const CScoreCalculator&) = delete;
  CScoreCalculator& operator=(const CScoreCalculator&) = delete;

  virtual int Score(const CSite& site, const CItem& item) { return CalcScore(site, item, nullptr); }
  // True while the item is unread.
  virtual bool IsCandidate(const CItem& item) { return !store_.IsRead(item); }
  // The total; detail (may be null) receives the four components.
  int CalcScore(const CSite& site, const CItem& item, ScoreDetail* detail);

  // 1.0 for an item of today or up to a day ahead, halving over two days of age, 0 for an item
  // more than a day in the future or without any date. The item's date, else its download time.
  static double DateValue(const CItem& item, int64_t now);
  // 1 − 0.5^k for k distinct keyword texts in the parsed title and description.
  static double KeywordValue(const CItem& item);
  // 0.2 F(3) + 0.3 F(7) + 0.4 F(28), at most 1.0, where F(n) is the site's mean daily count of
  // opened items over the last n days (today included).
  double SiteValue(const CSite& site);

 private:
  CScoreStore& store_;
  int64_t now_;
  int64_t today_ = CW3CDate::kNone;  // local midnight of now_, on first use
  std::unordered_map<std::string, double> siteCache_;
  const CSite* lastSite_ = nullptr;  // items come site by site: spares the map look-up
  double lastSiteValue_ = 0.0;
};

}  // namespace tw
