#include "app/custom_setting.h"

#include <gtest/gtest.h>

#include "common/test_support.h"
#include "model/data_namespaces.h"

namespace tw {
namespace {

std::string Ns() { return std::string(kNsData1New.begin(), kNsData1New.end()); }

TEST(CustomSetting, FileCasesGiveTheExpectedFields) {
  struct Case {
    const char* name;
    std::string content;  // empty: no file
    bool customised;
    const char* programName;
    const char* title;
    std::wstring mutex;
    const char* company;
    const char* application;
  } cases[] = {
      {"no file", "", false, "Tidewatch", "Tidewatch", kApplicationUri, "Velmarco", "Tidewatch"},
      {"not XML", "<Custom><Name>x</Custom", false, "Tidewatch", "Tidewatch", kApplicationUri,
       "Velmarco", "Tidewatch"},
      {"only a version", "<Custom xmlns='" + Ns() + "'><Version>2.0</Version></Custom>", true,
       "Customized Tidewatch", "Customized Tidewatch Version 2.0", kApplicationUri, "Velmarco",
       "Tidewatch"},
      {"everything",
       "<?xml version='1.0' encoding='UTF-8'?><Any xmlns='" + Ns() +
           "'><Name>\xE6\xBD\xAE\xE8\xA6\x8B</Name><Mutex>OtherMutex</Mutex><Registry>"
           "<CompanyName>Acme</CompanyName><ApplicationName>Reader</ApplicationName></Registry></Any>",
       true, "潮見", "潮見", L"OtherMutex", "Acme", "Reader"},
      {"empty elements give empty values",
       "<C xmlns='" + Ns() + "'><Mutex/><Registry><CompanyName/></Registry></C>", true,
       "Customized Tidewatch", "Customized Tidewatch", L"", "", "Tidewatch"},
      {"elements in another namespace are not read",
       "<C xmlns='urn:other'><Name>X</Name><Mutex>M</Mutex></C>", true, "Customized Tidewatch",
       "Customized Tidewatch", kApplicationUri, "Velmarco", "Tidewatch"},
  };
  for (const Case& c : cases) {
    test::CTempFolder dir;
    if (!c.content.empty()) test::WriteUtf8(dir.File(L"custom.xml"), c.content);
    CCustomSetting s;
    EXPECT_TRUE(s.Load(dir.File(L"custom.xml"))) << c.name;
    EXPECT_EQ(s.customised, c.customised) << c.name;
    EXPECT_EQ(s.name, c.programName) << c.name;
    EXPECT_EQ(s.displayTitle, c.title) << c.name;
    EXPECT_EQ(s.mutexName, c.mutex) << c.name;
    EXPECT_EQ(s.companyName, c.company) << c.name;
    EXPECT_EQ(s.applicationName, c.application) << c.name;
  }
}

}  // namespace
}  // namespace tw
