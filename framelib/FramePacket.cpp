// The GB-layout frame packet: text routines, field encodings and the steps every builder and
// reader shares.
#include <algorithm>
#include <cctype>
#include <utility>

#include "MorvaneCore.h"
#include "Text.h"

namespace morvane {

using wenlock::Copy;

namespace {

// Frame text positions (1-based) of the fields readers look at.
constexpr int kCtrlCodeAt = 17;
constexpr int kLengthLowByteAt = 19;
constexpr int kFirstDataAt = 23;

std::string twoDigits(std::uint32_t value) { return wenlock::IntToHex(value, 2); }

std::string upperCase(std::string_view text) {
  std::string upper(text);
  for (auto& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return upper;
}

}  // namespace

std::int32_t hexToInt(std::string_view text) {
  if (text.empty()) return -1;
  // Unsigned arithmetic wraps like the 32-bit sum it stands for.
  std::uint32_t sum = 0;
  for (const char c : text) {
    const auto digit = hexDigits.find(c);
    sum = sum * 16 + (digit == std::string_view::npos ? 0u : static_cast<std::uint32_t>(digit));
  }
  return static_cast<std::int32_t>(sum);
}

std::string byteSum(std::string_view text) {
  std::uint32_t sum = 0;
  for (std::size_t k = 1; k <= text.size() / 2; ++k) {
    sum = (sum + static_cast<std::uint32_t>(hexToInt(Copy(text, 2 * k - 1, 2)))) % 256;
  }
  return twoDigits(sum);
}

std::string scaledDigits(std::string_view number, std::int32_t width, std::int32_t decimals) {
  decimals = std::max(decimals, 0);
  std::string text(number);
  const auto point = text.find('.');
  if (point == std::string::npos) {
    text.append(static_cast<std::size_t>(decimals), '0');
  } else {
    const auto fraction = static_cast<std::int64_t>(text.size() - point - 1);
    if (fraction > decimals) {
      text = Copy(text, 1, static_cast<std::int64_t>(point) + 1 + decimals);
    } else {
      text.append(static_cast<std::size_t>(decimals - fraction), '0');
    }
    text.erase(point, 1);
  }
  text = std::to_string(wenlock::StrToInt64(text));
  const auto length = static_cast<std::int64_t>(text.size());
  if (length > width) text = Copy(text, length - width + 1, width);
  auto digits = std::to_string(wenlock::StrToInt64(text));
  const bool negative = digits.front() == '-';
  if (negative) digits.erase(0, 1);
  digits = wenlock::PadLeft(digits, static_cast<std::size_t>(std::max(width, 0)), '0');
  return negative ? "-" + digits : digits;
}

std::string zeroPadLeft(std::string_view text, std::int32_t width) {
  return wenlock::PadLeft(wenlock::Trim(text), static_cast<std::size_t>(std::max(width, 0)), '0');
}

std::string reverseBytes(std::string_view text) {
  std::string reversed;
  reversed.reserve(text.size());
  for (std::size_t k = text.size() / 2; k >= 1; --k) reversed += text.substr(2 * k - 2, 2);
  return reversed;
}

std::string hostWordText(std::uint16_t hostAddress) {
  return bin16(std::min<std::uint16_t>(hostAddress, 63));
}

std::string packFrame(Tfaalpkt_t p) {
  std::string t = "68" + twoDigits(p.addrByte1) + twoDigits(p.addrByte2) + bin16(p.addrWord) +
                  hostWordText(p.hostWord) + "68" + twoDigits(p.ctrlCode);
  t += bin16(static_cast<std::int32_t>(p.data.size() / 2)) + p.data;
  return t + byteSum(t) + "16";
}

std::string bin32x100(double x) {
  const std::int32_t hundredths = wenlock::StrToInt(scaledDigits(wenlock::RealText(x), 8, 2));
  return reverseBytes(wenlock::IntToHex(hundredths, 8));
}

std::string bin16(std::int32_t n) { return reverseBytes(wenlock::IntToHex(n, 4)); }

std::string bcd4(std::int32_t n) { return reverseBytes(scaledDigits(std::to_string(n), 4, 0)); }

std::string bcd8x100(std::int32_t n) {
  return reverseBytes(scaledDigits(std::to_string(n), 8, 2));
}

std::string bcd12(std::int32_t n) { return reverseBytes(zeroPadLeft(std::to_string(n), 12)); }

double realTextValue(double x) { return wenlock::StrToFloat(wenlock::RealText(x)); }

double readBin32x100(std::string_view field) {
  return realTextValue(hexToInt(reverseBytes(field)) / 100.0);
}

std::int32_t readBin16(std::string_view field) { return hexToInt(reverseBytes(field)); }

std::int32_t readBcd(std::string_view field) { return wenlock::StrToInt(reverseBytes(field)); }

std::int32_t readDecimalOrZero(std::string_view field) {
  std::int32_t value = 0;
  return wenlock::TryStrToInt(reverseBytes(field), value) ? value : 0;
}

std::string dataField(std::string_view frame, int offset, int bytes) {
  return Copy(frame, kFirstDataAt + 2 * offset, 2 * bytes);
}

bool frameKindIs(std::string_view frame, std::initializer_list<std::string_view> ctrlCodes,
                 std::string_view lengthLowByte) {
  const auto code = Copy(frame, kCtrlCodeAt, 2);
  if (std::find(ctrlCodes.begin(), ctrlCodes.end(), code) == ctrlCodes.end()) return false;
  return lengthLowByte.empty() || Copy(frame, kLengthLowByteAt, 2) == lengthLowByte;
}

std::string frameAddressText(std::string_view frame) {
  return Copy(frame, 3, 4) + reverseBytes(Copy(frame, 7, 4));
}

const std::string& assembleFrame(ModuleState& state, std::string_view terminaladdr,
                                 std::uint8_t ctrlCode, std::uint16_t hostAddress,
                                 std::string data, std::uint16_t dataLen) {
  const auto address = upperCase(terminaladdr);
  state.curAddrByte1 = static_cast<std::uint8_t>(hexToInt(Copy(address, 1, 2)));
  state.curAddrByte2 = static_cast<std::uint8_t>(hexToInt(Copy(address, 3, 2)));
  state.curAddrWord = static_cast<std::uint16_t>(hexToInt(Copy(address, 5, 4)));

  Tfaalpkt_t packet;
  packet.addrByte1 = state.curAddrByte1;
  packet.addrByte2 = state.curAddrByte2;
  packet.addrWord = state.curAddrWord;
  packet.hostWord = hostAddress;
  packet.ctrlCode = ctrlCode;
  packet.dataLen = dataLen;
  packet.data = std::move(data);
  state.lastFrame = packFrame(std::move(packet));
  return state.lastFrame;
}

}  // namespace morvane
