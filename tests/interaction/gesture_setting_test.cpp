#include "interaction/gesture_setting.h"

#include <gtest/gtest.h>

#include "framework/text.h"

namespace tw {
namespace {

const std::wstring kNs = L"urn:test-preferences";

CGestureAction Gesture(const char* storage) {
  CGestureAction a;
  EXPECT_TRUE(CGestureAction::ParseStorage(storage, a)) << storage;
  return a;
}

// A preferences-like document whose root holds the given inner XML.
CXmlDocument Preferences(const std::wstring& inner) {
  CXmlDocument doc;
  EXPECT_TRUE(doc.LoadXml(L"<Preferences xmlns='" + kNs + L"'>" + inner + L"</Preferences>"));
  doc.SetSelectionNamespaces(L"xmlns:tide='" + kNs + L"'");
  return doc;
}

TEST(GestureAction, StorageAndDisplayForms) {
  struct Case {
    const char* storage;
    const char* display;
  } cases[] = {{"RU", "右 - 上"}, {"LRUD", "左 - 右 - 上 - 下"}, {"D", "下"}, {"", ""}};
  for (const Case& c : cases) {
    CGestureAction a = Gesture(c.storage);
    EXPECT_EQ(a.StorageForm(), c.storage);
    EXPECT_EQ(a.DisplayForm(), c.display);
  }
}

TEST(GestureAction, StorageFormAcceptsOnlyTheFourCapitals) {
  for (const char* bad : {"r", "RX", "R U", "R-U", "右"}) {
    CGestureAction a = Gesture("L");
    EXPECT_FALSE(CGestureAction::ParseStorage(bad, a)) << bad;
    EXPECT_EQ(a.StorageForm(), "L") << "a failed parse leaves the target alone";
  }
}

TEST(GestureSetting, MissingElementGivesTheDefaults) {
  CXmlDocument doc = Preferences(L"<RestItem>3</RestItem>");
  CGestureSetting s = CGestureSetting::ReadFrom(doc.Root());
  EXPECT_FALSE(s.IsActive());
  EXPECT_EQ(s.Find(Gesture("R")), GestureActionByName("item_read"));
  EXPECT_EQ(s.Find(Gesture("DU")), GestureActionByName("display_item_all_read"));
  EXPECT_EQ(s.Find(Gesture("UR")), GestureActionByName("site_item_all_read"));
  EXPECT_EQ(s.Find(Gesture("U")), GestureActionByName("view_all_popup"));
  int bound = 0;
  for (int id = 0; id < kGestureActionCount; ++id) bound += s.Get(id) != nullptr;
  EXPECT_EQ(bound, 4);
}

TEST(GestureSetting, ReadIgnoresUnknownActionsAndTextsThatAreNoGesture) {
  CXmlDocument doc = Preferences(
      L"<MouseGesture><Active>1</Active>"
      L"<Gesture id='item_detail'>LR</Gesture>"
      L"<Gesture id='no_such_action'>L</Gesture>"
      L"<Gesture id='item_read'>rx</Gesture>"
      L"<Gesture id='site_setting'></Gesture>"
      L"</MouseGesture>");
  CGestureSetting s = CGestureSetting::ReadFrom(doc.Root());
  EXPECT_TRUE(s.IsActive());
  ASSERT_NE(s.Get(GestureActionByName("item_detail")), nullptr);
  EXPECT_EQ(s.Get(GestureActionByName("item_detail"))->StorageForm(), "LR");
  // Present but listing nothing else: no defaults creep in.
  EXPECT_EQ(s.Get(GestureActionByName("item_read")), nullptr);
  EXPECT_EQ(s.Get(GestureActionByName("site_setting")), nullptr);
  EXPECT_EQ(s.Get(GestureActionByName("view_all_popup")), nullptr);
}

TEST(GestureSetting, FindMatchesWholeSequencesAndPrefersTheLowestId) {
  CGestureSetting s;
  s.Set(GestureActionByName("view_setting"), Gesture("RUR"));
  s.Set(GestureActionByName("site_all_update"), Gesture("RU"));
  s.Set(GestureActionByName("item_all_read"), Gesture("RU"));
  EXPECT_EQ(s.Find(Gesture("RUR")), GestureActionByName("view_setting"));
  EXPECT_EQ(s.Find(Gesture("RU")), GestureActionByName("item_all_read"));
  EXPECT_FALSE(s.Find(Gesture("R")).has_value());
  EXPECT_FALSE(s.Find(CGestureAction()).has_value());
  s.Set(GestureActionByName("item_all_read"), CGestureAction());  // clears
  EXPECT_EQ(s.Find(Gesture("RU")), GestureActionByName("site_all_update"));
}

TEST(GestureSetting, WriteAndReadBack) {
  CGestureSetting s;
  s.SetActive(true);
  s.Set(0, Gesture("L"));
  s.Set(16, Gesture("UDUD"));
  CXmlDocument doc;
  doc.SetRoot(doc.CreateElement(L"Preferences", kNs));
  s.WriteTo(doc.Root());
  doc.SetSelectionNamespaces(L"xmlns:tide='" + kNs + L"'");
  EXPECT_EQ(doc.AsNode().SelectText(
                L"/tide:Preferences/tide:MouseGesture/tide:Gesture[@id='view_all_popup']"),
            L"UDUD");
  CXmlDocument back;
  ASSERT_TRUE(back.LoadXml(doc.Xml()));
  back.SetSelectionNamespaces(L"xmlns:tide='" + kNs + L"'");
  EXPECT_TRUE(CGestureSetting::ReadFrom(back.Root()) == s);
  // An inactive setting without gestures survives too (and does not turn into the defaults).
  CGestureSetting empty;
  CXmlDocument doc2;
  doc2.SetRoot(doc2.CreateElement(L"Preferences", kNs));
  empty.WriteTo(doc2.Root());
  doc2.SetSelectionNamespaces(L"xmlns:tide='" + kNs + L"'");
  EXPECT_TRUE(CGestureSetting::ReadFrom(doc2.Root()) == empty);
}

}  // namespace
}  // namespace tw
