#include "MeterAnswer.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "MeterKinds.h"
#include "MeterReplyFrames.h"
#include "MorlinFrames.h"
#include "Platform.h"
#include "TO_Kessel_Unit.h"
#include "Text.h"
#include "TolvarWRCard_Unit.h"

namespace wenlock::cardtool {

namespace {

constexpr std::string_view kWriteAreaMode = "1";
// The data unit of a sale: user number, purchase type, replacement-card count, write count
// (binary), energy (hundredths, BCD), each low byte first.
constexpr std::size_t kSaleDataUnitLength = 28;
// The answer carries write counts in four BCD digits.
constexpr std::uint32_t kLargestAnsweredWriteCount = 9999;
constexpr double kLargestItemEnergy = 999999.99;

double Hundredths(double energy) { return std::round(energy * 100) / 100; }

std::string NotASale(std::string_view kindCode) {
  return "the write area holds no sale frame a meter of kind " + std::string(kindCode) +
         " takes";
}

MeterAnswerError UnknownKind(std::string_view kindCode) {
  return MeterAnswerError("the user-number area names no meter kind (\"" + std::string(kindCode) +
                          "\")");
}

std::string OldMeterAnswer(const std::string& sale, std::optional<double> remaining) {
  const auto values = morlin::ReadWriteAreaFrame(sale);
  if (!values) throw MeterAnswerError(NotASale("00"));
  return morlin::BuildReturnAreaFrame(
      {values->card_number, values->purchase_count, remaining.value_or(values->buy_power)});
}

// Meter and terminal read the sale as the system's own decoder reads a write-area frame.
std::string GBMeterAnswer(const std::string& sale, std::optional<double> remaining) {
  const TCardDecoding decoded = Kessel_ReadCardOper_Data_GB(sale, kWriteAreaMode);
  if (decoded.code != kCodeSuccess) throw MeterAnswerError(NotASale("03"));
  return GBReplyFrame(decoded.items.cardNo,
                      remaining.value_or(StrToFloat(decoded.items.leftPower)),
                      StrToInt(decoded.items.writeNo));
}

// Data format 11: BCD hundredths, low byte first; the item has no sign.
std::string ItemEnergy(double energy) {
  if (!(energy >= 0 && energy <= kLargestItemEnergy)) {
    throw MeterAnswerError("energy " + RealText(energy) + " does not fit the terminal's item");
  }
  return DataToFormat(RealText(Hundredths(energy)), 11, 0);
}

// Data format 10 cut to the item's two bytes.
std::string ItemWriteCount(std::uint32_t count) {
  if (count > kLargestAnsweredWriteCount) {
    throw MeterAnswerError("write count " + std::to_string(count) +
                           " does not fit the terminal's item");
  }
  return Copy(DataToFormat(std::to_string(count), 10, 0), 1, 4);
}

// Second, minute, hour, day, month, year: BCD, low byte first.
std::string ItemTime(const LocalDateTime& when) {
  std::string digits;
  for (const int part : {when.year % 100, when.month, when.day, when.hour, when.minute,
                         when.second}) {
    digits += PadLeft(std::to_string(part), 2, '0');
  }
  return DataStrToDown(digits);
}

std::string TerminalAnswer(const std::string& sale, std::optional<double> remaining) {
  std::string data;
  std::string address;
  if (ParseFrameOper(sale, data, address) != kFrameComplete ||
      data.size() != kSaleDataUnitLength) {
    throw MeterAnswerError(NotASale("01"));
  }
  TGDW130_DataItem_AFNE4_F1 item;
  item.UserID = Copy(data, 1, 12);
  item.BuyType = Copy(data, 13, 2);
  item.supCardNum = Copy(data, 15, 2);
  item.GPRSwriteNo = ItemWriteCount(HexToUInt(DataStrToDown(Copy(data, 17, 4))));
  item.cardwriteNo = item.GPRSwriteNo;
  item.buyPower = Copy(data, 21, 8);
  item.buytime = ItemTime(LocalNow());
  item.totalYDN = ItemEnergy(0);
  item.totalWDN = ItemEnergy(0);
  const double bought = StrToFloat(FormatToData(item.buyPower, 11));
  const double left = remaining.value_or(bought);
  item.totalBuy = ItemEnergy(bought);
  item.leftPower = ItemEnergy(std::max(left, 0.0));
  item.upZeroPower = ItemEnergy(std::max(-left, 0.0));
  return GDW130_AFNE4_F1_ReplyFrame(address, GDW130_AFNE4_F1_DataItemText(item));
}

struct TAnsweringMeter {
  std::string_view kindCode;
  std::string (*answer)(const std::string& sale, std::optional<double> remaining);
};

constexpr std::array<TAnsweringMeter, 3> kAnsweringMeters{{
    {"00", &OldMeterAnswer},
    {"01", &TerminalAnswer},
    {"03", &GBMeterAnswer},
}};

std::string ReadArea(const ReaderConnection& connection, std::int16_t area) {
  std::string text;
  const std::int16_t status =
      tolvar_ReadCard(connection.drv(), connection.handle(), connection.cardType(), area, text);
  if (status != kAreaDone) {
    throw MeterAnswerError("area " + std::to_string(area) + " not read: reader status " +
                           std::to_string(status));
  }
  return text;
}

}  // namespace

std::string MeterAnswerFrame(std::string_view kindCode, const std::string& saleFrame,
                             std::optional<double> remainingEnergy) {
  for (const TAnsweringMeter& meter : kAnsweringMeters) {
    if (meter.kindCode != kindCode) continue;
    try {
      return meter.answer(saleFrame, remainingEnergy);
    } catch (const ConversionError& e) {
      throw MeterAnswerError(NotASale(kindCode) + ": " + e.what());
    } catch (const morlin::FrameValueError& e) {
      throw MeterAnswerError(e.what());
    }
  }
  throw UnknownKind(kindCode);
}

TMeterAnswer AnswerSale(const TolvarDrv& drv, std::optional<double> remainingEnergy) {
  ReaderConnection connection(drv);
  if (connection.Open() != ConnectionStatus::kReady) {
    throw MeterAnswerError("no reader: it could not be opened or primed");
  }
  if (connection.Identify() != ConnectionStatus::kReady) {
    throw MeterAnswerError("card refused: its card-type code is not one the system handles");
  }
  const std::string kindCode = Copy(ReadArea(connection, kUserNumberArea), 1, 2);
  const TMeterKind* kind = MeterKindOfCard(kindCode);
  if (!kind) throw UnknownKind(kindCode);
  TMeterAnswer answer{kindCode, kind->returnArea,
                      MeterAnswerFrame(kindCode, ReadArea(connection, kind->writeArea),
                                       remainingEnergy)};
  const std::int16_t status = tolvar_WriteCard(connection.drv(), connection.handle(),
                                               connection.cardType(), answer.returnArea,
                                               answer.frame);
  if (status != kAreaDone) {
    throw MeterAnswerError("the answer was not written into area " +
                           std::to_string(answer.returnArea) + ": reader status " +
                           std::to_string(status));
  }
  return answer;
}

}  // namespace wenlock::cardtool
