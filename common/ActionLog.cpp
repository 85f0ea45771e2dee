#include <cstdio>
#include <filesystem>
#include <mutex>

#include "WCard_ShareOper.h"

namespace wenlock {
namespace {

constexpr const char* kLogFolder = "log";

std::mutex& LogMutex() {
  static std::mutex mutex;
  return mutex;
}

}  // namespace

std::string ActionLogPath(const LocalDateTime& when) {
  char name[48];
  std::snprintf(name, sizeof name, "WriteCard_%04d-%02d-%02d.log", when.year, when.month, when.day);
  return std::string(kLogFolder) + kPathSeparator + name;
}

void ActionLog(bool showtime, std::string_view msg) {
  const LocalDateTime now = LocalNow();
  std::string line = showtime ? RegionalDateTimeText(now) + " : " : std::string();
  line.append(msg);
  line += "\r\n";

  std::lock_guard<std::mutex> lock(LogMutex());
  std::error_code error;
  if (!std::filesystem::is_directory(kLogFolder, error)) {
    std::filesystem::create_directory(kLogFolder, error);
    if (error && !std::filesystem::is_directory(kLogFolder)) {
      throw IoError("cannot create the log folder: " + error.message());
    }
  }
  const std::string path = ActionLogPath(now);
  std::FILE* file = std::fopen(path.c_str(), "ab");
  if (!file) throw IoError("cannot open " + path);
  const bool written = std::fwrite(line.data(), 1, line.size(), file) == line.size();
  const bool closed = std::fclose(file) == 0;
  if (!written || !closed) throw IoError("cannot write " + path);
}

}  // namespace wenlock
