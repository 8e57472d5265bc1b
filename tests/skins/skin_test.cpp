#include "skins/skin.h"

#include <gtest/gtest.h>
#include <windows.h>

#include "skin_test_support.h"
#include "skins/skin_factory.h"

namespace tw {
namespace {

using test::SkinXml;
using test::WriteSkin;

const std::wstring kNs = L"urn:test-preferences";

// A skin with one property of each type: Width fixed, ItemCount variable, TextColor user,
// FrameColor without a type, ItemColor absent.
const char kTypedBody[] =
    "<Name>型</Name>"
    "<Width type='fixed'><Default>300</Default></Width>"
    "<ItemCount type='variable'><Default>7</Default></ItemCount>"
    "<TextColor type='user'><Default>112233</Default></TextColor>"
    "<FrameColor><Default>445566</Default></FrameColor>"
    "<BackgroundColor type='variable'><Default>0000FF</Default></BackgroundColor>"
    "<DeleteButtonWidth type='variable'><Default>16</Default></DeleteButtonWidth>"
    "<Alpha type='fixed'><Default>100</Default></Alpha>"
    "<ImageSet type='bogus'/>";

class SkinTest : public testing::Test {
 protected:
  CSkinPtr Load(const std::string& cls, const std::string& body) {
    return LoadSkin(
        WriteSkin(dir_, L"s" + std::to_wstring(++n_) + L".xml", SkinXml(cls, "id-x", body)));
  }
  // A Skin element of a preferences document holding inner (prefix "tide" bound).
  CXmlNode SkinElement(const std::wstring& inner) {
    EXPECT_TRUE(doc_.LoadXml(L"<Skin xmlns='" + kNs + L"' id='id-x'>" + inner + L"</Skin>"));
    doc_.SetSelectionNamespaces(L"xmlns:tide='" + kNs + L"'");
    return doc_.Root();
  }

  test::CTempFolder dir_;
  int n_ = 0;
  CXmlDocument doc_;
};

TEST_F(SkinTest, PropertyTypesDecideWhatEachDefaultsLevelResets) {
  CSkinPtr skin = Load("simpleskin", kTypedBody);
  ASSERT_TRUE(skin);
  EXPECT_EQ(skin->Type(kPropWidth), SkinPropertyType::kFixed);
  EXPECT_EQ(skin->Type(kPropItemCount), SkinPropertyType::kVariable);
  EXPECT_EQ(skin->Type(kPropFirstColor + kTextColor), SkinPropertyType::kUser);
  EXPECT_EQ(skin->Type(kPropFirstColor + kFrameColor), SkinPropertyType::kNone);
  EXPECT_EQ(skin->Type(kPropImageSet), SkinPropertyType::kNone);  // unknown type text
  EXPECT_TRUE(skin->HasDefault(kPropFirstColor + kFrameColor));
  EXPECT_FALSE(skin->HasDefault(kPropFirstColor + kItemColor));

  const CColor mine = MakeColor(1, 2, 3);
  struct Case {
    const char* what;
    int level;
    bool widthFromSkin, countFromSkin, textFromSkin, frameFromSkin, itemFromSkin;
  } cases[] = {
      {"level 0", 0, true, false, false, false, false},
      {"level 1", 1, true, true, false, false, false},
      {"level 2", 2, true, true, true, true, true},
  };
  for (const Case& c : cases) {
    CSkinSetting s;
    s.skinId = "other";
    s.left = s.top = -7;
    s.width = s.itemCount = 55;
    s.colors.fill(mine);
    skin->ApplyDefaults(s, c.level);
    EXPECT_EQ(s.skinId, "id-x") << c.what;
    EXPECT_EQ(s.width, c.widthFromSkin ? 300 : 55) << c.what;
    EXPECT_EQ(s.itemCount, c.countFromSkin ? 7 : 55) << c.what;
    EXPECT_EQ(s.colors[kTextColor], c.textFromSkin ? MakeColor(0x11, 0x22, 0x33) : mine) << c.what;
    EXPECT_EQ(s.colors[kFrameColor], c.frameFromSkin ? MakeColor(0x44, 0x55, 0x66) : mine)
        << c.what;
    EXPECT_EQ(s.colors[kItemColor], c.itemFromSkin ? MakeColor(0xFF, 0xFF, 0xFF) : mine) << c.what;
    EXPECT_EQ(s.left != -7, c.level >= 1) << c.what << ": only levels 1 and 2 place the view";
    EXPECT_EQ(s.title, c.level == 2) << c.what << ": column options only at level 2";
  }
}

TEST_F(SkinTest, ColoursAreStoredRrggbbWithRedInTheLowByte) {
  CSkinPtr skin = Load("simpleskin", kTypedBody);
  ASSERT_TRUE(skin);
  // 0000FF in the file is blue: the system colour value 0x00FF0000.
  EXPECT_EQ(skin->Values().colors[kBackgroundColor], 0x00FF0000u);
  EXPECT_EQ(ColorFromText(L"FF0000"), 0x000000FFu);
  EXPECT_EQ(ColorToText(MakeColor(0x12, 0xAB, 0x0F)), L"12AB0F");
  EXPECT_EQ(ColorFromText(L"12ab0f"), MakeColor(0x12, 0xAB, 0x0F));
}

TEST(FontRecord, HexFormRoundTripsAndRejectsAnythingButSixtyBytes) {
  CFontRecord f;
  f.height = -13;
  f.weight = 700;
  f.italic = 1;
  f.charSet = 128;
  f.SetFaceName("ＭＳ ゴシック");
  const std::string hex = f.ToHex();
  ASSERT_EQ(hex.size(), 120u);
  EXPECT_EQ(hex.substr(0, 8), "F3FFFFFF");            // -13, little-endian
  EXPECT_EQ(hex.substr(32, 8), "BC020000");           // weight 700
  EXPECT_EQ(hex.substr(40, 16), "0100008000000000");  // italic … character set 128 …
  EXPECT_EQ(hex.substr(56, 8), "826C8272");           // "ＭＳ" in code page 932
  CFontRecord back;
  ASSERT_TRUE(CFontRecord::FromHex(hex, back));
  EXPECT_EQ(back, f);
  EXPECT_EQ(back.FaceName(), "ＭＳ ゴシック");
  std::string lower = hex;
  for (char& c : lower) c = static_cast<char>(tolower(c));
  EXPECT_TRUE(CFontRecord::FromHex(lower, back));

  for (const std::string& bad :
       {hex.substr(2), hex + "00", hex.substr(0, 118) + "GZ", std::string()}) {
    CFontRecord untouched = f;
    EXPECT_FALSE(CFontRecord::FromHex(bad, untouched));
    EXPECT_EQ(untouched, f);
  }
  // A face name without its terminating zero is cut so that it stays a C string.
  CFontRecord full;
  ASSERT_TRUE(CFontRecord::FromHex(hex.substr(0, 56) + std::string(64, '4'), full));
  EXPECT_EQ(full.FaceName(), std::string(31, 'D'));
}

TEST(FontRecord, DefaultFontsArePointSizesOfTheScreen) {
  HDC dc = GetDC(nullptr);
  int ppi = GetDeviceCaps(dc, LOGPIXELSY);
  ReleaseDC(nullptr, dc);
  if (ppi != 96) GTEST_SKIP() << "screen is not at 96 pixels per inch";
  EXPECT_EQ(DefaultViewFont().height, -13);
  EXPECT_EQ(DefaultDescriptionFont().height, -16);
  EXPECT_EQ(DefaultViewFont().FaceName(), "ＭＳ ゴシック");
  EXPECT_EQ(DefaultViewFont().charSet, DEFAULT_CHARSET);
}

TEST_F(SkinTest, ReadSettingsKeepsStoredValuesButFixedPropertiesWin) {
  CSkinPtr skin = Load("simpleskin", kTypedBody);
  ASSERT_TRUE(skin);
  CFontRecord font;
  font.height = -20;
  font.SetFaceName("Stored");
  CSkinSetting s;
  skin->ReadSettings(SkinElement(L"<Left>11</Left><Top>22</Top><Width>999</Width>"
                                 L"<ItemCount>4</ItemCount><TextColor>0000FF</TextColor>"
                                 L"<Alpha>5</Alpha><DateYear>1</DateYear><Title>0</Title>"
                                 L"<ViewFont>" +
                                 ToWide(font.ToHex()) +
                                 L"</ViewFont>"
                                 L"<DescriptionFont>0102</DescriptionFont>"),
                     s);
  EXPECT_EQ(s.left, 11);
  EXPECT_EQ(s.top, 22);
  EXPECT_EQ(s.width, 300) << "fixed";
  EXPECT_EQ(s.alpha, 100) << "fixed";
  EXPECT_EQ(s.itemCount, 4);
  EXPECT_EQ(s.colors[kTextColor], MakeColor(0, 0, 255));
  EXPECT_TRUE(s.dateYear);
  EXPECT_FALSE(s.title);
  EXPECT_TRUE(s.shortName) << "absent values keep the level 2 defaults";
  EXPECT_EQ(s.viewFont, font);
  EXPECT_EQ(s.descriptionFont, DefaultDescriptionFont()) << "a font that is not 60 bytes";
}

TEST_F(SkinTest, StoredReadButtonWidthMustBeAStepOfTheSkins) {
  CSkinPtr skin = Load("simpleskin", kTypedBody);  // read-button width 16
  ASSERT_TRUE(skin);
  const std::pair<int, int> cases[] = {{8, 8}, {16, 16}, {24, 24}, {20, 16}, {0, 16}, {32, 16}};
  for (auto [stored, expected] : cases) {
    CSkinSetting s;
    skin->ReadSettings(
        SkinElement(L"<DeleteButtonWidth>" + std::to_wstring(stored) + L"</DeleteButtonWidth>"), s);
    EXPECT_EQ(s.deleteButtonWidth, expected) << stored;
  }
}

TEST_F(SkinTest, CascadeAdvancesOnLevelsOneAndTwoAndWrapsAfterTen) {
  CSkinPtr skin = Load("simpleskin", kTypedBody);
  ASSERT_TRUE(skin);
  CSkinSetting s;
  skin->ApplyDefaults(s, 1);
  const int x0 = s.left, y0 = s.top;
  EXPECT_EQ(x0 - 240, y0 - 120);
  EXPECT_EQ((x0 - 240) % 16, 0);
  skin->ApplyDefaults(s, 0);
  EXPECT_EQ(s.left, x0) << "level 0 leaves the position";
  for (int i = 1; i <= 10; ++i) {
    skin->ApplyDefaults(s, 2);
    const int expectedStep = ((x0 - 240) / 16 + i) % 10;
    EXPECT_EQ(s.left, 240 + 16 * expectedStep) << i;
    EXPECT_EQ(s.top, 120 + 16 * expectedStep) << i;
  }
  EXPECT_EQ(s.left, x0) << "the eleventh application is back at the first position";
  // Reading a stored view begins with a level 2 application, which advances the counter too.
  skin->ReadSettings(SkinElement(L""), s);
  EXPECT_EQ(s.left, 240 + 16 * (((x0 - 240) / 16 + 1) % 10));
}

TEST_F(SkinTest, SettingsWriteAndReadBack) {
  CSkinPtr skin = Load("simpleskin", "<Width type='user'><Default>320</Default></Width>");
  ASSERT_TRUE(skin);
  CSkinSetting s;
  skin->ApplyDefaults(s, 2);
  s.left = -40;
  s.top = 2000;
  s.itemCount = 12;
  s.deleteButton = true;
  s.dateYear = true;
  s.colors[kHotItemColor] = MakeColor(1, 2, 3);
  s.viewFont.SetFaceName("メイリオ");
  s.alpha = 77;
  s.imageSet = "set-1";
  CXmlDocument doc;
  doc.SetRoot(doc.CreateElement(L"Skin", kNs));
  skin->WriteSettings(doc.Root(), s);
  doc.SetSelectionNamespaces(L"xmlns:tide='" + kNs + L"'");
  EXPECT_EQ(doc.AsNode().SelectText(L"/tide:Skin/tide:HotItemColor"), L"010203");
  EXPECT_EQ(doc.SelectSingle(L"/tide:Skin/tide:ImageSet").Attribute(L"id"), L"set-1");
  EXPECT_EQ(doc.Root().Attribute(L"id"), L"id-x");
  CSkinSetting back;
  skin->ReadSettings(doc.Root(), back);
  EXPECT_TRUE(back == s);
}

TEST_F(SkinTest, FactoryTakesTheThreeClassesAndSkipsBrokenFiles) {
  EXPECT_EQ(Load("simpleskin", "")->ClassUri(), kSimpleSkinClass);
  EXPECT_EQ(Load("transparentskin", "")->ClassUri(), kTransparentSkinClass);
  EXPECT_EQ(Load("paintskin", "")->Name(), "NoName");
  EXPECT_FALSE(Load("fancyskin", "")) << "unknown class";
  EXPECT_FALSE(LoadSkin(WriteSkin(dir_, L"noid.xml", SkinXml("simpleskin", "", ""))));
  EXPECT_FALSE(LoadSkin(WriteSkin(dir_, L"cut.xml", SkinXml("simpleskin", "a", "").substr(0, 90))));
  EXPECT_FALSE(LoadSkin(WriteSkin(dir_, L"other.xml", "<Skins><Skin class='x' id='y'/></Skins>")));
  EXPECT_FALSE(LoadSkin(dir_.File(L"missing.xml")));
}

}  // namespace
}  // namespace tw
