#pragma once
// The memory and the passes of CStableRanking.
#include <memory>
#include <string>
#include <vector>

#include "ranking/site_rank.h"

namespace tw {

class CStableRanking;

class CStableRankingImpl {
 public:
  // One per site that took part in the last full pass.
  struct CSiteInfo {
    std::string key;
    int shown = 0;                           // rows after the last pass
    std::vector<CItemKey> previousKeys;      // the keys of those rows, in order
    std::shared_ptr<CSiteRank> currentRank;  // only while a pass runs
  };

  CStableRankingImpl(CStableRanking& owner, float rate) : owner_(owner), rate_(rate) {}

  void Reset() { siteInfos_.clear(); }
  bool HasMemory() const { return !siteInfos_.empty(); }
  float Rate() const { return rate_; }

  void RankFull(int count);
  void RankIncremental(int count);

 private:
  void Publish(CScoreCalculator& calculator);

  CStableRanking& owner_;
  std::vector<std::shared_ptr<CSiteInfo>> siteInfos_;  // best site first
  float rate_;
};

}  // namespace tw
