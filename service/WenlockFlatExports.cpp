// C boundary of the sixteen flat exports: texts in and out, per-thread result storage, and the
// barrier that keeps every exception inside the library.
#include "WenlockFlatExports.h"

#include <string>
#include <utility>

#include "Q_GDW130_ShareFun.h"
#include "WCard_ShareOper.h"

namespace {

std::string In(const char* text) { return text ? std::string(text) : std::string(); }

// Each export (and each out parameter) keeps its last text in storage of its own, per thread.
enum class Slot {
  DelBlank, InsertBlank, GetSystemTime, ReadSystemDate, inttobin, GetTextFileLine, SendFrame_RW,
  ParseData, ParseCardNo, DataToFormat, FormatToData, checkSum_CS, CheckFrame, RecvFrameCopyBytes,
  DataStrToDown, FormatS,
};

template <Slot S>
const char* Keep(std::string text) {
  thread_local std::string stored;
  stored = std::move(text);
  return stored.c_str();
}

// Runs the body; any exception becomes the export's failure value.
template <typename Result, typename Body>
Result Guarded(Result failure, Body&& body) noexcept {
  try {
    return body();
  } catch (...) {
    return failure;
  }
}

// A text export: the body's text kept in the export's slot, or the (static) failure text.
template <Slot S, typename Body>
const char* GuardedText(Body&& body, const char* failure = "") noexcept {
  return Guarded<const char*>(failure, [&] { return Keep<S>(body()); });
}

}  // namespace

extern "C" {

const char* WL_STDCALL DelBlank(const char* strs) {
  return GuardedText<Slot::DelBlank>([&] { return wenlock::DelBlank(In(strs)); });
}

const char* WL_STDCALL InsertBlank(int32_t interval, const char* strs) {
  return GuardedText<Slot::InsertBlank>([&] { return wenlock::InsertBlank(interval, In(strs)); });
}

const char* WL_STDCALL Wenlock_GetSystemTime(void) {
  return GuardedText<Slot::GetSystemTime>([] { return wenlock::GetSystemTime(); });
}

const char* WL_STDCALL ReadSystemDate(void) {
  return GuardedText<Slot::ReadSystemDate>([] { return wenlock::ReadSystemDate(); });
}

const char* WL_STDCALL inttobin(int32_t intData) {
  return GuardedText<Slot::inttobin>([&] { return wenlock::inttobin(intData); });
}

const char* WL_STDCALL GetTextFileLine(const char* LoadFileName, int32_t LineID) {
  return GuardedText<Slot::GetTextFileLine>(
      [&] { return wenlock::GetTextFileLine(In(LoadFileName), LineID); }, "Err");
}

void WL_STDCALL ActionLog(int32_t showtime, const char* msg) {
  Guarded(0, [&] {
    wenlock::ActionLog(showtime != 0, In(msg));
    return 0;
  });
}

const char* WL_STDCALL SendFrame_RW(TGDW130_ProtDef GDW130_ProtDef) {
  return GuardedText<Slot::SendFrame_RW>([&] {
    const wenlock::TGDW130_ProtDef def{In(GDW130_ProtDef.C),        In(GDW130_ProtDef.DistrictNum),
                                       In(GDW130_ProtDef.DeviceID), In(GDW130_ProtDef.HomeDeviceAddr),
                                       In(GDW130_ProtDef.AFN),      In(GDW130_ProtDef.Fn),
                                       In(GDW130_ProtDef.sData)};
    return wenlock::SendFrame_RW(def);
  });
}

int32_t WL_STDCALL ParseFrameOper(const char* sParseRecvFrame, const char** return_sData,
                                  const char** CardNo) {
  return Guarded<int32_t>(wenlock::kFrameException, [&] {
    std::string data;
    std::string card_no;
    const int32_t result = wenlock::ParseFrameOper(In(sParseRecvFrame), data, card_no);
    if (result == wenlock::kFrameComplete) {
      if (return_sData) *return_sData = Keep<Slot::ParseData>(std::move(data));
      if (CardNo) *CardNo = Keep<Slot::ParseCardNo>(std::move(card_no));
    }
    return result;
  });
}

const char* WL_STDCALL DataToFormat(const char* sObjData, int32_t DataType, int32_t AUXInfo) {
  return GuardedText<Slot::DataToFormat>(
      [&] { return wenlock::DataToFormat(In(sObjData), DataType, AUXInfo); });
}

const char* WL_STDCALL FormatToData(const char* sFrameData, int32_t DataType) {
  return GuardedText<Slot::FormatToData>(
      [&] { return wenlock::FormatToData(In(sFrameData), DataType); });
}

const char* WL_STDCALL checkSum_CS(const char* sFrame) {
  return GuardedText<Slot::checkSum_CS>([&] { return wenlock::checkSum_CS(In(sFrame)); });
}

int32_t WL_STDCALL CheckRecvFrame(const char* pFrameStr, const char** SFrame) {
  return Guarded<int32_t>(wenlock::kFrameException, [&] {
    std::string frame;
    const int32_t result = wenlock::CheckRecvFrame(In(pFrameStr), frame);
    if (result == wenlock::kFrameComplete && SFrame) *SFrame = Keep<Slot::CheckFrame>(std::move(frame));
    return result;
  });
}

const char* WL_STDCALL RecvFrameCopyBytes(const char* srcFrame, int32_t sn, int32_t GetCount) {
  return GuardedText<Slot::RecvFrameCopyBytes>(
      [&] { return wenlock::RecvFrameCopyBytes(In(srcFrame), sn, GetCount); });
}

const char* WL_STDCALL DataStrToDown(const char* sData) {
  return GuardedText<Slot::DataStrToDown>([&] { return wenlock::DataStrToDown(In(sData)); });
}

const char* WL_STDCALL FormatS(const char* sData, int32_t bytes) {
  return GuardedText<Slot::FormatS>([&] { return wenlock::FormatS(In(sData), bytes); });
}

#ifndef _WIN32
// On Linux the export carries its public name directly (no Windows function to clash with).
WL_EXPORT const char* GetSystemTime(void) __attribute__((alias("Wenlock_GetSystemTime")));
#endif

}  // extern "C"
