#include "app/command_line.h"

#include <gtest/gtest.h>

namespace tw {
namespace {

TEST(CommandLine, SwitchesAreRecognisedWithEitherPrefixInAnyCase) {
  struct Case {
    std::vector<std::wstring> args;
    unsigned long pid;
    bool debug;
  } cases[] = {
      {{}, 0, false},
      {{L"/debug"}, 0, true},
      {{L"-DEBUG"}, 0, true},
      {{L"/DeBuG", L"/waitterminate", L"1234"}, 1234, true},
      {{L"-WaitTerminate", L"77", L"-debug"}, 77, true},
      {{L"/waitterminate"}, 0, false},           // no id behind it: wait for nothing
      {{L"/waitterminate", L"0"}, 0, false},     // id 0: wait for nothing
      {{L"debug", L"waitterminate", L"5"}, 0, false},  // no prefix: ignored
      {{L"/debugger", L"/wait", L"5"}, 0, false},      // other switches: ignored
      {{L"/waitterminate", L"/debug"}, 0, false},      // the id slot is consumed, as typed
  };
  for (const Case& c : cases) {
    CCommandLine line = ParseCommandLine(c.args);
    std::wstring joined;
    for (auto& a : c.args) joined += a + L" ";
    EXPECT_EQ(line.waitProcessId, c.pid) << std::string(joined.begin(), joined.end());
    EXPECT_EQ(line.debug, c.debug) << std::string(joined.begin(), joined.end());
  }
}

}  // namespace
}  // namespace tw
