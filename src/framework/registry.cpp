#include "framework/registry.h"

#include <utility>

namespace tw {
namespace {

bool IsStringType(DWORD type) { return type == REG_SZ || type == REG_EXPAND_SZ; }

bool Expand(const std::wstring& in, std::wstring& out) {
  DWORD n = ExpandEnvironmentStringsW(in.c_str(), nullptr, 0);
  if (n == 0) return false;
  std::wstring expanded(n, L'\0');
  DWORD written = ExpandEnvironmentStringsW(in.c_str(), expanded.data(), n);
  if (written == 0 || written > n) return false;
  expanded.resize(written - 1);  // the count includes the terminating NUL
  out = std::move(expanded);
  return true;
}

}  // namespace

CRegistryKey::CRegistryKey(CRegistryKey&& o) noexcept
    : key_(std::exchange(o.key_, nullptr)), error_(o.error_) {}

CRegistryKey& CRegistryKey::operator=(CRegistryKey&& o) noexcept {
  if (this != &o) {
    Close();
    key_ = std::exchange(o.key_, nullptr);
    error_ = o.error_;
  }
  return *this;
}

bool CRegistryKey::Open(HKEY root, const std::wstring& subKey, REGSAM access) {
  Close();
  error_ = RegOpenKeyExW(root, subKey.c_str(), 0, access, &key_);
  if (error_ != ERROR_SUCCESS) key_ = nullptr;
  return key_ != nullptr;
}

bool CRegistryKey::Create(HKEY root, const std::wstring& subKey, REGSAM access) {
  Close();
  error_ = RegCreateKeyExW(root, subKey.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, access,
                           nullptr, &key_, nullptr);
  if (error_ != ERROR_SUCCESS) key_ = nullptr;
  return key_ != nullptr;
}

void CRegistryKey::Close() {
  if (key_) RegCloseKey(std::exchange(key_, nullptr));
}

std::optional<std::wstring> CRegistryKey::QueryString(const std::wstring& name) const {
  std::wstring value;
  if (ReadString(name, value) != RegistryRead::kOk) return std::nullopt;
  return value;
}

RegistryRead CRegistryKey::ReadString(const std::wstring& name, std::wstring& out) const {
  if (!key_) return RegistryRead::kAbsent;
  // The value can grow between asking its size and reading it: try again a few times.
  for (int attempt = 0; attempt < 4; ++attempt) {
    DWORD type = 0;
    DWORD size = 0;
    error_ = RegQueryValueExW(key_, name.c_str(), nullptr, &type, nullptr, &size);
    if (error_ == ERROR_FILE_NOT_FOUND) return RegistryRead::kAbsent;
    if (error_ != ERROR_SUCCESS) return RegistryRead::kUnreadable;
    if (!IsStringType(type)) return RegistryRead::kWrongType;

    // One spare character: a value may be stored without its terminating NUL.
    std::wstring buffer(size / sizeof(wchar_t) + 2, L'\0');
    DWORD bytes = static_cast<DWORD>(buffer.size() * sizeof(wchar_t));
    error_ = RegQueryValueExW(key_, name.c_str(), nullptr, &type,
                              reinterpret_cast<BYTE*>(buffer.data()), &bytes);
    if (error_ == ERROR_MORE_DATA) continue;
    if (error_ == ERROR_FILE_NOT_FOUND) return RegistryRead::kAbsent;
    if (error_ != ERROR_SUCCESS) return RegistryRead::kUnreadable;
    if (!IsStringType(type)) return RegistryRead::kWrongType;  // replaced in between

    buffer.resize(bytes / sizeof(wchar_t));
    size_t end = buffer.find(L'\0');  // the terminator, or rubbish stored after it
    if (end != std::wstring::npos) buffer.resize(end);
    if (type == REG_EXPAND_SZ && !Expand(buffer, buffer)) return RegistryRead::kUnreadable;
    out = std::move(buffer);
    return RegistryRead::kOk;
  }
  return RegistryRead::kUnreadable;
}

bool CRegistryKey::SetString(const std::wstring& name, const std::wstring& value) {
  if (!key_) return false;
  error_ =
      RegSetValueExW(key_, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                     static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
  return error_ == ERROR_SUCCESS;
}

bool CRegistryKey::DeleteValue(const std::wstring& name) {
  if (!key_) return false;
  error_ = RegDeleteValueW(key_, name.c_str());
  return error_ == ERROR_SUCCESS;
}

bool CRegistryKey::DeleteTree(HKEY root, const std::wstring& subKey) {
  if (subKey.empty()) return false;  // would empty the whole root
  LSTATUS r = RegDeleteTreeW(root, subKey.c_str());
  return r == ERROR_SUCCESS || r == ERROR_FILE_NOT_FOUND;
}

}  // namespace tw
