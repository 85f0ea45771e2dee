#include "Platform.h"

#include <chrono>
#include <ctime>
#include <mutex>
#include <thread>
#include <utility>

namespace wenlock {
namespace {

std::mutex g_hook_mutex;
ClockHook g_clock;
PauseHook g_pause;

LocalDateTime SystemNow() {
  const auto now = std::chrono::system_clock::now();
  const std::time_t seconds = std::chrono::system_clock::to_time_t(now);
  const auto millis =
      std::chrono::duration_cast<std::chrono::milliseconds>(now.time_since_epoch()).count() % 1000;
  std::tm parts{};
#ifdef _WIN32
  localtime_s(&parts, &seconds);
#else
  localtime_r(&seconds, &parts);
#endif
  LocalDateTime local;
  local.year = parts.tm_year + 1900;
  local.month = parts.tm_mon + 1;
  local.day = parts.tm_mday;
  local.dayOfWeek = parts.tm_wday;
  local.hour = parts.tm_hour;
  local.minute = parts.tm_min;
  local.second = parts.tm_sec;
  local.millisecond = static_cast<int>(millis);
  return local;
}

}  // namespace

LocalDateTime LocalNow() {
  ClockHook clock;
  {
    std::lock_guard<std::mutex> lock(g_hook_mutex);
    clock = g_clock;
  }
  return clock ? clock() : SystemNow();
}

ClockHook SetClockHook(ClockHook hook) {
  std::lock_guard<std::mutex> lock(g_hook_mutex);
  return std::exchange(g_clock, std::move(hook));
}

void Pause(unsigned milliseconds) {
  PauseHook pause;
  {
    std::lock_guard<std::mutex> lock(g_hook_mutex);
    pause = g_pause;
  }
  if (pause) {
    pause(milliseconds);
  } else {
    std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
  }
}

PauseHook SetPauseHook(PauseHook hook) {
  std::lock_guard<std::mutex> lock(g_hook_mutex);
  return std::exchange(g_pause, std::move(hook));
}

}  // namespace wenlock
