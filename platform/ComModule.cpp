#include "ComModule.h"

#include <atomic>

#include "ComError.h"

namespace wenlock::com {
namespace {

std::atomic<long> g_objects{0};
std::atomic<long> g_locks{0};

}  // namespace

HMODULE ThisModule() {
  HMODULE module = nullptr;
  GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS |
                         GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                     reinterpret_cast<LPCWSTR>(&ThisModule), &module);
  return module;
}

std::wstring ThisModulePath() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length =
        GetModuleFileNameW(ThisModule(), path.data(), static_cast<DWORD>(path.size()));
    if (length == 0) throw ComError(HRESULT_FROM_WIN32(GetLastError()), "Module path unknown");
    if (length < path.size()) {
      path.resize(length);
      return path;
    }
    path.resize(path.size() * 2);  // truncated: a longer path than MAX_PATH
  }
}

void AddObject() { ++g_objects; }
void ReleaseObject() { --g_objects; }
void AddLock() { ++g_locks; }
void ReleaseLock() { --g_locks; }

HRESULT CanUnloadNow() { return g_objects == 0 && g_locks == 0 ? S_OK : S_FALSE; }

}  // namespace wenlock::com
