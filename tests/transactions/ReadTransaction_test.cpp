// The read transaction on the simulated reader: connection refusals, the areas each meter kind and
// read mode reach, recognition of frames and replacement-card records, and the result codes.
#include <gtest/gtest.h>

#include <deque>

#include "MorlinFrames.h"
#include "TransactionTestSupport.h"

namespace wenlock {
namespace {

using namespace testing;
using Journal = std::vector<std::string>;

const std::string kOldUserArea = "00" "1234FFFFFFFFFFFFFF" "000000123456";
const std::string kReplacementRecord = "6838761603123456FFCA16";

std::string OldWriteFrame() {
  morlin::WriteAreaValues values;
  values.card_number = 123456;
  values.purchase_count = 2;
  values.buy_power = 30;
  return morlin::BuildWriteAreaFrame(values);
}

TRead_Card_Items Incoming(std::string code3) {
  TRead_Card_Items items;
  items.port = "1";
  items.code3 = std::move(code3);
  return items;
}

TEST(ReadCard, AnAbsentReaderGives013WithoutCloseAndTheRecordUntouched) {
  SimulatedCard card;
  card.image().faults.noReader = true;
  TRead_Card_Items items = Incoming("1");
  EXPECT_EQ(card.Read(items), "013");
  EXPECT_EQ(card.journal(), (Journal{"dc_init(100,115200)=-1", "pause(100)",
                                     "dc_init(100,115200)=-1", "pause(100)",
                                     "dc_init(100,115200)=-1"}));
  const TRead_Card_Items incoming = Incoming("1");
  for (const auto& field : ReadCardItemFields) {
    EXPECT_EQ(items.*field.Member, incoming.*field.Member) << field.Name;
  }
}

TEST(ReadCard, CardTypeCodesNotHandledGive034AndOneClose) {
  // A5 makes the reader look again; it still answers A5 then.
  for (const std::deque<std::string>& codes :
       {std::deque<std::string>{"A1"}, std::deque<std::string>(8, "A5")}) {
    SCOPED_TRACE(codes.front());
    SimulatedCard card;
    card.image().faults.typeCodes = codes;
    TRead_Card_Items items = Incoming("1");
    EXPECT_EQ(card.Read(items), "034");
    EXPECT_EQ(CallCount(card.journal(), "dc_exit"), 1);
    EXPECT_EQ(items.cardNo, "");
    EXPECT_EQ(items.code3, "1");
  }
}

TEST(ReadCard, OldCardInWriteAreaModeReadsAreas4Then2Then3) {
  SimulatedCard card;
  card.PutArea(4, kOldUserArea);
  card.PutArea(2, OldWriteFrame());
  card.PutArea(3, morlin::BuildReturnAreaFrame({123456, 2, 5}));
  TRead_Card_Items items = Incoming("1");
  EXPECT_EQ(card.Read(items), "000");
  EXPECT_EQ(AreasRead(card.journal(), card.cardType()), (std::vector<int>{4, 2, 3}));
  // The reader is closed after the last read and again at the end.
  EXPECT_EQ(CallCount(card.journal(), "dc_exit"), 2);
  EXPECT_EQ(card.servers().journal(),
            (Journal{"create", "ReadSDWriteArea(" + OldWriteFrame() + ")", "release"}));
  EXPECT_EQ(items.cardNo, "123456");
  EXPECT_EQ(items.writeNo, "2");
  EXPECT_EQ(items.leftPower, "30");
  EXPECT_EQ(items.code1, "00");
  EXPECT_EQ(items.code2, "1234");
  EXPECT_EQ(items.code3, "0");
  EXPECT_EQ(items.port, "");
}

TEST(ReadCard, ReturnAreaModeOnAKind01CardReadsArea1Only) {
  SimulatedCard card;
  card.PutArea(4, "01" "1234FFFFFFFFFFFFFF" "000000000000123456789012");
  card.PutArea(1, kReplacementRecord);
  card.PutArea(0, std::string(kBlankAreaMarker));
  TRead_Card_Items items = Incoming("0");
  EXPECT_EQ(card.Read(items), "000");
  EXPECT_EQ(AreasRead(card.journal(), card.cardType()), (std::vector<int>{4, 1}));
  // Nothing decoded: the card number is the last twelve characters of its field.
  EXPECT_EQ(items.cardNo, "123456789012");
  EXPECT_EQ(items.code1, "");
  EXPECT_EQ(items.code2, "1234");
}

struct AreaCase {
  const char* name;
  std::string userArea;
  std::string mainArea;  // area 2 for kind 00, area 0 otherwise
  std::string returnArea;
  std::string mode;
  std::string code;
  std::string cardNo, code1, code2, factory;
};

TEST(ReadCard, WhatTheMainAreaHoldsDecidesTheResult) {
  const std::string marker(kBlankAreaMarker);
  const std::vector<AreaCase> cases = {
      {"blank marker beside a decoded frame", kOldUserArea, OldWriteFrame(), marker, "1", "038",
       "123456", "00", "1234", "A"},
      {"replacement-card record, not decoded", kOldUserArea, kReplacementRecord, "", "1", "000",
       "123456", "", "1234", ""},
      {"an all-F area", kOldUserArea, marker, "", "1", "038", "123456", "", "1234", ""},
      {"no frame and no record", kOldUserArea, "0123456789ABCDEF", "", "1", "038", "123456", "",
       "1234", ""},
      {"unknown kind with a frame", "05" "1234FFFFFFFFFFFFFF", OldWriteFrame(), "", "1", "000", "",
       "", "1234", ""},
      {"user number without F", "00" "123456789012345678" "000000123456", kReplacementRecord, "",
       "1", "000", "123456", "", "123456789012345678", ""},
      {"user number cut at its first F", "00" "12345678FFFFFFFFFF" "000000123456",
       kReplacementRecord, "", "1", "000", "123456", "", "12345678", ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    SimulatedCard card;
    const bool old = c.userArea.rfind("00", 0) == 0;
    card.PutArea(4, c.userArea);
    card.PutArea(old ? 2 : 0, c.mainArea);
    if (!c.returnArea.empty()) card.PutArea(old ? 3 : 1, c.returnArea);
    TRead_Card_Items items = Incoming(c.mode);
    EXPECT_EQ(card.Read(items), c.code);
    EXPECT_EQ(items.cardNo, c.cardNo);
    EXPECT_EQ(items.code1, c.code1);
    EXPECT_EQ(items.code2, c.code2);
    EXPECT_EQ(items.factory, c.factory);
  }
}

TEST(ReadCard, AFrameThatCannotBeDecodedIsNotASuccess) {
  // A GB purchase frame in the return area: the reply reader rejects it.
  {
    SimulatedCard card;
    card.PutArea(4, "03" "1234FFFFFFFFFFFFFF" "0000000012345678");
    TWrite_Card_Items sale = Request("3", "1234", "12345678");
    sale.writeNo = "1";
    card.PutArea(1, GBFrameStr(1, sale).frame);
    TRead_Card_Items items = Incoming("0");
    EXPECT_EQ(card.Read(items), "024");
    EXPECT_EQ(items.code1, "03");
    EXPECT_EQ(items.factory, "");
  }
  // The old-meter server cannot be created, or fails.
  for (const ServerMode mode : {ServerMode::kNotCreatable, ServerMode::kFailing}) {
    SimulatedCard card(Medium::kM1, mode);
    card.PutArea(4, kOldUserArea);
    card.PutArea(2, OldWriteFrame());
    TRead_Card_Items items = Incoming("1");
    EXPECT_EQ(card.Read(items), "003");
    EXPECT_EQ(items.code1, "00");
    EXPECT_EQ(items.cardNo, "");
  }
  // The blank-area rule still applies after it.
  {
    SimulatedCard card(Medium::kM1, ServerMode::kNotCreatable);
    card.PutArea(4, kOldUserArea);
    card.PutArea(2, OldWriteFrame());
    card.PutArea(3, std::string(kBlankAreaMarker));
    TRead_Card_Items items = Incoming("1");
    EXPECT_EQ(card.Read(items), "038");
  }
}

TEST(CheckBuCardFlag, RecognisesOnlyACompleteUpperCaseRecord) {
  struct Case {
    std::string text;
    std::int32_t result;
    std::string cardNo;
  };
  const std::vector<Case> cases = {
      {kReplacementRecord, 0, "123456"},
      {kReplacementRecord + "0000", 0, "123456"},
      {"6838761603123456FFca16", -1, "123456"},   // checksum in lower case
      {"6838761603123456FFCB16", -1, "123456"},   // wrong checksum
      {"6838761603123456EECA16", -1, "123456"},
      {"6838761603123456FFCA17", -1, "123456"},
      {"68387616XX123456FFCA16", -1, ""},         // count not hexadecimal
      {"6838761703123456FFCA16", -1, ""},
      {"", -1, ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    std::string cardNo;
    EXPECT_EQ(Check_BuCardFlag(c.text, cardNo), c.result);
    EXPECT_EQ(cardNo, c.cardNo);
  }
}

TEST(UserIDUpdate2, CutsAtTheFirstFAndAfter20Characters) {
  EXPECT_EQ(UserID_Update_2("12345678FFFFFFFFFF"), "12345678");
  EXPECT_EQ(UserID_Update_2("123456789012345678"), "123456789012345678");
  EXPECT_EQ(UserID_Update_2("1234567890123456789012"), "12345678901234567890");
  EXPECT_EQ(UserID_Update_2("F123"), "");
  EXPECT_EQ(UserID_Update(""), "FFFFFFFFFFFFFFFFFF");
}

// Raises as a broken reader library would.
std::int16_t WL_STDCALL ReadRaising(std::int32_t, std::int16_t, char*) {
  throw std::runtime_error("reader library failure");
}
std::int16_t WL_STDCALL WriteRaising(std::int32_t, std::int16_t, const char*) {
  throw std::runtime_error("reader library failure");
}

TEST(ReadCard, AnUnexpectedFailureGives001AndClosesTheReader) {
  SimulatedCard card;
  TolvarDrv raising = *card.context().drv;
  raising.dc_read_hex = ReadRaising;
  const TCardTransactionContext context{&raising, card.context().servers};
  TRead_Card_Items items = Incoming("1");
  card.image().prompts.clear();
  EXPECT_EQ(Read_Card(items, context), "001");
  EXPECT_EQ(CallCount(card.journal(), "dc_exit"), 1);
  TWrite_Card_Items sale = Request("1", "1", "123456789012");
  sale.buyPower = "1";
  raising.dc_write_hex = WriteRaising;
  EXPECT_EQ(Write_Card(sale, context), "001");
}

}  // namespace
}  // namespace wenlock
