#pragma once
// Helpers of the data-file tests: captured user messages and small XML files.
#include <string>
#include <vector>

#include "common/test_support.h"
#include "framework/text.h"
#include "model/data_file.h"

namespace tw::test {

// Collects the messages a loader would show.
struct CMessages {
  std::vector<std::string> texts;
  CDataFileReport Report() {
    return [this](const std::string& text) { texts.push_back(text); };
  }
};

// Writes code page 932 text (the tests' literals) as a UTF-8 file.
inline void WriteXml(const std::wstring& path, const std::string& cp932) {
  WriteFileBytes(path, Cp932ToUtf8(cp932));
}

inline std::string Cp932(const std::wstring& s) { return ToCp932(s); }

}  // namespace tw::test
