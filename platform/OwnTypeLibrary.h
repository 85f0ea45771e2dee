// The type library embedded in this module as resource TYPELIB 1, loaded from the module's own file
// without touching the registry, so objects work whether or not the library is registered.
#pragma once

#include <windows.h>
#include <oleauto.h>

#include "ComHandles.h"

namespace wenlock::com {

// Throw ComError when the module carries no readable type library.
ComPtr<ITypeLib> LoadOwnTypeLibrary();
// The type information of interface iid; for a dual interface the vtable part, which is what
// ITypeInfo::Invoke calls through.
ComPtr<ITypeInfo> LoadOwnTypeInfo(REFIID iid);

}  // namespace wenlock::com
