// The one retry rule of the reader unit: repeat a reader call a fixed number of times with a 100 ms
// pause between the calls (none after the last), stopping at the first success.
#pragma once

#include "Platform.h"

namespace wenlock::detail {

constexpr unsigned kReaderPauseMs = 100;

template <typename Attempt>
bool RetryWithPauses(int times, Attempt&& attempt) {
  for (int call = 1; call <= times; ++call) {
    if (attempt()) return true;
    if (call < times) Pause(kReaderPauseMs);
  }
  return false;
}

}  // namespace wenlock::detail
