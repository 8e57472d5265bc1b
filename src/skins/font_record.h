#pragma once
// The 60-byte logical-font record that skins and views store (the layout of LOGFONTA), its
// hexadecimal text form, and the two default fonts.
#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace tw {

struct CFontRecord {
  static constexpr size_t kSize = 60;
  static constexpr size_t kFaceSize = 32;

  int32_t height = 0;
  int32_t width = 0;
  int32_t escapement = 0;
  int32_t orientation = 0;
  int32_t weight = 0;
  uint8_t italic = 0;
  uint8_t underline = 0;
  uint8_t strikeOut = 0;
  uint8_t charSet = 0;
  uint8_t outPrecision = 0;
  uint8_t clipPrecision = 0;
  uint8_t quality = 0;
  uint8_t pitchAndFamily = 0;
  std::array<char, kFaceSize> faceName{};  // code page 932, NUL-terminated

  std::string FaceName() const;
  void SetFaceName(std::string_view faceCp932);  // cut to 31 bytes, never inside a character

  std::array<uint8_t, kSize> Bytes() const;  // little-endian, in field order
  // 120 upper-case hexadecimal digits, two per byte.
  std::string ToHex() const;
  // Accepts exactly 120 hexadecimal digits (either case); false otherwise, out untouched.
  // The face name is always left NUL-terminated.
  static bool FromHex(std::string_view text, CFontRecord& out);

  bool operator==(const CFontRecord& o) const { return Bytes() == o.Bytes(); }
  bool operator!=(const CFontRecord& o) const { return !(*this == o); }
};

// A record for a point size in tenths of a point on the screen, as the system's point-font
// creation makes it: height = -(tenths * vertical pixels per inch / 720), default character
// set. Used for the two default fonts.
CFontRecord PointFontRecord(const std::string& faceCp932, int tenths);
// "ＭＳ ゴシック" 10 point and 12 point, built once per run.
const CFontRecord& DefaultViewFont();
const CFontRecord& DefaultDescriptionFont();

}  // namespace tw
