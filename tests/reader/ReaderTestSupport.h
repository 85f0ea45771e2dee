// Shared pieces of the reader tests: the journal lines of the common reader calls, and a card on an
// in-process simulated reader that is already open.
#pragma once

#include <string>
#include <vector>

#include "InProcessReader.h"
#include "TolvarWRCard_Unit.h"

namespace wenlock::testing {

constexpr std::int32_t kHandle = sim::ReaderModel::kHandle;
constexpr std::uint32_t kSerial = 0x1A2B3C4D;
constexpr const char* kSnr = "1A2B3C4D";

inline const std::string kInitOk = "dc_init(100,115200)=17";
inline const std::string kInitFails = "dc_init(100,115200)=-1";
inline const std::string kPause = "pause(100)";
inline const std::string kPrimeOk = "dc_swr_eepromhex(17,1010,1,37)=0";
inline const std::string kPrimeFails = "dc_swr_eepromhex(17,1010,1,37)=1";
inline const std::string kTypeReadFails = "dc_srd_eepromhex(17,1000,1)=1";
inline const std::string kExitOk = "dc_exit(17)=0";

inline std::string TypeRead(const std::string& code) {
  return "dc_srd_eepromhex(17,1000,1)=0 -> " + code;
}

// A blank M1 card whose data blocks hold 0xEE, so that every write shows, even one of zeros.
inline sim::CardImage FilledM1Card() {
  sim::CardImage image = sim::IssueM1Card(kSerial);
  for (int block = 1; block < sim::kBlockCount; ++block) {
    if (block % 4 != 3) image.blocks[block].fill(0xEE);
  }
  return image;
}

// The simulated reader with its connection open (dc_init done, journal cleared).
class OpenReader {
 public:
  explicit OpenReader(sim::CardImage image) : reader_(std::move(image)) {
    reader_.table().dc_init(100, 115200);
    reader_.ClearJournal();
  }
  const TolvarDrv& drv() const { return reader_.table(); }
  sim::CardImage& image() { return reader_.image(); }
  const std::vector<std::string>& journal() const { return reader_.journal(); }
  void ClearJournal() { reader_.ClearJournal(); }

 private:
  sim::InProcessReader reader_;
};

}  // namespace wenlock::testing
