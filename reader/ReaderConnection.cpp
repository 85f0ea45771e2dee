// The connection every transaction runs in: open, prime, identify, close.
#include "ReaderRetry.h"
#include "TolvarWRCard_Unit.h"

namespace wenlock {
namespace {

constexpr std::int32_t kReaderPort = 100;
constexpr std::int32_t kReaderBaud = 115200;
constexpr int kOpenAttempts = 3;

}  // namespace

ReaderConnection::ReaderConnection(const TolvarDrv& drv) : drv_(drv) {}

ReaderConnection::~ReaderConnection() {
  try {
    Close();
  } catch (...) {
    // The status of dc_exit is ignored; so is a library that raises while closing.
  }
}

ConnectionStatus ReaderConnection::Open() {
  const bool opened = detail::RetryWithPauses(kOpenAttempts, [&] {
    try {
      handle_ = drv_.dc_init(kReaderPort, kReaderBaud);
    } catch (...) {
      handle_ = 0;  // a library exception is one more failed attempt
    }
    return handle_ > 0;
  });
  if (!opened) return ConnectionStatus::kNoReader;
  return InitCardReader(drv_, handle_) == 0 ? ConnectionStatus::kReady
                                            : ConnectionStatus::kNoReader;
}

ConnectionStatus ReaderConnection::Identify() {
  switch (DistinguishCard_S3(drv_, handle_)) {
    case 0xA2:
      cardType_ = kEepromCard;
      return ConnectionStatus::kReady;
    case 0xA3:
    case 0xA4:
      cardType_ = kM1Card;
      return ConnectionStatus::kReady;
    default:
      return ConnectionStatus::kCardRefused;
  }
}

void ReaderConnection::Close() {
  if (handle_ > 0) drv_.dc_exit(handle_);
}

}  // namespace wenlock
