#include "model/data_file.h"

#include "framework/files.h"
#include "framework/text.h"
#include "model/data_namespaces.h"
#include "model/preference_translators.h"
#include "model/site_translator.h"

namespace tw {
namespace {

// Every converter moves a document one form on; more passes than this mean a loop.
constexpr int kMaxConversions = 8;

bool IsNamespaceDeclaration(const std::wstring& name) {
  return name == L"xmlns" || name.compare(0, 6, L"xmlns:") == 0;
}

bool HasElementChild(const CXmlNode& node) {
  for (CXmlNode c = node.FirstChild(); c; c = c.NextSibling()) {
    if (c.Type() == NODE_ELEMENT) return true;
  }
  return false;
}

}  // namespace

const std::vector<CDataFileConverter>& StandardConverters() {
  static const std::vector<CDataFileConverter> converters = {
      {L"Preferences", kNsData1Old, &CPreferenceTranslator1::Convert},
      {L"Preferences", kNsData2, &CPreferenceTranslator2::Convert},
      {L"Sites", kNsData1Old, &CSiteTranslator1::Convert},
  };
  return converters;
}

bool ConvertDataFile(CXmlDocument& doc, const std::vector<CDataFileConverter>& converters) {
  for (int pass = 0; pass <= kMaxConversions; ++pass) {
    CXmlNode root = doc.Root();
    if (!root) return true;
    const std::wstring name = root.BaseName(), ns = root.NamespaceUri();
    const CDataFileConverter* match = nullptr;
    for (const CDataFileConverter& c : converters) {
      if (c.rootName == name && c.ns == ns) match = &c;
    }
    if (!match) return true;
    if (pass == kMaxConversions) return false;
    CXmlDocument next;
    match->convert(doc, next);
    if (!doc.LoadXml(next.Xml())) return false;
  }
  return false;
}

DataFileLoad LoadDataFile(const std::wstring& path, CXmlDocument& doc,
                          const CDataFileReport& report,
                          const std::vector<CDataFileConverter>& converters) {
  if (!FileExists(path)) return DataFileLoad::kMissing;
  // What the program wrote must come back unchanged, blanks around a text included.
  doc.SetPreserveWhiteSpace(true);
  if (!doc.LoadFile(path)) {
    const std::string file = ToCp932(path);
    std::wstring aside = MoveAside(path);
    if (aside.empty()) {
      report("ファイル" + file + "が壊れているため読み込めませんでした。\r\n" +
             "このファイルを別の名前に移すこともできませんでした。");
      return DataFileLoad::kFailed;
    }
    report("ファイル" + file + "が壊れているため読み込めませんでした。\r\n" + "壊れたファイルは" +
           ToCp932(aside) + "に移し、初期状態で続けます。");
    return DataFileLoad::kMissing;
  }
  if (!ConvertDataFile(doc, converters)) {
    ReportFormatError(path, report);
    return DataFileLoad::kFailed;
  }
  return DataFileLoad::kLoaded;
}

bool ReadDataFile(const std::wstring& path, const std::wstring& ns, const std::wstring& rootName,
                  const CDataFileReport& report, const std::function<void(const CXmlNode&)>& read,
                  const std::vector<CDataFileConverter>& converters) {
  try {
    CXmlDocument doc;
    switch (LoadDataFile(path, doc, report, converters)) {
      case DataFileLoad::kMissing:
        return true;
      case DataFileLoad::kFailed:
        return false;
      case DataFileLoad::kLoaded:
        break;
    }
    doc.SetSelectionNamespaces(TideSelection(ns));
    CXmlNode root = doc.SelectSingle(L"/tide:" + rootName);
    if (!root) {
      ReportFormatError(path, report);
      return false;
    }
    read(root);
    return true;
  } catch (const CComException&) {
    ReportFormatError(path, report);
    return false;
  }
}

void ReportFormatError(const std::wstring& path, const CDataFileReport& report) {
  report("ファイル" + ToCp932(path) + "の形式エラーです。");
}

bool SaveDataFile(const CXmlDocument& doc, const std::wstring& path) {
  return SaveFileAtomicallyVia(path, [&doc](const std::wstring& temp) { return doc.Save(temp); });
}

CXmlNode CopyIntoNamespace(const CXmlDocument& doc, const CXmlNode& element,
                           const std::wstring& ns) {
  CXmlNode copy = doc.CreateElement(element.BaseName(), ns);
  for (const auto& [name, value] : element.Attributes()) {
    // Prefixed attributes would need their declarations; the data files use none.
    if (IsNamespaceDeclaration(name)) continue;
    if (name.find(L':') != std::wstring::npos && name.compare(0, 4, L"xml:") != 0) continue;
    copy.SetAttribute(name, value);
  }
  if (HasElementChild(element)) {
    for (CXmlNode c = element.FirstChild(); c; c = c.NextSibling()) {
      if (c.Type() == NODE_ELEMENT) copy.AppendChild(CopyIntoNamespace(doc, c, ns));
    }
  } else {
    std::wstring text = ExactText(element);
    if (!text.empty()) copy.SetText(text);
  }
  return copy;
}

std::wstring ExactText(const CXmlNode& element) {
  std::wstring text;
  for (CXmlNode c = element.FirstChild(); c; c = c.NextSibling()) {
    DOMNodeType t = c.Type();
    if (t == NODE_TEXT || t == NODE_CDATA_SECTION) text += c.Value();
  }
  return text;
}

}  // namespace tw
