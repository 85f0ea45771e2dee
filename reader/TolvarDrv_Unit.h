// The reader maker's library dcrf32 as the system uses it: its nine functions with their exported
// signatures, and one table of them through which every reader call of the system goes. The
// production table is bound to dcrf32 imported by name; tests hand the reader unit a table that
// points at a simulated reader instead.
#pragma once

#include <cstdint>

#include "ExportAbi.h"

// Handles and ports are 32-bit, every other number 16-bit; texts are NUL-terminated single-byte
// hex text. Every function but dc_init returns 0 on success. The baud rate is 32-bit: 115200 does not
// fit the library's 16-bit numbers.
extern "C" {
std::int32_t WL_STDCALL dc_init(std::int32_t port, std::int32_t baud);
std::int16_t WL_STDCALL dc_exit(std::int32_t icdev);
std::int16_t WL_STDCALL dc_card(std::int32_t icdev, std::int16_t mode, std::uint32_t* snr);
std::int16_t WL_STDCALL dc_load_key_hex(std::int32_t icdev, std::int16_t mode, std::int16_t secnr,
                                        const char* key);
std::int16_t WL_STDCALL dc_authentication(std::int32_t icdev, std::int16_t mode,
                                          std::int16_t secnr);
std::int16_t WL_STDCALL dc_read_hex(std::int32_t icdev, std::int16_t adr, char* data);
std::int16_t WL_STDCALL dc_write_hex(std::int32_t icdev, std::int16_t adr, const char* data);
std::int16_t WL_STDCALL dc_srd_eepromhex(std::int32_t icdev, std::int16_t offset,
                                         std::int16_t length, char* rec_buffer);
std::int16_t WL_STDCALL dc_swr_eepromhex(std::int32_t icdev, std::int16_t offset,
                                         std::int16_t length, const char* send_buffer);
}

namespace wenlock {

struct TolvarDrv {
  decltype(&::dc_init) dc_init;
  decltype(&::dc_exit) dc_exit;
  decltype(&::dc_card) dc_card;
  decltype(&::dc_load_key_hex) dc_load_key_hex;
  decltype(&::dc_authentication) dc_authentication;
  decltype(&::dc_read_hex) dc_read_hex;
  decltype(&::dc_write_hex) dc_write_hex;
  decltype(&::dc_srd_eepromhex) dc_srd_eepromhex;
  decltype(&::dc_swr_eepromhex) dc_swr_eepromhex;
};

// The table of the functions imported from dcrf32 (library wenlock_reader_dcrf32).
const TolvarDrv& Dcrf32Drv();

}  // namespace wenlock
