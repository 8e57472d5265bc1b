#pragma once
// An image skin: besides the common part, named sets of images and the list of what is drawn
// around the rows, read from the skin's Paint element.
#include <map>
#include <string>
#include <vector>

#include "skins/skin.h"

namespace tw {

// A corner, both of a drawn rectangle and of the window it is measured from.
enum class SkinCorner { kLeftTop, kRightTop, kLeftBottom, kRightBottom };

struct CDrawPosition {
  SkinCorner corner;  // which corner of the entry's rectangle is placed
  SkinCorner start;   // the window corner the offsets are measured from
  int x = 0;
  int y = 0;
};

struct CDrawEntry {
  static constexpr int kInfinite = -1;
  enum class Kind { kImage, kItem };

  Kind kind = Kind::kImage;
  std::string imageId;  // Image entries: the image within the view's image set
  int xRepeat = 1;      // a count of at least 1, or kInfinite
  int yRepeat = 1;
  std::vector<CDrawPosition> positions;
};

struct CImageSet {
  std::string name;                           // shown in the skin settings dialog
  std::map<std::string, std::string> images;  // image id → file name, code page 932
};

class CPaintSkin : public CSkin {
 public:
  // Throws CSkinException for an image set without id or with a repeated id, a repeated image
  // id within a set, and any draw entry or position that is not one of the known names.
  CPaintSkin(const CXmlNode& skin, std::wstring path);

  void GetImageSets(std::vector<CImageSetEntry>& list) const override;

  const std::map<std::string, CImageSet>& ImageSets() const { return imageSets_; }
  const std::vector<CDrawEntry>& DrawList() const { return drawList_; }

 protected:
  bool KnowsImageSet(const std::string& id) const override;

 private:
  void ReadImageSets(const CXmlNode& paint);
  void ReadDrawList(const CXmlNode& draw);

  std::map<std::string, CImageSet> imageSets_;  // by id: byte order, as the dialog lists them
  std::vector<CDrawEntry> drawList_;
};

}  // namespace tw
