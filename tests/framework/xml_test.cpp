#include "framework/xml.h"

#include <gtest/gtest.h>

#include "common/test_support.h"
#include "framework/text.h"

namespace tw {
namespace {

TEST(XmlDocument, SelectsWithBoundNamespacePrefix) {
  CXmlDocument doc;
  ASSERT_TRUE(doc.LoadXml(L"<Sites xmlns='urn:x'><Site><Id>a</Id></Site><Site><Id>b</Id></Site></Sites>"));
  doc.SetSelectionNamespaces(L"xmlns:t='urn:x'");
  std::wstring ids;
  for (const CXmlNode& n : doc.SelectNodes(L"/t:Sites/t:Site/t:Id")) ids += n.Text();
  EXPECT_EQ(ids, L"ab");
  EXPECT_FALSE(doc.SelectSingle(L"/t:Sites/t:Missing"));
  EXPECT_EQ(doc.Root().BaseName(), L"Sites");
  EXPECT_EQ(doc.Root().NamespaceUri(), L"urn:x");
}

TEST(XmlDocument, MalformedInputFailsWithReason) {
  CXmlDocument doc;
  const std::string broken = "<rss><channel><title>x</channel>";
  EXPECT_FALSE(doc.LoadBytes(broken.data(), broken.size()));
  EXPECT_FALSE(doc.ParseError().empty());
  EXPECT_FALSE(doc.LoadFile(L"Z:\\no\\such\\file.xml"));
}

TEST(XmlDocument, LoadsJapaneseLegacyEncodingsByTheirDeclaration) {
  const std::wstring text = ToWide("日本語の記事");
  struct Case {
    const char* encoding;
    unsigned codePage;
  } cases[] = {{"Shift_JIS", 932}, {"EUC-JP", 20932}, {"UTF-8", CP_UTF8}};
  for (const Case& c : cases) {
    int n = WideCharToMultiByte(c.codePage, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    std::string body(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(c.codePage, 0, text.data(), static_cast<int>(text.size()), body.data(), n, nullptr, nullptr);
    std::string xml = std::string("<?xml version=\"1.0\" encoding=\"") + c.encoding + "\"?>\n<t a='1'>" + body + "</t>";
    CXmlDocument doc;
    ASSERT_TRUE(doc.LoadBytes(xml.data(), xml.size())) << c.encoding;
    EXPECT_EQ(doc.Root().Text(), text) << c.encoding;
  }
}

TEST(XmlDocument, BuildsSavesAndReloadsInNamespace) {
  test::CTempFolder dir;
  const std::wstring ns = L"urn:tide";
  {
    CXmlDocument doc;
    CXmlNode root = doc.CreateElement(L"Sites", ns);
    doc.SetRoot(root);
    CXmlNode site = root.AppendElement(L"Site", ns);
    site.AppendTextElement(L"Title", ns, ToWide("ニュース & <速報>"));
    site.SetAttribute(L"type", L"feed");
    ASSERT_TRUE(doc.Save(dir.File(L"out.xml")));
  }
  CXmlDocument back;
  ASSERT_TRUE(back.LoadFile(dir.File(L"out.xml")));
  back.SetSelectionNamespaces(L"xmlns:t='urn:tide'");
  CXmlNode site = back.SelectSingle(L"/t:Sites/t:Site");
  ASSERT_TRUE(site);
  EXPECT_EQ(site.Attribute(L"type"), L"feed");
  EXPECT_TRUE(site.HasAttribute(L"type"));
  EXPECT_FALSE(site.HasAttribute(L"id"));
  EXPECT_EQ(ToCp932(site.SelectText(L"t:Title")), "ニュース & <速報>");
  // The DOM's own save writes UTF-8.
  std::string bytes = test::ReadFileBytes(dir.File(L"out.xml"));
  EXPECT_NE(bytes.find(Cp932ToUtf8("ニュース")), std::string::npos);
}

TEST(Text, Cp932RoundTripAndReplacement) {
  EXPECT_EQ(ToCp932(ToWide("東京・大阪ｶﾅ")), "東京・大阪ｶﾅ");
  EXPECT_EQ(ToCp932(L"\u00e9\u4e00"), "?一");  // é is not in code page 932
  EXPECT_TRUE(IsLeadByte932(static_cast<unsigned char>("東"[0])));
  EXPECT_FALSE(IsLeadByte932(static_cast<unsigned char>("ｶ"[0])));  // half-width kana: one byte
}

}  // namespace
}  // namespace tw
