#pragma once
// Walking the items of a site (main source, then sub sites) without copying the lists.
#include "model/site.h"

namespace tw {

template <class F>
void ForEachItem(const CSite& site, F&& f) {
  if (const auto& main = site.Main()) {
    for (const CItemPtr& item : main->items) f(*item);
  }
  for (const auto& sub : site.SubSites()) {
    for (const CItemPtr& item : sub->items) f(*item);
  }
}

}  // namespace tw
