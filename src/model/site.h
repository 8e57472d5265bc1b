#pragma once
// A subscription: its main source (a feed or a plug-in channel), optional sub sites (the feeds
// of a feed list) and the views that show it.
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "model/item.h"

namespace tw {

class CSiteScore;

// The address of a feed and the server's Last-Modified text from the last successful download.
struct CSiteUri {
  std::string uri;
  std::string lastModified;
};

// What the main source of a site and its sub sites have in common.
class CSiteSource {
 public:
  enum class Kind { kFeed, kChannel };
  virtual ~CSiteSource() = default;
  virtual Kind GetKind() const = 0;
  const char* KindText() const { return GetKind() == Kind::kFeed ? "feed" : "channel"; }

  std::string title;       // as the feed reader or the plug-in reported it
  std::string shortTitle;
  std::vector<CItemPtr> items;  // in document order
};

class CFeedSite : public CSiteSource {
 public:
  Kind GetKind() const override { return Kind::kFeed; }
  const std::string& Uri() const { return uri->uri; }

  std::shared_ptr<CSiteUri> uri = std::make_shared<CSiteUri>();
  std::string name;       // the user's own name for the site
  std::string shortName;
};

class CChannelSite : public CSiteSource {
 public:
  Kind GetKind() const override { return Kind::kChannel; }

  std::string pluginId;  // the plug-in that produces the channel
  std::string data;      // the channel's settings as the plug-in stored them
};

// Something that shows sites (a view window); sites know who shows them so that only sites
// with a view are updated.
class CSiteViewer {
 public:
  virtual ~CSiteViewer() = default;
};

class CSite {
 public:
  explicit CSite(std::string id, std::shared_ptr<CSiteSource> main)
      : id_(std::move(id)), main_(std::move(main)) {}

  const std::string& Id() const { return id_; }
  const std::shared_ptr<CSiteSource>& Main() const { return main_; }
  void SetMain(std::shared_ptr<CSiteSource> main) { main_ = std::move(main); }
  // The main source as a feed or a channel; nullptr when it is of the other kind.
  CFeedSite* Feed() const;
  CChannelSite* Channel() const;

  std::vector<std::shared_ptr<CFeedSite>>& SubSites() { return subSites_; }
  const std::vector<std::shared_ptr<CFeedSite>>& SubSites() const { return subSites_; }

  // Items of the main source followed by those of the sub sites.
  std::vector<CItemPtr> AllItems() const;

  // The name the user sees: the user's name, else the feed's title.
  std::string DisplayName() const;

  void AddViewer(CSiteViewer* v) { viewers_.insert(v); }
  void RemoveViewer(CSiteViewer* v) { viewers_.erase(v); }
  bool HasViewers() const { return !viewers_.empty(); }
  const std::set<CSiteViewer*>& Viewers() const { return viewers_; }

  // The site's reading record, cached by the score store (which owns it) on first look-up;
  // the store trusts it only while scoreStamp matches its own stamp.
  mutable CSiteScore* scoreRecord = nullptr;
  mutable uint64_t scoreStamp = 0;

 private:
  std::string id_;
  std::shared_ptr<CSiteSource> main_;
  std::vector<std::shared_ptr<CFeedSite>> subSites_;
  std::set<CSiteViewer*> viewers_;
};

}  // namespace tw
