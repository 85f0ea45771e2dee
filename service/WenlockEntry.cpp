// The four entry points of the in-process server Wenlock.WenlockCOM. Each returns an HRESULT;
// nothing throws out. Nothing runs at load: registration happens only through regsvr32.
#include <windows.h>

#include "ClassFactory.h"
#include "ComModule.h"
#include "Registration.h"
#include "Wenlock_TLB_h.h"
#include "Wenlock_inter.h"

namespace {

const wenlock::com::CreatableClass kWenlockClass{CLSID_WenlockCOM, wenlock::CreateWenlockCOM};
const wenlock::com::ServerRegistration kWenlockRegistration{CLSID_WenlockCOM, L"Wenlock.WenlockCOM",
                                                            L"WenlockCOM Object"};

}  // namespace

STDAPI DllGetClassObject(REFCLSID clsid, REFIID iid, void** out) {
  return wenlock::com::GetClassObject(kWenlockClass, clsid, iid, out);
}

STDAPI DllCanUnloadNow() { return wenlock::com::CanUnloadNow(); }

STDAPI DllRegisterServer() { return wenlock::com::RegisterServer(kWenlockRegistration); }

STDAPI DllUnregisterServer() { return wenlock::com::UnregisterServer(kWenlockRegistration); }
