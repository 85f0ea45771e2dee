// The card-reader unit: the reader connection every transaction runs in, card identification,
// the voice prompt, the card areas on M1 cards and in the reader's memory, and the M1 sector keys.
// Every reader call goes through the TolvarDrv table handed in; every pause through Pause().
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "TolvarDrv_Unit.h"

namespace wenlock {

// ---- Small reader operations ----------------------------------------------------------------

// The digit table of HexStrToInt.
constexpr std::string_view HexMask = "0123456789ABCDEF";

// The value of an upper-case hex text; lower-case letters and other characters add 0, the empty
// text gives 0. Texts longer than 8 characters wrap modulo 2^32.
std::int32_t HexStrToInt(std::string_view text);

// Writes the priming byte 0x37 at reader memory 1010, twice at most: 0 written, 1 both failed.
std::int16_t InitCardReader(const TolvarDrv& drv, std::int32_t iPort);

// The card-type code read from reader memory 1000 as a number (0 when nothing could be read).
// Codes of the transactions: 162 EEPROM card, 163 and 164 M1 card, anything else refused.
std::int16_t DistinguishCard_S3(const TolvarDrv& drv, std::int32_t iPort);

// The amount as 8 digits of hundredths (truncated), or "FF" when it does not fit.
std::string TextToFormatNum(std::string_view text);

// Has the reader announce an amount: VMode 0 energy ("A1"), 1 money ("A2"), written at reader
// memory 1001. 0 written (or VMode neither 0 nor 1: nothing written), 1 amount does not fit,
// 2 the reader refused the write.
std::int16_t SpeechElcOrMoney(const TolvarDrv& drv, std::int32_t iPort, std::int32_t VMode,
                              double ElcOrMoney);

// ---- Reader connection ----------------------------------------------------------------------

// Card types passed to the area operations.
constexpr std::int16_t kEepromCard = 0;
constexpr std::int16_t kM1Card = 1;

enum class ConnectionStatus {
  kReady,         // open, primed and (after Identify) the card type is known
  kNoReader,      // no handle after three dc_init calls, or priming failed: result "013"
  kCardRefused,   // the card-type code is not one the system handles: result "034"
};

// One transaction's reader connection. The destructor is the transaction's final close: it calls
// dc_exit whenever the handle is above 0 (also when the transaction ends by an exception).
class ReaderConnection {
 public:
  explicit ReaderConnection(const TolvarDrv& drv);
  ~ReaderConnection();
  ReaderConnection(const ReaderConnection&) = delete;
  ReaderConnection& operator=(const ReaderConnection&) = delete;

  // dc_init(100, 115200) up to three times, 100 ms apart (a library exception counts as a failed
  // call), then InitCardReader.
  ConnectionStatus Open();
  // DistinguishCard_S3: 162 gives card type 0, 163 and 164 card type 1, anything else kCardRefused.
  ConnectionStatus Identify();
  // An extra dc_exit before the end of the transaction (the read transaction closes after its last
  // area read); the handle is kept, so the destructor still closes again as the library expects.
  void Close();

  const TolvarDrv& drv() const { return drv_; }
  std::int32_t handle() const { return handle_; }
  std::int16_t cardType() const { return cardType_; }

 private:
  const TolvarDrv& drv_;
  std::int32_t handle_ = 0;
  std::int16_t cardType_ = -1;
};

// ---- Card areas -----------------------------------------------------------------------------

// Reader statuses of the area operations.
constexpr std::int16_t kAreaDone = 0;
constexpr std::int16_t kAreaIoFailed = 4;
constexpr std::int16_t kAreaNoCard = 5;
constexpr std::int16_t kAreaAuthFailed = 7;
constexpr std::int16_t kAreaNotOnEeprom = 8;

// Where an area lies: on an M1 card its sectors (each with its data blocks, in order), in the
// reader's memory for an EEPROM card its offset and read byte count. Areas outside 0 to 4 are empty.
struct M1AreaSector {
  std::int16_t sector;
  std::vector<std::int16_t> blocks;
};
std::vector<M1AreaSector> M1AreaLayout(std::int16_t RW_Items);
std::size_t M1AreaTextLength(std::int16_t RW_Items);

struct EepromArea {
  bool exists;  // areas 0 and 1 are not on an EEPROM card
  std::int16_t offset;
  std::int16_t readBytes;
};
EepromArea EepromAreaLayout(std::int16_t RW_Items);

// The six-byte key of one sector as 12 upper-case hex characters, built from the card serial
// (8 upper-case hex digits) and the site key constants.
std::string M1SectorKey(std::string_view CardSnr, std::int16_t sector);

// Loads the keys of sectors 0 to 15 (mode 0); stops at the first refusal. Always 0.
std::int32_t LoadM1Key(const TolvarDrv& drv, std::int32_t iPort, std::string_view CardSnr);

// The first 32 characters of text followed by NUL (zero-filled when shorter), as dc_write_hex takes.
std::array<char, 33> StringToArray32(std::string_view text);

// Reads an area; on status 0 text receives the complete frame found at its start (Q/GDW 130, old
// control-meter, then GB layout), or the whole area text when none is found. Otherwise text is left
// untouched.
std::int16_t tolvar_ReadCard(const TolvarDrv& drv, std::int32_t iPort, std::int16_t CardType,
                             std::int16_t RW_Items, std::string& text);

// Writes an area: on an M1 card padded with "0" (or cut) to the area's length, on an EEPROM card
// half the text length in bytes.
std::int16_t tolvar_WriteCard(const TolvarDrv& drv, std::int32_t iPort, std::int16_t CardType,
                              std::int16_t RW_Items, const std::string& text);

}  // namespace wenlock
