#include "ReaderModel.h"

#include <cstring>

#include "Text.h"

namespace wenlock::sim {
namespace {

constexpr std::int16_t kTypeCodeOffset = 1000;
constexpr std::int16_t kPromptOffset = 1001;
constexpr std::int16_t kPrimingOffset = 1010;
constexpr int kKeyBytes = 6;
constexpr int kKeyModes = 3;
constexpr int kSectors = kBlockCount / 4;

std::string Text(const char* text) { return text ? std::string(text) : std::string("(null)"); }

template <typename... Args>
std::string Call(const char* name, const Args&... args) {
  std::string call = std::string(name) + "(";
  bool first = true;
  ((call += (first ? "" : ",") + args, first = false), ...);
  return call + ")";
}

std::string N(long value) { return std::to_string(value); }

bool IsTrailer(int block) { return block % 4 == 3; }

// The first `bytes` bytes of a hex text, or false when it holds fewer or a non-hex character.
bool LeadingBytes(const char* hex, std::size_t bytes, std::vector<std::uint8_t>& out) {
  if (!hex || strnlen(hex, 2 * bytes) < 2 * bytes) return false;
  return HexToBytes(std::string_view(hex, 2 * bytes), out);
}

}  // namespace

ReaderModel::ReaderModel(CardImage& image, std::vector<std::string>& journal)
    : image_(image), journal_(journal) {}

template <typename Result>
Result ReaderModel::Record(const std::string& call, Result result, const std::string& out) {
  journal_.push_back(call + "=" + std::to_string(result) + (out.empty() ? "" : " -> " + out));
  return result;
}

void ReaderModel::CountOperation() { ++image_.operations; }

bool ReaderModel::CardPresent(CardKind kind) const {
  const auto& faults = image_.faults;
  const bool removed = faults.removeAfter >= 0 && image_.operations > faults.removeAfter;
  return image_.card == kind && !removed;
}

bool ReaderModel::IsOpen(std::int32_t icdev) const { return image_.open && icdev == kHandle; }

bool ReaderModel::BlockOpened(std::int16_t adr) const {
  return adr >= 0 && adr < kBlockCount && image_.selected && CardPresent(CardKind::kM1) &&
         image_.authenticated == adr / 4;
}

bool ReaderModel::MemoryRangeUsable(std::int16_t offset, std::int16_t length) const {
  if (offset < 0 || length < 1 || offset + length > kMemoryBytes) return false;
  if (image_.faults.refusedMemoryOffsets.count(offset) != 0) return false;
  return offset >= kCardMemoryEnd || CardPresent(CardKind::kEeprom);
}

std::int32_t ReaderModel::dc_init(std::int32_t port, std::int32_t baud) {
  CountOperation();
  const std::string call = Call("dc_init", N(port), N(baud));
  auto& faults = image_.faults;
  if (faults.noReader) return Record<std::int32_t>(call, -1);
  if (faults.initFailures > 0) {
    --faults.initFailures;
    return Record<std::int32_t>(call, -1);
  }
  image_.open = true;
  image_.selected = false;
  image_.authenticated = -1;
  return Record(call, kHandle);
}

std::int16_t ReaderModel::dc_exit(std::int32_t icdev) {
  CountOperation();
  const std::string call = Call("dc_exit", N(icdev));
  if (!IsOpen(icdev)) return Record(call, kRefused);
  image_.open = false;
  image_.selected = false;
  image_.authenticated = -1;
  return Record<std::int16_t>(call, 0);
}

std::int16_t ReaderModel::dc_card(std::int32_t icdev, std::int16_t mode, std::uint32_t* snr) {
  CountOperation();
  const std::string call = Call("dc_card", N(icdev), N(mode));
  image_.selected = false;
  image_.authenticated = -1;
  if (!IsOpen(icdev) || !snr || image_.faults.noCard || !CardPresent(CardKind::kM1)) {
    return Record(call, kRefused);
  }
  image_.selected = true;
  *snr = image_.serial;
  return Record<std::int16_t>(call, 0, IntToHex(image_.serial, 8));
}

std::int16_t ReaderModel::dc_load_key_hex(std::int32_t icdev, std::int16_t mode, std::int16_t secnr,
                                          const char* key) {
  CountOperation();
  const std::string call = Call("dc_load_key_hex", N(icdev), N(mode), N(secnr), Text(key));
  std::vector<std::uint8_t> bytes;
  if (!IsOpen(icdev) || mode < 0 || mode >= kKeyModes || secnr < 0 || secnr >= kSectors ||
      !key || std::strlen(key) != 2 * kKeyBytes || !LeadingBytes(key, kKeyBytes, bytes)) {
    return Record(call, kRefused);
  }
  image_.keys[{mode, secnr}] = BytesToHex(bytes.data(), bytes.size());
  return Record<std::int16_t>(call, 0);
}

std::int16_t ReaderModel::dc_authentication(std::int32_t icdev, std::int16_t mode,
                                            std::int16_t secnr) {
  CountOperation();
  const std::string call = Call("dc_authentication", N(icdev), N(mode), N(secnr));
  image_.authenticated = -1;
  if (!IsOpen(icdev) || !image_.selected || !CardPresent(CardKind::kM1) || secnr < 0 ||
      secnr >= kSectors || image_.faults.refusedAuthSectors.count(secnr) != 0) {
    return Record(call, kRefused);
  }
  // Only the sector's own key A, as its trailer holds it, opens the sector.
  const auto key = image_.keys.find({mode, secnr});
  const std::string keyA = BytesToHex(image_.blocks[4 * secnr + 3].data(), kKeyBytes);
  if (key == image_.keys.end() || key->second != keyA) return Record(call, kRefused);
  image_.authenticated = secnr;
  return Record<std::int16_t>(call, 0);
}

std::int16_t ReaderModel::dc_read_hex(std::int32_t icdev, std::int16_t adr, char* data) {
  CountOperation();
  const std::string call = Call("dc_read_hex", N(icdev), N(adr));
  if (!IsOpen(icdev) || !data || !BlockOpened(adr)) return Record(call, kRefused);
  auto block = image_.blocks[adr];
  if (IsTrailer(adr)) std::fill(block.begin(), block.begin() + kKeyBytes, 0);  // key A reads as 0
  if (image_.faults.corruptReads) block[0] ^= 0xFF;
  const std::string hex = BytesToHex(block.data(), block.size());
  std::memcpy(data, hex.c_str(), hex.size() + 1);
  return Record<std::int16_t>(call, 0, hex);
}

std::int16_t ReaderModel::dc_write_hex(std::int32_t icdev, std::int16_t adr, const char* data) {
  CountOperation();
  const std::string call = Call("dc_write_hex", N(icdev), N(adr), Text(data));
  std::vector<std::uint8_t> bytes;
  // Block 0 (the serial) and the trailers (the keys) are read-only on the simulated card.
  if (!IsOpen(icdev) || !BlockOpened(adr) || adr == 0 || IsTrailer(adr) ||
      image_.faults.refusedWriteBlocks.count(adr) != 0 || !LeadingBytes(data, kBlockBytes, bytes)) {
    return Record(call, kRefused);
  }
  std::copy(bytes.begin(), bytes.end(), image_.blocks[adr].begin());
  return Record<std::int16_t>(call, 0);
}

std::int16_t ReaderModel::ReadTypeCode(char* rec_buffer, std::int16_t length, std::string& out) {
  auto& codes = image_.faults.typeCodes;
  const std::string code = codes.front();
  codes.pop_front();
  if (code == "fail") return kRefused;
  // Delivered as given (also in lower case), cut to the buffer the caller asked for.
  out = code.substr(0, 2 * static_cast<std::size_t>(length));
  std::memcpy(rec_buffer, out.c_str(), out.size() + 1);
  return 0;
}

std::int16_t ReaderModel::dc_srd_eepromhex(std::int32_t icdev, std::int16_t offset,
                                           std::int16_t length, char* rec_buffer) {
  CountOperation();
  const std::string call = Call("dc_srd_eepromhex", N(icdev), N(offset), N(length));
  if (!IsOpen(icdev) || !rec_buffer || !MemoryRangeUsable(offset, length)) {
    return Record(call, kRefused);
  }
  std::string out;
  if (offset == kTypeCodeOffset && !image_.faults.typeCodes.empty()) {
    const std::int16_t status = ReadTypeCode(rec_buffer, length, out);
    return Record(call, status, out);
  }
  std::vector<std::uint8_t> bytes(image_.memory.begin() + offset,
                                  image_.memory.begin() + offset + length);
  if (image_.faults.corruptReads && offset < kCardMemoryEnd) bytes[0] ^= 0xFF;
  out = BytesToHex(bytes.data(), bytes.size());
  std::memcpy(rec_buffer, out.c_str(), out.size() + 1);
  return Record<std::int16_t>(call, 0, out);
}

std::int16_t ReaderModel::dc_swr_eepromhex(std::int32_t icdev, std::int16_t offset,
                                           std::int16_t length, const char* send_buffer) {
  CountOperation();
  const std::string call =
      Call("dc_swr_eepromhex", N(icdev), N(offset), N(length), Text(send_buffer));
  std::vector<std::uint8_t> bytes;
  if (!IsOpen(icdev) || !MemoryRangeUsable(offset, length) ||
      !LeadingBytes(send_buffer, static_cast<std::size_t>(length), bytes)) {
    return Record(call, kRefused);
  }
  if (offset == kPrimingOffset && image_.faults.primingFailures > 0) {
    --image_.faults.primingFailures;
    return Record(call, kRefused);
  }
  std::copy(bytes.begin(), bytes.end(), image_.memory.begin() + offset);
  if (offset == kPromptOffset) image_.prompts.push_back(BytesToHex(bytes.data(), bytes.size()));
  return Record<std::int16_t>(call, 0);
}

}  // namespace wenlock::sim
