// Wenlock.dll as an in-process server: what registration writes and removes, creation by ProgID,
// the class factory and unload counts, the type library and the version resource.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "CodePage.h"
#include "WenlockClient.h"

namespace wenlock::testing {
namespace {

constexpr wchar_t kClsid[] = L"{02EA9F6B-2160-4E78-A3B2-E03F6F8B3CAF}";
constexpr wchar_t kLibId[] = L"{F1C9CDEB-B75F-4B95-A58B-3840041A2388}";
constexpr wchar_t kIid[] = L"{FA03B6C6-47F4-4D69-8499-7467B779A552}";


std::wstring ClassKey() { return std::wstring(L"CLSID\\") + kClsid; }

class WenlockServer : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(apartment_.result(), S_OK);
    ASSERT_TRUE(server_.library().loaded());
    ASSERT_EQ(server_.registration(), S_OK);
  }
  ServerEntryPoint Entry(const char* name) const { return server_.Entry(name); }
  com::ComPtr<IClassFactory> Factory() const {
    com::ComPtr<IClassFactory> factory;
    EXPECT_EQ(server_.GetClassObject(CLSID_WenlockCOM, IID_IClassFactory, factory.PutVoid()), S_OK);
    return factory;
  }

  com::ScopedApartment apartment_;
  RegisteredWenlock server_;
};

TEST_F(WenlockServer, RegistrationWritesTheClassItsProgIdBothWaysAndTheTypeLibrary) {
  EXPECT_EQ(RegistryText(ClassKey()), L"WenlockCOM Object");
  EXPECT_EQ(RegistryText(ClassKey() + L"\\InprocServer32"), server_.ModulePath());
  EXPECT_EQ(RegistryText(ClassKey() + L"\\InprocServer32", L"ThreadingModel"), L"Apartment");
  EXPECT_EQ(RegistryText(ClassKey() + L"\\ProgID"), kWenlockProgId);
  EXPECT_EQ(RegistryText(std::wstring(kWenlockProgId) + L"\\CLSID"), kClsid);
  const wchar_t* platform = sizeof(void*) == 8 ? L"\\1.0\\409\\win64" : L"\\1.0\\409\\win32";
  EXPECT_EQ(RegistryText(std::wstring(L"TypeLib\\") + kLibId + platform), server_.ModulePath());
  EXPECT_EQ(RegistryText(std::wstring(L"TypeLib\\") + kLibId + L"\\1.0"), L"Wenlock Library");
  EXPECT_TRUE(RegistryKeyExists(std::wstring(L"Interface\\") + kIid));
}

TEST_F(WenlockServer, UnregistrationRemovesAllOfItAndCreationThenFails) {
  ASSERT_EQ(Entry("DllUnregisterServer")(), S_OK);
  EXPECT_FALSE(RegistryKeyExists(ClassKey()));
  EXPECT_FALSE(RegistryKeyExists(kWenlockProgId));
  EXPECT_FALSE(RegistryKeyExists(std::wstring(L"TypeLib\\") + kLibId));
  EXPECT_FALSE(RegistryKeyExists(std::wstring(L"Interface\\") + kIid));
  EXPECT_FALSE(CreateWenlock());
}

TEST_F(WenlockServer, ObjectByProgIdAnswersItsInterfacesAndReportsErrorsOnTheDualOne) {
  const com::ComPtr<IWenlockCOM> object = CreateWenlock();
  ASSERT_TRUE(object);
  com::ComPtr<IDispatch> dispatch;
  EXPECT_EQ(object->QueryInterface(IID_IDispatch, dispatch.PutVoid()), S_OK);
  com::ComPtr<ISupportErrorInfo> errors;
  ASSERT_EQ(object->QueryInterface(IID_ISupportErrorInfo, errors.PutVoid()), S_OK);
  EXPECT_EQ(errors->InterfaceSupportsErrorInfo(IID_IWenlockCOM), S_OK);
  com::ComPtr<IClassFactory> none;
  EXPECT_EQ(object->QueryInterface(IID_IClassFactory, none.PutVoid()), E_NOINTERFACE);
}

TEST_F(WenlockServer, GetIDsOfNamesFindsTheThreeMethods) {
  const com::ComPtr<IWenlockCOM> object = CreateWenlock();
  ASSERT_TRUE(object);
  const struct {
    const wchar_t* name;
    DISPID id;
  } methods[] = {{L"ReadErrorInfo", 201}, {L"Read_Card", 202}, {L"Write_Card", 203},
                 {L"read_card", 202}};
  for (const auto& method : methods) {
    LPOLESTR name = const_cast<LPOLESTR>(method.name);
    DISPID id = 0;
    EXPECT_EQ(object->GetIDsOfNames(IID_NULL, &name, 1, LOCALE_USER_DEFAULT, &id), S_OK);
    EXPECT_EQ(id, method.id) << com::Utf16ToGbk(method.name);
  }
  LPOLESTR unknown = const_cast<LPOLESTR>(L"ReadCard");
  DISPID id = 0;
  EXPECT_EQ(object->GetIDsOfNames(IID_NULL, &unknown, 1, LOCALE_USER_DEFAULT, &id),
            DISP_E_UNKNOWNNAME);
}

TEST_F(WenlockServer, EveryCreationRequestMakesANewObject) {
  const com::ComPtr<IWenlockCOM> first = CreateWenlock();
  const com::ComPtr<IWenlockCOM> second = CreateWenlock();
  ASSERT_TRUE(first && second);
  com::ComPtr<IUnknown> first_identity, second_identity;
  first->QueryInterface(IID_IUnknown, first_identity.PutVoid());
  second->QueryInterface(IID_IUnknown, second_identity.PutVoid());
  EXPECT_NE(first_identity.Get(), second_identity.Get());
}

TEST_F(WenlockServer, CanUnloadNowOnlyWithoutObjectsAndLocks) {
  const auto can_unload = Entry("DllCanUnloadNow");
  EXPECT_EQ(can_unload(), S_OK);
  com::ComPtr<IClassFactory> factory = Factory();
  ASSERT_TRUE(factory);
  com::ComPtr<IWenlockCOM> object;
  ASSERT_EQ(factory->CreateInstance(nullptr, IID_IWenlockCOM, object.PutVoid()), S_OK);
  factory.Reset();
  EXPECT_EQ(can_unload(), S_FALSE) << "an object lives";
  object.Reset();
  EXPECT_EQ(can_unload(), S_OK);

  factory = Factory();
  ASSERT_EQ(factory->LockServer(TRUE), S_OK);
  factory.Reset();
  EXPECT_EQ(can_unload(), S_FALSE) << "a server lock is held";
  factory = Factory();
  ASSERT_EQ(factory->LockServer(FALSE), S_OK);
  factory.Reset();
  EXPECT_EQ(can_unload(), S_OK);
}

TEST_F(WenlockServer, ClassFactoryServesOnlyItsClass) {
  com::ComPtr<IClassFactory> factory;
  EXPECT_EQ(server_.GetClassObject(IID_IWenlockCOM, IID_IClassFactory, factory.PutVoid()),
            CLASS_E_CLASSNOTAVAILABLE);
}

// The names of a method's parameters in the type information, after the method's own name.
std::vector<std::string> ParameterNames(ITypeInfo* info, const FUNCDESC& function) {
  std::vector<BSTR> names(function.cParams + 1);
  UINT count = 0;
  EXPECT_EQ(info->GetNames(function.memid, names.data(), function.cParams + 1, &count), S_OK);
  std::vector<std::string> texts;
  for (UINT i = 0; i < count; ++i) {
    if (i > 0) texts.push_back(com::Utf16ToGbk({names[i], SysStringLen(names[i])}));
    SysFreeString(names[i]);
  }
  return texts;
}

std::vector<USHORT> ParameterFlags(const FUNCDESC& function) {
  std::vector<USHORT> flags;
  for (SHORT i = 0; i < function.cParams; ++i) {
    const ELEMDESC& parameter = function.lprgelemdescParam[i];
    EXPECT_EQ(parameter.tdesc.vt == VT_PTR ? parameter.tdesc.lptdesc->vt : parameter.tdesc.vt,
              VT_VARIANT);
    flags.push_back(parameter.paramdesc.wParamFlags & (PARAMFLAG_FIN | PARAMFLAG_FOUT));
  }
  return flags;
}

TEST_F(WenlockServer, TypeLibraryNamesTheParametersAsTheRecordFields) {
  com::ComPtr<ITypeLib> library;
  ASSERT_EQ(LoadTypeLibEx(server_.ModulePath().c_str(), REGKIND_NONE, library.Put()), S_OK);
  TLIBATTR* attributes = nullptr;
  ASSERT_EQ(library->GetLibAttr(&attributes), S_OK);
  EXPECT_EQ(attributes->lcid, 0x0409u);
  EXPECT_EQ(attributes->wMajorVerNum, 1);
  EXPECT_EQ(attributes->wMinorVerNum, 0);
  library->ReleaseTLibAttr(attributes);
  com::Bstr help;
  library->GetDocumentation(-1, nullptr, help.Put(), nullptr, nullptr);
  EXPECT_EQ(help.view(), L"Wenlock Library");

  com::ComPtr<ITypeInfo> info;
  ASSERT_EQ(library->GetTypeInfoOfGuid(IID_IWenlockCOM, info.Put()), S_OK);
  com::Bstr interface_help;
  info->GetDocumentation(MEMBERID_NIL, nullptr, interface_help.Put(), nullptr, nullptr);
  EXPECT_EQ(interface_help.view(), L"Dispatch interface for WenlockCOM Object");
  com::ComPtr<ITypeInfo> coclass;
  ASSERT_EQ(library->GetTypeInfoOfGuid(CLSID_WenlockCOM, coclass.Put()), S_OK);
  com::Bstr class_help;
  coclass->GetDocumentation(MEMBERID_NIL, nullptr, class_help.Put(), nullptr, nullptr);
  EXPECT_EQ(class_help.view(), L"WenlockCOM Object");

  constexpr USHORT in = PARAMFLAG_FIN, out = PARAMFLAG_FOUT, in_out = PARAMFLAG_FIN | PARAMFLAG_FOUT;
  std::vector<std::string> read_names{"port"}, write_names;
  std::vector<USHORT> read_flags{in}, write_flags;
  for (std::size_t i = 1; i < ReadCardItemFields.size(); ++i) {
    read_names.emplace_back(ReadCardItemFields[i].Name);
    read_flags.push_back(ReadCardItemFields[i].Name == "code3" ? in_out : out);
  }
  for (const auto& field : WriteCardItemFields) {
    write_names.emplace_back(field.Name);
    write_flags.push_back(in);
  }
  write_names[0] = "port";
  write_names[30] = "notStopPowerBeginTime1";
  for (auto* names : {&read_names, &write_names}) names->push_back("errCode");
  read_flags.push_back(out);
  write_flags.push_back(out);

  const struct {
    const char* name;
    DISPID id;
    std::vector<std::string> parameters;
    std::vector<USHORT> flags;
  } methods[] = {
      {"ReadErrorInfo", 201, {"ErrorID", "ErrorInfo"}, {in, out}},
      {"Read_Card", 202, read_names, read_flags},
      {"Write_Card", 203, write_names, write_flags},
  };
  TYPEATTR* type = nullptr;
  ASSERT_EQ(info->GetTypeAttr(&type), S_OK);
  const WORD functions = type->cFuncs;
  info->ReleaseTypeAttr(type);
  ASSERT_EQ(functions, 7 + 3) << "IUnknown, IDispatch, then the three methods";
  for (UINT slot = 0; slot < 3; ++slot) {
    SCOPED_TRACE(methods[slot].name);
    FUNCDESC* function = nullptr;
    ASSERT_EQ(info->GetFuncDesc(7 + slot, &function), S_OK);
    EXPECT_EQ(function->memid, methods[slot].id);
    EXPECT_EQ(ParameterNames(info.Get(), *function), methods[slot].parameters);
    EXPECT_EQ(ParameterFlags(*function), methods[slot].flags);
    info->ReleaseFuncDesc(function);
  }
}

std::wstring VersionText(const std::vector<char>& block, const wchar_t* name) {
  wchar_t* text = nullptr;
  UINT length = 0;
  const std::wstring path = std::wstring(L"\\StringFileInfo\\040904B0\\") + name;
  if (!VerQueryValueW(block.data(), path.c_str(), reinterpret_cast<void**>(&text), &length)) {
    return L"<missing>";
  }
  return std::wstring(text, length ? length - 1 : 0);
}

TEST_F(WenlockServer, VersionResourceNamesTheProductAndVersion1000) {
  const std::wstring path = server_.ModulePath();
  const DWORD size = GetFileVersionInfoSizeW(path.c_str(), nullptr);
  ASSERT_GT(size, 0u);
  std::vector<char> block(size);
  ASSERT_TRUE(GetFileVersionInfoW(path.c_str(), 0, size, block.data()));
  EXPECT_EQ(VersionText(block, L"FileVersion"), L"1.0.0.0");
  EXPECT_EQ(VersionText(block, L"ProductVersion"), L"1.0.0.0");
  EXPECT_EQ(VersionText(block, L"CompanyName"), L"Wenlock");
  EXPECT_EQ(VersionText(block, L"ProductName"), L"Wenlock card layer");
  EXPECT_NE(VersionText(block, L"FileDescription").find(L"Wenlock.WenlockCOM"), std::wstring::npos);
}

}  // namespace
}  // namespace wenlock::testing
