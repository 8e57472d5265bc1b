#pragma once
// COM plumbing: the one exception type for COM failures, a COM-pointer and a BSTR owner,
// and the apartment initialisation of a thread.
#include <windows.h>
#include <oleauto.h>

#include <stdexcept>
#include <string>
#include <utility>

namespace tw {

// Thrown for every failed COM/MSXML call; caught at each boundary (file load, plug-in call,
// pipe request, window procedure) and turned into a failure result there.
class CComException : public std::runtime_error {
 public:
  CComException(HRESULT hr, const char* what) : std::runtime_error(what), hr_(hr) {}
  HRESULT Result() const { return hr_; }

 private:
  HRESULT hr_;
};

inline void ThrowIfFailed(HRESULT hr, const char* what) {
  if (FAILED(hr)) throw CComException(hr, what);
}

// Owns one reference to a COM interface.
template <class T>
class CComPtr {
 public:
  CComPtr() = default;
  explicit CComPtr(T* p, bool addRef = false) : p_(p) {
    if (p_ && addRef) p_->AddRef();
  }
  CComPtr(const CComPtr& o) : p_(o.p_) {
    if (p_) p_->AddRef();
  }
  CComPtr(CComPtr&& o) noexcept : p_(std::exchange(o.p_, nullptr)) {}
  CComPtr& operator=(CComPtr o) noexcept {
    std::swap(p_, o.p_);
    return *this;
  }
  ~CComPtr() { Release(); }

  void Release() {
    if (p_) std::exchange(p_, nullptr)->Release();
  }
  T* Get() const { return p_; }
  T* operator->() const { return p_; }
  explicit operator bool() const { return p_ != nullptr; }
  // For out-parameters: releases what is held and hands out the slot.
  T** Put() {
    Release();
    return &p_;
  }
  T* Detach() { return std::exchange(p_, nullptr); }

  // Another interface of the same object, or an empty pointer when it has none.
  template <class U>
  CComPtr<U> As(REFIID iid) const {
    CComPtr<U> out;
    if (p_) p_->QueryInterface(iid, reinterpret_cast<void**>(out.Put()));
    return out;
  }

 private:
  T* p_ = nullptr;
};

// Owns a BSTR (SysFreeString on destruction).
class CBstr {
 public:
  CBstr() = default;
  explicit CBstr(const std::wstring& s)
      : b_(SysAllocStringLen(s.data(), static_cast<UINT>(s.size()))) {}
  explicit CBstr(const wchar_t* s) : b_(SysAllocString(s)) {}
  CBstr(const CBstr&) = delete;
  CBstr& operator=(const CBstr&) = delete;
  CBstr(CBstr&& o) noexcept : b_(std::exchange(o.b_, nullptr)) {}
  CBstr& operator=(CBstr&& o) noexcept {
    std::swap(b_, o.b_);
    return *this;
  }
  ~CBstr() { SysFreeString(b_); }

  BSTR Get() const { return b_; }
  BSTR* Put() {
    SysFreeString(std::exchange(b_, nullptr));
    return &b_;
  }
  // Gives up ownership, e.g. to a caller that frees the BSTR itself.
  BSTR Detach() { return std::exchange(b_, nullptr); }
  std::wstring Str() const { return b_ ? std::wstring(b_, SysStringLen(b_)) : std::wstring(); }

 private:
  BSTR b_ = nullptr;
};

// Owns a VARIANT (VariantClear on destruction).
class CVariant {
 public:
  CVariant() { VariantInit(&v_); }
  explicit CVariant(const std::wstring& s) : CVariant() {
    v_.vt = VT_BSTR;
    v_.bstrVal = SysAllocStringLen(s.data(), static_cast<UINT>(s.size()));
  }
  explicit CVariant(bool b) : CVariant() {
    v_.vt = VT_BOOL;
    v_.boolVal = b ? VARIANT_TRUE : VARIANT_FALSE;
  }
  CVariant(const CVariant&) = delete;
  CVariant& operator=(const CVariant&) = delete;
  ~CVariant() { VariantClear(&v_); }
  VARIANT* Get() { return &v_; }
  const VARIANT& Ref() const { return v_; }

 private:
  VARIANT v_;
};

// Initialises COM on the calling thread for its lifetime (apartment-threaded by default).
class CComInit {
 public:
  explicit CComInit(DWORD model = COINIT_APARTMENTTHREADED)
      : hr_(CoInitializeEx(nullptr, model)) {}
  CComInit(const CComInit&) = delete;
  CComInit& operator=(const CComInit&) = delete;
  ~CComInit() {
    if (SUCCEEDED(hr_)) CoUninitialize();
  }
  bool Ok() const { return SUCCEEDED(hr_); }

 private:
  HRESULT hr_;
};

}  // namespace tw
