// A compiled sales client of Wenlock.WenlockCOM: creates the object by its ProgID and calls it by
// dispatch identifier, taking the argument names from the server's own type information, so it
// needs no header of the system. Same commands and output as sales.vbs:
//   sales_client sell <meter kind 0|1|3> <card number> <user number> <energy> <write count>
//   sales_client read [<read mode>]
//   sales_client text <code>
#include <windows.h>
#include <oleauto.h>

#include <cstdio>
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

#include "CodePage.h"
#include "ComError.h"
#include "ComHandles.h"

namespace {

using wenlock::com::Bstr;
using wenlock::com::ComError;
using wenlock::com::ComPtr;
using wenlock::com::ThrowIfFailed;

constexpr DISPID kReadErrorInfo = 201, kReadCard = 202, kWriteCard = 203;

// The names of a method's parameters, in order, from the object's type information.
std::vector<std::wstring> ParameterNames(IDispatch* object, DISPID method) {
  ComPtr<ITypeInfo> info;
  ThrowIfFailed(object->GetTypeInfo(0, LOCALE_USER_DEFAULT, info.Put()), "No type information");
  TYPEATTR* type = nullptr;
  ThrowIfFailed(info->GetTypeAttr(&type), "No type attributes");
  const WORD functions = type->cFuncs;
  info->ReleaseTypeAttr(type);
  for (WORD i = 0; i < functions; ++i) {
    FUNCDESC* function = nullptr;
    ThrowIfFailed(info->GetFuncDesc(i, &function), "No function description");
    const MEMBERID id = function->memid;
    const UINT wanted = function->cParams + 1;
    info->ReleaseFuncDesc(function);
    if (id != method) continue;
    std::vector<BSTR> names(wanted);
    UINT count = 0;
    ThrowIfFailed(info->GetNames(id, names.data(), wanted, &count), "No parameter names");
    std::vector<std::wstring> parameters;
    for (UINT n = 0; n < count; ++n) {
      if (n > 0) parameters.emplace_back(names[n], SysStringLen(names[n]));
      SysFreeString(names[n]);
    }
    return parameters;
  }
  throw std::runtime_error("The object has no such method");
}

// One call by dispatch identifier; arguments in declaration order.
void Invoke(IDispatch* object, DISPID method, std::vector<VARIANT> arguments) {
  std::vector<VARIANT> reversed(arguments.rbegin(), arguments.rend());
  DISPPARAMS params{reversed.data(), nullptr, static_cast<UINT>(reversed.size()), 0};
  EXCEPINFO exception{};
  const HRESULT status = object->Invoke(method, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD,
                                        &params, nullptr, &exception, nullptr);
  if (status == DISP_E_EXCEPTION) {
    const std::string description =
        exception.bstrDescription ? wenlock::com::Utf16ToGbk(exception.bstrDescription) : "";
    SysFreeString(exception.bstrSource);
    SysFreeString(exception.bstrDescription);
    SysFreeString(exception.bstrHelpFile);
    throw ComError(exception.scode, description);
  }
  ThrowIfFailed(status, "The call failed");
}

VARIANT Text(const std::wstring& text) {
  VARIANT value;
  V_VT(&value) = VT_BSTR;
  V_BSTR(&value) = Bstr(text).Release();
  return value;
}

VARIANT ByRef(VARIANT& target) {
  VARIANT reference;
  V_VT(&reference) = VT_BYREF | VT_VARIANT;
  V_VARIANTREF(&reference) = &target;
  return reference;
}

std::string TextOf(const VARIANT& value) { return wenlock::com::VariantToGbk(value); }
std::wstring Wide(const char* text) { return wenlock::com::GbkToUtf16(text); }

const char* Meaning(const std::string& code) {
  static const std::map<std::string, const char*> meanings = {
      {"00", "success"}, {"000", "success"}, {"001", "unknown error"},
      {"003", "card or meter driver error"}, {"013", "cannot open the reader"},
      {"024", "data error"}, {"034", "card not identified"},
      {"038", "card area empty (the meter has not answered yet)"},
      {"041", "card number does not fit the meter kind"}, {"044", "writing the card failed"},
      {"051", "input parameter error"}, {"060", "cannot write the user-number area"}};
  const auto found = meanings.find(code);
  return found == meanings.end() ? "see the result codes in the README" : found->second;
}

void Sell(IDispatch* card, const std::map<std::wstring, std::wstring>& sale) {
  const std::vector<std::wstring> names = ParameterNames(card, kWriteCard);
  std::vector<VARIANT> arguments;
  for (std::size_t i = 0; i + 1 < names.size(); ++i) {
    const auto value = sale.find(names[i]);
    arguments.push_back(Text(value == sale.end() ? L"" : value->second));
  }
  wenlock::com::Variant errCode;
  arguments.push_back(ByRef(*errCode.get()));
  Invoke(card, kWriteCard, arguments);
  for (std::size_t i = 0; i + 1 < arguments.size(); ++i) VariantClear(&arguments[i]);
  const std::string code = TextOf(errCode.value());
  std::printf("Write_Card errCode = %s (%s)\n", code.c_str(), Meaning(code));
}

void ReadBack(IDispatch* card, const std::wstring& mode) {
  const std::vector<std::wstring> names = ParameterNames(card, kReadCard);
  std::vector<wenlock::com::Variant> outs(names.size() - 1);  // after port, errCode last
  std::vector<VARIANT> arguments{Text(L"100")};
  for (std::size_t i = 1; i < names.size(); ++i) {
    if (names[i] == L"code3") *outs[i - 1].get() = Text(mode);
    arguments.push_back(ByRef(*outs[i - 1].get()));
  }
  Invoke(card, kReadCard, arguments);
  VariantClear(&arguments[0]);
  const std::string code = TextOf(outs.back().value());
  std::printf("Read_Card errCode = %s (%s)\n", code.c_str(), Meaning(code));
  for (std::size_t i = 1; i + 1 < names.size(); ++i) {
    std::printf("  %s = %s\n", wenlock::com::Utf16ToGbk(names[i]).c_str(),
                TextOf(outs[i - 1].value()).c_str());
  }
}

void ShowText(IDispatch* card, const std::wstring& code) {
  wenlock::com::Variant text;
  Invoke(card, kReadErrorInfo, {Text(code), ByRef(*text.get())});
  std::printf("ReadErrorInfo %s = %s\n", wenlock::com::Utf16ToGbk(code).c_str(),
              TextOf(text.value()).c_str());
}

int Usage() {
  std::puts("usage: sales_client sell <kind> <card number> <user number> <energy> <write count>\n"
            "       sales_client read [<read mode>]\n"
            "       sales_client text <code>");
  return 2;
}

int Run(int argc, char** argv) {
  const std::string command = argc > 1 ? argv[1] : "";
  if (!(command == "sell" && argc == 7) && !(command == "read" && argc <= 3) &&
      !(command == "text" && argc == 3)) {
    return Usage();
  }
  const wenlock::com::ScopedApartment apartment;
  ThrowIfFailed(apartment.result(), "COM cannot start");
  CLSID clsid;
  ThrowIfFailed(CLSIDFromProgID(L"Wenlock.WenlockCOM", &clsid), "Wenlock.WenlockCOM is not registered");
  ComPtr<IDispatch> card;
  ThrowIfFailed(CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IDispatch, card.PutVoid()),
                "Wenlock.WenlockCOM cannot be created");
  if (command == "sell") {
    Sell(card.Get(), {{L"port", L"100"}, {L"code1", Wide(argv[2])}, {L"cardNo", Wide(argv[3])},
                      {L"code2", Wide(argv[4])}, {L"buyPower", Wide(argv[5])},
                      {L"writeNo", Wide(argv[6])}});
  } else if (command == "read") {
    ReadBack(card.Get(), argc == 3 ? Wide(argv[2]) : L"1");
  } else {
    ShowText(card.Get(), Wide(argv[2]));
  }
  std::puts("sales done");
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  try {
    return Run(argc, argv);
  } catch (const std::exception& e) {
    std::printf("failed: %s\n", e.what());
    return 1;
  }
}
