// The export table of a loaded Windows module, as loaders see it: name to ordinal.
#pragma once

#include <windows.h>

#include <map>
#include <string>

namespace wenlock::testing {

inline std::map<std::string, unsigned> PeExportTable(HMODULE module) {
  const auto* base = reinterpret_cast<const BYTE*>(module);
  const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
  const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
  const IMAGE_DATA_DIRECTORY& entry = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_EXPORT];
  const auto* exports = reinterpret_cast<const IMAGE_EXPORT_DIRECTORY*>(base + entry.VirtualAddress);
  const auto* names = reinterpret_cast<const DWORD*>(base + exports->AddressOfNames);
  const auto* ordinals = reinterpret_cast<const WORD*>(base + exports->AddressOfNameOrdinals);
  std::map<std::string, unsigned> table;
  for (DWORD i = 0; i < exports->NumberOfNames; ++i) {
    table[reinterpret_cast<const char*>(base + names[i])] = exports->Base + ordinals[i];
  }
  return table;
}

}  // namespace wenlock::testing
