#include "MeterKinds.h"

#include <array>

namespace wenlock {

namespace {

TCardDecoding DecodeOld(const std::string& frame, std::string_view readMode,
                        const OldMeterServerFactory& servers) {
  return Kessel_ReadCardOper_Data_old(frame, readMode, servers);
}
TCardDecoding DecodeGdw130(const std::string& frame, std::string_view,
                           const OldMeterServerFactory&) {
  return Kessel_ReadCardOper_Data(frame);
}
TCardDecoding DecodeGB(const std::string& frame, std::string_view readMode,
                       const OldMeterServerFactory&) {
  return Kessel_ReadCardOper_Data_GB(frame, readMode);
}

TBuiltFrame BuildOld(std::int16_t cardType, const TWrite_Card_Items& request,
                     const OldMeterServerFactory& servers) {
  return OldFrameStr(cardType, request, servers);
}
// CtrlOperSet answers "041" or the empty text when it builds nothing; its data unit refuses only
// request values.
TBuiltFrame BuildGdw130(std::int16_t, const TWrite_Card_Items& request,
                        const OldMeterServerFactory&) {
  std::string frame = CtrlOperSet(1, request);
  if (frame == kCodeCardNoMismatch) return {{}, kCodeCardNoMismatch};
  if (frame.empty()) return {{}, kCodeInputParameterError};
  return {std::move(frame), {}};
}
TBuiltFrame BuildGB(std::int16_t, const TWrite_Card_Items& request,
                    const OldMeterServerFactory&) {
  return GBFrameStr(1, request);
}

// The card number of an "01" card is the twelve characters the write puts at the end of its
// 24-character field.
constexpr std::array<TMeterKind, 3> kMeterKinds{{
    {"00", "0", 2, 3, 6, 27, 6, &DecodeOld, &BuildOld},
    {"01", "1", 0, 1, 12, 33, 12, &DecodeGdw130, &BuildGdw130},
    {"03", "3", 0, 1, 8, 29, 8, &DecodeGB, &BuildGB},
}};

template <typename Code>
const TMeterKind* Find(std::string_view code, Code TMeterKind::*member) {
  for (const TMeterKind& kind : kMeterKinds) {
    if (kind.*member == code) return &kind;
  }
  return nullptr;
}

}  // namespace

const TMeterKind* MeterKindOfCard(std::string_view cardCode) {
  return Find(cardCode, &TMeterKind::cardCode);
}

const TMeterKind* MeterKindOfRequest(std::string_view requestCode) {
  return Find(requestCode, &TMeterKind::requestCode);
}

}  // namespace wenlock
