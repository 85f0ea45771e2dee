// The state of the simulated reader and of the card on it, and its plain-text file form. The file
// is what separate processes share: the dcrf32 library re-reads and rewrites it at every call, the
// card tool edits it, tests inspect it.
#pragma once

#include <array>
#include <cstdint>
#include <deque>
#include <map>
#include <set>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace wenlock::sim {

enum class CardKind { kNone, kM1, kEeprom };

constexpr int kBlockCount = 64;     // 16 sectors of 4 blocks
constexpr int kBlockBytes = 16;
constexpr int kMemoryBytes = 1024;  // the reader's byte memory
constexpr int kCardMemoryEnd = 1000;  // offsets below are the EEPROM card's, from 1000 the reader's

// Refusals the reader is told to make; counters count down as the faults are used up.
struct ReaderFaults {
  bool noReader = false;
  int initFailures = 0;                // dc_init calls that fail before one succeeds
  int primingFailures = 0;             // writes at offset 1010 that fail
  std::deque<std::string> typeCodes;   // texts for reads of offset 1000, one per read; "fail" refuses
  bool noCard = false;                 // no M1 card answers the selection
  std::set<int> refusedAuthSectors;
  std::set<int> refusedWriteBlocks;
  std::set<int> refusedMemoryOffsets;  // memory reads and writes starting there fail
  long removeAfter = -1;               // the card is gone after this many calls (-1: never)
  bool corruptReads = false;           // card data read back with its first byte inverted
};

using SectorKeyTable = std::map<std::pair<int, int>, std::string>;  // (mode, sector) -> 12 hex

struct CardImage {
  CardKind card = CardKind::kNone;
  std::uint32_t serial = 0;
  std::array<std::array<std::uint8_t, kBlockBytes>, kBlockCount> blocks{};
  std::array<std::uint8_t, kMemoryBytes> memory{};
  ReaderFaults faults;
  // What the reader holds between calls.
  bool open = false;
  bool selected = false;
  int authenticated = -1;  // the sector opened by the last authentication
  long operations = 0;     // calls since the image was made or remove_after was set
  SectorKeyTable keys;
  std::vector<std::string> prompts;  // voice prompts the reader was asked to announce
};

// A blank M1 card with the serial in block 0 and every trailer holding the sector's derived key A;
// the reader reports card-type code A3 for it.
CardImage IssueM1Card(std::uint32_t serial);
// A blank EEPROM card; the reader reports card-type code A2 for it.
CardImage IssueEepromCard();

// Sets one fault from its file form (name and value); throws std::invalid_argument on a bad one.
void SetFault(ReaderFaults& faults, std::string_view name, std::string_view value);
// The names of the faults with their file form, in file order.
std::vector<std::pair<std::string, std::string>> FaultSettings(const ReaderFaults& faults);

std::string FormatCardImage(const CardImage& image);
// Throws std::invalid_argument naming the line that does not read.
CardImage ParseCardImage(std::string_view text);
// Throws std::runtime_error when the file cannot be read or written.
CardImage LoadCardImage(const std::string& path);
void SaveCardImage(const std::string& path, const CardImage& image);

// The files named by WENLOCK_CARD_IMAGE and WENLOCK_READER_TRACE, empty when unset. Read from the
// process environment itself (not a C runtime's copy), so SetEnvironmentVariable is seen at once.
std::string CardImagePath();
std::string TracePath();

// Bytes as upper-case hex and back (either case; false on an odd length or a non-hex character).
std::string BytesToHex(const std::uint8_t* bytes, std::size_t count);
bool HexToBytes(std::string_view hex, std::vector<std::uint8_t>& bytes);

}  // namespace wenlock::sim
