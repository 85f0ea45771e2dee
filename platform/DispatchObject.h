// Base of a creatable automation object: reference counting (counted by the module), IDispatch
// answered from the module's own type information, and ISupportErrorInfo for the failures that
// GuardedMethod reports. A class derives from DispatchObject<IMyInterface, IID_IMyInterface> and
// implements the interface's own methods.
#pragma once

#include <windows.h>
#include <oleauto.h>

#include <atomic>

#include "ComHandles.h"
#include "ComModule.h"
#include "OwnTypeLibrary.h"

namespace wenlock::com {

template <typename Interface, const IID& kInterfaceId>
class DispatchObject : public Interface, public ISupportErrorInfo {
 public:
  DispatchObject() : type_info_(LoadOwnTypeInfo(kInterfaceId)) { AddObject(); }
  virtual ~DispatchObject() { ReleaseObject(); }
  DispatchObject(const DispatchObject&) = delete;
  DispatchObject& operator=(const DispatchObject&) = delete;

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
    if (!out) return E_POINTER;
    if (iid == IID_IUnknown || iid == IID_IDispatch || iid == kInterfaceId) {
      *out = static_cast<Interface*>(this);
    } else if (iid == IID_ISupportErrorInfo) {
      *out = static_cast<ISupportErrorInfo*>(this);
    } else {
      *out = nullptr;
      return E_NOINTERFACE;
    }
    AddRef();
    return S_OK;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
  ULONG STDMETHODCALLTYPE Release() override {
    const ULONG left = --references_;
    if (left == 0) delete this;
    return left;
  }

  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
    if (!count) return E_POINTER;
    *count = 1;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID, ITypeInfo** info) override {
    if (!info) return E_POINTER;
    *info = nullptr;
    if (index != 0) return DISP_E_BADINDEX;
    type_info_->AddRef();
    *info = type_info_.Get();
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID,
                                          DISPID* ids) override {
    if (iid != IID_NULL) return DISP_E_UNKNOWNINTERFACE;
    return DispGetIDsOfNames(type_info_.Get(), names, count, ids);
  }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID iid, LCID, WORD flags, DISPPARAMS* params,
                                   VARIANT* result, EXCEPINFO* exception,
                                   UINT* argument_error) override {
    if (iid != IID_NULL) return DISP_E_UNKNOWNINTERFACE;
    return type_info_->Invoke(static_cast<Interface*>(this), id, flags, params, result, exception,
                              argument_error);
  }

  HRESULT STDMETHODCALLTYPE InterfaceSupportsErrorInfo(REFIID iid) override {
    return iid == kInterfaceId ? S_OK : S_FALSE;
  }

 private:
  std::atomic<ULONG> references_{1};
  ComPtr<ITypeInfo> type_info_;
};

}  // namespace wenlock::com
