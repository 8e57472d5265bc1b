#include "model/site_file.h"

#include <gtest/gtest.h>

#include "data_test_support.h"
#include "model/data_namespaces.h"

namespace tw {
namespace {

using test::CMessages;

CItemPtr MakeItem(int i) {
  auto item = std::make_shared<CItem>();
  item->title = "記事 " + std::to_string(i);
  item->link = "http://example.jp/item/" + std::to_string(i);
  if (i % 3 == 1) {
    item->description = "説明 <b>&amp;</b> " + std::to_string(i);
    item->encodedDescription = "<p>本文</p>";
    item->source = "http://source.example/";
  }
  item->date = i % 4 == 2 ? CW3CDate() : CW3CDate(1078621200 + 3600 * i);
  item->downloadTime = CW3CDate(1078624800 + 60 * i);
  return item;
}

template <class Source>
std::shared_ptr<Source> WithItems(std::shared_ptr<Source> source, int count) {
  for (int i = 0; i < count; ++i) source->items.push_back(MakeItem(i));
  return source;
}

std::shared_ptr<CFeedSite> Feed(const std::string& uri, int items) {
  auto feed = WithItems(std::make_shared<CFeedSite>(), items);
  feed->uri->uri = uri;
  return feed;
}

void ExpectSameItems(const std::vector<CItemPtr>& a, const std::vector<CItemPtr>& b) {
  ASSERT_EQ(a.size(), b.size());
  for (size_t i = 0; i < a.size(); ++i) {
    EXPECT_EQ(a[i]->title, b[i]->title) << i;
    EXPECT_EQ(a[i]->link, b[i]->link) << i;
    EXPECT_EQ(a[i]->description, b[i]->description) << i;
    EXPECT_EQ(a[i]->encodedDescription, b[i]->encodedDescription) << i;
    EXPECT_EQ(a[i]->source, b[i]->source) << i;
    EXPECT_EQ(a[i]->date.Time(), b[i]->date.Time()) << i;
    EXPECT_EQ(a[i]->downloadTime.Time(), b[i]->downloadTime.Time()) << i;
  }
}

void ExpectSameFeed(const CFeedSite& a, const CFeedSite& b) {
  EXPECT_EQ(a.uri->uri, b.uri->uri);
  EXPECT_EQ(a.uri->lastModified, b.uri->lastModified);
  EXPECT_EQ(a.title, b.title);
  EXPECT_EQ(a.name, b.name);
  EXPECT_EQ(a.shortTitle, b.shortTitle);
  EXPECT_EQ(a.shortName, b.shortName);
  ExpectSameItems(a.items, b.items);
}

void ExpectSameSites(const CSiteList& a, const CSiteList& b) {
  ASSERT_EQ(a.Size(), b.Size());
  for (const auto& [id, site] : a) {
    const CSite* other = b.Find(id);
    ASSERT_TRUE(other) << id;
    ASSERT_EQ(site->Feed() != nullptr, other->Feed() != nullptr) << id;
    if (site->Feed()) {
      ExpectSameFeed(*site->Feed(), *other->Feed());
    } else {
      const CChannelSite& x = *site->Channel();
      const CChannelSite& y = *other->Channel();
      EXPECT_EQ(x.pluginId, y.pluginId);
      EXPECT_EQ(x.data, y.data);
      EXPECT_EQ(x.title, y.title);
      EXPECT_EQ(x.shortTitle, y.shortTitle);
      ExpectSameItems(x.items, y.items);
    }
    ASSERT_EQ(site->SubSites().size(), other->SubSites().size());
    for (size_t i = 0; i < site->SubSites().size(); ++i) {
      ExpectSameFeed(*site->SubSites()[i], *other->SubSites()[i]);
    }
  }
}

CXmlDocument ReadSaved(const std::wstring& path) {
  CXmlDocument doc;
  EXPECT_TRUE(doc.LoadFile(path));
  doc.SetSelectionNamespaces(TideSelection(kNsData2));
  return doc;
}

class SiteFileTest : public testing::Test {
 protected:
  std::wstring Path() const { return dir_.File(L"sites.xml"); }
  test::CTempFolder dir_;
  CMessages messages_;
};

TEST_F(SiteFileTest, RichSiteListRoundTripsWithGroupsAndWithoutEmptyFields) {
  CSiteList sites;
  auto mainFeed = Feed("http://example.jp/a.rdf", 33);
  mainFeed->uri->lastModified = "Sat, 06 Mar 2004 10:00:00 GMT";
  mainFeed->title = "サイトＡ";
  mainFeed->shortTitle = "A";
  mainFeed->name = "私のＡ";
  CSite& a = sites.Add(mainFeed);
  a.SubSites().push_back(Feed("http://example.jp/sub1.xml", 1025));
  a.SubSites().push_back(Feed("", 0));

  auto channel = WithItems(std::make_shared<CChannelSite>(), 32);
  channel->pluginId = "{6E3F0A2B-PLUGIN}";
  // Settings of an unknown plug-in: kept exactly, blanks, markup and all characters included.
  channel->data = ToUtf8(L"  <channel kw=\"日本\">\r\n\t\u00e9\U0001F600 &amp; </channel>  ");
  channel->title = "チャンネル";
  CSite& b = sites.Add(channel);
  CSite& c = sites.Add(Feed("http://example.jp/empty.rdf", 0));

  ASSERT_TRUE(SaveSites(sites, Path()));

  CXmlDocument doc = ReadSaved(Path());
  const std::wstring siteA = L"/tide:Sites/tide:Site[tide:Id='" + ToWide(a.Id()) + L"']";
  const std::wstring siteB = L"/tide:Sites/tide:Site[tide:Id='" + ToWide(b.Id()) + L"']";
  EXPECT_EQ(doc.Root().NamespaceUri(), kNsData2);
  EXPECT_EQ(doc.SelectSingle(siteA + L"/tide:MainSite").Attribute(L"type"), L"feed");
  EXPECT_EQ(doc.SelectSingle(siteB + L"/tide:MainSite").Attribute(L"type"), L"channel");
  // 33 items: two groups of 32 and 1.
  EXPECT_EQ(doc.SelectNodes(siteA + L"/tide:MainSite/tide:Group").Size(), 2);
  EXPECT_EQ(doc.SelectNodes(siteA + L"/tide:MainSite/tide:Group[1]/tide:Item").Size(), 32);
  EXPECT_EQ(doc.SelectNodes(siteA + L"/tide:MainSite/tide:Group[2]/tide:Item").Size(), 1);
  // 32 items stay directly in the source.
  EXPECT_EQ(doc.SelectNodes(siteB + L"/tide:MainSite/tide:Item").Size(), 32);
  EXPECT_EQ(doc.SelectNodes(siteB + L"/tide:MainSite/tide:Group").Size(), 0);
  // 1025 items: two levels of groups.
  const std::wstring sub1 = siteA + L"/tide:SubList/tide:SubSite[1]";
  EXPECT_EQ(doc.SelectNodes(sub1 + L"/tide:Group").Size(), 2);
  EXPECT_EQ(doc.SelectNodes(sub1 + L"/tide:Group[1]/tide:Group").Size(), 32);
  EXPECT_EQ(doc.SelectNodes(sub1 + L"/tide:Group[2]/tide:Group/tide:Item").Size(), 1);
  // Empty fields: Description, EncodedDescription and Source are left out, the rest stays.
  CXmlNode first = doc.SelectSingle(siteA + L"/tide:MainSite//tide:Item");
  std::wstring names;
  for (CXmlNode e = first.FirstChild(); e; e = e.NextSibling()) names += e.BaseName() + L" ";
  EXPECT_EQ(names, L"Title Link Date DownloadTime ");
  long described = 0;
  for (const auto& [id, site] : sites) {
    for (const CItemPtr& item : site->AllItems()) described += !item->description.empty();
  }
  EXPECT_EQ(doc.SelectNodes(L"//tide:Item/tide:Description").Size(), described);
  EXPECT_EQ(doc.SelectNodes(L"//tide:Item/tide:Source").Size(), described);
  EXPECT_EQ(doc.SelectNodes(L"//tide:Item/tide:EncodedDescription").Size(), described);
  EXPECT_EQ(
      doc.AsNode().SelectText(L"//tide:Site[tide:Id='" + ToWide(c.Id()) + L"']//tide:ShortName"),
      L"");

  CSiteList back;
  ASSERT_TRUE(LoadSites(back, Path(), messages_.Report()));
  EXPECT_TRUE(messages_.texts.empty());
  ExpectSameSites(sites, back);

  // Saved again, the file is the same.
  const std::string firstSave = test::ReadFileBytes(Path());
  ASSERT_TRUE(SaveSites(back, Path()));
  EXPECT_EQ(test::ReadFileBytes(Path()), firstSave);
}

TEST_F(SiteFileTest, ControlCharactersCannotBreakTheFile) {
  CSiteList sites;
  auto feed = Feed("http://example.jp/\x01", 1);
  feed->items[0]->title = "bell\x07 and tab\t";
  feed->name = std::string("nul\0inside", 10);
  CSite& site = sites.Add(feed);
  ASSERT_TRUE(SaveSites(sites, Path()));
  CSiteList back;
  ASSERT_TRUE(LoadSites(back, Path(), messages_.Report()));
  EXPECT_TRUE(messages_.texts.empty());
  const CFeedSite* read = back.Find(site.Id())->Feed();
  EXPECT_EQ(read->Uri(), "http://example.jp/");
  EXPECT_EQ(read->items[0]->title, "bell and tab\t");
  EXPECT_EQ(read->name, "nulinside");
}

TEST_F(SiteFileTest, MainSiteWithoutAKnownTypeIsAFeed) {
  for (const char* type : {"", " type='Feed'", " type='chanel'", " type='feed'"}) {
    test::WriteXml(Path(), std::string("<Sites xmlns='") + test::Cp932(kNsData2) +
                               "'><Site><Id>ABCDEFGHIJKLMNOP</Id><MainSite" + type +
                               "><Link><Uri>http://x/</Uri></Link><Item><Title>t</Title></Item>"
                               "</MainSite></Site></Sites>");
    CSiteList sites;
    ASSERT_TRUE(LoadSites(sites, Path(), messages_.Report())) << type;
    const CSite* site = sites.Find("ABCDEFGHIJKLMNOP");
    ASSERT_TRUE(site && site->Feed()) << type;
    EXPECT_EQ(site->Feed()->Uri(), "http://x/");
    EXPECT_EQ(site->Feed()->items.size(), 1u);
  }
}

TEST_F(SiteFileTest, SitesWithAnEmptyOrRepeatedIdAreKeptUnderFreshIds) {
  test::WriteXml(Path(),
                 "<Sites xmlns='" + test::Cp932(kNsData2) +
                     "'>"
                     "<Site><Id>SAMEIDSAMEIDSAME</Id><MainSite><Title>一</Title></MainSite></Site>"
                     "<Site><Id>SAMEIDSAMEIDSAME</Id><MainSite><Title>二</Title></MainSite></Site>"
                     "<Site><MainSite><Title>三</Title></MainSite></Site></Sites>");
  CSiteList sites;
  ASSERT_TRUE(LoadSites(sites, Path(), messages_.Report()));
  ASSERT_EQ(sites.Size(), 3u);
  EXPECT_EQ(sites.Find("SAMEIDSAMEIDSAME")->Feed()->title, "一");
  std::string titles;
  for (const auto& [id, site] : sites) {
    EXPECT_EQ(id.size(), 16u);
    titles += site->Feed()->title;
  }
  for (const char* t : {"一", "二", "三"}) EXPECT_NE(titles.find(t), std::string::npos) << t;
}

TEST_F(SiteFileTest, OldFormLoadsAndIsWrittenBackInTheNewForm) {
  test::CopyFileOrThrow(test::Fixture(L"data\\sites_data1.xml"), Path());
  CSiteList sites;
  ASSERT_TRUE(LoadSites(sites, Path(), messages_.Report()));
  EXPECT_TRUE(messages_.texts.empty());
  ASSERT_EQ(sites.Size(), 2u);

  const CFeedSite* a = sites.Find("AAAAAAAAAAAAAAA1")->Feed();
  ASSERT_TRUE(a);
  EXPECT_EQ(a->Uri(), "http://example.jp/news/index.rdf") << "About wins over Link/Uri";
  EXPECT_EQ(a->title, "例のニュース");
  EXPECT_EQ(a->name, "例ニュース");
  EXPECT_EQ(a->shortTitle, "例N");
  EXPECT_EQ(a->shortName, "例");
  ASSERT_EQ(a->items.size(), 2u);
  EXPECT_EQ(a->items[0]->title, "一つ目の記事");
  EXPECT_EQ(a->items[0]->description, "要約 & 説明");
  EXPECT_EQ(a->items[0]->date.Time(), 1078621200);
  EXPECT_FALSE(a->items[0]->downloadTime.IsNone());
  EXPECT_TRUE(a->items[1]->date.IsNone());
  EXPECT_EQ(a->items[1]->encodedDescription, "<p>本文</p>");

  const CSite* b = sites.Find("BBBBBBBBBBBBBBB2");
  ASSERT_TRUE(b && b->Feed());
  EXPECT_EQ(b->Feed()->Uri(), "http://example.org/list.opml");
  ASSERT_EQ(b->SubSites().size(), 2u);
  EXPECT_EQ(b->SubSites()[1]->Uri(), "http://b.example.org/atom");

  ASSERT_TRUE(SaveSites(sites, Path()));
  EXPECT_EQ(ReadSaved(Path()).Root().NamespaceUri(), kNsData2);
  CSiteList again;
  ASSERT_TRUE(LoadSites(again, Path(), messages_.Report()));
  ExpectSameSites(sites, again);
}

TEST_F(SiteFileTest, MissingWrongAndDamagedFiles) {
  CSiteList sites;
  sites.Add(Feed("http://stale/", 1));
  ASSERT_TRUE(LoadSites(sites, Path(), messages_.Report()));
  EXPECT_EQ(sites.Size(), 0u) << "missing: no sites";
  EXPECT_TRUE(messages_.texts.empty());

  test::WriteXml(Path(), "<Preferences xmlns='" + test::Cp932(kNsData3) + "'/>");
  EXPECT_FALSE(LoadSites(sites, Path(), messages_.Report()));
  ASSERT_EQ(messages_.texts.size(), 1u);
  EXPECT_EQ(messages_.texts[0], "ファイル" + test::Cp932(Path()) + "の形式エラーです。");
  EXPECT_TRUE(test::FileExists(Path())) << "a file of another kind is left alone";

  // A truncated site file: moved aside, reported, and the program goes on without sites.
  CSiteList full;
  full.Add(Feed("http://example.jp/", 40));
  ASSERT_TRUE(SaveSites(full, Path()));
  const std::string whole = test::ReadFileBytes(Path());
  test::WriteFileBytes(Path(), whole.substr(0, whole.size() / 2));
  messages_.texts.clear();
  ASSERT_TRUE(LoadSites(sites, Path(), messages_.Report()));
  EXPECT_EQ(sites.Size(), 0u);
  ASSERT_EQ(messages_.texts.size(), 1u);
  EXPECT_NE(messages_.texts[0].find(".damaged-"), std::string::npos);
  EXPECT_FALSE(test::FileExists(Path()));
}

// Run in a child process by SaveKilledHalfwayLeavesTheOldOrTheNewFile: saves a large site
// list again and again until it is killed.
TEST(SiteFileChild, DISABLED_SavesUntilKilled) {
  wchar_t path[MAX_PATH];
  if (!GetEnvironmentVariableW(L"TW_SAVE_LOOP_PATH", path, MAX_PATH)) return;
  CSiteList sites;
  for (int i = 0; i < 20; ++i) sites.Add(Feed("http://new.example/" + std::to_string(i), 500));
  for (;;) SaveSites(sites, path);
}

TEST_F(SiteFileTest, SaveKilledHalfwayLeavesTheOldOrTheNewFile) {
  CSiteList old;
  old.Add(Feed("http://old.example/", 3));
  ASSERT_TRUE(SaveSites(old, Path()));
  const std::string oldBytes = test::ReadFileBytes(Path());

  wchar_t exe[MAX_PATH];
  GetModuleFileNameW(nullptr, exe, MAX_PATH);
  SetEnvironmentVariableW(L"TW_SAVE_LOOP_PATH", Path().c_str());
  const DWORD delays[] = {150, 400, 700, 1100};
  for (DWORD delay : delays) {
    test::CChildProcess child(exe,
                              L"--gtest_also_run_disabled_tests "
                              L"--gtest_filter=SiteFileChild.DISABLED_SavesUntilKilled");
    ASSERT_TRUE(child.Started());
    Sleep(delay);
    ASSERT_TRUE(child.Running());
    child.Kill();
    CSiteList back;
    CMessages messages;
    ASSERT_TRUE(LoadSites(back, Path(), messages.Report())) << delay;
    EXPECT_TRUE(messages.texts.empty()) << "never a damaged file; killed after " << delay << " ms";
    EXPECT_TRUE(back.Size() == 1 || back.Size() == 20) << back.Size();
    if (back.Size() == 1) {
      EXPECT_EQ(test::ReadFileBytes(Path()), oldBytes);
    }
  }
  SetEnvironmentVariableW(L"TW_SAVE_LOOP_PATH", nullptr);
}

}  // namespace
}  // namespace tw
