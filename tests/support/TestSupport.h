// Small fixtures shared by the test programs.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

#include "Platform.h"

namespace wenlock::testing {

// Makes a fresh folder the current directory for the lifetime of the object (the action log is
// written under the current directory), then restores the old one and removes the folder.
class ScopedCurrentDir {
 public:
  ScopedCurrentDir();
  ~ScopedCurrentDir();
  ScopedCurrentDir(const ScopedCurrentDir&) = delete;
  ScopedCurrentDir& operator=(const ScopedCurrentDir&) = delete;
  const std::filesystem::path& path() const { return dir_; }

 private:
  std::filesystem::path previous_;
  std::filesystem::path dir_;
};

// Holds the local clock at a settable time while it lives.
class FixedClock {
 public:
  explicit FixedClock(const LocalDateTime& when);
  ~FixedClock();
  FixedClock(const FixedClock&) = delete;
  FixedClock& operator=(const FixedClock&) = delete;
  void Set(const LocalDateTime& when) { now_ = when; }

 private:
  LocalDateTime now_;
  ClockHook previous_;
};

LocalDateTime MakeDateTime(int year, int month, int day, int hour = 0, int minute = 0,
                           int second = 0, int millisecond = 0);

std::string ReadWholeFile(const std::filesystem::path& path);
void WriteWholeFile(const std::filesystem::path& path, std::string_view content);

// GBK (code page 936) bytes as UTF-8, for comparing the system's texts with readable expectations.
std::string GbkToUtf8(std::string_view gbk);

}  // namespace wenlock::testing
