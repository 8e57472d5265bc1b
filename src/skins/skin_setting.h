#pragma once
// The skin settings of one view (kept in its preference record): which skin, placement, the
// values the skin lets the user adjust, and the XML form of them inside the preferences.
#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "framework/xml.h"
#include "skins/font_record.h"

namespace tw {

// The fourteen colours, in the order of the skin property table.
enum SkinColor {
  kBackgroundColor,
  kTextColor,
  kItemColor,
  kKeywordTextColor,
  kKeywordItemColor,
  kHotTextColor,
  kHotItemColor,
  kHotKeywordTextColor,
  kHotKeywordItemColor,
  kDeleteTextColor,
  kDeleteItemColor,
  kFrameColor,
  kUpButtonColor,
  kDownButtonColor,
  kSkinColorCount
};

// Element name of a colour, the same in skin files and in the preferences.
const wchar_t* SkinColorName(int color);

// A colour in the system's layout: red in the low byte, then green, then blue.
using CColor = uint32_t;
constexpr CColor MakeColor(int r, int g, int b) {
  return static_cast<CColor>((r & 255) | ((g & 255) << 8) | ((b & 255) << 16));
}
// File notation RRGGBB, read with a base-16 conversion (text that is no number reads as 0).
CColor ColorFromText(std::wstring_view rrggbb);
std::wstring ColorToText(CColor color);  // "%02X%02X%02X" of red, green, blue

struct CSkinSetting {
  std::string skinId;  // code page 932
  int left = 0;
  int top = 0;
  int width = 0;
  int itemCount = 0;
  CFontRecord viewFont;
  CFontRecord descriptionFont;
  bool deleteButton = false;  // read buttons shown
  bool shortName = false;     // the column options
  bool dateYear = false;
  bool dateMonth = false;
  bool dateDay = false;
  bool title = false;
  std::array<CColor, kSkinColorCount> colors{};
  int deleteButtonWidth = 0;
  int alpha = 0;
  std::string imageSet;  // image-set id, code page 932

  bool operator==(const CSkinSetting& o) const;
  bool operator!=(const CSkinSetting& o) const { return !(*this == o); }
};

// Overrides the values of setting with the children present in element (a Skin element of
// the preferences, prefix "tide" bound to its namespace). A stored read-button width is kept
// only when it is half, once or one and a half times baseButtonWidth, else it becomes that
// width. Fonts are taken only when they decode to exactly 60 bytes.
void ReadSkinSettingValues(const CXmlNode& element, CSkinSetting& setting, int baseButtonWidth);
// Writes the id attribute and every value as children in the element's namespace.
void WriteSkinSettingValues(const CXmlNode& element, const CSkinSetting& setting);

}  // namespace tw
