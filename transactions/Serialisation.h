// The locks that keep shared things from being used by two calls at once.
#pragma once

#include <mutex>

namespace wenlock {

// Held for a whole read or write: one reader on port 100 serves every transaction of the process.
std::mutex& ReaderPortLock();

// Held for each Morvane call: the library keeps the frame it built and read in module state.
std::mutex& MorvaneLock();

}  // namespace wenlock
