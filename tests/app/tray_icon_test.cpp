#include "app/tray_icon.h"

#include <gtest/gtest.h>

namespace tw {
namespace {

TEST(TrayIcon, TooltipIsCutToTheShellLimitOnACharacterBoundary) {
  const std::string ascii200(200, 'a');
  const std::string kanji100 = [] {
    std::string s;
    for (int i = 0; i < 100; ++i) s += "潮";  // two bytes each
    return s;
  }();
  struct Case {
    std::string text;
    int shell;
    size_t length;
  } cases[] = {
      {ascii200, 6, 127},  {ascii200, 5, 127},       {ascii200, 4, 63},
      {ascii200, 0, 63},   {"a" + kanji100, 5, 127},  // 1 + 63 × 2 fits exactly
      {kanji100, 5, 126},  // 127 would split a character
      {kanji100, 4, 62},   {"short", 4, 5},
  };
  for (const Case& c : cases) {
    std::string cut = CutTooltip(c.text, c.shell);
    EXPECT_EQ(cut.size(), c.length) << c.text.size() << " bytes, shell " << c.shell;
    EXPECT_EQ(c.text.compare(0, cut.size(), cut), 0);
  }
}

}  // namespace
}  // namespace tw
