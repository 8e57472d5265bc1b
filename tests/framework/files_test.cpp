#include "framework/files.h"

#include <gtest/gtest.h>

#include <regex>
#include <set>
#include <stdexcept>
#include <string>

#include "common/test_support.h"
#include "framework/sync.h"
#include "framework/xml.h"

namespace tw {
namespace {

std::set<std::wstring> Listing(const std::wstring& folder) {
  std::set<std::wstring> names;
  WIN32_FIND_DATAW data;
  HANDLE find = FindFirstFileW((folder + L"\\*").c_str(), &data);
  if (find == INVALID_HANDLE_VALUE) return names;
  do {
    std::wstring name = data.cFileName;
    if (name != L"." && name != L"..") names.insert(name);
  } while (FindNextFileW(find, &data));
  FindClose(find);
  return names;
}

std::string Read(const std::wstring& path) {
  std::string bytes;
  EXPECT_TRUE(ReadWholeFile(path, bytes)) << "cannot read";
  return bytes;
}

TEST(Files, PathsOfTheModuleAndJoining) {
  const std::wstring exe = ModulePath();
  ASSERT_TRUE(FileExists(exe));
  EXPECT_EQ(CompareStringOrdinal(JoinPath(ModuleFolder(), L"test_framework.exe").c_str(), -1,
                                 exe.c_str(), -1, TRUE),
            CSTR_EQUAL);

  struct Case {
    std::wstring folder, name, joined, parent;
  } cases[] = {
      {L"C:\\data", L"sites.xml", L"C:\\data\\sites.xml", L"C:\\data"},
      {L"C:\\data\\", L"\\sites.xml", L"C:\\data\\sites.xml", L"C:\\data"},
      {L"C:\\", L"sites.xml", L"C:\\sites.xml", L"C:\\"},
      {L"", L"sites.xml", L"sites.xml", L""},
      {L"C:\\data", L"", L"C:\\data", L"C:\\"},
  };
  for (const Case& c : cases) {
    std::wstring joined = JoinPath(c.folder, c.name);
    EXPECT_EQ(joined, c.joined);
    EXPECT_EQ(ParentFolder(joined), c.parent) << joined;
  }
}

TEST(Files, CreateDirectoriesMakesEveryMissingLevel) {
  test::CTempFolder dir;
  const std::wstring deep = dir.File(L"設定\\b/c\\");
  EXPECT_TRUE(CreateDirectories(deep));
  EXPECT_TRUE(FolderExists(dir.File(L"設定\\b\\c")));
  EXPECT_TRUE(CreateDirectories(deep));  // already there

  ASSERT_TRUE(WriteWholeFile(dir.File(L"file"), "x"));
  EXPECT_TRUE(FileExists(dir.File(L"file")));
  EXPECT_FALSE(FolderExists(dir.File(L"file")));
  EXPECT_FALSE(CreateDirectories(dir.File(L"file\\below")));
  EXPECT_FALSE(CreateDirectories(dir.File(L"file")));
}

// Bytes that show any re-encoding or truncation: NULs, CP932 text, CR LF.
const std::string kOld = std::string("old\0data\r\n", 11) + "日本語";

TEST(Files, AtomicSaveReplacesTheFileAndLeavesNothingElse) {
  test::CTempFolder dir;
  const std::wstring path = dir.File(L"sites.xml");
  ASSERT_TRUE(SaveFileAtomically(path, "first"));  // no file before
  ASSERT_TRUE(WriteWholeFile(path, kOld));
  ASSERT_TRUE(SaveFileAtomically(path, std::string("new\0", 4)));
  EXPECT_EQ(Read(path), std::string("new\0", 4));
  EXPECT_EQ(Listing(dir.Path()), std::set<std::wstring>{L"sites.xml"});
}

TEST(Files, FailedAtomicSaveLeavesTheOldFileByteIdentical) {
  struct Case {
    const char* name;
    std::function<bool(const std::wstring& path)> save;
  } cases[] = {
      {"writer fails after writing",
       [](const std::wstring& path) {
         return SaveFileAtomically(
             path, [](HANDLE file) { return WriteAll(file, "partial", 7) && false; });
       }},
      {"writer throws",
       [](const std::wstring& path) {
         EXPECT_THROW(SaveFileAtomically(path,
                                         [](HANDLE file) -> bool {
                                           WriteAll(file, "partial", 7);
                                           throw std::runtime_error("disk full");
                                         }),
                      std::runtime_error);
         return false;
       }},
      {"document save fails",
       [](const std::wstring& path) {
         return SaveFileAtomicallyVia(path, [](const std::wstring& temp) {
           WriteWholeFile(temp, "partial");
           return false;
         });
       }},
      {"target is open without delete sharing",
       [](const std::wstring& path) {
         CHandle open(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                  OPEN_EXISTING, 0, nullptr));
         EXPECT_TRUE(open);
         return SaveFileAtomically(path, "new");
       }},
  };
  for (const Case& c : cases) {
    test::CTempFolder dir;
    const std::wstring path = dir.File(L"sites.xml");
    ASSERT_TRUE(WriteWholeFile(path, kOld));
    EXPECT_FALSE(c.save(path)) << c.name;
    EXPECT_EQ(Read(path), kOld) << c.name;
    EXPECT_EQ(Listing(dir.Path()), std::set<std::wstring>{L"sites.xml"}) << c.name;
  }
  // A folder that does not exist: nothing is made.
  test::CTempFolder dir;
  EXPECT_FALSE(SaveFileAtomically(dir.File(L"missing\\sites.xml"), "new"));
  EXPECT_TRUE(Listing(dir.Path()).empty());
}

TEST(Files, AtomicSaveThroughTheXmlDocumentsOwnSave) {
  test::CTempFolder dir;
  const std::wstring path = dir.File(L"sites.xml");
  ASSERT_TRUE(WriteWholeFile(path, kOld));
  CXmlDocument doc;
  ASSERT_TRUE(doc.LoadXml(L"<Sites><Site>ニュース</Site></Sites>"));
  ASSERT_TRUE(
      SaveFileAtomicallyVia(path, [&](const std::wstring& temp) { return doc.Save(temp); }));
  CXmlDocument back;
  ASSERT_TRUE(back.LoadFile(path));
  EXPECT_EQ(back.SelectSingle(L"/Sites/Site").Text(), L"ニュース");
  EXPECT_EQ(Listing(dir.Path()), std::set<std::wstring>{L"sites.xml"});
}

TEST(Files, MoveAsideKeepsEveryDamagedCopyUnderItsOwnName) {
  test::CTempFolder dir;
  const std::wstring path = dir.File(L"sites.xml");
  const std::wregex pattern(L"sites\\.xml\\.damaged-\\d{8}-\\d{6}(-\\d+)?");
  std::set<std::wstring> moved;
  for (const char* content : {"first", "second"}) {
    ASSERT_TRUE(WriteWholeFile(path, content));
    std::wstring aside = MoveAside(path);
    ASSERT_FALSE(aside.empty()) << content;
    EXPECT_FALSE(FileExists(path)) << content;
    EXPECT_EQ(Read(aside), content);
    std::wstring name = aside.substr(dir.Path().size() + 1);
    EXPECT_TRUE(std::regex_match(name, pattern)) << content;
    moved.insert(name);
  }
  EXPECT_EQ(moved.size(), 2u);
  EXPECT_EQ(Listing(dir.Path()), moved);
  EXPECT_EQ(MoveAside(path), L"");  // nothing there to move
}

}  // namespace
}  // namespace tw
