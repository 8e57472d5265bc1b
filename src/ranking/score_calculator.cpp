#include "ranking/score_calculator.h"

#include <algorithm>

#include "ranking/parsed_text.h"

namespace tw {
namespace {

constexpr int64_t kDay = 86400;
constexpr double kHalfLife = 172800.0;  // two days

}  // namespace

CScoreCalculator::CScoreCalculator(CScoreStore& store, int64_t now) : store_(store), now_(now) {}

int CScoreCalculator::CalcScore(const CSite& site, const CItem& item, ScoreDetail* detail) {
  ScoreDetail d;
  d.date = {DateValue(item, now_), kDateWeight};
  d.keyword = {KeywordValue(item), kKeywordWeight};
  d.learning = {item.interest, kLearningWeight};
  d.site = {SiteValue(site), kSiteWeight};
  if (detail) *detail = d;
  return d.Total();
}

double CScoreCalculator::DateValue(const CItem& item, int64_t now) {
  int64_t d = item.date.IsNone() ? item.downloadTime.Time() : item.date.Time();
  if (d == CW3CDate::kNone) return 0.0;
  if (now > d) return kHalfLife / (static_cast<double>(now - d) + kHalfLife);
  return d < now + kDay ? 1.0 : 0.0;
}

double CScoreCalculator::KeywordValue(const CItem& item) {
  static const std::vector<std::string> kNone;
  const auto& title = item.parsedTitle ? item.parsedTitle->KeywordTexts() : kNone;
  const auto& description = item.parsedDescription ? item.parsedDescription->KeywordTexts() : kNone;
  size_t distinct = title.size();
  for (const std::string& text : description) {
    if (!std::binary_search(title.begin(), title.end(), text)) ++distinct;
  }
  double v = 0.0;
  for (size_t i = 0; i < distinct; ++i) v += (1.0 - v) * 0.5;
  return v;
}

double CScoreCalculator::SiteValue(const CSite& site) {
  if (&site == lastSite_) return lastSiteValue_;
  auto cached = siteCache_.find(site.Id());
  if (cached == siteCache_.end()) {
    if (today_ == CW3CDate::kNone) today_ = LocalDay(now_);
    // Day keys are local midnights: a day is found within half a day of today − i days, so
    // a daylight-saving change does not lose it.
    long long counts[28] = {};
    const auto& days = store_.SiteScore(site).Days();
    for (auto it = days.lower_bound(today_ - 27 * kDay - kDay / 2);
         it != days.end() && it->first < today_ + kDay / 2; ++it) {
      int64_t i = (today_ - it->first + kDay / 2) / kDay;
      if (i >= 0 && i < 28) counts[i] += it->second;
    }
    auto mean = [&counts](int n) {
      long long sum = 0;
      for (int i = 0; i < n; ++i) sum += counts[i];
      return static_cast<double>(sum) / n;
    };
    double value = 0.2 * mean(3) + 0.3 * mean(7) + 0.4 * mean(28);
    cached = siteCache_.emplace(site.Id(), std::min(value, 1.0)).first;
  }
  lastSite_ = &site;
  lastSiteValue_ = cached->second;
  return lastSiteValue_;
}

}  // namespace tw
