#include "FrameStru.h"

#include <initializer_list>

namespace wenlock {

namespace {

template <std::size_t N>
const TErrorEntry* FindEntry(const std::array<TErrorEntry, N>& table, std::string_view code) {
  for (const TErrorEntry& entry : table) {
    if (entry.Code == code) return &entry;
  }
  return nullptr;
}

}  // namespace

std::string_view ResultCodeMessage(std::string_view code) {
  for (const TErrorEntry* entry : {FindEntry(ErrorID_1, code), FindEntry(ErrorID_2, code),
                                   FindEntry(ErrorID_3, code), FindEntry(ErrorID_4, code)}) {
    if (entry != nullptr) return entry->Message;
  }
  return {};
}

}  // namespace wenlock
