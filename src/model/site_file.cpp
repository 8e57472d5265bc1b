#include "model/site_file.h"

#include <vector>

#include "framework/text.h"
#include "model/data_namespaces.h"
#include "model/group_writer.h"
#include "model/xml_text_writer.h"

namespace tw {
namespace {

// ---- reading ----

std::string Cp932Text(const CXmlNode& node, const wchar_t* xpath) {
  return ToCp932(node.SelectText(xpath));
}

// Reads an item by walking its children once (a site file holds many thousands of items, and
// one XPath query per field would dominate the load).
CItemPtr ReadItem(const CXmlNode& element) {
  auto item = std::make_shared<CItem>();
  for (CXmlNode c = element.FirstChild(); c; c = c.NextSibling()) {
    // The qualified name: elements of the file's own (default) namespace have no prefix, and
    // text nodes are called "#text".
    const std::wstring name = c.Name();
    if (name == L"Title")
      item->title = ToCp932(c.Text());
    else if (name == L"Link")
      item->link = ToCp932(c.Text());
    else if (name == L"Description")
      item->description = ToCp932(c.Text());
    else if (name == L"Date")
      item->date = CW3CDate::ParseW3C(ToCp932(c.Text()));
    else if (name == L"DownloadTime")
      item->downloadTime = CW3CDate::ParseW3C(ToCp932(c.Text()));
    else if (name == L"EncodedDescription")
      item->encodedDescription = ToCp932(c.Text());
    else if (name == L"Source")
      item->source = ToCp932(c.Text());
  }
  return item;
}

void ReadItems(const CXmlNode& source, std::vector<CItemPtr>& items) {
  for (const CXmlNode& e : source.SelectNodes(L".//tide:Item")) items.push_back(ReadItem(e));
}

std::shared_ptr<CFeedSite> ReadFeed(const CXmlNode& element) {
  auto feed = std::make_shared<CFeedSite>();
  CXmlNode link = element.SelectSingle(L"tide:Link");
  feed->uri->uri = Cp932Text(link, L"tide:Uri");
  feed->uri->lastModified = Cp932Text(link, L"tide:LastModified");
  feed->title = Cp932Text(element, L"tide:Title");
  feed->name = Cp932Text(element, L"tide:Name");
  feed->shortTitle = Cp932Text(element, L"tide:ShortTitle");
  feed->shortName = Cp932Text(element, L"tide:ShortName");
  ReadItems(element, feed->items);
  return feed;
}

// Plug-ins are not bound yet: every channel keeps the text of its Data element as it was
// read, untrimmed and in UTF-8 so that no character is lost, and writes it back unchanged.
std::shared_ptr<CChannelSite> ReadChannel(const CXmlNode& element) {
  auto channel = std::make_shared<CChannelSite>();
  CXmlNode data = element.SelectSingle(L"tide:Data");
  channel->pluginId = ToCp932(data.Attribute(L"id"));
  channel->data = data ? ToUtf8(ExactText(data)) : std::string();
  channel->title = Cp932Text(element, L"tide:Title");
  channel->shortTitle = Cp932Text(element, L"tide:ShortTitle");
  ReadItems(element, channel->items);
  return channel;
}

void ReadSites(CSiteList& list, const CXmlNode& root) {
  for (const CXmlNode& e : root.SelectNodes(L"tide:Site")) {
    std::string id = Cp932Text(e, L"tide:Id");
    CXmlNode mainElement = e.SelectSingle(L"tide:MainSite");
    std::shared_ptr<CSiteSource> main;
    if (mainElement.Attribute(L"type") == L"channel") {
      main = ReadChannel(mainElement);
    } else {
      main = ReadFeed(mainElement);
    }
    if (id.empty() || list.Find(id)) id = list.NewId();  // never drop a site over its id
    auto site = std::make_unique<CSite>(id, main);
    for (const CXmlNode& sub : e.SelectNodes(L"tide:SubList//tide:SubSite")) {
      site->SubSites().push_back(ReadFeed(sub));
    }
    list.Insert(std::move(site));
  }
}

// ---- writing ----

// Builds the file as text (node-by-node DOM building of many thousand items is slow) in the
// order and grouping of the format; the DOM then parses and saves it.
class CSiteWriter {
 public:
  CSiteWriter() { w_.Start(L"Sites", {{L"xmlns", kNsData2}}); }

  void WriteSite(const CSite& site) {
    w_.Start(L"Site");
    w_.Element(L"Id", site.Id());
    if (const CFeedSite* feed = site.Feed()) {
      w_.Start(L"MainSite", {{L"type", L"feed"}});
      WriteFeed(*feed);
    } else {
      const CChannelSite& channel = *site.Channel();
      w_.Start(L"MainSite", {{L"type", L"channel"}});
      WriteChannel(channel);
    }
    w_.End(L"MainSite");
    const auto& subs = site.SubSites();
    if (!subs.empty()) {
      w_.Start(L"SubList");
      WriteGrouped(w_, subs.size(), kSiteFileGroupSize, [&](size_t i) {
        w_.Start(L"SubSite");
        WriteFeed(*subs[i]);
        w_.End(L"SubSite");
      });
      w_.End(L"SubList");
    }
    w_.End(L"Site");
  }

  std::wstring Finish() {
    w_.End(L"Sites");
    return w_.TakeText();
  }

 private:
  void WriteFeed(const CFeedSite& feed) {
    w_.Start(L"Link");
    w_.Element(L"Uri", feed.uri->uri);
    w_.Element(L"LastModified", feed.uri->lastModified);
    w_.End(L"Link");
    w_.Element(L"Title", feed.title);
    w_.Element(L"Name", feed.name);
    w_.Element(L"ShortTitle", feed.shortTitle);
    w_.Element(L"ShortName", feed.shortName);
    WriteItems(feed.items);
  }

  void WriteChannel(const CChannelSite& channel) {
    const std::wstring pluginId = ToWide(channel.pluginId);
    w_.Element(L"Data", FromUtf8(channel.data), {{L"id", pluginId}});
    w_.Element(L"Title", channel.title);
    w_.Element(L"ShortTitle", channel.shortTitle);
    WriteItems(channel.items);
  }

  void WriteItems(const std::vector<CItemPtr>& items) {
    WriteGrouped(w_, items.size(), kSiteFileGroupSize, [&](size_t i) {
      const CItem& item = *items[i];
      w_.Start(L"Item");
      w_.Element(L"Title", item.title);
      w_.Element(L"Link", item.link);
      if (!item.description.empty()) w_.Element(L"Description", item.description);
      w_.Element(L"Date", item.date.FormatW3C());
      w_.Element(L"DownloadTime", item.downloadTime.FormatW3C());
      if (!item.encodedDescription.empty()) {
        w_.Element(L"EncodedDescription", item.encodedDescription);
      }
      if (!item.source.empty()) w_.Element(L"Source", item.source);
      w_.End(L"Item");
    });
  }

  CXmlTextWriter w_;
};

}  // namespace

bool LoadSites(CSiteList& list, const std::wstring& path, const CDataFileReport& report) {
  list.Clear();
  if (ReadDataFile(path, kNsData2, L"Sites", report,
                   [&](const CXmlNode& root) { ReadSites(list, root); }))
    return true;
  list.Clear();
  return false;
}

bool SaveSites(const CSiteList& list, const std::wstring& path) {
  try {
    CXmlDocument doc;
    doc.SetPreserveWhiteSpace(true);
    {
      CSiteWriter writer;
      for (const auto& entry : list) writer.WriteSite(*entry.second);
      if (!doc.LoadXml(writer.Finish())) return false;  // never write what cannot be read back
    }
    return SaveDataFile(doc, path);
  } catch (const CComException&) {
    return false;
  }
}

}  // namespace tw
