// The simulated reader as a shared library: its exports by name, the production reader table bound
// to it by import, and the card image file that keeps the card between calls and processes.
#include <gtest/gtest.h>

#include "Dcrf32Fixture.h"
#include "ReaderModel.h"
#include "TolvarWRCard_Unit.h"

namespace wenlock {
namespace {

using testing::Dcrf32Library;

TEST_F(Dcrf32Library, AnswersAScriptedSessionThroughItsExports) {
  ASSERT_TRUE(library.loaded());
  const auto init = library.Get<decltype(&::dc_init)>("dc_init");
  const auto card = library.Get<decltype(&::dc_card)>("dc_card");
  const auto loadKey = library.Get<decltype(&::dc_load_key_hex)>("dc_load_key_hex");
  const auto authenticate = library.Get<decltype(&::dc_authentication)>("dc_authentication");
  const auto writeBlock = library.Get<decltype(&::dc_write_hex)>("dc_write_hex");
  const auto readBlock = library.Get<decltype(&::dc_read_hex)>("dc_read_hex");
  const auto readMemory = library.Get<decltype(&::dc_srd_eepromhex)>("dc_srd_eepromhex");
  const auto writeMemory = library.Get<decltype(&::dc_swr_eepromhex)>("dc_swr_eepromhex");
  const auto exit = library.Get<decltype(&::dc_exit)>("dc_exit");
  ASSERT_TRUE(init && card && loadKey && authenticate && writeBlock && readBlock && readMemory &&
              writeMemory && exit);

  Issue(sim::IssueM1Card(0x0BADCAFE));
  const std::int32_t handle = init(100, 115200);
  ASSERT_EQ(handle, sim::ReaderModel::kHandle);
  std::uint32_t serial = 0;
  ASSERT_EQ(card(handle, 0, &serial), 0);
  EXPECT_EQ(serial, 0x0BADCAFEu);
  ASSERT_EQ(loadKey(handle, 0, 15, M1SectorKey("0BADCAFE", 15).c_str()), 0);
  ASSERT_EQ(authenticate(handle, 0, 15), 0);
  const std::string data = "0030123456789012345678FFFFFFFFFF";
  ASSERT_EQ(writeBlock(handle, 61, data.c_str()), 0);
  char block[33] = {};
  ASSERT_EQ(readBlock(handle, 61, block), 0);
  EXPECT_EQ(std::string(block), data);
  char code[3] = {};
  ASSERT_EQ(readMemory(handle, 1000, 1, code), 0);
  EXPECT_STREQ(code, "A3");
  ASSERT_EQ(writeMemory(handle, 1001, 5, "A100001234"), 0);
  ASSERT_EQ(exit(handle), 0);
  EXPECT_NE(exit(handle), 0);

  // Everything went through the file: another process would see the same card.
  const sim::CardImage image = Image();
  EXPECT_EQ(sim::BytesToHex(image.blocks[61].data(), 16), data);
  EXPECT_EQ(image.prompts, std::vector<std::string>{"A100001234"});
  EXPECT_FALSE(image.open);
  const auto trace = Trace();
  ASSERT_EQ(trace.size(), 10u);
  EXPECT_EQ(trace.front(), "dc_init(100,115200)=17");
  EXPECT_EQ(trace[1], "dc_card(17,0)=0 -> 0BADCAFE");
  EXPECT_EQ(trace.back(), "dc_exit(17)=1");
}

TEST_F(Dcrf32Library, WithoutACardImageThereIsNoReader) {
  ASSERT_TRUE(library.loaded());
  const auto init = library.Get<decltype(&::dc_init)>("dc_init");
  testing::SetEnvironment("WENLOCK_CARD_IMAGE", "");
  EXPECT_LE(init(100, 115200), 0);
  testing::SetEnvironment("WENLOCK_CARD_IMAGE", (folder.path() / "missing.txt").string());
  EXPECT_LE(init(100, 115200), 0);
  testing::WriteWholeFile(imagePath, "card: floppy\n");  // an image that does not read
  testing::SetEnvironment("WENLOCK_CARD_IMAGE", imagePath.string());
  EXPECT_LE(init(100, 115200), 0);
}

TEST_F(Dcrf32Library, TheProductionTableRunsAWholeSaleOnTheCardInTheFile) {
  sim::CardImage issued = sim::IssueM1Card(0x00C0FFEE);
  issued.faults.primingFailures = 1;
  issued.faults.typeCodes = {"A5", "A4"};
  Issue(issued);
  const std::string frame = "6801020368810211228C16";
  {
    ReaderConnection connection(Dcrf32Drv());
    ASSERT_EQ(connection.Open(), ConnectionStatus::kReady);
    ASSERT_EQ(connection.Identify(), ConnectionStatus::kReady);
    EXPECT_EQ(connection.cardType(), kM1Card);
    const std::int32_t handle = connection.handle();
    EXPECT_EQ(tolvar_WriteCard(Dcrf32Drv(), handle, kM1Card, 4, "000FFFFFFFFFFFFFFFFF000001"), 0);
    EXPECT_EQ(tolvar_WriteCard(Dcrf32Drv(), handle, kM1Card, 2, frame), 0);
    EXPECT_EQ(SpeechElcOrMoney(Dcrf32Drv(), handle, 0, 12.34), 0);
    std::string text;
    EXPECT_EQ(tolvar_ReadCard(Dcrf32Drv(), handle, kM1Card, 2, text), 0);
    EXPECT_EQ(text, frame);
  }
  const sim::CardImage image = Image();
  EXPECT_EQ(image.faults.primingFailures, 0);
  EXPECT_TRUE(image.faults.typeCodes.empty());
  EXPECT_EQ(image.prompts, std::vector<std::string>{"A100001234"});
  EXPECT_EQ(sim::BytesToHex(image.blocks[1].data(), 11), frame);
  EXPECT_FALSE(image.open);
  EXPECT_EQ(Trace().back(), "dc_exit(17)=0");
}

}  // namespace
}  // namespace wenlock
