#include "model/site_list.h"

#include <cstdlib>

namespace tw {

namespace {
constexpr char kIdAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
constexpr int kIdLength = 16;
}  // namespace

std::string CSiteList::NewId() const {
  for (;;) {
    std::string id(kIdLength, ' ');
    for (char& c : id) c = kIdAlphabet[std::rand() % 62];
    if (sites_.find(id) == sites_.end()) return id;
  }
}

CSite& CSiteList::Add(std::shared_ptr<CSiteSource> main) {
  std::string id = NewId();
  auto site = std::make_unique<CSite>(id, std::move(main));
  CSite& ref = *site;
  sites_.emplace(std::move(id), std::move(site));
  return ref;
}

bool CSiteList::Insert(std::unique_ptr<CSite> site) {
  std::string id = site->Id();
  return sites_.emplace(std::move(id), std::move(site)).second;
}

bool CSiteList::Remove(const std::string& id) {
  auto it = sites_.find(id);
  if (it == sites_.end()) return false;
  if (onRemove) onRemove(*it->second);
  sites_.erase(it);
  return true;
}

CSite* CSiteList::Find(const std::string& id) const {
  auto it = sites_.find(id);
  return it == sites_.end() ? nullptr : it->second.get();
}

}  // namespace tw
