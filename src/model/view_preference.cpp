#include "model/view_preference.h"

#include "framework/decimal.h"
#include "framework/text.h"
#include "model/xml_text_writer.h"

namespace tw {
namespace {

int ReadInt(const CXmlNode& element, const wchar_t* name, int fallback) {
  CXmlNode child = element.SelectSingle(std::wstring(L"tide:") + name);
  return child ? ParseDecimal(child.Text()) : fallback;
}

int InRangeOr(int value, int low, int high, int fallback) {
  return value < low || value > high ? fallback : value;
}

}  // namespace

void CRankedViewPreference::CopySettingsFrom(const CRankedViewPreference& other) {
  const std::string keepName = name;
  const std::vector<std::string> keepSites = siteIds;
  const int keepLeft = skin.left, keepTop = skin.top;
  *this = other;
  name = keepName;
  siteIds = keepSites;
  skin.left = keepLeft;
  skin.top = keepTop;
}

void CRankedViewPreference::Read(const CXmlNode& element, const CSkinManager& skins) {
  CXmlNode viewPreference = element.SelectSingle(L"tide:ViewPreference");
  name = ToCp932(viewPreference.SelectText(L"tide:Name"));
  siteIds.clear();
  for (const CXmlNode& site : viewPreference.SelectNodes(L"tide:Site")) {
    siteIds.push_back(ToCp932(site.Text()));
  }
  zOrder = InRangeOr(ReadInt(element, L"ZOrder", 1), 0, 2, 1);
  noneZOrder = InRangeOr(ReadInt(element, L"NoneZOrder", 3), 0, 3, 3);
  viewTaskbar = ReadInt(element, L"ViewTaskbar", 0) != 0;
  browser = InRangeOr(ReadInt(element, L"Browser", 0), 0, 1, 0);
  browserCommand = ToCp932(element.SelectText(L"tide:BrowserCommand"));
  lock = ReadInt(element, L"Lock", 0) != 0;
  enableOverlap = ReadInt(element, L"EnableOverlap", 0) != 0;
  int rate = ReadInt(element, L"AssignRate", 3);
  assignRate = rate < 0 ? 0 : rate > 10 ? 10 : rate;

  CXmlNode skinElement = element.SelectSingle(L"tide:Skin");
  CSkinPtr s = skins.Find(ToCp932(skinElement.Attribute(L"id")));
  if (s) {
    s->ReadSettings(skinElement, skin);
  } else if (skinElement) {
    // No skins at all: keep what the file says so that nothing is lost at the next save.
    skin.skinId = ToCp932(skinElement.Attribute(L"id"));
    ReadSkinSettingValues(skinElement, skin, skin.deleteButtonWidth);
  }
}

void CRankedViewPreference::Write(const CXmlNode& parent, const CSkinManager& skins) const {
  const std::wstring ns = parent.NamespaceUri();
  CXmlNode element = parent.AppendElement(L"RankedViewPreference", ns);
  CXmlNode viewPreference = element.AppendElement(L"ViewPreference", ns);
  viewPreference.AppendTextElement(L"Name", ns, XmlSafe(ToWide(name)));
  for (const std::string& id : siteIds) {
    viewPreference.AppendTextElement(L"Site", ns, XmlSafe(ToWide(id)));
  }
  element.AppendTextElement(L"ZOrder", ns, std::to_wstring(zOrder));
  element.AppendTextElement(L"NoneZOrder", ns, std::to_wstring(noneZOrder));
  element.AppendTextElement(L"ViewTaskbar", ns, viewTaskbar ? L"1" : L"0");
  element.AppendTextElement(L"Browser", ns, std::to_wstring(browser));
  element.AppendTextElement(L"BrowserCommand", ns, XmlSafe(ToWide(browserCommand)));
  element.AppendTextElement(L"Lock", ns, lock ? L"1" : L"0");
  element.AppendTextElement(L"EnableOverlap", ns, enableOverlap ? L"1" : L"0");
  element.AppendTextElement(L"AssignRate", ns, std::to_wstring(assignRate));
  CXmlNode skinElement = element.AppendElement(L"Skin", ns);
  CSkinPtr s = skins.Find(skin.skinId);
  if (s) {
    s->WriteSettings(skinElement, skin);
  } else {
    WriteSkinSettingValues(skinElement, skin);
  }
}

}  // namespace tw
