#include "TestSupport.h"

#include <atomic>
#include <ctime>
#include <fstream>
#include <sstream>
#include <stdexcept>

#ifdef _WIN32
#include <windows.h>
#else
#include <iconv.h>
#include <unistd.h>
#endif

namespace wenlock::testing {

ScopedCurrentDir::ScopedCurrentDir() : previous_(std::filesystem::current_path()) {
  static std::atomic<int> counter{0};
#ifdef _WIN32
  const long process = static_cast<long>(GetCurrentProcessId());
#else
  const long process = static_cast<long>(getpid());
#endif
  dir_ = std::filesystem::temp_directory_path() /
         ("wenlock-test-" + std::to_string(process) + "-" + std::to_string(counter++));
  std::filesystem::remove_all(dir_);
  std::filesystem::create_directories(dir_);
  std::filesystem::current_path(dir_);
}

ScopedCurrentDir::~ScopedCurrentDir() {
  std::error_code ignored;
  std::filesystem::current_path(previous_, ignored);
  std::filesystem::remove_all(dir_, ignored);
}

FixedClock::FixedClock(const LocalDateTime& when) : now_(when) {
  previous_ = SetClockHook([this] { return now_; });
}

FixedClock::~FixedClock() { SetClockHook(previous_); }

LocalDateTime MakeDateTime(int year, int month, int day, int hour, int minute, int second,
                           int millisecond) {
  std::tm parts{};
  parts.tm_year = year - 1900;
  parts.tm_mon = month - 1;
  parts.tm_mday = day;
  parts.tm_hour = 12;
  std::mktime(&parts);  // fills in the day of the week
  LocalDateTime when;
  when.year = year;
  when.month = month;
  when.day = day;
  when.dayOfWeek = parts.tm_wday;
  when.hour = hour;
  when.minute = minute;
  when.second = second;
  when.millisecond = millisecond;
  return when;
}

std::string ReadWholeFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream content;
  content << in.rdbuf();
  return content.str();
}

void WriteWholeFile(const std::filesystem::path& path, std::string_view content) {
  std::ofstream out(path, std::ios::binary);
  out.write(content.data(), static_cast<std::streamsize>(content.size()));
}

std::string GbkToUtf8(std::string_view gbk) {
  if (gbk.empty()) return {};
#ifdef _WIN32
  const int wide_length = MultiByteToWideChar(936, MB_ERR_INVALID_CHARS, gbk.data(),
                                              static_cast<int>(gbk.size()), nullptr, 0);
  if (wide_length <= 0) throw std::runtime_error("not GBK");
  std::wstring wide(static_cast<std::size_t>(wide_length), L'\0');
  MultiByteToWideChar(936, 0, gbk.data(), static_cast<int>(gbk.size()), wide.data(), wide_length);
  const int length = WideCharToMultiByte(CP_UTF8, 0, wide.data(), wide_length, nullptr, 0, nullptr,
                                         nullptr);
  std::string utf8(static_cast<std::size_t>(length), '\0');
  WideCharToMultiByte(CP_UTF8, 0, wide.data(), wide_length, utf8.data(), length, nullptr, nullptr);
  return utf8;
#else
  iconv_t converter = iconv_open("UTF-8", "GBK");
  if (converter == reinterpret_cast<iconv_t>(-1)) throw std::runtime_error("no GBK converter");
  std::string input(gbk);
  std::string output(input.size() * 2 + 4, '\0');
  char* in = input.data();
  char* out = output.data();
  std::size_t in_left = input.size();
  std::size_t out_left = output.size();
  const std::size_t converted = iconv(converter, &in, &in_left, &out, &out_left);
  iconv_close(converter);
  if (converted == static_cast<std::size_t>(-1)) throw std::runtime_error("not GBK");
  output.resize(output.size() - out_left);
  return output;
#endif
}

}  // namespace wenlock::testing
