// Both control-meter layouts run the same check; only the positions of their fields differ.
#include "OldCtrl_Dl645.h"

#include "Q_GDW130_ShareFun.h"
#include "WCard_ShareOper.h"

namespace wenlock {
namespace {

// Character positions (from 1) of one layout's fields in the blank-free text.
struct Layout {
  std::int64_t second_start;      // the second "68"
  std::int64_t length_low;        // low byte of L (the only byte in the old layout)
  std::int64_t length_high;       // high byte of L, 0 when L is one byte
  std::int64_t header_chars;      // characters before the data: 14 (old) or 22 (GB)
};

constexpr Layout kOldLayout{9, 13, 0, 14};
constexpr Layout kGBLayout{15, 19, 21, 22};

std::int32_t CheckControlMeterFrame(const Layout& layout, const std::string& sdata,
                                    std::string& rdata) {
  try {
    const std::string text = DelBlank(sdata);
    if (Copy(text, 1, 2) != "68" || Copy(text, layout.second_start, 2) != "68") {
      return kFrameBadStart;
    }
    std::string length_hex = Copy(text, layout.length_low, 2);
    if (layout.length_high != 0) length_hex = Copy(text, layout.length_high, 2) + length_hex;
    if (length_hex.size() != (layout.length_high != 0 ? 4u : 2u)) {
      throw ConversionError("length field cut short");
    }
    const std::int64_t data_chars = 2 * static_cast<std::int64_t>(HexToUInt(length_hex));
    const std::int64_t checksum_at = layout.header_chars + data_chars + 1;
    if (Copy(text, checksum_at + 2, 2) != "16") return kFrameBadEnd;
    const std::string computed = checkSum_CS(Copy(text, 1, checksum_at - 1));
    const std::string received = Copy(text, checksum_at, 2);
    if (computed != received && HexToUInt(received) != HexToUInt(computed)) {
      return kFrameBadChecksum;
    }
    rdata = Copy(text, 1, checksum_at + 3);
    return kFrameComplete;
  } catch (const std::exception&) {
    return kFrameException;
  }
}

}  // namespace

std::int32_t Check_OldCtrlMeterProtocol(const std::string& sdata, std::string& rdata) {
  return CheckControlMeterFrame(kOldLayout, sdata, rdata);
}

std::int32_t Check_GBCtrlMeterProtocol(const std::string& sdata, std::string& rdata) {
  return CheckControlMeterFrame(kGBLayout, sdata, rdata);
}

}  // namespace wenlock
