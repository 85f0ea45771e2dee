// dcrf32 as a shared library: the nine reader functions over the card image named by
// WENLOCK_CARD_IMAGE, re-read and rewritten at every call so that every process sees one card.
// WENLOCK_READER_TRACE, when set, names a file that receives one line per call. Without a card
// image there is no reader. No exception leaves a function: a failure gives its refusal value.
#include <fstream>
#include <string>
#include <vector>

#include "CardImage.h"
#include "ReaderModel.h"
#include "TolvarDrv_Unit.h"

namespace {

using wenlock::sim::ReaderModel;

void AppendTrace(const std::vector<std::string>& journal) {
  const std::string path = wenlock::sim::TracePath();
  if (path.empty()) return;
  std::ofstream trace(path, std::ios::binary | std::ios::app);
  for (const auto& line : journal) trace << line << "\n";
}

template <typename Result, typename Operation>
Result Serve(Result refusal, Operation&& operation) {
  try {
    const std::string path = wenlock::sim::CardImagePath();
    if (path.empty()) return refusal;
    wenlock::sim::CardImage image = wenlock::sim::LoadCardImage(path);
    std::vector<std::string> journal;
    ReaderModel model(image, journal);
    const Result result = operation(model);
    wenlock::sim::SaveCardImage(path, image);
    AppendTrace(journal);
    return result;
  } catch (...) {
    return refusal;
  }
}

constexpr std::int32_t kNoReader = -1;

}  // namespace

extern "C" {

std::int32_t WL_STDCALL dc_init(std::int32_t port, std::int32_t baud) {
  return Serve(kNoReader, [&](ReaderModel& m) { return m.dc_init(port, baud); });
}

std::int16_t WL_STDCALL dc_exit(std::int32_t icdev) {
  return Serve(ReaderModel::kRefused, [&](ReaderModel& m) { return m.dc_exit(icdev); });
}

std::int16_t WL_STDCALL dc_card(std::int32_t icdev, std::int16_t mode, std::uint32_t* snr) {
  return Serve(ReaderModel::kRefused, [&](ReaderModel& m) { return m.dc_card(icdev, mode, snr); });
}

std::int16_t WL_STDCALL dc_load_key_hex(std::int32_t icdev, std::int16_t mode, std::int16_t secnr,
                                        const char* key) {
  return Serve(ReaderModel::kRefused,
               [&](ReaderModel& m) { return m.dc_load_key_hex(icdev, mode, secnr, key); });
}

std::int16_t WL_STDCALL dc_authentication(std::int32_t icdev, std::int16_t mode,
                                          std::int16_t secnr) {
  return Serve(ReaderModel::kRefused,
               [&](ReaderModel& m) { return m.dc_authentication(icdev, mode, secnr); });
}

std::int16_t WL_STDCALL dc_read_hex(std::int32_t icdev, std::int16_t adr, char* data) {
  return Serve(ReaderModel::kRefused, [&](ReaderModel& m) { return m.dc_read_hex(icdev, adr, data); });
}

std::int16_t WL_STDCALL dc_write_hex(std::int32_t icdev, std::int16_t adr, const char* data) {
  return Serve(ReaderModel::kRefused,
               [&](ReaderModel& m) { return m.dc_write_hex(icdev, adr, data); });
}

std::int16_t WL_STDCALL dc_srd_eepromhex(std::int32_t icdev, std::int16_t offset,
                                         std::int16_t length, char* rec_buffer) {
  return Serve(ReaderModel::kRefused, [&](ReaderModel& m) {
    return m.dc_srd_eepromhex(icdev, offset, length, rec_buffer);
  });
}

std::int16_t WL_STDCALL dc_swr_eepromhex(std::int32_t icdev, std::int16_t offset,
                                         std::int16_t length, const char* send_buffer) {
  return Serve(ReaderModel::kRefused, [&](ReaderModel& m) {
    return m.dc_swr_eepromhex(icdev, offset, length, send_buffer);
  });
}

}  // extern "C"
