#include "ranking/site_rank.h"

#include <algorithm>
#include <cmath>

#include "ranking/site_items.h"

namespace tw {
namespace {

bool HasKey(const CItem& item, const CItemKey& key) {
  return item.date == key.date && item.link == key.link && item.title == key.title;
}

}  // namespace

int CSiteRank::Take(int n) {
  shown = std::max(0, std::min(shown + n, candidateCount));
  return shown;
}

void CollectCandidates(CSiteRank& rank, CSite& site, const std::vector<CItemKey>& previous,
                       CScoreCalculator& calculator) {
  rank.site = &site;
  rank.candidates.clear();
  rank.rest.clear();
  rank.restScored = false;
  ForEachItem(site, [&](CItem& item) {
    if (calculator.IsCandidate(item))
      rank.rest.push_back({&item, static_cast<int>(rank.rest.size()), 0});
  });
  rank.candidateCount = static_cast<int>(rank.rest.size());

  bool moved = false;
  for (const CItemKey& key : previous) {
    for (CSiteRank::CWaiting& w : rank.rest) {
      if (w.item && HasKey(*w.item, key)) {
        rank.candidates.push_back({calculator.Score(site, *w.item), w.item});
        w.item = nullptr;
        moved = true;
        break;
      }
    }
  }
  if (moved) {
    auto& rest = rank.rest;
    rest.erase(std::remove_if(rest.begin(), rest.end(), [](const auto& w) { return !w.item; }),
               rest.end());
  }
}

void OrderCandidates(CSiteRank& rank, CScoreCalculator& calculator, int n) {
  size_t want = static_cast<size_t>(std::min(std::max(n, 0), rank.candidateCount));
  if (rank.candidates.size() >= want) return;
  auto& rest = rank.rest;
  if (!rank.restScored) {
    for (CSiteRank::CWaiting& w : rest) w.score = calculator.Score(*rank.site, *w.item);
    rank.restScored = true;
  }
  auto middle = rest.begin() + static_cast<std::ptrdiff_t>(want - rank.candidates.size());
  // Score first, then the site's own order: the head comes out as a stable sort gives it.
  std::partial_sort(rest.begin(), middle, rest.end(), [](const auto& a, const auto& b) {
    return a.score != b.score ? a.score > b.score : a.order < b.order;
  });
  for (auto it = rest.begin(); it != middle; ++it) rank.candidates.push_back({it->score, it->item});
  rest.erase(rest.begin(), middle);
}

int SiteScore(const CSiteRank& rank, int count) {
  size_t n = std::min(rank.candidates.size(), static_cast<size_t>(std::max(count, 0)));
  if (n == 0) return 0;
  long long sum = 0;
  for (size_t i = 0; i < n; ++i) sum += rank.candidates[i].score;
  return static_cast<int>(sum / static_cast<long long>(n));
}

int SlotShare(int remaining, float rate) {
  // The rate is a float: 0.3f lies a little above 0.3, so 50 × 0.3f would round up to 16.
  // Shares of rates in tenths are whole or at least a tenth above a whole number; the small
  // tolerance removes the representation error and leaves true fractions alone.
  double share = static_cast<double>(remaining) * static_cast<double>(rate);
  int c = static_cast<int>(std::ceil(share - 1e-6 * remaining));
  return std::max(c, 1);
}

std::vector<int> DistributeSlots(const std::vector<int>& candidateCounts, int count, float rate) {
  std::vector<int> quota(candidateCounts.size(), 0);
  int remaining = count;
  for (size_t i = 0; i < quota.size() && remaining > 0; ++i) {
    if (candidateCounts[i] > 0) {
      quota[i] = 1;
      --remaining;
    }
  }
  while (remaining > 0) {
    bool gave = false;
    for (size_t i = 0; i < quota.size() && remaining > 0; ++i) {
      int g = std::min({SlotShare(remaining, rate), candidateCounts[i] - quota[i], remaining});
      if (g > 0) {
        quota[i] += g;
        remaining -= g;
        gave = true;
      }
    }
    if (!gave) break;
  }
  return quota;
}

}  // namespace tw
