#pragma once
// The reading records: how often each item was opened (its read state) and how often each
// site was opened per day; their file "scores.xml".
#include <cstdint>
#include <map>
#include <string>
#include <unordered_map>

#include "model/data_file.h"
#include "model/item.h"
#include "model/site.h"
#include "model/site_list.h"

namespace tw {

// The time value of local midnight starting the day that holds time.
int64_t LocalDay(int64_t time);

class CScoreRecord {
 public:
  static constexpr unsigned kMark = 1;  // flag bit used by the clean-up

  virtual ~CScoreRecord() = default;
  virtual void Click() = 0;

  unsigned flags = 0;
};

class CSiteScore : public CScoreRecord {
 public:
  explicit CSiteScore(std::string key) : key_(std::move(key)) {}

  const std::string& Key() const { return key_; }
  // Adds one to today's count.
  void Click() override;
  // Adds one to the count of the local day that holds time.
  void ClickAt(int64_t time);
  // The count of a day (a LocalDay value); 0 when absent.
  int Count(int64_t day) const;
  void SetCount(int64_t day, int count);
  // Day → count, oldest first.
  const std::map<int64_t, int>& Days() const { return days_; }

 private:
  std::string key_;
  std::map<int64_t, int> days_;
};

class CItemScore : public CScoreRecord {
 public:
  explicit CItemScore(CItemKey key) : key_(std::move(key)) {}

  const CItemKey& Key() const { return key_; }
  void Click() override;
  bool IsRead() const { return count > 0; }
  // Read keeps a count above zero; unread sets it to zero.
  void MarkRead();
  void MarkUnread() { count = 0; }

  int count = 0;

 private:
  CItemKey key_;
};

class CScoreStore {
 public:
  CScoreStore();
  CScoreStore(const CScoreStore&) = delete;
  CScoreStore& operator=(const CScoreStore&) = delete;

  // The record of a key, created empty when there is none. Records stay where they are until
  // the clean-up, Clear or Load deletes them.
  CItemScore& GetItemScore(const CItemKey& key);
  CSiteScore& GetSiteScore(const std::string& siteKey);
  // The same through the pointer cached in the item or site. A cached pointer is used only
  // while its stamp is the store's current one, which changes whenever records are deleted,
  // so an item that outlived its record never reaches freed memory.
  CItemScore& ItemScore(const CItem& item);
  CSiteScore& SiteScore(const CSite& site);

  bool IsRead(const CItem& item) { return ItemScore(item).IsRead(); }
  void MarkRead(const CItem& item) { ItemScore(item).MarkRead(); }
  void MarkUnread(const CItem& item) { ItemScore(item).MarkUnread(); }
  // Opening an item counts a click on its record and on its site's.
  void Open(const CItem& item, const CSite& site);
  void MarkAllRead(const CSite& site);
  void MarkAllUnread(const CSite& site);

  // When there are more site records than sites, or more item records than items in all
  // sites, deletes every record whose site or item no longer exists.
  void CleanUp(const CSiteList& sites);
  void Clear();

  size_t ItemRecordCount() const { return items_.size(); }
  size_t SiteRecordCount() const { return sites_.size(); }
  const std::unordered_map<CItemKey, CItemScore, CItemKeyHash>& ItemRecords() const {
    return items_;
  }
  const std::unordered_map<std::string, CSiteScore>& SiteRecords() const { return sites_; }

  // Replaces the records with the file's. A missing file gives none; a damaged one is moved
  // aside and reported, then counts as missing; another root is reported, leaves the store
  // empty and fails.
  bool Load(const std::wstring& path, const CDataFileReport& report);
  // Writes every record; the old file stays whole when that fails.
  bool Save(const std::wstring& path) const;

 private:
  void Restamp();

  std::unordered_map<CItemKey, CItemScore, CItemKeyHash> items_;
  std::unordered_map<std::string, CSiteScore> sites_;
  uint64_t stamp_;
};

}  // namespace tw
