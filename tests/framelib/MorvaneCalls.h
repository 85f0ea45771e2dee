// Calling Morvane's exports the way the card service does: result buffers behind char pointers and
// the account-opening exports' long argument lists gathered in records.
#pragma once

#include <cstdint>
#include <cstring>
#include <string>

#include "Morvane.h"

namespace morvane_test {

constexpr const char* kPurchaseFrame = "6812347856010068360E00BA13000002000000000000000000F816";
constexpr const char* kNumberFrame =
    "6812347856000068161300110000000178563412000008053412000001008716";

// A caller's result buffer; the export writes through the pointer that out() points to.
class Buffer {
 public:
  explicit Buffer(std::size_t size = 512) : text_(size, '\0') {
    std::strcpy(text_.data(), "untouched");
    ptr_ = text_.data();
  }
  Buffer(const Buffer&) = delete;
  Buffer& operator=(const Buffer&) = delete;
  char** out() { return &ptr_; }
  std::string str() const { return text_.c_str(); }

 private:
  std::string text_;
  char* ptr_;
};

// The builder's arguments; the defaults are what the card service passes for a first purchase of
// 100 on card 12345678 with factor 1 and no warning level.
struct AccountOpening {
  std::int32_t ct = 1;
  std::int32_t pt = 1;
  std::int32_t OverDraftTime = 0;
  std::int32_t gdcs = 1;
  double gdl_gdje = 100;
  double PowerAlarm = 20;
  double MoneyAlarm = 0;
  double OverDraftPower = 0;
  double OverDraftMoney = 0;
  double LimitPower = 0;
  double LimitMoney = 0;
  MV_BOOL djSwitch = 0;
  MV_BOOL BiaoDian = 1;
  MV_BOOL ZhuXiuLaZha = 0;
  MV_BOOL JiaRiLaZha = 0;
  std::string terminaladdr = "12345678";
  std::string NoSwitchST = "0000";
  std::string NoSwitchEnd = "2359";
};

struct Built {
  std::int32_t result;
  std::string frame;
};

// zjbfkkh, or zjbfkkh_dj when withDjSwitch.
inline Built BuildAccountOpening(const AccountOpening& a, bool withDjSwitch = false) {
  Buffer frame(2048);
  const std::int32_t result =
      withDjSwitch
          ? zjbfkkh_dj(a.ct, a.pt, a.OverDraftTime, a.gdcs, a.gdl_gdje, a.PowerAlarm,
                       a.MoneyAlarm, a.OverDraftPower, a.OverDraftMoney, a.LimitPower,
                       a.LimitMoney, a.djSwitch, a.BiaoDian, a.ZhuXiuLaZha, a.JiaRiLaZha,
                       a.terminaladdr.c_str(), a.NoSwitchST.c_str(), a.NoSwitchEnd.c_str(),
                       frame.out())
          : zjbfkkh(a.ct, a.pt, a.OverDraftTime, a.gdcs, a.gdl_gdje, a.PowerAlarm, a.MoneyAlarm,
                    a.OverDraftPower, a.OverDraftMoney, a.LimitPower, a.LimitMoney, a.BiaoDian,
                    a.ZhuXiuLaZha, a.JiaRiLaZha, a.terminaladdr.c_str(), a.NoSwitchST.c_str(),
                    a.NoSwitchEnd.c_str(), frame.out());
  return {result, frame.str()};
}

// What zjbkhzjs (or zjbkhzjs_dj) hands back; -7 marks a variable it did not write.
struct AccountOpeningRead {
  std::int32_t result = -7;
  std::int32_t ct = -7, pt = -7, OverDraftTime = -7, gdcs = -7, djSwitch = -7, BiaoDian = -7,
               JiaRiLaZha = -7, ZhuXiuLaZha = -7;
  double gdl_gdje = -7, PowerAlarm = -7, MoneyAlarm = -7, OverDraftPower = -7,
         OverDraftMoney = -7, LimitPower = -7, LimitMoney = -7;
  std::string terminaladdr, NoSwitchST, NoSwitchEnd;
};

inline AccountOpeningRead ReadAccountOpening(const char* frame, bool withDjSwitch = false) {
  AccountOpeningRead r;
  Buffer addr(32), st(32), end(32);
  r.result = withDjSwitch
                 ? zjbkhzjs_dj(frame, &r.ct, &r.pt, &r.OverDraftTime, &r.gdcs, &r.djSwitch,
                               &r.BiaoDian, &r.JiaRiLaZha, &r.ZhuXiuLaZha, &r.gdl_gdje,
                               &r.PowerAlarm, &r.MoneyAlarm, &r.OverDraftPower,
                               &r.OverDraftMoney, &r.LimitPower, &r.LimitMoney, addr.out(),
                               st.out(), end.out())
                 : zjbkhzjs(frame, &r.ct, &r.pt, &r.OverDraftTime, &r.gdcs, &r.BiaoDian,
                            &r.JiaRiLaZha, &r.ZhuXiuLaZha, &r.gdl_gdje, &r.PowerAlarm,
                            &r.MoneyAlarm, &r.OverDraftPower, &r.OverDraftMoney, &r.LimitPower,
                            &r.LimitMoney, addr.out(), st.out(), end.out());
  r.terminaladdr = addr.str();
  r.NoSwitchST = st.str();
  r.NoSwitchEnd = end.str();
  return r;
}

inline Built BuildPurchase(std::int32_t gdcs, double gdl_gdje, const char* terminaladdr) {
  Buffer frame;
  const std::int32_t result = zjbfkgd(gdcs, gdl_gdje, terminaladdr, frame.out());
  return {result, frame.str()};
}

}  // namespace morvane_test
