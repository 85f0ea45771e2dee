#include "MorlinFrames.h"

#include <cmath>
#include <limits>
#include <tuple>
#include <vector>

#include "OldCtrl_Dl645.h"
#include "Q_GDW130_ShareFun.h"
#include "Text.h"

namespace wenlock::morlin {
namespace {

using Bytes = std::vector<std::uint8_t>;

constexpr std::uint8_t kStartByte = 0x68;
constexpr std::uint8_t kEndByte = 0x16;
constexpr std::uint8_t kAccountOpeningCode = 0x01;
constexpr std::uint8_t kPurchaseCode = 0x02;
constexpr std::uint8_t kM1CardFlag = 0x40;
constexpr std::uint8_t kReturnCode = 0x83;
constexpr std::size_t kPurchaseDataBytes = 36;
constexpr std::size_t kAccountOpeningDataBytes = 52;
constexpr std::size_t kReturnDataBytes = 8;
constexpr std::size_t kCardNumberBytes = 3;
constexpr std::size_t kHeaderBytes = 7;  // 68, card number, 68, control code, L

std::int32_t ToHundredths(double value, const char* field) {
  if (!std::isfinite(value)) throw FrameValueError(std::string(field) + " is not a finite number");
  const double scaled = std::round(value * 100);
  if (scaled > std::numeric_limits<std::int32_t>::max() ||
      scaled < std::numeric_limits<std::int32_t>::min()) {
    throw FrameValueError(std::string(field) + " " + RealText(value) + " is too large for a frame");
  }
  return static_cast<std::int32_t>(scaled);
}

class DataWriter {
 public:
  void Int32(std::int32_t value) {
    const auto bits = static_cast<std::uint32_t>(value);
    for (int shift = 0; shift < 32; shift += 8) bytes_.push_back((bits >> shift) & 0xFF);
  }
  void Hundredths(double value, const char* field) { Int32(ToHundredths(value, field)); }
  const Bytes& bytes() const { return bytes_; }

 private:
  Bytes bytes_;
};

class DataReader {
 public:
  explicit DataReader(const Bytes& data) : data_(data) {}
  void Int32(std::int32_t& value) {
    std::uint32_t bits = 0;
    for (int shift = 0; shift < 32; shift += 8) bits |= std::uint32_t{data_.at(next_++)} << shift;
    value = static_cast<std::int32_t>(bits);
  }
  void Hundredths(double& value, const char*) {
    std::int32_t hundredths = 0;
    Int32(hundredths);
    value = hundredths / 100.0;
  }

 private:
  const Bytes& data_;
  std::size_t next_ = 0;
};

// The write-area data in frame order, once for both directions: Codec is a DataWriter (values
// const) or a DataReader (values filled).
template <typename Codec, typename Values>
void CodeWriteAreaData(Codec& codec, Values& values) {
  codec.Int32(values.purchase_count);
  codec.Int32(values.factor);
  codec.Hundredths(values.buy_power, "buyPower");
  codec.Hundredths(values.warn_power, "warnPower");
  codec.Hundredths(values.high_power, "highPower");
  codec.Hundredths(values.low_power, "lowPower");
  codec.Hundredths(values.warn_load, "wBeginNum");
  codec.Hundredths(values.cut_load, "maxBurden");
  codec.Int32(values.warn_time);
  if (values.kind != WriteAreaKind::AccountOpening) return;
  codec.Int32(values.active_constant);
  codec.Int32(values.reactive_constant);
  codec.Int32(values.active_index);
  codec.Int32(values.reactive_index);
}

template <typename Codec, typename Values>
void CodeReturnAreaData(Codec& codec, Values& values) {
  codec.Int32(values.purchase_count);
  codec.Hundredths(values.remaining_energy, "remaining energy");
}

std::uint8_t WriteAreaCode(WriteAreaKind kind, CardMedium medium) {
  const std::uint8_t code =
      kind == WriteAreaKind::AccountOpening ? kAccountOpeningCode : kPurchaseCode;
  return medium == CardMedium::M1 ? code | kM1CardFlag : code;
}

std::size_t WriteAreaDataBytes(WriteAreaKind kind) {
  return kind == WriteAreaKind::AccountOpening ? kAccountOpeningDataBytes : kPurchaseDataBytes;
}

void AppendCardNumber(std::int32_t card_number, Bytes& bytes) {
  if (card_number < 0 || card_number > kLargestCardNumber) {
    throw FrameValueError("card number " + std::to_string(card_number) + " is not 0 to 999999");
  }
  for (std::size_t i = 0; i < kCardNumberBytes; ++i, card_number /= 100) {
    bytes.push_back(static_cast<std::uint8_t>((card_number % 10) | (card_number / 10 % 10) << 4));
  }
}

std::string Frame(std::int32_t card_number, std::uint8_t control_code, const Bytes& data) {
  Bytes bytes{kStartByte};
  AppendCardNumber(card_number, bytes);
  bytes.push_back(kStartByte);
  bytes.push_back(control_code);
  bytes.push_back(static_cast<std::uint8_t>(data.size()));
  bytes.insert(bytes.end(), data.begin(), data.end());
  std::string text;
  for (const std::uint8_t byte : bytes) text += IntToHex(byte, 2);
  return text + checkSum_CS(text) + IntToHex(kEndByte, 2);
}

struct ParsedFrame {
  std::int32_t card_number = 0;
  std::uint8_t control_code = 0;
  Bytes data;
};

std::optional<std::int32_t> CardNumberOf(const Bytes& frame) {
  std::int32_t number = 0;
  for (std::size_t i = kCardNumberBytes; i >= 1; --i) {
    const std::uint8_t byte = frame[i];
    if ((byte & 0x0F) > 9 || (byte >> 4) > 9) return std::nullopt;
    number = number * 100 + (byte >> 4) * 10 + (byte & 0x0F);
  }
  return number;
}

// The frame at the start of text, checked as the old layout and split into its fields.
std::optional<ParsedFrame> ParseFrame(std::string_view text) {
  std::string frame;
  if (Check_OldCtrlMeterProtocol(std::string(text), frame) != 0) return std::nullopt;
  Bytes bytes;
  for (std::size_t k = 0; 2 * k < frame.size(); ++k) {
    bytes.push_back(static_cast<std::uint8_t>(HexToUInt(Copy(frame, 2 * k + 1, 2))));
  }
  const std::optional<std::int32_t> card_number = CardNumberOf(bytes);
  if (!card_number) return std::nullopt;
  const auto data_begin = bytes.begin() + kHeaderBytes;
  return ParsedFrame{*card_number, bytes[5], Bytes(data_begin, data_begin + bytes[6])};
}

std::optional<WriteAreaValues> DecodeWriteArea(const ParsedFrame& frame) {
  WriteAreaValues values;
  values.card_number = frame.card_number;
  values.medium = frame.control_code & kM1CardFlag ? CardMedium::M1 : CardMedium::Eeprom;
  switch (frame.control_code & ~kM1CardFlag) {
    case kAccountOpeningCode:
      values.kind = WriteAreaKind::AccountOpening;
      break;
    case kPurchaseCode:
      values.kind = WriteAreaKind::Purchase;
      break;
    default:
      return std::nullopt;
  }
  if (frame.data.size() != WriteAreaDataBytes(values.kind)) return std::nullopt;
  DataReader reader(frame.data);
  CodeWriteAreaData(reader, values);
  return values;
}

std::optional<ReturnAreaValues> DecodeReturnArea(const ParsedFrame& frame) {
  if (frame.control_code != kReturnCode || frame.data.size() != kReturnDataBytes) {
    return std::nullopt;
  }
  ReturnAreaValues values;
  values.card_number = frame.card_number;
  DataReader reader(frame.data);
  CodeReturnAreaData(reader, values);
  return values;
}

auto Fields(const WriteAreaValues& v) {
  return std::tie(v.kind, v.medium, v.card_number, v.purchase_count, v.factor, v.buy_power,
                  v.warn_power, v.high_power, v.low_power, v.warn_load, v.cut_load, v.warn_time,
                  v.active_constant, v.reactive_constant, v.active_index, v.reactive_index);
}

auto Fields(const ReturnAreaValues& v) {
  return std::tie(v.card_number, v.purchase_count, v.remaining_energy);
}

}  // namespace

bool WriteAreaValues::operator==(const WriteAreaValues& other) const {
  return Fields(*this) == Fields(other);
}

bool ReturnAreaValues::operator==(const ReturnAreaValues& other) const {
  return Fields(*this) == Fields(other);
}

std::string BuildWriteAreaFrame(const WriteAreaValues& values) {
  DataWriter writer;
  CodeWriteAreaData(writer, values);
  return Frame(values.card_number, WriteAreaCode(values.kind, values.medium), writer.bytes());
}

std::string BuildReturnAreaFrame(const ReturnAreaValues& values) {
  DataWriter writer;
  CodeReturnAreaData(writer, values);
  return Frame(values.card_number, kReturnCode, writer.bytes());
}

std::optional<WriteAreaValues> ReadWriteAreaFrame(std::string_view text) {
  try {
    const std::optional<ParsedFrame> frame = ParseFrame(text);
    return frame ? DecodeWriteArea(*frame) : std::nullopt;
  } catch (const ConversionError&) {
    return std::nullopt;
  }
}

std::optional<ReturnAreaValues> ReadReturnAreaFrame(std::string_view text) {
  try {
    const std::optional<ParsedFrame> frame = ParseFrame(text);
    return frame ? DecodeReturnArea(*frame) : std::nullopt;
  } catch (const ConversionError&) {
    return std::nullopt;
  }
}

}  // namespace wenlock::morlin
