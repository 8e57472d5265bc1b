#include "model/site_translator.h"

#include <vector>

#include "model/data_file.h"
#include "model/data_namespaces.h"
#include "model/group_writer.h"

namespace tw {
namespace {

void CopyChild(const CXmlDocument& to, const CXmlNode& from, const CXmlNode& parent,
               const wchar_t* name, const std::wstring& ns) {
  CXmlNode child = from.SelectSingle(std::wstring(L"tide:") + name);
  if (child) parent.AppendChild(CopyIntoNamespace(to, child, ns));
}

CXmlNode ConvertItem(const CXmlDocument& to, const CXmlNode& old, const std::wstring& ns) {
  CXmlNode item = to.CreateElement(L"Item", ns);
  for (const wchar_t* name :
       {L"Title", L"Link", L"Description", L"Date", L"DownloadTime", L"EncodedDescription"}) {
    CopyChild(to, old, item, name, ns);
  }
  return item;
}

void ConvertSite(const CXmlDocument& to, const CXmlNode& old, const CXmlNode& root,
                 const std::wstring& ns) {
  CXmlNode site = root.AppendElement(L"Site", ns);
  site.AppendTextElement(L"Id", ns, old.SelectText(L"tide:ID"));
  CXmlNode main = site.AppendElement(L"MainSite", ns);
  CXmlNode about = old.SelectSingle(L"tide:About");
  CXmlNode link = main.AppendElement(L"Link", ns);
  link.AppendTextElement(L"Uri", ns, about ? about.Text() : old.SelectText(L"tide:Link/tide:Uri"));
  for (const wchar_t* name : {L"Title", L"Name", L"ShortTitle", L"ShortName"}) {
    CopyChild(to, old, main, name, ns);
  }
  std::vector<CXmlNode> items;
  for (const CXmlNode& item : old.SelectNodes(L".//tide:Item")) {
    items.push_back(ConvertItem(to, item, ns));
  }
  AppendGrouped(to, main, std::move(items), kSiteFileGroupSize, ns);

  std::vector<CXmlNode> subSites;
  for (const CXmlNode& subLink : old.SelectNodes(L"tide:SubList//tide:Link")) {
    CXmlNode sub = to.CreateElement(L"SubSite", ns);
    sub.AppendElement(L"Link", ns).AppendTextElement(L"Uri", ns, subLink.SelectText(L"tide:Uri"));
    subSites.push_back(sub);
  }
  if (!subSites.empty()) {
    AppendGrouped(to, site.AppendElement(L"SubList", ns), std::move(subSites), kSiteFileGroupSize,
                  ns);
  }
}

}  // namespace

void CSiteTranslator1::Convert(CXmlDocument& from, CXmlDocument& to) {
  from.SetSelectionNamespaces(TideSelection(kNsData1Old));
  const std::wstring& ns = kNsData2;
  CXmlNode root = to.CreateElement(L"Sites", ns);
  to.SetRoot(root);
  for (const CXmlNode& site : from.Root().SelectNodes(L"tide:Site")) {
    ConvertSite(to, site, root, ns);
  }
}

}  // namespace tw
