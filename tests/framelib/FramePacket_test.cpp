// The text routines and field encodings every Morvane frame is made of.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "MorvaneCore.h"
#include "Text.h"

namespace {

using namespace morvane;

struct HexToIntCase {
  const char* text;
  std::int32_t value;
};

class MorvaneHexToInt : public ::testing::TestWithParam<HexToIntCase> {};

TEST_P(MorvaneHexToInt, SumsUpperCaseDigitsAsA32BitNumber) {
  EXPECT_EQ(hexToInt(GetParam().text), GetParam().value) << GetParam().text;
}

INSTANTIATE_TEST_SUITE_P(Examples, MorvaneHexToInt,
                         ::testing::Values(HexToIntCase{"0100", 256},
                                           HexToIntCase{"7f", 112},  // lower-case f counts as 0
                                           HexToIntCase{"", -1},
                                           HexToIntCase{"FFFFFFFF", -1},
                                           HexToIntCase{"80000000", std::numeric_limits<std::int32_t>::min()},
                                           HexToIntCase{"Z1", 1},
                                           HexToIntCase{"ABCDEF", 0xABCDEF}));

TEST(MorvaneByteSum, AddsBytesModulo256) {
  EXPECT_EQ(byteSum("6801"), "69");
  EXPECT_EQ(byteSum("FFFF"), "FE");
  EXPECT_EQ(byteSum(""), "00");
  EXPECT_EQ(byteSum("0102F"), "03");  // a trailing odd character is not a byte
}

struct ScaledDigitsCase {
  const char* number;
  std::int32_t width;
  std::int32_t decimals;
  const char* digits;
};

class MorvaneScaledDigits : public ::testing::TestWithParam<ScaledDigitsCase> {};

TEST_P(MorvaneScaledDigits, CutsPadsAndKeepsTheLastDigits) {
  const auto& c = GetParam();
  EXPECT_EQ(scaledDigits(c.number, c.width, c.decimals), c.digits) << c.number;
}

INSTANTIATE_TEST_SUITE_P(
    Examples, MorvaneScaledDigits,
    ::testing::Values(ScaledDigitsCase{"12.345", 8, 2, "00001234"},  // cut, never rounded
                      ScaledDigitsCase{"12.3", 8, 2, "00001230"},
                      ScaledDigitsCase{"12", 8, 2, "00001200"},
                      ScaledDigitsCase{"12.34", 8, 2, "00001234"},
                      ScaledDigitsCase{"123456789", 4, 0, "6789"},
                      ScaledDigitsCase{"0.015", 8, 2, "00000001"},
                      ScaledDigitsCase{"1234567.89", 8, 2, "23456789"},
                      ScaledDigitsCase{"-12.5", 8, 2, "-00001250"},
                      ScaledDigitsCase{"0012", 2, 0, "12"}));

TEST(MorvaneScaledDigits, RaisesForTextsThatAreNotDecimal) {
  for (const char* text : {"NAN", "INF", "1E20", "1.5E-7", "12a", "1-2"}) {
    EXPECT_THROW(scaledDigits(text, 8, 2), wenlock::ConversionError) << text;
  }
}

TEST(MorvaneTextRoutines, PadAndReverse) {
  EXPECT_EQ(zeroPadLeft(" 1234\t", 12), "000000001234");
  EXPECT_EQ(zeroPadLeft("12345678901234", 12), "12345678901234");
  EXPECT_EQ(reverseBytes("12345678"), "78563412");
  EXPECT_EQ(reverseBytes("12345"), "3412");
  EXPECT_EQ(reverseBytes("1"), "");
}

TEST(MorvaneHostWord, CarriesTheHostAddressInSixBitsLowByteFirst) {
  EXPECT_EQ(hostWordText(0), "0000");
  EXPECT_EQ(hostWordText(1), "0100");
  EXPECT_EQ(hostWordText(63), "3F00");
  EXPECT_EQ(hostWordText(64), "3F00");
  EXPECT_EQ(hostWordText(0xFFFF), "3F00");
}

TEST(MorvanePackFrame, AssemblesHeaderLengthDataChecksumAndEndByte) {
  Tfaalpkt_t p;
  p.addrByte1 = 0xAA;
  p.addrByte2 = 0xBB;
  p.addrWord = 0xCCDD;
  p.hostWord = 1;
  p.ctrlCode = 0x36;
  EXPECT_EQ(packFrame(p), "68AABBDDCC0100683600001516");

  p.data = "0102";
  p.dataLen = 19;  // declared length is not what assembly counts
  EXPECT_EQ(packFrame(p), "68AABBDDCC01006836020001021A16");
}

struct FieldCase {
  const char* name;
  std::string encoded;
  const char* expected;
};

class MorvaneFieldEncodings : public ::testing::TestWithParam<FieldCase> {};

TEST_P(MorvaneFieldEncodings, WriteLowByteFirst) {
  EXPECT_EQ(GetParam().encoded, GetParam().expected) << GetParam().name;
}

INSTANTIATE_TEST_SUITE_P(
    Fields, MorvaneFieldEncodings,
    ::testing::Values(FieldCase{"bin32x100 50.5", bin32x100(50.5), "BA130000"},
                      FieldCase{"bin32x100 0.015", bin32x100(0.015), "01000000"},
                      FieldCase{"bin32x100 1234567.89", bin32x100(1234567.89), "15EC6501"},
                      FieldCase{"bin32x100 -12.34", bin32x100(-12.34), "2EFBFFFF"},
                      FieldCase{"bin16 4660", bin16(4660), "3412"},
                      FieldCase{"bcd4 12345", bcd4(12345), "4523"},
                      FieldCase{"bcd4 1234", bcd4(1234), "3412"},
                      FieldCase{"bcd8x100 100", bcd8x100(100), "00000100"},
                      FieldCase{"bcd12 12345678", bcd12(12345678), "785634120000"}));

TEST(MorvaneFieldEncodings, Bin32RaisesForDoublesWithoutPlainDecimalText) {
  for (const double x : {std::nan(""), HUGE_VAL, -HUGE_VAL, 1e15, 1e-6}) {
    EXPECT_THROW(bin32x100(x), wenlock::ConversionError) << x;
  }
}

TEST(MorvaneFieldReading, ReadsBackWhatWasWritten) {
  EXPECT_DOUBLE_EQ(readBin32x100(bin32x100(50.5)), 50.5);
  EXPECT_DOUBLE_EQ(readBin32x100(bin32x100(-12.34)), -12.34);
  EXPECT_DOUBLE_EQ(readBin32x100(""), -0.01);  // hexToInt of nothing is -1
  EXPECT_EQ(readBin16(bin16(4660)), 4660);
  EXPECT_EQ(readBcd(bcd4(12345)), 2345);
  EXPECT_THROW(readBcd("0A00"), wenlock::ConversionError);
  EXPECT_EQ(readDecimalOrZero("563412"), 123456);
  EXPECT_EQ(readDecimalOrZero("ZZ"), 0);
}

}  // namespace
