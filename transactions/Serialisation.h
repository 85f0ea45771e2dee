// The lock that keeps the one reader from serving two transactions at once. Morvane serialises its
// own calls.
#pragma once

#include <mutex>

namespace wenlock {

// Held for a whole read or write: one reader on port 100 serves every transaction of the process.
std::mutex& ReaderPortLock();

}  // namespace wenlock
