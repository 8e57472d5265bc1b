#include "skins/font_record.h"

#include <windows.h>

#include <cstring>

#include "framework/text.h"

namespace tw {
namespace {

constexpr char kHexDigits[] = "0123456789ABCDEF";

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

void PutInt(uint8_t* p, int32_t v) {
  uint32_t u = static_cast<uint32_t>(v);
  for (int i = 0; i < 4; ++i) p[i] = static_cast<uint8_t>(u >> (8 * i));
}

int32_t GetInt(const uint8_t* p) {
  uint32_t u = 0;
  for (int i = 0; i < 4; ++i) u |= static_cast<uint32_t>(p[i]) << (8 * i);
  return static_cast<int32_t>(u);
}

int ScreenPixelsPerInchY() {
  HDC dc = GetDC(nullptr);
  if (!dc) return 96;
  int ppi = GetDeviceCaps(dc, LOGPIXELSY);
  ReleaseDC(nullptr, dc);
  return ppi > 0 ? ppi : 96;
}

}  // namespace

std::string CFontRecord::FaceName() const {
  return std::string(faceName.data(), strnlen(faceName.data(), kFaceSize));
}

void CFontRecord::SetFaceName(std::string_view face) {
  faceName.fill('\0');
  size_t n = 0;
  while (n < face.size()) {
    size_t step = IsLeadByte932(static_cast<unsigned char>(face[n])) ? 2 : 1;
    if (n + step > kFaceSize - 1 || n + step > face.size()) break;
    n += step;
  }
  std::memcpy(faceName.data(), face.data(), n);
}

std::array<uint8_t, CFontRecord::kSize> CFontRecord::Bytes() const {
  std::array<uint8_t, kSize> b{};
  PutInt(&b[0], height);
  PutInt(&b[4], width);
  PutInt(&b[8], escapement);
  PutInt(&b[12], orientation);
  PutInt(&b[16], weight);
  const uint8_t flags[8] = {italic,       underline,     strikeOut, charSet,
                            outPrecision, clipPrecision, quality,   pitchAndFamily};
  std::memcpy(&b[20], flags, 8);
  std::memcpy(&b[28], faceName.data(), kFaceSize);
  return b;
}

std::string CFontRecord::ToHex() const {
  std::string s;
  s.reserve(2 * kSize);
  for (uint8_t byte : Bytes()) {
    s += kHexDigits[byte >> 4];
    s += kHexDigits[byte & 15];
  }
  return s;
}

bool CFontRecord::FromHex(std::string_view text, CFontRecord& out) {
  if (text.size() != 2 * kSize) return false;
  uint8_t b[kSize];
  for (size_t i = 0; i < kSize; ++i) {
    int hi = HexValue(text[2 * i]), lo = HexValue(text[2 * i + 1]);
    if (hi < 0 || lo < 0) return false;
    b[i] = static_cast<uint8_t>(hi * 16 + lo);
  }
  CFontRecord r;
  r.height = GetInt(&b[0]);
  r.width = GetInt(&b[4]);
  r.escapement = GetInt(&b[8]);
  r.orientation = GetInt(&b[12]);
  r.weight = GetInt(&b[16]);
  r.italic = b[20];
  r.underline = b[21];
  r.strikeOut = b[22];
  r.charSet = b[23];
  r.outPrecision = b[24];
  r.clipPrecision = b[25];
  r.quality = b[26];
  r.pitchAndFamily = b[27];
  std::memcpy(r.faceName.data(), &b[28], kFaceSize);
  r.faceName[kFaceSize - 1] = '\0';  // a stored face is later used as a C string
  out = r;
  return true;
}

CFontRecord PointFontRecord(const std::string& faceCp932, int tenths) {
  CFontRecord r;
  r.height = -(tenths * ScreenPixelsPerInchY() / 720);
  r.charSet = DEFAULT_CHARSET;
  r.SetFaceName(faceCp932);
  return r;
}

const CFontRecord& DefaultViewFont() {
  static const CFontRecord font = PointFontRecord("ＭＳ ゴシック", 100);
  return font;
}

const CFontRecord& DefaultDescriptionFont() {
  static const CFontRecord font = PointFontRecord("ＭＳ ゴシック", 120);
  return font;
}

}  // namespace tw
