#pragma once
// A loaded skin: its identity and metadata, its properties (value, type, whether the file
// gave a default) and how it fills and reads the skin settings of a view.
#include <array>
#include <memory>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "framework/xml.h"
#include "skins/skin_setting.h"

namespace tw {

// Thrown while reading a skin file that breaks the format; the skin is then not loaded.
class CSkinException : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// The properties a skin file may give, in the order of the property table.
enum SkinProperty {
  kPropWidth,
  kPropItemCount,
  kPropFirstColor,  // the fourteen colours follow in SkinColor order
  kPropDeleteButton = kPropFirstColor + kSkinColorCount,
  kPropDeleteButtonWidth,
  kPropViewFont,
  kPropDescriptionFont,
  kPropFrameSize,
  kPropAlpha,
  kPropImageSet,
  kSkinPropertyCount
};

// From the property element's "type" attribute; none when absent or unknown.
enum class SkinPropertyType { kNone = 0, kFixed = 1, kVariable = 2, kUser = 3 };

// The values of a skin's properties (its defaults, or the built-in ones).
struct CSkinValues {
  int width = 0;
  int itemCount = 0;
  std::array<CColor, kSkinColorCount> colors{};
  bool deleteButton = false;
  int deleteButtonWidth = 0;
  CFontRecord viewFont;
  CFontRecord descriptionFont;
  std::array<int, 4> frameSize{4, 4, 4, 4};  // left, top, right, bottom
  int alpha = 0;
  std::string imageSet;

  // What a skin that gives nothing has.
  static CSkinValues BuiltIn();
};

// (display name, id) of an image set, code page 932.
using CImageSetEntry = std::pair<std::string, std::string>;

class CSkin {
 public:
  virtual ~CSkin() = default;
  CSkin(const CSkin&) = delete;
  CSkin& operator=(const CSkin&) = delete;

  // Level 2 defaults, then the values stored in element (a Skin element of the preferences,
  // prefix "tide" bound), then level 0 so that fixed properties always win.
  virtual void ReadSettings(const CXmlNode& element, CSkinSetting& setting) const;
  virtual void WriteSettings(const CXmlNode& element, const CSkinSetting& setting) const;
  // Level 0: fixed properties; 1: fixed and variable ones plus the next cascade position;
  // 2: every property, the cascade position and the column options of a new view.
  virtual void ApplyDefaults(CSkinSetting& setting, int level) const;
  // Appends the image sets in ascending id order (paint skins only).
  virtual void GetImageSets(std::vector<CImageSetEntry>& list) const {}

  const std::wstring& ClassUri() const { return classUri_; }
  const std::string& Id() const { return id_; }
  const std::string& Name() const { return name_; }
  const std::string& Copyright() const { return copyright_; }
  const std::string& Version() const { return version_; }
  const std::string& Producer() const { return producer_; }
  const std::string& Description() const { return description_; }
  const std::wstring& Path() const { return path_; }

  SkinPropertyType Type(int property) const { return types_[property]; }
  bool HasDefault(int property) const { return hasDefault_[property]; }
  const CSkinValues& Values() const { return values_; }

 protected:
  // Reads the common part from the hs:Skin element (prefix "hs" bound to the skin namespace).
  // Throws CSkinException when the id is empty.
  CSkin(const CXmlNode& skin, std::wstring path);
  // Whether an image-set id names one of the skin's image sets; skins without image sets
  // accept any.
  virtual bool KnowsImageSet(const std::string& id) const { return true; }

 private:
  void ReadProperty(const CXmlNode& skin, int property);

  std::wstring path_;
  std::wstring classUri_;
  std::string id_;
  std::string name_;
  std::string copyright_;
  std::string version_;
  std::string producer_;
  std::string description_;
  CSkinValues values_ = CSkinValues::BuiltIn();
  std::array<SkinPropertyType, kSkinPropertyCount> types_{};
  std::array<bool, kSkinPropertyCount> hasDefault_{};
};

using CSkinPtr = std::shared_ptr<CSkin>;

// The next cascade position of a new or reset view: (240 + 16n, 120 + 16n), n = 0..9 and
// round again; one counter for the whole program.
std::pair<int, int> NextCascadePosition();

}  // namespace tw
