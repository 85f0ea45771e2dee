#include "WCard_ShareOper.h"

#include <gtest/gtest.h>

#include <limits>

#include "TestSupport.h"

namespace wenlock {
namespace {

using testing::FixedClock;
using testing::MakeDateTime;

TEST(DelBlank, RemovesOnlyBlanks) {
  EXPECT_EQ(DelBlank("68 A1  B2   16"), "68A1B216");
  EXPECT_EQ(DelBlank(""), "");
  EXPECT_EQ(DelBlank("6\t8\r\n"), "6\t8\r\n");
}

TEST(InsertBlank, GroupsFullIntervalsEachFollowedByABlank) {
  const struct {
    std::int32_t interval;
    const char* text;
    const char* expected;
  } cases[] = {
      {2, "68A1B2", "68 A1 B2 "}, {2, "12345", "12 34 "}, {3, "ab", ""},
      {1, "ab", "a b "},          {0, "abc", ""},         {-2, "abcd", ""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(InsertBlank(c.interval, c.text), c.expected) << c.interval << " " << c.text;
  }
}

TEST(LocalTimeTexts, UsePlainDecimalsWithoutLeadingZeros) {
  FixedClock clock(MakeDateTime(2024, 5, 9, 9, 5, 7, 45));
  EXPECT_EQ(GetSystemTime(), "9 : 5 : 7 : 45");
  EXPECT_EQ(ReadSystemDate(), "2024 - 5 - 9 - 4");  // a Thursday
}

TEST(inttobin, WritesBinaryDigitsMostSignificantFirst) {
  const struct {
    std::int32_t value;
    const char* expected;
  } cases[] = {
      {6, "110"},
      {1, "1"},
      {0, ""},
      {-6, "-110"},
      {std::numeric_limits<std::int32_t>::min(), "-10000000000000000000000000000000"},
      {std::numeric_limits<std::int32_t>::max(), "1111111111111111111111111111111"},
  };
  for (const auto& c : cases) EXPECT_EQ(inttobin(c.value), c.expected) << c.value;
}

class GetTextFileLineTest : public ::testing::Test {
 protected:
  testing::ScopedCurrentDir dir_;
};

TEST_F(GetTextFileLineTest, ReturnsTheNumberedLineOrEmptyPastTheEnd) {
  testing::WriteWholeFile("three.txt", "first\r\nsecond\nthird");
  const struct {
    std::int32_t line;
    const char* expected;
  } cases[] = {{-1, "Err"}, {0, ""}, {1, "first"}, {2, "second"}, {3, "third"}, {9, ""}};
  for (const auto& c : cases) EXPECT_EQ(GetTextFileLine("three.txt", c.line), c.expected) << c.line;
  EXPECT_EQ(GetTextFileLine("", 1), "Err");
}

TEST_F(GetTextFileLineTest, RaisesWhenTheFileCannotBeOpened) {
  EXPECT_THROW(GetTextFileLine("missing.txt", 1), IoError);
}

}  // namespace
}  // namespace wenlock
