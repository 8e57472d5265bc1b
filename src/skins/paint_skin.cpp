#include "skins/paint_skin.h"

#include "framework/decimal.h"
#include "framework/text.h"

namespace tw {
namespace {

bool CornerFromName(const std::wstring& name, SkinCorner& corner) {
  if (name == L"LeftTop")
    corner = SkinCorner::kLeftTop;
  else if (name == L"RightTop")
    corner = SkinCorner::kRightTop;
  else if (name == L"LeftBottom")
    corner = SkinCorner::kLeftBottom;
  else if (name == L"RightBottom")
    corner = SkinCorner::kRightBottom;
  else
    return false;
  return true;
}

bool CornerFromStart(const std::wstring& start, SkinCorner& corner) {
  if (start == L"left_top")
    corner = SkinCorner::kLeftTop;
  else if (start == L"right_top")
    corner = SkinCorner::kRightTop;
  else if (start == L"left_bottom")
    corner = SkinCorner::kLeftBottom;
  else if (start == L"right_bottom")
    corner = SkinCorner::kRightBottom;
  else
    return false;
  return true;
}

// "infinite", or a count where 0 (and anything below) counts as 1.
int RepeatFromText(const std::wstring& text) {
  if (text == L"infinite") return CDrawEntry::kInfinite;
  int n = ParseDecimal(text);
  return n < 1 ? 1 : n;
}

// Every child node of an entry must be a position; comments and other names break the skin.
std::vector<CDrawPosition> ReadPositions(const CXmlNode& entry) {
  std::vector<CDrawPosition> positions;
  for (CXmlNode child = entry.FirstChild(); child; child = child.NextSibling()) {
    CDrawPosition p;
    if (!CornerFromName(child.Name(), p.corner)) {
      throw CSkinException("unknown position in a draw entry");
    }
    if (!CornerFromStart(child.Attribute(L"start"), p.start)) {
      throw CSkinException("unknown start corner in a draw entry");
    }
    p.x = ParseDecimal(child.Attribute(L"x"));
    p.y = ParseDecimal(child.Attribute(L"y"));
    positions.push_back(p);
  }
  return positions;
}

}  // namespace

CPaintSkin::CPaintSkin(const CXmlNode& skin, std::wstring path) : CSkin(skin, std::move(path)) {
  CXmlNode paint = skin.SelectSingle(L"hs:Paint");
  if (!paint) return;
  ReadImageSets(paint);
  CXmlNode draw = paint.SelectSingle(L"hs:Draw");
  if (draw) ReadDrawList(draw);
}

void CPaintSkin::ReadImageSets(const CXmlNode& paint) {
  for (const CXmlNode& setNode : paint.SelectNodes(L"hs:ImageSet")) {
    std::string id = ToCp932(setNode.Attribute(L"id"));
    if (id.empty()) throw CSkinException("image set without id");
    if (imageSets_.count(id)) throw CSkinException("image set id used twice");
    CImageSet set;
    set.name = ToCp932(setNode.SelectText(L"hs:Name"));
    for (const CXmlNode& image : setNode.SelectNodes(L"hs:Image")) {
      std::string imageId = ToCp932(image.Attribute(L"id"));
      if (!set.images.emplace(imageId, ToCp932(image.Text())).second) {
        throw CSkinException("image id used twice in one image set");
      }
    }
    imageSets_.emplace(std::move(id), std::move(set));
  }
}

void CPaintSkin::ReadDrawList(const CXmlNode& draw) {
  for (CXmlNode child = draw.FirstChild(); child; child = child.NextSibling()) {
    const std::wstring name = child.Name();
    CDrawEntry entry;
    if (name == L"Image") {
      entry.kind = CDrawEntry::Kind::kImage;
      entry.imageId = ToCp932(child.Attribute(L"id"));
      entry.xRepeat = RepeatFromText(child.Attribute(L"x_repeat"));
      entry.yRepeat = RepeatFromText(child.Attribute(L"y_repeat"));
    } else if (name == L"Item") {
      entry.kind = CDrawEntry::Kind::kItem;
    } else {
      throw CSkinException("unknown draw entry");
    }
    entry.positions = ReadPositions(child);
    drawList_.push_back(std::move(entry));
  }
}

void CPaintSkin::GetImageSets(std::vector<CImageSetEntry>& list) const {
  for (const auto& [id, set] : imageSets_) list.emplace_back(set.name, id);
}

bool CPaintSkin::KnowsImageSet(const std::string& id) const {
  return imageSets_.empty() || imageSets_.count(id) != 0;
}

}  // namespace tw
