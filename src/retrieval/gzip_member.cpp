#include "retrieval/gzip_member.h"

#include <zlib.h>

#include <climits>

namespace tw {
namespace {

constexpr unsigned char kMagic1 = 0x1F;
constexpr unsigned char kMagic2 = 0x8B;
constexpr unsigned char kMethodDeflate = 8;
constexpr unsigned char kFlagHeaderCrc = 0x02;
constexpr unsigned char kFlagExtra = 0x04;
constexpr unsigned char kFlagName = 0x08;
constexpr unsigned char kFlagComment = 0x10;
constexpr unsigned char kFlagReserved = 0xE0;
constexpr size_t kFixedHeader = 10;
constexpr size_t kOutputStep = 2048;

// The offset of the deflate data after the member header; 0 when the header is not valid.
size_t SkipHeader(std::string_view b) {
  auto at = [&](size_t i) { return static_cast<unsigned char>(b[i]); };
  if (b.size() < kFixedHeader || at(0) != kMagic1 || at(1) != kMagic2 || at(2) != kMethodDeflate ||
      (at(3) & kFlagReserved) != 0) {
    return 0;
  }
  unsigned char flags = at(3);
  size_t pos = kFixedHeader;
  if (flags & kFlagExtra) {
    if (b.size() < pos + 2) return 0;
    size_t length = at(pos) | (static_cast<size_t>(at(pos + 1)) << 8);
    pos += 2 + length;
  }
  for (unsigned char flag : {kFlagName, kFlagComment}) {
    if (!(flags & flag)) continue;
    size_t end = b.find('\0', pos);
    if (end == std::string_view::npos) return 0;
    pos = end + 1;
  }
  if (flags & kFlagHeaderCrc) pos += 2;
  return pos <= b.size() ? pos : 0;
}

// Ends the inflate stream however decoding ends.
class CInflater {
 public:
  CInflater() { ok_ = inflateInit2(&stream_, -MAX_WBITS) == Z_OK; }
  CInflater(const CInflater&) = delete;
  CInflater& operator=(const CInflater&) = delete;
  ~CInflater() {
    if (ok_) inflateEnd(&stream_);
  }
  bool Ok() const { return ok_; }
  z_stream& Stream() { return stream_; }

 private:
  z_stream stream_{};
  bool ok_ = false;
};

}  // namespace

GzipResult DecodeGzipMember(std::string_view body, std::string& out, size_t limit) {
  out.clear();
  size_t start = SkipHeader(body);
  if (start == 0) return GzipResult::kBadHeader;
  std::string_view data = body.substr(start);
  if (data.size() > UINT_MAX) return GzipResult::kTooLarge;

  CInflater inflater;
  if (!inflater.Ok()) return GzipResult::kBadData;
  z_stream& z = inflater.Stream();
  z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.data()));
  z.avail_in = static_cast<uInt>(data.size());
  unsigned char buffer[kOutputStep];
  for (;;) {
    z.next_out = buffer;
    z.avail_out = sizeof buffer;
    int rc = inflate(&z, Z_NO_FLUSH);
    size_t produced = sizeof buffer - z.avail_out;
    if (out.size() + produced > limit) {
      out.clear();
      return GzipResult::kTooLarge;
    }
    out.append(reinterpret_cast<const char*>(buffer), produced);
    if (rc == Z_STREAM_END) return GzipResult::kOk;
    // Z_BUF_ERROR with input left means no progress was possible; without input the body
    // ended before the last block.
    if (rc != Z_OK) {
      out.clear();
      return GzipResult::kBadData;
    }
  }
}

}  // namespace tw
