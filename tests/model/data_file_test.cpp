#include "model/data_file.h"

#include <gtest/gtest.h>

#include "data_test_support.h"

namespace tw {
namespace {

using test::CMessages;

// Every file of folder whose name begins with prefix.
std::vector<std::wstring> FilesStartingWith(const std::wstring& folder,
                                            const std::wstring& prefix) {
  std::vector<std::wstring> names;
  WIN32_FIND_DATAW data;
  HANDLE find = FindFirstFileW((folder + L"\\" + prefix + L"*").c_str(), &data);
  if (find == INVALID_HANDLE_VALUE) return names;
  do names.push_back(data.cFileName);
  while (FindNextFileW(find, &data));
  FindClose(find);
  return names;
}

TEST(DataFile, MissingFileMeansDefaultsWithoutAMessage) {
  test::CTempFolder dir;
  CMessages messages;
  CXmlDocument doc;
  EXPECT_EQ(LoadDataFile(dir.File(L"sites.xml"), doc, messages.Report()), DataFileLoad::kMissing);
  EXPECT_TRUE(messages.texts.empty());
}

TEST(DataFile, DamagedFileIsMovedAsideAndReportedOnce) {
  const std::string damaged[] = {"", "<Sites xmlns='x'><Site><Id>ab", "\xEF\xBB\xBF<<<"};
  for (const std::string& bytes : damaged) {
    test::CTempFolder dir;
    const std::wstring path = dir.File(L"sites.xml");
    test::WriteFileBytes(path, bytes);
    CMessages messages;
    CXmlDocument doc;
    EXPECT_EQ(LoadDataFile(path, doc, messages.Report()), DataFileLoad::kMissing);
    EXPECT_FALSE(test::FileExists(path));
    auto aside = FilesStartingWith(dir.Path(), L"sites.xml.damaged-");
    ASSERT_EQ(aside.size(), 1u);
    EXPECT_EQ(test::ReadFileBytes(dir.File(aside[0])), bytes) << "kept as it was";
    ASSERT_EQ(messages.texts.size(), 1u);
    EXPECT_NE(messages.texts[0].find(test::Cp932(path)), std::string::npos);
    EXPECT_NE(messages.texts[0].find(test::Cp932(dir.File(aside[0]))), std::string::npos);
    // The next start finds no file and says nothing.
    CMessages again;
    EXPECT_EQ(LoadDataFile(path, doc, again.Report()), DataFileLoad::kMissing);
    EXPECT_TRUE(again.texts.empty());
  }
}

TEST(DataFile, UnreadableFileThatCannotBeMovedFailsTheLoad) {
  test::CTempFolder dir;
  const std::wstring path = dir.File(L"preferences.xml");
  test::WriteFileBytes(path, "<Preferences/>");
  // Another program holds the file without sharing it.
  HANDLE held = CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  CMessages messages;
  CXmlDocument doc;
  EXPECT_EQ(LoadDataFile(path, doc, messages.Report()), DataFileLoad::kFailed);
  CloseHandle(held);
  EXPECT_EQ(messages.texts.size(), 1u);
  EXPECT_EQ(test::ReadFileBytes(path), "<Preferences/>");
}

void PingToPong(CXmlDocument&, CXmlDocument& to) {
  to.SetRoot(to.CreateElement(L"Pong", L"urn:loop"));
}
void PongToPing(CXmlDocument&, CXmlDocument& to) {
  to.SetRoot(to.CreateElement(L"Ping", L"urn:loop"));
}

TEST(DataFile, ConvertersThatGoRoundInCirclesFailInsteadOfHanging) {
  test::CTempFolder dir;
  const std::wstring path = dir.File(L"loop.xml");
  test::WriteFileBytes(path, "<Ping xmlns='urn:loop'/>");
  const std::vector<CDataFileConverter> loop = {{L"Ping", L"urn:loop", &PingToPong},
                                                {L"Pong", L"urn:loop", &PongToPing}};
  CMessages messages;
  CXmlDocument doc;
  EXPECT_EQ(LoadDataFile(path, doc, messages.Report(), loop), DataFileLoad::kFailed);
  ASSERT_EQ(messages.texts.size(), 1u);
  EXPECT_EQ(messages.texts[0], "ファイル" + test::Cp932(path) + "の形式エラーです。");
  EXPECT_TRUE(test::FileExists(path));
}

TEST(DataFile, CopyIntoNamespaceKeepsAttributesAndExactText) {
  CXmlDocument from;
  ASSERT_TRUE(
      from.LoadXml(L"<a xmlns='urn:old' k='v'><b>  two  spaces  </b><c><d id='1'/></c></a>"));
  CXmlDocument to;
  to.SetRoot(CopyIntoNamespace(to, from.Root(), L"urn:new"));
  CXmlDocument back;
  ASSERT_TRUE(back.LoadXml(to.Xml()));
  back.SetSelectionNamespaces(L"xmlns:n='urn:new'");
  EXPECT_EQ(back.Root().NamespaceUri(), L"urn:new");
  EXPECT_EQ(back.Root().Attribute(L"k"), L"v");
  EXPECT_EQ(ExactText(back.SelectSingle(L"/n:a/n:b")), L"  two  spaces  ");
  EXPECT_EQ(back.SelectSingle(L"/n:a/n:c/n:d").Attribute(L"id"), L"1");
}

}  // namespace
}  // namespace tw
