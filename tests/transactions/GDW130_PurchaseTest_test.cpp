#include <gtest/gtest.h>

#include <string>

#include "Q_GDW130_ShareFun.h"
#include "TO_Kessel_Unit.h"
#include "TestSupport.h"

namespace wenlock {
namespace {

constexpr const char* kExampleAddress = "330100012001";
constexpr const char* kExampleDataUnit = "4523010000001100030050120000";

TWrite_Card_Items ExampleRequest() {
  TWrite_Card_Items request;
  request.cardNo = kExampleAddress;
  request.code2 = "12345";
  request.supCardNum = "0";
  request.writeNo = "3";
  request.buyPower = "12.5";
  return request;
}

TEST(GDW130_InputAddr, SplitsElevenAndTwelveCharacterAddresses) {
  const struct {
    const char* address;
    const char* district;
    const char* terminal;
    const char* master;
  } cases[] = {
      {"330100012001", "3301", "00012", "001"},
      {"33010001201", "3301", "0001", "201"},
  };
  for (const auto& c : cases) {
    TGDW130_ProtDef definition;
    ASSERT_TRUE(GDW130_InputAddr(c.address, definition)) << c.address;
    EXPECT_EQ(definition.C, "4A");
    EXPECT_EQ(definition.DistrictNum, c.district);
    EXPECT_EQ(definition.DeviceID, c.terminal);
    EXPECT_EQ(definition.HomeDeviceAddr, c.master);
  }
}

TEST(GDW130_InputAddr, RefusesOtherLengthsAndLeavesTheDefinition) {
  for (const char* address : {"", "3301000120", "3301000120012"}) {
    TGDW130_ProtDef definition{"C", "D", "T", "M", "A", "F", "S"};
    EXPECT_FALSE(GDW130_InputAddr(address, definition)) << address;
    EXPECT_EQ(definition.C, "C");
    EXPECT_EQ(definition.DistrictNum, "D");
    EXPECT_EQ(definition.DeviceID, "T");
    EXPECT_EQ(definition.HomeDeviceAddr, "M");
  }
}

TEST(GDW130_FunctionTables, HoldThePurchaseTestInStep) {
  ASSERT_EQ(GDW130_AFN_FN_LIST.size(), 1u);
  EXPECT_EQ(GDW130_AFN_FN_LIST[0].AFN, "E4");
  EXPECT_EQ(GDW130_AFN_FN_LIST[0].Fn, "01");
  EXPECT_EQ(testing::GbkToUtf8(GDW130_AFN_FN_LIST[0].Name), "购电测试");
  ASSERT_EQ(GDW130_AFN_FN_DATALIST.size(), GDW130_AFN_FN_LIST.size());
  EXPECT_EQ(GDW130_AFN_FN_DATALIST[0], &GDW130_AFNE4_F1_Data);
}

struct DataUnitCase {
  const char* code2;
  const char* supCardNum;
  const char* writeNo;
  const char* buyPower;
  const char* sData;  // user number, type, replacement count, write count, energy
};

TEST(GDW130_AFNE4_F1_Data, BuildsTheDataUnit) {
  const DataUnitCase cases[] = {
      {"12345", "0", "3", "12.5", "452301000000" "11" "00" "0300" "50120000"},
      {"12345", "0", "3", "-3", "452301000000" "15" "00" "0300" "00030000"},
      {"12345", "", "", "12.5", "452301000000" "11" "00" "0000" "50120000"},
      {"12345678901234", "0", "3", "1", "129078563412" "11" "00" "0300" "00010000"},
      {"123456789012X", "0", "3", "1", "129078563412" "11" "00" "0300" "00010000"},
      {" 12345\t", "0", "3", "1", "452301000000" "11" "00" "0300" "00010000"},
      {"", "0", "3", "1", "000000000000" "11" "00" "0300" "00010000"},
      {"1", "255", "65535", "999999.99", "010000000000" "11" "FF" "FFFF" "99999999"},
      {"1", "16", "258", "0.29", "010000000000" "11" "10" "0201" "29000000"},
      {"1", "0", "1", "-0.01", "010000000000" "15" "00" "0100" "01000000"},
      {"1", "0", "1", "0", "010000000000" "11" "00" "0100" "00000000"},
      {"1", "0", "1", "12.500", "010000000000" "11" "00" "0100" "50120000"},
  };
  for (const auto& c : cases) {
    TWrite_Card_Items request;
    request.code2 = c.code2;
    request.supCardNum = c.supCardNum;
    request.writeNo = c.writeNo;
    request.buyPower = c.buyPower;
    TGDW130_ProtDef definition;
    ASSERT_TRUE(GDW130_AFNE4_F1_Data(request, definition)) << c.buyPower;
    EXPECT_EQ(definition.sData, c.sData) << c.code2 << " / " << c.buyPower;
  }
}

// Values that are no numbers, or that would not fit their fields and shift the rest of the frame.
const DataUnitCase kRefusedRequests[] = {
    {"12345", "256", "3", "12.5", ""},      {"12345", "-1", "3", "12.5", ""},
    {"12345", "x", "3", "12.5", ""},        {"12345", "0", "65536", "12.5", ""},
    {"12345", "0", "-1", "12.5", ""},       {"12345", "0", "3.0", "12.5", ""},
    {"12345", "0", "3", "1000000", ""},     {"12345", "0", "3", "-1000000", ""},
    {"12345", "0", "3", "999999.999", ""},  {"12345", "0", "3", "12.345", ""},
    {"12345", "0", "3", "0.001", ""},       {"12345", "0", "3", "", ""},
    {"12345", "0", "3", "twelve", ""},      {"12A45", "0", "3", "12.5", ""},
    {"12 45", "0", "3", "12.5", ""},        {"-12345", "0", "3", "12.5", ""},
};

TWrite_Card_Items RefusedRequest(const DataUnitCase& c) {
  TWrite_Card_Items request = ExampleRequest();
  request.code2 = c.code2;
  request.supCardNum = c.supCardNum;
  request.writeNo = c.writeNo;
  request.buyPower = c.buyPower;
  return request;
}

TEST(GDW130_AFNE4_F1_Data, RefusesValuesOutsideTheFields) {
  for (const auto& c : kRefusedRequests) {
    TGDW130_ProtDef definition;
    definition.sData = "untouched";
    EXPECT_FALSE(GDW130_AFNE4_F1_Data(RefusedRequest(c), definition))
        << c.code2 << " / " << c.supCardNum << " / " << c.writeNo << " / " << c.buyPower;
    EXPECT_EQ(definition.sData, "untouched");
  }
}

// CheckRecvFrame and ParseFrameOper write to the action log of the current directory.
class CtrlOperSetTest : public ::testing::Test {
 protected:
  testing::ScopedCurrentDir log_dir_;
};

TEST_F(CtrlOperSetTest, BuildsTheExampleFrame) {
  const std::string frame = CtrlOperSet(1, ExampleRequest());
  EXPECT_EQ(frame, SendFrame_RW({"4A", "3301", "00012", "001", "E4", "01", kExampleDataUnit}));

  std::string checked;
  ASSERT_EQ(CheckRecvFrame(frame, checked), kFrameComplete);
  EXPECT_EQ(checked, frame);
  std::string data;
  std::string address;
  ASSERT_EQ(ParseFrameOper(frame, data, address), kFrameComplete);
  EXPECT_EQ(address, kExampleAddress);
  EXPECT_EQ(data, kExampleDataUnit);
}

TEST_F(CtrlOperSetTest, TrimsTheAddress) {
  TWrite_Card_Items request = ExampleRequest();
  request.cardNo = std::string(" ") + kExampleAddress + "\t";
  EXPECT_EQ(CtrlOperSet(1, request), CtrlOperSet(1, ExampleRequest()));
}

TEST_F(CtrlOperSetTest, AnswersAddressesOfTheWrongLengthWith041) {
  for (const char* address : {"33010001200", "3301000120011", "", "   "}) {
    TWrite_Card_Items request = ExampleRequest();
    request.cardNo = address;
    EXPECT_EQ(CtrlOperSet(1, request), "041") << '"' << address << '"';
  }
}

TEST_F(CtrlOperSetTest, GivesNoFrameForARefusedDataUnit) {
  for (const auto& c : kRefusedRequests) {
    EXPECT_EQ(CtrlOperSet(1, RefusedRequest(c)), "")
        << c.code2 << " / " << c.supCardNum << " / " << c.writeNo << " / " << c.buyPower;
  }
}

TEST_F(CtrlOperSetTest, GivesNoFrameWhenItCannotBeFormed) {
  for (const char* address : {"3301ABCDE001", "33G100012001", "330100012ABC"}) {
    TWrite_Card_Items request = ExampleRequest();
    request.cardNo = address;
    EXPECT_EQ(CtrlOperSet(1, request), "") << address;
  }
  for (const std::int32_t index : {0, 2, -1}) {
    EXPECT_EQ(CtrlOperSet(index, ExampleRequest()), "") << index;
  }
}

TEST(GDW130_AFNE4_F1_DataItemParse, CutsAFullItemIntoItsFields) {
  const std::string item = std::string("452301000000") + "11" + "01" + "0300" + "0400" +
                           "50120000" + "302112150924" + "11111111" + "22222222" + "33333333" +
                           "44444444" + "55555555";
  ASSERT_EQ(item.size(), 84u);
  TGDW130_DataItem_AFNE4_F1 record;
  GDW130_AFNE4_F1_DataItemParse(item, record);
  EXPECT_EQ(record.UserID, "452301000000");
  EXPECT_EQ(record.BuyType, "11");
  EXPECT_EQ(record.supCardNum, "01");
  EXPECT_EQ(record.GPRSwriteNo, "0300");
  EXPECT_EQ(record.cardwriteNo, "0400");
  EXPECT_EQ(record.buyPower, "50120000");
  EXPECT_EQ(record.buytime, "302112150924");
  EXPECT_EQ(record.totalYDN, "11111111");
  EXPECT_EQ(record.totalWDN, "22222222");
  EXPECT_EQ(record.totalBuy, "33333333");
  EXPECT_EQ(record.leftPower, "44444444");
  EXPECT_EQ(record.upZeroPower, "55555555");
}

TEST(GDW130_AFNE4_F1_DataItemParse, LeavesTheTailOfAShortItemShortOrEmpty) {
  TGDW130_DataItem_AFNE4_F1 record;
  GDW130_AFNE4_F1_DataItemParse(kExampleDataUnit, record);
  EXPECT_EQ(record.UserID, "452301000000");
  EXPECT_EQ(record.BuyType, "11");
  EXPECT_EQ(record.supCardNum, "00");
  EXPECT_EQ(record.GPRSwriteNo, "0300");
  EXPECT_EQ(record.cardwriteNo, "5012");
  EXPECT_EQ(record.buyPower, "0000");
  for (const std::string* rest : {&record.buytime, &record.totalYDN, &record.totalWDN,
                                  &record.totalBuy, &record.leftPower, &record.upZeroPower}) {
    EXPECT_EQ(*rest, "");
  }
}

}  // namespace
}  // namespace wenlock
