// The write request assembled from the Write_Card arguments that a write uses.
#include "TO_Kessel_Unit.h"
#include "Text.h"

namespace wenlock {

namespace {

// Keeps a number text up to one character after its first "." (no rounding); only "." counts.
std::string DecimalCut(const std::string& text) {
  const std::size_t point = text.find('.');
  if (point == std::string::npos) return text;
  const auto point_position = static_cast<std::int64_t>(point) + 1;
  return Copy(text, 1, point_position + 1);
}

// A meter constant of more than four characters falls back to 100, the constant the frame builders
// also assume when none is given.
std::string MeterConstOrDefault(const std::string& text) { return text.size() > 4 ? "100" : text; }

}  // namespace

TWrite_Card_Items Kessel_WriteCardOper_Data(const TWriteCardOper_Input& input) {
  TWrite_Card_Items items;
  items.Port = input.Port2;
  items.factory = "A";
  items.operation = input.operation2;
  items.writeNo = input.writeNo2;
  items.cardNo = input.cardNo2;
  items.userNo = input.userNo2;
  items.icKind = input.icKind2;
  items.buyPower = input.buyPower2;
  items.buyTimes = input.buyTimes2;
  items.maxBurden = DecimalCut(input.maxBurden2);
  items.factor = input.factor2;
  items.warnPower = input.warnPower2;
  items.warnTime = input.warnTime2;
  items.supCardNum = input.supCardNum2;
  items.yConst = MeterConstOrDefault(input.yConst2);
  items.wConst = MeterConstOrDefault(input.wConst2);
  items.yBeginNum = input.yBeginNum2;
  items.wBeginNum = DecimalCut(input.wBeginNum2);
  items.code1 = input.code1_2;
  items.code2 = input.code2_2;
  items.code3 = input.code3_2;
  return items;
}

}  // namespace wenlock
