#pragma once
// The ranking of a view that keeps still under the mouse. A full pass orders the sites by
// their best items and shares the rows out by the view's favourite priority; later passes
// keep every site's row count and the order of the items on screen, and only refill rows whose
// items went away, until Reset asks for a full pass again.
#include <cstdint>
#include <functional>
#include <memory>

#include "ranking/ranking.h"
#include "ranking/score_store.h"

namespace tw {

class CStableRankingImpl;

class CStableRanking : public CRanking {
 public:
  using Clock = std::function<int64_t()>;

  // rate: the favourite priority 0.0 (rows spread evenly) … 1.0 (the best site takes all it
  // can). store: the reading records (read state, site frequency). clock: the current time for
  // each pass (default: the system clock).
  CStableRanking(float rate, CScoreStore& store, Clock clock = {});
  ~CStableRanking() override;

  using CRanking::Rank;
  void Reset() override;
  float Rate() const;

 protected:
  void Rank(int count) override;

 private:
  friend class CStableRankingImpl;

  CScoreStore& store_;
  Clock clock_;
  std::unique_ptr<CStableRankingImpl> impl_;
};

}  // namespace tw
