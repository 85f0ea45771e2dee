// The control-meter frame builders: the server method and arguments each request chooses, the
// defaults of missing numbers, the card-number checks and why no frame was built.
#include <gtest/gtest.h>

#include "Morvane.h"
#include "MorlinFrames.h"
#include "TransactionTestSupport.h"

namespace wenlock {
namespace {

using namespace testing;

TWrite_Card_Items OldRequest(std::string writeNo) {
  TWrite_Card_Items request = Request("0", "", "123456");
  request.writeNo = std::move(writeNo);
  request.buyPower = "10";
  return request;
}

TWrite_Card_Items FullOldRequest(std::string writeNo) {
  TWrite_Card_Items request = OldRequest(std::move(writeNo));
  request.factor = "2";
  request.warnPower = "30";
  request.highPower = "5";
  request.lowPower = "3";
  request.wBeginNum = "50";
  request.maxBurden = "60";
  request.warnTime = "4";
  request.yConst = "200";
  request.wConst = "300";
  return request;
}

struct OldCallCase {
  const char* name;
  std::int32_t cardType;
  TWrite_Card_Items request;
  std::string call;
};

TEST(OldFrameStr, WriteCountAndCardTypeChooseTheServerMethod) {
  const std::vector<OldCallCase> cases = {
      {"opening, M1", 1, OldRequest("0"),
       "CreateSdInitCardMifare(123456,1,10,100,100,0,0,20,0,0,999,999,9)"},
      {"opening, EEPROM", 0, OldRequest("0"),
       "CreateSdInitCard(123456,1,10,100,100,0,0,20,0,0,999,999,9)"},
      {"write count not an integer opens", 1, OldRequest("x"),
       "CreateSdInitCardMifare(123456,1,10,100,100,0,0,20,0,0,999,999,9)"},
      {"purchase, M1", 1, OldRequest("5"),
       "CreateSdPurchaseCardMifare(123456,1,10,20,0,0,999,999,9,5)"},
      {"purchase, EEPROM", 0, OldRequest("5"),
       "CreateSdPurchaseCard(123456,1,10,20,0,0,999,999,9,5)"},
      {"opening with every value", 1, FullOldRequest("0"),
       "CreateSdInitCardMifare(123456,2,10,200,300,0,0,30,5,3,50,60,4)"},
      {"purchase with every value", 0, FullOldRequest("7"),
       "CreateSdPurchaseCard(123456,2,10,30,5,3,50,60,4,7)"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    MorlinTestServers servers;
    const TBuiltFrame built = OldFrameStr(c.cardType, c.request, servers.factory());
    EXPECT_TRUE(built.code.empty());
    EXPECT_EQ(servers.journal(), (std::vector<std::string>{"create", c.call, "release"}));
    // The text the server returned is the frame, unchanged.
    const auto values = morlin::ReadWriteAreaFrame(built.frame);
    ASSERT_TRUE(values);
    EXPECT_EQ(values->card_number, 123456);
    EXPECT_EQ(values->medium, c.cardType == 1 ? morlin::CardMedium::M1 : morlin::CardMedium::Eeprom);
  }
}

struct RefusalCase {
  const char* name;
  std::string cardNo;
  ServerMode servers;
  std::string_view code;
  std::vector<std::string> journal;
};

TEST(OldFrameStr, RefusalsSayWhyNoFrameWasBuilt) {
  const std::vector<RefusalCase> cases = {
      {"card number with blanks around", " 123456 ", ServerMode::kAvailable, {},
       {"create", "CreateSdInitCardMifare(123456,1,10,100,100,0,0,20,0,0,999,999,9)", "release"}},
      {"five characters", "12345", ServerMode::kAvailable, kCodeCardNoMismatch,
       {"create", "release"}},
      {"not a decimal number", "12A456", ServerMode::kAvailable, kCodeInputParameterError,
       {"create", "release"}},
      {"server not creatable, even for a wrong length", "12345", ServerMode::kNotCreatable,
       kCodeDriverError, {}},
      {"server failing", "123456", ServerMode::kFailing, kCodeDriverError,
       {"create", "CreateSdInitCardMifare(123456,1,10,100,100,0,0,20,0,0,999,999,9)", "release"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    MorlinTestServers servers(c.servers);
    TWrite_Card_Items request = OldRequest("0");
    request.cardNo = c.cardNo;
    const TBuiltFrame built = OldFrameStr(1, request, servers.factory());
    EXPECT_EQ(built.code, c.code);
    EXPECT_EQ(built.frame.empty(), !c.code.empty());
    EXPECT_EQ(servers.journal(), c.journal);
  }
}

// What Morvane reads back from a GB frame.
struct GBRead {
  std::int32_t result = -2;
  std::int32_t gdcs = 0;
  double energy = 0;
  double powerAlarm = 0;
  std::string address;
};

GBRead ReadGB(const std::string& frame) {
  GBRead read;
  char address[32] = {};
  char* addressOut = address;
  if (frame.size() > 54) {
    std::int32_t ct, pt, odt, bd, jr, zx;
    double ma, odp, odm, lp, lm;
    char st[32] = {}, end[32] = {};
    char* stOut = st;
    char* endOut = end;
    read.result = zjbkhzjs(frame.c_str(), &ct, &pt, &odt, &read.gdcs, &bd, &jr, &zx, &read.energy,
                           &read.powerAlarm, &ma, &odp, &odm, &lp, &lm, &addressOut, &stOut,
                           &endOut);
  } else {
    read.result = zjbgdzjs(frame.c_str(), &read.gdcs, &read.energy, &addressOut);
  }
  read.address = address;
  return read;
}

TEST(GBFrameStr, AccountOpeningAndPurchaseFrames) {
  TWrite_Card_Items request = Request("3", "", " 12345678 ");
  request.writeNo = "0";
  request.buyPower = "75.5";
  const TBuiltFrame opening = GBFrameStr(1, request);
  ASSERT_TRUE(opening.code.empty());
  const GBRead opened = ReadGB(opening.frame);
  EXPECT_EQ(opened.result, 0);
  EXPECT_EQ(opened.gdcs, 1);
  EXPECT_EQ(opened.energy, 75.5);
  EXPECT_EQ(opened.powerAlarm, 20);  // warnPower empty
  EXPECT_EQ(opened.address, "12345678");

  request.writeNo = "not a count";
  EXPECT_EQ(GBFrameStr(1, request).frame, opening.frame);

  request.writeNo = "7";
  const TBuiltFrame purchase = GBFrameStr(1, request);
  ASSERT_TRUE(purchase.code.empty());
  const GBRead bought = ReadGB(purchase.frame);
  EXPECT_EQ(bought.gdcs, 8);
  EXPECT_EQ(bought.energy, 75.5);

  request.buyPower = "";
  EXPECT_EQ(ReadGB(GBFrameStr(1, request).frame).energy, 0);
}

TEST(GBFrameStr, RefusalsSayWhyNoFrameWasBuilt) {
  struct Case {
    const char* name;
    std::string cardNo, writeNo, buyPower;
    std::string_view code;
  };
  const std::vector<Case> cases = {
      {"seven characters", "1234567", "0", "1", kCodeCardNoMismatch},
      {"nine characters", "123456789", "3", "1", kCodeCardNoMismatch},
      {"opening energy without plain decimal text", "12345678", "0", "1E20",
       kCodeInputParameterError},
      {"purchase energy without plain decimal text", "12345678", "4", "1E20",
       kCodeInputParameterError},
      {"write count at the end of its range", "12345678", "2147483647", "1",
       kCodeInputParameterError},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    TWrite_Card_Items request = Request("3", "", c.cardNo);
    request.writeNo = c.writeNo;
    request.buyPower = c.buyPower;
    const TBuiltFrame built = GBFrameStr(1, request);
    EXPECT_EQ(built.code, c.code);
    EXPECT_EQ(built.frame, "");
  }
}

}  // namespace
}  // namespace wenlock
