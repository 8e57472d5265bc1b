#include "app/command_line.h"

#include <windows.h>
#include <shellapi.h>

#include <cwchar>
#include <cwctype>

namespace tw {
namespace {

bool IsSwitch(const std::wstring& arg, const wchar_t* name) {
  return arg.size() > 1 && (arg[0] == L'/' || arg[0] == L'-') &&
         _wcsicmp(arg.c_str() + 1, name) == 0;
}

}  // namespace

CCommandLine ParseCommandLine(const std::vector<std::wstring>& args) {
  CCommandLine out;
  for (size_t i = 0; i < args.size(); ++i) {
    if (IsSwitch(args[i], L"waitterminate")) {
      if (i + 1 < args.size()) {
        ++i;
        out.waitProcessId = std::wcstoul(args[i].c_str(), nullptr, 10);
      }
    } else if (IsSwitch(args[i], L"debug")) {
      out.debug = true;
    }
  }
  return out;
}

std::vector<std::wstring> ProcessArguments() {
  int count = 0;
  LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &count);
  std::vector<std::wstring> args;
  for (int i = 1; argv && i < count; ++i) args.emplace_back(argv[i]);
  if (argv) LocalFree(argv);
  return args;
}

}  // namespace tw
