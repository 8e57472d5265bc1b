#include "model/preferences.h"

#include <gtest/gtest.h>

#include <functional>

#include "data_test_support.h"
#include "model/data_namespaces.h"
#include "skins/skin_uris.h"

namespace tw {
namespace {

using test::CMessages;

// The skins that ship with the program.
const CSkinManager& ShippedSkins() {
  static CSkinManager skins = [] {
    CSkinManager s;
    s.LoadFolder(test::Fixture(L"..\\..\\data\\skin"), [](const std::string&) {});
    return s;
  }();
  return skins;
}

CGestureAction Gesture(const char* storage) {
  CGestureAction a;
  CGestureAction::ParseStorage(storage, a);
  return a;
}

class PreferencesTest : public testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(ShippedSkins().Find(kDefaultSkinId)); }
  std::wstring Path() const { return dir_.File(L"preferences.xml"); }
  // Writes a data/3 preferences file with the given content (code page 932).
  void WriteCurrent(const std::string& inner) {
    test::WriteXml(
        Path(), "<Preferences xmlns='" + test::Cp932(kNsData3) + "'>" + inner + "</Preferences>");
  }
  CPreferences LoadOk() {
    CPreferences p;
    EXPECT_TRUE(p.Load(Path(), ShippedSkins(), messages_.Report()));
    EXPECT_TRUE(messages_.texts.empty());
    return p;
  }

  test::CTempFolder dir_;
  CMessages messages_;
};

TEST_F(PreferencesTest, NumbersAreClampedOnLoad) {
  using Get = std::function<long long(const CPreferences&)>;
  const Get updateCycle = [](const CPreferences& p) { return p.updateCycle; };
  const Get numThread = [](const CPreferences& p) { return p.numThread; };
  const Get timeout = [](const CPreferences& p) { return p.timeout; };
  const Get restItem = [](const CPreferences& p) { return p.restItem; };
  const Get currentTip = [](const CPreferences& p) { return p.currentTip; };
  struct Case {
    const char* xml;
    Get get;
    long long expected;
  } cases[] = {
      {"<UpdateCycle>10</UpdateCycle>", updateCycle, 30},
      {"<UpdateCycle>45</UpdateCycle>", updateCycle, 45},
      {"<UpdateCycle>abc</UpdateCycle>", updateCycle, 30},
      {"<UpdateCycle>-1</UpdateCycle>", updateCycle, 30},  // not a huge unsigned number
      {"<NumThread>0</NumThread>", numThread, 1},
      {"<NumThread>25</NumThread>", numThread, 10},
      {"<NumThread>9</NumThread>", numThread, 9},
      {"<NumThread>-3</NumThread>", numThread, 1},
      {"<Timeout>3</Timeout>", timeout, 5},
      {"<Timeout>-1</Timeout>", timeout, 5},
      {"<Timeout>45s</Timeout>", timeout, 45},
      {"<Timeout>99999999999999</Timeout>", timeout, 2147483647},
      {"", timeout, 20},
      {"<RestItem>0</RestItem>", restItem, 0},
      {"<RestItem>-5</RestItem>", restItem, 0},
      {"", restItem, 10},
      {"<CurrentTip>12</CurrentTip>", currentTip, 12},
  };
  for (const Case& c : cases) {
    WriteCurrent(c.xml);
    EXPECT_EQ(c.get(LoadOk()), c.expected) << c.xml;
  }
}

TEST_F(PreferencesTest, ViewValuesOutsideTheirRangeFallBack) {
  WriteCurrent(
      "<RankedViewPreference><ViewPreference><Name>v</Name></ViewPreference>"
      "<ZOrder>5</ZOrder><NoneZOrder>9</NoneZOrder><Browser>2</Browser>"
      "<AssignRate>15</AssignRate></RankedViewPreference>"
      "<RankedViewPreference><ViewPreference/><ZOrder>-1</ZOrder><AssignRate>-3</AssignRate>"
      "</RankedViewPreference>"
      "<RankedViewPreference/>");
  CPreferences p = LoadOk();
  ASSERT_EQ(p.views.size(), 3u);
  EXPECT_EQ(p.views[0]->zOrder, 1);
  EXPECT_EQ(p.views[0]->noneZOrder, 3);
  EXPECT_EQ(p.views[0]->browser, 0);
  EXPECT_EQ(p.views[0]->assignRate, 10);
  EXPECT_EQ(p.views[1]->zOrder, 1);
  EXPECT_EQ(p.views[1]->assignRate, 0);
  // Nothing given: the defaults, and a new view's skin settings from the default skin.
  const CRankedViewPreference& bare = *p.views[2];
  EXPECT_EQ(bare.zOrder, 1);
  EXPECT_EQ(bare.noneZOrder, 3);
  EXPECT_EQ(bare.assignRate, 3);
  EXPECT_FALSE(bare.enableOverlap);
  EXPECT_EQ(bare.skin.skinId, kDefaultSkinId);
  EXPECT_EQ(bare.skin.width, ShippedSkins().Find(kDefaultSkinId)->Values().width);
}

TEST_F(PreferencesTest, MissingFileGivesDefaultsAndNoViews) {
  CPreferences p;
  p.restItem = 99;
  p.views.push_back(std::make_unique<CRankedViewPreference>());
  ASSERT_TRUE(p.Load(Path(), ShippedSkins(), messages_.Report()));
  EXPECT_TRUE(messages_.texts.empty());
  EXPECT_EQ(p.restItem, 10u);
  EXPECT_EQ(p.updateCycle, 60u);
  EXPECT_EQ(p.numThread, 3u);
  EXPECT_EQ(p.timeout, 20);
  EXPECT_TRUE(p.views.empty());
  EXPECT_TRUE(p.gesture == CGestureSetting::Defaults());
}

TEST_F(PreferencesTest, EverythingSurvivesSaveAndLoad) {
  CPreferences p;
  p.restItem = 4;
  p.updateCycle = 120;
  p.numThread = 7;
  p.currentTip = 3;
  p.timeout = 33;
  p.gesture = CGestureSetting();
  p.gesture.SetActive(true);
  p.gesture.Set(GestureActionByName("zorder_top_most"), Gesture("UDU"));
  for (const char* skinId :
       {kDefaultSkinId.c_str(), "http://www.velmarco.jp/applications/tidewatch/skin/id/paint"}) {
    auto v = std::make_unique<CRankedViewPreference>();
    ShippedSkins().Find(skinId)->ApplyDefaults(v->skin, 2);
    v->name = "ビュー <&>";
    v->siteIds = {"AAAAAAAAAAAAAAA1", "BBBBBBBBBBBBBBB2"};
    v->zOrder = 2;
    v->noneZOrder = 0;
    v->viewTaskbar = true;
    v->browser = 1;
    v->browserCommand = "\"C:\\ブラウザ\\b.exe\" %s";
    v->lock = true;
    v->enableOverlap = true;
    v->assignRate = 8;
    v->skin.left = -100;
    v->skin.top = 1500;
    v->skin.itemCount = 11;
    v->skin.dateYear = true;
    v->skin.colors[kKeywordTextColor] = MakeColor(0x10, 0x20, 0x30);
    v->skin.viewFont.SetFaceName("メイリオ");
    v->skin.viewFont.height = -18;
    p.views.push_back(std::move(v));
  }
  p.views[1]->skin.imageSet = "green";
  ASSERT_TRUE(p.Save(Path(), ShippedSkins()));

  CXmlDocument saved;
  ASSERT_TRUE(saved.LoadFile(Path()));
  EXPECT_EQ(saved.Root().NamespaceUri(), kNsData3);
  EXPECT_EQ(saved.Root().BaseName(), L"Preferences");

  CPreferences back = LoadOk();
  EXPECT_EQ(back.restItem, 4u);
  EXPECT_EQ(back.updateCycle, 120u);
  EXPECT_EQ(back.numThread, 7u);
  EXPECT_EQ(back.currentTip, 3u);
  EXPECT_EQ(back.timeout, 33);
  EXPECT_TRUE(back.gesture == p.gesture);
  ASSERT_EQ(back.views.size(), 2u);
  for (size_t i = 0; i < 2; ++i) {
    const CRankedViewPreference& a = *p.views[i];
    const CRankedViewPreference& b = *back.views[i];
    EXPECT_EQ(b.name, a.name);
    EXPECT_EQ(b.siteIds, a.siteIds);
    EXPECT_EQ(b.zOrder, a.zOrder);
    EXPECT_EQ(b.noneZOrder, a.noneZOrder);
    EXPECT_EQ(b.viewTaskbar, a.viewTaskbar);
    EXPECT_EQ(b.browser, a.browser);
    EXPECT_EQ(b.browserCommand, a.browserCommand);
    EXPECT_EQ(b.lock, a.lock);
    EXPECT_EQ(b.enableOverlap, a.enableOverlap);
    EXPECT_EQ(b.assignRate, a.assignRate);
    EXPECT_TRUE(b.skin == a.skin) << i;
  }
  EXPECT_EQ(back.views[1]->skin.imageSet, "green");
}

TEST_F(PreferencesTest, SecondFormGetsOverlapAndIsSavedInTheNewForm) {
  test::CopyFileOrThrow(test::Fixture(L"data\\preferences_data2.xml"), Path());
  CPreferences p = LoadOk();
  EXPECT_EQ(p.restItem, 7u);
  EXPECT_EQ(p.updateCycle, 45u);
  EXPECT_EQ(p.currentTip, 9u);
  EXPECT_EQ(p.timeout, 20) << "that form had no Timeout";
  EXPECT_TRUE(p.gesture.IsActive());
  EXPECT_EQ(p.gesture.Find(Gesture("L")), GestureActionByName("item_read"));
  ASSERT_EQ(p.views.size(), 2u);
  EXPECT_TRUE(p.views[0]->enableOverlap);
  EXPECT_TRUE(p.views[1]->enableOverlap);
  const CRankedViewPreference& v = *p.views[0];
  EXPECT_EQ(v.name, "一つ目");
  EXPECT_EQ(v.siteIds, std::vector<std::string>{"AAAAAAAAAAAAAAA1"});
  EXPECT_EQ(v.zOrder, 0);
  EXPECT_EQ(v.noneZOrder, 2);
  EXPECT_EQ(v.browser, 1);
  EXPECT_EQ(v.browserCommand, "\"C:\\Program Files\\Browser\\browser.exe\" \"%s\"");
  EXPECT_TRUE(v.lock);
  EXPECT_EQ(v.assignRate, 5);
  EXPECT_EQ(v.skin.left, 10);
  EXPECT_EQ(v.skin.itemCount, 5);
  EXPECT_EQ(v.skin.colors[kTextColor], MakeColor(0x12, 0x34, 0x56));

  ASSERT_TRUE(p.Save(Path(), ShippedSkins()));
  CXmlDocument saved;
  ASSERT_TRUE(saved.LoadFile(Path()));
  EXPECT_EQ(saved.Root().NamespaceUri(), kNsData3);
  CPreferences again = LoadOk();
  ASSERT_EQ(again.views.size(), 2u);
  EXPECT_TRUE(again.views[1]->enableOverlap);
  EXPECT_EQ(again.views[0]->browserCommand, v.browserCommand);
}

TEST_F(PreferencesTest, OldestFormTakesWindowOrderAndColours) {
  test::CopyFileOrThrow(test::Fixture(L"data\\preferences_data1.xml"), Path());
  CPreferences p = LoadOk();
  EXPECT_EQ(p.restItem, 5u);
  EXPECT_EQ(p.updateCycle, 90u);
  EXPECT_EQ(p.numThread, 4u);
  EXPECT_EQ(p.currentTip, 2u);
  EXPECT_TRUE(p.gesture == CGestureSetting::Defaults());
  ASSERT_EQ(p.views.size(), 2u);

  const CRankedViewPreference& v = *p.views[0];
  EXPECT_EQ(v.name, "ニュース");
  EXPECT_EQ(v.siteIds, (std::vector<std::string>{"AAAAAAAAAAAAAAA1", "BBBBBBBBBBBBBBB2"}));
  EXPECT_EQ(v.zOrder, 1);
  EXPECT_TRUE(v.viewTaskbar) << "WindowOrder 1";
  EXPECT_TRUE(v.enableOverlap);
  // The simple skin of that age is now the default skin.
  EXPECT_EQ(v.skin.skinId, kDefaultSkinId);
  EXPECT_EQ(v.skin.left, 100);
  EXPECT_EQ(v.skin.top, 50);
  EXPECT_EQ(v.skin.width, 400);
  EXPECT_EQ(v.skin.itemCount, 6);
  EXPECT_FALSE(v.skin.deleteButton);
  const std::pair<SkinColor, CColor> colors[] = {
      {kBackgroundColor, MakeColor(0, 0, 0x80)},
      {kItemColor, MakeColor(0, 0, 0x80)},
      {kTextColor, MakeColor(0xFF, 0xFF, 0xFF)},
      {kHotTextColor, MakeColor(0xFF, 0xFF, 0xFF)},
      {kHotKeywordTextColor, MakeColor(0xFF, 0xFF, 0xFF)},
      {kKeywordTextColor, MakeColor(0xFF, 0xFF, 0)},
      {kKeywordItemColor, MakeColor(0x80, 0, 0)},
      {kHotItemColor, MakeColor(0, 0, 0xFF)},
      {kHotKeywordItemColor, MakeColor(0xFF, 0, 0xFF)},
  };
  for (auto [color, value] : colors) EXPECT_EQ(v.skin.colors[color], value) << SkinColorName(color);

  EXPECT_EQ(p.views[1]->zOrder, 2);
  EXPECT_TRUE(p.views[1]->viewTaskbar);

  ASSERT_TRUE(p.Save(Path(), ShippedSkins()));
  CPreferences again = LoadOk();
  ASSERT_EQ(again.views.size(), 2u);
  EXPECT_TRUE(again.views[0]->skin == v.skin);
}

TEST_F(PreferencesTest, WrongRootAndDamagedFile) {
  test::WriteXml(Path(), "<Sites xmlns='" + test::Cp932(kNsData2) + "'/>");
  CPreferences p;
  EXPECT_FALSE(p.Load(Path(), ShippedSkins(), messages_.Report()));
  ASSERT_EQ(messages_.texts.size(), 1u);
  EXPECT_EQ(messages_.texts[0], "ファイル" + test::Cp932(Path()) + "の形式エラーです。");

  messages_.texts.clear();
  WriteCurrent("<RestItem>4</RestItem><RankedViewPreference>");  // not well-formed
  ASSERT_TRUE(p.Load(Path(), ShippedSkins(), messages_.Report()));
  EXPECT_TRUE(p.views.empty());
  EXPECT_EQ(p.restItem, 10u);
  ASSERT_EQ(messages_.texts.size(), 1u);
  EXPECT_NE(messages_.texts[0].find(test::Cp932(Path()) + ".damaged-"), std::string::npos);
  EXPECT_FALSE(test::FileExists(Path()));
}

}  // namespace
}  // namespace tw
