#include "WCard_ShareOper.h"

#include <algorithm>
#include <cstdio>
#include <memory>

namespace wenlock {

std::string DelBlank(std::string_view strs) {
  std::string kept;
  kept.reserve(strs.size());
  for (char c : strs) {
    if (c != ' ') kept += c;
  }
  return kept;
}

std::string InsertBlank(std::int32_t interval, std::string_view strs) {
  if (interval <= 0) return {};
  const auto width = static_cast<std::size_t>(interval);
  const std::size_t groups = strs.size() / width;
  std::string grouped;
  grouped.reserve(groups * (width + 1));
  for (std::size_t k = 0; k < groups; ++k) {
    grouped.append(strs.substr(k * width, width));
    grouped += ' ';
  }
  return grouped;
}

std::string GetSystemTime() {
  const LocalDateTime now = LocalNow();
  return std::to_string(now.hour) + " : " + std::to_string(now.minute) + " : " +
         std::to_string(now.second) + " : " + std::to_string(now.millisecond);
}

std::string ReadSystemDate() {
  const LocalDateTime now = LocalNow();
  return std::to_string(now.year) + " - " + std::to_string(now.month) + " - " +
         std::to_string(now.day) + " - " + std::to_string(now.dayOfWeek);
}

std::string inttobin(std::int32_t intData) {
  std::int64_t magnitude = intData < 0 ? -static_cast<std::int64_t>(intData) : intData;
  std::string digits;
  for (; magnitude != 0; magnitude /= 2) digits += static_cast<char>('0' + magnitude % 2);
  if (intData < 0) digits += '-';
  std::reverse(digits.begin(), digits.end());
  return digits;
}

namespace {

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

// Reads one line without its line break (LF or CR LF); false at the end of the file.
bool ReadLine(std::FILE* file, std::string& line) {
  line.clear();
  int c = 0;
  bool any = false;
  while ((c = std::fgetc(file)) != EOF) {
    any = true;
    if (c == '\n') break;
    line += static_cast<char>(c);
  }
  if (!line.empty() && line.back() == '\r') line.pop_back();
  return any;
}

}  // namespace

std::string GetTextFileLine(std::string_view LoadFileName, std::int32_t LineID) {
  if (LineID < 0 || LoadFileName.empty()) return "Err";
  const std::string name(LoadFileName);
  File file(std::fopen(name.c_str(), "rb"));
  if (!file) throw IoError("cannot open " + name);
  std::string line;
  for (std::int32_t read = 0; read < LineID; ++read) {
    if (!ReadLine(file.get(), line)) break;  // past the end every further line reads as empty
  }
  if (std::ferror(file.get())) throw IoError("cannot read " + name);
  return line;
}

}  // namespace wenlock
