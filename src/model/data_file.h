#pragma once
// What every data file of the settings folder shares: loading with the conversion of older
// forms, the handling of a damaged file, and saving that never leaves a half-written file.
#include <functional>
#include <string>
#include <vector>

#include "framework/xml.h"

namespace tw {

// Shows a message to the user (code page 932 text); tests capture it instead.
using CDataFileReport = std::function<void(const std::string& textCp932)>;

// Rewrites a document of an older form into the next form. from has its own namespaces bound
// as the converter needs; to is empty and receives the new document.
struct CDataFileConverter {
  std::wstring rootName;  // local name of the root element
  std::wstring ns;        // its namespace
  void (*convert)(CXmlDocument& from, CXmlDocument& to);
};

// The converters of the preferences and site files.
const std::vector<CDataFileConverter>& StandardConverters();

// Converts doc until no converter matches its root's local name and namespace. Each result is
// serialised and read back so that every element settles in its new namespace. False when a
// result cannot be read back or the conversions do not come to an end.
bool ConvertDataFile(CXmlDocument& doc, const std::vector<CDataFileConverter>& converters);

enum class DataFileLoad {
  kMissing,  // no file (or a damaged one, moved aside and reported): start from defaults
  kLoaded,   // doc holds the file in its newest form
  kFailed,   // reported; the caller fails and nothing may be saved over the file
};

// Loads path into doc and converts it. A file that exists but is not readable XML is renamed
// to a ".damaged-<time>" name and reported once, naming both paths, and then counts as
// missing; when it cannot be renamed that is reported and the load fails.
DataFileLoad LoadDataFile(const std::wstring& path, CXmlDocument& doc,
                          const CDataFileReport& report,
                          const std::vector<CDataFileConverter>& converters = StandardConverters());

// Loads path (as LoadDataFile) and hands the root element "/tide:<rootName>" in namespace ns
// to read. A missing file, or a damaged one moved aside, reads nothing and succeeds; a file
// with another root, or one whose reading fails with a COM error, is reported as a format
// error and fails. Callers clear their state before, and again after a failure.
bool ReadDataFile(const std::wstring& path, const std::wstring& ns, const std::wstring& rootName,
                  const CDataFileReport& report, const std::function<void(const CXmlNode&)>& read,
                  const std::vector<CDataFileConverter>& converters = StandardConverters());

// "ファイル<path>の形式エラーです。"
void ReportFormatError(const std::wstring& path, const CDataFileReport& report);

// Saves doc with its own UTF-8 output through a temporary file in the same folder that
// replaces path only once it is complete.
bool SaveDataFile(const CXmlDocument& doc, const std::wstring& path);

// A copy of element (a detached element of doc) with every element moved into namespace ns:
// attributes other than namespace declarations are kept, and so is the exact text of leaf
// elements. Used by the converters.
CXmlNode CopyIntoNamespace(const CXmlDocument& doc, const CXmlNode& element,
                           const std::wstring& ns);

// The exact text of an element: its text and CDATA children joined, untrimmed.
std::wstring ExactText(const CXmlNode& element);

}  // namespace tw
