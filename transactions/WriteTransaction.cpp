// The write transaction. Everything that can refuse the request (the meter kind, the areas the card
// has, the frame) is settled before the first area is written, so a refused request leaves the card
// as it was.
#include <mutex>

#include "MeterKinds.h"
#include "Serialisation.h"
#include "TO_Kessel_Unit.h"
#include "Text.h"
#include "TolvarWRCard_Unit.h"

namespace wenlock {

namespace {

constexpr std::string_view kReplacementOperation = "03";

// What goes into the write area and the return area, or the code refusing the request.
struct TAreaContent {
  std::string writeArea;
  std::string returnArea;
  std::string_view code;
};

// The replacement-card record goes into both areas; a frame goes into the write area beside the
// blank-area marker.
TAreaContent AreaContent(const TMeterKind& kind, std::int16_t cardType,
                         const TWrite_Card_Items& items, const TCardTransactionContext& context) {
  if (items.operation == kReplacementOperation) {
    std::string record = ReplacementCardRecord(items.cardNo);
    if (record.empty()) return {{}, {}, kCodeInputParameterError};
    return {record, record, {}};
  }
  TBuiltFrame built = kind.build(cardType, items, context.servers);
  if (!built.code.empty()) return {{}, {}, built.code};
  return {std::move(built.frame), std::string(kBlankAreaMarker), {}};
}

std::string UserNumberAreaText(const TMeterKind& kind, const TWrite_Card_Items& items) {
  return "0" + items.code1 + UserID_Update(items.code2) + FormatS(items.cardNo, kind.cardNoBytes);
}

bool Written(const ReaderConnection& connection, std::int16_t area, const std::string& text) {
  return tolvar_WriteCard(connection.drv(), connection.handle(), connection.cardType(), area,
                          text) == kAreaDone;
}

// The reader announces the energy bought; whatever becomes of the announcement, the sale stands.
void AnnounceEnergy(const ReaderConnection& connection, const std::string& buyPower) {
  double energy = 0;
  if (!TryStrToFloat(buyPower, energy)) return;
  try {
    SpeechElcOrMoney(connection.drv(), connection.handle(), 0, energy);
  } catch (...) {
  }
}

std::string WriteOnConnection(ReaderConnection& connection, const TWrite_Card_Items& items,
                              const TCardTransactionContext& context) {
  if (connection.Open() != ConnectionStatus::kReady) return std::string(kCodeOpenPortFailed);
  if (connection.Identify() != ConnectionStatus::kReady) {
    return std::string(kCodeCardNotIdentified);
  }
  const TMeterKind* kind = MeterKindOfRequest(items.code1);
  if (!kind) return std::string(kCodeInputParameterError);
  // Areas 0 and 1 are not on an EEPROM card.
  if (connection.cardType() == kEepromCard && !EepromAreaLayout(kind->writeArea).exists) {
    return std::string(kCodeWriteDataFailed);
  }
  const TAreaContent content = AreaContent(*kind, connection.cardType(), items, context);
  if (!content.code.empty()) return std::string(content.code);

  if (!Written(connection, kUserNumberArea, UserNumberAreaText(*kind, items))) {
    return std::string(kCodeWriteUserAreaFailed);
  }
  if (!Written(connection, kind->writeArea, content.writeArea) ||
      !Written(connection, kind->returnArea, content.returnArea)) {
    return std::string(kCodeWriteDataFailed);
  }
  if (items.operation != kReplacementOperation) AnnounceEnergy(connection, items.buyPower);
  return std::string(kCodeWriteSuccess);
}

}  // namespace

std::string UserID_Update(std::string_view text) {
  std::string padded(text);
  if (padded.size() < kUserNumberWidth) padded.append(kUserNumberWidth - padded.size(), 'F');
  return padded;
}

std::string ReplacementCardRecord(std::string_view cardNo) {
  try {
    const std::string head = std::string(kReplacementRecordHead) + PadLeft(std::to_string(cardNo.size() / 2), 2, '0') +
                             std::string(cardNo) + "FF";
    return head + PadLeft(checkSum_CS(head), 2, '0') + "16";
  } catch (const ConversionError&) {
    return {};
  }
}

std::string Write_Card(TWrite_Card_Items items, const TCardTransactionContext& context) {
  const std::lock_guard<std::mutex> lock(ReaderPortLock());
  try {
    // Leaving this scope, also by an exception, closes the connection.
    ReaderConnection connection(*context.drv);
    return WriteOnConnection(connection, items, context);
  } catch (...) {
    return std::string(kCodeUnknownError);
  }
}

}  // namespace wenlock
