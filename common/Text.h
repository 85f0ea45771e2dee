// Text and number primitives shared by every unit: 1-based forgiving copies, trimming, strict number
// reading and the real text of a number. Texts are single-byte GBK held in std::string.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>

namespace wenlock {

// Raised when a text does not read as the number needed. Never leaves an export.
class ConversionError : public std::runtime_error {
 public:
  explicit ConversionError(const std::string& what) : std::runtime_error(what) {}
};

// Raised when a file or folder operation fails. Never leaves an export.
class IoError : public std::runtime_error {
 public:
  explicit IoError(const std::string& what) : std::runtime_error(what) {}
};

// Characters start..start+count-1 of text, positions counted from 1. A start below 1 reads as 1
// (the count is kept), a count below 1 gives the empty text, and the range is clipped to the text.
std::string Copy(std::string_view text, std::int64_t start, std::int64_t count);

// Characters from position start (1-based) to the end.
std::string CopyFrom(std::string_view text, std::int64_t start);

// Removes leading and trailing blanks and control characters (every byte up to 0x20).
std::string Trim(std::string_view text);

// Strict number reading. Leading and trailing blanks are allowed; anything else that is not part of
// the number raises ConversionError.
std::int32_t StrToInt(std::string_view text);      // [+-]digits, 32-bit range
std::int64_t StrToInt64(std::string_view text);    // [+-]digits, 64-bit range
double StrToFloat(std::string_view text);          // [+-]digits[.digits][E[+-]digits], "." only
std::uint32_t HexToUInt(std::string_view text);    // 1 to 8 hexadecimal digits, either case

bool TryStrToInt(std::string_view text, std::int32_t& value);
bool TryStrToFloat(std::string_view text, double& value);

// The real text of a number: rounded to 15 significant digits, no trailing zeros, no decimal point
// for whole numbers, "-" for negative values, and the exponent form (1E20, 1.5E-7) only for more than
// 15 integer digits or magnitudes below 0.00001. The decimal separator is always ".", because every
// step that reads such a text back looks for ".".
std::string RealText(double value);

// Upper-case hexadecimal digits of value, left-padded with "0" to at least `digits` characters.
// A negative value is written as its 32-bit two's complement.
std::string IntToHex(std::int64_t value, int digits);

// Left-pads text with `fill` to at least `width` characters.
std::string PadLeft(std::string_view text, std::size_t width, char fill);

}  // namespace wenlock
