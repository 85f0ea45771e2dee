#include "LateBinding.h"

#include <string>

#include "CodePage.h"
#include "ComError.h"

namespace wenlock::com {
namespace {

// The status and description a failed Invoke carries; frees the texts of the exception record.
ComError InvokeFailure(HRESULT result, EXCEPINFO& exception, std::wstring_view method) {
  if (result == DISP_E_EXCEPTION && exception.pfnDeferredFillIn) {
    exception.pfnDeferredFillIn(&exception);
  }
  Bstr description;
  *description.Put() = exception.bstrDescription;
  SysFreeString(exception.bstrSource);
  SysFreeString(exception.bstrHelpFile);
  if (result == DISP_E_EXCEPTION && FAILED(exception.scode)) result = exception.scode;
  std::string text = Utf16ToGbk(method) + " failed";
  if (!description.view().empty()) text += ": " + Utf16ToGbk(description.view());
  return ComError(result, text);
}

}  // namespace

DispatchArguments::~DispatchArguments() {
  for (VARIANT& argument : natural_) VariantClear(&argument);
}

VARIANT& DispatchArguments::Append(VARTYPE type) {
  VARIANT& argument = natural_.emplace_back();
  VariantInit(&argument);
  V_VT(&argument) = type;
  return argument;
}

DispatchArguments& DispatchArguments::Push(VARTYPE type, void* reference) {
  V_BYREF(&Append(type)) = reference;
  return *this;
}

DispatchArguments& DispatchArguments::Add(LONG value) {
  V_I4(&Append(VT_I4)) = value;
  return *this;
}

DispatchArguments& DispatchArguments::Add(double value) {
  V_R8(&Append(VT_R8)) = value;
  return *this;
}

DispatchArguments& DispatchArguments::Add(std::wstring_view text) {
  Bstr owned(text);  // freed here if the argument list cannot grow
  V_BSTR(&Append(VT_BSTR)) = owned.Release();
  return *this;
}

DispatchArguments& DispatchArguments::AddByRef(LONG& value) {
  return Push(VT_BYREF | VT_I4, &value);
}
DispatchArguments& DispatchArguments::AddByRef(double& value) {
  return Push(VT_BYREF | VT_R8, &value);
}
DispatchArguments& DispatchArguments::AddByRef(BSTR& text) {
  return Push(VT_BYREF | VT_BSTR, &text);
}
DispatchArguments& DispatchArguments::AddDateByRef(DATE& value) {
  return Push(VT_BYREF | VT_DATE, &value);
}
DispatchArguments& DispatchArguments::AddByRef(VARIANT& value) {
  return Push(VT_BYREF | VT_VARIANT, &value);
}

std::vector<VARIANT> DispatchArguments::Reversed() const {
  return {natural_.rbegin(), natural_.rend()};
}

AutomationObject AutomationObject::Create(std::wstring_view prog_id) {
  const std::wstring name(prog_id);
  CLSID clsid;
  ThrowIfFailed(CLSIDFromProgID(name.c_str(), &clsid), Utf16ToGbk(name) + " is not registered");
  ComPtr<IDispatch> object;
  ThrowIfFailed(CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IDispatch,
                                 object.PutVoid()),
                Utf16ToGbk(name) + " cannot be created");
  return AutomationObject(std::move(object));
}

DISPID AutomationObject::IdOf(std::wstring_view name) const {
  std::wstring text(name);
  LPOLESTR names[] = {text.data()};
  DISPID id = DISPID_UNKNOWN;
  ThrowIfFailed(object_->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id),
                Utf16ToGbk(name) + " is not a member of the object");
  return id;
}

void AutomationObject::Call(std::wstring_view method, const DispatchArguments& arguments,
                            VARIANT* result) const {
  const DISPID id = IdOf(method);
  std::vector<VARIANT> reversed = arguments.Reversed();
  DISPPARAMS parameters = {reversed.data(), nullptr, static_cast<UINT>(reversed.size()), 0};
  if (result) VariantClear(result);
  EXCEPINFO exception = {};
  UINT argument_error = 0;
  const HRESULT status = object_->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD,
                                         &parameters, result, &exception, &argument_error);
  if (FAILED(status)) throw InvokeFailure(status, exception, method);
}

}  // namespace wenlock::com
