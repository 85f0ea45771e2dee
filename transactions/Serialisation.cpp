#include "Serialisation.h"

namespace wenlock {

std::mutex& ReaderPortLock() {
  static std::mutex lock;
  return lock;
}

}  // namespace wenlock
