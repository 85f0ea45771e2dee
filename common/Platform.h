// The few platform services the core needs, each behind a small seam: the local clock, the regional
// text form of a date-time, and the pauses between reader retries. Tests replace the clock and the
// pause so that they can run any day and record pauses instead of sleeping.
#pragma once

#include <functional>
#include <string>

namespace wenlock {

struct LocalDateTime {
  int year = 0;
  int month = 0;       // 1-12
  int day = 0;         // 1-31
  int dayOfWeek = 0;   // 0 Sunday ... 6 Saturday
  int hour = 0;
  int minute = 0;
  int second = 0;
  int millisecond = 0;
};

// Current local date and time, from the clock hook when one is set.
LocalDateTime LocalNow();

// Replaces the clock (an empty function restores the system clock); returns the previous hook.
using ClockHook = std::function<LocalDateTime()>;
ClockHook SetClockHook(ClockHook hook);

// The platform's default text of a date-time: on Windows the user's regional short date, a blank and
// the regional long time; elsewhere yyyy-MM-dd HH:mm:ss.
std::string RegionalDateTimeText(const LocalDateTime& when);

// Every pause of the system goes through here.
void Pause(unsigned milliseconds);

// Replaces the pause (an empty function restores real sleeping); returns the previous hook.
using PauseHook = std::function<void(unsigned milliseconds)>;
PauseHook SetPauseHook(PauseHook hook);

// The platform's path separator.
constexpr char kPathSeparator =
#ifdef _WIN32
    '\\';
#else
    '/';
#endif

}  // namespace wenlock
