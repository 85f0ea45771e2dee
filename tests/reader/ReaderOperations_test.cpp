// Hex text reading, the voice prompt, the sector keys and the block buffer.
#include <gtest/gtest.h>

#include "ReaderTestSupport.h"
#include "SiteKeys.h"
#include "Text.h"

namespace wenlock {
namespace {

using testing::OpenReader;

TEST(HexStrToInt, CountsOnlyUpperCaseHexDigits) {
  const struct {
    const char* text;
    std::int32_t value;
  } cases[] = {
      {"", 0},          {"A5", 165},         {"a2", 2},  {"FF", 255},
      {"1G", 16},       {"0", 0},            {"FFFFFFFF", -1},
      {"123456789", 0x23456789},  // past 8 digits the value wraps instead of overflowing
  };
  for (const auto& c : cases) EXPECT_EQ(HexStrToInt(c.text), c.value) << c.text;
  EXPECT_EQ(HexMask, "0123456789ABCDEF");
}

TEST(TextToFormatNum, GivesEightDigitsOfHundredthsOrFF) {
  const struct {
    const char* text;
    const char* digits;
  } cases[] = {
      {"12.34", "00001234"},      // the real text of 1233.99... is 1234
      {"0.125", "00000012"},      // the fraction of a hundredth is dropped
      {"999999.99", "99999999"},  {"1000000", "FF"},  {"5", "00000500"},
      {"not a number", "00000000"}, {"", "00000000"},
      // Texts whose real text is not plain digits never reach the prompt record as such.
      {"-5", "FF"},               {"1E20", "FF"},     {"1E-9", "00000000"},
  };
  for (const auto& c : cases) EXPECT_EQ(TextToFormatNum(c.text), c.digits) << c.text;
}

TEST(SpeechElcOrMoney, WritesTheKindAndTheAmountAtOffset1001) {
  const struct {
    std::int32_t mode;
    double amount;
    std::int16_t result;
    std::vector<std::string> journal;
  } cases[] = {
      {0, 12.34, 0, {"dc_swr_eepromhex(17,1001,5,A100001234)=0"}},
      {1, 12.34, 0, {"dc_swr_eepromhex(17,1001,5,A200001234)=0"}},
      {0, 0.125, 0, {"dc_swr_eepromhex(17,1001,5,A100000012)=0"}},
      {0, 1000000, 1, {}},
      {2, 1000000, 1, {}},  // the amount is checked before the mode
      {2, 5, 0, {}},
      {-1, 5, 0, {}},
      {0, -3, 1, {}},
  };
  for (const auto& c : cases) {
    OpenReader reader(sim::IssueM1Card(testing::kSerial));
    EXPECT_EQ(SpeechElcOrMoney(reader.drv(), testing::kHandle, c.mode, c.amount), c.result)
        << c.mode << " " << c.amount;
    EXPECT_EQ(reader.journal(), c.journal) << c.mode << " " << c.amount;
  }
}

TEST(SpeechElcOrMoney, ARefusedWriteGives2WithoutRetry) {
  OpenReader reader(sim::IssueM1Card(testing::kSerial));
  reader.image().faults.refusedMemoryOffsets = {1001};
  EXPECT_EQ(SpeechElcOrMoney(reader.drv(), testing::kHandle, 0, 12.34), 2);
  EXPECT_EQ(reader.journal(),
            std::vector<std::string>{"dc_swr_eepromhex(17,1001,5,A100001234)=1"});
  EXPECT_TRUE(reader.image().prompts.empty());
}

TEST(M1SectorKey, IsTheLeadByteTheMaskedSerialLowByteFirstAndTheMaskedSector) {
  const std::uint8_t serial[4] = {0x4D, 0x3C, 0x2B, 0x1A};  // 1A2B3C4D, least significant first
  for (std::int16_t sector : {0, 1, 9, 15}) {
    std::string expected = IntToHex(site_keys::kLead, 2);
    for (int i = 0; i < 4; ++i) expected += IntToHex(serial[i] ^ site_keys::kSerialMasks[i], 2);
    expected += IntToHex(sector ^ site_keys::kSectorMask, 2);
    EXPECT_EQ(M1SectorKey(testing::kSnr, sector), expected) << sector;
  }
  EXPECT_EQ(M1SectorKey("0000000A", 0).size(), 12u);
}

TEST(StringToArray32, TakesTheFirst32CharactersAndEndsWithNul) {
  const auto shortText = StringToArray32("ABC");
  EXPECT_STREQ(shortText.data(), "ABC");
  EXPECT_EQ(shortText[32], '\0');
  const std::string longText = std::string(32, '1') + "2345";
  const auto cut = StringToArray32(longText);
  EXPECT_EQ(std::string(cut.data()), std::string(32, '1'));
}

}  // namespace
}  // namespace wenlock
