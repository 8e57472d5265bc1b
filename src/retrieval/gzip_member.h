#pragma once
// Decoding of a gzip member (RFC 1952) as an HTTP body with "Content-Encoding: gzip" carries
// it: the member header is read here, the deflate data by zlib's raw inflate.
#include <cstddef>
#include <string>
#include <string_view>

namespace tw {

// The largest body a feed may inflate to; a larger one fails instead of exhausting memory.
constexpr size_t kMaxBodyBytes = 64u << 20;

enum class GzipResult {
  kOk,
  kBadHeader,  // no gzip magic, not deflate, reserved flags, or the header is cut short
  kBadData,    // the deflate data is damaged or ends before its last block
  kTooLarge,   // it would inflate beyond the limit
};

// Inflates the first member of body into out (replaced). The optional extra field, file name,
// comment and header CRC are skipped; the trailer's CRC-32 is not verified.
GzipResult DecodeGzipMember(std::string_view body, std::string& out, size_t limit = kMaxBodyBytes);

}  // namespace tw
