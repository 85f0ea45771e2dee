#include "InProcessReader.h"

#include <stdexcept>

namespace wenlock::sim {
namespace {

InProcessReader* g_current = nullptr;

std::int32_t WL_STDCALL Init(std::int32_t port, std::int32_t baud) {
  return InProcessReader::Current().dc_init(port, baud);
}
std::int16_t WL_STDCALL Exit(std::int32_t icdev) { return InProcessReader::Current().dc_exit(icdev); }
std::int16_t WL_STDCALL Card(std::int32_t icdev, std::int16_t mode, std::uint32_t* snr) {
  return InProcessReader::Current().dc_card(icdev, mode, snr);
}
std::int16_t WL_STDCALL LoadKeyHex(std::int32_t icdev, std::int16_t mode, std::int16_t secnr,
                                   const char* key) {
  return InProcessReader::Current().dc_load_key_hex(icdev, mode, secnr, key);
}
std::int16_t WL_STDCALL Authentication(std::int32_t icdev, std::int16_t mode, std::int16_t secnr) {
  return InProcessReader::Current().dc_authentication(icdev, mode, secnr);
}
std::int16_t WL_STDCALL ReadHex(std::int32_t icdev, std::int16_t adr, char* data) {
  return InProcessReader::Current().dc_read_hex(icdev, adr, data);
}
std::int16_t WL_STDCALL WriteHex(std::int32_t icdev, std::int16_t adr, const char* data) {
  return InProcessReader::Current().dc_write_hex(icdev, adr, data);
}
std::int16_t WL_STDCALL SrdEepromHex(std::int32_t icdev, std::int16_t offset, std::int16_t length,
                                     char* rec_buffer) {
  return InProcessReader::Current().dc_srd_eepromhex(icdev, offset, length, rec_buffer);
}
std::int16_t WL_STDCALL SwrEepromHex(std::int32_t icdev, std::int16_t offset, std::int16_t length,
                                     const char* send_buffer) {
  return InProcessReader::Current().dc_swr_eepromhex(icdev, offset, length, send_buffer);
}

const TolvarDrv kInProcessTable{Init,    Exit,     Card,         LoadKeyHex,  Authentication,
                                ReadHex, WriteHex, SrdEepromHex, SwrEepromHex};

}  // namespace

InProcessReader::InProcessReader(CardImage image)
    : image_(std::move(image)), model_(image_, journal_) {
  if (g_current) throw std::logic_error("one InProcessReader at a time");
  g_current = this;
  previousPause_ = SetPauseHook(
      [this](unsigned milliseconds) { journal_.push_back("pause(" + std::to_string(milliseconds) + ")"); });
}

InProcessReader::~InProcessReader() {
  SetPauseHook(previousPause_);
  g_current = nullptr;
}

const TolvarDrv& InProcessReader::table() const { return kInProcessTable; }

ReaderModel& InProcessReader::Current() {
  if (!g_current) throw std::logic_error("no InProcessReader is alive");
  return g_current->model_;
}

}  // namespace wenlock::sim
