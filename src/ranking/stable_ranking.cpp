#include "ranking/stable_ranking.h"

#include <algorithm>

#include "ranking/stable_ranking_impl.h"

namespace tw {

CStableRanking::CStableRanking(float rate, CScoreStore& store, Clock clock)
    : store_(store),
      clock_(clock ? std::move(clock) : Clock([] { return CW3CDate::Now().Time(); })),
      impl_(std::make_unique<CStableRankingImpl>(*this, rate)) {}

CStableRanking::~CStableRanking() = default;

void CStableRanking::Reset() { impl_->Reset(); }

float CStableRanking::Rate() const { return impl_->Rate(); }

void CStableRanking::Rank(int count) {
  if (impl_->HasMemory()) {
    impl_->RankIncremental(count);
  } else {
    impl_->RankFull(count);
  }
}

void CStableRankingImpl::RankFull(int count) {
  siteInfos_.clear();
  if (count <= 0) return;
  CScoreCalculator calculator(owner_.store_, owner_.clock_());
  static const std::vector<CItemKey> kNoKeys;
  for (CSite* site : owner_.siteList_) {
    auto rank = std::make_shared<CSiteRank>();
    rank->key = site->Id();
    CollectCandidates(*rank, *site, kNoKeys, calculator);
    if (rank->candidateCount == 0) continue;
    OrderCandidates(*rank, calculator, count);
    rank->score = SiteScore(*rank, count);
    auto info = std::make_shared<CSiteInfo>();
    info->key = rank->key;
    info->currentRank = std::move(rank);
    siteInfos_.push_back(std::move(info));
  }
  std::stable_sort(siteInfos_.begin(), siteInfos_.end(), [](const auto& a, const auto& b) {
    return a->currentRank->score > b->currentRank->score;
  });
  std::vector<int> counts;
  for (const auto& info : siteInfos_) counts.push_back(info->currentRank->candidateCount);
  std::vector<int> quota = DistributeSlots(counts, count, rate_);
  for (size_t i = 0; i < siteInfos_.size(); ++i) {
    siteInfos_[i]->currentRank->shown = 0;
    siteInfos_[i]->currentRank->Take(quota[i]);
  }
  Publish(calculator);
}

void CStableRankingImpl::RankIncremental(int count) {
  if (count <= 0) return;  // no rows now; the memory waits for the next pass
  CScoreCalculator calculator(owner_.store_, owner_.clock_());
  int deficit = 0;
  for (const auto& info : siteInfos_) {
    auto rank = std::make_shared<CSiteRank>();
    rank->key = info->key;
    auto found = std::find_if(owner_.siteList_.begin(), owner_.siteList_.end(),
                              [&info](const CSite* s) { return s->Id() == info->key; });
    int g = info->shown;
    if (found != owner_.siteList_.end()) {
      CollectCandidates(*rank, **found, info->previousKeys, calculator);
      if (rank->Remaining() < g) {
        deficit += g - rank->Remaining();
        g = rank->Remaining();
      }
    }
    rank->Take(g);  // a site that left the view shows nothing and frees no rows
    info->currentRank = std::move(rank);
  }

  if (deficit > 0) {
    std::vector<int> counts;
    for (const auto& info : siteInfos_) counts.push_back(info->currentRank->candidateCount);
    std::vector<int> quota = DistributeSlots(counts, count, rate_);
    for (size_t i = 0; i < siteInfos_.size() && deficit > 0; ++i) {
      CSiteRank& rank = *siteInfos_[i]->currentRank;
      if (rank.shown < quota[i]) {
        int l = std::min(deficit, quota[i] - rank.shown);
        rank.Take(l);
        deficit -= l;
      }
    }
    while (deficit > 0) {
      CSiteRank* best = nullptr;
      for (const auto& info : siteInfos_) {
        CSiteRank& rank = *info->currentRank;
        if (rank.Remaining() > 0 && (!best || rank.Remaining() > best->Remaining())) best = &rank;
      }
      if (!best) break;
      best->Take(1);
      --deficit;
    }
  }
  Publish(calculator);
}

void CStableRankingImpl::Publish(CScoreCalculator& calculator) {
  for (const auto& info : siteInfos_) {
    CSiteRank& rank = *info->currentRank;
    // Only the rows shown need their order; the rest of a site is never sorted.
    OrderCandidates(rank, calculator, rank.shown);
    int shown = std::min(rank.shown, static_cast<int>(rank.candidates.size()));
    info->shown = shown;
    info->previousKeys.clear();
    for (int i = 0; i < shown; ++i) {
      CItem* item = rank.candidates[static_cast<size_t>(i)].item;
      info->previousKeys.push_back(item->Key());
      owner_.result_.push_back(item);
      owner_.resultSites_.push_back(rank.site);
    }
    info->currentRank.reset();
  }
}

}  // namespace tw
