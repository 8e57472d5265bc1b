#include "model/preferences.h"

#include "framework/decimal.h"
#include "model/data_namespaces.h"

namespace tw {
namespace {

// An unsigned setting: atoi of the text when present, the fallback otherwise. Negative text
// reads as 0 rather than wrapping round to a huge count.
unsigned ReadUnsigned(const CXmlNode& root, const wchar_t* name, unsigned fallback) {
  CXmlNode e = root.SelectSingle(std::wstring(L"tide:") + name);
  if (!e) return fallback;
  int v = ParseDecimal(e.Text());
  return v < 0 ? 0u : static_cast<unsigned>(v);
}

int ReadSigned(const CXmlNode& root, const wchar_t* name, int fallback) {
  CXmlNode e = root.SelectSingle(std::wstring(L"tide:") + name);
  return e ? ParseDecimal(e.Text()) : fallback;
}

}  // namespace

void CPreferences::Reset() {
  restItem = kDefaultRestItem;
  updateCycle = kDefaultUpdateCycle;
  numThread = kDefaultNumThread;
  currentTip = 0;
  timeout = kDefaultTimeout;
  gesture = CGestureSetting::Defaults();
  views.clear();
}

bool CPreferences::Load(const std::wstring& path, const CSkinManager& skins,
                        const CDataFileReport& report) {
  Reset();
  if (ReadDataFile(path, kNsData3, L"Preferences", report,
                   [&](const CXmlNode& root) { ReadFrom(root, skins); }))
    return true;
  Reset();
  return false;
}

void CPreferences::ReadFrom(const CXmlNode& root, const CSkinManager& skins) {
  restItem = ReadUnsigned(root, L"RestItem", kDefaultRestItem);
  updateCycle = ClampUpdateCycle(ReadUnsigned(root, L"UpdateCycle", kDefaultUpdateCycle));
  numThread = ClampNumThread(ReadUnsigned(root, L"NumThread", kDefaultNumThread));
  currentTip = ReadUnsigned(root, L"CurrentTip", 0);
  timeout = ClampTimeout(ReadSigned(root, L"Timeout", kDefaultTimeout));
  gesture = CGestureSetting::ReadFrom(root);
  for (CXmlNode child = root.FirstChild(); child; child = child.NextSibling()) {
    if (child.Type() != NODE_ELEMENT || child.Name() != L"RankedViewPreference") continue;
    auto view = std::make_unique<CRankedViewPreference>();
    view->Read(child, skins);
    views.push_back(std::move(view));
  }
}

bool CPreferences::Save(const std::wstring& path, const CSkinManager& skins) const {
  try {
    const std::wstring& ns = kNsData3;
    CXmlDocument doc;
    CXmlNode root = doc.CreateElement(L"Preferences", ns);
    doc.SetRoot(root);
    root.AppendTextElement(L"RestItem", ns, std::to_wstring(restItem));
    root.AppendTextElement(L"UpdateCycle", ns, std::to_wstring(updateCycle));
    root.AppendTextElement(L"NumThread", ns, std::to_wstring(numThread));
    root.AppendTextElement(L"CurrentTip", ns, std::to_wstring(currentTip));
    root.AppendTextElement(L"Timeout", ns, std::to_wstring(timeout));
    gesture.WriteTo(root);
    for (const auto& view : views) view->Write(root, skins);
    return SaveDataFile(doc, path);
  } catch (const CComException&) {
    return false;
  }
}

}  // namespace tw
