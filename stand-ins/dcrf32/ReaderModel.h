// The simulated reader: answers the nine library calls on a card image the way the reader library
// does, and writes one journal line per call ("dc_card(17,0)=0 -> 1A2B3C4D").
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "CardImage.h"

namespace wenlock::sim {

class ReaderModel {
 public:
  static constexpr std::int32_t kHandle = 17;  // the handle dc_init hands out
  static constexpr std::int16_t kRefused = 1;  // the status of every refusal

  ReaderModel(CardImage& image, std::vector<std::string>& journal);

  std::int32_t dc_init(std::int32_t port, std::int32_t baud);
  std::int16_t dc_exit(std::int32_t icdev);
  std::int16_t dc_card(std::int32_t icdev, std::int16_t mode, std::uint32_t* snr);
  std::int16_t dc_load_key_hex(std::int32_t icdev, std::int16_t mode, std::int16_t secnr,
                               const char* key);
  std::int16_t dc_authentication(std::int32_t icdev, std::int16_t mode, std::int16_t secnr);
  std::int16_t dc_read_hex(std::int32_t icdev, std::int16_t adr, char* data);
  std::int16_t dc_write_hex(std::int32_t icdev, std::int16_t adr, const char* data);
  std::int16_t dc_srd_eepromhex(std::int32_t icdev, std::int16_t offset, std::int16_t length,
                                char* rec_buffer);
  std::int16_t dc_swr_eepromhex(std::int32_t icdev, std::int16_t offset, std::int16_t length,
                                const char* send_buffer);

 private:
  // Every call is one operation; the card can be set to leave after a number of them.
  void CountOperation();
  bool CardPresent(CardKind kind) const;
  bool IsOpen(std::int32_t icdev) const;
  bool BlockOpened(std::int16_t adr) const;
  bool MemoryRangeUsable(std::int16_t offset, std::int16_t length) const;
  std::int16_t ReadTypeCode(char* rec_buffer, std::int16_t length, std::string& out);
  template <typename Result>
  Result Record(const std::string& call, Result result, const std::string& out = {});

  CardImage& image_;
  std::vector<std::string>& journal_;
};

}  // namespace wenlock::sim
