#include "skins/skin.h"

#include <cwctype>

#include "framework/decimal.h"
#include "framework/text.h"

namespace tw {
namespace {

const wchar_t* const kPropertyNames[kSkinPropertyCount] = {L"Width",
                                                           L"ItemCount",
                                                           L"BackgroundColor",
                                                           L"TextColor",
                                                           L"ItemColor",
                                                           L"KeywordTextColor",
                                                           L"KeywordItemColor",
                                                           L"HotTextColor",
                                                           L"HotItemColor",
                                                           L"HotKeywordTextColor",
                                                           L"HotKeywordItemColor",
                                                           L"DeleteTextColor",
                                                           L"DeleteItemColor",
                                                           L"FrameColor",
                                                           L"UpButtonColor",
                                                           L"DownButtonColor",
                                                           L"DeleteButton",
                                                           L"DeleteButtonWidth",
                                                           L"ViewFont",
                                                           L"DescriptionFont",
                                                           L"FrameSize",
                                                           L"Alpha",
                                                           L"ImageSet"};

SkinPropertyType TypeFromText(const std::wstring& text) {
  if (text == L"fixed") return SkinPropertyType::kFixed;
  if (text == L"variable") return SkinPropertyType::kVariable;
  if (text == L"user") return SkinPropertyType::kUser;
  return SkinPropertyType::kNone;
}

// Whether a property takes the skin's value at this level of ApplyDefaults.
bool Takes(SkinPropertyType type, int level) {
  if (level >= 2) return true;
  if (level == 1) return type == SkinPropertyType::kFixed || type == SkinPropertyType::kVariable;
  return type == SkinPropertyType::kFixed;
}

// Four ints separated by anything that is not part of a number ("4,4,4,4" or "4 4 4 4");
// false unless there are exactly four. Negative widths count as 0.
bool ParseFrameSize(const std::wstring& text, std::array<int, 4>& out) {
  std::array<int, 4> v{};
  size_t n = 0, i = 0;
  while (i < text.size()) {
    if (!std::iswdigit(text[i]) && text[i] != L'-' && text[i] != L'+') {
      ++i;
      continue;
    }
    size_t j = i + 1;
    while (j < text.size() && std::iswdigit(text[j])) ++j;
    if (n == 4) return false;
    int value = ParseDecimal(std::wstring_view(text).substr(i, j - i));
    v[n++] = value < 0 ? 0 : value;
    i = j;
  }
  if (n != 4) return false;
  out = v;
  return true;
}

std::string Cp932Text(const CXmlNode& node, const wchar_t* xpath) {
  return ToCp932(node.SelectText(xpath));
}

}  // namespace

CSkinValues CSkinValues::BuiltIn() {
  CSkinValues v;
  v.colors = {MakeColor(0xFF, 0xFF, 0xFF), MakeColor(0, 0, 0),          MakeColor(0xFF, 0xFF, 0xFF),
              MakeColor(0xFF, 0, 0),       MakeColor(0xFF, 0xFF, 0xC8), MakeColor(0, 0, 0),
              MakeColor(0xC8, 0xC8, 0xFF), MakeColor(0xFF, 0, 0),       MakeColor(0x96, 0x96, 0xFF),
              MakeColor(0xFF, 0xFF, 0xFF), MakeColor(0xFF, 0, 0),       MakeColor(0xD4, 0xD0, 0xC8),
              MakeColor(0, 0xCC, 0xFF),    MakeColor(0xFF, 0, 0x33)};
  v.viewFont = DefaultViewFont();
  v.descriptionFont = DefaultDescriptionFont();
  return v;
}

std::pair<int, int> NextCascadePosition() {
  static int n = 0;
  std::pair<int, int> position(240 + 16 * n, 120 + 16 * n);
  n = (n + 1) % 10;
  return position;
}

CSkin::CSkin(const CXmlNode& skin, std::wstring path) : path_(std::move(path)) {
  classUri_ = skin.Attribute(L"class");
  id_ = ToCp932(skin.Attribute(L"id"));
  if (id_.empty()) throw CSkinException("skin without id");
  name_ = Cp932Text(skin, L"hs:Name");
  if (name_.empty()) name_ = "NoName";
  copyright_ = Cp932Text(skin, L"hs:Copyright");
  version_ = Cp932Text(skin, L"hs:Version");
  producer_ = Cp932Text(skin, L"hs:Producer");
  description_ = Cp932Text(skin, L"hs:Description");
  for (int p = 0; p < kSkinPropertyCount; ++p) ReadProperty(skin, p);
}

void CSkin::ReadProperty(const CXmlNode& skin, int p) {
  CXmlNode element = skin.SelectSingle(std::wstring(L"hs:") + kPropertyNames[p]);
  if (!element) return;
  types_[p] = TypeFromText(element.Attribute(L"type"));
  CXmlNode def = element.SelectSingle(L"hs:Default");
  if (!def) return;
  const std::wstring text = def.Text();
  bool taken = true;
  if (p >= kPropFirstColor && p < kPropFirstColor + kSkinColorCount) {
    values_.colors[p - kPropFirstColor] = ColorFromText(text);
  } else {
    switch (p) {
      case kPropWidth:
        values_.width = ParseDecimal(text);
        break;
      case kPropItemCount:
        values_.itemCount = ParseDecimal(text);
        break;
      case kPropDeleteButton:
        values_.deleteButton = ParseDecimal(text) != 0;
        break;
      case kPropDeleteButtonWidth:
        values_.deleteButtonWidth = ParseDecimal(text);
        break;
      case kPropViewFont:
        taken = CFontRecord::FromHex(ToCp932(text), values_.viewFont);
        break;
      case kPropDescriptionFont:
        taken = CFontRecord::FromHex(ToCp932(text), values_.descriptionFont);
        break;
      case kPropFrameSize:
        taken = ParseFrameSize(text, values_.frameSize);
        break;
      case kPropAlpha:
        values_.alpha = ParseDecimal(text);
        break;
      case kPropImageSet:
        values_.imageSet = ToCp932(text);
        break;
    }
  }
  hasDefault_[p] = taken;
}

void CSkin::ApplyDefaults(CSkinSetting& s, int level) const {
  s.skinId = id_;
  if (level >= 1) {
    auto [left, top] = NextCascadePosition();
    s.left = left;
    s.top = top;
  }
  if (level >= 2) {
    s.shortName = true;
    s.dateYear = false;
    s.dateMonth = true;
    s.dateDay = true;
    s.title = true;
  }
  if (Takes(types_[kPropWidth], level)) s.width = values_.width;
  if (Takes(types_[kPropItemCount], level)) s.itemCount = values_.itemCount;
  for (int c = 0; c < kSkinColorCount; ++c) {
    if (Takes(types_[kPropFirstColor + c], level)) s.colors[c] = values_.colors[c];
  }
  if (Takes(types_[kPropDeleteButton], level)) s.deleteButton = values_.deleteButton;
  if (Takes(types_[kPropDeleteButtonWidth], level)) {
    s.deleteButtonWidth = values_.deleteButtonWidth;
  }
  if (Takes(types_[kPropViewFont], level)) s.viewFont = values_.viewFont;
  if (Takes(types_[kPropDescriptionFont], level)) s.descriptionFont = values_.descriptionFont;
  if (Takes(types_[kPropAlpha], level)) s.alpha = values_.alpha;
  // The image set follows the same rule, so that a chosen set survives a restart; a set the
  // skin does not have falls back to the skin's default.
  if (Takes(types_[kPropImageSet], level) || !KnowsImageSet(s.imageSet)) {
    s.imageSet = values_.imageSet;
  }
}

void CSkin::ReadSettings(const CXmlNode& element, CSkinSetting& setting) const {
  ApplyDefaults(setting, 2);
  if (element) ReadSkinSettingValues(element, setting, values_.deleteButtonWidth);
  ApplyDefaults(setting, 0);
}

void CSkin::WriteSettings(const CXmlNode& element, const CSkinSetting& setting) const {
  WriteSkinSettingValues(element, setting);
}

}  // namespace tw
