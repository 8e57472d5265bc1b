#include "skins/skin_manager.h"

#include <gtest/gtest.h>

#include "skin_test_support.h"
#include "skins/paint_skin.h"

namespace tw {
namespace {

using test::SkinXml;
using test::WriteSkin;

struct CCapture {
  std::vector<std::string> messages;
  CSkinManager::CReport Report() {
    return [this](const std::string& text) { messages.push_back(text); };
  }
};

TEST(SkinManager, ShippedSkinsLoadWithTheDefaultSkin) {
  CSkinManager skins;
  CCapture capture;
  ASSERT_TRUE(skins.LoadFolder(test::Fixture(L"..\\..\\data\\skin"), capture.Report()));
  EXPECT_TRUE(capture.messages.empty());
  ASSERT_EQ(skins.Skins().size(), 3u);
  CSkinPtr def = skins.Find(kDefaultSkinId);
  ASSERT_TRUE(def);
  EXPECT_EQ(def->ClassUri(), kSimpleSkinClass);
  EXPECT_EQ(skins.Find("no such skin"), def);
  EXPECT_EQ(skins.Find(kSimpleSkinId), def) << "views of the oldest preferences get the default";
  int classes = 0;
  for (const CSkinPtr& s : skins.Skins()) {
    classes |= s->ClassUri() == kSimpleSkinClass        ? 1
               : s->ClassUri() == kTransparentSkinClass ? 2
                                                        : 4;
    if (auto paint = std::dynamic_pointer_cast<CPaintSkin>(s)) {
      EXPECT_TRUE(paint->ImageSets().count(paint->Values().imageSet));
      EXPECT_FALSE(paint->DrawList().empty());
    }
    // A new view of any shipped skin gets a usable size.
    CSkinSetting setting;
    s->ApplyDefaults(setting, 2);
    EXPECT_GT(setting.width, 0) << s->Name();
    EXPECT_GT(setting.itemCount, 0) << s->Name();
  }
  EXPECT_EQ(classes, 7);
}

TEST(SkinManager, BrokenFilesAreSkippedQuietly) {
  test::CTempFolder dir;
  WriteSkin(dir, L"a.xml", SkinXml("simpleskin", ToUtf8(ToWide(kDefaultSkinId)), ""));
  WriteSkin(dir, L"b.xml", SkinXml("unknownskin", "b", ""));
  WriteSkin(dir, L"c.xml", "<not xml");
  WriteSkin(dir, L"d.xmlx", SkinXml("simpleskin", "d", ""));
  CSkinManager skins;
  CCapture capture;
  ASSERT_TRUE(skins.LoadFolder(dir.Path(), capture.Report()));
  EXPECT_TRUE(capture.messages.empty());
  EXPECT_EQ(skins.Skins().size(), 1u);
}

TEST(SkinManager, DuplicateIdsAndAMissingDefaultStopTheLoad) {
  {
    test::CTempFolder dir;
    WriteSkin(dir, L"a.xml", SkinXml("simpleskin", ToUtf8(ToWide(kDefaultSkinId)), ""));
    WriteSkin(dir, L"b.xml", SkinXml("simpleskin", "twice", ""));
    WriteSkin(dir, L"c.xml", SkinXml("paintskin", "twice", ""));
    CSkinManager skins;
    CCapture capture;
    EXPECT_FALSE(skins.LoadFolder(dir.Path(), capture.Report()));
    ASSERT_EQ(capture.messages.size(), 1u);
    EXPECT_EQ(capture.messages[0], "スキンID(twice)が重なっています。");
  }
  {
    test::CTempFolder dir;
    WriteSkin(dir, L"b.xml", SkinXml("simpleskin", "only", ""));
    CSkinManager skins;
    CCapture capture;
    EXPECT_FALSE(skins.LoadFolder(dir.Path(), capture.Report()));
    ASSERT_EQ(capture.messages.size(), 1u);
    EXPECT_EQ(capture.messages[0], "デフォルトのスキンが存在しません。");
    EXPECT_FALSE(skins.Find("anything"));
  }
}

}  // namespace
}  // namespace tw
