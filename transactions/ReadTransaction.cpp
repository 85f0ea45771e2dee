// The read transaction: the card's meter kind from its user-number area, the frame of the area the
// read mode selects, and its decoding.
#include <algorithm>
#include <mutex>
#include <optional>

#include "MeterKinds.h"
#include "OldCtrl_Dl645.h"
#include "Serialisation.h"
#include "TO_Kessel_Unit.h"
#include "Text.h"
#include "TolvarWRCard_Unit.h"

namespace wenlock {

namespace {

constexpr std::int64_t kUserNumberStart = 3;
constexpr std::size_t kUserNumberLongest = 20;
constexpr std::int64_t kReplacementRecordSpan = 32;

// The area's text, or nothing when the reader refused it.
std::optional<std::string> ReadArea(const ReaderConnection& connection, std::int16_t area) {
  std::string text;
  if (tolvar_ReadCard(connection.drv(), connection.handle(), connection.cardType(), area, text) !=
      kAreaDone) {
    return std::nullopt;
  }
  return text;
}

// The first check that recognises a frame at the start of the text cuts it out.
std::optional<std::string> RecognisedFrame(const std::string& text) {
  std::string frame;
  if (Check_OldCtrlMeterProtocol(text, frame) == kFrameComplete ||
      Check_GBCtrlMeterProtocol(text, frame) == kFrameComplete ||
      CheckRecvFrame(text, frame) == kFrameComplete) {
    return frame;
  }
  return std::nullopt;
}

struct TCardAreas {
  std::string main;
  std::string returned;  // read beside the write area in read mode "1" only
};

std::string ReadOnConnection(ReaderConnection& connection, TRead_Card_Items& items,
                             const TCardTransactionContext& context) {
  if (connection.Open() != ConnectionStatus::kReady) return std::string(kCodeOpenPortFailed);
  if (connection.Identify() != ConnectionStatus::kReady) {
    return std::string(kCodeCardNotIdentified);
  }
  const std::string userText = ReadArea(connection, kUserNumberArea).value_or("0");
  const std::string kindCode = Copy(userText, 1, 2);
  const TMeterKind* kind = MeterKindOfCard(kindCode);
  if (kind) items.cardNo = Copy(userText, kind->cardNoStart, kind->cardNoLength);
  const std::string userNo = UserID_Update_2(Copy(userText, kUserNumberStart, kUserNumberWidth));
  items.code2 = userNo;

  const std::string readMode = items.code3;
  const bool writeAreaMode = readMode == "1";
  const std::int16_t mainArea = !kind ? 0 : writeAreaMode ? kind->writeArea : kind->returnArea;
  TCardAreas areas;
  areas.main = ReadArea(connection, mainArea).value_or("");
  if (writeAreaMode) areas.returned = ReadArea(connection, mainArea + 1).value_or("");
  connection.Close();

  std::string code(kCodeSuccess);
  if (const auto frame = RecognisedFrame(areas.main)) {
    if (kind) {
      TCardDecoding decoding = kind->decode(*frame, readMode, context.servers);
      items = std::move(decoding.items);
      items.code2 = userNo;
      items.code1 = kindCode;
      code = decoding.code;
    }
  } else {
    std::string recordCardNo;
    if (Check_BuCardFlag(Copy(areas.main, 1, kReplacementRecordSpan), recordCardNo) != 0) {
      code = kCodeCardAreaEmpty;
    }
  }
  if (Copy(areas.returned, 1, kBlankAreaMarker.size()) == kBlankAreaMarker) {
    code = kCodeCardAreaEmpty;
  }
  return code;
}

}  // namespace

std::string UserID_Update_2(std::string_view text) {
  return std::string(text.substr(0, std::min({text.find('F'), kUserNumberLongest, text.size()})));
}

std::int32_t Check_BuCardFlag(std::string_view text, std::string& CardNo) {
  try {
    if (Copy(text, 1, 8) != kReplacementRecordHead) return -1;
    const std::int64_t digits = 2 * static_cast<std::int64_t>(HexToUInt(Copy(text, 9, 2)));
    CardNo = Copy(text, 11, digits);
    if (Copy(text, 11 + digits, 2) != "FF") return -1;
    if (Copy(text, 13 + digits, 2) != checkSum_CS(Copy(text, 1, 12 + digits))) return -1;
    if (Copy(text, 15 + digits, 2) != "16") return -1;
    return 0;
  } catch (const ConversionError&) {
    return -1;
  }
}

std::string Read_Card(TRead_Card_Items& items, const TCardTransactionContext& context) {
  const std::lock_guard<std::mutex> lock(ReaderPortLock());
  try {
    // Leaving this scope, also by an exception, is the connection's final close.
    ReaderConnection connection(*context.drv);
    return ReadOnConnection(connection, items, context);
  } catch (...) {
    return std::string(kCodeUnknownError);
  }
}

}  // namespace wenlock
