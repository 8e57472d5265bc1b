#include "feeds/feed_text.h"

#include <gtest/gtest.h>

#include <string>

#include "feeds/cp932_encoder.h"
#include "framework/text.h"

namespace tw {
namespace {

// The readers' table-driven conversion gives the system's bytes for every character.
TEST(FeedText, EncoderMatchesTheSystemConversionForEveryCharacter) {
  int mismatches = 0;
  for (unsigned u = 1; u < 0x10000; ++u) {
    if (u >= 0xD800 && u <= 0xDFFF) continue;
    std::wstring c(1, static_cast<wchar_t>(u));
    bool replaced = false;
    std::string ours = EncodeCp932(c, &replaced);
    std::string system = ToCp932(c);
    if (ours != system || replaced != (system == "?" && u != '?')) {
      if (++mismatches <= 5) ADD_FAILURE() << "U+" << std::hex << u;
    }
  }
  EXPECT_EQ(mismatches, 0);
  const std::wstring mixed = L"a\u3042\uFF8A\U0001F600\u00E9z";  // with a surrogate pair
  EXPECT_EQ(EncodeCp932(mixed), ToCp932(mixed));
}

TEST(FeedText, RepairsTheFiveMismatchedCharactersOnlyWhenNeeded) {
  struct Case {
    std::wstring in;
    std::string out;
  } cases[] = {
      {L"\u301C\u2014\u2016\u2212\u203E", "～―∥－~"},
      {L"\u301C\u00E9", "～?"},  // the rest keeps its replacement
      {L"a\u2014b", "a―b"},
      {L"\uFF5E", "～"},  // already the CP932 form
      {L"", ""},
  };
  for (const Case& c : cases) EXPECT_EQ(RepairedText(c.in), c.out);
  EXPECT_EQ(PlainText(L"\u301C"), "?");  // plain text is not repaired
}

TEST(FeedText, TrimsAsciiAndIdeographicBlanksWholeCharacters) {
  struct Case {
    std::string in;
    std::string out;
  } cases[] = {
      {" \t\r\n見出し \n", "見出し"},
      {"　全角　空白　", "全角　空白"},
      {"\x81\x40", ""},
      {"ソ ", "ソ"},              // trail byte 0x5C is not mistaken for anything
      {" \x82\x20", "\x82\x20"},  // a trail byte that looks like a blank stays
      {"", ""},
  };
  for (const Case& c : cases) EXPECT_EQ(TrimCp932(c.in), c.out) << c.in;
}

}  // namespace
}  // namespace tw
