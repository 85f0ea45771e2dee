#include <windows.h>

#include "Platform.h"

namespace wenlock {

std::string RegionalDateTimeText(const LocalDateTime& when) {
  SYSTEMTIME time{};
  time.wYear = static_cast<WORD>(when.year);
  time.wMonth = static_cast<WORD>(when.month);
  time.wDay = static_cast<WORD>(when.day);
  time.wDayOfWeek = static_cast<WORD>(when.dayOfWeek);
  time.wHour = static_cast<WORD>(when.hour);
  time.wMinute = static_cast<WORD>(when.minute);
  time.wSecond = static_cast<WORD>(when.second);
  time.wMilliseconds = static_cast<WORD>(when.millisecond);
  char date_text[128] = "";
  char time_text[128] = "";
  GetDateFormatA(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &time, nullptr, date_text, sizeof date_text);
  GetTimeFormatA(LOCALE_USER_DEFAULT, 0, &time, nullptr, time_text, sizeof time_text);
  return std::string(date_text) + " " + time_text;
}

}  // namespace wenlock
