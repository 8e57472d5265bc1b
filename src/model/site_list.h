#pragma once
// The collection of all sites, keyed by their 16-character ids.
#include <functional>
#include <map>
#include <memory>
#include <string>

#include "model/site.h"

namespace tw {

class CSiteList {
 public:
  using Map = std::map<std::string, std::unique_ptr<CSite>>;

  // Draws a fresh id for the source and adds the site; returns it (owned by the list).
  CSite& Add(std::shared_ptr<CSiteSource> main);
  // Adds a site under a given id (as read from the site file); false when the id is taken.
  bool Insert(std::unique_ptr<CSite> site);
  // Removes and destroys the site; before that, onRemove (if set) hears of it so that views
  // can let go of it.
  bool Remove(const std::string& id);
  CSite* Find(const std::string& id) const;
  void Clear() { sites_.clear(); }

  size_t Size() const { return sites_.size(); }
  Map::const_iterator begin() const { return sites_.begin(); }
  Map::const_iterator end() const { return sites_.end(); }

  // Full path of "sites.xml".
  void SetPath(std::wstring path) { path_ = std::move(path); }
  const std::wstring& Path() const { return path_; }

  std::function<void(CSite&)> onRemove;

  // 16 characters from A–Z, a–z, 0–9 by the C random generator, not yet a key of the list.
  std::string NewId() const;

 private:
  Map sites_;
  std::wstring path_;
};

}  // namespace tw
