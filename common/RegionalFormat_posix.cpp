#include <cstdio>

#include "Platform.h"

namespace wenlock {

std::string RegionalDateTimeText(const LocalDateTime& when) {
  char text[64];
  std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d", when.year, when.month, when.day,
                when.hour, when.minute, when.second);
  return text;
}

}  // namespace wenlock
