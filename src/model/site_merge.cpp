#include "model/site_merge.h"

#include <unordered_map>

namespace tw {
namespace {

// The old items in their order, with indexes by key and by link; an item leaves the list when a
// new item claims it.
class CWorkingList {
 public:
  explicit CWorkingList(const std::vector<CItemPtr>& items) : items_(items), taken_(items.size()) {
    for (size_t i = 0; i < items.size(); ++i) {
      byKey_[items[i]->Key()].push_back(i);
      byLink_[items[i]->link].push_back(i);
    }
  }

  // The first old item still in the list with an equal key / the same link; takes it.
  const CItem* TakeByKey(const CItemKey& key) { return Take(byKey_, key); }
  const CItem* TakeByLink(const std::string& link) { return Take(byLink_, link); }

  // Old items nobody claimed, in their old order, at most limit of them.
  std::vector<CItemPtr> Vanished(int limit) const {
    std::vector<CItemPtr> out;
    for (size_t i = 0; i < items_.size() && static_cast<int>(out.size()) < limit; ++i)
      if (!taken_[i]) out.push_back(items_[i]);
    return out;
  }

 private:
  template <class Map, class Key>
  const CItem* Take(Map& map, const Key& key) {
    auto it = map.find(key);
    if (it == map.end()) return nullptr;
    for (size_t& next = cursor_[&it->second]; next < it->second.size(); ++next) {
      size_t index = it->second[next];
      if (!taken_[index]) {
        taken_[index] = true;
        ++next;
        return items_[index].get();
      }
    }
    return nullptr;
  }

  const std::vector<CItemPtr>& items_;
  std::vector<bool> taken_;
  std::unordered_map<CItemKey, std::vector<size_t>, CItemKeyHash> byKey_;
  std::unordered_map<std::string, std::vector<size_t>> byLink_;
  std::unordered_map<const std::vector<size_t>*, size_t> cursor_;
};

std::vector<CItemPtr> CopyItems(const std::vector<CItemPtr>& items) {
  std::vector<CItemPtr> copies;
  copies.reserve(items.size());
  for (const auto& item : items) copies.push_back(std::make_shared<CItem>(*item));
  return copies;
}

const CFeedSite* FindSubSite(const std::vector<std::shared_ptr<CFeedSite>>& subs,
                             const std::string& uri) {
  for (const auto& sub : subs)
    if (sub->Uri() == uri) return sub.get();
  return nullptr;
}

// Each sub-site result is merged with the old sub site of the same URI (a new one with none).
void MergeSubSites(const std::vector<std::shared_ptr<CFeedSite>>& oldSubSites,
                   CSourceResult& result, const CW3CDate& downloadStart, int restItems) {
  static const CFeedSite kEmpty;
  for (CSourceResult& sub : result.subSites) {
    const CFeedSite* previous = FindSubSite(oldSubSites, sub.uri);
    MergeResult(previous ? *previous : kEmpty, sub.uri, {}, sub, downloadStart, restItems);
  }
}

}  // namespace

void MergeResult(const CSiteSource& old, const std::string& oldUri,
                 const std::vector<std::shared_ptr<CFeedSite>>& oldSubSites,
                 CSourceResult& result, const CW3CDate& downloadStart, int restItems) {
  if (result.uri != oldUri || !result.fresh) {
    // Nothing new (304, or nothing readable): the source stays as it was, including its
    // Last-Modified text and its sub sites, so that installing the result loses nothing. But
    // when a feed list answered 304 and its feeds were fetched in the same run, their answers
    // are merged as usual, so that the feeds of an unchanged list still update.
    const bool subSitesFetched = result.uri == oldUri && !result.subSites.empty();
    result.title = old.title;
    result.items = CopyItems(old.items);
    result.fresh = true;
    if (old.GetKind() == CSiteSource::Kind::kFeed)
      result.lastModified = static_cast<const CFeedSite&>(old).uri->lastModified;
    if (subSitesFetched) {
      MergeSubSites(oldSubSites, result, downloadStart, restItems);
      return;
    }
    result.subSites.clear();
    for (const auto& sub : oldSubSites) {
      CSourceResult kept;
      kept.uri = sub->Uri();
      kept.lastModified = sub->uri->lastModified;
      kept.title = sub->title;
      kept.items = CopyItems(sub->items);
      kept.fresh = true;
      result.subSites.push_back(std::move(kept));
    }
    return;
  }
  CWorkingList working(old.items);
  for (const auto& item : result.items) {
    if (const CItem* same = working.TakeByKey(item->Key())) {
      item->downloadTime = same->downloadTime;
    } else {
      // An edited article (same link) counts as new and does not linger as a vanished one.
      working.TakeByLink(item->link);
      item->downloadTime = downloadStart;
    }
  }
  for (auto& vanished : working.Vanished(restItems)) result.items.push_back(vanished);
  MergeSubSites(oldSubSites, result, downloadStart, restItems);
}

bool InstallResult(CSite& site, CSourceResult& result) {
  if (CChannelSite* channel = site.Channel()) {
    if (!result.fresh) return false;
    channel->title = std::move(result.title);
    channel->items = std::move(result.items);
    return true;
  }
  CFeedSite* feed = site.Feed();
  if (!feed || result.uri != feed->Uri()) return false;
  bool changed = false;
  if (result.moved) {
    feed->uri = std::make_shared<CSiteUri>(CSiteUri{result.location, std::string()});
    changed = true;
  }
  if (result.fresh) {
    feed->title = std::move(result.title);
    feed->items = std::move(result.items);
    feed->uri->lastModified = result.lastModified;
    std::vector<std::shared_ptr<CFeedSite>> subs;
    for (CSourceResult& sub : result.subSites) {
      auto s = std::make_shared<CFeedSite>();
      s->uri->uri = sub.uri;
      s->uri->lastModified = sub.lastModified;
      s->title = std::move(sub.title);
      s->items = std::move(sub.items);
      if (const CFeedSite* previous = FindSubSite(site.SubSites(), sub.uri)) {
        s->name = previous->name;
        s->shortName = previous->shortName;
        s->shortTitle = previous->shortTitle;
      }
      subs.push_back(std::move(s));
    }
    site.SubSites() = std::move(subs);
    changed = true;
  }
  return changed;
}

}  // namespace tw
