#include "model/group_writer.h"

#include <gtest/gtest.h>

#include "model/xml_text_writer.h"

namespace tw {
namespace {

const std::wstring kNs = L"urn:group-test";

int GroupDepth(CXmlNode node) {
  int depth = 0;
  for (CXmlNode p = node.Parent(); p && p.BaseName() == L"Group"; p = p.Parent()) ++depth;
  return depth;
}

// The largest number of element children of any element below (and including) node.
long MostChildren(const CXmlNode& node) {
  long here = 0, most = 0;
  for (CXmlNode c = node.FirstChild(); c; c = c.NextSibling()) {
    ++here;
    most = std::max(most, MostChildren(c));
  }
  return std::max(here, most);
}

TEST(GroupWriter, GroupsLevelByLevelAndKeepsOrder) {
  struct Case {
    size_t count, groupSize;
    long directChildren;
    int depth;
  } cases[] = {
      {0, 32, 0, 0},     {1, 32, 1, 0},    {32, 32, 32, 0}, {33, 32, 2, 1},
      {1024, 32, 32, 1}, {1025, 32, 2, 2}, {65, 64, 2, 1},  {5, 1, 5, 0},
  };
  for (const Case& c : cases) {
    // Through the DOM …
    CXmlDocument doc;
    CXmlNode parent = doc.CreateElement(L"MainSite", kNs);
    doc.SetRoot(parent);
    std::vector<CXmlNode> items;
    for (size_t i = 0; i < c.count; ++i) {
      CXmlNode item = doc.CreateElement(L"Item", kNs);
      item.SetText(std::to_wstring(i));
      items.push_back(item);
    }
    AppendGrouped(doc, parent, items, c.groupSize, kNs);
    // … and as text: the same structure.
    CXmlTextWriter writer;
    writer.Start(L"MainSite", {{L"xmlns", kNs}});
    WriteGrouped(writer, c.count, c.groupSize,
                 [&](size_t i) { writer.Element(L"Item", std::to_wstring(i)); });
    writer.End(L"MainSite");
    CXmlDocument text;
    ASSERT_TRUE(text.LoadXml(writer.Text()));

    for (CXmlDocument* d : {&doc, &text}) {
      const char* how = d == &doc ? " (DOM)" : " (text)";
      CXmlNode root = d->Root();
      d->SetSelectionNamespaces(L"xmlns:t='" + kNs + L"'");
      EXPECT_EQ(root.SelectNodes(L"*").Size(), c.directChildren) << c.count << how;
      CXmlNodeList all = root.SelectNodes(L".//t:Item");
      ASSERT_EQ(all.Size(), static_cast<long>(c.count)) << how;
      size_t i = 0;
      for (const CXmlNode& item : all) {
        EXPECT_EQ(item.Text(), std::to_wstring(i++)) << how;
        EXPECT_EQ(GroupDepth(item), c.depth) << c.count << how;
      }
      if (c.groupSize >= 2) EXPECT_LE(MostChildren(root), static_cast<long>(c.groupSize)) << how;
    }
  }
}

TEST(XmlTextWriter, EscapesTextsAndDropsWhatXmlCannotCarry) {
  const std::wstring tricky = L"a & b < c > d \"q\" 'e'\r\n\tf";
  CXmlTextWriter w;
  w.Start(L"r", {{L"xmlns", kNs}, {L"v", tricky}});
  w.Element(L"t", tricky);
  w.Element(L"bad", std::wstring(L"x\x01y\x1Fz\xFFFE") + L"\xD800" + L"\U0001F600");
  w.Element(L"empty", L"");
  w.End(L"r");
  CXmlDocument doc;
  doc.SetPreserveWhiteSpace(true);
  ASSERT_TRUE(doc.LoadXml(w.Text())) << doc.ParseError();
  doc.SetSelectionNamespaces(L"xmlns:t='" + kNs + L"'");
  EXPECT_EQ(doc.Root().Attribute(L"v"), tricky);
  EXPECT_EQ(doc.SelectSingle(L"/t:r/t:t").FirstChild().Value(), tricky);
  EXPECT_EQ(doc.SelectSingle(L"/t:r/t:bad").FirstChild().Value(), L"xyz\U0001F600");
  EXPECT_TRUE(doc.SelectSingle(L"/t:r/t:empty"));
  EXPECT_EQ(XmlSafe(L"ok\x02\x7F"), L"ok\x7F");
}

}  // namespace
}  // namespace tw
