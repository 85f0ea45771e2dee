// The simulated reader itself: the card image file, keys and authentication, and the faults.
#include <gtest/gtest.h>

#include <stdexcept>

#include "ReaderTestSupport.h"

namespace wenlock {
namespace {

using namespace testing;
using sim::ReaderModel;

class SimulatedM1Card : public ::testing::Test {
 protected:
  sim::CardImage image = FilledM1Card();
  std::vector<std::string> journal;
  ReaderModel model{image, journal};

  void SetUp() override { ASSERT_EQ(model.dc_init(100, 115200), kHandle); }
  std::int16_t LoadKey(std::int16_t sector, const std::string& key) {
    return model.dc_load_key_hex(kHandle, 0, sector, key.c_str());
  }
  std::int16_t Select() {
    std::uint32_t serial = 0;
    return model.dc_card(kHandle, 0, &serial);
  }
};

TEST_F(SimulatedM1Card, OnlyTheSectorsOwnKeyOpensIt) {
  ASSERT_EQ(Select(), 0);
  EXPECT_EQ(model.dc_authentication(kHandle, 0, 2), ReaderModel::kRefused);  // no key loaded
  ASSERT_EQ(LoadKey(2, M1SectorKey(kSnr, 3)), 0);
  EXPECT_EQ(model.dc_authentication(kHandle, 0, 2), ReaderModel::kRefused);  // another sector's key
  ASSERT_EQ(LoadKey(2, M1SectorKey(kSnr, 2)), 0);
  EXPECT_EQ(model.dc_authentication(kHandle, 0, 2), 0);
  EXPECT_EQ(model.dc_authentication(kHandle, 1, 2), ReaderModel::kRefused);  // other mode
}

TEST_F(SimulatedM1Card, OnlyTheAuthenticatedSectorCanBeReadOrWritten) {
  char block[33] = {};
  const std::string data(32, 'A');
  ASSERT_EQ(Select(), 0);
  EXPECT_EQ(model.dc_read_hex(kHandle, 8, block), ReaderModel::kRefused);
  ASSERT_EQ(LoadKey(2, M1SectorKey(kSnr, 2)), 0);
  ASSERT_EQ(model.dc_authentication(kHandle, 0, 2), 0);
  EXPECT_EQ(model.dc_read_hex(kHandle, 8, block), 0);
  EXPECT_STREQ(block, std::string(32, 'E').c_str());
  EXPECT_EQ(model.dc_write_hex(kHandle, 10, data.c_str()), 0);
  EXPECT_EQ(model.dc_read_hex(kHandle, 12, block), ReaderModel::kRefused);
  EXPECT_EQ(model.dc_write_hex(kHandle, 12, data.c_str()), ReaderModel::kRefused);
  // The trailer is read-only here and shows key A as zeros.
  EXPECT_EQ(model.dc_write_hex(kHandle, 11, data.c_str()), ReaderModel::kRefused);
  ASSERT_EQ(model.dc_read_hex(kHandle, 11, block), 0);
  EXPECT_EQ(std::string(block).substr(0, 12), std::string(12, '0'));
  // A new selection closes the sector again.
  ASSERT_EQ(Select(), 0);
  EXPECT_EQ(model.dc_read_hex(kHandle, 8, block), ReaderModel::kRefused);
}

TEST_F(SimulatedM1Card, Block0IsReadOnly) {
  ASSERT_EQ(Select(), 0);
  ASSERT_EQ(LoadKey(0, M1SectorKey(kSnr, 0)), 0);
  ASSERT_EQ(model.dc_authentication(kHandle, 0, 0), 0);
  char block[33] = {};
  ASSERT_EQ(model.dc_read_hex(kHandle, 0, block), 0);
  EXPECT_EQ(std::string(block).substr(0, 8), kSnr);
  EXPECT_EQ(model.dc_write_hex(kHandle, 0, std::string(32, '0').c_str()), ReaderModel::kRefused);
}

TEST_F(SimulatedM1Card, RefusesMalformedArguments) {
  std::uint32_t serial = 0;
  EXPECT_EQ(model.dc_card(kHandle + 1, 0, &serial), ReaderModel::kRefused);  // not our handle
  EXPECT_EQ(model.dc_card(kHandle, 0, nullptr), ReaderModel::kRefused);
  EXPECT_EQ(LoadKey(16, M1SectorKey(kSnr, 0)), ReaderModel::kRefused);
  EXPECT_EQ(LoadKey(0, "12345"), ReaderModel::kRefused);
  EXPECT_EQ(LoadKey(0, "12345678901G"), ReaderModel::kRefused);
  EXPECT_EQ(model.dc_load_key_hex(kHandle, 0, 0, nullptr), ReaderModel::kRefused);
  char buffer[8] = {};
  EXPECT_EQ(model.dc_srd_eepromhex(kHandle, 1020, 5, buffer), ReaderModel::kRefused);  // past 1024
  EXPECT_EQ(model.dc_swr_eepromhex(kHandle, 1001, 5, "A1"), ReaderModel::kRefused);  // short data
  EXPECT_EQ(model.dc_swr_eepromhex(kHandle, 1001, 1, nullptr), ReaderModel::kRefused);
  EXPECT_EQ(model.dc_srd_eepromhex(kHandle, 0, 4, buffer), ReaderModel::kRefused);  // M1 card only
}

TEST_F(SimulatedM1Card, TheCardLeavesAfterTheGivenNumberOfCalls) {
  image.faults.removeAfter = image.operations + 1;
  EXPECT_EQ(Select(), 0);
  EXPECT_EQ(Select(), ReaderModel::kRefused);
}

TEST_F(SimulatedM1Card, CorruptedReadsInvertTheFirstByte) {
  image.faults.corruptReads = true;
  ASSERT_EQ(Select(), 0);
  ASSERT_EQ(LoadKey(1, M1SectorKey(kSnr, 1)), 0);
  ASSERT_EQ(model.dc_authentication(kHandle, 0, 1), 0);
  char block[33] = {};
  ASSERT_EQ(model.dc_read_hex(kHandle, 4, block), 0);
  EXPECT_EQ(std::string(block), "11" + std::string(30, 'E'));
}

TEST(SimulatedReader, OpensOnlyWhenThereIsAReader) {
  sim::CardImage image = sim::IssueEepromCard();
  std::vector<std::string> journal;
  ReaderModel model(image, journal);
  image.faults.noReader = true;
  EXPECT_LE(model.dc_init(100, 115200), 0);
  image.faults.noReader = false;
  image.faults.initFailures = 1;
  EXPECT_LE(model.dc_init(100, 115200), 0);
  EXPECT_EQ(model.dc_init(100, 115200), kHandle);
  EXPECT_EQ(model.dc_exit(kHandle), 0);
  EXPECT_EQ(model.dc_exit(kHandle), ReaderModel::kRefused);
  EXPECT_EQ(journal, (std::vector<std::string>{kInitFails, kInitFails, kInitOk, kExitOk,
                                               "dc_exit(17)=1"}));
}

TEST(SimulatedReader, RecordsTheAnnouncedPrompts) {
  sim::CardImage image = sim::IssueM1Card(kSerial);
  std::vector<std::string> journal;
  ReaderModel model(image, journal);
  ASSERT_EQ(model.dc_init(100, 115200), kHandle);
  ASSERT_EQ(model.dc_swr_eepromhex(kHandle, 1001, 5, "A100001234"), 0);
  ASSERT_EQ(model.dc_swr_eepromhex(kHandle, 1001, 5, "a200000050"), 0);
  EXPECT_EQ(image.prompts, (std::vector<std::string>{"A100001234", "A200000050"}));
}

TEST(CardImageFile, ReadsBackWhatItWrites) {
  sim::CardImage image = FilledM1Card();
  image.faults.typeCodes = {"A5", "a3", "fail"};
  image.faults.refusedAuthSectors = {3, 9};
  image.faults.refusedWriteBlocks = {21};
  image.faults.refusedMemoryOffsets = {1000};
  image.faults.initFailures = 2;
  image.faults.primingFailures = 1;
  image.faults.removeAfter = 40;
  image.faults.corruptReads = true;
  image.faults.noCard = true;
  image.open = true;
  image.selected = true;
  image.authenticated = 4;
  image.operations = 12;
  image.keys[{0, 4}] = M1SectorKey(kSnr, 4);
  image.memory[1001] = 0xA1;
  image.prompts = {"A100001234"};
  const std::string text = sim::FormatCardImage(image);
  const sim::CardImage back = sim::ParseCardImage(text);
  EXPECT_EQ(sim::FormatCardImage(back), text);
  EXPECT_EQ(back.blocks, image.blocks);
  EXPECT_EQ(back.faults.typeCodes, image.faults.typeCodes);
  EXPECT_EQ(back.keys, image.keys);
  EXPECT_NE(text.find("block 7: " + M1SectorKey(kSnr, 1)), std::string::npos);
}

TEST(CardImageFile, NamesTheLineThatDoesNotRead) {
  const struct {
    const char* text;
    const char* message;
  } cases[] = {
      {"card: M1\nfault no_card: perhaps\n", "line 2"},
      {"block 64: 00\n", "line 1"},
      {"memory 10: 00\n", "line 1"},
      {"\n\nserial: XYZ\n", "line 3"},
      {"colour: blue\n", "line 1"},
      {"fault no_such_fault: 1\n", "line 1"},
  };
  for (const auto& c : cases) {
    try {
      sim::ParseCardImage(c.text);
      ADD_FAILURE() << c.text;
    } catch (const std::invalid_argument& error) {
      EXPECT_NE(std::string(error.what()).find(c.message), std::string::npos) << error.what();
    }
  }
}

}  // namespace
}  // namespace wenlock
