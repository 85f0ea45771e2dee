// Registration of an in-process server's creatable class and of its embedded type library, for
// DllRegisterServer and DllUnregisterServer. Nothing here runs at load.
//
// Registry views: CLSID keys exist once per bitness, ProgID keys are shared. Unregistering one
// bitness therefore keeps the ProgID while the other bitness still registers the class. The type
// library's Interface keys are shared too and UnRegisterTypeLib removes them; a server of the other
// bitness that is still installed must be registered again after that.
#pragma once

#include <windows.h>

#include <string_view>

namespace wenlock::com {

struct ServerRegistration {
  const CLSID& clsid;
  std::wstring_view prog_id;      // e.g. L"Brackwell.Morlin"
  std::wstring_view description;  // the class's description
};

// CLSID\{clsid} (description, InprocServer32 = this module's path, ThreadingModel "Apartment",
// ProgID), ProgID\CLSID, and the type library of TYPELIB 1 through RegisterTypeLib. Never throws.
HRESULT RegisterServer(const ServerRegistration& server) noexcept;
// Removes all of the above that exists; a missing key is no failure. Never throws.
HRESULT UnregisterServer(const ServerRegistration& server) noexcept;

}  // namespace wenlock::com
