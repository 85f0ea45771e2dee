// Priming, card identification, the voice prompt and hex text reading.
#include <cstring>

#include "ReaderRetry.h"
#include "Text.h"
#include "TolvarWRCard_Unit.h"

namespace wenlock {
namespace {

constexpr std::int16_t kTypeCodeOffset = 1000;
constexpr std::int16_t kPromptOffset = 1001;
constexpr std::int16_t kPrimingOffset = 1010;
constexpr int kTypeCodeAttempts = 3;

// One series of up to three reads of the card-type code, each after a pause.
void ReadTypeCodeSeries(const TolvarDrv& drv, std::int32_t iPort, char (&buffer)[3]) {
  for (int attempt = 0; attempt < kTypeCodeAttempts; ++attempt) {
    Pause(detail::kReaderPauseMs);
    if (drv.dc_srd_eepromhex(iPort, kTypeCodeOffset, 1, buffer) == 0) break;
  }
  buffer[2] = '\0';  // whatever the library left there, the text ends within the buffer
}

bool AllDigits(std::string_view text) {
  if (text.empty()) return false;
  for (char c : text) {
    if (c < '0' || c > '9') return false;
  }
  return true;
}

}  // namespace

std::int32_t HexStrToInt(std::string_view text) {
  std::uint32_t value = 0;  // unsigned: long texts wrap instead of overflowing
  for (char c : text) {
    const auto digit = HexMask.find(c);
    value = value * 16u + (digit == std::string_view::npos ? 0u : static_cast<std::uint32_t>(digit));
  }
  return static_cast<std::int32_t>(value);
}

std::int16_t InitCardReader(const TolvarDrv& drv, std::int32_t iPort) {
  const bool primed = detail::RetryWithPauses(
      2, [&] { return drv.dc_swr_eepromhex(iPort, kPrimingOffset, 1, "37") == 0; });
  return primed ? 0 : 1;
}

std::int16_t DistinguishCard_S3(const TolvarDrv& drv, std::int32_t iPort) {
  char buffer[3] = {};
  ReadTypeCodeSeries(drv, iPort, buffer);
  // A5 asks for one more look; the buffer keeps A5 when the second series reads nothing.
  if (std::strcmp(buffer, "A5") == 0) ReadTypeCodeSeries(drv, iPort, buffer);
  return static_cast<std::int16_t>(HexStrToInt(buffer));
}

std::string TextToFormatNum(std::string_view text) {
  double amount = 0;
  if (!TryStrToFloat(text, amount)) amount = 0;
  const double hundredths = amount * 100;
  // The real text keeps 12.34 at 1234 hundredths; the fraction of a hundredth is dropped.
  std::string whole = RealText(hundredths);
  whole = whole.substr(0, whole.find('.'));
  if (whole.size() > 8) return "FF";
  if (AllDigits(whole)) return PadLeft(whole, 8, '0');
  // Exponent form or a sign would put non-digits into the prompt record: below one hundredth the
  // truncated amount is 0, anything else (negative, huge, not a number) does not fit.
  if (hundredths >= 0 && hundredths < 1) return "00000000";
  return "FF";
}

std::int16_t SpeechElcOrMoney(const TolvarDrv& drv, std::int32_t iPort, std::int32_t VMode,
                              double ElcOrMoney) {
  const std::string digits = TextToFormatNum(RealText(ElcOrMoney));
  if (digits == "FF") return 1;
  std::string prompt;
  if (VMode == 0) {
    prompt = "A1" + digits;
  } else if (VMode == 1) {
    prompt = "A2" + digits;
  } else {
    return 0;
  }
  return drv.dc_swr_eepromhex(iPort, kPromptOffset, 5, prompt.c_str()) == 0 ? 0 : 2;
}

}  // namespace wenlock
