#include "skins/skin_setting.h"

#include <cstdio>
#include <cwchar>

#include "framework/decimal.h"
#include "framework/text.h"

namespace tw {
namespace {

const wchar_t* const kColorNames[kSkinColorCount] = {
    L"BackgroundColor",     L"TextColor",       L"ItemColor",       L"KeywordTextColor",
    L"KeywordItemColor",    L"HotTextColor",    L"HotItemColor",    L"HotKeywordTextColor",
    L"HotKeywordItemColor", L"DeleteTextColor", L"DeleteItemColor", L"FrameColor",
    L"UpButtonColor",       L"DownButtonColor"};

// True with the text of the first child of that name; false when there is none.
bool ChildText(const CXmlNode& element, const wchar_t* name, std::wstring& text) {
  CXmlNode child = element.SelectSingle(std::wstring(L"tide:") + name);
  if (!child) return false;
  text = child.Text();
  return true;
}

void ReadInt(const CXmlNode& element, const wchar_t* name, int& value) {
  std::wstring text;
  if (ChildText(element, name, text)) value = ParseDecimal(text);
}

void ReadBool(const CXmlNode& element, const wchar_t* name, bool& value) {
  std::wstring text;
  if (ChildText(element, name, text)) value = ParseDecimal(text) != 0;
}

void ReadFont(const CXmlNode& element, const wchar_t* name, CFontRecord& font) {
  std::wstring text;
  if (ChildText(element, name, text)) CFontRecord::FromHex(ToCp932(text), font);
}

void WriteInt(const CXmlNode& element, const std::wstring& ns, const wchar_t* name, int value) {
  element.AppendTextElement(name, ns, std::to_wstring(value));
}

void WriteFont(const CXmlNode& element, const std::wstring& ns, const wchar_t* name,
               const CFontRecord& font) {
  element.AppendTextElement(name, ns, ToWide(font.ToHex()));
}

}  // namespace

const wchar_t* SkinColorName(int color) { return kColorNames[color]; }

CColor ColorFromText(std::wstring_view text) {
  std::wstring s(text);
  unsigned long v = std::wcstoul(s.c_str(), nullptr, 16);
  return MakeColor(static_cast<int>((v >> 16) & 255), static_cast<int>((v >> 8) & 255),
                   static_cast<int>(v & 255));
}

std::wstring ColorToText(CColor color) {
  wchar_t buf[8];
  std::swprintf(buf, 8, L"%02X%02X%02X", color & 255, (color >> 8) & 255, (color >> 16) & 255);
  return buf;
}

bool CSkinSetting::operator==(const CSkinSetting& o) const {
  return skinId == o.skinId && left == o.left && top == o.top && width == o.width &&
         itemCount == o.itemCount && viewFont == o.viewFont &&
         descriptionFont == o.descriptionFont && deleteButton == o.deleteButton &&
         shortName == o.shortName && dateYear == o.dateYear && dateMonth == o.dateMonth &&
         dateDay == o.dateDay && title == o.title && colors == o.colors &&
         deleteButtonWidth == o.deleteButtonWidth && alpha == o.alpha && imageSet == o.imageSet;
}

void ReadSkinSettingValues(const CXmlNode& element, CSkinSetting& s, int baseButtonWidth) {
  ReadInt(element, L"Left", s.left);
  ReadInt(element, L"Top", s.top);
  ReadInt(element, L"Width", s.width);
  ReadInt(element, L"ItemCount", s.itemCount);
  ReadFont(element, L"ViewFont", s.viewFont);
  ReadFont(element, L"DescriptionFont", s.descriptionFont);
  ReadBool(element, L"DeleteButton", s.deleteButton);
  int width = s.deleteButtonWidth;
  ReadInt(element, L"DeleteButtonWidth", width);
  const int b = baseButtonWidth;
  s.deleteButtonWidth = (width == b / 2 || width == b || width == 3 * b / 2) ? width : b;
  ReadBool(element, L"ShortName", s.shortName);
  ReadBool(element, L"DateYear", s.dateYear);
  ReadBool(element, L"DateMonth", s.dateMonth);
  ReadBool(element, L"DateDay", s.dateDay);
  ReadBool(element, L"Title", s.title);
  for (int c = 0; c < kSkinColorCount; ++c) {
    std::wstring text;
    if (ChildText(element, kColorNames[c], text)) s.colors[c] = ColorFromText(text);
  }
  ReadInt(element, L"Alpha", s.alpha);
  CXmlNode imageSet = element.SelectSingle(L"tide:ImageSet");
  if (imageSet) s.imageSet = ToCp932(imageSet.Attribute(L"id"));
}

void WriteSkinSettingValues(const CXmlNode& element, const CSkinSetting& s) {
  const std::wstring ns = element.NamespaceUri();
  element.SetAttribute(L"id", ToWide(s.skinId));
  WriteInt(element, ns, L"Left", s.left);
  WriteInt(element, ns, L"Top", s.top);
  WriteInt(element, ns, L"Width", s.width);
  WriteInt(element, ns, L"ItemCount", s.itemCount);
  WriteFont(element, ns, L"ViewFont", s.viewFont);
  WriteFont(element, ns, L"DescriptionFont", s.descriptionFont);
  WriteInt(element, ns, L"DeleteButton", s.deleteButton);
  WriteInt(element, ns, L"DeleteButtonWidth", s.deleteButtonWidth);
  WriteInt(element, ns, L"ShortName", s.shortName);
  WriteInt(element, ns, L"DateYear", s.dateYear);
  WriteInt(element, ns, L"DateMonth", s.dateMonth);
  WriteInt(element, ns, L"DateDay", s.dateDay);
  WriteInt(element, ns, L"Title", s.title);
  for (int c = 0; c < kSkinColorCount; ++c) {
    element.AppendTextElement(kColorNames[c], ns, ColorToText(s.colors[c]));
  }
  WriteInt(element, ns, L"Alpha", s.alpha);
  element.AppendElement(L"ImageSet", ns).SetAttribute(L"id", ToWide(s.imageSet));
}

}  // namespace tw
