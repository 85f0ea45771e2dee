// Account-opening frames (control code 37, 210 data bytes): the meter's ratios, alarm, overdraft
// and limit levels, switch-off settings, fixed tables and the first purchase.
#include <string>
#include <utility>

#include "MorvaneCore.h"

namespace morvane {

namespace {

constexpr std::uint8_t kAccountOpeningCtrlCode = 0x37;

// Data byte offsets of the fields that are not fixed.
constexpr int kPtAt = 0;
constexpr int kCtAt = 2;
constexpr int kDjSwitchAt = 5;
constexpr int kPowerAlarmAt = 6;
constexpr int kMoneyAlarmAt = 10;
constexpr int kOverDraftPowerAt = 15;
constexpr int kOverDraftTimeAt = 19;
constexpr int kOverDraftMoneyAt = 21;
constexpr int kLimitPowerAt = 25;
constexpr int kLimitMoneyAt = 29;
constexpr int kBiaoDianAt = 33;
constexpr int kSwitchOffAt = 34;
constexpr int kNoSwitchStAt = 35;
constexpr int kNoSwitchEndAt = 37;
constexpr int kGdlGdjeAt = 196;
constexpr int kGdcsAt = 200;

std::string repeated(std::string_view text, int times) {
  std::string result;
  for (int i = 0; i < times; ++i) result += text;
  return result;
}

// The meter's fixed tables between the switch-off times and the first purchase (data bytes 39 to
// 195).
const std::string kFixedTables =
    std::string("00000000") + "BE0C" +
    "010101010105010205010305010405010110010210010310010410010510010610010710" + "11111111" +
    "00" + repeated("030201", 16) + "4011080410" + std::string(96, '0') + "4011080410" +
    "11111111";

// Bit 0 stands for a false ZhuXiuLaZha, bit 1 for a false JiaRiLaZha.
std::string switchOffByte(bool ZhuXiuLaZha, bool JiaRiLaZha) {
  const int bits = (ZhuXiuLaZha ? 0 : 1) | (JiaRiLaZha ? 0 : 2);
  return "0" + std::to_string(bits);
}

std::string accountOpeningData(const AccountOpeningArgs& a) {
  return bcd4(a.pt) + bcd4(a.ct) + (a.djSwitch ? "0001" : "0000") + bin32x100(a.PowerAlarm) +
         bin32x100(a.MoneyAlarm) + "00" + bin32x100(a.OverDraftPower) + bcd4(a.OverDraftTime) +
         bin32x100(a.OverDraftMoney) + bin32x100(a.LimitPower) + bin32x100(a.LimitMoney) +
         (a.BiaoDian ? "01" : "00") + switchOffByte(a.ZhuXiuLaZha, a.JiaRiLaZha) +
         reverseBytes(a.NoSwitchST) + reverseBytes(a.NoSwitchEnd) + kFixedTables +
         bin32x100(a.gdl_gdje) + bin16(a.gdcs) + "11111111" + "11111111";
}

}  // namespace

const std::string& buildAccountOpeningFrame(ModuleState& state, const AccountOpeningArgs& args,
                                            std::string_view terminaladdr) {
  return assembleFrame(state, terminaladdr, kAccountOpeningCtrlCode, kCardFrameHostAddress,
                       accountOpeningData(args));
}

const AccountOpeningFields* readAccountOpeningFrame(ModuleState& state, std::string_view frame,
                                                    bool withDjSwitch) {
  if (!frameKindIs(frame, {"37"}, "D2")) return nullptr;
  AccountOpeningFields f;
  f.terminaladdr = frameAddressText(frame);
  f.pt = readBcd(dataField(frame, kPtAt, 2));
  f.ct = readBcd(dataField(frame, kCtAt, 2));
  if (withDjSwitch) f.djSwitch = readBcd(dataField(frame, kDjSwitchAt, 1));
  f.PowerAlarm = readBin32x100(dataField(frame, kPowerAlarmAt, 4));
  f.MoneyAlarm = readBin32x100(dataField(frame, kMoneyAlarmAt, 4));
  f.OverDraftPower = readBin32x100(dataField(frame, kOverDraftPowerAt, 4));
  f.OverDraftTime = readBcd(dataField(frame, kOverDraftTimeAt, 2));
  f.OverDraftMoney = readBin32x100(dataField(frame, kOverDraftMoneyAt, 4));
  f.LimitPower = readBin32x100(dataField(frame, kLimitPowerAt, 4));
  f.LimitMoney = readBin32x100(dataField(frame, kLimitMoneyAt, 4));
  f.BiaoDian = readBcd(dataField(frame, kBiaoDianAt, 1));
  const std::int32_t switchOff = readBcd(dataField(frame, kSwitchOffAt, 1));
  f.ZhuXiuLaZha = switchOff & 1;
  f.JiaRiLaZha = (switchOff >> 1) & 1;
  f.NoSwitchST = reverseBytes(dataField(frame, kNoSwitchStAt, 2));
  f.NoSwitchEnd = reverseBytes(dataField(frame, kNoSwitchEndAt, 2));
  f.gdl_gdje = readBin32x100(dataField(frame, kGdlGdjeAt, 4));
  f.gdcs = readBin16(dataField(frame, kGdcsAt, 2));
  state.lastAccountOpening = std::move(f);
  return &state.lastAccountOpening;
}

}  // namespace morvane
