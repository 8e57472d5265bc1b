#pragma once
// An open registry key (closed on destruction) with string values read defensively: a value of
// another type, or one that cannot be read, is never taken for a string.
#include <windows.h>

#include <optional>
#include <string>

namespace tw {

enum class RegistryRead {
  kOk,
  kAbsent,      // no value of that name (or no key open)
  kWrongType,   // a value, but not REG_SZ / REG_EXPAND_SZ
  kUnreadable,  // the value exists but reading it failed (access, size changing under us)
};

class CRegistryKey {
 public:
  CRegistryKey() = default;
  CRegistryKey(const CRegistryKey&) = delete;
  CRegistryKey& operator=(const CRegistryKey&) = delete;
  CRegistryKey(CRegistryKey&& o) noexcept;
  CRegistryKey& operator=(CRegistryKey&& o) noexcept;
  ~CRegistryKey() { Close(); }

  // Open an existing key / open or create one; false on failure (LastError() tells why).
  bool Open(HKEY root, const std::wstring& subKey, REGSAM access = KEY_READ);
  bool Create(HKEY root, const std::wstring& subKey, REGSAM access = KEY_READ | KEY_WRITE);
  void Close();
  bool IsOpen() const { return key_ != nullptr; }
  HKEY Get() const { return key_; }
  LSTATUS LastError() const { return error_; }

  // A string value (REG_EXPAND_SZ expanded); nothing when absent, of another type or unreadable.
  std::optional<std::wstring> QueryString(const std::wstring& name) const;
  // The same with the reason; out is set only on kOk.
  RegistryRead ReadString(const std::wstring& name, std::wstring& out) const;
  bool SetString(const std::wstring& name, const std::wstring& value);
  // True when a value was deleted (false when there was none or it could not be deleted).
  bool DeleteValue(const std::wstring& name);

  // Deletes a key with everything under it; true when it is gone afterwards. An empty subKey
  // is refused.
  static bool DeleteTree(HKEY root, const std::wstring& subKey);

 private:
  HKEY key_ = nullptr;
  mutable LSTATUS error_ = ERROR_SUCCESS;
};

}  // namespace tw
