// The stand-in server as its clients meet it: registered into the Wine prefix through its own entry
// points, created by ProgID and called by late binding.
#include <gtest/gtest.h>

#include <string>

#include "CodePage.h"
#include "ComError.h"
#include "ComHandles.h"
#include "LateBinding.h"
#include "ComServerTesting.h"
#include "MorlinFrames.h"
#include "OldCtrl_Dl645.h"

namespace wenlock::morlin {
namespace {

using com::AutomationObject;
using com::ComError;
using com::DispatchArguments;

constexpr wchar_t kProgId[] = L"Brackwell.Morlin";
constexpr wchar_t kClsid[] = L"{A647C868-0B8F-4FB1-BFE1-C9544F27D088}";
constexpr wchar_t kLibId[] = L"{8C93683C-4AB5-48D9-A70D-F850307D49C0}";
constexpr wchar_t kIid[] = L"{5D233204-1133-4906-9FED-543E38AA4B78}";

using testing::RegistryKeyExists;
using testing::RegistryText;

GUID Guid(const wchar_t* text) {
  GUID guid;
  EXPECT_EQ(CLSIDFromString(text, &guid), S_OK) << "bad GUID text";
  return guid;
}

std::wstring ClassKey() { return std::wstring(L"CLSID\\") + kClsid; }

// The status a call throws with, or S_OK when it does not throw.
template <typename Call>
HRESULT StatusOf(Call&& call, std::string* description = nullptr) {
  try {
    call();
    return S_OK;
  } catch (const ComError& e) {
    if (description) *description = e.what();
    return e.result();
  }
}

class MorlinServer : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(apartment_.result(), S_OK);
    ASSERT_TRUE(server_.library().loaded());
    ASSERT_EQ(server_.registration(), S_OK);
  }
  // Unregistering again after a test that unregistered is no failure.
  void TearDown() override { EXPECT_EQ(Entry("DllUnregisterServer")(), S_OK); }

  testing::ServerEntryPoint Entry(const char* name) const { return server_.Entry(name); }
  std::wstring ModulePath() const { return server_.ModulePath(); }
  com::ComPtr<IClassFactory> Factory() const {
    com::ComPtr<IClassFactory> factory;
    EXPECT_EQ(server_.GetClassObject(Guid(kClsid), IID_IClassFactory, factory.PutVoid()), S_OK);
    return factory;
  }

  com::ScopedApartment apartment_;
  testing::RegisteredServer server_{"Morlin.dll"};
};

TEST_F(MorlinServer, RegistrationWritesTheClassItsProgIdBothWaysAndTheTypeLibrary) {
  EXPECT_EQ(RegistryText(ClassKey()), L"Brackwell Morlin (stand-in)");
  EXPECT_EQ(RegistryText(ClassKey() + L"\\InprocServer32"), ModulePath());
  EXPECT_EQ(RegistryText(ClassKey() + L"\\InprocServer32", L"ThreadingModel"), L"Apartment");
  EXPECT_EQ(RegistryText(ClassKey() + L"\\ProgID"), kProgId);
  EXPECT_EQ(RegistryText(std::wstring(kProgId) + L"\\CLSID"), kClsid);
  const wchar_t* platform = sizeof(void*) == 8 ? L"\\1.0\\409\\win64" : L"\\1.0\\409\\win32";
  EXPECT_EQ(RegistryText(std::wstring(L"TypeLib\\") + kLibId + platform), ModulePath());
  EXPECT_TRUE(RegistryKeyExists(std::wstring(L"Interface\\") + kIid));
}

TEST_F(MorlinServer, UnregistrationRemovesAllOfItAndCreationThenFails) {
  ASSERT_EQ(Entry("DllUnregisterServer")(), S_OK);
  EXPECT_FALSE(RegistryKeyExists(ClassKey()));
  EXPECT_FALSE(RegistryKeyExists(kProgId));
  EXPECT_FALSE(RegistryKeyExists(std::wstring(L"TypeLib\\") + kLibId));
  EXPECT_FALSE(RegistryKeyExists(std::wstring(L"Interface\\") + kIid));
  const HRESULT status = StatusOf([] { AutomationObject::Create(kProgId); });
  EXPECT_TRUE(status == REGDB_E_CLASSNOTREG || status == CO_E_CLASSSTRING) << std::hex << status;
  // Unregistering what is not registered is no failure (TearDown does it once more).
}

TEST_F(MorlinServer, UnregisteringKeepsTheProgIdWhileTheOtherBitnessRegistersTheClass) {
  const REGSAM other_view = sizeof(void*) == 8 ? KEY_WOW64_32KEY : KEY_WOW64_64KEY;
  const std::wstring other_server = ClassKey() + L"\\InprocServer32";
  HKEY key = nullptr;
  ASSERT_EQ(RegCreateKeyExW(HKEY_CLASSES_ROOT, other_server.c_str(), 0, nullptr, 0,
                            KEY_WRITE | other_view, nullptr, &key, nullptr),
            ERROR_SUCCESS);
  RegCloseKey(key);

  EXPECT_EQ(Entry("DllUnregisterServer")(), S_OK);
  EXPECT_FALSE(RegistryKeyExists(ClassKey()));
  EXPECT_TRUE(RegistryKeyExists(ClassKey(), other_view));
  EXPECT_EQ(RegistryText(std::wstring(kProgId) + L"\\CLSID"), kClsid);

  // Leave no trace for the other bitness's tests.
  RegDeleteTreeW(HKEY_CLASSES_ROOT, kProgId);
  EXPECT_EQ(RegDeleteKeyExW(HKEY_CLASSES_ROOT, other_server.c_str(), other_view, 0), ERROR_SUCCESS);
  EXPECT_EQ(RegDeleteKeyExW(HKEY_CLASSES_ROOT, ClassKey().c_str(), other_view, 0), ERROR_SUCCESS)
      << "the other view held more than this test wrote";
  EXPECT_FALSE(RegistryKeyExists(ClassKey(), other_view));
}

TEST_F(MorlinServer, GetIDsOfNamesFindsEveryMethod) {
  const AutomationObject server = AutomationObject::Create(kProgId);
  const wchar_t* names[] = {L"CreateSdInitCard", L"CreateSdInitCardMifare",
                            L"CreateSdPurchaseCard", L"CreateSdPurchaseCardMifare",
                            L"ReadSDWriteArea", L"ReadSDReturnArea"};
  for (DISPID id = 1; id <= 6; ++id) EXPECT_EQ(server.IdOf(names[id - 1]), id) << names[id - 1];
  EXPECT_EQ(server.IdOf(L"readsdwritearea"), 5) << "names are case-insensitive";
  EXPECT_EQ(StatusOf([&] { server.IdOf(L"WriteCard"); }), DISP_E_UNKNOWNNAME);
}

// Builds the write-area frame through the server method the values call for.
std::string BuildThroughServer(const AutomationObject& server, const WriteAreaValues& v) {
  const bool opening = v.kind == WriteAreaKind::AccountOpening;
  DispatchArguments arguments;
  arguments.Add(LONG{v.card_number}).Add(LONG{v.factor}).Add(v.buy_power);
  if (opening) {
    arguments.Add(LONG{v.active_constant}).Add(LONG{v.reactive_constant});
    arguments.Add(LONG{v.active_index}).Add(LONG{v.reactive_index});
  }
  arguments.Add(v.warn_power).Add(v.high_power).Add(v.low_power).Add(v.warn_load).Add(v.cut_load);
  arguments.Add(LONG{v.warn_time});
  if (!opening) arguments.Add(LONG{v.purchase_count});
  std::wstring method = opening ? L"CreateSdInitCard" : L"CreateSdPurchaseCard";
  if (v.medium == CardMedium::M1) method += L"Mifare";
  com::Variant frame;
  server.Call(method, arguments, frame.get());
  EXPECT_EQ(V_VT(frame.get()), VT_BSTR);
  return com::VariantToGbk(frame.value());
}

// ReadSDWriteArea's seventeen arguments: the frame by reference, then its outputs.
struct WriteAreaReading {
  LONG card_id = -1, ptct = -1;
  com::Bstr key_str{L"stale"};
  double power = -1;
  LONG act_constant = -1, react_constant = -1;
  double act_index = -1, react_index = -1, alarm_power = -1, h_overdraft = -1, l_overdraft = -1,
         alarm_load = -1, cut_load = -1;
  LONG alarm_time = -1, card_type = -1, purchase_times = -1;

  void Read(const AutomationObject& server, std::string_view frame) {
    com::Bstr read_data(com::GbkToUtf16(frame));
    BSTR read_data_ref = read_data.get();
    DispatchArguments arguments;
    arguments.AddByRef(read_data_ref).AddByRef(card_id).AddByRef(ptct);
    arguments.AddByRef(*key_str.InOut());
    arguments.AddByRef(power).AddByRef(act_constant).AddByRef(react_constant);
    for (double* value : {&act_index, &react_index, &alarm_power, &h_overdraft, &l_overdraft,
                          &alarm_load, &cut_load}) {
      arguments.AddByRef(*value);
    }
    arguments.AddByRef(alarm_time).AddByRef(card_type).AddByRef(purchase_times);
    ASSERT_EQ(arguments.size(), 17u);
    server.Call(L"ReadSDWriteArea", arguments);
  }
};

TEST_F(MorlinServer, WriteAreaFramesBuiltByTheServerReadBackThroughIt) {
  const AutomationObject server = AutomationObject::Create(kProgId);
  for (const CardMedium medium : {CardMedium::Eeprom, CardMedium::M1}) {
    for (const WriteAreaKind kind : {WriteAreaKind::AccountOpening, WriteAreaKind::Purchase}) {
      WriteAreaValues v;
      v.kind = kind;
      v.medium = medium;
      v.card_number = 123456;
      v.factor = 2;
      v.buy_power = 100.5;
      v.warn_power = 20;
      v.high_power = 3.25;
      v.low_power = 1.5;
      v.warn_load = 999;
      v.cut_load = 888;
      v.warn_time = 9;
      if (kind == WriteAreaKind::AccountOpening) {
        v.active_constant = 100;
        v.reactive_constant = 200;
        v.active_index = 7;
        v.reactive_index = 8;
      } else {
        v.purchase_count = 5;
      }
      const std::string name = std::to_string(static_cast<int>(medium)) +
                               (kind == WriteAreaKind::AccountOpening ? " opening" : " purchase");
      const std::string frame = BuildThroughServer(server, v);
      EXPECT_EQ(frame, BuildWriteAreaFrame(v)) << name;
      std::string found;
      EXPECT_EQ(Check_OldCtrlMeterProtocol(frame, found), 0) << name;
      EXPECT_LE(frame.size(), 2 * kLargestFrameBytes) << name;

      WriteAreaReading r;
      r.Read(server, frame);
      EXPECT_EQ(r.card_id, 123456) << name;
      EXPECT_EQ(r.ptct, 2) << name;
      EXPECT_EQ(r.key_str.view(), L"") << name;
      EXPECT_EQ(r.power, 100.5) << name;
      EXPECT_EQ(r.act_constant, v.active_constant) << name;
      EXPECT_EQ(r.react_constant, v.reactive_constant) << name;
      EXPECT_EQ(r.act_index, v.active_index) << name;
      EXPECT_EQ(r.react_index, v.reactive_index) << name;
      EXPECT_EQ(r.alarm_power, 20) << name;
      EXPECT_EQ(r.h_overdraft, 3.25) << name;
      EXPECT_EQ(r.l_overdraft, 1.5) << name;
      EXPECT_EQ(r.alarm_load, 999) << name;
      EXPECT_EQ(r.cut_load, 888) << name;
      EXPECT_EQ(r.alarm_time, 9) << name;
      EXPECT_EQ(r.card_type, static_cast<LONG>(medium)) << name;
      EXPECT_EQ(r.purchase_times, v.purchase_count) << name;
    }
  }
}

// ReadSDReturnArea's outputs, appended after the frame argument the case chose.
struct ReturnAreaReading {
  LONG kh = -1, gdcs = -1;
  double sydl = -1;
  double others[8] = {-1, -1, -1, -1, -1, -1, -1, -1};
  DATE zdfhsj = -1;
  LONG counts[6] = {-1, -1, -1, -1, -1, -1};

  void Read(const AutomationObject& server, DispatchArguments& arguments) {
    arguments.AddByRef(kh).AddByRef(gdcs).AddByRef(sydl);
    for (double& value : others) arguments.AddByRef(value);
    arguments.AddDateByRef(zdfhsj);
    for (LONG& count : counts) arguments.AddByRef(count);
    ASSERT_EQ(arguments.size(), 19u);
    server.Call(L"ReadSDReturnArea", arguments);
  }
};

TEST_F(MorlinServer, ReturnAreaFramesOfTheMeterReadThroughTheServer) {
  const AutomationObject server = AutomationObject::Create(kProgId);
  const std::wstring frame = com::GbkToUtf16(BuildReturnAreaFrame({654321, 4, -12.75}));
  // The frame as an automation string by value, and as a script variable (a Variant by reference).
  com::Variant script_variable;
  V_VT(script_variable.get()) = VT_BSTR;
  V_BSTR(script_variable.get()) = com::Bstr(frame).Release();
  for (const bool by_reference : {false, true}) {
    DispatchArguments arguments;
    if (by_reference) {
      arguments.AddByRef(*script_variable.get());
    } else {
      arguments.Add(frame);
    }
    ReturnAreaReading r;
    r.Read(server, arguments);
    EXPECT_EQ(r.kh, 654321) << by_reference;
    EXPECT_EQ(r.gdcs, 4) << by_reference;
    EXPECT_EQ(r.sydl, -12.75) << by_reference;
    for (double value : r.others) EXPECT_EQ(value, 0) << by_reference;
    EXPECT_EQ(r.zdfhsj, 0) << by_reference;
    for (LONG count : r.counts) EXPECT_EQ(count, 0) << by_reference;
  }
}

TEST_F(MorlinServer, FailuresReachTheCallerWithStatusAndDescription) {
  const AutomationObject server = AutomationObject::Create(kProgId);
  struct FailureCase {
    const char* name;
    std::string frame;
  };
  const FailureCase cases[] = {
      {"blank area", std::string(128, 'F')},
      {"return frame", BuildReturnAreaFrame({1, 1, 1})},
      {"garbage", "68ZZ"},
  };
  for (const FailureCase& c : cases) {
    WriteAreaReading r;
    std::string description;
    EXPECT_EQ(StatusOf([&] { r.Read(server, c.frame); }, &description), E_INVALIDARG) << c.name;
    EXPECT_NE(description.find("no write-area frame"), std::string::npos)
        << c.name << ": " << description;
    EXPECT_EQ(r.card_id, -1) << c.name << ": outputs untouched";
  }

  com::Variant null;
  V_VT(null.get()) = VT_NULL;
  DispatchArguments null_frame;
  null_frame.AddByRef(*null.get());
  ReturnAreaReading r;
  std::string description;
  EXPECT_EQ(StatusOf([&] { r.Read(server, null_frame); }, &description), DISP_E_TYPEMISMATCH);
  EXPECT_NE(description.find("Null"), std::string::npos) << description;
  EXPECT_EQ(r.kh, -1);

  DispatchArguments seven_digits;
  seven_digits.Add(LONG{1000000}).Add(LONG{1});
  for (int i = 0; i < 6; ++i) seven_digits.Add(0.0);
  seven_digits.Add(LONG{9}).Add(LONG{1});
  com::Variant frame;
  EXPECT_EQ(StatusOf([&] { server.Call(L"CreateSdPurchaseCard", seven_digits, frame.get()); },
                     &description),
            E_INVALIDARG);
  EXPECT_NE(description.find("card number 1000000"), std::string::npos) << description;
}

TEST_F(MorlinServer, ObjectsAreAnsweredFromTheirOwnTypeInformation) {
  com::ComPtr<IDispatch> object;
  ASSERT_EQ(Factory()->CreateInstance(nullptr, IID_IDispatch, object.PutVoid()), S_OK);
  com::ComPtr<ITypeInfo> info;
  ASSERT_EQ(object->GetTypeInfo(0, 0, info.Put()), S_OK);
  TYPEATTR* attributes = nullptr;
  ASSERT_EQ(info->GetTypeAttr(&attributes), S_OK);
  EXPECT_TRUE(IsEqualGUID(attributes->guid, Guid(kIid)));
  info->ReleaseTypeAttr(attributes);

  com::ComPtr<IUnknown> by_iid;
  EXPECT_EQ(object->QueryInterface(Guid(kIid), by_iid.PutVoid()), S_OK);
  com::ComPtr<ISupportErrorInfo> errors;
  ASSERT_EQ(object->QueryInterface(IID_ISupportErrorInfo, errors.PutVoid()), S_OK);
  EXPECT_EQ(errors->InterfaceSupportsErrorInfo(Guid(kIid)), S_OK);
  EXPECT_EQ(errors->InterfaceSupportsErrorInfo(IID_IClassFactory), S_FALSE);
  com::ComPtr<IUnknown> none;
  EXPECT_EQ(object->QueryInterface(IID_IClassFactory, none.PutVoid()), E_NOINTERFACE);
}

TEST_F(MorlinServer, EveryCreationMakesANewObjectAndUnloadWaitsForObjectsAndLocks) {
  const auto can_unload = Entry("DllCanUnloadNow");
  ASSERT_EQ(can_unload(), S_OK);
  {
    com::ComPtr<IClassFactory> factory = Factory();
    EXPECT_EQ(can_unload(), S_FALSE) << "a live factory";
    com::ComPtr<IUnknown> first, second;
    ASSERT_EQ(factory->CreateInstance(nullptr, IID_IUnknown, first.PutVoid()), S_OK);
    ASSERT_EQ(factory->CreateInstance(nullptr, IID_IUnknown, second.PutVoid()), S_OK);
    EXPECT_NE(first.Get(), second.Get());
    com::ComPtr<IUnknown> aggregated;
    EXPECT_EQ(factory->CreateInstance(first.Get(), IID_IUnknown, aggregated.PutVoid()),
              CLASS_E_NOAGGREGATION);
    EXPECT_EQ(factory->LockServer(TRUE), S_OK);
  }
  EXPECT_EQ(can_unload(), S_FALSE) << "a server lock";
  ASSERT_EQ(Factory()->LockServer(FALSE), S_OK);
  EXPECT_EQ(can_unload(), S_OK);
  {
    const AutomationObject server = AutomationObject::Create(kProgId);
    EXPECT_EQ(can_unload(), S_FALSE) << "an object created by ProgID";
  }
  EXPECT_EQ(can_unload(), S_OK);

  com::ComPtr<IClassFactory> other;
  EXPECT_EQ(server_.GetClassObject(Guid(kIid), IID_IClassFactory, other.PutVoid()),
            CLASS_E_CLASSNOTAVAILABLE);
}

TEST(DispatchArguments, StandLastToFirstAsDispparamsHoldsThem) {
  LONG count = 0;
  DispatchArguments arguments;
  arguments.Add(LONG{1}).Add(2.5).Add(std::wstring_view(L"three")).AddByRef(count);
  const std::vector<VARIANT> reversed = arguments.Reversed();
  ASSERT_EQ(reversed.size(), 4u);
  EXPECT_EQ(V_VT(&reversed[0]), VT_BYREF | VT_I4);
  EXPECT_EQ(V_I4REF(&reversed[0]), &count);
  EXPECT_EQ(V_VT(&reversed[1]), VT_BSTR);
  EXPECT_EQ(V_VT(&reversed[2]), VT_R8);
  EXPECT_EQ(V_VT(&reversed[3]), VT_I4);
  EXPECT_EQ(V_I4(&reversed[3]), 1);
}

}  // namespace
}  // namespace wenlock::morlin
