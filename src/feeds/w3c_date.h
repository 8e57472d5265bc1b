#pragma once
// The date value shared by the whole program: seconds since 1970 UTC (-1 = none), with the
// W3C text it was parsed from. Parsers for W3C (ISO 8601 profile) and RFC 822 texts, and the
// W3C writer (local time, no zone designator).
#include <cstdint>
#include <string>
#include <utility>

namespace tw {

class CW3CDate {
 public:
  static constexpr int64_t kNone = -1;

  CW3CDate() = default;                             // none
  explicit CW3CDate(int64_t time) : time_(time) {}  // empty text
  static CW3CDate Now();                            // the C library's time()

  // Always yields a value and keeps the text (an unusable text gives none).
  static CW3CDate ParseW3C(const std::string& text);
  // None on any syntax error; keeps no text.
  static CW3CDate ParseRfc822(const std::string& text);
  // The kept text when there is one, else the local-time W3C form (which is then kept);
  // empty for none.
  std::string FormatW3C() const;

  int64_t Time() const { return time_; }
  bool IsNone() const { return time_ == kNone; }
  const std::string& Text() const { return text_; }

  // Values compare by time alone.
  bool operator==(const CW3CDate& o) const { return time_ == o.time_; }
  bool operator!=(const CW3CDate& o) const { return time_ != o.time_; }
  bool operator<(const CW3CDate& o) const { return time_ < o.time_; }

 private:
  CW3CDate(int64_t time, std::string text) : time_(time), text_(std::move(text)) {}

  int64_t time_ = kNone;
  mutable std::string text_;
};

}  // namespace tw
