// The Q/GDW 130 purchase-test frame: terminal address, E4 F1 data unit and the returned data item.
#include <algorithm>
#include <cmath>
#include <optional>

#include "TO_Kessel_Unit.h"
#include "Text.h"

namespace wenlock {

namespace {

constexpr std::size_t kTerminalAddressLength = 12;
constexpr std::int32_t kUserNumberDigits = 12;
constexpr std::int32_t kMaxSupCardNum = 255;
constexpr std::int32_t kMaxWriteNo = 65535;
constexpr double kEnergyLimit = 1000000;  // exclusive, in either sign

bool AllDigits(std::string_view text) {
  return std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// The first 12 characters of code2 as six BCD bytes, low byte first.
std::optional<std::string> UserNumberField(std::string_view code2) {
  const std::string digits = Copy(Trim(code2), 1, kUserNumberDigits);
  if (!AllDigits(digits)) return std::nullopt;
  return DataStrToDown(FormatS(digits, kUserNumberDigits / 2));
}

// A binary count of `bytes` bytes, low byte first; the empty text counts as 0.
std::optional<std::string> CountField(std::string_view text, std::int32_t max, std::int32_t bytes) {
  std::int32_t count = 0;
  if (!text.empty() && !TryStrToInt(text, count)) return std::nullopt;
  if (count < 0 || count > max) return std::nullopt;
  return DataStrToDown(IntToHex(count, 2 * bytes));
}

// The magnitude of the energy in hundredths as four BCD bytes, low byte first.
std::optional<std::string> EnergyField(double energy) {
  const double magnitude = std::fabs(energy);
  if (!(magnitude < kEnergyLimit)) return std::nullopt;
  // A fraction of a hundredth leaves a decimal point (or an exponent) in the real text, and a value
  // just below the limit can round up to nine digits.
  const std::string hundredths = RealText(magnitude * 100);
  if (hundredths.size() > 8 || !AllDigits(hundredths)) return std::nullopt;
  return DataStrToDown(FormatS(hundredths, 4));
}

std::string PurchaseType(double energy) { return energy < 0 ? "15" : "11"; }

// The rows of GDW130_AFN_FN_LIST count from 1.
bool IsFunctionRow(std::int32_t index) {
  return index >= 1 && static_cast<std::size_t>(index) <= GDW130_AFN_FN_LIST.size();
}

}  // namespace

bool GDW130_InputAddr(std::string_view address, TGDW130_ProtDef& GDW130_ProtDef) {
  const auto length = static_cast<std::int64_t>(address.size());
  if (length != 11 && length != 12) return false;
  GDW130_ProtDef.DistrictNum = Copy(address, 1, 4);
  GDW130_ProtDef.DeviceID = Copy(address, 5, length - 7);
  GDW130_ProtDef.HomeDeviceAddr = Copy(address, length - 2, 3);
  GDW130_ProtDef.C = "4A";
  return true;
}

bool GDW130_AFNE4_F1_Data(const TWrite_Card_Items& request, TGDW130_ProtDef& GDW130_ProtDef) {
  double energy = 0;
  if (!TryStrToFloat(request.buyPower, energy)) return false;
  const auto user_number = UserNumberField(request.code2);
  const auto sup_card_num = CountField(request.supCardNum, kMaxSupCardNum, 1);
  const auto write_no = CountField(request.writeNo, kMaxWriteNo, 2);
  const auto hundredths = EnergyField(energy);
  if (!user_number || !sup_card_num || !write_no || !hundredths) return false;
  GDW130_ProtDef.sData =
      *user_number + PurchaseType(energy) + *sup_card_num + *write_no + *hundredths;
  return true;
}

std::string CtrlOperSet(std::int32_t index, const TWrite_Card_Items& request) {
  try {
    const std::string address = Trim(request.cardNo);
    if (address.size() != kTerminalAddressLength) return std::string(kCodeCardNoMismatch);
    TGDW130_ProtDef definition;
    if (!GDW130_InputAddr(address, definition) || !IsFunctionRow(index)) return {};
    const TGDW130_AFN_FN& function = GDW130_AFN_FN_LIST[index - 1];
    definition.AFN = function.AFN;
    definition.Fn = function.Fn;
    if (!GDW130_AFN_FN_DATALIST[index - 1](request, definition)) return {};
    return SendFrame_RW(definition);
  } catch (...) {
    // Its callers take the empty text for "no frame"; nothing may escape to them.
    return {};
  }
}

void GDW130_AFNE4_F1_DataItemParse(std::string_view item, TGDW130_DataItem_AFNE4_F1& record) {
  struct Field {
    std::string TGDW130_DataItem_AFNE4_F1::*member;
    std::int64_t width;
  };
  static constexpr Field kFields[] = {
      {&TGDW130_DataItem_AFNE4_F1::UserID, 12},     {&TGDW130_DataItem_AFNE4_F1::BuyType, 2},
      {&TGDW130_DataItem_AFNE4_F1::supCardNum, 2},  {&TGDW130_DataItem_AFNE4_F1::GPRSwriteNo, 4},
      {&TGDW130_DataItem_AFNE4_F1::cardwriteNo, 4}, {&TGDW130_DataItem_AFNE4_F1::buyPower, 8},
      {&TGDW130_DataItem_AFNE4_F1::buytime, 12},    {&TGDW130_DataItem_AFNE4_F1::totalYDN, 8},
      {&TGDW130_DataItem_AFNE4_F1::totalWDN, 8},    {&TGDW130_DataItem_AFNE4_F1::totalBuy, 8},
      {&TGDW130_DataItem_AFNE4_F1::leftPower, 8},   {&TGDW130_DataItem_AFNE4_F1::upZeroPower, 8},
  };
  std::int64_t position = 1;
  for (const Field& field : kFields) {
    record.*field.member = Copy(item, position, field.width);
    position += field.width;
  }
}

}  // namespace wenlock
