#include "framework/registry.h"

#include <gtest/gtest.h>

#include <string>

namespace tw {
namespace {

const wchar_t kTestRoot[] = L"Software\\TidewatchTest";

// A fresh key under HKCU\Software\TidewatchTest, removed with everything in it afterwards
// (and the TidewatchTest key too once nothing else is left in it).
class CTestKey {
 public:
  CTestKey()
      : path_(std::wstring(kTestRoot) + L"\\framework-" + std::to_wstring(GetCurrentProcessId()) +
              L"-" + std::to_wstring(GetTickCount())) {}
  ~CTestKey() {
    CRegistryKey::DeleteTree(HKEY_CURRENT_USER, path_);
    RegDeleteKeyW(HKEY_CURRENT_USER, kTestRoot);  // fails while other keys remain
  }
  const std::wstring& Path() const { return path_; }

 private:
  std::wstring path_;
};

void SetRaw(HKEY key, const wchar_t* name, DWORD type, const void* data, size_t bytes) {
  ASSERT_EQ(
      RegSetValueExW(key, name, 0, type, static_cast<const BYTE*>(data), static_cast<DWORD>(bytes)),
      ERROR_SUCCESS);
}

TEST(Registry, OnlyStringValuesAreReadAsStrings) {
  CTestKey testKey;
  CRegistryKey key;
  ASSERT_TRUE(key.Create(HKEY_CURRENT_USER, testKey.Path()));
  SetEnvironmentVariableW(L"TW_REGISTRY_TEST", L"展開済み");

  const std::wstring folder = L"C:\\設定\\Tidewatch";
  const DWORD number = 42;
  const wchar_t multi[] = L"a\0b\0";
  SetRaw(key.Get(), L"plain", REG_SZ, folder.c_str(), (folder.size() + 1) * sizeof(wchar_t));
  SetRaw(key.Get(), L"unterminated", REG_SZ, folder.data(), folder.size() * sizeof(wchar_t));
  SetRaw(key.Get(), L"empty", REG_SZ, L"", sizeof(wchar_t));
  const std::wstring expand = L"%TW_REGISTRY_TEST%\\x";
  SetRaw(key.Get(), L"expand", REG_EXPAND_SZ, expand.c_str(),
         (expand.size() + 1) * sizeof(wchar_t));
  SetRaw(key.Get(), L"number", REG_DWORD, &number, sizeof(number));
  SetRaw(key.Get(), L"binary", REG_BINARY, folder.c_str(), folder.size() * sizeof(wchar_t));
  SetRaw(key.Get(), L"multi", REG_MULTI_SZ, multi, sizeof(multi));

  struct Case {
    const wchar_t* name;
    RegistryRead read;
    std::wstring value;
  } cases[] = {
      {L"plain", RegistryRead::kOk, folder},      {L"unterminated", RegistryRead::kOk, folder},
      {L"empty", RegistryRead::kOk, L""},         {L"expand", RegistryRead::kOk, L"展開済み\\x"},
      {L"number", RegistryRead::kWrongType, L""}, {L"binary", RegistryRead::kWrongType, L""},
      {L"multi", RegistryRead::kWrongType, L""},  {L"missing", RegistryRead::kAbsent, L""},
  };
  CRegistryKey reader;
  ASSERT_TRUE(reader.Open(HKEY_CURRENT_USER, testKey.Path()));
  for (const Case& c : cases) {
    std::wstring value = L"unchanged";
    EXPECT_EQ(reader.ReadString(c.name, value), c.read) << c.name;
    std::optional<std::wstring> queried = reader.QueryString(c.name);
    EXPECT_EQ(queried.has_value(), c.read == RegistryRead::kOk) << c.name;
    if (c.read == RegistryRead::kOk) {
      EXPECT_EQ(value, c.value) << c.name;
      EXPECT_EQ(queried.value_or(L"?"), c.value) << c.name;
    } else {
      EXPECT_EQ(value, L"unchanged") << c.name;
    }
  }

  // A key opened without the right to read values: the value is there but cannot be read.
  CRegistryKey writeOnly;
  ASSERT_TRUE(writeOnly.Open(HKEY_CURRENT_USER, testKey.Path(), KEY_SET_VALUE));
  std::wstring ignored;
  EXPECT_EQ(writeOnly.ReadString(L"plain", ignored), RegistryRead::kUnreadable);
}

TEST(Registry, SetStringReadsBackAndDeleteValueSaysWhetherItDeleted) {
  CTestKey testKey;
  {
    CRegistryKey key;
    ASSERT_TRUE(key.Create(HKEY_CURRENT_USER, testKey.Path()));
    ASSERT_TRUE(key.SetString(L"SettingDirectory", L"D:\\データ\\tidewatch"));
  }
  CRegistryKey key;
  ASSERT_TRUE(key.Open(HKEY_CURRENT_USER, testKey.Path(), KEY_READ | KEY_WRITE));
  EXPECT_EQ(key.QueryString(L"SettingDirectory").value_or(L""), L"D:\\データ\\tidewatch");
  EXPECT_TRUE(key.DeleteValue(L"SettingDirectory"));
  EXPECT_FALSE(key.DeleteValue(L"SettingDirectory"));
  EXPECT_FALSE(key.QueryString(L"SettingDirectory").has_value());

  CRegistryKey missing;
  EXPECT_FALSE(missing.Open(HKEY_CURRENT_USER, testKey.Path() + L"\\no-such-key"));
  EXPECT_EQ(missing.LastError(), ERROR_FILE_NOT_FOUND);
  EXPECT_FALSE(missing.QueryString(L"x").has_value());
  EXPECT_FALSE(CRegistryKey::DeleteTree(HKEY_CURRENT_USER, L""));
}

}  // namespace
}  // namespace tw
