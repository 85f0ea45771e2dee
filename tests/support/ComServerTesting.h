// Windows-only helpers for tests of the project's COM servers: a server DLL of this build registered
// through its own entry points for the lifetime of an object, and probes of the registry.
#pragma once

#include <windows.h>

#include <string>

#include "LoadedLibrary.h"

namespace wenlock::testing {

using ServerEntryPoint = HRESULT(STDAPICALLTYPE*)();
using GetClassObjectEntryPoint = HRESULT(STDAPICALLTYPE*)(REFCLSID, REFIID, void**);

// Loads the DLL and calls its DllRegisterServer; the destructor calls DllUnregisterServer, so the
// prefix is left as it was.
class RegisteredServer {
 public:
  explicit RegisteredServer(const std::string& dll);
  ~RegisteredServer();
  RegisteredServer(const RegisteredServer&) = delete;
  RegisteredServer& operator=(const RegisteredServer&) = delete;

  const LoadedLibrary& library() const { return library_; }
  HRESULT registration() const { return registration_; }
  std::wstring ModulePath() const;
  // An entry point of the DLL (null, and a test failure, when it is missing).
  ServerEntryPoint Entry(const char* name) const;
  // The class factory straight from the DLL, as COM gets it.
  HRESULT GetClassObject(REFCLSID clsid, REFIID iid, void** object) const;

 private:
  LoadedLibrary library_;
  HRESULT registration_ = E_FAIL;
};

// Under HKEY_CLASSES_ROOT, in the given registry view (0: the process's own).
bool RegistryKeyExists(const std::wstring& path, REGSAM view = 0);
// The value as text, or "<missing>".
std::wstring RegistryText(const std::wstring& path, const wchar_t* name = nullptr);

}  // namespace wenlock::testing
