// bench_ranking.exe — speed of the ranking subsystem. Prints:
// - the keyword scan (ParseText) of 10 MB of Japanese text (code page 932, cut into 2 KB
//   descriptions) with 10, 100 and 1 000 keywords, in MB/s, best of five rounds; once with
//   keywords as 2 % of the vocabulary and once with a fifth of it (a hit every few words);
// - full and incremental ranking of a view with 50 sites × 200 unread items and 20 rows, in
//   ms per pass (the first pass, which looks every item's record up, is shown apart);
// - the score calculation of 10 000 items.
#include "bench_clock.h"
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "ranking/keyword_list.h"
#include "ranking/keyword_match.h"
#include "ranking/score_calculator.h"
#include "ranking/score_store.h"
#include "ranking/stable_ranking.h"

namespace tw::bench {
namespace {

// One random code page 932 character: hiragana, katakana or a first-level kanji.
std::string RandomChar(std::mt19937& rng) {
  unsigned char lead, trail;
  switch (rng() % 3) {
    case 0:
      lead = 0x82;
      trail = static_cast<unsigned char>(0x9F + rng() % (0xF1 - 0x9F + 1));
      break;
    case 1:
      lead = 0x83;
      trail = static_cast<unsigned char>(0x40 + rng() % (0x96 - 0x40 + 1));
      if (trail == 0x7F) trail = 0x80;
      break;
    default:
      lead = static_cast<unsigned char>(0x89 + rng() % (0x97 - 0x89 + 1));
      trail = static_cast<unsigned char>(0x40 + rng() % (0xFC - 0x40 + 1));
      if (trail == 0x7F) trail = 0x80;
      break;
  }
  return std::string{static_cast<char>(lead), static_cast<char>(trail)};
}

std::vector<std::string> MakeVocabulary(std::mt19937& rng, size_t size) {
  std::vector<std::string> words;
  while (words.size() < size) {
    std::string w;
    for (int n = 2 + static_cast<int>(rng() % 3); n > 0; --n) w += RandomChar(rng);
    words.push_back(w);
  }
  return words;
}

// Texts of about 2 KB made of vocabulary words, punctuation and some ASCII.
std::vector<std::string> MakeTexts(std::mt19937& rng, const std::vector<std::string>& words,
                                   size_t totalBytes) {
  std::vector<std::string> texts;
  size_t total = 0;
  while (total < totalBytes) {
    std::string text;
    while (text.size() < 2048) {
      text += words[rng() % words.size()];
      unsigned r = rng() % 10;
      if (r == 0) text += "、";
      if (r == 1) text += "。";
      if (r == 2) text += " RSS 2.0 ";
    }
    total += text.size();
    texts.push_back(std::move(text));
  }
  return texts;
}

void BenchKeywordScan(size_t vocabularySize) {
  std::mt19937 rng(1);
  std::vector<std::string> words = MakeVocabulary(rng, vocabularySize);
  std::vector<std::string> texts = MakeTexts(rng, words, 10 * 1024 * 1024);
  size_t bytes = 0;
  for (const auto& t : texts) bytes += t.size();
  std::printf("keyword scan: %.1f MB of Japanese text in %zu texts of 2 KB, %zu-word vocabulary\n",
              bytes / 1048576.0, texts.size(), vocabularySize);
  for (int keywordCount : {10, 100, 1000}) {
    CKeywordList list;
    const size_t step = vocabularySize / 1000;
    for (int i = 0; i < keywordCount; ++i)
      list.Add({1 + i % 3, words[static_cast<size_t>(i) * step]});
    auto tree = list.GetTree();
    double best = 1e9;
    size_t hits = 0;
    for (int round = 0; round < 5; ++round) {
      hits = 0;
      double start = Now();
      for (const auto& t : texts) {
        CParsedTextPtr parsed = ParseText(t, tree.get());
        for (const auto& item : parsed->GetItems())
          hits += item->GetKind() == CParsedItem::kKeyword;
      }
      best = std::min(best, Now() - start);
    }
    std::printf("  %5d keywords: %7.1f MB/s  (%.1f ms; %zu keyword hits)\n", keywordCount,
                bytes / 1048576.0 / best, best * 1000, hits);
  }
}

// Many short texts (titles of about 60 bytes): the cost per parsed text.
void BenchTitles() {
  std::mt19937 rng(3);
  std::vector<std::string> words = MakeVocabulary(rng, 50000);
  std::vector<std::string> titles(100000);
  for (auto& t : titles) {
    while (t.size() < 60) t += words[rng() % words.size()];
  }
  CKeywordList list;
  for (int i = 0; i < 1000; ++i) list.Add({1, words[static_cast<size_t>(i) * 50]});
  auto tree = list.GetTree();
  double best = 1e9;
  for (int round = 0; round < 5; ++round) {
    double start = Now();
    for (const auto& t : titles) ParseText(t, tree.get());
    best = std::min(best, Now() - start);
  }
  std::printf("titles: 100 000 texts of about 60 bytes, 1 000 keywords: %.0f ns per text\n",
              best * 1e9 / titles.size());
}

struct CView {
  CScoreStore store;
  std::vector<std::unique_ptr<CSite>> sites;
  std::vector<CSite*> view;
  int64_t now = 1715313600;
};

void BuildView(CView& v, int siteCount, int itemsPerSite) {
  std::mt19937 rng(2);
  std::vector<std::string> words = MakeVocabulary(rng, 2000);
  CKeywordList keywords;
  for (int i = 0; i < 50; ++i) keywords.Add({1, words[static_cast<size_t>(i) * 7]});
  auto tree = keywords.GetTree();
  for (int s = 0; s < siteCount; ++s) {
    char id[17];
    std::snprintf(id, sizeof id, "SITE%012d", s);
    auto feed = std::make_shared<CFeedSite>();
    for (int i = 0; i < itemsPerSite; ++i) {
      auto item = std::make_shared<CItem>();
      for (int w = 0; w < 6; ++w) item->title += words[rng() % words.size()];
      item->link = "http://example.com/" + std::string(id) + "/" + std::to_string(i);
      item->date = CW3CDate(v.now - static_cast<int64_t>(rng() % (7 * 86400)));
      for (int w = 0; w < 60; ++w) item->description += words[rng() % words.size()];
      ParseItemTexts(*item, tree.get());
      feed->items.push_back(item);
    }
    v.sites.push_back(std::make_unique<CSite>(id, feed));
    v.view.push_back(v.sites.back().get());
    // Some reading history for the site frequency.
    for (int d = 0; d < static_cast<int>(rng() % 20); ++d)
      v.store.GetSiteScore(id).ClickAt(v.now - (rng() % 28) * 86400);
  }
}

// Median and best of a set of timings, in milliseconds.
struct CTimes {
  std::vector<double> runs;
  double Median() {
    std::sort(runs.begin(), runs.end());
    return runs[runs.size() / 2] * 1000;
  }
  double Best() { return *std::min_element(runs.begin(), runs.end()) * 1000; }
};

void BenchRanking() {
  const int kRows = 20;
  CView v;
  BuildView(v, 50, 200);
  CStableRanking ranking(0.3f, v.store, [&v] { return v.now; });

  double start = Now();
  ranking.Rank(v.view, kRows);
  double first = Now() - start;

  const int kRounds = 200;
  CTimes full, incremental;
  for (int i = 0; i < kRounds; ++i) {
    ranking.Reset();
    start = Now();
    ranking.Rank(v.view, kRows);
    full.runs.push_back(Now() - start);
  }
  // Each round reads the top row and ranks again incrementally.
  for (int i = 0; i < kRounds; ++i) {
    v.store.MarkRead(*ranking.Result().front());
    start = Now();
    ranking.Rank(v.view, kRows);
    incremental.runs.push_back(Now() - start);
  }
  std::printf("ranking: 50 sites x 200 unread items, %d rows, rate 0.3 (%d passes each)\n", kRows,
              kRounds);
  std::printf("  first full pass (looks every record up): %.3f ms\n", first * 1000);
  std::printf("  full pass:        median %.3f ms, best %.3f ms\n", full.Median(), full.Best());
  std::printf("  incremental pass: median %.3f ms, best %.3f ms (after reading the top row)\n",
              incremental.Median(), incremental.Best());
  std::printf("  rows shown: %zu\n", ranking.Result().size());
}

void BenchScores() {
  CView v;
  BuildView(v, 50, 200);
  long long sum = 0;
  auto scoreAll = [&v, &sum] {
    CScoreCalculator calculator(v.store, v.now);
    for (CSite* site : v.view) {
      for (const auto& item : site->Main()->items) sum += calculator.Score(*site, *item);
    }
  };
  CTimes scores;
  for (int i = 0; i < 100; ++i) {
    double start = Now();
    scoreAll();
    scores.runs.push_back(Now() - start);
  }
  std::printf("score calculation: total score of 10 000 items (one calculator)\n");
  std::printf("  median %.3f ms, best %.3f ms  (checksum %lld)\n", scores.Median(), scores.Best(),
              sum);
}

}  // namespace
}  // namespace tw::bench

int main() {
  tw::bench::BenchKeywordScan(50000);  // keywords are 2 % of the words
  tw::bench::BenchKeywordScan(5000);   // dense: a fifth of the words are keywords
  tw::bench::BenchTitles();
  tw::bench::BenchRanking();
  tw::bench::BenchScores();
  return 0;
}
