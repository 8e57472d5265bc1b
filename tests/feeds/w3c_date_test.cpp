#include "feeds/w3c_date.h"

#include <gtest/gtest.h>

// The test environment fixes TZ=JST-9: local time is UTC+9 without daylight saving.
namespace tw {
namespace {

constexpr int64_t kNoonUtc = 1089028800;        // 2004-07-05T12:00:00Z
constexpr int64_t kLocalMidnight = 1088953200;  // 2004-07-05T00:00:00+09:00

TEST(W3CDate, ParsesTextsIntoTimes) {
  struct Case {
    const char* text;
    int64_t time;
  } cases[] = {
      {"2004-07-05T12:00:00Z", kNoonUtc},
      {"2004-07-05T21:00:00+09:00", kNoonUtc},
      {"2004-07-05T07:00:00-05:00", kNoonUtc},
      {"2004-07-05T21:00:00+0900", kNoonUtc},
      {"2004-07-05T12:00:00.123Z", kNoonUtc},  // fraction ignored
      {"2004-07-05T12:00Z", kNoonUtc},         // no seconds
      {"2004-7-5T21:00:00+09:00", kNoonUtc},   // short fields end at their separator
      {"2004-07-05T21:00:00", kNoonUtc},       // no zone: local time
      {"2004-07-05", kLocalMidnight},          // a date alone: local midnight
      {"2004-07", 1088607600},                 // missing day: the 1st
      {"2004", 1072882800},                    // missing month: January
      {"", CW3CDate::kNone},
      {"yesterday", CW3CDate::kNone},
      // Before 1970 the C runtime has no time; the zone must not turn that into a date.
      {"1969-12-31T23:00:00Z", CW3CDate::kNone},
      {"Z", CW3CDate::kNone},
  };
  for (const Case& c : cases) {
    CW3CDate d = CW3CDate::ParseW3C(c.text);
    EXPECT_EQ(d.Time(), c.time) << c.text;
    EXPECT_EQ(d.Text(), c.text);
  }
}

TEST(W3CDate, ParsesRfc822TextsIntoTimes) {
  struct Case {
    const char* text;
    int64_t time;
  } cases[] = {
      {"Mon, 05 Jul 2004 21:30:15 +0900", 1089030615},
      {"Mon, 05 Jul 2004 21:30:15 GMT", 1089063015},
      {"05 Jul 2004 21:30 +0000", 1089063000},
      {"5 Jul 2004 12:30:15 EST", 1089048615},
      {"Mon, 05 Jul 2004 21:30:15 A  ", 1089066615},  // military letter, trailing blanks
      {"Mon,05 Jul 2004 12:30:15 -0900", 1089063015},
      {"05 Jul 2004 21:30", CW3CDate::kNone},      // the zone is mandatory
      {"05 jul 2004 21:30 GMT", CW3CDate::kNone},  // month names are case-sensitive
      {"05 Jul 04 21:30 GMT", CW3CDate::kNone},    // year 1904: before the C runtime's range
      {"Mon, 05 Jul 2004 21:30:15 JST", CW3CDate::kNone},  // unlisted zone name
      {"Mon, 05 Jul 2004 21:30:15 +09", CW3CDate::kNone},
      {"Mon, 05 Jul 2004 21:30:1 GMT", CW3CDate::kNone},
      {"Mon, 05 Jul 2004 9:30 GMT", CW3CDate::kNone},
      {"Mon, 05 Jul 2004", CW3CDate::kNone},
      {"Mon, 05 Jul", CW3CDate::kNone},
      {"Monday", CW3CDate::kNone},
      {"", CW3CDate::kNone},
  };
  for (const Case& c : cases) {
    CW3CDate d = CW3CDate::ParseRfc822(c.text);
    EXPECT_EQ(d.Time(), c.time) << c.text;
    EXPECT_TRUE(d.Text().empty()) << c.text;
  }
}

TEST(W3CDate, WritesKeptTextOrLocalTime) {
  struct Case {
    CW3CDate date;
    const char* text;
  } cases[] = {
      {CW3CDate::ParseW3C("2004-07-05"), "2004-07-05"},  // written back exactly as read
      {CW3CDate::ParseW3C("2004-07-05T12:00:00.5Z"), "2004-07-05T12:00:00.5Z"},
      {CW3CDate(kLocalMidnight), "2004-07-05"},
      {CW3CDate(kNoonUtc), "2004-07-05T21:00:00"},
      {CW3CDate(kLocalMidnight + 1), "2004-07-05T00:00:01"},
      {CW3CDate::ParseRfc822("Mon, 05 Jul 2004 21:30:15 +0900"), "2004-07-05T21:30:15"},
      {CW3CDate(), ""},
      {CW3CDate::ParseW3C("1969-01-01"), ""},  // none, though it kept its text
      {CW3CDate(-5), ""},                      // no local time exists for it
  };
  for (const Case& c : cases) {
    EXPECT_EQ(c.date.FormatW3C(), c.text) << c.date.Time();
  }
}

TEST(W3CDate, WrittenTextReadsBackToTheSameValue) {
  for (int64_t t : {kNoonUtc, kLocalMidnight, int64_t{0}, CW3CDate::kNone}) {
    CW3CDate written(t);
    CW3CDate back = CW3CDate::ParseW3C(written.FormatW3C());
    EXPECT_EQ(back, written) << t;
    EXPECT_EQ(written.Text(), back.Text());  // the writer keeps what it produced
  }
  EXPECT_LT(CW3CDate(1), CW3CDate(2));
  EXPECT_EQ(CW3CDate::ParseW3C("2004-07-05T12:00:00Z"), CW3CDate(kNoonUtc));  // time alone
  int64_t now = CW3CDate::Now().Time();
  EXPECT_GT(now, 1600000000);
}

}  // namespace
}  // namespace tw

namespace tw {
namespace {

// In a zone with daylight saving, a summer time written as local text must read back as the
// same instant (sites.xml and scores.xml keep dates this way).
TEST(W3CDate, LocalTextReadsBackAcrossDaylightSaving) {
  _putenv("TZ=CET-1CEST");
  _tzset();
  for (int64_t t : {int64_t{1089028800} /* 2004-07-05 12:00 UTC, summer */,
                    int64_t{1102248000} /* 2004-12-05 12:00 UTC, winter */}) {
    CW3CDate written(t);
    std::string text = written.FormatW3C();
    EXPECT_EQ(CW3CDate::ParseW3C(text).Time(), t) << text;
  }
  _putenv("TZ=JST-9");
  _tzset();
}

}  // namespace
}  // namespace tw
