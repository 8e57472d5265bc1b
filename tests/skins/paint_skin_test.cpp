#include "skins/paint_skin.h"

#include <gtest/gtest.h>

#include "skin_test_support.h"
#include "skins/skin_factory.h"

namespace tw {
namespace {

using test::SkinXml;
using test::WriteSkin;

const char kSets[] =
    "<ImageSet type='variable'><Default>b-set</Default></ImageSet>"
    "<Paint>"
    "<ImageSet id='b-set'><Name>Alpha</Name><Image id='top'>b\\top.png</Image></ImageSet>"
    "<ImageSet id='a-set'><Name>Zulu</Name><Image id='top'>a\\top.png</Image>"
    "<Image id='side'>a\\side.png</Image></ImageSet>";

std::string PaintBody(const std::string& draw) {
  return std::string(kSets) + "<Draw>" + draw + "</Draw></Paint>";
}

class PaintSkinTest : public testing::Test {
 protected:
  std::shared_ptr<CPaintSkin> Load(const std::string& body) {
    auto path = WriteSkin(dir_, L"p" + std::to_wstring(++n_) + L".xml",
                          SkinXml("paintskin", "paint-id", body));
    return std::dynamic_pointer_cast<CPaintSkin>(LoadSkin(path));
  }

  test::CTempFolder dir_;
  int n_ = 0;
};

TEST_F(PaintSkinTest, ReadsImageSetsAndTheDrawList) {
  auto skin = Load(PaintBody(
      "<Image id='top' x_repeat='infinite' y_repeat='0'>"
      "<LeftTop start='left_top' x='3' y='-4'/><RightTop start='right_top' x='-3' y='0'/></Image>"
      "<Item><LeftTop start='left_top' x='10' y='20'/>"
      "<RightBottom start='right_bottom' x='-10' y='-5'/></Item>"
      "<Image id='side' x_repeat='3'><LeftBottom start='left_bottom' x='0' y='0'/></Image>"));
  ASSERT_TRUE(skin);
  ASSERT_EQ(skin->ImageSets().size(), 2u);
  EXPECT_EQ(skin->ImageSets().at("a-set").images.at("side"), "a\\side.png");

  // Listed by id, not by display name.
  std::vector<CImageSetEntry> sets;
  skin->GetImageSets(sets);
  ASSERT_EQ(sets.size(), 2u);
  EXPECT_EQ(sets[0], CImageSetEntry("Zulu", "a-set"));
  EXPECT_EQ(sets[1], CImageSetEntry("Alpha", "b-set"));

  const auto& draw = skin->DrawList();
  ASSERT_EQ(draw.size(), 3u);
  EXPECT_EQ(draw[0].kind, CDrawEntry::Kind::kImage);
  EXPECT_EQ(draw[0].imageId, "top");
  EXPECT_EQ(draw[0].xRepeat, CDrawEntry::kInfinite);
  EXPECT_EQ(draw[0].yRepeat, 1) << "0 counts as 1";
  ASSERT_EQ(draw[0].positions.size(), 2u);
  EXPECT_EQ(draw[0].positions[1].corner, SkinCorner::kRightTop);
  EXPECT_EQ(draw[0].positions[0].y, -4);
  EXPECT_EQ(draw[1].kind, CDrawEntry::Kind::kItem);
  EXPECT_EQ(draw[1].positions[1].start, SkinCorner::kRightBottom);
  EXPECT_EQ(draw[1].positions[1].x, -10);
  EXPECT_EQ(draw[2].xRepeat, 3);
  EXPECT_EQ(draw[2].yRepeat, 1) << "no count given";
}

TEST_F(PaintSkinTest, FormatErrorsMakeTheSkinUnloadable) {
  const char* const broken[] = {
      "<Paint><ImageSet><Name>no id</Name></ImageSet></Paint>",
      "<Paint><ImageSet id=''/></Paint>",
      "<Paint><ImageSet id='a'/><ImageSet id='a'/></Paint>",
      "<Paint><ImageSet id='a'><Image id='x'>1.png</Image><Image "
      "id='x'>2.png</Image></ImageSet></Paint>",
      "<Paint><Draw><!-- a note --><Item/></Draw></Paint>",
      "<Paint><Draw><Picture/></Draw></Paint>",
      "<Paint><Draw><Item><Middle start='left_top' x='0' y='0'/></Item></Draw></Paint>",
      "<Paint><Draw><Item><LeftTop start='centre' x='0' y='0'/></Item></Draw></Paint>",
      "<Paint><Draw><Item><LeftTop start='left_top'/><!-- x --></Item></Draw></Paint>",
  };
  for (const char* body : broken) EXPECT_FALSE(Load(body)) << body;
  // Draw entries are recognised by their literal names, so a prefixed name is not one.
  EXPECT_FALSE(LoadSkin(WriteSkin(
      dir_, L"prefixed.xml",
      "<hs:Skins xmlns:hs='" + ToUtf8(kSkinNamespace) + "'><hs:Skin class='" +
          ToUtf8(kPaintSkinClass) +
          "' id='p'><hs:Paint><hs:Draw><hs:Item/></hs:Draw></hs:Paint></hs:Skin></hs:Skins>")));
  EXPECT_TRUE(
      LoadSkin(WriteSkin(dir_, L"plain.xml",
                         "<hs:Skins xmlns:hs='" + ToUtf8(kSkinNamespace) + "'><hs:Skin class='" +
                             ToUtf8(kPaintSkinClass) +
                             "' id='p'><hs:Paint><hs:Draw/></hs:Paint></hs:Skin></hs:Skins>")));
}

TEST_F(PaintSkinTest, ChosenImageSetSurvivesReadingAndAnUnknownOneFallsBack) {
  auto skin = Load(PaintBody(""));
  ASSERT_TRUE(skin);
  const std::wstring ns = L"urn:p";
  struct Case {
    const wchar_t* stored;
    const char* expected;
  } cases[] = {{L"a-set", "a-set"}, {L"gone", "b-set"}, {L"", "b-set"}};
  for (const Case& c : cases) {
    CXmlDocument doc;
    ASSERT_TRUE(
        doc.LoadXml(L"<Skin xmlns='" + ns + L"'><ImageSet id='" + c.stored + L"'/></Skin>"));
    doc.SetSelectionNamespaces(L"xmlns:tide='" + ns + L"'");
    CSkinSetting s;
    skin->ReadSettings(doc.Root(), s);
    EXPECT_EQ(s.imageSet, c.expected) << c.stored;
  }
  CSkinSetting s;
  s.imageSet = "a-set";
  skin->ApplyDefaults(s, 1);
  EXPECT_EQ(s.imageSet, "b-set") << "a variable image set is reset at level 1";
}

}  // namespace
}  // namespace tw
