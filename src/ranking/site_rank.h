#pragma once
// One site's part in a ranking pass: its unread items in ranked order, how many of them it
// shows, and how the rows of a view are shared out among sites.
#include <string>
#include <vector>

#include "model/item.h"
#include "model/site.h"
#include "ranking/score_calculator.h"

namespace tw {

struct CItemRank {
  int score = 0;
  CItem* item = nullptr;
};

class CSiteRank {
 public:
  // shown becomes min(shown + n, candidates) and is returned.
  int Take(int n);
  int Remaining() const { return candidateCount - shown; }

  std::string key;
  CSite* site = nullptr;  // null when the site left the view
  int score = 0;
  int shown = 0;
  // The candidates in ranked order, as far as OrderCandidates has ordered them; the others
  // wait unscored in rest. A pass orders only what it shows or judges the site by.
  std::vector<CItemRank> candidates;
  int candidateCount = 0;  // all unread items of the site

  struct CWaiting {
    CItem* item;
    int order;  // position among the site's unread items
    int score;
  };
  std::vector<CWaiting> rest;
  bool restScored = false;
};

// Collects the site's unread items: those whose keys are in previous come first, in that
// order (each key takes the first unmoved match); the others follow by score, highest first,
// equal scores in the site's item order, once OrderCandidates has ordered them.
void CollectCandidates(CSiteRank& rank, CSite& site, const std::vector<CItemKey>& previous,
                       CScoreCalculator& calculator);
// Orders the candidates up to the first n (or all there are).
void OrderCandidates(CSiteRank& rank, CScoreCalculator& calculator, int n);

// The mean score of the first min(count, candidates) candidates, truncated; 0 for none.
// The candidates must be ordered that far.
int SiteScore(const CSiteRank& rank, int count);

// rate × remaining rounded up, at least 1.
int SlotShare(int remaining, float rate);

// Rows per site for sites with the given numbers of candidates (in order): one each first, then
// sweeps in which each site in turn takes its share of what remains, until nothing remains or
// no site can take more.
std::vector<int> DistributeSlots(const std::vector<int>& candidateCounts, int count, float rate);

}  // namespace tw
