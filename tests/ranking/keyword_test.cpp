#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/test_support.h"
#include "framework/text.h"
#include "ranking/keyword_dialog.h"
#include "ranking/keyword_list.h"
#include "ranking/keyword_match.h"
#include "ranking/score_calculator.h"
#include "resources/resource.h"

namespace tw {
namespace {

// Writes a parsed text as text, [keyword:level], <start> and </end>, with "|" between two
// adjacent text items so that a split run shows.
class CRenderer : public CParsedTextVisitor {
 public:
  std::string out;
  bool lastWasText = false;
  bool OnText(const CTextParsedItem& item) override {
    if (lastWasText) out += '|';
    out += item.text;
    lastWasText = true;
    return true;
  }
  bool OnKeyword(const CKeywordParsedItem& item) override {
    return Add("[" + item.text + ":" + std::to_string(item.level) + "]");
  }
  bool OnStartElement(const CStartElementParsedItem& item) override {
    return Add("<" + item.name + ">");
  }
  bool OnEndElement(const CEndElementParsedItem& item) override {
    return Add("</" + item.name + ">");
  }

 private:
  bool Add(const std::string& s) {
    out += s;
    lastWasText = false;
    return true;
  }
};

std::string Render(const CParsedTextPtr& text) {
  CRenderer r;
  EXPECT_TRUE(text->Accept(r));
  return r.out;
}

CKeywordList MakeList(const std::vector<CKeyword>& keywords) {
  CKeywordList list;
  for (const CKeyword& k : keywords) list.Add(k);
  return list;
}

struct ScanCase {
  const char* name;
  std::vector<CKeyword> keywords;
  std::string text;
  std::string expected;
};

TEST(KeywordScan, MatchesWholeCharactersPreferringHigherThenLongerKeywords) {
  const ScanCase cases[] = {
      {"longest of equal levels",
       {{1, "RSS"}, {1, "RSSリーダー"}},
       "RSSリーダーの話",
       "[RSSリーダー:1]の話"},
      {"higher level beats longer", {{2, "新"}, {1, "新製品"}}, "新製品", "[新:2]製品"},
      {"longer needs an equal or higher level",
       {{1, "ab"}, {2, "abc"}, {1, "abcd"}},
       "abcde",
       "[abc:2]de"},
      {"letter case is distinct", {{1, "rss"}}, "RSS", "RSS"},
      {"full width is distinct", {{1, "ＲＳＳ"}}, "RSS", "RSS"},
      // "ソ" is 0x83 0x5C: its trail byte is a backslash.
      {"no match from a trail byte", {{1, "\\ab"}}, "ソab\\ab", "ソab[\\ab:1]"},
      {"no match ending inside a character", {{1, "a\x83"}}, "aア", "aア"},
      {"adjacent hits", {{1, "RSS"}}, "RSSRSS", "[RSS:1][RSS:1]"},
      {"a later equal keyword sets the level", {{1, "x"}, {3, "x"}}, "axb", "a[x:3]b"},
      {"no keyword: one text item", {{1, "RSS"}}, "タイトル", "タイトル"},
      {"no keywords at all", {}, "タイトル", "タイトル"},
  };
  for (const ScanCase& c : cases) {
    CKeywordList list = MakeList(c.keywords);
    CParsedTextPtr parsed = ParseText(c.text, list.GetTree().get());
    EXPECT_EQ(Render(parsed), c.expected) << c.name;
    EXPECT_EQ(parsed->GetKind(), CParsedText::kPlain) << c.name;
  }
  CKeywordList list = MakeList({{1, "RSS"}});
  EXPECT_TRUE(ParseText("", list.GetTree().get())->GetItems().empty());
  EXPECT_EQ(ParseText("タイトル", list.GetTree().get())->GetItems().size(), 1u);
}

TEST(KeywordScan, MarkupIsScannedBetweenTagsWithEntitiesResolved) {
  CKeywordList list = MakeList({{1, "RSS"}, {2, "R&D"}});
  CParsedTextPtr parsed = ParseMarkup("<p class=\"x>y\">RSSの<b>話</b>R&amp;D&amp;RSS<br/>end</p>",
                                      list.GetTree().get());
  EXPECT_EQ(parsed->GetKind(), CParsedText::kMarkup);
  EXPECT_EQ(Render(parsed), "<p>[RSS:1]の<b>話</b>[R&D:2]&[RSS:1]<br></br>end</p>");
  EXPECT_EQ(parsed->KeywordTexts(), (std::vector<std::string>{"R&D", "RSS"}));

  // A visitor that refuses stops the walk.
  struct CStopAtKeyword : CRenderer {
    bool OnKeyword(const CKeywordParsedItem&) override { return false; }
  } stop;
  EXPECT_FALSE(parsed->Accept(stop));
  EXPECT_EQ(stop.out, "<p>");
}

TEST(KeywordScan, ItemsParseTheirDescriptionAsMarkupOnlyWhenItIsTheOnlyText) {
  CKeywordList list = MakeList({{1, "RSS"}});
  auto tree = list.GetTree();
  CItem rss2;  // an RSS 2.0 description, stored as encoded description
  rss2.title = "RSSの話";
  rss2.encodedDescription = "<b>RSS</b>";
  CItem rss1;  // RSS 1.0 with both texts: the plain one wins
  rss1.description = "plain <b>RSS</b>";
  rss1.encodedDescription = "<i>rich</i>";
  ParseItemTexts(rss2, tree.get());
  ParseItemTexts(rss1, tree.get());
  EXPECT_EQ(Render(rss2.parsedTitle), "[RSS:1]の話");
  EXPECT_EQ(Render(rss2.parsedDescription), "<b>[RSS:1]</b>");
  EXPECT_EQ(Render(rss1.parsedDescription), "plain <b>[RSS:1]</b>");

  // The update's keyword step fills only what is missing.
  auto item = std::make_shared<CItem>();
  item->title = "RSS";
  item->parsedTitle = ParseText("kept", nullptr);
  CParsedTextPtr kept = item->parsedTitle;
  MatchKeywords({item, nullptr}, tree.get());
  EXPECT_EQ(item->parsedTitle, kept);
  ASSERT_TRUE(item->parsedDescription);
  EXPECT_TRUE(item->parsedDescription->GetItems().empty());
}

TEST(KeywordList, DialogTextSplitsAtCommasAndJoinsBack) {
  const struct {
    std::string text;
    std::vector<std::string> keywords;
  } cases[] = {
      {"a,,b, c", {"a", "b", " c"}},
      {",新製品,", {"新製品"}},
      {"表,ソ", {"表", "ソ"}},  // trail bytes 0x5C, not commas
      {"", {}},
  };
  for (const auto& c : cases) {
    std::vector<CKeyword> split = SplitKeywords(c.text);
    std::vector<std::string> texts;
    for (const CKeyword& k : split) {
      texts.push_back(k.text);
      EXPECT_EQ(k.level, 1);
    }
    EXPECT_EQ(texts, c.keywords) << c.text;
  }
  EXPECT_EQ(JoinKeywords({{1, "a"}, {2, "b"}, {1, " c"}}), "a,b, c");
}

TEST(KeywordList, FileKeepsLevelsTextsAndOrder) {
  test::CTempFolder folder;
  const std::wstring path = folder.File(L"keyword.xml");
  std::vector<std::string> messages;
  auto report = [&messages](const std::string& m) { messages.push_back(m); };

  CKeywordList list = MakeList({{2, " 新製品"}, {1, "RSS"}, {1, ""}});
  ASSERT_TRUE(list.Save(path));
  CKeywordList loaded;
  ASSERT_TRUE(loaded.Load(path, report));
  EXPECT_EQ(JoinKeywords(loaded.Keywords()), " 新製品,RSS");
  EXPECT_EQ(loaded.Keywords()[0].level, 2);

  // A keyword without a level is level 1.
  test::WriteUtf8(path,
                  "<Keywords xmlns='http://www.velmarco.jp/applictions/tidewatch/data/1'>"
                  "<Keyword><Text>x</Text></Keyword></Keywords>");
  ASSERT_TRUE(loaded.Load(path, report));
  ASSERT_EQ(loaded.Keywords().size(), 1u);
  EXPECT_EQ(loaded.Keywords()[0].level, 1);

  // Another root: reported, the load fails and the list is kept.
  test::WriteUtf8(path, "<Sites xmlns='http://www.velmarco.jp/applictions/tidewatch/data/1'/>");
  EXPECT_FALSE(loaded.Load(path, report));
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_NE(messages[0].find("の形式エラーです。"), std::string::npos);
  EXPECT_EQ(loaded.Keywords().size(), 1u);

  EXPECT_TRUE(loaded.Load(folder.File(L"missing.xml"), report));
  EXPECT_TRUE(loaded.Keywords().empty());
}

TEST(KeywordList, CommittingAnEmptyListClearsEveryItemsKeywordScore) {
  test::CTempFolder folder;
  CKeywordList list = MakeList({{1, "RSS"}});
  CSiteList sites;
  auto feed = std::make_shared<CFeedSite>();
  auto item = std::make_shared<CItem>();
  item->title = "RSS";
  item->description = "RSS";
  feed->items.push_back(item);
  CSite& site = sites.Add(feed);
  auto sub = std::make_shared<CFeedSite>();
  auto subItem = std::make_shared<CItem>(*item);
  sub->items.push_back(subItem);
  site.SubSites().push_back(sub);
  RescanKeywords(list, sites);
  EXPECT_EQ(CScoreCalculator::KeywordValue(*item), 0.5);
  EXPECT_EQ(CScoreCalculator::KeywordValue(*subItem), 0.5);

  EXPECT_TRUE(CommitKeywords(list, SplitKeywords(""), sites, folder.File(L"keyword.xml")));
  EXPECT_EQ(CScoreCalculator::KeywordValue(*item), 0.0);
  EXPECT_EQ(CScoreCalculator::KeywordValue(*subItem), 0.0);
  CKeywordList reloaded = MakeList({{1, "stale"}});
  ASSERT_TRUE(reloaded.Load(folder.File(L"keyword.xml"), [](const std::string&) {}));
  EXPECT_TRUE(reloaded.Keywords().empty());
}

TEST(KeywordDialog, ShowsTheJoinedListAndSplitsTheTextOnOk) {
  CKeywordDialog dialog({{2, "a"}, {1, " b"}});
  ASSERT_TRUE(dialog.Create(nullptr));
  HWND hwnd = dialog.Handle();
  wchar_t caption[64] = {};
  GetWindowTextW(hwnd, caption, 64);
  EXPECT_EQ(ToCp932(caption), "キーワード設定");
  EXPECT_EQ(dialog.GetItemText(IDC_KEYWORD_EDIT), "a, b");

  dialog.SetItemText(IDC_KEYWORD_EDIT, "新製品,,RSS, x");
  SendMessageW(hwnd, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
  EXPECT_FALSE(IsWindow(hwnd));
  EXPECT_EQ(JoinKeywords(dialog.Result()), "新製品,RSS, x");
  EXPECT_EQ(dialog.Result()[0].level, 1);
}

}  // namespace
}  // namespace tw
