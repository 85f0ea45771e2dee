// Purchase frames (control code 36), the terminal's reply frames (B6, B7) and the control code 16
// frame that carries a twelve-digit number, two small values, an amount and five switches.
#include <string>
#include <utility>

#include "MorvaneCore.h"
#include "Text.h"

namespace morvane {

namespace {

constexpr std::uint8_t kPurchaseCtrlCode = 0x36;
constexpr std::uint8_t kNumberFrameCtrlCode = 0x16;
constexpr std::uint16_t kNumberFrameDataLen = 19;

constexpr std::string_view kNumberFrameHead = "1100000001";

// Bits 0, 2, 4 and 5 stand for a false switch, bit 3 for a true option3.
std::string switchByte(const NumberFrameArgs& a) {
  const int bits = (a.option1 ? 0 : 0x01) | (a.option2 ? 0 : 0x04) | (a.option3 ? 0x08 : 0) |
                   (a.option4 ? 0 : 0x10) | (a.option5 ? 0 : 0x20);
  return wenlock::IntToHex(bits, 2);
}

}  // namespace

const std::string& buildPurchaseFrame(ModuleState& state, std::int32_t gdcs, double gdl_gdje,
                                      std::string_view terminaladdr) {
  return assembleFrame(state, terminaladdr, kPurchaseCtrlCode, kCardFrameHostAddress,
                       bin32x100(gdl_gdje) + bin16(gdcs) + "00000000" + "00000000");
}

const PurchaseFields* readPurchaseFrame(ModuleState& state, std::string_view frame) {
  if (!frameKindIs(frame, {"36"}, "0E")) return nullptr;
  PurchaseFields f;
  f.terminaladdr = frameAddressText(frame);
  f.gdl_gdje = readBin32x100(dataField(frame, 0, 4));
  f.gdcs = readBin16(dataField(frame, 4, 2));
  state.lastPurchase = std::move(f);
  return &state.lastPurchase;
}

const ReplyFields* readReplyFrame(ModuleState& state, std::string_view frame) {
  if (!frameKindIs(frame, {"B6", "B7"})) return nullptr;
  ReplyFields f;
  f.terminaladdr = frameAddressText(frame);
  f.sydl = readBin32x100(dataField(frame, 0, 4));
  f.gdcs = readBin16(dataField(frame, 4, 2));
  f.tzsj = readDecimalOrZero(dataField(frame, 6, 3));
  f.gdlx = readDecimalOrZero(dataField(frame, 9, 1));
  f.pregdl = readBin32x100(dataField(frame, 10, 4));
  f.pregdcs = readBin16(dataField(frame, 14, 2));
  f.gdfs = readDecimalOrZero(dataField(frame, 16, 1));
  f.pregdsj = reverseBytes(dataField(frame, 17, 6));
  f.presydl = readBin32x100(dataField(frame, 23, 4));
  f.fxsj = reverseBytes(dataField(frame, 27, 6));
  f.MACCode = reverseBytes(dataField(frame, 33, 4));
  state.lastReply = std::move(f);
  return &state.lastReply;
}

const std::string& buildNumberFrame(ModuleState& state, const NumberFrameArgs& args,
                                    std::string_view terminaladdr) {
  auto& texts = state.numberFrame;
  texts.switchByte = switchByte(args);
  texts.byteValue = wenlock::IntToHex(args.byteValue, 2);
  texts.wordValue = bin16(args.wordValue);
  texts.amount = bcd8x100(args.amount);
  texts.number = bcd12(args.number);
  return assembleFrame(state, terminaladdr, kNumberFrameCtrlCode, kNumberFrameHostAddress,
                       std::string(kNumberFrameHead) + texts.number + texts.switchByte +
                           texts.byteValue + texts.wordValue + texts.amount,
                       kNumberFrameDataLen);
}

const NumberFields* readNumberFrame(ModuleState& state, std::string_view frame) {
  if (!frameKindIs(frame, {"16"})) return nullptr;
  NumberFields f;
  f.number = reverseBytes(dataField(frame, 5, 6));
  f.byteValue = hexToInt(dataField(frame, 12, 1));
  f.wordValue = readBin16(dataField(frame, 13, 2));
  f.amount = realTextValue(readDecimalOrZero(dataField(frame, 15, 4)) / 100.0);
  state.lastNumber = std::move(f);
  return &state.lastNumber;
}

}  // namespace morvane
