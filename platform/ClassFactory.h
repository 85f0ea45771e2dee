// The class factory of a creatable class: multi-instance (every CreateInstance makes a new object),
// LockServer counted by the module. DllGetClassObject hands one out through GetClassObject.
#pragma once

#include <windows.h>

#include "ComHandles.h"

namespace wenlock::com {

// Makes a new object and hands out its interface iid. May throw; the factory catches.
using ObjectCreator = HRESULT (*)(REFIID iid, void** out);

struct CreatableClass {
  const CLSID& clsid;
  ObjectCreator create;
};

// The creator for a class whose default constructor leaves one reference with the caller.
template <typename Object>
HRESULT CreateObject(REFIID iid, void** out) {
  Object* object = new Object();
  const HRESULT result = object->QueryInterface(iid, out);
  object->Release();
  return result;
}

// DllGetClassObject for one creatable class: CLASS_E_CLASSNOTAVAILABLE for any other clsid.
HRESULT GetClassObject(const CreatableClass& creatable, REFCLSID clsid, REFIID iid,
                       void** out) noexcept;

}  // namespace wenlock::com
