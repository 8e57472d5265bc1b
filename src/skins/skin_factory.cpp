#include "skins/skin_factory.h"

#include <cwctype>

#include "framework/xml.h"
#include "skins/paint_skin.h"
#include "skins/skin_classes.h"
#include "skins/skin_uris.h"

namespace tw {
namespace {

bool EndsWithXml(const std::wstring& path) {
  if (path.size() < 4) return false;
  std::wstring ext = path.substr(path.size() - 4);
  for (wchar_t& c : ext) c = static_cast<wchar_t>(towlower(c));
  return ext == L".xml";
}

}  // namespace

CSkinPtr LoadSkin(const std::wstring& path) {
  // Archives (".skn") need an archiver library and are not read here.
  if (!EndsWithXml(path)) return nullptr;
  try {
    CXmlDocument doc;
    if (!doc.LoadFile(path)) return nullptr;
    doc.SetSelectionNamespaces(L"xmlns:hs='" + kSkinNamespace + L"'");
    CXmlNode skin = doc.SelectSingle(L"/hs:Skins/hs:Skin");
    if (!skin) return nullptr;
    const std::wstring cls = skin.Attribute(L"class");
    if (cls == kSimpleSkinClass) return std::make_shared<CSimpleSkin>(skin, path);
    if (cls == kTransparentSkinClass) return std::make_shared<CTransparentSkin>(skin, path);
    if (cls == kPaintSkinClass) return std::make_shared<CPaintSkin>(skin, path);
    return nullptr;
  } catch (const CSkinException&) {
    return nullptr;
  } catch (const CComException&) {
    return nullptr;
  }
}

}  // namespace tw
