// The three card image decoders: values taken from each meter kind's frame, the fixed fields, how a
// frame that cannot be decoded stops the filling, and the out arguments of Read_Card.
#include <gtest/gtest.h>

#include "Morvane.h"
#include "MorlinFrames.h"
#include "TransactionTestSupport.h"

namespace wenlock {
namespace {

using namespace testing;

// A terminal's Q/GDW 130 frame addressed 123456789012 whose data is the E4 F1 item.
std::string Gdw130Frame(const std::string& item) {
  TGDW130_ProtDef definition;
  EXPECT_TRUE(GDW130_InputAddr("123456789012", definition));
  definition.AFN = "E4";
  definition.Fn = "01";
  definition.sData = item;
  return SendFrame_RW(definition);
}

// The E4 F1 item with the write count, remaining energy, total bought and energy beyond zero.
std::string E4F1Item(const std::string& cardwriteNo, const std::string& leftPower,
                     const std::string& totalBuy = "00100000",
                     const std::string& upZeroPower = "25000000") {
  return "000000012345" "11" "00" "0000" + cardwriteNo + "00010000" "000000000000" "00000000"
         "00000000" + totalBuy + leftPower + upZeroPower;
}

std::string GBPurchaseFrame(std::int32_t gdcs, double energy, const char* address) {
  char buffer[512] = {};
  char* out = buffer;
  EXPECT_EQ(zjbfkgd(gdcs, energy, address, &out), 0);
  return buffer;
}

std::string GBAccountOpeningFrame(double energy, const char* address) {
  char buffer[512] = {};
  char* out = buffer;
  EXPECT_EQ(zjbfkkh(1, 1, 0, 1, energy, 20, 0, 0, 0, 0, 0, 1, 0, 0, address, "0000", "2359", &out),
            0);
  return buffer;
}

std::string OldWriteAreaFrame(std::int32_t card, std::int32_t count, double energy) {
  morlin::WriteAreaValues values;
  values.card_number = card;
  values.purchase_count = count;
  values.buy_power = energy;
  return morlin::BuildWriteAreaFrame(values);
}

struct CarriedFields {
  std::string cardNo, writeNo, leftPower, totalBuy, upZeroPower;
};

CarriedFields Carried(const TRead_Card_Items& items) {
  return {items.cardNo, items.writeNo, items.leftPower, items.totalBuy, items.upZeroPower};
}

void ExpectCarried(const TCardDecoding& decoding, const CarriedFields& expected) {
  EXPECT_EQ(decoding.code, kCodeSuccess);
  const CarriedFields got = Carried(decoding.items);
  EXPECT_EQ(got.cardNo, expected.cardNo);
  EXPECT_EQ(got.writeNo, expected.writeNo);
  EXPECT_EQ(got.leftPower, expected.leftPower);
  EXPECT_EQ(got.totalBuy, expected.totalBuy);
  EXPECT_EQ(got.upZeroPower, expected.upZeroPower);
}

// Every field but the five a card carries holds its fixed text.
void ExpectFixedFields(const TRead_Card_Items& items) {
  int demandTimes = 0;
  for (const auto& field : ReadCardItemFields) {
    const std::string name(field.Name);
    if (name == "cardNo" || name == "writeNo" || name == "leftPower" || name == "totalBuy" ||
        name == "upZeroPower") {
      continue;
    }
    EXPECT_EQ(items.*field.Member, FixedReadCardItemText(field.Name)) << name;
    demandTimes += items.*field.Member == "2005-01-01 12:12:12" ? 1 : 0;
  }
  EXPECT_EQ(demandTimes, 12);
  EXPECT_EQ(items.factory, "A");
  EXPECT_EQ(items.port, "");
  EXPECT_EQ(items.password, "");
  EXPECT_EQ(items.meterConst, "1");
  EXPECT_EQ(items.code1, "0");
  EXPECT_EQ(items.lastWNeedIndexTime, "2005-01-01 12:12:12");
  EXPECT_EQ(items.lastWNeedIndex, "0");
}

class Decoders : public ::testing::Test {
 protected:
  ScopedCurrentDir logFolder;  // the Q/GDW 130 parse logs
  MorlinTestServers servers;
};

TEST_F(Decoders, Gdw130ItemGivesWriteCountAndEnergies) {
  const auto decoding = Kessel_ReadCardOper_Data(Gdw130Frame(E4F1Item("0500", "50341200")));
  ExpectCarried(decoding, {"123456789012", "5", "1234.5", "10", "0.25"});
  ExpectFixedFields(decoding.items);
}

TEST_F(Decoders, OldWriteAndReturnAreasThroughTheServer) {
  const auto written =
      Kessel_ReadCardOper_Data_old(OldWriteAreaFrame(42, 3, 100), "1", servers.factory());
  ExpectCarried(written, {"000042", "3", "100", "0", "0"});
  ExpectFixedFields(written.items);

  const std::string answer = morlin::BuildReturnAreaFrame({42, 3, -12.5});
  const auto returned = Kessel_ReadCardOper_Data_old(answer, "0", servers.factory());
  ExpectCarried(returned, {"000042", "3", "-12.5", "0", "0"});
  // One server per decoding, released after it.
  EXPECT_EQ(servers.journal(),
            (std::vector<std::string>{"create", "ReadSDWriteArea(" + OldWriteAreaFrame(42, 3, 100) + ")",
                                      "release", "create", "ReadSDReturnArea(" + answer + ")",
                                      "release"}));
}

TEST_F(Decoders, GBWriteAreaFramesGoToTheirReaderByLength) {
  const std::string purchase = GBPurchaseFrame(4, 56.5, "12345678");
  ASSERT_EQ(purchase.size(), 54u);
  const auto bought = Kessel_ReadCardOper_Data_GB(purchase, "1");
  ExpectCarried(bought, {"12345678", "4", "56.5", "0", "0"});
  ExpectFixedFields(bought.items);

  const std::string opening = GBAccountOpeningFrame(75, "00000042");
  ASSERT_GT(opening.size(), 54u);
  ExpectCarried(Kessel_ReadCardOper_Data_GB(opening, "1"), {"00000042", "1", "75", "0", "0"});

  // One character more sends the purchase frame to the account-opening reader, which rejects it.
  EXPECT_EQ(Kessel_ReadCardOper_Data_GB(purchase + "0", "1").code, kCodeDataError);
}

// Frames a decoder cannot finish: the code, and the fields filled before it stopped.
struct StoppedCase {
  const char* name;
  std::function<TCardDecoding(const OldMeterServerFactory&)> decode;
  ServerMode servers;
  std::string_view code;
  std::vector<std::string> filled;  // the fields with text, in record order
};

std::vector<std::string> FilledFields(const TRead_Card_Items& items) {
  std::vector<std::string> filled;
  for (const auto& field : ReadCardItemFields) {
    if (!(items.*field.Member).empty()) filled.emplace_back(field.Name);
  }
  return filled;
}

TEST_F(Decoders, AFrameThatCannotBeDecodedIsReportedWithTheRecordSoFar) {
  const std::string oldFrame = OldWriteAreaFrame(42, 3, 100);
  const std::vector<StoppedCase> cases = {
      {"write count not BCD",
       [](auto&) { return Kessel_ReadCardOper_Data(Gdw130Frame(E4F1Item("0A00", "50341200"))); },
       ServerMode::kAvailable, kCodeDataError, {"factory", "cardNo", "factor"}},
      {"energy not BCD",
       [](auto&) { return Kessel_ReadCardOper_Data(Gdw130Frame(E4F1Item("0500", "5034120A"))); },
       ServerMode::kAvailable, kCodeDataError,
       {"factory", "cardNo", "factor", "writeNo", "meterKind", "meterConst", "cardState"}},
      {"Q/GDW 130 frame that does not parse",
       [](auto&) { return Kessel_ReadCardOper_Data("68FFFF16"); }, ServerMode::kAvailable,
       kCodeDataError, {}},
      {"old server not creatable",
       [&](auto& f) { return Kessel_ReadCardOper_Data_old(oldFrame, "1", f); },
       ServerMode::kNotCreatable, kCodeDriverError, {}},
      {"old server failing",
       [&](auto& f) { return Kessel_ReadCardOper_Data_old(oldFrame, "0", f); },
       ServerMode::kFailing, kCodeDriverError, {}},
      {"old return area read as write area",
       [](auto& f) {
         return Kessel_ReadCardOper_Data_old(morlin::BuildReturnAreaFrame({1, 1, 1}), "1", f);
       },
       ServerMode::kAvailable, kCodeDriverError, {}},
      {"GB reply reader given a purchase frame",
       [](auto&) { return Kessel_ReadCardOper_Data_GB(GBPurchaseFrame(1, 1, "12345678"), "0"); },
       ServerMode::kAvailable, kCodeDataError, {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    MorlinTestServers local(c.servers);
    const TCardDecoding decoding = c.decode(local.factory());
    EXPECT_EQ(decoding.code, c.code);
    EXPECT_EQ(FilledFields(decoding.items), c.filled);
  }
}

TEST(ReadOutData, CopiesEveryFieldAfterPortWithFactoryA) {
  TRead_Card_Items items;
  for (const auto& field : ReadCardItemFields) items.*field.Member = std::string(field.Name) + "!";
  std::array<std::string, kReadCardOutArguments> out;
  Read_OutData_old(items, out);
  EXPECT_EQ(out.size(), 64u);
  EXPECT_EQ(out.front(), "A");
  EXPECT_EQ(out[1], "password!");
  EXPECT_EQ(out[2], "cardNo!");
  EXPECT_EQ(out.back(), "code4!");
  for (std::size_t i = 1; i < out.size(); ++i) {
    EXPECT_EQ(out[i], std::string(ReadCardItemFields[i + 1].Name) + "!");
  }

  // Even a record nothing decoded into.
  Read_OutData_old(TRead_Card_Items{}, out);
  EXPECT_EQ(out.front(), "A");
  EXPECT_EQ(out[2], "");
}

}  // namespace
}  // namespace wenlock
