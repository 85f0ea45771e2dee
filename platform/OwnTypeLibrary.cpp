#include "OwnTypeLibrary.h"

#include "ComError.h"
#include "ComModule.h"

namespace wenlock::com {
namespace {

TYPEKIND KindOf(ITypeInfo* info, WORD* flags) {
  TYPEATTR* attributes = nullptr;
  ThrowIfFailed(info->GetTypeAttr(&attributes), "Type information unreadable");
  const TYPEKIND kind = attributes->typekind;
  *flags = attributes->wTypeFlags;
  info->ReleaseTypeAttr(attributes);
  return kind;
}

}  // namespace

ComPtr<ITypeLib> LoadOwnTypeLibrary() {
  ComPtr<ITypeLib> library;
  ThrowIfFailed(LoadTypeLibEx(ThisModulePath().c_str(), REGKIND_NONE, library.Put()),
                "The module's type library cannot be loaded");
  return library;
}

ComPtr<ITypeInfo> LoadOwnTypeInfo(REFIID iid) {
  ComPtr<ITypeInfo> info;
  ThrowIfFailed(LoadOwnTypeLibrary()->GetTypeInfoOfGuid(iid, info.Put()),
                "The module's type library lacks the interface");
  WORD flags = 0;
  if (KindOf(info.Get(), &flags) != TKIND_DISPATCH || !(flags & TYPEFLAG_FDUAL)) return info;
  HREFTYPE vtable_part = 0;
  ThrowIfFailed(info->GetRefTypeOfImplType(static_cast<UINT>(-1), &vtable_part),
                "Dual interface without its vtable part");
  ComPtr<ITypeInfo> vtable_info;
  ThrowIfFailed(info->GetRefTypeInfo(vtable_part, vtable_info.Put()),
                "Dual interface without its vtable part");
  return vtable_info;
}

}  // namespace wenlock::com
