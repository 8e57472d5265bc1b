#include "ranking/score_store.h"

#include <atomic>
#include <climits>
#include <cstdio>
#include <ctime>
#include <vector>

#include "feeds/w3c_date.h"
#include "framework/decimal.h"
#include "framework/text.h"
#include "model/data_namespaces.h"
#include "model/group_writer.h"
#include "ranking/site_items.h"

namespace tw {
namespace {

// Stamps are unique across all stores, so a pointer cached from one store never passes for
// a record of another.
std::atomic<uint64_t> g_lastStamp{0};

// Dates are local times. Both directions go through the C runtime's own conversions (with its
// daylight-saving rules), so a date written is the same value when read back.
int64_t LocalFieldsToTime(int year, int month, int day, int hour, int minute, int second) {
  std::tm fields{};
  fields.tm_year = year - 1900;
  fields.tm_mon = month - 1;
  fields.tm_mday = day;
  fields.tm_hour = hour;
  fields.tm_min = minute;
  fields.tm_sec = second;
  fields.tm_isdst = -1;
  std::time_t t = std::mktime(&fields);
  return t == static_cast<std::time_t>(-1) ? CW3CDate::kNone : static_cast<int64_t>(t);
}

bool ToLocalFields(int64_t time, std::tm& local) {
  std::time_t t = static_cast<std::time_t>(time);
  return localtime_s(&local, &t) == 0;
}

// "%04d-%02d-%02d" of the local day.
std::string FormatDay(int64_t day) {
  std::tm local{};
  if (!ToLocalFields(day, local)) return {};
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "%04d-%02d-%02d", local.tm_year + 1900, local.tm_mon + 1,
                local.tm_mday);
  return buffer;
}

// "%04d-%02d-%02dT%02d:%02d:%02d", or the day alone at midnight; empty for none.
std::wstring FormatDate(int64_t time) {
  std::tm local{};
  if (time == CW3CDate::kNone || !ToLocalFields(time, local)) return {};
  if (local.tm_hour == 0 && local.tm_min == 0 && local.tm_sec == 0) return ToWide(FormatDay(time));
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "%04d-%02d-%02dT%02d:%02d:%02d", local.tm_year + 1900,
                local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec);
  return ToWide(buffer);
}

// The two forms above; any other text (a time zone, a fraction) goes to the W3C parser.
int64_t ParseDate(const std::wstring& text) {
  if (text.empty()) return CW3CDate::kNone;
  const std::string s = ToCp932(text);
  int y, mo, d, h, mi, sec;
  char extra;
  if (std::sscanf(s.c_str(), "%4d-%2d-%2dT%2d:%2d:%2d%c", &y, &mo, &d, &h, &mi, &sec, &extra) == 6)
    return LocalFieldsToTime(y, mo, d, h, mi, sec);
  if (std::sscanf(s.c_str(), "%4d-%2d-%2d%c", &y, &mo, &d, &extra) == 3)
    return LocalFieldsToTime(y, mo, d, 0, 0, 0);
  return CW3CDate::ParseW3C(s).Time();
}

int AddSaturating(int count, int n) { return count > INT_MAX - n ? INT_MAX : count + n; }

// The children of an element, by local name, without an XPath query per field.
template <class F>
void ForEachChildElement(const CXmlNode& node, F&& f) {
  for (CXmlNode c = node.FirstChild(); c; c = c.NextSibling()) {
    if (c.Type() == NODE_ELEMENT) f(c.BaseName(), c);
  }
}

}  // namespace

int64_t LocalDay(int64_t time) {
  std::tm local{};
  if (!ToLocalFields(time, local)) return time;
  int64_t day = LocalFieldsToTime(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, 0, 0, 0);
  return day == CW3CDate::kNone ? time : day;
}

void CSiteScore::Click() { ClickAt(CW3CDate::Now().Time()); }

void CSiteScore::ClickAt(int64_t time) {
  int& count = days_[LocalDay(time)];
  count = AddSaturating(count, 1);
}

int CSiteScore::Count(int64_t day) const {
  auto it = days_.find(day);
  return it == days_.end() ? 0 : it->second;
}

void CSiteScore::SetCount(int64_t day, int count) {
  if (count == 0) {
    days_.erase(day);
  } else {
    days_[day] = count;
  }
}

void CItemScore::Click() { count = AddSaturating(count, 1); }

void CItemScore::MarkRead() {
  if (count <= 0) count = 1;
}

CScoreStore::CScoreStore() : stamp_(++g_lastStamp) {}

void CScoreStore::Restamp() { stamp_ = ++g_lastStamp; }

CItemScore& CScoreStore::GetItemScore(const CItemKey& key) {
  auto it = items_.find(key);
  if (it == items_.end()) it = items_.emplace(key, CItemScore(key)).first;
  return it->second;
}

CSiteScore& CScoreStore::GetSiteScore(const std::string& siteKey) {
  auto it = sites_.find(siteKey);
  if (it == sites_.end()) it = sites_.emplace(siteKey, CSiteScore(siteKey)).first;
  return it->second;
}

CItemScore& CScoreStore::ItemScore(const CItem& item) {
  if (item.scoreStamp != stamp_ || !item.scoreRecord) {
    item.scoreRecord = &GetItemScore(item.Key());
    item.scoreStamp = stamp_;
  }
  return *item.scoreRecord;
}

CSiteScore& CScoreStore::SiteScore(const CSite& site) {
  if (site.scoreStamp != stamp_ || !site.scoreRecord) {
    site.scoreRecord = &GetSiteScore(site.Id());
    site.scoreStamp = stamp_;
  }
  return *site.scoreRecord;
}

void CScoreStore::Open(const CItem& item, const CSite& site) {
  ItemScore(item).Click();
  SiteScore(site).Click();
}

void CScoreStore::MarkAllRead(const CSite& site) {
  ForEachItem(site, [this](const CItem& item) { MarkRead(item); });
}

void CScoreStore::MarkAllUnread(const CSite& site) {
  ForEachItem(site, [this](const CItem& item) { MarkUnread(item); });
}

void CScoreStore::CleanUp(const CSiteList& sites) {
  size_t itemCount = 0;
  for (const auto& [id, site] : sites)
    ForEachItem(*site, [&itemCount](const CItem&) { ++itemCount; });
  if (sites_.size() <= sites.Size() && items_.size() <= itemCount) return;

  for (auto& [key, record] : items_) record.flags &= ~CScoreRecord::kMark;
  for (auto& [key, record] : sites_) record.flags &= ~CScoreRecord::kMark;
  // The records that stay, with the items and sites that use them: their cached pointers are
  // renewed below, so that only objects outside the sites have to look theirs up again.
  std::vector<std::pair<const CItem*, CItemScore*>> itemsKept;
  std::vector<std::pair<const CSite*, CSiteScore*>> sitesKept;
  itemsKept.reserve(itemCount);
  for (const auto& [id, site] : sites) {
    if (auto it = sites_.find(id); it != sites_.end()) {
      it->second.flags |= CScoreRecord::kMark;
      sitesKept.emplace_back(site.get(), &it->second);
    }
    ForEachItem(*site, [&](const CItem& item) {
      CItemScore* record = nullptr;
      if (item.scoreStamp == stamp_ && item.scoreRecord) {
        record = item.scoreRecord;
      } else if (auto it = items_.find(item.Key()); it != items_.end()) {
        record = &it->second;
      }
      if (!record) return;
      record->flags |= CScoreRecord::kMark;
      itemsKept.emplace_back(&item, record);
    });
  }
  size_t before = items_.size() + sites_.size();
  for (auto it = items_.begin(); it != items_.end();) {
    it = (it->second.flags & CScoreRecord::kMark) ? std::next(it) : items_.erase(it);
  }
  for (auto it = sites_.begin(); it != sites_.end();) {
    it = (it->second.flags & CScoreRecord::kMark) ? std::next(it) : sites_.erase(it);
  }
  if (items_.size() + sites_.size() == before) return;
  Restamp();
  for (const auto& [item, record] : itemsKept) {
    item->scoreRecord = record;
    item->scoreStamp = stamp_;
  }
  for (const auto& [site, record] : sitesKept) {
    site->scoreRecord = record;
    site->scoreStamp = stamp_;
  }
}

void CScoreStore::Clear() {
  items_.clear();
  sites_.clear();
  Restamp();
}

bool CScoreStore::Load(const std::wstring& path, const CDataFileReport& report) {
  Clear();
  if (ReadDataFile(
          path, kNsData1Old, L"Scores", report,
          [&](const CXmlNode& root) {
            for (const CXmlNode& node : root.SelectNodes(L".//tide:ItemScore")) {
              CItemKey key;
              int count = 0;
              ForEachChildElement(node, [&](const std::wstring& name, const CXmlNode& child) {
                if (name == L"Key") {
                  ForEachChildElement(child, [&](const std::wstring& field, const CXmlNode& value) {
                    if (field == L"Title")
                      key.title = ToCp932(ExactText(value));
                    else if (field == L"Link")
                      key.link = ToCp932(ExactText(value));
                    else if (field == L"Date")
                      key.date = CW3CDate(ParseDate(value.Text()));
                  });
                } else if (name == L"Click") {
                  count = ParseDecimal(child.Text());
                }
              });
              CItemScore record(key);
              record.count = count;
              items_.insert_or_assign(std::move(key), std::move(record));
            }
            for (const CXmlNode& node : root.SelectNodes(L".//tide:SiteScore")) {
              std::string key;
              std::vector<std::pair<int64_t, int>> days;
              ForEachChildElement(node, [&](const std::wstring& name, const CXmlNode& child) {
                if (name == L"Key") {
                  key = ToCp932(ExactText(child));
                } else if (name == L"Click") {
                  int64_t day = CW3CDate::kNone;
                  int count = 0;
                  ForEachChildElement(child, [&](const std::wstring& field, const CXmlNode& value) {
                    if (field == L"Date")
                      day = ParseDate(value.Text());
                    else if (field == L"Count")
                      count = ParseDecimal(value.Text());
                  });
                  if (day != CW3CDate::kNone && count > 0) days.emplace_back(day, count);
                }
              });
              CSiteScore record(key);
              for (const auto& [day, count] : days) record.SetCount(day, count);
              sites_.insert_or_assign(std::move(key), std::move(record));
            }
          },
          {}))
    return true;
  Clear();
  return false;
}

bool CScoreStore::Save(const std::wstring& path) const {
  CXmlDocument doc;
  const std::wstring& ns = kNsData1Old;
  CXmlNode root = doc.CreateElement(L"Scores", ns);
  doc.SetRoot(root);

  std::vector<CXmlNode> items;
  items.reserve(items_.size());
  for (const auto& [key, record] : items_) {
    CXmlNode node = doc.CreateElement(L"ItemScore", ns);
    CXmlNode keyNode = node.AppendElement(L"Key", ns);
    keyNode.AppendTextElement(L"Title", ns, ToWide(key.title));
    keyNode.AppendTextElement(L"Link", ns, ToWide(key.link));
    keyNode.AppendTextElement(L"Date", ns, FormatDate(key.date.Time()));
    node.AppendTextElement(L"Click", ns, std::to_wstring(record.count));
    items.push_back(node);
  }
  AppendGrouped(doc, root, std::move(items), kScoreFileGroupSize, ns);

  std::vector<CXmlNode> sites;
  sites.reserve(sites_.size());
  for (const auto& [key, record] : sites_) {
    CXmlNode node = doc.CreateElement(L"SiteScore", ns);
    node.AppendTextElement(L"Key", ns, ToWide(key));
    for (const auto& [day, count] : record.Days()) {
      if (count <= 0) continue;
      CXmlNode click = node.AppendElement(L"Click", ns);
      click.AppendTextElement(L"Date", ns, ToWide(FormatDay(day)));
      click.AppendTextElement(L"Count", ns, std::to_wstring(count));
    }
    sites.push_back(node);
  }
  AppendGrouped(doc, root, std::move(sites), kScoreFileGroupSize, ns);
  return SaveDataFile(doc, path);
}

}  // namespace tw
