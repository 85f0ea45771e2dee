// The five card areas on an M1 card and in the reader's memory for an EEPROM card: which blocks and
// offsets each reaches, how texts are padded and cut, and how a failure ends the operation.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "ReaderTestSupport.h"
#include "TestSupport.h"

namespace wenlock {
namespace {

using namespace testing;
using Journal = std::vector<std::string>;

constexpr const char* kGdwFrame = "6839003900684A0144010000E400000001001234BB16";
constexpr const char* kOldFrame = "6801020368810211228C16";
constexpr const char* kGbFrame = "68010203040506689102001122AB16";

// A hex text of `length` characters without any frame in it.
std::string HexText(std::size_t length) {
  std::string text;
  while (text.size() < length) text += "0123456789ABCDEF";
  return text.substr(0, length);
}

std::string BlockHex(const sim::CardImage& image, int block) {
  return sim::BytesToHex(image.blocks[block].data(), sim::kBlockBytes);
}

std::string BlocksHex(const sim::CardImage& image, std::initializer_list<int> blocks) {
  std::string hex;
  for (int block : blocks) hex += BlockHex(image, block);
  return hex;
}

// The block numbers of the journal's calls of one function, in order.
std::vector<int> BlocksCalled(const Journal& journal, const std::string& function) {
  std::vector<int> blocks;
  const std::string head = function + "(17,";
  for (const auto& line : journal) {
    if (line.rfind(head, 0) == 0) blocks.push_back(std::stoi(line.substr(head.size())));
  }
  return blocks;
}

std::set<int> ChangedBlocks(const sim::CardImage& before, const sim::CardImage& after) {
  std::set<int> changed;
  for (int block = 0; block < sim::kBlockCount; ++block) {
    if (before.blocks[block] != after.blocks[block]) changed.insert(block);
  }
  return changed;
}

class M1Areas : public ::testing::Test {
 protected:
  ScopedCurrentDir logFolder;  // the Q/GDW 130 check logs every outcome
  sim::CardImage issued = FilledM1Card();
  OpenReader reader{issued};
};

TEST_F(M1Areas, EachAreaReachesItsBlocksInOrderAndNeverBlock0OrATrailer) {
  const struct {
    std::int16_t area;
    std::vector<int> sectors;
    std::vector<int> blocks;
  } cases[] = {
      {0, {1, 2, 3, 4, 5}, {4, 5, 6, 8, 9, 10, 12, 13, 14, 16, 17, 18, 20, 21, 22}},
      {1, {8, 9, 10, 11}, {32, 33, 34, 36, 37, 38, 40, 41, 42, 44, 45, 46}},
      {2, {0, 1}, {1, 2, 4, 5, 6}},
      {3, {2, 3}, {8, 9, 10, 12, 13, 14}},
      {4, {15}, {60, 61, 62}},
  };
  for (const auto& c : cases) {
    const std::size_t length = 32 * c.blocks.size();
    EXPECT_EQ(M1AreaTextLength(c.area), length) << c.area;
    reader.ClearJournal();
    EXPECT_EQ(tolvar_WriteCard(reader.drv(), kHandle, kM1Card, c.area, HexText(length)), 0);
    EXPECT_EQ(BlocksCalled(reader.journal(), "dc_write_hex"), c.blocks) << c.area;
    std::vector<int> sectors;
    for (const auto& line : reader.journal()) {
      if (line.rfind("dc_authentication(17,0,", 0) == 0) sectors.push_back(std::stoi(line.substr(23)));
    }
    EXPECT_EQ(sectors, c.sectors) << c.area;

    reader.ClearJournal();
    std::string text;
    EXPECT_EQ(tolvar_ReadCard(reader.drv(), kHandle, kM1Card, c.area, text), 0);
    EXPECT_EQ(BlocksCalled(reader.journal(), "dc_read_hex"), c.blocks) << c.area;
    EXPECT_EQ(text, HexText(length)) << c.area;
  }
  const auto changed = ChangedBlocks(issued, reader.image());
  EXPECT_EQ(changed.count(0), 0u);
  for (int sector = 0; sector < 16; ++sector) EXPECT_EQ(changed.count(4 * sector + 3), 0u);
}

TEST_F(M1Areas, SelectsTheCardAndLoadsAllSixteenDerivedKeysFirst) {
  std::string text;
  ASSERT_EQ(tolvar_ReadCard(reader.drv(), kHandle, kM1Card, 4, text), 0);
  Journal expected{"dc_card(17,0)=0 -> 1A2B3C4D"};
  for (int sector = 0; sector < 16; ++sector) {
    expected.push_back("dc_load_key_hex(17,0," + std::to_string(sector) + "," +
                       M1SectorKey(kSnr, static_cast<std::int16_t>(sector)) + ")=0");
  }
  const Journal head(reader.journal().begin(), reader.journal().begin() + 17);
  EXPECT_EQ(head, expected);
}

TEST_F(M1Areas, AShortTextIsPaddedWithZeros) {
  const std::string text = HexText(100);
  ASSERT_EQ(tolvar_WriteCard(reader.drv(), kHandle, kM1Card, 2, text), 0);
  EXPECT_EQ(BlocksHex(reader.image(), {1, 2, 4, 5, 6}), text + std::string(60, '0'));
  EXPECT_EQ(ChangedBlocks(issued, reader.image()), (std::set<int>{1, 2, 4, 5, 6}));
}

TEST_F(M1Areas, ALongTextIsCutToTheArea) {
  const std::string text = HexText(470) + std::string(30, 'F');
  ASSERT_EQ(tolvar_WriteCard(reader.drv(), kHandle, kM1Card, 0, text), 0);
  EXPECT_EQ(BlocksHex(reader.image(), {4, 5, 6, 8, 9, 10, 12, 13, 14, 16, 17, 18, 20, 21, 22}),
            text.substr(0, 480));
}

TEST_F(M1Areas, Area3ReadsBackWhatWasWritten) {
  const std::string text = HexText(192);
  ASSERT_EQ(tolvar_WriteCard(reader.drv(), kHandle, kM1Card, 3, text), 0);
  EXPECT_EQ(BlocksHex(reader.image(), {8, 9, 10, 12, 13, 14}), text);
  std::string back;
  ASSERT_EQ(tolvar_ReadCard(reader.drv(), kHandle, kM1Card, 3, back), 0);
  EXPECT_EQ(back, text);
}

TEST_F(M1Areas, ARefusedAuthenticationEndsTheWriteAndKeepsWhatWasWritten) {
  reader.image().faults.refusedAuthSectors = {3};
  ASSERT_EQ(tolvar_WriteCard(reader.drv(), kHandle, kM1Card, 0, HexText(480)), kAreaAuthFailed);
  EXPECT_EQ(ChangedBlocks(issued, reader.image()), (std::set<int>{4, 5, 6, 8, 9, 10}));
  EXPECT_EQ(reader.journal().back(), "dc_authentication(17,0,3)=1");
}

TEST_F(M1Areas, ARefusedBlockWriteGives4) {
  reader.image().faults.refusedWriteBlocks = {9};
  ASSERT_EQ(tolvar_WriteCard(reader.drv(), kHandle, kM1Card, 0, HexText(480)), kAreaIoFailed);
  EXPECT_EQ(ChangedBlocks(issued, reader.image()), (std::set<int>{4, 5, 6, 8}));
}

TEST_F(M1Areas, AFailedReadLeavesTheCallersText) {
  // The card leaves the reader just after the first block of the area was read.
  reader.image().faults.removeAfter = reader.image().operations + 1 + 16 + 1 + 1;
  std::string text = "previous";
  EXPECT_EQ(tolvar_ReadCard(reader.drv(), kHandle, kM1Card, 4, text), kAreaIoFailed);
  EXPECT_EQ(text, "previous");
  EXPECT_EQ(BlocksCalled(reader.journal(), "dc_read_hex"), (std::vector<int>{60, 61}));

  reader.image().faults.refusedAuthSectors = {15};
  reader.image().faults.removeAfter = -1;
  EXPECT_EQ(tolvar_ReadCard(reader.drv(), kHandle, kM1Card, 4, text), kAreaAuthFailed);
  EXPECT_EQ(text, "previous");
}

// Refuses the key of sector 5 and answers every other load as the simulated reader does.
std::int16_t WL_STDCALL LoadKeyRefusingSector5(std::int32_t icdev, std::int16_t mode,
                                               std::int16_t secnr, const char* key) {
  if (secnr == 5) return 1;
  return sim::InProcessReader::Current().dc_load_key_hex(icdev, mode, secnr, key);
}

TEST_F(M1Areas, AKeyRefusedByTheReaderStopsTheLoadingAndItsSectorThenRefuses) {
  TolvarDrv drv = reader.drv();
  drv.dc_load_key_hex = LoadKeyRefusingSector5;
  reader.image().keys.clear();
  EXPECT_EQ(tolvar_WriteCard(drv, kHandle, kM1Card, 0, HexText(480)), kAreaAuthFailed);
  EXPECT_EQ(reader.image().keys.size(), 5u);  // sectors 0 to 4
  EXPECT_EQ(reader.journal().back(), "dc_authentication(17,0,5)=1");
}

TEST_F(M1Areas, NoCardMeansTwoSelectionsAPauseApartAndNoKeyLoaded) {
  reader.image().faults.noCard = true;
  std::string text = "previous";
  const Journal noCard{"dc_card(17,0)=1", kPause, "dc_card(17,0)=1"};
  EXPECT_EQ(tolvar_ReadCard(reader.drv(), kHandle, kM1Card, 4, text), kAreaNoCard);
  EXPECT_EQ(reader.journal(), noCard);
  EXPECT_EQ(text, "previous");
  reader.ClearJournal();
  EXPECT_EQ(tolvar_WriteCard(reader.drv(), kHandle, kM1Card, 4, "00"), kAreaNoCard);
  EXPECT_EQ(reader.journal(), noCard);
}

TEST_F(M1Areas, AnAreaPast4SelectsAndLoadsKeysThenMovesNothing) {
  std::string text = "previous";
  EXPECT_EQ(tolvar_ReadCard(reader.drv(), kHandle, kM1Card, 5, text), 0);
  EXPECT_EQ(text, "");
  EXPECT_EQ(reader.journal().size(), 17u);  // dc_card and sixteen keys
  reader.ClearJournal();
  EXPECT_EQ(tolvar_WriteCard(reader.drv(), kHandle, kM1Card, 5, HexText(64)), 0);
  EXPECT_EQ(reader.journal().size(), 17u);
  EXPECT_TRUE(ChangedBlocks(issued, reader.image()).empty());
}

TEST_F(M1Areas, AReadDeliversTheFrameAtTheStartOfTheAreaOrTheWholeText) {
  const struct {
    const char* name;
    std::int16_t area;
    std::string written;
    std::string delivered;
  } cases[] = {
      {"Q/GDW 130 frame", 0, std::string(kGdwFrame) + std::string(40, 'F'), kGdwFrame},
      {"old control-meter frame", 2, kOldFrame, kOldFrame},
      {"GB control-meter frame", 0, kGbFrame, kGbFrame},
      {"no frame", 0, HexText(480), HexText(480)},
      {"frame not at the start", 2, "00" + std::string(kOldFrame),
       "00" + std::string(kOldFrame) + std::string(136, '0')},
      {"blank-area marker", 1, std::string(40, 'F'), std::string(40, 'F') + std::string(344, '0')},
  };
  for (const auto& c : cases) {
    ASSERT_EQ(tolvar_WriteCard(reader.drv(), kHandle, kM1Card, c.area, c.written), 0) << c.name;
    std::string text;
    ASSERT_EQ(tolvar_ReadCard(reader.drv(), kHandle, kM1Card, c.area, text), 0) << c.name;
    EXPECT_EQ(text, c.delivered) << c.name;
  }
}

TEST_F(M1Areas, OtherCardTypesMoveNothing) {
  reader.ClearJournal();
  std::string text = "previous";
  EXPECT_EQ(tolvar_ReadCard(reader.drv(), kHandle, 2, 4, text), 0);
  EXPECT_EQ(text, "");
  EXPECT_EQ(tolvar_WriteCard(reader.drv(), kHandle, -1, 4, "00"), 0);
  EXPECT_TRUE(reader.journal().empty());
}

class EepromAreas : public ::testing::Test {
 protected:
  ScopedCurrentDir logFolder;
  OpenReader reader{sim::IssueEepromCard()};
};

TEST_F(EepromAreas, Areas0And1DoNotExistAndCallNothing) {
  for (std::int16_t area : {0, 1}) {
    std::string text = "previous";
    EXPECT_EQ(tolvar_ReadCard(reader.drv(), kHandle, kEepromCard, area, text), kAreaNotOnEeprom);
    EXPECT_EQ(text, "previous");
    EXPECT_EQ(tolvar_WriteCard(reader.drv(), kHandle, kEepromCard, area, "00"), kAreaNotOnEeprom);
  }
  EXPECT_TRUE(reader.journal().empty());
}

TEST_F(EepromAreas, AreasLieAtTheirOffsetsAndReadTheirByteCounts) {
  const struct {
    std::int16_t area;
    int offset;
    int readBytes;
  } cases[] = {{2, 0, 64}, {3, 64, 64}, {4, 512, 20}};
  for (const auto& c : cases) {
    const std::string text = HexText(2 * c.readBytes + 8);  // four bytes more than a read returns
    reader.ClearJournal();
    ASSERT_EQ(tolvar_WriteCard(reader.drv(), kHandle, kEepromCard, c.area, text), 0);
    EXPECT_EQ(reader.journal(),
              Journal{"dc_swr_eepromhex(17," + std::to_string(c.offset) + "," +
                      std::to_string(c.readBytes + 4) + "," + text + ")=0"});
    EXPECT_EQ(sim::BytesToHex(reader.image().memory.data() + c.offset, c.readBytes + 4), text);
    std::string back;
    ASSERT_EQ(tolvar_ReadCard(reader.drv(), kHandle, kEepromCard, c.area, back), 0);
    EXPECT_EQ(back, text.substr(0, 2 * c.readBytes)) << c.area;
  }
}

TEST_F(EepromAreas, AUserNumberOf44CharactersStores22BytesAndReadsBack40) {
  const std::string user = "003" + std::string(17, 'F') + std::string(24, '1');
  ASSERT_EQ(user.size(), 44u);
  ASSERT_EQ(tolvar_WriteCard(reader.drv(), kHandle, kEepromCard, 4, user), 0);
  EXPECT_EQ(sim::BytesToHex(reader.image().memory.data() + 512, 23), user + "00");
  std::string back;
  ASSERT_EQ(tolvar_ReadCard(reader.drv(), kHandle, kEepromCard, 4, back), 0);
  EXPECT_EQ(back, user.substr(0, 40));
}

TEST_F(EepromAreas, AnOddLastCharacterIsNotWritten) {
  ASSERT_EQ(tolvar_WriteCard(reader.drv(), kHandle, kEepromCard, 3, "ABCDE"), 0);
  EXPECT_EQ(reader.journal(), Journal{"dc_swr_eepromhex(17,64,2,ABCDE)=0"});
}

TEST_F(EepromAreas, ThreeMemoryFailuresGive4) {
  reader.image().faults.refusedMemoryOffsets = {64};
  std::string text = "previous";
  EXPECT_EQ(tolvar_ReadCard(reader.drv(), kHandle, kEepromCard, 3, text), kAreaIoFailed);
  const std::string failedRead = "dc_srd_eepromhex(17,64,64)=1";
  EXPECT_EQ(reader.journal(), (Journal{failedRead, kPause, failedRead, kPause, failedRead}));
  EXPECT_EQ(text, "previous");

  reader.ClearJournal();
  EXPECT_EQ(tolvar_WriteCard(reader.drv(), kHandle, kEepromCard, 3, "00"), kAreaIoFailed);
  const std::string failedWrite = "dc_swr_eepromhex(17,64,1,00)=1";
  EXPECT_EQ(reader.journal(), (Journal{failedWrite, kPause, failedWrite, kPause, failedWrite}));
}

TEST_F(EepromAreas, ATextTooLongForTheByteCountIsRefusedUnwritten) {
  EXPECT_EQ(tolvar_WriteCard(reader.drv(), kHandle, kEepromCard, 2, std::string(65536, '0')),
            kAreaIoFailed);
  EXPECT_TRUE(reader.journal().empty());
}

TEST_F(EepromAreas, AReadDeliversTheFrameAtTheStart) {
  ASSERT_EQ(tolvar_WriteCard(reader.drv(), kHandle, kEepromCard, 2, kOldFrame), 0);
  std::string text;
  ASSERT_EQ(tolvar_ReadCard(reader.drv(), kHandle, kEepromCard, 2, text), 0);
  EXPECT_EQ(text, kOldFrame);
}

TEST_F(EepromAreas, AnAreaPast4MovesNothing) {
  std::string text = "previous";
  EXPECT_EQ(tolvar_ReadCard(reader.drv(), kHandle, kEepromCard, 7, text), 0);
  EXPECT_EQ(text, "");
  EXPECT_EQ(tolvar_WriteCard(reader.drv(), kHandle, kEepromCard, -1, "00"), 0);
  EXPECT_TRUE(reader.journal().empty());
}

}  // namespace
}  // namespace wenlock
