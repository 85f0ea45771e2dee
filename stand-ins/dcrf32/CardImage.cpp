#include "CardImage.h"

#include <fstream>
#include <sstream>
#include <stdexcept>

#include "Text.h"
#include "TolvarWRCard_Unit.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <cstdlib>
#endif

namespace wenlock::sim {
namespace {

constexpr std::uint8_t kM1TypeCode = 0xA3;
constexpr std::uint8_t kEepromTypeCode = 0xA2;
constexpr int kTypeCodeOffset = 1000;
constexpr int kMemoryLineBytes = 32;
constexpr int kKeyBytes = 6;

std::string_view Trimmed(std::string_view text) {
  const auto first = text.find_first_not_of(" \t\r");
  if (first == std::string_view::npos) return {};
  const auto last = text.find_last_not_of(" \t\r");
  return text.substr(first, last - first + 1);
}

std::vector<std::string> Words(std::string_view text) {
  std::istringstream in{std::string(text)};
  std::vector<std::string> words;
  for (std::string word; in >> word;) words.push_back(word);
  return words;
}

bool ReadYesNo(std::string_view value) {
  if (value == "yes") return true;
  if (value == "no") return false;
  throw std::invalid_argument("expected yes or no, not '" + std::string(value) + "'");
}

long ReadNumber(std::string_view value) {
  std::int64_t number = 0;
  try {
    number = StrToInt64(value);
  } catch (const ConversionError&) {
    throw std::invalid_argument("expected a number, not '" + std::string(value) + "'");
  }
  return static_cast<long>(number);
}

std::set<int> ReadNumberSet(std::string_view value) {
  std::set<int> numbers;
  for (const auto& word : Words(value)) numbers.insert(static_cast<int>(ReadNumber(word)));
  return numbers;
}

const char* YesNo(bool value) { return value ? "yes" : "no"; }

template <typename Numbers>
std::string JoinNumbers(const Numbers& numbers) {
  std::string text;
  for (const auto& number : numbers) text += (text.empty() ? "" : " ") + std::to_string(number);
  return text;
}

std::string JoinWords(const std::deque<std::string>& words) {
  std::string text;
  for (const auto& word : words) text += (text.empty() ? "" : " ") + word;
  return text;
}

void ReadHexInto(std::string_view hex, std::uint8_t* target, std::size_t count) {
  std::vector<std::uint8_t> bytes;
  if (!HexToBytes(hex, bytes) || bytes.size() != count) {
    throw std::invalid_argument("expected " + std::to_string(count) + " bytes of hex");
  }
  std::copy(bytes.begin(), bytes.end(), target);
}

int ReadIndex(const std::string& word, int limit) {
  const long index = ReadNumber(word);
  if (index < 0 || index >= limit) throw std::invalid_argument("index out of range: " + word);
  return static_cast<int>(index);
}

const char* CardKindName(CardKind kind) {
  switch (kind) {
    case CardKind::kM1: return "M1";
    case CardKind::kEeprom: return "EEPROM";
    default: return "none";
  }
}

CardKind ReadCardKind(std::string_view value) {
  if (value == "M1") return CardKind::kM1;
  if (value == "EEPROM") return CardKind::kEeprom;
  if (value == "none") return CardKind::kNone;
  throw std::invalid_argument("card is M1, EEPROM or none");
}

// One "name: value" line of the file.
void ReadSetting(CardImage& image, const std::vector<std::string>& name, std::string_view value) {
  const std::string& head = name.front();
  if (head == "card" && name.size() == 1) {
    image.card = ReadCardKind(value);
  } else if (head == "serial" && name.size() == 1) {
    image.serial = HexToUInt(value);
  } else if (head == "fault" && name.size() == 2) {
    SetFault(image.faults, name[1], value);
  } else if (head == "open" && name.size() == 1) {
    image.open = ReadYesNo(value);
  } else if (head == "selected" && name.size() == 1) {
    image.selected = ReadYesNo(value);
  } else if (head == "authenticated" && name.size() == 1) {
    image.authenticated = static_cast<int>(ReadNumber(value));
  } else if (head == "operations" && name.size() == 1) {
    image.operations = ReadNumber(value);
  } else if (head == "key" && name.size() == 3) {
    image.keys[{ReadIndex(name[1], 3), ReadIndex(name[2], 16)}] = std::string(value);
  } else if (head == "block" && name.size() == 2) {
    ReadHexInto(value, image.blocks[ReadIndex(name[1], kBlockCount)].data(), kBlockBytes);
  } else if (head == "memory" && name.size() == 2) {
    const int offset = ReadIndex(name[1], kMemoryBytes);
    if (offset % kMemoryLineBytes != 0) throw std::invalid_argument("memory lines start at 32s");
    ReadHexInto(value, image.memory.data() + offset, kMemoryLineBytes);
  } else if (head == "prompt" && name.size() == 1) {
    image.prompts.emplace_back(value);
  } else {
    throw std::invalid_argument("unknown setting");
  }
}

std::string EnvironmentValue(const char* name) {
#ifdef _WIN32
  char value[4096];
  const DWORD length = GetEnvironmentVariableA(name, value, sizeof value);
  return length > 0 && length < sizeof value ? std::string(value, length) : std::string();
#else
  const char* value = std::getenv(name);
  return value ? std::string(value) : std::string();
#endif
}

}  // namespace

std::string CardImagePath() { return EnvironmentValue("WENLOCK_CARD_IMAGE"); }
std::string TracePath() { return EnvironmentValue("WENLOCK_READER_TRACE"); }

std::string BytesToHex(const std::uint8_t* bytes, std::size_t count) {
  std::string hex;
  for (std::size_t i = 0; i < count; ++i) hex += IntToHex(bytes[i], 2);
  return hex;
}

bool HexToBytes(std::string_view hex, std::vector<std::uint8_t>& bytes) {
  if (hex.size() % 2 != 0) return false;
  const auto digit = [](char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
  };
  bytes.clear();
  for (std::size_t i = 0; i < hex.size(); i += 2) {
    const int high = digit(hex[i]);
    const int low = digit(hex[i + 1]);
    if (high < 0 || low < 0) return false;
    bytes.push_back(static_cast<std::uint8_t>(high * 16 + low));
  }
  return true;
}

CardImage IssueM1Card(std::uint32_t serial) {
  CardImage image;
  image.card = CardKind::kM1;
  image.serial = serial;
  for (int byte = 0; byte < 4; ++byte) {
    image.blocks[0][byte] = static_cast<std::uint8_t>(serial >> (24 - 8 * byte));
  }
  const std::string snr = IntToHex(serial, 8);
  for (std::int16_t sector = 0; sector < kBlockCount / 4; ++sector) {
    auto& trailer = image.blocks[4 * sector + 3];
    ReadHexInto(M1SectorKey(snr, sector), trailer.data(), kKeyBytes);
    // Access bits of a transport-configured trailer, then key B.
    ReadHexInto("FF078069FFFFFFFFFFFF", trailer.data() + kKeyBytes, kBlockBytes - kKeyBytes);
  }
  image.memory[kTypeCodeOffset] = kM1TypeCode;
  return image;
}

CardImage IssueEepromCard() {
  CardImage image;
  image.card = CardKind::kEeprom;
  image.memory[kTypeCodeOffset] = kEepromTypeCode;
  return image;
}

void SetFault(ReaderFaults& faults, std::string_view name, std::string_view value) {
  value = Trimmed(value);
  if (name == "no_reader") {
    faults.noReader = ReadYesNo(value);
  } else if (name == "init_failures") {
    faults.initFailures = static_cast<int>(ReadNumber(value));
  } else if (name == "priming_failures") {
    faults.primingFailures = static_cast<int>(ReadNumber(value));
  } else if (name == "type_codes") {
    const auto words = Words(value);
    faults.typeCodes.assign(words.begin(), words.end());
  } else if (name == "no_card") {
    faults.noCard = ReadYesNo(value);
  } else if (name == "refuse_auth") {
    faults.refusedAuthSectors = ReadNumberSet(value);
  } else if (name == "refuse_write") {
    faults.refusedWriteBlocks = ReadNumberSet(value);
  } else if (name == "refuse_memory") {
    faults.refusedMemoryOffsets = ReadNumberSet(value);
  } else if (name == "remove_after") {
    faults.removeAfter = ReadNumber(value);
  } else if (name == "corrupt_reads") {
    faults.corruptReads = ReadYesNo(value);
  } else {
    throw std::invalid_argument("unknown fault '" + std::string(name) + "'");
  }
}

std::vector<std::pair<std::string, std::string>> FaultSettings(const ReaderFaults& faults) {
  return {
      {"no_reader", YesNo(faults.noReader)},
      {"init_failures", std::to_string(faults.initFailures)},
      {"priming_failures", std::to_string(faults.primingFailures)},
      {"type_codes", JoinWords(faults.typeCodes)},
      {"no_card", YesNo(faults.noCard)},
      {"refuse_auth", JoinNumbers(faults.refusedAuthSectors)},
      {"refuse_write", JoinNumbers(faults.refusedWriteBlocks)},
      {"refuse_memory", JoinNumbers(faults.refusedMemoryOffsets)},
      {"remove_after", std::to_string(faults.removeAfter)},
      {"corrupt_reads", YesNo(faults.corruptReads)},
  };
}

std::string FormatCardImage(const CardImage& image) {
  std::ostringstream out;
  out << "# Simulated dcrf32 reader and the card on it. The reader re-reads this file at every call\n"
         "# and writes it back; edit it freely (the card tool does) between calls.\n"
      << "card: " << CardKindName(image.card) << "\n"
      << "serial: " << IntToHex(image.serial, 8) << "\n\n"
      << "# Faults: counts run down as they are used; type_codes are delivered one per read of\n"
         "# offset 1000 (\"fail\" refuses that read); sectors, blocks and offsets are lists.\n";
  for (const auto& [name, value] : FaultSettings(image.faults)) {
    out << "fault " << name << ":" << (value.empty() ? "" : " ") << value << "\n";
  }
  out << "\n# Reader state between calls\n"
      << "open: " << YesNo(image.open) << "\n"
      << "selected: " << YesNo(image.selected) << "\n"
      << "authenticated: " << image.authenticated << "\n"
      << "operations: " << image.operations << "\n";
  for (const auto& [modeAndSector, key] : image.keys) {
    out << "key " << modeAndSector.first << " " << modeAndSector.second << ": " << key << "\n";
  }
  out << "\n# M1 card: 16 sectors of 4 blocks; the last block of each holds key A in bytes 0-5\n";
  for (int block = 0; block < kBlockCount; ++block) {
    if (block % 4 == 0) out << "# sector " << block / 4 << "\n";
    out << "block " << block << ": " << BytesToHex(image.blocks[block].data(), kBlockBytes) << "\n";
  }
  out << "\n# Reader memory, 32 bytes a line: EEPROM card areas at 0, 64 and 512; card-type code at\n"
         "# 1000, voice prompt at 1001, priming byte at 1010\n";
  for (int offset = 0; offset < kMemoryBytes; offset += kMemoryLineBytes) {
    out << "memory " << offset << ": " << BytesToHex(image.memory.data() + offset, kMemoryLineBytes)
        << "\n";
  }
  out << "\n# Voice prompts announced, oldest first\n";
  for (const auto& prompt : image.prompts) out << "prompt: " << prompt << "\n";
  return out.str();
}

CardImage ParseCardImage(std::string_view text) {
  CardImage image;
  std::istringstream in{std::string(text)};
  int lineNumber = 0;
  for (std::string line; std::getline(in, line);) {
    ++lineNumber;
    const std::string_view content = Trimmed(line);
    if (content.empty() || content.front() == '#') continue;
    const auto colon = content.find(':');
    const auto name = Words(content.substr(0, colon));
    try {
      if (colon == std::string_view::npos || name.empty()) throw std::invalid_argument("no 'name:'");
      ReadSetting(image, name, Trimmed(content.substr(colon + 1)));
    } catch (const std::exception& error) {
      throw std::invalid_argument("card image line " + std::to_string(lineNumber) + ": " +
                                  error.what());
    }
  }
  return image;
}

CardImage LoadCardImage(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw std::runtime_error("cannot read the card image " + path);
  std::ostringstream content;
  content << in.rdbuf();
  return ParseCardImage(content.str());
}

void SaveCardImage(const std::string& path, const CardImage& image) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << FormatCardImage(image);
  if (!out.flush()) throw std::runtime_error("cannot write the card image " + path);
}

}  // namespace wenlock::sim
