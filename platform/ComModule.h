// The in-process server module as a whole: where it lives on disk, and how many objects and server
// locks keep it loaded (what DllCanUnloadNow reports).
#pragma once

#include <windows.h>

#include <string>

namespace wenlock::com {

// The module (DLL or program) this code is linked into, found from the address of its own code,
// so no DllMain is needed to remember it.
HMODULE ThisModule();
// The full path of ThisModule(), as GetModuleFileNameW gives it. Throws ComError.
std::wstring ThisModulePath();

// Every live object and class factory of the module holds one count; every LockServer(TRUE) one lock.
void AddObject();
void ReleaseObject();
void AddLock();
void ReleaseLock();
// S_OK when no object and no lock exist, else S_FALSE.
HRESULT CanUnloadNow();

}  // namespace wenlock::com
