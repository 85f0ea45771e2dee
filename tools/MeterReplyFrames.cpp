#include "MeterReplyFrames.h"

#include <cmath>
#include <limits>

#include "Text.h"

namespace wenlock::cardtool {

namespace {

constexpr std::size_t kGBAddressLength = 8;
constexpr std::int64_t kGBReplyDataBytes = 37;
constexpr std::int64_t kGBReplyCountedBytes = 6;  // sydl and gdcs; the rest stays 0
constexpr std::string_view kGBReplyControlCode = "B6";
constexpr std::string_view kGBMeterHostWord = "0000";

std::string LowByteFirst(std::int64_t value, int digits) {
  return DataStrToDown(IntToHex(value, digits));
}

// Rounded, not cut as Morvane's builders do: 0.29 x 100 is 28.999... in binary.
std::string Bin32x100(double x) {
  const double hundredths = std::round(x * 100);
  if (!(std::abs(hundredths) <= std::numeric_limits<std::int32_t>::max())) {
    throw ConversionError("energy " + RealText(x) + " is beyond 32 bits of hundredths");
  }
  return LowByteFirst(static_cast<std::int64_t>(hundredths), 8);
}

std::string Bin16(std::int32_t n) {
  if (n < 0 || n > 0xFFFF) throw ConversionError("count " + std::to_string(n) + " is not 16-bit");
  return LowByteFirst(n, 4);
}

// An address text AABBCCDD stands in the frame as AA BB DD CC.
std::string GBFrameAddress(std::string_view terminaladdr) {
  if (terminaladdr.size() != kGBAddressLength) {
    throw ConversionError("GB address " + std::string(terminaladdr) + " is not 8 characters");
  }
  HexToUInt(terminaladdr);  // raises for an address that is not hexadecimal
  return Copy(terminaladdr, 1, 4) + DataStrToDown(Copy(terminaladdr, 5, 4));
}

}  // namespace

std::string GDW130_AFNE4_F1_DataItemText(const TGDW130_DataItem_AFNE4_F1& item) {
  return item.UserID + item.BuyType + item.supCardNum + item.GPRSwriteNo + item.cardwriteNo +
         item.buyPower + item.buytime + item.totalYDN + item.totalWDN + item.totalBuy +
         item.leftPower + item.upZeroPower;
}

std::string GDW130_AFNE4_F1_ReplyFrame(std::string_view address, std::string_view item) {
  TGDW130_ProtDef definition;
  if (!GDW130_InputAddr(address, definition)) {
    throw ConversionError("terminal address " + std::string(address) + " is not 11 or 12 long");
  }
  const TGDW130_AFN_FN& function = GDW130_AFN_FN_LIST[0];
  definition.C = kGDW130UplinkControl;
  definition.AFN = function.AFN;
  definition.Fn = function.Fn;
  definition.sData = item;
  return SendFrame_RW(definition);
}

std::string GBReplyFrame(std::string_view terminaladdr, double sydl, std::int32_t gdcs) {
  const std::string data = Bin32x100(sydl) + Bin16(gdcs) +
                           std::string(2 * (kGBReplyDataBytes - kGBReplyCountedBytes), '0');
  const std::string head = "68" + GBFrameAddress(terminaladdr) + std::string(kGBMeterHostWord) +
                           "68" + std::string(kGBReplyControlCode) +
                           LowByteFirst(kGBReplyDataBytes, 4) + data;
  return head + checkSum_CS(head) + "16";
}

}  // namespace wenlock::cardtool
