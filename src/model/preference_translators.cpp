#include "model/preference_translators.h"

#include "framework/decimal.h"
#include "framework/text.h"
#include "model/data_file.h"
#include "model/data_namespaces.h"
#include "skins/skin_uris.h"

namespace tw {
namespace {

// Appends a copy of from's first child called name (in the bound "tide" namespace), if any.
void CopyChild(const CXmlDocument& to, const CXmlNode& from, const CXmlNode& parent,
               const wchar_t* name, const std::wstring& ns) {
  CXmlNode child = from.SelectSingle(std::wstring(L"tide:") + name);
  if (child) parent.AppendChild(CopyIntoNamespace(to, child, ns));
}

bool HasChildNamed(const CXmlNode& element, const std::wstring& localName) {
  for (CXmlNode c = element.FirstChild(); c; c = c.NextSibling()) {
    if (c.Type() == NODE_ELEMENT && c.BaseName() == localName) return true;
  }
  return false;
}

// The skin colours of the oldest form: target element ← element of the old ViewItem.
struct CColorSource {
  const wchar_t* target;
  const wchar_t* source;
};
const CColorSource kColorSources[] = {
    {L"BackgroundColor", L"BkColor"},
    {L"TextColor", L"TextColor"},
    {L"ItemColor", L"BkColor"},
    {L"KeywordTextColor", L"KeywordColor"},
    {L"KeywordItemColor", L"KeywordBkColor"},
    {L"HotTextColor", L"TextColor"},
    {L"HotItemColor", L"HotBkColor"},
    {L"HotKeywordTextColor", L"TextColor"},
    {L"HotKeywordItemColor", L"HotKeywordBkColor"},
};

void ConvertView(const CXmlDocument& to, const CXmlNode& old, const CXmlNode& root,
                 const std::wstring& ns) {
  CXmlNode view = root.AppendElement(L"RankedViewPreference", ns);
  CXmlNode viewPreference = view.AppendElement(L"ViewPreference", ns);
  CXmlNode base = old.SelectSingle(L"tide:Base");
  CopyChild(to, base, viewPreference, L"Name", ns);
  for (const CXmlNode& site : base.SelectNodes(L"tide:Site")) {
    viewPreference.AppendChild(CopyIntoNamespace(to, site, ns));
  }
  CXmlNode windowOrder = old.SelectSingle(L"tide:WindowOrder");
  if (windowOrder) {
    int order = ParseDecimal(windowOrder.Text());
    view.AppendTextElement(L"ZOrder", ns, std::to_wstring(order));
    view.AppendTextElement(L"ViewTaskbar", ns, order == 1 ? L"1" : L"0");
  } else {
    CopyChild(to, old, view, L"ZOrder", ns);
    CopyChild(to, old, view, L"ViewTaskbar", ns);
  }
  CXmlNode skin = view.AppendElement(L"Skin", ns);
  skin.SetAttribute(L"id", ToWide(kSimpleSkinId));
  for (const wchar_t* name : {L"Left", L"Top", L"Width", L"ItemCount", L"DeleteButton", L"ViewFont",
                              L"DescriptionFont"}) {
    CopyChild(to, old, skin, name, ns);
  }
  CXmlNode item = old.SelectSingle(L"tide:ViewItem");
  for (const CColorSource& c : kColorSources) {
    CXmlNode source = item.SelectSingle(std::wstring(L"tide:") + c.source);
    if (source) skin.AppendTextElement(c.target, ns, ExactText(source));
  }
}

}  // namespace

void CPreferenceTranslator1::Convert(CXmlDocument& from, CXmlDocument& to) {
  from.SetSelectionNamespaces(TideSelection(kNsData1Old));
  const std::wstring& ns = kNsData2;
  CXmlNode old = from.Root();
  CXmlNode root = to.CreateElement(L"Preferences", ns);
  to.SetRoot(root);
  for (const wchar_t* name : {L"RestItem", L"UpdateCycle", L"NumThread", L"CurrentTip"}) {
    CopyChild(to, old, root, name, ns);
  }
  for (const CXmlNode& view : old.SelectNodes(L"tide:RankedViewPreference")) {
    ConvertView(to, view, root, ns);
  }
}

void CPreferenceTranslator2::Convert(CXmlDocument& from, CXmlDocument& to) {
  const std::wstring& ns = kNsData3;
  CXmlNode old = from.Root();
  CXmlNode root = to.CreateElement(L"Preferences", ns);
  to.SetRoot(root);
  for (CXmlNode child = old.FirstChild(); child; child = child.NextSibling()) {
    if (child.Type() != NODE_ELEMENT) continue;
    CXmlNode copy = CopyIntoNamespace(to, child, ns);
    if (child.BaseName() == L"RankedViewPreference" && !HasChildNamed(copy, L"EnableOverlap")) {
      copy.AppendTextElement(L"EnableOverlap", ns, L"1");
    }
    root.AppendChild(copy);
  }
}

}  // namespace tw
