#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "FrameStru.h"
#include "TestSupport.h"

namespace wenlock {
namespace {

struct ExpectedEntry {
  const char* code;
  const char* message;  // UTF-8
};

template <std::size_t N>
void ExpectCatalogueTable(const std::array<TErrorEntry, N>& table,
                          const std::vector<ExpectedEntry>& expected) {
  ASSERT_EQ(table.size(), expected.size());
  for (std::size_t i = 0; i < N; ++i) {
    EXPECT_EQ(table[i].Code, expected[i].code) << "index " << i;
    EXPECT_EQ(testing::GbkToUtf8(table[i].Message), expected[i].message) << table[i].Code;
  }
}

std::vector<TErrorEntry> WholeCatalogue() {
  std::vector<TErrorEntry> entries;
  entries.insert(entries.end(), ErrorID_1.begin(), ErrorID_1.end());
  entries.insert(entries.end(), ErrorID_2.begin(), ErrorID_2.end());
  entries.insert(entries.end(), ErrorID_3.begin(), ErrorID_3.end());
  entries.insert(entries.end(), ErrorID_4.begin(), ErrorID_4.end());
  return entries;
}

TEST(ResultCatalogue, EveryEntryDecodesToItsMessage) {
  ExpectCatalogueTable(ErrorID_1, {
      {"000", "成功"},
      {"001", "未知错误"},
      {"002", "读写内存错误"},
      {"003", "底层卡表驱动错误"},
      {"004", "设备故障"},
      {"005", "超时错误"},
      {"006", "不支持的操作"},
      {"007", "卡损坏错误"},
      {"008", "厂家编号错误"},
  });
  ExpectCatalogueTable(ErrorID_2, {
      {"011", "串口错误"},
      {"012", "串口被占用"},
      {"013", "打开串口错误"},
      {"014", "关闭串口错误"},
  });
  ExpectCatalogueTable(ErrorID_3, {
      {"021", "测卡错误"},
      {"022", "无卡错误"},
      {"023", "卡型错误"},
      {"024", "数据错误"},
      {"025", "长度错误"},
      {"026", "读错误"},
      {"027", "读取文件损坏错误"},
      {"028", "读取文件不存在错误"},
      {"029", "读取文件为空错误"},
      {"030", "表存储器损坏错误"},
      {"031", "表继电器损坏错误"},
      {"032", "表记度器损坏"},
      {"033", "两种以上的卡同时插入"},
      {"034", "卡识别错误"},
      {"035", "读卡通讯错误"},
      {"036", "写卡机错误应答"},
      {"037", "读用户号卡区错误"},
      {"038", "当前卡区为空"},
      {"039", "返写区有补卡标识"},
  });
  ExpectCatalogueTable(ErrorID_4, {
      {"041", "卡号不一致"},
      {"042", "不是物理新卡（专适用于用户开户第一次售电）"},
      {"043", "写文件不存在"},
      {"044", "写数据失败"},
      {"045", "校验错误"},
      {"046", "非法拔卡"},
      {"051", "传入参数错误"},
      {"052", "传出参数错误"},
      {"053", "传入参数3错误"},
      {"054", "传入参数4错误"},
      {"055", "传入参数5错误"},
      {"056", "传入参数6错误"},
      {"057", "传入参数7错误"},
      {"058", "传入参数8错误"},
      {"059", "传入参数9错误"},
      {"060", "写用户号卡区错误"},
  });
}

TEST(ResultCatalogue, Message042HasFullWidthParentheses) {
  const std::string message = testing::GbkToUtf8(ErrorID_4[1].Message);
  EXPECT_NE(message.find("（"), std::string::npos);
  EXPECT_NE(message.find("）"), std::string::npos);
  EXPECT_EQ(message.find_first_of("()"), std::string::npos);
}

TEST(ResultCatalogue, CodesAreThreeDigitsAscendingAndUnique) {
  const std::vector<TErrorEntry> entries = WholeCatalogue();
  ASSERT_EQ(entries.size(), 48u);
  for (std::size_t i = 0; i < entries.size(); ++i) {
    const std::string_view code = entries[i].Code;
    ASSERT_EQ(code.size(), 3u) << code;
    EXPECT_EQ(code.find_first_not_of("0123456789"), std::string_view::npos) << code;
    if (i > 0) {
      EXPECT_LT(entries[i - 1].Code, code);
    }
  }
}

TEST(ResultCatalogue, GapsHoldNoEntry) {
  std::set<int> codes;
  for (const TErrorEntry& entry : WholeCatalogue()) {
    codes.insert(std::stoi(std::string(entry.Code)));
  }
  for (const auto& [first, last] : {std::pair{9, 10}, {15, 20}, {40, 40}, {47, 50}}) {
    for (int code = first; code <= last; ++code) EXPECT_EQ(codes.count(code), 0u) << code;
  }
  EXPECT_EQ(*codes.begin(), 0);
  EXPECT_EQ(*codes.rbegin(), 60);
}

TEST(ResultCatalogue, NamedCodesPointAtTheirEntries) {
  const struct {
    std::string_view named;
    const char* code;
  } cases[] = {
      {kCodeSuccess, "000"},           {kCodeUnknownError, "001"},
      {kCodeOpenPortFailed, "013"},    {kCodeCardNotIdentified, "034"},
      {kCodeCardAreaEmpty, "038"},     {kCodeCardNoMismatch, "041"},
      {kCodeWriteDataFailed, "044"},   {kCodeWriteUserAreaFailed, "060"},
      {kCodeWriteSuccess, "00"},
  };
  for (const auto& c : cases) EXPECT_EQ(c.named, c.code);
}

TEST(ResultCodeMessage, FindsCataloguedCodesOnly) {
  for (const TErrorEntry& entry : WholeCatalogue()) {
    EXPECT_EQ(ResultCodeMessage(entry.Code), entry.Message) << entry.Code;
  }
  for (const char* unknown : {"00", "009", "040", "061", "", "0000", " 000"}) {
    EXPECT_EQ(ResultCodeMessage(unknown), "") << unknown;
  }
}

const std::vector<std::string> kReadCardItemNames = {
    "port", "factory", "password", "cardNo", "factor", "writeNo", "meterKind", "meterConst",
    "cardState", "leftPower", "leftMoney", "totalBuy", "totalMoney", "totalUsed",
    "totalUsedMoney", "jPrice", "fPrice", "pPrice", "gPrice", "oweMoney", "upZeroPower",
    "yJPower", "yPPower", "yNPower", "yVPower", "wJPower", "wPPower", "wNPower", "wVPower",
    "lastYJPower", "lastYPPower", "lastYNPower", "lastYVPower", "lastWJPower", "lastWPPower",
    "lastWNPower", "lastWVPower", "yNeedIndex", "yJNeedIndex", "yPNeedIndex", "yNNeedIndex",
    "yVNeedIndex", "yNeedIndexTime", "yJNeedIndexTime", "yPNeedIndexTime", "yNNeedIndexTime",
    "yVNeedIndexTime", "wNeedIndex", "wNeedIndexTime", "lastYNeedIndex", "lastYJNeedIndex",
    "lastYPNeedIndex", "lastYNNeedIndex", "lastYVNeedIndex", "lastYNeedIndexTime",
    "lastYJNeedIndexTime", "lastYPNeedIndexTime", "lastYNNeedIndexTime", "lastYVNeedIndexTime",
    "lastWNeedIndex", "lastWNeedIndexTime", "code1", "code2", "code3", "code4"};

const std::vector<std::string> kWriteCardItemNames = {
    "Port", "factory", "areaId", "operation", "writeNo", "cardNo", "password", "userNo",
    "icKind", "buyPower", "buyMoney", "price", "buyTimes", "maxBurden", "factor", "jPrice",
    "fPrice", "pPrice", "gPrice", "warnPower", "warnMoney", "highPower", "lowPower", "warnTime",
    "supCardNum", "yConst", "wConst", "allowOverMoney", "upCompTime", "allowStopPower",
    "notStopPowerBeginTim1", "notStopPowerEndTime1", "notStopPowerBeginTime2",
    "notStopPowerEndTime2", "notStopPowerBeginTime3", "notStopPowerEndTime3",
    "notStopPowerBeginTime4", "notStopPowerEndTime4", "notStopPowerBeginTime5",
    "notStopPowerEndTime5", "notStopPowerBeginTime6", "notStopPowerEndTime6",
    "dayNotStopPowerBeginTime1", "dayNotStopPowerEndTime1", "dayNotStopPowerBeginTime2",
    "dayNotStopPowerEndTime2", "warnControl", "timeSeg0", "timeSeg1", "timeSeg2", "timeSeg3",
    "timeSeg4", "timeSeg5", "timeSeg6", "timeSeg7", "timeSeg8", "timeSeg9", "needIndexPeriod",
    "smoothDiffTime", "FollDisy", "autoCBDay", "yBeginNum", "wBeginNum", "agreeOverPower",
    "needRecuTime", "warnBurdenDelay", "buytime", "insertCardFlag", "code1", "code2", "code3",
    "code4"};

template <typename Record, std::size_t N>
std::vector<std::string> FieldNames(const std::array<TCardItemField<Record>, N>& fields) {
  std::vector<std::string> names;
  for (const auto& field : fields) names.emplace_back(field.Name);
  return names;
}

// Each field written through the table is the only one that changes: no field is listed twice or
// left out.
template <typename Record, std::size_t N>
void ExpectFieldsAreDistinct(const std::array<TCardItemField<Record>, N>& fields) {
  for (std::size_t written = 0; written < N; ++written) {
    Record record;
    record.*fields[written].Member = "x";
    for (std::size_t i = 0; i < N; ++i) {
      EXPECT_EQ(record.*fields[i].Member, i == written ? "x" : "")
          << fields[written].Name << " reached " << fields[i].Name;
    }
  }
}

TEST(CardItemRecords, FreshRecordsAreEmpty) {
  const TRead_Card_Items read;
  for (const auto& field : ReadCardItemFields) EXPECT_EQ(read.*field.Member, "") << field.Name;
  const TWrite_Card_Items write;
  for (const auto& field : WriteCardItemFields) EXPECT_EQ(write.*field.Member, "") << field.Name;
}

TEST(CardItemRecords, FieldTablesListTheFieldsInRecordOrder) {
  EXPECT_EQ(FieldNames(ReadCardItemFields), kReadCardItemNames);
  EXPECT_EQ(FieldNames(WriteCardItemFields), kWriteCardItemNames);
  EXPECT_EQ(WriteCardItemFields[30].Member, &TWrite_Card_Items::notStopPowerBeginTim1);
  EXPECT_EQ(ReadCardItemFields[0].Member, &TRead_Card_Items::port);
  EXPECT_EQ(ReadCardItemFields[64].Member, &TRead_Card_Items::code4);
}

TEST(CardItemRecords, FieldTablesReachEveryFieldOnce) {
  ExpectFieldsAreDistinct(ReadCardItemFields);
  ExpectFieldsAreDistinct(WriteCardItemFields);
}

}  // namespace
}  // namespace wenlock
