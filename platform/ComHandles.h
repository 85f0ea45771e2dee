// Owners of COM resources: interface pointers, Variants, automation strings and the calling thread's
// apartment. Each releases what it holds when it goes out of scope, on every path.
#pragma once

#include <windows.h>
#include <oleauto.h>

#include <new>
#include <string_view>
#include <utility>

namespace wenlock::com {

template <typename Interface>
class ComPtr {
 public:
  ComPtr() = default;
  ~ComPtr() { Reset(); }
  ComPtr(const ComPtr&) = delete;
  ComPtr& operator=(const ComPtr&) = delete;
  ComPtr(ComPtr&& other) noexcept : pointer_(std::exchange(other.pointer_, nullptr)) {}
  ComPtr& operator=(ComPtr&& other) noexcept {
    if (this != &other) {
      Reset();
      pointer_ = std::exchange(other.pointer_, nullptr);
    }
    return *this;
  }

  Interface* Get() const { return pointer_; }
  Interface* operator->() const { return pointer_; }
  explicit operator bool() const { return pointer_ != nullptr; }
  // For the out parameter of a call that hands over a reference; drops the one held first.
  Interface** Put() {
    Reset();
    return &pointer_;
  }
  void** PutVoid() { return reinterpret_cast<void**>(Put()); }
  void Reset() {
    if (pointer_) std::exchange(pointer_, nullptr)->Release();
  }

 private:
  Interface* pointer_ = nullptr;
};

class Variant {
 public:
  Variant() { VariantInit(&value_); }
  ~Variant() { VariantClear(&value_); }
  Variant(const Variant&) = delete;
  Variant& operator=(const Variant&) = delete;

  VARIANT* get() { return &value_; }
  const VARIANT& value() const { return value_; }
  // Clears the held value first, for use as an out parameter.
  VARIANT* Put() {
    VariantClear(&value_);
    return &value_;
  }

 private:
  VARIANT value_;
};

class Bstr {
 public:
  Bstr() = default;
  explicit Bstr(std::wstring_view text)
      : text_(SysAllocStringLen(text.data(), static_cast<UINT>(text.size()))) {
    if (!text_) throw std::bad_alloc();
  }
  ~Bstr() { SysFreeString(text_); }
  Bstr(const Bstr&) = delete;
  Bstr& operator=(const Bstr&) = delete;

  BSTR get() const { return text_; }
  BSTR* Put() {
    SysFreeString(std::exchange(text_, nullptr));
    return &text_;
  }
  // For an [in, out] argument: the callee frees the held text and stores its own.
  BSTR* InOut() { return &text_; }
  BSTR Release() { return std::exchange(text_, nullptr); }
  std::wstring_view view() const { return {text_ ? text_ : L"", SysStringLen(text_)}; }

 private:
  BSTR text_ = nullptr;
};

// Enters a single-threaded apartment on the calling thread for the object's lifetime.
class ScopedApartment {
 public:
  ScopedApartment() : result_(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)) {}
  ~ScopedApartment() {
    if (SUCCEEDED(result_)) CoUninitialize();
  }
  ScopedApartment(const ScopedApartment&) = delete;
  ScopedApartment& operator=(const ScopedApartment&) = delete;
  HRESULT result() const { return result_; }

 private:
  HRESULT result_;
};

}  // namespace wenlock::com
