// The meter that answers a sale: the reply frames each kind writes, read back by the system's own
// readers, and the cards it refuses to answer.
#include <gtest/gtest.h>

#include "MeterAnswer.h"
#include "MeterReplyFrames.h"
#include "Morvane.h"
#include "MorlinFrames.h"
#include "OldCtrl_Dl645.h"
#include "Text.h"
#include "TolvarWRCard_Unit.h"
#include "TransactionTestSupport.h"

namespace wenlock {
namespace {

using namespace testing;
using cardtool::MeterAnswerError;

struct GBReply {
  std::int32_t result = -1;
  double sydl = -1, presydl = -1, pregdl = -1;
  std::int32_t gdcs = -1, tzsj = -1, pregdcs = -1, gdlx = -1, gdfs = -1;
  std::string terminaladdr;
};

GBReply ReadGBReply(const std::string& frame) {
  GBReply reply;
  char address[32] = {}, pregdsj[32] = {}, fxsj[32] = {}, mac[32] = {};
  char *addressOut = address, *pregdsjOut = pregdsj, *fxsjOut = fxsj, *macOut = mac;
  reply.result = zjbfkgdswer(frame.c_str(), &reply.sydl, &reply.presydl, &reply.pregdl,
                             &reply.gdcs, &reply.tzsj, &reply.pregdcs, &reply.gdlx, &reply.gdfs,
                             &addressOut, &pregdsjOut, &fxsjOut, &macOut);
  reply.terminaladdr = address;
  return reply;
}

TEST(GBReplyFrame, IsACompleteB6FrameThatMorvaneReads) {
  struct Case {
    std::string address;
    double sydl;
    std::int32_t gdcs;
  };
  for (const Case& c : {Case{"12345678", 4.75, 2}, Case{"00ABCDEF", -1.5, 65535},
                        Case{"00000001", 0.29, 0}, Case{"FFFFFFFF", 21474836.47, 1}}) {
    SCOPED_TRACE(c.address);
    const std::string frame = cardtool::GBReplyFrame(c.address, c.sydl, c.gdcs);
    EXPECT_EQ(frame.size(), 2u * (13 + 37));
    EXPECT_EQ(frame.substr(16, 6), "B62500");
    std::string found;
    EXPECT_EQ(Check_GBCtrlMeterProtocol(frame, found), 0);
    EXPECT_EQ(found, frame);
    const GBReply reply = ReadGBReply(frame);
    EXPECT_EQ(reply.result, 0);
    EXPECT_EQ(reply.terminaladdr, c.address);
    EXPECT_EQ(reply.sydl, c.sydl);
    EXPECT_EQ(reply.gdcs, c.gdcs);
    EXPECT_EQ(reply.presydl, 0);
    EXPECT_EQ(reply.pregdcs, 0);
  }
}

TEST(GBReplyFrame, RefusesWhatItsFieldsCannotCarry) {
  EXPECT_THROW(cardtool::GBReplyFrame("1234567", 1, 1), ConversionError);
  EXPECT_THROW(cardtool::GBReplyFrame("1234567G", 1, 1), ConversionError);
  EXPECT_THROW(cardtool::GBReplyFrame("12345678", 1, 65536), ConversionError);
  EXPECT_THROW(cardtool::GBReplyFrame("12345678", 1, -1), ConversionError);
  EXPECT_THROW(cardtool::GBReplyFrame("12345678", 21474836.48, 1), ConversionError);
}

TEST(GDW130ReplyFrame, CarriesTheItemOnAnUplinkFrameToTheSameTerminal) {
  TGDW130_DataItem_AFNE4_F1 item{"452301000000", "11", "00", "0300", "0300", "50120000",
                                 "060514090324", "00000000", "00000000", "50120000",
                                 "25010000", "00000000"};
  const std::string text = cardtool::GDW130_AFNE4_F1_DataItemText(item);
  ASSERT_EQ(text.size(), 84u);
  TGDW130_DataItem_AFNE4_F1 parsed;
  GDW130_AFNE4_F1_DataItemParse(text, parsed);
  EXPECT_EQ(cardtool::GDW130_AFNE4_F1_DataItemText(parsed), text);
  EXPECT_EQ(parsed.buytime, "060514090324");

  const std::string frame = cardtool::GDW130_AFNE4_F1_ReplyFrame("330100012001", text);
  std::string data, address;
  ASSERT_EQ(ParseFrameOper(frame, data, address), kFrameComplete);
  EXPECT_EQ(data, text);
  EXPECT_EQ(address, "330100012001");
  EXPECT_EQ(frame.substr(12, 2), cardtool::kGDW130UplinkControl);
  const TCardDecoding decoded = Kessel_ReadCardOper_Data(frame);
  EXPECT_EQ(decoded.code, kCodeSuccess);
  EXPECT_EQ(decoded.items.writeNo, "3");
  EXPECT_EQ(decoded.items.leftPower, "1.25");
  EXPECT_EQ(decoded.items.totalBuy, "12.5");
}

TEST(MeterAnswerFrame, TheTerminalEchoesTheSaleAndStampsItsTime) {
  const FixedClock clock(MakeDateTime(2024, 3, 9, 14, 5, 6));
  TWrite_Card_Items sale = Request("1", "12345", "330100012001");
  sale.writeNo = "3";
  sale.supCardNum = "2";
  sale.buyPower = "12.5";
  const std::string answer = cardtool::MeterAnswerFrame("01", CtrlOperSet(1, sale), 1.25);
  std::string data, address;
  ASSERT_EQ(ParseFrameOper(answer, data, address), kFrameComplete);
  EXPECT_EQ(address, "330100012001");
  TGDW130_DataItem_AFNE4_F1 item;
  GDW130_AFNE4_F1_DataItemParse(data, item);
  EXPECT_EQ(data.size(), 84u);
  EXPECT_EQ(item.UserID, "452301000000");
  EXPECT_EQ(item.BuyType, "11");
  EXPECT_EQ(item.supCardNum, "02");
  EXPECT_EQ(item.GPRSwriteNo, "0300");
  EXPECT_EQ(item.cardwriteNo, "0300");
  EXPECT_EQ(item.buyPower, "50120000");
  EXPECT_EQ(item.buytime, "060514090324");
  EXPECT_EQ(item.totalYDN, "00000000");
  EXPECT_EQ(item.totalWDN, "00000000");
  EXPECT_EQ(item.totalBuy, "50120000");
  EXPECT_EQ(item.leftPower, "25010000");
  EXPECT_EQ(item.upZeroPower, "00000000");
}

TEST(MeterAnswerFrame, RefusesWhatNoMeterOfTheKindWouldAnswer) {
  TWrite_Card_Items terminalSale = Request("1", "12345", "330100012001");
  terminalSale.writeNo = "10000";
  terminalSale.buyPower = "1";
  TWrite_Card_Items smallSale = terminalSale;
  smallSale.writeNo = "1";
  TWrite_Card_Items gbSale = Request("3", "12345", "12345678");
  gbSale.writeNo = "1";
  gbSale.buyPower = "1";
  const std::string gbFrame = GBFrameStr(1, gbSale).frame;
  const std::string marker(kBlankAreaMarker);
  struct Case {
    const char* name;
    std::string kind, sale;
    std::optional<double> remaining;
  };
  const std::vector<Case> cases = {
      {"unknown kind", "05", gbFrame, 1},
      {"no kind at all", "", gbFrame, 1},
      {"old meter, blank area", "00", marker, 1},
      {"old meter, a GB frame", "00", gbFrame, 1},
      {"old meter, its own return frame", "00", morlin::BuildReturnAreaFrame({1, 1, 1}), 1},
      {"old meter, energy beyond its frame", "00",
       morlin::BuildWriteAreaFrame({}), 21474837.0},
      {"GB meter, blank area", "03", marker, 1},
      {"GB meter, its own reply", "03", cardtool::GBReplyFrame("12345678", 1, 1), 1},
      {"terminal, blank area", "01", marker, 1},
      {"terminal, a GB frame", "01", gbFrame, 1},
      {"terminal, its own answer", "01",
       cardtool::GDW130_AFNE4_F1_ReplyFrame("330100012001", std::string(84, '0')), 1},
      {"terminal, write count beyond four digits", "01", CtrlOperSet(1, terminalSale), 1},
      {"terminal, energy beyond its item", "01", CtrlOperSet(1, smallSale), 1000000},
      {"terminal, a negative energy beyond its item", "01", CtrlOperSet(1, smallSale), -1000000},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_THROW(cardtool::MeterAnswerFrame(c.kind, c.sale, c.remaining), MeterAnswerError);
  }
}

TEST(AnswerSale, RefusesACardItCannotAnswerAndLeavesItUntouched) {
  struct Case {
    const char* name;
    Medium medium;
    std::string userArea;
    std::function<void(sim::ReaderFaults&)> fault;
  };
  const std::vector<Case> cases = {
      {"no reader", Medium::kM1, "03", [](auto& f) { f.noReader = true; }},
      {"card refused", Medium::kM1, "03", [](auto& f) { f.typeCodes = {"A1"}; }},
      {"a blank card", Medium::kM1, "", nullptr},
      {"kind 01 on an EEPROM card", Medium::kEeprom, "01", nullptr},
      {"kind 03 with a blank write area", Medium::kM1, "03", nullptr},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    SimulatedCard card(c.medium);
    if (!c.userArea.empty()) card.PutArea(4, c.userArea + "12345FFFFFFFFFFFFF");
    if (c.fault) c.fault(card.image().faults);
    const std::string before = card.CardContent();
    EXPECT_THROW(card.Answer(1), MeterAnswerError);
    EXPECT_EQ(card.CardContent(), before);
    EXPECT_EQ(AreasWritten(card.journal(), card.cardType()), std::vector<int>{});
  }
}

TEST(AnswerSale, AReturnAreaTheReaderRefusesIsReported) {
  SimulatedCard card;
  TWrite_Card_Items sale = Request("3", "12345", "12345678");
  sale.writeNo = "1";
  sale.buyPower = "5";
  ASSERT_EQ(card.Write(sale), "00");
  card.image().faults.refusedWriteBlocks = {M1AreaLayout(1).front().blocks.front()};
  EXPECT_THROW(card.Answer(1), MeterAnswerError);
  EXPECT_EQ(CallCount(card.journal(), "dc_exit"), 1);
}

}  // namespace
}  // namespace wenlock
