// A compiled client of Wenlock.WenlockCOM for the COM tests: the server registered through its own
// entry point, a simulated card on the dcrf32 of this build, and the three methods called either
// by dispatch identifier through IDispatch::Invoke or through the dual interface's vtable.
#pragma once

#include <windows.h>
#include <oleauto.h>

#include <array>
#include <functional>
#include <ostream>
#include <string>
#include <string_view>

#include "CardImage.h"
#include "ComHandles.h"
#include "ComServerTesting.h"
#include "LoadedLibrary.h"
#include "TO_Kessel_Unit.h"
#include "TestSupport.h"
#include "Wenlock_TLB_h.h"

namespace wenlock::testing {

inline constexpr wchar_t kWenlockProgId[] = L"Wenlock.WenlockCOM";

// Wenlock.dll of this build, registered for the lifetime of the object and unregistered after.
class RegisteredWenlock : public RegisteredServer {
 public:
  RegisteredWenlock() : RegisteredServer("Wenlock.dll") {}
};

// A new object by ProgID, as its dual interface; empty when creation fails.
com::ComPtr<IWenlockCOM> CreateWenlock();

// A blank M1 card on the simulated reader, its image and the reader's trace in a fresh current
// folder (where the action log goes too), named by the environment while the object lives.
class CardOnReader {
 public:
  static constexpr std::uint32_t kSerial = 0x1A2B3C4D;
  CardOnReader();
  ~CardOnReader();
  CardOnReader(const CardOnReader&) = delete;
  CardOnReader& operator=(const CardOnReader&) = delete;

  void Issue();
  void Edit(const std::function<void(sim::CardImage&)>& change);
  sim::CardImage Image() const;
  // The reader calls made since the card was issued.
  std::string Trace() const;
  // The card's meter or terminal answers the sale on it.
  void AnswerSale();

 private:
  ScopedCurrentDir folder_;
  std::string image_;
  std::string trace_;
};

enum class CallPath { kInvoke, kVtable };
std::string PathName(CallPath path);

// A Variant argument built by the test; copied shallowly into each call, which only reads it.
class Arg {
 public:
  Arg();
  static Arg Empty();
  static Arg Null();
  static Arg Text(std::wstring_view text);
  static Arg Int(LONG value);
  static Arg Real(double value);
  static Arg Bool(bool value);
  Arg(const Arg& other);
  Arg& operator=(const Arg& other);
  ~Arg();
  const VARIANT& value() const { return value_; }
  // Hands the value over to the caller, leaving this empty.
  VARIANT Release();

 private:
  VARIANT value_;
};

// What a call left: its status, the error description of a failure, and each out argument as its
// Variant type and text.
struct OutValue {
  VARTYPE type = VT_EMPTY;
  std::string text;  // GBK; empty for VT_EMPTY
  bool operator==(const OutValue& other) const {
    return type == other.type && text == other.text;
  }
};
void PrintTo(const OutValue& value, std::ostream* out);
struct CallResult {
  HRESULT status = E_FAIL;
  std::string description;
  OutValue errCode;
};
struct ReadResult : CallResult {
  std::array<OutValue, kReadCardOutArguments> outs;  // factory ... code4
  const OutValue& Out(std::string_view field) const;
};
struct TextResult : CallResult {
  OutValue text;
};

// The 72 Write_Card arguments by record field name, all empty until set.
class WriteRequest {
 public:
  WriteRequest();
  WriteRequest& Set(std::string_view field, const Arg& value);
  const std::array<Arg, WriteCardItemFields.size()>& args() const { return args_; }

 private:
  std::array<Arg, WriteCardItemFields.size()> args_;
};

// A sale to a Q/GDW 130 terminal card (meter kind "1").
WriteRequest TerminalSale(std::wstring_view cardNo, std::wstring_view userNo,
                          std::wstring_view buyPower, const Arg& writeNo);

TextResult ReadErrorInfo(IWenlockCOM* object, CallPath path, const Arg& errorId);
ReadResult ReadCard(IWenlockCOM* object, CallPath path, const Arg& port, const Arg& code3);
CallResult WriteCard(IWenlockCOM* object, CallPath path, const WriteRequest& request);

}  // namespace wenlock::testing
