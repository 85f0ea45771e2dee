#include "Text.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace wenlock {
namespace {

TEST(RealText, WritesFifteenSignificantDigitsWithoutTrailingZeros) {
  const struct {
    double value;
    const char* text;
  } cases[] = {
      {12.5, "12.5"},
      {150.0, "150"},
      {-3, "-3"},
      {0, "0"},
      {1e20, "1E20"},
      {1e-6, "1E-6"},
      {1.5e-7, "1.5E-7"},
      {0.00001, "0.00001"},
      {12.34 * 100, "1234"},  // 1233.9999999999998 rounds at 15 digits
      {0.1 + 0.2, "0.3"},
      {123456789012345.0, "123456789012345"},
      {1234567890123456.0, "1.23456789012346E15"},
      {999999999999999.0, "999999999999999"},
      {-0.125, "-0.125"},
      {1234.5, "1234.5"},
  };
  for (const auto& c : cases) EXPECT_EQ(RealText(c.value), c.text) << c.value;
}

TEST(RealText, NamesValuesThatAreNotNumbers) {
  EXPECT_EQ(RealText(std::numeric_limits<double>::quiet_NaN()), "NAN");
  EXPECT_EQ(RealText(std::numeric_limits<double>::infinity()), "INF");
  EXPECT_EQ(RealText(-std::numeric_limits<double>::infinity()), "-INF");
}

TEST(Copy, CountsFromOneAndClipsToTheText) {
  const struct {
    std::int64_t start, count;
    const char* expected;
  } cases[] = {
      {1, 2, "ab"}, {3, 10, "cde"}, {0, 2, "ab"}, {-5, 1, "a"},
      {6, 1, ""},   {2, 0, ""},     {2, -1, ""},  {5, 1, "e"},
  };
  for (const auto& c : cases) EXPECT_EQ(Copy("abcde", c.start, c.count), c.expected) << c.start;
  EXPECT_EQ(CopyFrom("abcde", 4), "de");
}

TEST(Trim, RemovesBlanksAndControlCharactersAtBothEnds) {
  EXPECT_EQ(Trim(" \t12 34\r\n"), "12 34");
  EXPECT_EQ(Trim("\x01\x1F"), "");
}

TEST(StrToInt, ReadsDecimalIntegersStrictly) {
  EXPECT_EQ(StrToInt("42"), 42);
  EXPECT_EQ(StrToInt(" -7 "), -7);
  EXPECT_EQ(StrToInt("+5"), 5);
  EXPECT_EQ(StrToInt("-2147483648"), std::numeric_limits<std::int32_t>::min());
  for (const char* bad : {"", " ", "1.5", "12a", "0x10", "2147483648", "--1", "+", "1 2"}) {
    EXPECT_THROW(StrToInt(bad), ConversionError) << bad;
  }
  EXPECT_EQ(StrToInt64("9223372036854775807"), std::numeric_limits<std::int64_t>::max());
  EXPECT_THROW(StrToInt64("9223372036854775808"), ConversionError);
}

TEST(StrToFloat, ReadsDecimalNumbersWithAPointOnly) {
  const struct {
    const char* text;
    double value;
  } good[] = {{"12.5", 12.5}, {"12.", 12}, {".75", 0.75}, {"-3", -3}, {"1E3", 1000}, {" 2 ", 2}};
  for (const auto& c : good) EXPECT_DOUBLE_EQ(StrToFloat(c.text), c.value) << c.text;
  for (const char* bad : {"", ".", "1,5", "1.2.3", "abc", "1E", "inf", "nan", "1e999"}) {
    EXPECT_THROW(StrToFloat(bad), ConversionError) << bad;
  }
}

TEST(HexToUInt, ReadsOneToEightHexDigitsOfEitherCase) {
  EXPECT_EQ(HexToUInt("4a"), 0x4Au);
  EXPECT_EQ(HexToUInt("FFFFFFFF"), 0xFFFFFFFFu);
  for (const char* bad : {"", "G1", "-1", "123456789", " 1"}) {
    EXPECT_THROW(HexToUInt(bad), ConversionError) << bad;
  }
}

TEST(IntToHex, PadsAndWritesNegativesAsTwosComplement) {
  EXPECT_EQ(IntToHex(0x39, 4), "0039");
  EXPECT_EQ(IntToHex(0x12345, 4), "12345");
  EXPECT_EQ(IntToHex(-1, 2), "FFFFFFFF");
  EXPECT_EQ(IntToHex(255, 0), "FF");
}

}  // namespace
}  // namespace wenlock
