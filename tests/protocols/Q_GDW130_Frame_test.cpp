#include <gtest/gtest.h>

#include <vector>

#include "Q_GDW130_ShareFun.h"
#include "TestSupport.h"
#include "WCard_ShareOper.h"

namespace wenlock {
namespace {

constexpr const char* kExampleFrame = "6839003900684A0144010000E400000001001234BB16";

TGDW130_ProtDef ExampleDefinition() {
  return {"4A", "4401", "1", "0", "E4", "1", "1234"};
}

TEST(FormatS, PadsWithZerosButNeverCuts) {
  EXPECT_EQ(FormatS("1A", 3), "00001A");
  EXPECT_EQ(FormatS("1234567", 3), "1234567");
  EXPECT_EQ(FormatS("", 0), "");
  EXPECT_EQ(FormatS("12", -4), "12");
  EXPECT_THROW(FormatS("12", kMaxPaddedBytes + 1), ConversionError);
}

TEST(DataStrToDown, ReversesBytesAndDropsAnOddTail) {
  EXPECT_EQ(DataStrToDown("4401"), "0144");
  EXPECT_EQ(DataStrToDown("12345"), "3412");
  EXPECT_EQ(DataStrToDown(""), "");
}

TEST(checkSum_CS, SumsBytesModulo256) {
  EXPECT_EQ(checkSum_CS("FF01"), "00");
  EXPECT_EQ(checkSum_CS(""), "00");
  EXPECT_EQ(checkSum_CS("4a"), "4A");
  EXPECT_EQ(checkSum_CS("4A1"), "4A");
  EXPECT_THROW(checkSum_CS("4G"), ConversionError);
  EXPECT_THROW(checkSum_CS("4 "), ConversionError);
}

TEST(FrameItems, BuildTheFixedPartsOfTheFrame) {
  EXPECT_EQ(FrameItem_68_68("1234"), "683900390068");
  EXPECT_EQ(FrameItem_68_68(""), "683100310068");
  EXPECT_EQ(FrameItem_C_A("4A", "4401", "1", "0"), "4A0144010000");
  EXPECT_EQ(FrameItem_C_A("4A", "4401", "FFFF", "3"), "4A0144FFFF07");
  EXPECT_EQ(FrameItem_C_A("4A", "4401", "ffff", "3"), "4A0144FFFF07");
  EXPECT_EQ(FrameItem_C_A("4A", "4401", "258", "3"), "4A0144020106");
  const struct {
    const char* fn;
    const char* expected;
  } fns[] = {{"1", "E400000001" "00"}, {"8", "E400000080" "00"}, {"9", "E400000001" "01"}};
  for (const auto& c : fns) EXPECT_EQ(FrameItem_AFN_FN("E4", c.fn), c.expected) << c.fn;
}

TEST(FrameItems, RejectNumbersThatAreNotNumbers) {
  EXPECT_THROW(FrameItem_C_A("4A", "4401", "12x", "0"), ConversionError);
  EXPECT_THROW(FrameItem_C_A("4A", "4401", "1", ""), ConversionError);
  EXPECT_THROW(FrameItem_AFN_FN("E4", "one"), ConversionError);
  EXPECT_THROW(FrameItem_AFN_FN("E4", "0"), ConversionError);
}

TEST(SendFrame_RW, BuildsTheExampleFrame) {
  EXPECT_EQ(SendFrame_RW(ExampleDefinition()), kExampleFrame);
  TGDW130_ProtDef no_data = ExampleDefinition();
  no_data.sData.clear();
  EXPECT_EQ(SendFrame_RW(no_data).substr(0, 12), "683100310068");
  TGDW130_ProtDef bad_data = ExampleDefinition();
  bad_data.sData = "12Z4";
  EXPECT_THROW(SendFrame_RW(bad_data), ConversionError);
}

// Frame checks and parses write to the action log of the current directory.
class LoggedFrameTest : public ::testing::Test {
 protected:
  // The messages (without time stamps) logged since the test began.
  std::vector<std::string> LoggedMessages() const {
    const std::string content = testing::ReadWholeFile(ActionLogPath(LocalNow()));
    std::vector<std::string> messages;
    for (std::size_t start = 0; start < content.size();) {
      const std::size_t end = content.find("\r\n", start);
      const std::string line = content.substr(start, end - start);
      messages.push_back(line.substr(line.find(" : ") + 3));
      start = end + 2;
    }
    return messages;
  }

  testing::ScopedCurrentDir dir_;
  testing::FixedClock clock_{testing::MakeDateTime(2024, 5, 9, 10, 0, 0)};
};

using CheckRecvFrameTest = LoggedFrameTest;

TEST_F(CheckRecvFrameTest, ReportsEveryOutcomeWithItsLogLine) {
  const std::string log_head = "CheckRecvFrame(\xE8\xE5\xCD\xEA\xD5\xFB\xD0\xD4\xBC\xEC\xB2\xE2) ";
  const struct {
    const char* name;
    std::string text;
    std::int32_t result;
    const char* log_utf8;
  } cases[] = {
      {"complete", kExampleFrame, 0, "0 : 完整桢 "},
      {"blanks between bytes", "68 39 00 39 00 68 4A 01 44 01 00 00 E4 00 00 00 01 00 12 34 BB 16",
       0, "0 : 完整桢 "},
      {"lower-case checksum", "6839003900684A0144010000E400000001001234bb16", 0, "0 : 完整桢 "},
      {"no start byte", "6939003900684A0144010000E400000001001234BB16", 1, "1 : 桢头错 68~68"},
      {"no second start", "6839003900694A0144010000E400000001001234BB16", 1, "1 : 桢头错 68~68"},
      {"empty", "", 1, "1 : 桢头错 68~68"},
      {"lengths differ", "6839003D00684A0144010000E400000001001234BB16", 2, "2 : L1 与 L2 不等"},
      {"cut before its end", "6839003900684A0144010000E400000001001234BB", 4, "4 : 桢长度与L不符"},
      {"wrong checksum", "6839003900684A0144010000E400000001001234BC16", 5, "5 : 校验错误"},
      {"non-hex in L", "68390G3900684A0144010000E400000001001234BB16", 6, "6 : 异常退出信息 "},
      {"non-hex in data", "6839003900684A0144010000E40000000100123XBB16", 6, "6 : 异常退出信息 "},
  };
  for (const auto& c : cases) {
    std::string frame = "untouched";
    EXPECT_EQ(CheckRecvFrame(c.text, frame), c.result) << c.name;
    EXPECT_EQ(frame, c.result == 0 ? DelBlank(c.text) : "untouched") << c.name;
    EXPECT_EQ(testing::GbkToUtf8(LoggedMessages().back()),
              testing::GbkToUtf8(log_head) + c.log_utf8)
        << c.name;
  }
}

TEST_F(CheckRecvFrameTest, CutsTheFrameOutOfALongerTextInPlace) {
  std::string area = std::string(kExampleFrame) + "99" + std::string(400, 'F');
  EXPECT_EQ(CheckRecvFrame(area, area), 0);
  EXPECT_EQ(area, kExampleFrame);
}

TEST_F(CheckRecvFrameTest, AFailingLogTurnsTheResultIntoAnException) {
  testing::WriteWholeFile("log", "a file where the folder should be");
  std::string frame;
  EXPECT_THROW(CheckRecvFrame(kExampleFrame, frame), IoError);
  EXPECT_EQ(frame, kExampleFrame);  // written before the line that failed
}

using ParseFrameOperTest = LoggedFrameTest;

TEST_F(ParseFrameOperTest, TakesTheExampleFrameApartAndLogsFnAndData) {
  std::string data = "x";
  std::string card_no = "x";
  ASSERT_EQ(ParseFrameOper(kExampleFrame, data, card_no), 0);
  EXPECT_EQ(data, "1234");
  EXPECT_EQ(card_no, "440100001000");
  const auto messages = LoggedMessages();
  ASSERT_GE(messages.size(), 2u);
  EXPECT_EQ(messages[messages.size() - 2], "FN :1");
  EXPECT_EQ(messages.back(), "DataItems :1234");
}

TEST_F(ParseFrameOperTest, ReadsBroadcastAndUnicastAddressesAndFn) {
  const struct {
    const char* name;
    TGDW130_ProtDef def;
    const char* card_no;
    const char* fn_line;
  } cases[] = {
      {"broadcast", {"4A", "3301", "FFFF", "3", "E4", "1", "AB"}, "3301FFFF003", "FN :1"},
      {"unicast 258", {"4A", "3301", "258", "3", "E4", "8", ""}, "330100258003", "FN :8"},
      {"DT2 1", {"4A", "3301", "65534", "127", "E4", "9", ""}, "330165534127", "FN :9"},
      // The highest terminal address has the bytes of the broadcast address and reads as such.
      {"65535", {"4A", "3301", "65535", "1", "E4", "1", ""}, "3301FFFF001", "FN :1"},
  };
  for (const auto& c : cases) {
    std::string data = "x";
    std::string card_no;
    ASSERT_EQ(ParseFrameOper(SendFrame_RW(c.def), data, card_no), 0) << c.name;
    EXPECT_EQ(card_no, c.card_no) << c.name;
    EXPECT_EQ(data, c.def.sData) << c.name;
    const auto messages = LoggedMessages();
    EXPECT_EQ(messages[messages.size() - 2], c.fn_line) << c.name;
  }
}

TEST_F(ParseFrameOperTest, PassesOnTheCheckResultAndLeavesOutputsAlone) {
  std::string data = "keep";
  std::string card_no = "keep";
  EXPECT_EQ(ParseFrameOper("6839003900684A0144010000E400000001001234BC16", data, card_no), 5);
  EXPECT_EQ(data, "keep");
  EXPECT_EQ(card_no, "keep");
}

TEST(RecvFrameCopyBytes, CopiesBytesCutShortAtTheEnd) {
  EXPECT_EQ(RecvFrameCopyBytes("68 39 00", 2, 2), "3900");
  EXPECT_EQ(RecvFrameCopyBytes("68 39 00", 3, 5), "00");
  EXPECT_EQ(RecvFrameCopyBytes("683900", 0, 1), "68");
  EXPECT_EQ(RecvFrameCopyBytes("683900", 1, -1), "");
  EXPECT_EQ(RecvFrameCopyBytes("683900", 2147483647, 2147483647), "");
}

}  // namespace
}  // namespace wenlock
