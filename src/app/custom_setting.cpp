#include "app/custom_setting.h"

#include "framework/text.h"
#include "framework/xml.h"
#include "model/data_namespaces.h"

namespace tw {

void CCustomSetting::SetDefaults() {
  customised = false;
  name = "Tidewatch";
  copyright.clear();
  producer.clear();
  version.clear();
  displayTitle = name;
  mutexName = kApplicationUri;
  companyName = "Velmarco";
  applicationName = "Tidewatch";
}

bool CCustomSetting::Load(const std::wstring& path) {
  SetDefaults();
  try {
    CXmlDocument doc;
    if (!doc.LoadFile(path)) return true;
    doc.SetSelectionNamespaces(TideSelection(kNsData1New));
    CXmlNode root = doc.Root();
    if (!root) return true;
    auto text = [&](const wchar_t* xpath) { return ToCp932(root.SelectText(xpath)); };
    name = text(L"tide:Name");
    if (name.empty()) name = "Customized Tidewatch";
    copyright = text(L"tide:Copyright");
    version = text(L"tide:Version");
    producer = text(L"tide:Producer");
    displayTitle = version.empty() ? name : name + " Version " + version;
    if (CXmlNode n = root.SelectSingle(L"tide:Mutex")) mutexName = n.Text();
    if (CXmlNode n = root.SelectSingle(L"tide:Registry/tide:CompanyName"))
      companyName = ToCp932(n.Text());
    if (CXmlNode n = root.SelectSingle(L"tide:Registry/tide:ApplicationName"))
      applicationName = ToCp932(n.Text());
    customised = true;
  } catch (const CComException&) {
    SetDefaults();  // a file MSXML chokes on counts as no customisation
  }
  return true;
}

}  // namespace tw
