// Control-meter frame builders: the old layout from the old-meter server, the GB layout from
// Morvane. Request texts that do not read as numbers take fixed defaults.
#include <cstring>
#include <limits>
#include <vector>

#include "Morvane.h"
#include "TO_Kessel_Unit.h"
#include "Text.h"

namespace wenlock {

namespace {

constexpr std::size_t kOldCardNoLength = 6;
constexpr std::size_t kGBCardNoLength = 8;
constexpr std::size_t kMorvaneFrameBytes = 512;

std::int32_t IntOr(std::string_view text, std::int32_t fallback) {
  std::int32_t value = 0;
  return TryStrToInt(text, value) ? value : fallback;
}

double FloatOr(std::string_view text, double fallback) {
  double value = 0;
  return TryStrToFloat(text, value) ? value : fallback;
}

// A write count of 0, or one that is not an integer, opens the account.
bool IsAccountOpening(std::int32_t writeNo) { return writeNo == 0; }

TBuiltFrame Refused(std::string_view code) { return {{}, code}; }

// The request's values in the forms both builders pass on.
struct TFrameRequest {
  std::int32_t writeNo;
  std::int32_t factor;
  double buyPower;
  double warnPower;
  double highPower;
  double lowPower;
  double wBeginNum;
  double maxBurden;
  std::int32_t warnTime;
  std::int32_t yConst;
  std::int32_t wConst;
};

TFrameRequest FrameRequest(const TWrite_Card_Items& request) {
  return {IntOr(request.writeNo, 0),        IntOr(request.factor, 1),
          FloatOr(request.buyPower, 0),     FloatOr(request.warnPower, 20),
          FloatOr(request.highPower, 0),    FloatOr(request.lowPower, 0),
          FloatOr(request.wBeginNum, 999),  FloatOr(request.maxBurden, 999),
          IntOr(request.warnTime, 9),       IntOr(request.yConst, 100),
          IntOr(request.wConst, 100)};
}

std::string OldFrame(IOldMeterServer& server, std::int32_t CardType, std::int32_t cardNumber,
                     const TFrameRequest& r) {
  const bool m1 = CardType == 1;
  if (IsAccountOpening(r.writeNo)) {
    auto open = m1 ? &IOldMeterServer::CreateSdInitCardMifare : &IOldMeterServer::CreateSdInitCard;
    return (server.*open)(cardNumber, r.factor, r.buyPower, r.yConst, r.wConst, 0, 0, r.warnPower,
                          r.highPower, r.lowPower, r.wBeginNum, r.maxBurden, r.warnTime);
  }
  auto purchase =
      m1 ? &IOldMeterServer::CreateSdPurchaseCardMifare : &IOldMeterServer::CreateSdPurchaseCard;
  return (server.*purchase)(cardNumber, r.factor, r.buyPower, r.warnPower, r.highPower,
                            r.lowPower, r.wBeginNum, r.maxBurden, r.warnTime, r.writeNo);
}

// Morvane's frame, from the 512-byte buffer it writes into.
class MorvaneFrame {
 public:
  MorvaneFrame() : buffer_(kMorvaneFrameBytes, '\0'), pointer_(buffer_.data()) {}
  char** out() { return &pointer_; }
  std::string text() const { return std::string(buffer_.data(), strnlen(buffer_.data(), buffer_.size())); }

 private:
  std::vector<char> buffer_;
  char* pointer_;
};

}  // namespace

TBuiltFrame OldFrameStr(std::int32_t CardType, const TWrite_Card_Items& request,
                        const OldMeterServerFactory& servers) {
  try {
    const std::unique_ptr<IOldMeterServer> server = servers();
    const std::string cardNo = Trim(request.cardNo);
    if (cardNo.size() != kOldCardNoLength) return Refused(kCodeCardNoMismatch);
    std::int32_t cardNumber = 0;
    if (!TryStrToInt(cardNo, cardNumber)) return Refused(kCodeInputParameterError);
    std::string frame = OldFrame(*server, CardType, cardNumber, FrameRequest(request));
    if (frame.empty()) return Refused(kCodeDriverError);
    return {std::move(frame), {}};
  } catch (const OldMeterServerError&) {
    return Refused(kCodeDriverError);
  }
}

TBuiltFrame GBFrameStr(std::int32_t, const TWrite_Card_Items& request) {
  const std::string cardNo = Trim(request.cardNo);
  if (cardNo.size() != kGBCardNoLength) return Refused(kCodeCardNoMismatch);
  const TFrameRequest r = FrameRequest(request);
  // The purchase frame carries writeNo + 1.
  if (r.writeNo == std::numeric_limits<std::int32_t>::max()) {
    return Refused(kCodeInputParameterError);
  }
  MorvaneFrame frame;
  if (IsAccountOpening(r.writeNo)) {
    if (zjbfkkh(r.factor, 1, 0, 1, r.buyPower, r.warnPower, 0, 0, 0, 0, 0, 1, 0, 0,
                cardNo.c_str(), "0000", "2359", frame.out()) != 0) {
      return Refused(kCodeInputParameterError);
    }
  } else {
    zjbfkgd(r.writeNo + 1, r.buyPower, cardNo.c_str(), frame.out());
  }
  // Morvane refuses only values its frame cannot carry.
  std::string text = frame.text();
  if (text.empty()) return Refused(kCodeInputParameterError);
  return {std::move(text), {}};
}

}  // namespace wenlock
