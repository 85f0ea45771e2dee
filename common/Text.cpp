#include "Text.h"

#include <cctype>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>

namespace wenlock {

std::string Copy(std::string_view text, std::int64_t start, std::int64_t count) {
  if (start < 1) start = 1;
  const auto size = static_cast<std::int64_t>(text.size());
  if (count < 1 || start > size) return {};
  const std::int64_t available = size - start + 1;
  return std::string(text.substr(static_cast<std::size_t>(start - 1),
                                 static_cast<std::size_t>(count < available ? count : available)));
}

std::string CopyFrom(std::string_view text, std::int64_t start) {
  return Copy(text, start, std::numeric_limits<std::int64_t>::max());
}

std::string Trim(std::string_view text) {
  auto is_blank = [](char c) { return static_cast<unsigned char>(c) <= 0x20; };
  std::size_t first = 0;
  std::size_t last = text.size();
  while (first < last && is_blank(text[first])) ++first;
  while (last > first && is_blank(text[last - 1])) --last;
  return std::string(text.substr(first, last - first));
}

namespace {

std::string_view StripBlanks(std::string_view text) {
  while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
  while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
  return text;
}

[[noreturn]] void NotANumber(std::string_view text, const char* kind) {
  constexpr std::size_t kShown = 40;
  std::string shown(text.substr(0, kShown));
  if (text.size() > kShown) shown += "...";
  throw ConversionError("'" + shown + "' is not a valid " + kind);
}

// Reads [+-]digits into a 64-bit value; false when the text is not of that form or out of range.
bool ParseInteger(std::string_view text, std::int64_t& value) {
  text = StripBlanks(text);
  bool negative = false;
  if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
    negative = text.front() == '-';
    text.remove_prefix(1);
  }
  if (text.empty()) return false;
  std::uint64_t magnitude = 0;
  const auto* end = text.data() + text.size();
  const auto [ptr, ec] = std::from_chars(text.data(), end, magnitude, 10);
  if (ec != std::errc() || ptr != end) return false;
  constexpr auto kMax = static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max());
  if (magnitude > kMax + (negative ? 1 : 0)) return false;
  value = negative ? static_cast<std::int64_t>(0 - magnitude) : static_cast<std::int64_t>(magnitude);
  return true;
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Checks [+-]digits[.digits][E[+-]digits] with at least one mantissa digit.
bool IsDecimalNumber(std::string_view text) {
  std::size_t i = 0;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
  std::size_t digits = 0;
  while (i < text.size() && IsDigit(text[i])) ++i, ++digits;
  if (i < text.size() && text[i] == '.') {
    ++i;
    while (i < text.size() && IsDigit(text[i])) ++i, ++digits;
  }
  if (digits == 0) return false;
  if (i < text.size() && (text[i] == 'E' || text[i] == 'e')) {
    ++i;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
    std::size_t exponent_digits = 0;
    while (i < text.size() && IsDigit(text[i])) ++i, ++exponent_digits;
    if (exponent_digits == 0) return false;
  }
  return i == text.size();
}

bool ParseFloat(std::string_view text, double& value) {
  text = StripBlanks(text);
  if (!IsDecimalNumber(text)) return false;
  if (text.front() == '+') text.remove_prefix(1);
  // from_chars reads "12." and ".75" as well and never consults the process locale.
  const auto* end = text.data() + text.size();
  const auto [ptr, ec] = std::from_chars(text.data(), end, value, std::chars_format::general);
  return ec == std::errc() && ptr == end && std::isfinite(value);
}

}  // namespace

std::int32_t StrToInt(std::string_view text) {
  std::int32_t value = 0;
  if (!TryStrToInt(text, value)) NotANumber(text, "integer value");
  return value;
}

bool TryStrToInt(std::string_view text, std::int32_t& value) {
  std::int64_t wide = 0;
  if (!ParseInteger(text, wide) || wide < std::numeric_limits<std::int32_t>::min() ||
      wide > std::numeric_limits<std::int32_t>::max()) {
    return false;
  }
  value = static_cast<std::int32_t>(wide);
  return true;
}

std::int64_t StrToInt64(std::string_view text) {
  std::int64_t value = 0;
  if (!ParseInteger(text, value)) NotANumber(text, "integer value");
  return value;
}

double StrToFloat(std::string_view text) {
  double value = 0;
  if (!ParseFloat(text, value)) NotANumber(text, "floating point value");
  return value;
}

bool TryStrToFloat(std::string_view text, double& value) { return ParseFloat(text, value); }

std::uint32_t HexToUInt(std::string_view text) {
  std::uint32_t value = 0;
  const auto* end = text.data() + text.size();
  const auto [ptr, ec] = std::from_chars(text.data(), end, value, 16);
  // from_chars would accept a leading "-"; only plain digits are hexadecimal numbers here.
  if (text.empty() || text.size() > 8 || text.front() == '-' || ec != std::errc() || ptr != end) {
    NotANumber(text, "hexadecimal value");
  }
  return value;
}

std::string RealText(double value) {
  if (std::isnan(value)) return "NAN";
  if (std::isinf(value)) return value < 0 ? "-INF" : "INF";
  if (value == 0) return "0";

  constexpr int kPrecision = 15;
  char buffer[40];
  // d.dddddddddddddde[+-]x: the 15 significant digits, correctly rounded, and the decimal exponent.
  std::snprintf(buffer, sizeof buffer, "%.*e", kPrecision - 1, std::fabs(value));
  std::string digits;
  const char* p = buffer;
  for (; *p && *p != 'e'; ++p) {
    if (IsDigit(*p)) digits += *p;
  }
  const int exponent = std::atoi(p + 1);
  while (digits.size() > 1 && digits.back() == '0') digits.pop_back();

  std::string text = value < 0 ? "-" : "";
  if (exponent >= kPrecision || exponent < -5) {
    text += digits.substr(0, 1);
    if (digits.size() > 1) text += "." + digits.substr(1);
    text += "E" + std::to_string(exponent);
  } else if (exponent >= 0) {
    const auto integer_digits = static_cast<std::size_t>(exponent) + 1;
    if (digits.size() <= integer_digits) {
      text += digits + std::string(integer_digits - digits.size(), '0');
    } else {
      text += digits.substr(0, integer_digits) + "." + digits.substr(integer_digits);
    }
  } else {
    text += "0." + std::string(static_cast<std::size_t>(-exponent - 1), '0') + digits;
  }
  return text;
}

std::string IntToHex(std::int64_t value, int digits) {
  std::uint64_t bits = static_cast<std::uint64_t>(value);
  if (value < 0 && value >= std::numeric_limits<std::int32_t>::min()) bits &= 0xFFFFFFFFu;
  char buffer[17];
  const auto [ptr, ec] = std::to_chars(buffer, buffer + sizeof buffer, bits, 16);
  (void)ec;
  std::string text(buffer, ptr);
  for (auto& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return digits > 0 ? PadLeft(text, static_cast<std::size_t>(digits), '0') : text;
}

std::string PadLeft(std::string_view text, std::size_t width, char fill) {
  std::string padded;
  if (text.size() < width) padded.assign(width - text.size(), fill);
  padded += text;
  return padded;
}

}  // namespace wenlock
