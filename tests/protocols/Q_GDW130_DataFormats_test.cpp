#include <gtest/gtest.h>

#include "Q_GDW130_ShareFun.h"
#include "Text.h"

namespace wenlock {
namespace {

struct FormatCase {
  std::int32_t format;
  const char* value;
  std::int32_t aux;
  const char* frame;
};

TEST(DataToFormat, WritesEachFormatLowByteFirst) {
  const FormatCase cases[] = {
      {3, "anything", 0, "00000000"},
      {9, "12.3456", 0, "563412"},
      {9, "-12.3456", 0, "563492"},
      {9, "0", 0, "000000"},
      {9, "0.5", 0, "005000"},
      {9, "-0.0001", 0, "010080"},
      {9, "79.9999", 0, "999979"},
      {10, "1234", 0, "341200"},
      {10, "7", 0, "070000"},
      {10, "1234567", 0, "563412"},
      {11, "1234.56", 0, "56341200"},
      {11, "0.01", 0, "01000000"},
      {24, "258", 16, "0201"},
      {24, "255", 8, "FF"},
      {24, "256", 8, "10"},
      {24, "-1", 16, "FFFFFFFF"},
      {12, "1", 0, ""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(DataToFormat(c.value, c.format, c.aux), c.frame) << c.format << " " << c.value;
  }
}

TEST(FormatToData, ReadsEachFormatBack) {
  const FormatCase cases[] = {
      {3, "12345678", 0, "00000000"},
      {9, "563412", 0, "12.3456"},
      {9, "563492", 0, "-12.3456"},
      {9, "000080", 0, "0"},
      {9, "ZZZZZZ", 0, ""},
      {10, "070000", 0, "7"},
      {10, "050000", 0, "5"},
      {11, "01000000", 0, "0.01"},
      {11, "50341200", 0, "1234.5"},
      {24, "FF", 0, "255"},
      {24, "0201", 0, "258"},
      {12, "00", 0, ""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(FormatToData(c.value, c.format), c.frame) << c.format << " " << c.value;
  }
}

TEST(DataFormats, RaiseOnTextsThatAreNotNumbersExceptFormat9Back) {
  EXPECT_THROW(FormatToData("ZZZZZZ", 10), ConversionError);
  EXPECT_THROW(FormatToData("ZZZZZZZZ", 11), ConversionError);
  EXPECT_THROW(FormatToData("ZZ", 24), ConversionError);
  EXPECT_THROW(DataToFormat("abc", 9, 0), ConversionError);
  EXPECT_THROW(DataToFormat("1.5", 10, 0), ConversionError);
  EXPECT_THROW(DataToFormat("", 11, 0), ConversionError);
  EXPECT_THROW(DataToFormat("1.5", 24, 8), ConversionError);
  EXPECT_THROW(DataToFormat("1", 24, 2147483647), ConversionError);
}

}  // namespace
}  // namespace wenlock
