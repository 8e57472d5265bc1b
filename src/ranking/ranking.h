#pragma once
// What a ranked view asks of a ranking: given its sites and its row count, the items for its
// rows, top to bottom.
#include <vector>

#include "model/item.h"
#include "model/site.h"

namespace tw {

class CRanking {
 public:
  virtual ~CRanking() = default;
  // Forgets what earlier passes remembered; the next pass starts afresh.
  virtual void Reset() {}

  // Ranks sites (in the order the view's settings list them) into at most about count rows.
  void Rank(const std::vector<CSite*>& sites, int count);

  const std::vector<CSite*>& SiteList() const { return siteList_; }
  // The rows, top to bottom, and the site each row's item belongs to.
  const std::vector<CItem*>& Result() const { return result_; }
  const std::vector<CSite*>& ResultSites() const { return resultSites_; }

 protected:
  virtual void Rank(int count) = 0;

  std::vector<CSite*> siteList_;
  std::vector<CItem*> result_;
  std::vector<CSite*> resultSites_;
};

}  // namespace tw
