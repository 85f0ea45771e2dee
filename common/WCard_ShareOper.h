// Text, time and file helpers shared by the frame and card units, and the daily action log.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "Platform.h"
#include "Text.h"

namespace wenlock {

// The text without its blanks (byte 0x20); every other character stays.
std::string DelBlank(std::string_view strs);

// Groups of `interval` characters, each followed by one blank; a short last group is dropped.
// An interval of 0 or below gives the empty text.
std::string InsertBlank(std::int32_t interval, std::string_view strs);

// Local time as "h : m : s : ms" and local date as "y - m - d - weekday" (0 = Sunday), plain decimals.
std::string GetSystemTime();
std::string ReadSystemDate();

// Binary digits of intData, most significant first, no leading zeros; 0 gives the empty text and a
// negative value gives "-" followed by the binary digits of its magnitude.
std::string inttobin(std::int32_t intData);

// Line number LineID (from 1) of a text file without its line break; "Err" for a negative LineID or
// an empty file name; the empty text for LineID 0 or past the end. Raises IoError when the file
// cannot be opened or read.
std::string GetTextFileLine(std::string_view LoadFileName, std::int32_t LineID);

// Appends one line (CR LF ended) to log<sep>WriteCard_yyyy-MM-dd.log under the current directory,
// creating the folder when missing. With showtime the line is the regional date-time, " : " and msg.
// Appends of concurrent threads are serialised. Raises IoError when the line cannot be written.
void ActionLog(bool showtime, std::string_view msg);

// The path of today's log file (relative to the current directory), as ActionLog writes it.
std::string ActionLogPath(const LocalDateTime& when);

}  // namespace wenlock
