#pragma once
// The program's command line: "/waitterminate <pid>" and "/debug" ("-" works as well as "/",
// in any case). Everything else is ignored.
#include <string>
#include <vector>

namespace tw {

struct CCommandLine {
  unsigned long waitProcessId = 0;  // 0: wait for nothing
  bool debug = false;
};

CCommandLine ParseCommandLine(const std::vector<std::wstring>& args);
// The arguments of the running process, without the program name.
std::vector<std::wstring> ProcessArguments();

}  // namespace tw
