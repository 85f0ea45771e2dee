// The flat exports as a C caller sees them: texts across the boundary, result ownership and the
// failure value of each export.
#include "WenlockFlatExports.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>

#include "LoadedLibrary.h"
#include "TestSupport.h"
#include "WCard_ShareOper.h"

namespace {

using wenlock::testing::LoadedLibrary;

constexpr const char* kExampleFrame = "6839003900684A0144010000E400000001001234BB16";

std::string WenlockFile() {
  return std::string(WENLOCK_BIN_DIR) + "/" + wenlock::testing::SharedLibraryFile("Wenlock");
}

TEST(FlatExports, NullTextsReadAsEmpty) {
  EXPECT_STREQ(DelBlank(nullptr), "");
  EXPECT_STREQ(InsertBlank(2, nullptr), "");
  EXPECT_STREQ(checkSum_CS(nullptr), "00");
  EXPECT_STREQ(DataStrToDown(nullptr), "");
  EXPECT_STREQ(FormatS(nullptr, 2), "0000");
  EXPECT_STREQ(RecvFrameCopyBytes(nullptr, 1, 1), "");
  EXPECT_STREQ(GetTextFileLine(nullptr, 1), "Err");
  EXPECT_EQ(CheckRecvFrame(nullptr, nullptr), 1);
  EXPECT_EQ(ParseFrameOper(nullptr, nullptr, nullptr), 1);
}

TEST(FlatExports, ResultsStayValidUntilTheNextCallOfTheSameExport) {
  const char* blanks_removed = DelBlank("12 34");
  const char* padded = FormatS("1A", 3);
  EXPECT_STREQ(blanks_removed, "1234");
  EXPECT_STREQ(padded, "00001A");
  EXPECT_STREQ(DelBlank("56 78"), "5678");
}

TEST(FlatExports, ConversionErrorsBecomeEmptyTexts) {
  const TGDW130_ProtDef bad_device{"4A", "4401", "12x", "0", "E4", "1", ""};
  const TGDW130_ProtDef bad_fn{"4A", "4401", "1", "0", "E4", "x", ""};
  EXPECT_STREQ(SendFrame_RW(bad_device), "");
  EXPECT_STREQ(SendFrame_RW(bad_fn), "");
  EXPECT_STREQ(checkSum_CS("4G"), "");
  EXPECT_STREQ(DataToFormat("abc", 11, 0), "");
  EXPECT_STREQ(FormatToData("ZZZZZZ", 10), "");
  EXPECT_STREQ(FormatToData("ZZZZZZ", 9), "");
  EXPECT_STREQ(FormatS("1", 2147483647), "");
}

TEST(FlatExports, SmallHelpersAnswerThroughTheBoundary) {
  EXPECT_STREQ(InsertBlank(2, "68A1B2"), "68 A1 B2 ");
  EXPECT_STREQ(InsertBlank(0, "68A1B2"), "");
  EXPECT_STREQ(inttobin(6), "110");
  EXPECT_STREQ(inttobin(-6), "-110");
  EXPECT_STREQ(RecvFrameCopyBytes("68 39 00", 2, 2), "3900");
  EXPECT_STREQ(DataStrToDown("4401"), "0144");
  EXPECT_STREQ(DataToFormat("1234.56", 11, 0), "56341200");
  EXPECT_STREQ(FormatToData("56341200", 11), "1234.56");
}

// The library keeps its own clock, so only the form of the date and time texts is checked here.
TEST(FlatExports, ReadSystemDateHasItsFourParts) {
  const std::string date = ReadSystemDate();
  EXPECT_EQ(std::count(date.begin(), date.end(), '-'), 3) << date;
}

class LoggingExportsTest : public ::testing::Test {
 protected:
  // The library logs with its own (real) clock.
  static std::string TodaysLog() {
    return wenlock::testing::ReadWholeFile(wenlock::ActionLogPath(wenlock::LocalNow()));
  }

  wenlock::testing::ScopedCurrentDir dir_;
};

TEST_F(LoggingExportsTest, FrameCodecRoundTripsThroughTheBoundary) {
  const TGDW130_ProtDef def{"4A", "4401", "1", "0", "E4", "1", "1234"};
  EXPECT_STREQ(SendFrame_RW(def), kExampleFrame);

  const char* frame = "untouched";
  EXPECT_EQ(CheckRecvFrame("68 39 00 39 00 68 4A 01 44 01 00 00 E4 00 00 00 01 00 12 34 BB 16 99",
                           &frame), 0);
  EXPECT_STREQ(frame, kExampleFrame);
  const char* kept = frame;
  EXPECT_EQ(CheckRecvFrame("00", &frame), 1);
  EXPECT_EQ(frame, kept);  // written only for a complete frame

  const char* data = nullptr;
  const char* card_no = nullptr;
  EXPECT_EQ(ParseFrameOper(kExampleFrame, &data, &card_no), 0);
  EXPECT_STREQ(data, "1234");
  EXPECT_STREQ(card_no, "440100001000");
}

TEST_F(LoggingExportsTest, LogFailuresStayInsideTheLibrary) {
  wenlock::testing::WriteWholeFile("log", "a file where the folder should be");
  ActionLog(1, "lost");  // must neither throw nor crash
  const char* frame = nullptr;
  EXPECT_EQ(CheckRecvFrame(kExampleFrame, &frame), 6);
  EXPECT_EQ(frame, nullptr);
}

TEST_F(LoggingExportsTest, ActionLogTreatsAnyNonZeroShowtimeAsTrue) {
  ActionLog(0, "bare");
  ActionLog(-1, "stamped");
  const std::string log = TodaysLog();
  EXPECT_EQ(log.substr(0, 6), "bare\r\n");
  EXPECT_EQ(log.substr(log.size() - 12), " : stamped\r\n");
  EXPECT_GT(log.size(), 6u + 12u);
}

TEST_F(LoggingExportsTest, GetTextFileLineGivesErrForAFileThatCannotBeOpened) {
  wenlock::testing::WriteWholeFile("lines.txt", "one\ntwo\n");
  EXPECT_STREQ(GetTextFileLine("lines.txt", 2), "two");
  EXPECT_STREQ(GetTextFileLine("missing.txt", 1), "Err");
}

TEST(FlatExports, GetSystemTimeIsExportedUnderItsPublicName) {
  LoadedLibrary wenlock_library(WenlockFile());
  ASSERT_TRUE(wenlock_library.loaded());
  const auto get_system_time = wenlock_library.Get<Wenlock_GetSystemTime_fn>("GetSystemTime");
  ASSERT_NE(get_system_time, nullptr);
  const std::string time = get_system_time();
  EXPECT_EQ(std::count(time.begin(), time.end(), ':'), 3) << time;
}

}  // namespace
