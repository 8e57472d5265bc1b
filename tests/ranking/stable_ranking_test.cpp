#include "ranking/stable_ranking.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "ranking/site_rank.h"

namespace tw {
namespace {

TEST(DistributeSlots, SharesRowsByRate) {
  const struct {
    std::vector<int> candidates;
    int count;
    float rate;
    std::vector<int> quota;
  } cases[] = {
      {{5, 5, 5}, 6, 0.0f, {2, 2, 2}},
      {{5, 5, 5}, 6, 1.0f, {4, 1, 1}},
      {{5, 5, 5}, 6, 0.3f, {2, 2, 2}},
      {{1, 5, 5}, 6, 1.0f, {1, 4, 1}},  // one candidate, one row
      {{0, 5, 5}, 6, 0.3f, {0, 4, 2}},
      {{2, 2, 2}, 10, 0.5f, {2, 2, 2}},  // everything fits
      {{5, 5}, 0, 0.3f, {0, 0}},
      // 0.6f is a little above 0.6: rounding 85 × 0.6f up would give 52, not 51.
      {{87, 200}, 87, 0.6f, {62, 25}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(DistributeSlots(c.candidates, c.count, c.rate), c.quota)
        << c.count << " rows at rate " << c.rate;
  }
  EXPECT_EQ(SlotShare(50, 0.3f), 15);
  EXPECT_EQ(SlotShare(3, 0.3f), 1);
  EXPECT_EQ(SlotShare(7, 0.0f), 1);
}

// Sites whose items are scored by age alone: a younger item scores higher.
class StableRankingTest : public ::testing::Test {
 protected:
  const int64_t now_ = 1715313600;  // a fixed clock

  // Items named <id><n> (n from 1, in the site's order), aged ages[n-1] hours.
  CSite* AddSite(const std::string& id, const std::vector<int>& ages) {
    auto feed = std::make_shared<CFeedSite>();
    sites_.push_back(std::make_unique<CSite>(id, feed));
    for (int age : ages) AddItem(*sites_.back(), age);
    return sites_.back().get();
  }
  CItem& AddItem(CSite& site, int ageHours) {
    auto& items = site.Main()->items;
    auto item = std::make_shared<CItem>();
    item->title = site.Id() + std::to_string(items.size() + 1);
    item->link = "http://example.com/" + item->title;
    item->date = CW3CDate(now_ - ageHours * 3600);
    items.push_back(item);
    return *item;
  }
  CItem& Item(const std::string& title) {
    for (const auto& site : sites_) {
      for (const auto& item : site->Main()->items) {
        if (item->title == title) return *item;
      }
    }
    throw std::runtime_error("no item " + title);
  }
  std::unique_ptr<CStableRanking> MakeRanking(float rate) {
    return std::make_unique<CStableRanking>(rate, store_, [this] { return now_; });
  }
  static std::string Rows(const CRanking& ranking) {
    std::string rows;
    for (size_t i = 0; i < ranking.Result().size(); ++i) {
      if (i) rows += ' ';
      rows += ranking.Result()[i]->title;
      EXPECT_EQ(ranking.ResultSites()[i]->Id(), ranking.Result()[i]->title.substr(0, 1));
    }
    return rows;
  }

  CScoreStore store_;
  std::vector<std::unique_ptr<CSite>> sites_;
};

TEST_F(StableRankingTest, FullPassOrdersSitesByTheirBestItemsAndSharesRowsByRate) {
  CSite* c = AddSite("C", {20, 21, 22, 23, 24});
  CSite* b = AddSite("B", {10, 11, 12, 13, 14});
  CSite* a = AddSite("A", {3, 1, 2, 5, 4});
  const std::vector<CSite*> view = {c, b, a};
  const struct {
    float rate;
    const char* rows;
  } cases[] = {
      {0.0f, "A2 A3 B1 B2 C1 C2"},
      {1.0f, "A2 A3 A1 A5 B1 C1"},
      {0.3f, "A2 A3 B1 B2 C1 C2"},
  };
  for (const auto& k : cases) {
    auto ranking = MakeRanking(k.rate);
    ranking->Rank(view, 6);
    EXPECT_EQ(Rows(*ranking), k.rows) << k.rate;
  }
  auto ranking = MakeRanking(0.3f);
  ranking->Rank(view, 0);
  EXPECT_TRUE(ranking->Result().empty());
  store_.MarkAllRead(*a);
  store_.MarkAllRead(*b);
  store_.MarkAllRead(*c);
  ranking->Rank(view, 6);
  EXPECT_TRUE(ranking->Result().empty());
}

TEST_F(StableRankingTest, EqualScoresKeepTheViewsSiteOrderAndTheSitesItemOrder) {
  CSite* q = AddSite("Q", {5, 5, 5});
  CSite* p = AddSite("P", {5, 5, 5});
  auto ranking = MakeRanking(0.0f);
  ranking->Rank({q, p}, 4);
  EXPECT_EQ(Rows(*ranking), "Q1 Q2 P1 P2");
  ranking->Reset();
  ranking->Rank({p, q}, 4);
  EXPECT_EQ(Rows(*ranking), "P1 P2 Q1 Q2");
}

TEST_F(StableRankingTest, ReadingRefillsOnlyTheFreedRow) {
  CSite* a = AddSite("A", {1, 2, 3});
  CSite* b = AddSite("B", {10, 11, 12, 13, 14});
  CSite* c = AddSite("C", {20, 21, 22, 23, 24});
  const std::vector<CSite*> view = {a, b, c};
  auto ranking = MakeRanking(0.3f);
  ranking->Rank(view, 6);
  ASSERT_EQ(Rows(*ranking), "A1 A2 B1 B2 C1 C2");

  // A newer item of B arrives: the rows on screen stay until the next full pass.
  AddItem(*b, 0);
  // A keeps its two rows: its next item goes to the end of its block.
  store_.Open(Item("A1"), *a);
  ranking->Rank(view, 6);
  EXPECT_EQ(Rows(*ranking), "A2 A3 B1 B2 C1 C2");

  // A runs out: the freed row goes to B, whose quota among (1, 6, 5) candidates is now 3.
  store_.MarkRead(Item("A2"));
  ranking->Rank(view, 6);
  EXPECT_EQ(Rows(*ranking), "A3 B1 B2 B6 C1 C2");

  ranking->Reset();
  ranking->Rank(view, 6);
  EXPECT_EQ(Rows(*ranking), "A3 B6 B1 B2 C1 C2");
}

TEST_F(StableRankingTest, SitesJoiningOrLeavingTheViewWaitForAFullPass) {
  CSite* a = AddSite("A", {1, 2, 3, 4});
  CSite* b = AddSite("B", {10, 11, 12});
  CSite* c = AddSite("C", {0, 1});
  auto ranking = MakeRanking(0.0f);
  ranking->Rank({a, b}, 4);
  ASSERT_EQ(Rows(*ranking), "A1 A2 B1 B2");

  ranking->Rank({a, b, c}, 4);
  EXPECT_EQ(Rows(*ranking), "A1 A2 B1 B2");
  // B leaves: its rows stay empty and are not handed to A.
  ranking->Rank({a, c}, 4);
  EXPECT_EQ(Rows(*ranking), "A1 A2");

  ranking->Reset();
  ranking->Rank({a, c}, 4);
  EXPECT_EQ(Rows(*ranking), "C1 C2 A1 A2");
}

}  // namespace
}  // namespace tw
