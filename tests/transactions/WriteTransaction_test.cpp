// The write transaction on the simulated reader: what each area receives, the refusals that leave
// the card untouched, reader refusals at each write step, the voice prompt, and round trips.
#include <gtest/gtest.h>

#include <optional>

#include "TransactionTestSupport.h"
#include "TolvarWRCard_Unit.h"

namespace wenlock {
namespace {

using namespace testing;

const std::string kMarker(kBlankAreaMarker);

TWrite_Card_Items Sale(std::string code1, std::string cardNo, std::string writeNo = "1") {
  TWrite_Card_Items request = Request(std::move(code1), "12345", std::move(cardNo));
  request.writeNo = std::move(writeNo);
  request.buyPower = "10";
  return request;
}

std::int16_t FirstBlock(std::int16_t area) { return M1AreaLayout(area).front().blocks.front(); }

TEST(WriteCard, CompleteSaleOnAnM1CardOfKind1) {
  SimulatedCard card;
  const TWrite_Card_Items request = Sale("1", "123456789012");
  EXPECT_EQ(card.Write(request), "00");
  const auto journal = card.journal();
  EXPECT_EQ(AreasWritten(journal, card.cardType()), (std::vector<int>{4, 0, 1}));
  EXPECT_EQ(CallCount(journal, "dc_exit"), 1);
  EXPECT_EQ(card.image().prompts, (std::vector<std::string>{"A1" + TextToFormatNum("10")}));
  EXPECT_EQ(card.AreaText(4).substr(0, 44),
            "01" "12345FFFFFFFFFFFFF" "000000000000123456789012");
  EXPECT_EQ(card.AreaText(0), CtrlOperSet(1, request));
  EXPECT_EQ(card.AreaText(1).substr(0, 40), kMarker);
}

TEST(WriteCard, UserNumberAreaOfEachKind) {
  struct Case {
    std::string code1, code2, cardNo, expected;
  };
  const std::vector<Case> cases = {
      {"0", "777", "123456", "00" "777FFFFFFFFFFFFFFF" "000000123456"},
      {"3", "777", "12345678", "03" "777FFFFFFFFFFFFFFF" "0000000012345678"},
      // A user number over 18 characters is written whole.
      {"0", "1234567890123456789012", "123456", "00" "1234567890123456789012" "000000123456"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.expected);
    SimulatedCard card;
    TWrite_Card_Items request = Sale(c.code1, c.cardNo);
    request.code2 = c.code2;
    EXPECT_EQ(card.Write(request), "00");
    EXPECT_EQ(card.AreaText(4).substr(0, c.expected.size()), c.expected);
  }
}

struct RefusedCase {
  const char* name;
  Medium medium;
  ServerMode servers;
  TWrite_Card_Items request;
  std::string code;
};

TEST(WriteCard, ARequestThatCannotCompleteLeavesTheCardUntouched) {
  TWrite_Card_Items notANumber = Sale("1", "123456789012");
  notANumber.buyPower = "ten";
  TWrite_Card_Items replacementNotHex = Sale("3", "12345X");
  replacementNotHex.operation = "03";
  const std::vector<RefusedCase> cases = {
      {"kind 0, card number of 7", Medium::kM1, ServerMode::kAvailable, Sale("0", "1234567"), "041"},
      {"kind 1, card number of 11", Medium::kM1, ServerMode::kAvailable, Sale("1", "12345678901"),
       "041"},
      {"kind 3, card number of 7", Medium::kM1, ServerMode::kAvailable, Sale("3", "1234567"), "041"},
      {"unknown kind", Medium::kM1, ServerMode::kAvailable, Sale("7", "123456"), "051"},
      {"energy not a number", Medium::kM1, ServerMode::kAvailable, notANumber, "051"},
      {"card number not a number", Medium::kM1, ServerMode::kAvailable, Sale("0", "12A456"), "051"},
      {"replacement record of a card number not hex", Medium::kM1, ServerMode::kAvailable,
       replacementNotHex, "051"},
      {"server not creatable", Medium::kM1, ServerMode::kNotCreatable, Sale("0", "123456"), "003"},
      {"server failing", Medium::kEeprom, ServerMode::kFailing, Sale("0", "123456"), "003"},
      {"EEPROM card, kind 1", Medium::kEeprom, ServerMode::kAvailable, Sale("1", "123456789012"),
       "044"},
      {"EEPROM card, kind 3", Medium::kEeprom, ServerMode::kAvailable, Sale("3", "12345678"),
       "044"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    SimulatedCard card(c.medium, c.servers);
    card.PutArea(4, "01" "999FFFFFFFFFFFFFFF");
    const std::string before = card.CardContent();
    EXPECT_EQ(card.Write(c.request), c.code);
    EXPECT_EQ(AreasWritten(card.journal(), card.cardType()), std::vector<int>{});
    EXPECT_EQ(CallCount(card.journal(), "dc_exit"), 1);
    EXPECT_EQ(card.CardContent(), before);
    EXPECT_TRUE(card.image().prompts.empty());
  }
}

struct ReaderRefusalCase {
  const char* name;
  Medium medium;
  std::string code1, cardNo;
  std::function<void(sim::ReaderFaults&)> fault;
  std::string code;
  std::vector<int> written;  // areas the write reached
};

TEST(WriteCard, AReaderRefusalAtEachWriteStep) {
  const std::vector<ReaderRefusalCase> cases = {
      {"M1 user-number area", Medium::kM1, "1", "123456789012",
       [](auto& f) { f.refusedWriteBlocks = {FirstBlock(4)}; }, "060", {4}},
      {"M1 write area", Medium::kM1, "1", "123456789012",
       [](auto& f) { f.refusedWriteBlocks = {FirstBlock(0)}; }, "044", {4, 0}},
      {"M1 return area", Medium::kM1, "3", "12345678",
       [](auto& f) { f.refusedWriteBlocks = {FirstBlock(1)}; }, "044", {4, 0, 1}},
      {"EEPROM user-number area", Medium::kEeprom, "0", "123456",
       [](auto& f) { f.refusedMemoryOffsets = {512}; }, "060", {4}},
      {"EEPROM write area", Medium::kEeprom, "0", "123456",
       [](auto& f) { f.refusedMemoryOffsets = {0}; }, "044", {4, 2}},
      {"EEPROM return area", Medium::kEeprom, "0", "123456",
       [](auto& f) { f.refusedMemoryOffsets = {64}; }, "044", {4, 2, 3}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    SimulatedCard card(c.medium);
    c.fault(card.image().faults);
    EXPECT_EQ(card.Write(Sale(c.code1, c.cardNo)), c.code);
    EXPECT_EQ(AreasWritten(card.journal(), card.cardType()), c.written);
    EXPECT_EQ(CallCount(card.journal(), "dc_exit"), 1);
    EXPECT_TRUE(card.image().prompts.empty());
  }
}

TEST(WriteCard, AVoicePromptFailureChangesNothing) {
  SimulatedCard card;
  card.image().faults.refusedMemoryOffsets = {1001};
  EXPECT_EQ(card.Write(Sale("3", "12345678")), "00");
  EXPECT_EQ(AreasWritten(card.journal(), card.cardType()), (std::vector<int>{4, 0, 1}));
  EXPECT_EQ(card.AreaText(1).substr(0, 40), kMarker);
}

TEST(WriteCard, EmptyEnergyOnAKind3AccountOpeningUsesZeroWithoutPrompt) {
  SimulatedCard card;
  TWrite_Card_Items request = Sale("3", "12345678", "0");
  request.buyPower = "";
  EXPECT_EQ(card.Write(request), "00");
  EXPECT_TRUE(card.image().prompts.empty());
  TRead_Card_Items read;
  read.code3 = "1";
  EXPECT_EQ(card.Read(read), "038");  // the blank marker; the frame was decoded
  EXPECT_EQ(read.leftPower, "0");
  EXPECT_EQ(read.writeNo, "1");
  EXPECT_EQ(read.cardNo, "12345678");
}

TEST(WriteCard, ReplacementCardRecordInBothAreasRecognisedInEitherReadMode) {
  SimulatedCard card;
  TWrite_Card_Items request = Sale("3", "123456");
  request.operation = "03";
  EXPECT_EQ(card.Write(request), "00");
  EXPECT_TRUE(card.image().prompts.empty());
  const std::string record = "6838761603123456FF" + checkSum_CS("6838761603123456FF") + "16";
  EXPECT_EQ(card.AreaText(0).substr(0, record.size()), record);
  EXPECT_EQ(card.AreaText(1).substr(0, record.size()), record);
  for (const std::string mode : {"1", "0"}) {
    SCOPED_TRACE(mode);
    TRead_Card_Items read;
    read.code3 = mode;
    EXPECT_EQ(card.Read(read), "000");
    EXPECT_EQ(read.code1, "");
    EXPECT_EQ(read.code2, "12345");
    EXPECT_EQ(read.factory, "");  // nothing decoded
  }
}

TEST(WriteCard, ReplacementCardRecordOfAnOddCardNumberIsNotRecognised) {
  SimulatedCard card;
  TWrite_Card_Items request = Sale("3", "12345");
  request.operation = "03";
  EXPECT_EQ(card.Write(request), "00");
  EXPECT_EQ(card.AreaText(0).substr(0, 10), "6838761602");
  TRead_Card_Items read;
  read.code3 = "0";
  EXPECT_EQ(card.Read(read), "038");
}

// Open an account, sell again, let the meter answer, read in both modes.
struct RoundTripCase {
  const char* name;
  Medium medium;
  std::string code1, cardNo;
  std::optional<double> remaining;  // what the meter reports left; by default the energy sold
  // A read of the answer.
  std::string writeNo, leftPower, totalBuy, upZeroPower;
};

TEST(WriteCard, RoundTripsForEveryMeterKind) {
  const std::vector<RoundTripCase> cases = {
      {"old meter, M1", Medium::kM1, "0", "000042", 17.25, "1", "17.25", "0", "0"},
      {"old meter, EEPROM", Medium::kEeprom, "0", "000042", -3.5, "1", "-3.5", "0", "0"},
      {"old meter, energy sold", Medium::kEeprom, "0", "000042", std::nullopt, "1", "20.5", "0",
       "0"},
      {"Q/GDW 130 terminal, M1", Medium::kM1, "1", "123456789012", 7.5, "1", "7.5", "20.5", "0"},
      {"Q/GDW 130 terminal beyond zero", Medium::kM1, "1", "123456789012", -2.25, "1", "0",
       "20.5", "2.25"},
      {"Q/GDW 130 terminal, energy sold", Medium::kM1, "1", "123456789012", std::nullopt, "1",
       "20.5", "20.5", "0"},
      {"GB meter, M1", Medium::kM1, "3", "12345678", 4.75, "2", "4.75", "0", "0"},
      {"GB meter on credit", Medium::kM1, "3", "12345678", -1.5, "2", "-1.5", "0", "0"},
      {"GB meter, energy sold", Medium::kM1, "3", "12345678", std::nullopt, "2", "20.5", "0",
       "0"},
  };
  const FixedClock clock(MakeDateTime(2024, 3, 9, 14, 5, 6));
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    SimulatedCard card(c.medium);
    TWrite_Card_Items sale;
    for (const std::string writeNo : {"0", "1"}) {
      sale = Sale(c.code1, c.cardNo, writeNo);
      sale.buyPower = writeNo == "0" ? "50" : "20.5";
      ASSERT_EQ(card.Write(sale), "00");
      TRead_Card_Items read;
      read.code3 = "1";
      EXPECT_EQ(card.Read(read), "038");  // decoded, and the return area still blank
      EXPECT_EQ(read.code1, "0" + c.code1);
      EXPECT_EQ(read.code2, "12345");
      EXPECT_EQ(read.cardNo, c.cardNo);
      if (c.code1 != "1") { EXPECT_EQ(read.leftPower, sale.buyPower); }
      if (c.code1 == "3") { EXPECT_EQ(read.writeNo, std::to_string(std::stoi(writeNo) + 1)); }
      if (c.code1 == "0") { EXPECT_EQ(read.writeNo, writeNo); }
    }
    const std::string saleFrame = card.AreaText(c.code1 == "0" ? 2 : 0);
    const cardtool::TMeterAnswer answer = card.Answer(c.remaining);
    EXPECT_EQ(answer.kindCode, "0" + c.code1);
    EXPECT_EQ(answer.returnArea, c.code1 == "0" ? 3 : 1);
    EXPECT_EQ(AreasWritten(card.journal(), card.cardType()), std::vector<int>{answer.returnArea});
    EXPECT_EQ(card.AreaText(answer.returnArea), answer.frame);
    EXPECT_EQ(card.AreaText(c.code1 == "0" ? 2 : 0), saleFrame) << "the sale stays";

    TRead_Card_Items answered;
    answered.code3 = "0";
    EXPECT_EQ(card.Read(answered), "000");
    EXPECT_EQ(AreasRead(card.journal(), card.cardType()),
              (std::vector<int>{4, answer.returnArea}));
    EXPECT_EQ(answered.code1, "0" + c.code1);
    EXPECT_EQ(answered.code2, "12345");
    EXPECT_EQ(answered.cardNo, c.cardNo);
    EXPECT_EQ(answered.writeNo, c.writeNo);
    EXPECT_EQ(answered.leftPower, c.leftPower);
    EXPECT_EQ(answered.totalBuy, c.totalBuy);
    EXPECT_EQ(answered.upZeroPower, c.upZeroPower);

    // The sale is read as written, now that the return area is no longer blank; the terminal's
    // decoder takes the sale's short data unit for the item it answers with, and stops at leftPower.
    TRead_Card_Items sold;
    sold.code3 = "1";
    EXPECT_EQ(card.Read(sold), c.code1 == "1" ? "024" : "000");
    EXPECT_EQ(sold.cardNo, c.cardNo);
    if (c.code1 != "1") { EXPECT_EQ(sold.leftPower, sale.buyPower); }
  }
}

}  // namespace
}  // namespace wenlock
