// The four entry points of the in-process server. Each returns an HRESULT; nothing throws out.
#include <windows.h>

#include "ClassFactory.h"
#include "ComModule.h"
#include "MorlinObject.h"
#include "Morlin_h.h"
#include "Registration.h"

namespace {

const wenlock::com::CreatableClass kMorlinClass{CLSID_Morlin, wenlock::morlin::CreateMorlinObject};
const wenlock::com::ServerRegistration kMorlinRegistration{CLSID_Morlin, L"Brackwell.Morlin",
                                                           L"Brackwell Morlin (stand-in)"};

}  // namespace

STDAPI DllGetClassObject(REFCLSID clsid, REFIID iid, void** out) {
  return wenlock::com::GetClassObject(kMorlinClass, clsid, iid, out);
}

STDAPI DllCanUnloadNow() { return wenlock::com::CanUnloadNow(); }

STDAPI DllRegisterServer() { return wenlock::com::RegisterServer(kMorlinRegistration); }

STDAPI DllUnregisterServer() { return wenlock::com::UnregisterServer(kMorlinRegistration); }
