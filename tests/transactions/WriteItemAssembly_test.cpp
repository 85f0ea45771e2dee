#include <gtest/gtest.h>

#include <map>
#include <string>

#include "TO_Kessel_Unit.h"

namespace wenlock {
namespace {

// Every argument a distinct text, so that each field shows where it came from.
TWriteCardOper_Input DistinctInput() {
  TWriteCardOper_Input input;
  input.Port2 = "port";
  input.factory2 = "B";
  input.writeNo2 = "writeNo";
  input.cardNo2 = "cardNo";
  input.userNo2 = "userNo";
  input.icKind2 = "icKind";
  input.buyPower2 = "buyPower";
  input.buyTimes2 = "buyTimes";
  input.factor2 = "factor";
  input.supCardNum2 = "supCardNum";
  input.code1_2 = "code1";
  input.code2_2 = "code2";
  input.maxBurden2 = "15.678";
  input.yConst2 = "yCon";
  input.wConst2 = "wConst";
  input.operation2 = "operation";
  input.warnPower2 = "warnPower";
  input.code3_2 = "code3";
  input.warnTime2 = "warnTime";
  input.yBeginNum2 = "12.345";
  input.wBeginNum2 = "1234.56";
  return input;
}

TEST(Kessel_WriteCardOper_Data, FillsTheUsedFieldsAndLeavesTheRestEmpty) {
  const std::map<std::string, std::string> expected = {
      {"Port", "port"},         {"factory", "A"},           {"operation", "operation"},
      {"writeNo", "writeNo"},   {"cardNo", "cardNo"},       {"userNo", "userNo"},
      {"icKind", "icKind"},     {"buyPower", "buyPower"},   {"buyTimes", "buyTimes"},
      {"maxBurden", "15.6"},    {"factor", "factor"},       {"warnPower", "warnPower"},
      {"warnTime", "warnTime"}, {"supCardNum", "supCardNum"}, {"yConst", "yCon"},
      {"wConst", "100"},        {"yBeginNum", "12.345"},    {"wBeginNum", "1234.5"},
      {"code1", "code1"},       {"code2", "code2"},         {"code3", "code3"},
  };
  const TWrite_Card_Items items = Kessel_WriteCardOper_Data(DistinctInput());
  for (const auto& field : WriteCardItemFields) {
    const auto wanted = expected.find(std::string(field.Name));
    EXPECT_EQ(items.*field.Member, wanted == expected.end() ? "" : wanted->second) << field.Name;
  }
}

TEST(Kessel_WriteCardOper_Data, CutsMaxBurdenAndWBeginNumOneCharacterAfterThePoint) {
  const struct {
    const char* text;
    const char* cut;
  } cases[] = {
      {"15.678", "15.6"}, {"9.99", "9.9"}, {"12.", "12."},       {"40", "40"},
      {".75", ".7"},      {"1.2.3", "1.2"}, {"1234.56", "1234.5"}, {"", ""},
      {"12,5", "12,5"},
  };
  for (const auto& c : cases) {
    TWriteCardOper_Input input;
    input.maxBurden2 = c.text;
    input.wBeginNum2 = c.text;
    const TWrite_Card_Items items = Kessel_WriteCardOper_Data(input);
    EXPECT_EQ(items.maxBurden, c.cut) << c.text;
    EXPECT_EQ(items.wBeginNum, c.cut) << c.text;
  }
}

TEST(Kessel_WriteCardOper_Data, ReplacesMeterConstantsLongerThanFourCharacters) {
  const struct {
    const char* text;
    const char* kept;
  } cases[] = {
      {"12000", "100"}, {"3200", "3200"}, {"", ""}, {"abcde", "100"}, {"1.5", "1.5"},
  };
  for (const auto& c : cases) {
    TWriteCardOper_Input input;
    input.yConst2 = c.text;
    input.wConst2 = c.text;
    const TWrite_Card_Items items = Kessel_WriteCardOper_Data(input);
    EXPECT_EQ(items.yConst, c.kept) << c.text;
    EXPECT_EQ(items.wConst, c.kept) << c.text;
  }
}

TEST(Kessel_WriteCardOper_Data, AlwaysWritesFactoryA) {
  for (const char* factory : {"B", "", "A", "ZZ"}) {
    TWriteCardOper_Input input;
    input.factory2 = factory;
    EXPECT_EQ(Kessel_WriteCardOper_Data(input).factory, "A") << factory;
  }
}

}  // namespace
}  // namespace wenlock
