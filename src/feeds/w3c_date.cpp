#include "feeds/w3c_date.h"

#include <cstdio>
#include <ctime>

namespace tw {
namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

// Seconds to add to local time to get UTC (negative east of Greenwich), as the C runtime
// has it after reading TZ or the system's time zone.
long ZoneDifference() {
  static const long zone = [] {
    _tzset();
    return _timezone;
  }();
  return zone;
}

// Broken-down fields taken as local time, daylight saving off (isdst 0) or as the C runtime
// finds it for that date (isdst -1); -1 when the C runtime cannot represent them (before 1970,
// after 3000).
int64_t LocalFieldsToTime(int year, int month0, int day, int hour, int minute, int second,
                          int isdst = 0) {
  std::tm fields{};
  fields.tm_year = year - 1900;
  fields.tm_mon = month0;
  fields.tm_mday = day;
  fields.tm_hour = hour;
  fields.tm_min = minute;
  fields.tm_sec = second;
  fields.tm_isdst = isdst;
  return static_cast<int64_t>(std::mktime(&fields));
}

// Reads up to maxDigits decimal digits at pos (stopping at a non-digit or the end); then
// steps over separator when it is the next character. No digits read gives 0.
int ReadField(const std::string& s, size_t& pos, int maxDigits, char separator) {
  int value = 0;
  for (int n = 0; n < maxDigits && pos < s.size() && IsDigit(s[pos]); ++n, ++pos) {
    value = value * 10 + (s[pos] - '0');
  }
  if (pos < s.size() && s[pos] == separator) ++pos;
  return value;
}

// Exactly two digits at pos, or false.
bool ReadTwoDigits(const std::string& s, size_t& pos, int& value) {
  if (pos + 1 >= s.size() || !IsDigit(s[pos]) || !IsDigit(s[pos + 1])) return false;
  value = (s[pos] - '0') * 10 + (s[pos + 1] - '0');
  pos += 2;
  return true;
}

// Skips blanks; false when the end of the text is reached.
bool SkipBlanks(const std::string& s, size_t& pos) {
  while (pos < s.size() && IsBlank(s[pos])) ++pos;
  return pos < s.size();
}

int MonthIndex(const std::string& s, size_t pos) {
  static const char* const kMonths[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                        "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
  if (s.size() - pos < 3) return -1;
  for (int i = 0; i < 12; ++i) {
    if (s.compare(pos, 3, kMonths[i]) == 0) return i;
  }
  return -1;
}

// The offset of a zone name in seconds east of UTC; false for an unlisted name. The military
// letters keep the signs RFC 822 gave them.
bool NamedZoneOffset(const std::string& zone, int& seconds) {
  static const struct {
    const char* name;
    int hours;
  } kZones[] = {{"UT", 0},   {"GMT", 0},  {"EST", -5}, {"EDT", -4}, {"CST", -6},
                {"CDT", -5}, {"MST", -7}, {"MDT", -6}, {"PST", -8}, {"PDT", -7},
                {"Z", 0},    {"A", -1},   {"M", -12},  {"N", 1},    {"Y", 12}};
  for (const auto& z : kZones) {
    if (zone == z.name) {
      seconds = z.hours * 3600;
      return true;
    }
  }
  return false;
}

bool ParseZone(const std::string& zone, int& seconds) {
  if (zone.empty()) return false;
  if (zone[0] == '+' || zone[0] == '-') {
    size_t pos = 1;
    int hours = 0, minutes = 0;
    if (!ReadTwoDigits(zone, pos, hours) || !ReadTwoDigits(zone, pos, minutes)) return false;
    seconds = hours * 3600 + minutes * 60;
    if (zone[0] == '-') seconds = -seconds;
    return true;
  }
  return NamedZoneOffset(zone, seconds);
}

}  // namespace

CW3CDate CW3CDate::Now() { return CW3CDate(static_cast<int64_t>(std::time(nullptr))); }

CW3CDate CW3CDate::ParseW3C(const std::string& text) {
  size_t pos = 0;
  int year = ReadField(text, pos, 4, '-');
  int month = ReadField(text, pos, 2, '-');
  if (month > 0) --month;
  int day = ReadField(text, pos, 2, 'T');
  if (day == 0) day = 1;
  int hour = ReadField(text, pos, 2, ':');
  int minute = ReadField(text, pos, 2, ':');
  int second = ReadField(text, pos, 2, '.');
  while (pos < text.size() && IsDigit(text[pos])) ++pos;  // fraction of a second
  // A text without a zone designator is local time, as the writer produces it with
  // localtime: read it with the daylight saving of its date, or a summer date written here
  // would come back an hour off (and its item would no longer be recognised). With a
  // designator the fields are taken without daylight saving and the zone arithmetic follows.
  bool hasZone = pos < text.size() && (text[pos] == '+' || text[pos] == '-' || text[pos] == 'Z');
  int64_t time = LocalFieldsToTime(year, month, day, hour, minute, second, hasZone ? 0 : -1);
  // Fields the C runtime cannot represent give none; shifting its -1 by a zone would turn
  // the failure into a date near 1970.
  if (time == kNone) return CW3CDate(kNone, text);

  if (hasZone) {
    char c = text[pos];
    if (c == '+' || c == '-') {
      ++pos;
      int hours = ReadField(text, pos, 2, ':');
      int minutes = ReadField(text, pos, 2, '\0');
      int64_t sign = c == '+' ? 1 : -1;
      time = time - sign * (hours * 60 + minutes) * 60 - ZoneDifference();
    } else if (c == 'Z') {
      time -= ZoneDifference();
    }
  }
  return CW3CDate(time, text);
}

CW3CDate CW3CDate::ParseRfc822(const std::string& text) {
  size_t pos = 0;
  while (pos < text.size() && !IsDigit(text[pos])) ++pos;  // weekday and comma
  if (pos == text.size()) return {};
  int day = text[pos++] - '0';
  if (pos < text.size() && IsDigit(text[pos])) day = day * 10 + (text[pos++] - '0');

  if (!SkipBlanks(text, pos)) return {};
  int month = MonthIndex(text, pos);
  if (month < 0) return {};
  pos += 3;

  if (!SkipBlanks(text, pos)) return {};
  int year = 0;
  if (!ReadTwoDigits(text, pos, year)) return {};
  size_t after = pos;
  int low = 0;
  if (ReadTwoDigits(text, after, low) && (after == text.size() || !IsDigit(text[after]))) {
    year = year * 100 + low;
    pos = after;
  } else {
    year += 1900;
  }

  if (!SkipBlanks(text, pos)) return {};
  int hour = 0, minute = 0, second = 0;
  if (!ReadTwoDigits(text, pos, hour)) return {};
  if (pos >= text.size() || text[pos] != ':') return {};
  ++pos;
  if (!ReadTwoDigits(text, pos, minute)) return {};
  if (pos < text.size() && text[pos] == ':') {
    ++pos;
    if (!ReadTwoDigits(text, pos, second)) return {};
  }

  if (!SkipBlanks(text, pos)) return {};  // the zone is mandatory
  size_t end = text.size();
  while (end > pos && IsBlank(text[end - 1])) --end;
  int offset = 0;
  if (!ParseZone(text.substr(pos, end - pos), offset)) return {};

  int64_t time = LocalFieldsToTime(year, month, day, hour, minute, second);
  if (time == kNone) return {};
  return CW3CDate(time - offset - ZoneDifference());
}

std::string CW3CDate::FormatW3C() const {
  if (IsNone()) return {};
  if (!text_.empty()) return text_;
  std::time_t t = static_cast<std::time_t>(time_);
  std::tm local{};
  if (localtime_s(&local, &t) != 0) return {};  // a time the C runtime cannot show
  char buffer[32];
  if (local.tm_hour == 0 && local.tm_min == 0 && local.tm_sec == 0) {
    std::snprintf(buffer, sizeof buffer, "%04d-%02d-%02d", local.tm_year + 1900, local.tm_mon + 1,
                  local.tm_mday);
  } else {
    std::snprintf(buffer, sizeof buffer, "%04d-%02d-%02dT%02d:%02d:%02d", local.tm_year + 1900,
                  local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec);
  }
  text_ = buffer;
  return text_;
}

}  // namespace tw
