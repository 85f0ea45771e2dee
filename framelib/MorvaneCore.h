// Inside the Morvane frame library: the GB-layout frame packet, its text routines and field
// encodings, the module state and the frame builders and readers behind the C exports.
//
// Frames are hexadecimal text, two characters per byte, positions counted from 1. Everything here
// may raise wenlock::ConversionError; the C exports (MorvaneExports.cpp) turn it into -1.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>

namespace morvane {

inline constexpr std::string_view hexDigits = "0123456789ABCDEF";

// Host addresses written into the host word. No export takes one.
inline constexpr std::uint16_t kCardFrameHostAddress = 1;    // account-opening and purchase frames
inline constexpr std::uint16_t kNumberFrameHostAddress = 0;  // control code 16 frame

// One frame before assembly.
struct Tfaalpkt_t {
  std::uint8_t addrByte1 = 0;
  std::uint8_t addrByte2 = 0;
  std::uint16_t addrWord = 0;
  std::uint16_t hostWord = 0;  // the host address; only bits 0-5 reach the frame
  std::uint8_t ctrlCode = 0;
  std::uint16_t dataLen = 0;   // declared data bytes; assembly counts `data` instead
  std::string data;            // the data area as hexadecimal text
};

// --- Text routines ---------------------------------------------------------------------------

// Sum of digit index x 16^place over the text, kept as a 32-bit signed number; characters that are
// not upper-case hexadecimal digits add nothing. The empty text gives -1.
std::int32_t hexToInt(std::string_view text);

// Sum of the text's bytes modulo 256, as two hexadecimal digits.
std::string byteSum(std::string_view text);

// Fixed-point digits of a decimal number text: `decimals` places kept (cut, never rounded), the
// last `width` digits kept, then left-padded with "0" to `width` digits.
std::string scaledDigits(std::string_view number, std::int32_t width, std::int32_t decimals);

// Trimmed text, left-padded with "0" to at least `width` characters.
std::string zeroPadLeft(std::string_view text, std::int32_t width);

// The text's bytes in reverse order; a trailing odd character is dropped.
std::string reverseBytes(std::string_view text);

// The host word as it stands in a frame: the host address (capped at 63) in bits 0-5, low byte
// first.
std::string hostWordText(std::uint16_t hostAddress);

// The frame text of a packet: header, data length, data, checksum and end byte.
std::string packFrame(Tfaalpkt_t p);

// --- Field encodings -------------------------------------------------------------------------

std::string bin32x100(double x);         // x x 100 cut to an integer, 32-bit, low byte first
std::string bin16(std::int32_t n);       // four hexadecimal digits, low byte first
std::string bcd4(std::int32_t n);        // last four decimal digits, low byte first
std::string bcd8x100(std::int32_t n);    // n x 100, last eight decimal digits, low byte first
std::string bcd12(std::int32_t n);       // twelve decimal digits, low byte first

// The value its real text reads back as: at most 15 significant digits.
double realTextValue(double x);

double readBin32x100(std::string_view field);
std::int32_t readBin16(std::string_view field);
std::int32_t readBcd(std::string_view field);         // raises on anything but decimal digits
std::int32_t readDecimalOrZero(std::string_view field);  // BCD digits, 0 when they are not

// --- Frame steps shared by the builders and the readers --------------------------------------

// Characters of data byte `offset` onwards, `bytes` bytes long (clipped to the frame).
std::string dataField(std::string_view frame, int offset, int bytes);

// Whether characters 17-18 hold one of the control codes and, when given, characters 19-20 the
// low byte of the data length. The only check a reader makes.
bool frameKindIs(std::string_view frame, std::initializer_list<std::string_view> ctrlCodes,
                 std::string_view lengthLowByte = {});

// The address text as builders take it: address bytes 1 and 2, then the address word.
std::string frameAddressText(std::string_view frame);

// --- Module state ----------------------------------------------------------------------------

struct AccountOpeningArgs {
  std::int32_t ct = 0;
  std::int32_t pt = 0;
  std::int32_t OverDraftTime = 0;
  std::int32_t gdcs = 0;
  double gdl_gdje = 0;
  double PowerAlarm = 0;
  double MoneyAlarm = 0;
  double OverDraftPower = 0;
  double OverDraftMoney = 0;
  double LimitPower = 0;
  double LimitMoney = 0;
  bool djSwitch = false;
  bool BiaoDian = false;
  bool ZhuXiuLaZha = false;  // false sets switch-off bit 0
  bool JiaRiLaZha = false;   // false sets switch-off bit 1
  std::string NoSwitchST;
  std::string NoSwitchEnd;
};

// What the account-opening reader returns; the switch-off flags are the bits as they stand.
struct AccountOpeningFields {
  std::string terminaladdr;
  std::int32_t pt = 0;
  std::int32_t ct = 0;
  std::int32_t djSwitch = 0;
  double PowerAlarm = 0;
  double MoneyAlarm = 0;
  double OverDraftPower = 0;
  std::int32_t OverDraftTime = 0;
  double OverDraftMoney = 0;
  double LimitPower = 0;
  double LimitMoney = 0;
  std::int32_t BiaoDian = 0;
  std::int32_t ZhuXiuLaZha = 0;
  std::int32_t JiaRiLaZha = 0;
  std::string NoSwitchST;
  std::string NoSwitchEnd;
  double gdl_gdje = 0;
  std::int32_t gdcs = 0;
};

struct PurchaseFields {
  std::string terminaladdr;
  double gdl_gdje = 0;
  std::int32_t gdcs = 0;
};

struct ReplyFields {
  std::string terminaladdr;
  double sydl = 0;
  std::int32_t gdcs = 0;
  std::int32_t tzsj = 0;
  std::int32_t gdlx = 0;
  double pregdl = 0;
  std::int32_t pregdcs = 0;
  std::int32_t gdfs = 0;
  std::string pregdsj;
  double presydl = 0;
  std::string fxsj;
  std::string MACCode;
};

struct NumberFrameArgs {
  std::int32_t number = 0;
  std::uint8_t byteValue = 0;
  std::uint16_t wordValue = 0;
  std::int32_t amount = 0;
  bool option1 = false;
  bool option2 = false;
  bool option3 = false;
  bool option4 = false;
  bool option5 = false;
};

// The encoded fields of the last control code 16 frame built.
struct NumberFrameTexts {
  std::string switchByte;
  std::string byteValue;
  std::string wordValue;
  std::string amount;
  std::string number;
};

struct NumberFields {
  std::string number;
  std::int32_t byteValue = 0;
  std::int32_t wordValue = 0;
  double amount = 0;
};

// One per loaded library, never reset between calls. Callers hold the library's lock around every
// use (MorvaneExports.cpp); each result passes through here on its way to the caller.
struct ModuleState {
  std::uint8_t curAddrByte1 = 0;
  std::uint8_t curAddrByte2 = 0;
  std::uint16_t curAddrWord = 0;
  std::string lastFrame;
  NumberFrameTexts numberFrame;
  AccountOpeningFields lastAccountOpening;
  PurchaseFields lastPurchase;
  ReplyFields lastReply;
  NumberFields lastNumber;
};

// Sets the current address from the address text, assembles a frame around `data` and keeps it as
// the last frame, which it returns.
const std::string& assembleFrame(ModuleState& state, std::string_view terminaladdr,
                                 std::uint8_t ctrlCode, std::uint16_t hostAddress,
                                 std::string data, std::uint16_t dataLen = 0);

// --- Builders and readers --------------------------------------------------------------------
// Builders return the last frame. Readers return their module-level copy, or nullptr (copy left as
// it was) when the frame is of another kind.

const std::string& buildAccountOpeningFrame(ModuleState& state, const AccountOpeningArgs& args,
                                            std::string_view terminaladdr);
// djSwitch is read only when asked for; otherwise it is left 0.
const AccountOpeningFields* readAccountOpeningFrame(ModuleState& state, std::string_view frame,
                                                    bool withDjSwitch);

const std::string& buildPurchaseFrame(ModuleState& state, std::int32_t gdcs, double gdl_gdje,
                                      std::string_view terminaladdr);
const PurchaseFields* readPurchaseFrame(ModuleState& state, std::string_view frame);
// Never raises: unreadable numbers read as 0.
const ReplyFields* readReplyFrame(ModuleState& state, std::string_view frame);

const std::string& buildNumberFrame(ModuleState& state, const NumberFrameArgs& args,
                                    std::string_view terminaladdr);
const NumberFields* readNumberFrame(ModuleState& state, std::string_view frame);

}  // namespace morvane
