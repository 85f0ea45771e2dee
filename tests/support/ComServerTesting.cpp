#include "ComServerTesting.h"

#include <gtest/gtest.h>

namespace wenlock::testing {

RegisteredServer::RegisteredServer(const std::string& dll) : library_(dll) {
  if (const auto entry = library_.Get<ServerEntryPoint>("DllRegisterServer")) {
    registration_ = entry();
  }
}

RegisteredServer::~RegisteredServer() {
  if (const auto entry = library_.Get<ServerEntryPoint>("DllUnregisterServer")) entry();
}

std::wstring RegisteredServer::ModulePath() const {
  wchar_t path[MAX_PATH] = {};
  GetModuleFileNameW(library_.handle(), path, MAX_PATH);
  return path;
}

ServerEntryPoint RegisteredServer::Entry(const char* name) const {
  const auto entry = library_.Get<ServerEntryPoint>(name);
  EXPECT_NE(entry, nullptr) << name;
  return entry;
}

HRESULT RegisteredServer::GetClassObject(REFCLSID clsid, REFIID iid, void** object) const {
  const auto get = library_.Get<GetClassObjectEntryPoint>("DllGetClassObject");
  return get ? get(clsid, iid, object) : E_NOTIMPL;
}

bool RegistryKeyExists(const std::wstring& path, REGSAM view) {
  HKEY key = nullptr;
  if (RegOpenKeyExW(HKEY_CLASSES_ROOT, path.c_str(), 0, KEY_READ | view, &key) != ERROR_SUCCESS) {
    return false;
  }
  RegCloseKey(key);
  return true;
}

std::wstring RegistryText(const std::wstring& path, const wchar_t* name) {
  wchar_t text[1024] = {};
  DWORD size = sizeof(text);
  if (RegGetValueW(HKEY_CLASSES_ROOT, path.c_str(), name, RRF_RT_REG_SZ, nullptr, text, &size) !=
      ERROR_SUCCESS) {
    return L"<missing>";
  }
  return text;
}

}  // namespace wenlock::testing
