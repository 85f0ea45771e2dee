// Late binding to an automation server: create it from its ProgID, call methods by name with
// IDispatch::Invoke, release it when the object goes out of scope. No type library of the server
// is needed.
#pragma once

#include <windows.h>
#include <oleauto.h>

#include <string_view>
#include <vector>

#include "ComHandles.h"

namespace wenlock::com {

// Arguments of one call in their natural (declaration) order. By-value texts are owned here;
// by-reference arguments point at the caller's variables, which must outlive the call and receive
// what the server writes.
class DispatchArguments {
 public:
  DispatchArguments() = default;
  ~DispatchArguments();
  DispatchArguments(const DispatchArguments&) = delete;
  DispatchArguments& operator=(const DispatchArguments&) = delete;

  DispatchArguments& Add(LONG value);              // VT_I4
  DispatchArguments& Add(double value);            // VT_R8
  DispatchArguments& Add(std::wstring_view text);  // VT_BSTR
  DispatchArguments& AddByRef(LONG& value);        // VT_BYREF | VT_I4
  DispatchArguments& AddByRef(double& value);      // VT_BYREF | VT_R8
  DispatchArguments& AddByRef(BSTR& text);         // VT_BYREF | VT_BSTR
  DispatchArguments& AddDateByRef(DATE& value);    // VT_BYREF | VT_DATE
  DispatchArguments& AddByRef(VARIANT& value);     // VT_BYREF | VT_VARIANT

  std::size_t size() const { return natural_.size(); }
  // The arguments last to first, as DISPPARAMS holds them; valid while this object is unchanged.
  std::vector<VARIANT> Reversed() const;

 private:
  VARIANT& Append(VARTYPE type);
  DispatchArguments& Push(VARTYPE type, void* reference);
  std::vector<VARIANT> natural_;
};

class AutomationObject {
 public:
  // CLSIDFromProgID + CoCreateInstance(CLSCTX_INPROC_SERVER). Throws ComError with the failing
  // status (CO_E_CLASSSTRING or REGDB_E_CLASSNOTREG for a server that is not registered).
  static AutomationObject Create(std::wstring_view prog_id);

  // GetIDsOfNames for one name. Throws ComError (DISP_E_UNKNOWNNAME).
  DISPID IdOf(std::wstring_view name) const;
  // Invokes the method with DISPATCH_METHOD; result (may be null) receives the return value and is
  // cleared first. Throws ComError with the server's status and description.
  void Call(std::wstring_view method, const DispatchArguments& arguments,
            VARIANT* result = nullptr) const;

 private:
  explicit AutomationObject(ComPtr<IDispatch> object) : object_(std::move(object)) {}
  ComPtr<IDispatch> object_;
};

}  // namespace wenlock::com
