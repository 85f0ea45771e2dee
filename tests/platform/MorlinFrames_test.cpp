#include "MorlinFrames.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "OldCtrl_Dl645.h"
#include "Q_GDW130_ShareFun.h"
#include "Text.h"

namespace wenlock::morlin {
namespace {

constexpr std::int32_t kMaxInt = std::numeric_limits<std::int32_t>::max();
constexpr std::int32_t kMinInt = std::numeric_limits<std::int32_t>::min();
constexpr double kLargestEnergy = 21474836.47;
constexpr double kSmallestEnergy = -21474836.48;

// Any old-layout frame with a correct checksum: 68, card number, 68, control, L, data, CS, 16.
std::string OldLayoutFrame(const std::string& card_number, const std::string& control,
                           const std::string& data) {
  const std::string length = IntToHex(static_cast<std::int64_t>(data.size() / 2), 2);
  const std::string head = "68" + card_number + "68" + control + length + data;
  return head + checkSum_CS(head) + "16";
}

// The checks every built frame must pass: the old-layout check finds exactly this frame, it fits
// area 2 of an EEPROM card, and it is upper-case hexadecimal text.
void ExpectCardReadyFrame(const std::string& frame, const std::string& name) {
  std::string found;
  EXPECT_EQ(Check_OldCtrlMeterProtocol(frame, found), 0) << name;
  EXPECT_EQ(found, frame) << name;
  EXPECT_LE(frame.size(), 2 * kLargestFrameBytes) << name;
  EXPECT_EQ(frame.find_first_not_of("0123456789ABCDEF"), std::string::npos) << name;
}

WriteAreaValues Opening(CardMedium medium) {
  WriteAreaValues values;
  values.kind = WriteAreaKind::AccountOpening;
  values.medium = medium;
  return values;
}

WriteAreaValues Purchase(CardMedium medium) {
  WriteAreaValues values;
  values.kind = WriteAreaKind::Purchase;
  values.medium = medium;
  return values;
}

struct WriteCase {
  const char* name;
  WriteAreaValues values;
};

std::vector<WriteCase> WriteCases() {
  std::vector<WriteCase> cases;
  for (const CardMedium medium : {CardMedium::Eeprom, CardMedium::M1}) {
    cases.push_back({"opening, all zero", Opening(medium)});
    cases.push_back({"purchase, all zero", Purchase(medium)});

    WriteAreaValues defaults = Opening(medium);
    defaults.card_number = 123456;
    defaults.factor = 1;
    defaults.buy_power = 100.5;
    defaults.active_constant = 100;
    defaults.reactive_constant = 100;
    defaults.warn_power = 20;
    defaults.warn_load = 999;
    defaults.cut_load = 999;
    defaults.warn_time = 9;
    cases.push_back({"opening with the builders' defaults", defaults});

    WriteAreaValues sale = Purchase(medium);
    sale.card_number = 42;
    sale.purchase_count = 3;
    sale.factor = 80;
    sale.buy_power = 1234.56;
    sale.warn_power = 20.01;
    sale.high_power = 0.01;
    sale.low_power = 7.5;
    sale.warn_load = 999;
    sale.cut_load = 12.34;
    sale.warn_time = 9;
    cases.push_back({"purchase", sale});

    for (WriteAreaValues largest : {Opening(medium), Purchase(medium)}) {
      largest.card_number = kLargestCardNumber;
      largest.factor = largest.warn_time = kMaxInt;
      largest.buy_power = largest.warn_power = largest.high_power = largest.low_power =
          largest.warn_load = largest.cut_load = kLargestEnergy;
      if (largest.kind == WriteAreaKind::AccountOpening) {
        largest.active_constant = largest.reactive_constant = largest.active_index =
            largest.reactive_index = kMaxInt;
      } else {
        largest.purchase_count = kMaxInt;
      }
      cases.push_back({"largest values", largest});
    }

    for (WriteAreaValues smallest : {Opening(medium), Purchase(medium)}) {
      smallest.factor = smallest.warn_time = kMinInt;
      smallest.buy_power = smallest.warn_power = smallest.high_power = smallest.low_power =
          smallest.warn_load = smallest.cut_load = kSmallestEnergy;
      if (smallest.kind == WriteAreaKind::AccountOpening) {
        smallest.active_constant = smallest.reactive_constant = smallest.active_index =
            smallest.reactive_index = kMinInt;
      } else {
        smallest.purchase_count = kMinInt;
      }
      cases.push_back({"negative values", smallest});
    }
  }
  return cases;
}

TEST(MorlinWriteAreaFrames, BuiltFramesAreCardReadyAndReadBackUnchanged) {
  for (const WriteCase& c : WriteCases()) {
    const std::string frame = BuildWriteAreaFrame(c.values);
    ExpectCardReadyFrame(frame, c.name);
    const std::optional<WriteAreaValues> read = ReadWriteAreaFrame(frame);
    ASSERT_TRUE(read.has_value()) << c.name << ": " << frame;
    EXPECT_TRUE(*read == c.values) << c.name << ": " << frame;
  }
}

TEST(MorlinWriteAreaFrames, LayoutIsFixed) {
  WriteAreaValues sale = Purchase(CardMedium::M1);
  sale.card_number = 123456;
  sale.purchase_count = 3;
  sale.factor = 1;
  sale.buy_power = 12.5;
  const std::string data = "03000000" "01000000" "E2040000" + std::string(48, '0');
  EXPECT_EQ(BuildWriteAreaFrame(sale), OldLayoutFrame("563412", "42", data));

  WriteAreaValues opening = Opening(CardMedium::Eeprom);
  opening.card_number = 7;
  opening.active_constant = 100;
  EXPECT_EQ(BuildWriteAreaFrame(opening),
            OldLayoutFrame("070000", "01",
                           std::string(72, '0') + "64000000" + std::string(24, '0')));
}

TEST(MorlinWriteAreaFrames, PurchaseFramesDoNotCarryTheOpeningValues) {
  WriteAreaValues sale = Purchase(CardMedium::Eeprom);
  sale.card_number = 1;
  sale.active_constant = sale.reactive_constant = sale.active_index = sale.reactive_index = 5;
  const std::optional<WriteAreaValues> read = ReadWriteAreaFrame(BuildWriteAreaFrame(sale));
  ASSERT_TRUE(read.has_value());
  EXPECT_EQ(read->active_constant, 0);
  EXPECT_EQ(read->reactive_constant, 0);
  EXPECT_EQ(read->active_index, 0);
  EXPECT_EQ(read->reactive_index, 0);
}

TEST(MorlinWriteAreaFrames, EnergyIsKeptToHundredths) {
  struct EnergyCase {
    double written;
    double read;
  };
  for (const EnergyCase c : {EnergyCase{1234.567, 1234.57}, EnergyCase{0.004, 0},
                             EnergyCase{-0.015, -0.02}, EnergyCase{150, 150}}) {
    WriteAreaValues sale = Purchase(CardMedium::Eeprom);
    sale.buy_power = c.written;
    const std::optional<WriteAreaValues> read = ReadWriteAreaFrame(BuildWriteAreaFrame(sale));
    ASSERT_TRUE(read.has_value()) << c.written;
    EXPECT_EQ(read->buy_power, c.read) << c.written;
  }
}

TEST(MorlinWriteAreaFrames, ValuesAFrameCannotCarryAreRefused) {
  struct RefusedCase {
    const char* name;
    std::int32_t card_number;
    double energy;
  };
  for (const RefusedCase c : {
           RefusedCase{"negative card number", -1, 0},
           RefusedCase{"seven-digit card number", 1000000, 0},
           RefusedCase{"energy beyond the largest", 1, 21474836.48},
           RefusedCase{"energy below the smallest", 1, -21474836.49},
           RefusedCase{"infinite energy", 1, std::numeric_limits<double>::infinity()},
           RefusedCase{"energy not a number", 1, std::nan("")},
       }) {
    for (WriteAreaValues values : {Opening(CardMedium::M1), Purchase(CardMedium::Eeprom)}) {
      values.card_number = c.card_number;
      values.cut_load = c.energy;
      EXPECT_THROW(BuildWriteAreaFrame(values), FrameValueError) << c.name;
    }
  }
}

TEST(MorlinReturnAreaFrames, BuiltFramesAreCardReadyAndReadBackUnchanged) {
  for (const ReturnAreaValues& values : {
           ReturnAreaValues{0, 0, 0},
           ReturnAreaValues{123456, 3, 12.5},
           ReturnAreaValues{kLargestCardNumber, kMaxInt, kLargestEnergy},
           ReturnAreaValues{1, kMinInt, kSmallestEnergy},
           ReturnAreaValues{42, 7, -3.25},  // a meter running on credit
       }) {
    const std::string frame = BuildReturnAreaFrame(values);
    ExpectCardReadyFrame(frame, frame);
    const std::optional<ReturnAreaValues> read = ReadReturnAreaFrame(frame);
    ASSERT_TRUE(read.has_value()) << frame;
    EXPECT_TRUE(*read == values) << frame;
  }
}

TEST(MorlinReturnAreaFrames, LayoutIsFixed) {
  EXPECT_EQ(BuildReturnAreaFrame({123456, 3, 12.5}), "6856341268830803000000E2040000E016");
  EXPECT_THROW(BuildReturnAreaFrame({-1, 0, 0}), FrameValueError);
  EXPECT_THROW(BuildReturnAreaFrame({1, 0, 1e9}), FrameValueError);
}

TEST(MorlinFrameReaders, AcceptAreaTextAsTheOldLayoutCheckDoes) {
  const std::string frame = "6856341268830803000000E2040000E016";
  std::string spaced;
  for (std::size_t i = 0; i < frame.size(); i += 2) spaced += frame.substr(i, 2) + " ";
  std::string lower = frame;
  for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  for (const std::string& text : {spaced, lower, frame + std::string(128 - frame.size(), 'F')}) {
    const std::optional<ReturnAreaValues> read = ReadReturnAreaFrame(text);
    ASSERT_TRUE(read.has_value()) << text;
    EXPECT_TRUE(*read == (ReturnAreaValues{123456, 3, 12.5})) << text;
  }
}

TEST(MorlinFrameReaders, RejectMalformedFrames) {
  WriteAreaValues sale = Purchase(CardMedium::Eeprom);
  sale.card_number = 123456;
  const std::string write_frame = BuildWriteAreaFrame(sale);
  const std::string return_frame = BuildReturnAreaFrame({123456, 3, 12.5});
  std::string bad_checksum = return_frame;
  bad_checksum[bad_checksum.size() - 3] = bad_checksum[bad_checksum.size() - 3] == '0' ? '1' : '0';
  const std::string purchase_data(72, '0');
  struct MalformedCase {
    const char* name;
    std::string text;
  };
  for (const MalformedCase& c : {
           MalformedCase{"empty", ""},
           MalformedCase{"not hexadecimal", "ZZ"},
           MalformedCase{"blank area", std::string(128, 'F')},
           MalformedCase{"cut short", return_frame.substr(0, 20)},
           MalformedCase{"wrong checksum", bad_checksum},
           MalformedCase{"leading byte", "00" + return_frame},
           {"card number not BCD", OldLayoutFrame("5A3412", "83", std::string(16, '0'))},
           {"unknown control code", OldLayoutFrame("563412", "05", purchase_data)},
           {"purchase one byte short", OldLayoutFrame("563412", "02", std::string(70, '0'))},
           {"opening with purchase length", OldLayoutFrame("563412", "01", purchase_data)},
           {"return one byte long", OldLayoutFrame("563412", "83", std::string(18, '0'))},
       }) {
    EXPECT_FALSE(ReadWriteAreaFrame(c.text).has_value()) << c.name;
    EXPECT_FALSE(ReadReturnAreaFrame(c.text).has_value()) << c.name;
  }
  EXPECT_FALSE(ReadReturnAreaFrame(write_frame).has_value()) << "write frame as return frame";
  EXPECT_FALSE(ReadWriteAreaFrame(return_frame).has_value()) << "return frame as write frame";
}

}  // namespace
}  // namespace wenlock::morlin
