// The old-meter paths through real late binding: the stand-in "Brackwell.Morlin" registered into
// the Wine prefix through its own entry point, created by ProgID and called by name by the
// production server factory; and with it unregistered, the codes of a missing server.
#include <gtest/gtest.h>

#include "ComHandles.h"
#include "ComServerTesting.h"
#include "MorlinFrames.h"
#include "TransactionTestSupport.h"

namespace wenlock {
namespace {

using namespace testing;

const std::string kOldUserArea = "00" "1234FFFFFFFFFFFFFF" "000000123456";

class LateBoundOldMeter : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(apartment_.result(), S_OK);
    ASSERT_TRUE(server_.library().loaded());
    ASSERT_EQ(server_.registration(), S_OK);
  }
  // Leaves the prefix as it was; unregistering twice is no failure.
  void TearDown() override { EXPECT_EQ(Entry("DllUnregisterServer")(), S_OK); }

  ServerEntryPoint Entry(const char* name) const { return server_.Entry(name); }

  com::ScopedApartment apartment_;
  RegisteredServer server_{"Morlin.dll"};
};

TWrite_Card_Items OldSale(std::string cardNo, std::string writeNo, std::string buyPower) {
  TWrite_Card_Items request = Request("0", "12345", std::move(cardNo));
  request.writeNo = std::move(writeNo);
  request.buyPower = std::move(buyPower);
  return request;
}

TEST_F(LateBoundOldMeter, OldFrameStrBuildsWhatTheStandInBuildsForEachCardAndOperation) {
  struct Case {
    const char* name;
    std::int32_t cardType;
    TWrite_Card_Items request;
  };
  TWrite_Card_Items everyValue = OldSale("654321", "7", "100.5");
  everyValue.factor = "2";
  everyValue.warnPower = "15.5";
  everyValue.maxBurden = "40.5";
  everyValue.wBeginNum = "30";
  everyValue.warnTime = "4";
  TWrite_Card_Items opening = OldSale(" 123456 ", "0", "50");
  opening.yConst = "3200";
  opening.wConst = "1600";
  const std::vector<Case> cases = {
      {"EEPROM card, account opening", 0, opening},
      {"M1 card, account opening", 1, opening},
      {"EEPROM card, purchase", 0, everyValue},
      {"M1 card, purchase", 1, everyValue},
  };
  const MorlinTestServers inProcess;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const TBuiltFrame built = OldFrameStr(c.cardType, c.request, ProductionOldMeterServers());
    EXPECT_EQ(built.code, "");
    EXPECT_EQ(built.frame, OldFrameStr(c.cardType, c.request, inProcess.factory()).frame);
    EXPECT_FALSE(built.frame.empty());
  }
  EXPECT_EQ(OldFrameStr(1, OldSale("12345", "1", "1"), ProductionOldMeterServers()).code, "041");
}

TEST_F(LateBoundOldMeter, SaleAnswerAndReadOnEachCardThroughTheRealServer) {
  for (const Medium medium : {Medium::kM1, Medium::kEeprom}) {
    SCOPED_TRACE(medium == Medium::kM1 ? "M1 card" : "EEPROM card");
    SimulatedCard card(medium, ProductionOldMeterServers());
    const std::vector<std::pair<std::string, std::string>> sales = {{"0", "50"}, {"1", "20.5"}};
    for (const auto& [writeNo, buyPower] : sales) {
      ASSERT_EQ(card.Write(OldSale("000042", writeNo, buyPower)), "00");
      TRead_Card_Items read;
      read.code3 = "1";
      EXPECT_EQ(card.Read(read), "038");  // decoded beside the blank return area
      EXPECT_EQ(read.cardNo, "000042");
      EXPECT_EQ(read.writeNo, writeNo);
      EXPECT_EQ(read.leftPower, buyPower);
    }
    EXPECT_EQ(card.Answer(-3.25).returnArea, 3);
    struct Reading {
      std::string mode, writeNo, leftPower;
    };
    for (const Reading& r : {Reading{"0", "1", "-3.25"}, Reading{"1", "1", "20.5"}}) {
      SCOPED_TRACE(r.mode);
      TRead_Card_Items read;
      read.code3 = r.mode;
      EXPECT_EQ(card.Read(read), "000");
      EXPECT_EQ(read.code1, "00");
      EXPECT_EQ(read.code2, "12345");
      EXPECT_EQ(read.cardNo, "000042");
      EXPECT_EQ(read.writeNo, r.writeNo);
      EXPECT_EQ(read.leftPower, r.leftPower);
    }
  }
}

TEST_F(LateBoundOldMeter, WithTheServerUnregisteredOldMeterCardsGive003) {
  ASSERT_EQ(Entry("DllUnregisterServer")(), S_OK);
  {
    SimulatedCard card(Medium::kM1, ProductionOldMeterServers());
    card.PutArea(4, "01" "999FFFFFFFFFFFFFFF");
    const std::string before = card.CardContent();
    EXPECT_EQ(card.Write(OldSale("123456", "1", "10")), "003");
    EXPECT_EQ(AreasWritten(card.journal(), card.cardType()), std::vector<int>{});
    EXPECT_EQ(card.CardContent(), before);
    EXPECT_TRUE(card.image().prompts.empty());
  }
  struct Case {
    std::string mode;
    std::string frame;  // in the area the mode reads
  };
  morlin::WriteAreaValues sold;
  sold.card_number = 123456;
  sold.buy_power = 30;
  const std::vector<Case> cases = {
      {"1", morlin::BuildWriteAreaFrame(sold)},
      {"0", morlin::BuildReturnAreaFrame({123456, 2, 5})},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.mode);
    SimulatedCard card(Medium::kEeprom, ProductionOldMeterServers());
    card.PutArea(4, kOldUserArea);
    card.PutArea(c.mode == "1" ? 2 : 3, c.frame);
    TRead_Card_Items read;
    read.code3 = c.mode;
    EXPECT_EQ(card.Read(read), "003");
    EXPECT_EQ(read.code1, "00");
    EXPECT_EQ(read.cardNo, "");
  }
}

}  // namespace
}  // namespace wenlock
