// C boundary of Morvane: texts and booleans in, results copied into the caller's variables and
// buffers, one lock around the module state, and the barrier that keeps every exception inside.
#include "Morvane.h"

#include <cstring>
#include <mutex>
#include <string>
#include <string_view>

#include "MorvaneCore.h"

namespace {

using namespace morvane;

std::mutex stateLock;
ModuleState state;

std::string_view in(const char* text) { return text ? std::string_view(text) : std::string_view(); }

bool isTrue(MV_BOOL slot) { return (slot & 0xFF) != 0; }

void put(int32_t* out, int32_t value) {
  if (out) *out = value;
}

void put(double* out, double value) {
  if (out) *out = value;
}

void put(char** out, const std::string& text) {
  if (out && *out) std::memcpy(*out, text.c_str(), text.size() + 1);
}

// Runs the body on the module state under the library's lock. A conversion error, or any other
// exception, becomes -1.
template <typename Body>
int32_t withState(Body&& body) noexcept {
  try {
    const std::lock_guard<std::mutex> guard(stateLock);
    return body(state);
  } catch (...) {
    return -1;
  }
}

int32_t deliverFrame(const std::string& frame, char** frameOut) {
  put(frameOut, frame);
  return 0;
}

// 1 when the reader found another kind of frame, else the fields are handed to the caller.
template <typename Fields, typename Deliver>
int32_t deliverFields(const Fields* fields, Deliver&& deliver) {
  if (!fields) return 1;
  deliver(*fields);
  return 0;
}

int32_t readAccountOpening(const char* frameText, bool withDjSwitch, int32_t* ct, int32_t* pt,
                           int32_t* OverDraftTime, int32_t* gdcs, int32_t* djSwitch,
                           int32_t* BiaoDian, int32_t* JiaRiLaZha, int32_t* ZhuXiuLaZha,
                           double* gdl_gdje, double* PowerAlarm, double* MoneyAlarm,
                           double* OverDraftPower, double* OverDraftMoney, double* LimitPower,
                           double* LimitMoney, char** terminaladdr, char** NoSwitchST,
                           char** NoSwitchEnd) {
  return withState([&](ModuleState& s) {
    return deliverFields(readAccountOpeningFrame(s, in(frameText), withDjSwitch),
                         [&](const AccountOpeningFields& f) {
                           put(terminaladdr, f.terminaladdr);
                           put(pt, f.pt);
                           put(ct, f.ct);
                           put(djSwitch, f.djSwitch);
                           put(PowerAlarm, f.PowerAlarm);
                           put(MoneyAlarm, f.MoneyAlarm);
                           put(OverDraftPower, f.OverDraftPower);
                           put(OverDraftTime, f.OverDraftTime);
                           put(OverDraftMoney, f.OverDraftMoney);
                           put(LimitPower, f.LimitPower);
                           put(LimitMoney, f.LimitMoney);
                           put(BiaoDian, f.BiaoDian);
                           put(ZhuXiuLaZha, f.ZhuXiuLaZha);
                           put(JiaRiLaZha, f.JiaRiLaZha);
                           put(NoSwitchST, f.NoSwitchST);
                           put(NoSwitchEnd, f.NoSwitchEnd);
                           put(gdl_gdje, f.gdl_gdje);
                           put(gdcs, f.gdcs);
                         });
  });
}

}  // namespace

extern "C" {

int32_t WL_STDCALL zjbfkkh(int32_t ct, int32_t pt, int32_t OverDraftTime, int32_t gdcs,
                           double gdl_gdje, double PowerAlarm, double MoneyAlarm,
                           double OverDraftPower, double OverDraftMoney, double LimitPower,
                           double LimitMoney, MV_BOOL BiaoDian, MV_BOOL ZhuXiuLaZha,
                           MV_BOOL JiaRiLaZha, const char* terminaladdr, const char* NoSwitchST,
                           const char* NoSwitchEnd, char** frameOut) {
  // The plain frame is the _dj frame with djSwitch false.
  return zjbfkkh_dj(ct, pt, OverDraftTime, gdcs, gdl_gdje, PowerAlarm, MoneyAlarm,
                    OverDraftPower, OverDraftMoney, LimitPower, LimitMoney, 0, BiaoDian,
                    ZhuXiuLaZha, JiaRiLaZha, terminaladdr, NoSwitchST, NoSwitchEnd, frameOut);
}

int32_t WL_STDCALL zjbfkkh_dj(int32_t ct, int32_t pt, int32_t OverDraftTime, int32_t gdcs,
                              double gdl_gdje, double PowerAlarm, double MoneyAlarm,
                              double OverDraftPower, double OverDraftMoney, double LimitPower,
                              double LimitMoney, MV_BOOL djSwitch, MV_BOOL BiaoDian,
                              MV_BOOL ZhuXiuLaZha, MV_BOOL JiaRiLaZha, const char* terminaladdr,
                              const char* NoSwitchST, const char* NoSwitchEnd, char** frameOut) {
  return withState([&](ModuleState& s) {
    AccountOpeningArgs args;
    args.ct = ct;
    args.pt = pt;
    args.OverDraftTime = OverDraftTime;
    args.gdcs = gdcs;
    args.gdl_gdje = gdl_gdje;
    args.PowerAlarm = PowerAlarm;
    args.MoneyAlarm = MoneyAlarm;
    args.OverDraftPower = OverDraftPower;
    args.OverDraftMoney = OverDraftMoney;
    args.LimitPower = LimitPower;
    args.LimitMoney = LimitMoney;
    args.djSwitch = isTrue(djSwitch);
    args.BiaoDian = isTrue(BiaoDian);
    args.ZhuXiuLaZha = isTrue(ZhuXiuLaZha);
    args.JiaRiLaZha = isTrue(JiaRiLaZha);
    args.NoSwitchST = in(NoSwitchST);
    args.NoSwitchEnd = in(NoSwitchEnd);
    return deliverFrame(buildAccountOpeningFrame(s, args, in(terminaladdr)), frameOut);
  });
}

int32_t WL_STDCALL zjbkhzjs(const char* frameText, int32_t* ct, int32_t* pt,
                            int32_t* OverDraftTime, int32_t* gdcs, int32_t* BiaoDian,
                            int32_t* JiaRiLaZha, int32_t* ZhuXiuLaZha, double* gdl_gdje,
                            double* PowerAlarm, double* MoneyAlarm, double* OverDraftPower,
                            double* OverDraftMoney, double* LimitPower, double* LimitMoney,
                            char** terminaladdr, char** NoSwitchST, char** NoSwitchEnd) {
  return readAccountOpening(frameText, false, ct, pt, OverDraftTime, gdcs, nullptr, BiaoDian,
                            JiaRiLaZha, ZhuXiuLaZha, gdl_gdje, PowerAlarm, MoneyAlarm,
                            OverDraftPower, OverDraftMoney, LimitPower, LimitMoney, terminaladdr,
                            NoSwitchST, NoSwitchEnd);
}

int32_t WL_STDCALL zjbkhzjs_dj(const char* frameText, int32_t* ct, int32_t* pt,
                               int32_t* OverDraftTime, int32_t* gdcs, int32_t* djSwitch,
                               int32_t* BiaoDian, int32_t* JiaRiLaZha, int32_t* ZhuXiuLaZha,
                               double* gdl_gdje, double* PowerAlarm, double* MoneyAlarm,
                               double* OverDraftPower, double* OverDraftMoney, double* LimitPower,
                               double* LimitMoney, char** terminaladdr, char** NoSwitchST,
                               char** NoSwitchEnd) {
  return readAccountOpening(frameText, true, ct, pt, OverDraftTime, gdcs, djSwitch, BiaoDian,
                            JiaRiLaZha, ZhuXiuLaZha, gdl_gdje, PowerAlarm, MoneyAlarm,
                            OverDraftPower, OverDraftMoney, LimitPower, LimitMoney, terminaladdr,
                            NoSwitchST, NoSwitchEnd);
}

int32_t WL_STDCALL zjbfkgd(int32_t gdcs, double gdl_gdje, const char* terminaladdr,
                           char** frameOut) {
  return withState([&](ModuleState& s) {
    return deliverFrame(buildPurchaseFrame(s, gdcs, gdl_gdje, in(terminaladdr)), frameOut);
  });
}

int32_t WL_STDCALL zjbgdzjs(const char* frameText, int32_t* gdcs, double* gdl_gdje,
                            char** terminaladdr) {
  return withState([&](ModuleState& s) {
    return deliverFields(readPurchaseFrame(s, in(frameText)), [&](const PurchaseFields& f) {
      put(terminaladdr, f.terminaladdr);
      put(gdl_gdje, f.gdl_gdje);
      put(gdcs, f.gdcs);
    });
  });
}

int32_t WL_STDCALL zjbfkgdswer(const char* frameText, double* sydl, double* presydl,
                               double* pregdl, int32_t* gdcs, int32_t* tzsj, int32_t* pregdcs,
                               int32_t* gdlx, int32_t* gdfs, char** terminaladdr, char** pregdsj,
                               char** fxsj, char** MACCode) {
  return withState([&](ModuleState& s) {
    return deliverFields(readReplyFrame(s, in(frameText)), [&](const ReplyFields& f) {
      put(terminaladdr, f.terminaladdr);
      put(sydl, f.sydl);
      put(gdcs, f.gdcs);
      put(tzsj, f.tzsj);
      put(gdlx, f.gdlx);
      put(pregdl, f.pregdl);
      put(pregdcs, f.pregdcs);
      put(gdfs, f.gdfs);
      put(pregdsj, f.pregdsj);
      put(presydl, f.presydl);
      put(fxsj, f.fxsj);
      put(MACCode, f.MACCode);
    });
  });
}

int32_t WL_STDCALL sdmorvane(int32_t number, uint8_t byteValue, uint16_t wordValue,
                             int32_t amount, const char* terminaladdr, char** frameOut,
                             MV_BOOL option1, MV_BOOL option2, MV_BOOL option3, MV_BOOL option4,
                             MV_BOOL option5) {
  return withState([&](ModuleState& s) {
    NumberFrameArgs args;
    args.number = number;
    args.byteValue = byteValue;
    args.wordValue = wordValue;
    args.amount = amount;
    args.option1 = isTrue(option1);
    args.option2 = isTrue(option2);
    args.option3 = isTrue(option3);
    args.option4 = isTrue(option4);
    args.option5 = isTrue(option5);
    return deliverFrame(buildNumberFrame(s, args, in(terminaladdr)), frameOut);
  });
}

int32_t WL_STDCALL sdbgdzjs(const char* frameText, char** numberOut, int32_t* byteOut,
                            int32_t* wordOut, double* amountOut) {
  return withState([&](ModuleState& s) {
    return deliverFields(readNumberFrame(s, in(frameText)), [&](const NumberFields& f) {
      put(numberOut, f.number);
      put(byteOut, f.byteValue);
      put(wordOut, f.wordValue);
      put(amountOut, f.amount);
    });
  });
}

}  // extern "C"
