#include "Registration.h"

#include <oleauto.h>

#include <string>

#include "ComError.h"
#include "ComHandles.h"
#include "ComModule.h"
#include "OwnTypeLibrary.h"

namespace wenlock::com {
namespace {

class RegistryKey {
 public:
  RegistryKey(HKEY parent, const std::wstring& path) {
    ThrowIfFailed(HRESULT_FROM_WIN32(RegCreateKeyExW(parent, path.c_str(), 0, nullptr, 0,
                                                     KEY_WRITE, nullptr, &key_, nullptr)),
                  "Registry key cannot be written");
  }
  ~RegistryKey() { RegCloseKey(key_); }
  RegistryKey(const RegistryKey&) = delete;
  RegistryKey& operator=(const RegistryKey&) = delete;

  // An empty name sets the key's default value.
  void SetText(const wchar_t* name, std::wstring_view text) {
    const std::wstring value(text);
    ThrowIfFailed(HRESULT_FROM_WIN32(RegSetValueExW(
                      key_, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                      static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)))),
                  "Registry value cannot be written");
  }

 private:
  HKEY key_ = nullptr;
};

std::wstring GuidText(REFGUID guid) {
  wchar_t text[40] = {};
  StringFromGUID2(guid, text, 40);
  return text;
}

std::wstring ClassKeyPath(const ServerRegistration& server) {
  return L"CLSID\\" + GuidText(server.clsid);
}

// The key with everything below it, in this process's own registry view.
void DeleteTree(const std::wstring& path) {
  const LSTATUS status = RegDeleteTreeW(HKEY_CLASSES_ROOT, path.c_str());
  if (status != ERROR_SUCCESS && status != ERROR_FILE_NOT_FOUND) {
    throw ComError(HRESULT_FROM_WIN32(status), "Registry key cannot be removed");
  }
}

// The registry view of the other bitness: the 32-bit view seen from a 64-bit process and the
// 64-bit view from a 32-bit one (on 32-bit Windows both flags are ignored and this is our own view).
REGSAM OtherBitnessView() { return sizeof(void*) == 8 ? KEY_WOW64_32KEY : KEY_WOW64_64KEY; }

bool OtherBitnessRegistersClass(const ServerRegistration& server) {
  HKEY key = nullptr;
  const std::wstring path = ClassKeyPath(server) + L"\\InprocServer32";
  if (RegOpenKeyExW(HKEY_CLASSES_ROOT, path.c_str(), 0, KEY_READ | OtherBitnessView(), &key) !=
      ERROR_SUCCESS) {
    return false;
  }
  RegCloseKey(key);
  return true;
}

void WriteClassKeys(const ServerRegistration& server) {
  const std::wstring class_path = ClassKeyPath(server);
  RegistryKey(HKEY_CLASSES_ROOT, class_path).SetText(nullptr, server.description);
  RegistryKey inproc(HKEY_CLASSES_ROOT, class_path + L"\\InprocServer32");
  inproc.SetText(nullptr, ThisModulePath());
  inproc.SetText(L"ThreadingModel", L"Apartment");
  RegistryKey(HKEY_CLASSES_ROOT, class_path + L"\\ProgID").SetText(nullptr, server.prog_id);

  const std::wstring prog_id(server.prog_id);
  RegistryKey(HKEY_CLASSES_ROOT, prog_id).SetText(nullptr, server.description);
  RegistryKey(HKEY_CLASSES_ROOT, prog_id + L"\\CLSID").SetText(nullptr, GuidText(server.clsid));
}

void RegisterOwnTypeLibrary() {
  std::wstring path = ThisModulePath();
  ThrowIfFailed(RegisterTypeLib(LoadOwnTypeLibrary().Get(), path.data(), nullptr),
                "The type library cannot be registered");
}

void UnregisterOwnTypeLibrary() {
  ComPtr<ITypeLib> library = LoadOwnTypeLibrary();
  TLIBATTR* attributes = nullptr;
  ThrowIfFailed(library->GetLibAttr(&attributes), "Type library unreadable");
  const TLIBATTR copy = *attributes;
  library->ReleaseTLibAttr(attributes);
  // Not registered (TYPE_E_REGISTRYACCESS and the like) is what we want: only the attempt matters.
  UnRegisterTypeLib(copy.guid, copy.wMajorVerNum, copy.wMinorVerNum, copy.lcid, copy.syskind);
}

}  // namespace

HRESULT RegisterServer(const ServerRegistration& server) noexcept {
  return GuardedEntry([&] {
    WriteClassKeys(server);
    RegisterOwnTypeLibrary();
    return S_OK;
  });
}

HRESULT UnregisterServer(const ServerRegistration& server) noexcept {
  return GuardedEntry([&] {
    UnregisterOwnTypeLibrary();
    DeleteTree(ClassKeyPath(server));
    if (!OtherBitnessRegistersClass(server)) DeleteTree(std::wstring(server.prog_id));
    return S_OK;
  });
}

}  // namespace wenlock::com
