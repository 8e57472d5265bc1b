#include "model/site.h"

namespace tw {

CFeedSite* CSite::Feed() const {
  return main_ && main_->GetKind() == CSiteSource::Kind::kFeed
             ? static_cast<CFeedSite*>(main_.get())
             : nullptr;
}

CChannelSite* CSite::Channel() const {
  return main_ && main_->GetKind() == CSiteSource::Kind::kChannel
             ? static_cast<CChannelSite*>(main_.get())
             : nullptr;
}

std::vector<CItemPtr> CSite::AllItems() const {
  std::vector<CItemPtr> all;
  if (main_) all = main_->items;
  for (const auto& sub : subSites_) all.insert(all.end(), sub->items.begin(), sub->items.end());
  return all;
}

std::string CSite::DisplayName() const {
  if (const CFeedSite* feed = Feed(); feed && !feed->name.empty()) return feed->name;
  return main_ ? main_->title : std::string();
}

}  // namespace tw
