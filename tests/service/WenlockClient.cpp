#include "WenlockClient.h"

#include <algorithm>
#include <filesystem>
#include <optional>
#include <utility>
#include <vector>

#include "CodePage.h"
#include "MeterAnswer.h"
#include "TolvarDrv_Unit.h"

namespace wenlock::testing {
namespace {

constexpr std::size_t OutPosition(std::string_view field) {
  std::size_t position = 1;
  while (ReadCardItemFields[position].Name != field) ++position;
  return position - 1;
}
constexpr std::size_t kCode3Out = OutPosition("code3");

VARIANT ByRef(VARIANT& target) {
  VARIANT reference;
  V_VT(&reference) = VT_BYREF | VT_VARIANT;
  V_VARIANTREF(&reference) = &target;
  return reference;
}

// Takes what a call left in an out argument and clears it.
OutValue TakeOut(VARIANT& out) {
  OutValue value;
  value.type = V_VT(&out);
  if (value.type != VT_EMPTY && value.type != VT_NULL) value.text = com::VariantToGbk(out);
  VariantClear(&out);
  return value;
}

std::string Description(BSTR text) {
  return text ? com::Utf16ToGbk({text, SysStringLen(text)}) : std::string();
}

// Invoke by dispatch identifier with the arguments in declaration order; a failure reported as an
// exception comes back as its own status and description.
HRESULT InvokeById(IWenlockCOM* object, DISPID id, std::vector<VARIANT> arguments,
                   std::string& description) {
  std::reverse(arguments.begin(), arguments.end());
  DISPPARAMS params{arguments.data(), nullptr, static_cast<UINT>(arguments.size()), 0};
  EXCEPINFO exception{};
  UINT argument_error = 0;
  HRESULT status = object->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &params,
                                  nullptr, &exception, &argument_error);
  if (status == DISP_E_EXCEPTION) {
    if (exception.pfnDeferredFillIn) exception.pfnDeferredFillIn(&exception);
    description = Description(exception.bstrDescription);
    status = exception.scode;
    SysFreeString(exception.bstrSource);
    SysFreeString(exception.bstrDescription);
    SysFreeString(exception.bstrHelpFile);
  }
  return status;
}

// The description the platform's error reporting left for a failed vtable call.
std::string ReportedDescription(HRESULT status) {
  if (SUCCEEDED(status)) return {};
  com::ComPtr<IErrorInfo> info;
  if (GetErrorInfo(0, info.Put()) != S_OK || !info) return {};
  com::Bstr text;
  info->GetDescription(text.Put());
  return Description(text.get());
}

template <std::size_t... I>
HRESULT ReadThroughVtable(IWenlockCOM* object, const VARIANT& port,
                          std::array<VARIANT, kReadCardOutArguments>& outs, VARIANT& errCode,
                          std::index_sequence<I...>) {
  return object->Read_Card(port, &outs[I]..., &errCode);
}

template <std::size_t... I>
HRESULT WriteThroughVtable(IWenlockCOM* object, const std::array<Arg, WriteCardItemFields.size()>& ins,
                           VARIANT& errCode, std::index_sequence<I...>) {
  return object->Write_Card(ins[I].value()..., &errCode);
}

}  // namespace

com::ComPtr<IWenlockCOM> CreateWenlock() {
  com::ComPtr<IWenlockCOM> object;
  CLSID clsid;
  if (CLSIDFromProgID(kWenlockProgId, &clsid) == S_OK) {
    CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IWenlockCOM, object.PutVoid());
  }
  return object;
}

CardOnReader::CardOnReader()
    : image_((folder_.path() / "card.txt").string()),
      trace_((folder_.path() / "reader-trace.txt").string()) {
  SetEnvironmentVariableA("WENLOCK_CARD_IMAGE", image_.c_str());
  SetEnvironmentVariableA("WENLOCK_READER_TRACE", trace_.c_str());
  Issue();
}

CardOnReader::~CardOnReader() {
  SetEnvironmentVariableA("WENLOCK_CARD_IMAGE", nullptr);
  SetEnvironmentVariableA("WENLOCK_READER_TRACE", nullptr);
}

void CardOnReader::Issue() {
  sim::SaveCardImage(image_, sim::IssueM1Card(kSerial));
  std::filesystem::remove(trace_);
}

void CardOnReader::Edit(const std::function<void(sim::CardImage&)>& change) {
  sim::CardImage image = sim::LoadCardImage(image_);
  change(image);
  sim::SaveCardImage(image_, image);
}

sim::CardImage CardOnReader::Image() const { return sim::LoadCardImage(image_); }

std::string CardOnReader::Trace() const {
  return std::filesystem::exists(trace_) ? ReadWholeFile(trace_) : std::string();
}

void CardOnReader::AnswerSale() { cardtool::AnswerSale(Dcrf32Drv(), std::nullopt); }

std::string PathName(CallPath path) { return path == CallPath::kInvoke ? "Invoke" : "Vtable"; }

Arg::Arg() { VariantInit(&value_); }
// VariantCopy only reads its source; the Windows signature lacks the const.
Arg::Arg(const Arg& other) : Arg() { VariantCopy(&value_, const_cast<VARIANT*>(&other.value_)); }
Arg& Arg::operator=(const Arg& other) {
  if (this != &other) VariantCopy(&value_, const_cast<VARIANT*>(&other.value_));
  return *this;
}
Arg::~Arg() { VariantClear(&value_); }

VARIANT Arg::Release() {
  VARIANT value = value_;
  VariantInit(&value_);
  return value;
}

Arg Arg::Empty() { return Arg(); }
Arg Arg::Null() {
  Arg arg;
  V_VT(&arg.value_) = VT_NULL;
  return arg;
}
Arg Arg::Text(std::wstring_view text) {
  Arg arg;
  V_VT(&arg.value_) = VT_BSTR;
  V_BSTR(&arg.value_) = com::Bstr(text).Release();
  return arg;
}
Arg Arg::Int(LONG value) {
  Arg arg;
  V_VT(&arg.value_) = VT_I4;
  V_I4(&arg.value_) = value;
  return arg;
}
Arg Arg::Real(double value) {
  Arg arg;
  V_VT(&arg.value_) = VT_R8;
  V_R8(&arg.value_) = value;
  return arg;
}
Arg Arg::Bool(bool value) {
  Arg arg;
  V_VT(&arg.value_) = VT_BOOL;
  V_BOOL(&arg.value_) = value ? VARIANT_TRUE : VARIANT_FALSE;
  return arg;
}

void PrintTo(const OutValue& value, std::ostream* out) {
  *out << "type " << value.type << " \"" << value.text << "\"";
}

const OutValue& ReadResult::Out(std::string_view field) const { return outs[OutPosition(field)]; }

WriteRequest::WriteRequest() = default;

WriteRequest& WriteRequest::Set(std::string_view field, const Arg& value) {
  std::size_t position = 0;
  while (WriteCardItemFields.at(position).Name != field) ++position;
  args_[position] = value;
  return *this;
}

WriteRequest TerminalSale(std::wstring_view cardNo, std::wstring_view userNo,
                          std::wstring_view buyPower, const Arg& writeNo) {
  WriteRequest request;
  request.Set("code1", Arg::Text(L"1"))
      .Set("cardNo", Arg::Text(cardNo))
      .Set("code2", Arg::Text(userNo))
      .Set("buyPower", Arg::Text(buyPower))
      .Set("writeNo", writeNo);
  return request;
}

TextResult ReadErrorInfo(IWenlockCOM* object, CallPath path, const Arg& errorId) {
  TextResult result;
  VARIANT text;
  VariantInit(&text);
  if (path == CallPath::kInvoke) {
    result.status = InvokeById(object, 201, {errorId.value(), ByRef(text)}, result.description);
  } else {
    result.status = object->ReadErrorInfo(errorId.value(), &text);
    result.description = ReportedDescription(result.status);
  }
  result.text = TakeOut(text);
  return result;
}

ReadResult ReadCard(IWenlockCOM* object, CallPath path, const Arg& port, const Arg& code3) {
  ReadResult result;
  std::array<VARIANT, kReadCardOutArguments> outs;
  for (VARIANT& out : outs) VariantInit(&out);
  outs[kCode3Out] = Arg(code3).Release();
  VARIANT errCode;
  VariantInit(&errCode);
  if (path == CallPath::kInvoke) {
    std::vector<VARIANT> arguments{port.value()};
    for (VARIANT& out : outs) arguments.push_back(ByRef(out));
    arguments.push_back(ByRef(errCode));
    result.status = InvokeById(object, 202, std::move(arguments), result.description);
  } else {
    result.status = ReadThroughVtable(object, port.value(), outs, errCode,
                                      std::make_index_sequence<kReadCardOutArguments>());
    result.description = ReportedDescription(result.status);
  }
  for (std::size_t i = 0; i < outs.size(); ++i) result.outs[i] = TakeOut(outs[i]);
  result.errCode = TakeOut(errCode);
  return result;
}

CallResult WriteCard(IWenlockCOM* object, CallPath path, const WriteRequest& request) {
  CallResult result;
  VARIANT errCode;
  VariantInit(&errCode);
  if (path == CallPath::kInvoke) {
    std::vector<VARIANT> arguments;
    for (const Arg& in : request.args()) arguments.push_back(in.value());
    arguments.push_back(ByRef(errCode));
    result.status = InvokeById(object, 203, std::move(arguments), result.description);
  } else {
    result.status = WriteThroughVtable(object, request.args(), errCode,
                                       std::make_index_sequence<WriteCardItemFields.size()>());
    result.description = ReportedDescription(result.status);
  }
  result.errCode = TakeOut(errCode);
  return result;
}

}  // namespace wenlock::testing
