#include "ranking/ranking.h"

namespace tw {

void CRanking::Rank(const std::vector<CSite*>& sites, int count) {
  result_.clear();
  resultSites_.clear();
  siteList_ = sites;
  Rank(count);
}

}  // namespace tw
