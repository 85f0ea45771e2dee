// The card tool on the card image file, reading the card through the reader unit and dcrf32.
#include <gtest/gtest.h>

#include <sstream>

#include "CardTool.h"
#include "Dcrf32Fixture.h"
#include "TolvarWRCard_Unit.h"

namespace wenlock {
namespace {

struct ToolRun {
  int exitCode;
  std::string out;
  std::string err;
};

ToolRun Tool(const std::vector<std::string>& args) {
  std::ostringstream out;
  std::ostringstream err;
  const int exitCode = cardtool::RunCardTool(args, out, err);
  return {exitCode, out.str(), err.str()};
}

using CardTool = testing::Dcrf32Library;

TEST_F(CardTool, IssuesAnM1CardThatTheSystemOpens) {
  ASSERT_EQ(Tool({"issue-m1", "1a2b3c4d"}).exitCode, 0);
  const sim::CardImage image = Image();
  EXPECT_EQ(image.card, sim::CardKind::kM1);
  EXPECT_EQ(image.serial, 0x1A2B3C4Du);
  EXPECT_EQ(sim::BytesToHex(image.blocks[63].data(), 6), M1SectorKey("1A2B3C4D", 15));

  const ToolRun shown = Tool({"show"});
  EXPECT_EQ(shown.exitCode, 0) << shown.err;
  EXPECT_EQ(shown.out.rfind("M1 card\narea 0: " + std::string(480, '0') + "\n  frame: none\n", 0),
            0u)
      << shown.out;
}

TEST_F(CardTool, ShowsTheFrameFoundInAnArea) {
  ASSERT_EQ(Tool({"issue-eeprom"}).exitCode, 0);
  sim::CardImage image = Image();
  std::vector<std::uint8_t> frame;
  ASSERT_TRUE(sim::HexToBytes("6801020368810211228C16", frame));
  std::copy(frame.begin(), frame.end(), image.memory.begin());
  Issue(image);
  const ToolRun shown = Tool({"show"});
  ASSERT_EQ(shown.exitCode, 0) << shown.err;
  EXPECT_NE(shown.out.find("EEPROM card\narea 0: reader status 8\narea 1: reader status 8\n"),
            std::string::npos)
      << shown.out;
  EXPECT_NE(shown.out.find("area 2: 6801020368810211228C16" + std::string(106, '0') +
                           "\n  frame: 6801020368810211228C16\n"),
            std::string::npos)
      << shown.out;
}

TEST_F(CardTool, SetsAndClearsFaults) {
  ASSERT_EQ(Tool({"issue-m1", "00000001"}).exitCode, 0);
  EXPECT_EQ(Tool({"fault", "type_codes", "A5", "A1"}).exitCode, 0);
  EXPECT_EQ(Tool({"fault", "refuse_auth", "3", "9"}).exitCode, 0);
  EXPECT_EQ(Image().faults.typeCodes, (std::deque<std::string>{"A5", "A1"}));
  EXPECT_EQ(Image().faults.refusedAuthSectors, (std::set<int>{3, 9}));
  const ToolRun refused = Tool({"show"});
  EXPECT_EQ(refused.exitCode, 1);
  EXPECT_NE(refused.err.find("card refused"), std::string::npos);

  EXPECT_NE(Tool({"faults"}).out.find("refuse_auth: 3 9\n"), std::string::npos);
  EXPECT_EQ(Tool({"clear-faults"}).exitCode, 0);
  EXPECT_TRUE(Image().faults.refusedAuthSectors.empty());
  EXPECT_EQ(Tool({"fault", "no_reader", "yes"}).exitCode, 0);
  EXPECT_NE(Tool({"show"}).err.find("no reader"), std::string::npos);
  EXPECT_EQ(Tool({"fault", "no_reader", "perhaps"}).exitCode, 1);
}

TEST_F(CardTool, ListsTheAnnouncedPrompts) {
  ASSERT_EQ(Tool({"issue-m1", "00000001"}).exitCode, 0);
  {
    ReaderConnection connection(Dcrf32Drv());
    ASSERT_EQ(connection.Open(), ConnectionStatus::kReady);
    ASSERT_EQ(SpeechElcOrMoney(Dcrf32Drv(), connection.handle(), 0, 12.34), 0);
    ASSERT_EQ(SpeechElcOrMoney(Dcrf32Drv(), connection.handle(), 1, 250), 0);
  }
  EXPECT_EQ(Tool({"prompts"}).out, "A100001234  energy 12.34\nA200025000  money 250\n");
}

TEST_F(CardTool, RefusesWhatItDoesNotUnderstand) {
  const struct {
    std::vector<std::string> args;
    int exitCode;
  } cases[] = {
      {{}, 2},
      {{"format-disk"}, 2},
      {{"issue-m1"}, 2},
      {{"issue-m1", "123"}, 2},
      {{"issue-m1", "1234567G"}, 1},
      {{"fault", "no_reader"}, 2},
      {{"fault", "colour", "blue"}, 1},
  };
  for (const auto& c : cases) EXPECT_EQ(Tool(c.args).exitCode, c.exitCode) << c.args.size();
}

TEST_F(CardTool, NeedsACardImage) {
  testing::SetEnvironment("WENLOCK_CARD_IMAGE", "");
  const ToolRun run = Tool({"show"});
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_NE(run.err.find("WENLOCK_CARD_IMAGE"), std::string::npos);
}

}  // namespace
}  // namespace wenlock
