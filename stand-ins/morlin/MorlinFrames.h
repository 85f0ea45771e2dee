// The stand-in old-meter server's control-meter frames: builders for the card's write area, the
// frame a meter writes back into the return area, and readers that invert them. Portable (no
// Windows header), so native tests and the transactions' seam use it without COM.
//
// Every frame is in the old control-meter layout (it passes Check_OldCtrlMeterProtocol) and fits
// area 2 of an EEPROM card (64 bytes) and of an M1 card (80 bytes). Numbers stand low byte first.
//
// | Byte  | Size | Field                                                                  |
// |-------|------|------------------------------------------------------------------------|
// | 0     | 1    | 68                                                                     |
// | 1     | 3    | card number, BCD, low byte first (000000-999999)                       |
// | 4     | 1    | 68                                                                     |
// | 5     | 1    | control code: 01 account opening, 02 purchase (+40 on an M1 card),    |
// |       |      | 83 the meter's return                                                  |
// | 6     | 1    | L, data bytes: 52 account opening, 36 purchase, 8 return               |
// | 7     | L    | data, below                                                            |
// | 7+L   | 1    | CS: low byte of the sum of bytes 0 … 6+L                               |
// | 8+L   | 1    | 16                                                                     |
//
// Write-area data (purchase: bytes 0-35; account opening: all 52):
// | Data byte | Size | Field                                     | Encoding                     |
// |-----------|------|-------------------------------------------|------------------------------|
// | 0         | 4    | purchase count (0 on an account opening)  | signed 32-bit                |
// | 4         | 4    | factor                                    | signed 32-bit                |
// | 8         | 4    | energy bought                             | signed 32-bit, hundredths    |
// | 12        | 4    | warning energy                            | signed 32-bit, hundredths    |
// | 16        | 4    | upper overdraft energy                    | signed 32-bit, hundredths    |
// | 20        | 4    | lower overdraft energy                    | signed 32-bit, hundredths    |
// | 24        | 4    | warning load (wBeginNum)                  | signed 32-bit, hundredths    |
// | 28        | 4    | cut-off load (maxBurden)                  | signed 32-bit, hundredths    |
// | 32        | 4    | warning time                              | signed 32-bit                |
// | 36        | 4    | active constant                           | signed 32-bit                |
// | 40        | 4    | reactive constant                         | signed 32-bit                |
// | 44        | 4    | active index                              | signed 32-bit                |
// | 48        | 4    | reactive index                            | signed 32-bit                |
//
// Return-area data (8 bytes): purchase count (signed 32-bit), remaining energy (signed 32-bit,
// hundredths; negative when the meter runs on credit).
//
// Energy values are rounded to hundredths; ±21474836.47 is the largest magnitude a frame carries.
#pragma once

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

namespace wenlock::morlin {

// Raised by a builder for a value its frame cannot carry (card number outside 0-999999, an energy
// that is not finite or too large).
class FrameValueError : public std::invalid_argument {
 public:
  explicit FrameValueError(const std::string& what) : std::invalid_argument(what) {}
};

enum class CardMedium { Eeprom = 0, M1 = 1 };
enum class WriteAreaKind { AccountOpening, Purchase };

constexpr std::int32_t kLargestCardNumber = 999999;
constexpr std::size_t kLargestFrameBytes = 64;  // area 2 of an EEPROM card

struct WriteAreaValues {
  WriteAreaKind kind = WriteAreaKind::Purchase;
  CardMedium medium = CardMedium::Eeprom;
  std::int32_t card_number = 0;
  std::int32_t purchase_count = 0;
  std::int32_t factor = 0;
  double buy_power = 0;
  double warn_power = 0;
  double high_power = 0;
  double low_power = 0;
  double warn_load = 0;  // wBeginNum
  double cut_load = 0;   // maxBurden
  std::int32_t warn_time = 0;
  // Carried by account-opening frames only; a purchase frame reads back 0.
  std::int32_t active_constant = 0;
  std::int32_t reactive_constant = 0;
  std::int32_t active_index = 0;
  std::int32_t reactive_index = 0;

  bool operator==(const WriteAreaValues& other) const;
};

struct ReturnAreaValues {
  std::int32_t card_number = 0;
  std::int32_t purchase_count = 0;
  double remaining_energy = 0;

  bool operator==(const ReturnAreaValues& other) const;
};

// The frame as upper-case hexadecimal text without blanks. Throw FrameValueError.
std::string BuildWriteAreaFrame(const WriteAreaValues& values);
std::string BuildReturnAreaFrame(const ReturnAreaValues& values);

// Read a frame at the start of an area text (blanks, either case and trailing padding allowed, as
// the old-layout check allows them). Empty when the text holds no complete frame of that kind: bad
// start, end or checksum, another control code, a length that does not match it, a card number
// that is not BCD.
std::optional<WriteAreaValues> ReadWriteAreaFrame(std::string_view text);
std::optional<ReturnAreaValues> ReadReturnAreaFrame(std::string_view text);

}  // namespace wenlock::morlin
