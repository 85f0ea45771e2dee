// The five card areas: sectors and blocks of an M1 card, byte ranges of the reader's memory for an
// EEPROM card, and the read and write of an area over either.
#include <cstring>
#include <limits>

#include "OldCtrl_Dl645.h"
#include "Q_GDW130_ShareFun.h"
#include "ReaderRetry.h"
#include "Text.h"
#include "TolvarWRCard_Unit.h"

namespace wenlock {
namespace {

constexpr std::size_t kBlockTextLength = 32;
constexpr std::int16_t kKeyMode = 0;
constexpr int kMemoryAttempts = 3;
constexpr int kSelectAttempts = 2;

bool IsCardArea(std::int16_t RW_Items) { return RW_Items >= 0 && RW_Items <= 4; }

// Selects the card on the reader (twice at most) and loads the keys derived from its serial.
std::int16_t SelectM1CardAndLoadKeys(const TolvarDrv& drv, std::int32_t iPort) {
  std::uint32_t serial = 0;
  if (!detail::RetryWithPauses(kSelectAttempts,
                               [&] { return drv.dc_card(iPort, kKeyMode, &serial) == 0; })) {
    return kAreaNoCard;
  }
  LoadM1Key(drv, iPort, IntToHex(serial, 8));
  return kAreaDone;
}

// Authenticates each sector of the area in order and hands each of its blocks, with the block's
// position in the area, to blockOp. The first refusal ends the walk.
template <typename BlockOp>
std::int16_t ForEachAreaBlock(const TolvarDrv& drv, std::int32_t iPort, std::int16_t RW_Items,
                              BlockOp&& blockOp) {
  std::size_t position = 0;
  for (const auto& sector : M1AreaLayout(RW_Items)) {
    if (drv.dc_authentication(iPort, kKeyMode, sector.sector) != 0) return kAreaAuthFailed;
    for (std::int16_t block : sector.blocks) {
      if (!blockOp(block, position++)) return kAreaIoFailed;
    }
  }
  return kAreaDone;
}

std::int16_t ReadM1Area(const TolvarDrv& drv, std::int32_t iPort, std::int16_t RW_Items,
                        std::string& text) {
  return ForEachAreaBlock(drv, iPort, RW_Items, [&](std::int16_t block, std::size_t) {
    char buffer[kBlockTextLength + 1] = {};
    if (drv.dc_read_hex(iPort, block, buffer) != 0) return false;
    text.append(buffer, strnlen(buffer, kBlockTextLength));
    return true;
  });
}

std::int16_t WriteM1Area(const TolvarDrv& drv, std::int32_t iPort, std::int16_t RW_Items,
                         std::string text) {
  const std::size_t length = M1AreaTextLength(RW_Items);
  if (text.size() < length) text.append(length - text.size(), '0');
  return ForEachAreaBlock(drv, iPort, RW_Items, [&](std::int16_t block, std::size_t position) {
    const auto slice = StringToArray32(Copy(text, 1 + position * kBlockTextLength, kBlockTextLength));
    return drv.dc_write_hex(iPort, block, slice.data()) == 0;
  });
}

std::int16_t ReadEepromArea(const TolvarDrv& drv, std::int32_t iPort, const EepromArea& area,
                            std::string& text) {
  std::string buffer(2 * static_cast<std::size_t>(area.readBytes) + 1, '\0');
  const bool read = detail::RetryWithPauses(kMemoryAttempts, [&] {
    return drv.dc_srd_eepromhex(iPort, area.offset, area.readBytes, buffer.data()) == 0;
  });
  if (!read) return kAreaIoFailed;
  text.assign(buffer.c_str(), strnlen(buffer.c_str(), buffer.size() - 1));
  return kAreaDone;
}

std::int16_t WriteEepromArea(const TolvarDrv& drv, std::int32_t iPort, const EepromArea& area,
                             const std::string& text) {
  const std::size_t bytes = text.size() / 2;
  // A count the library's 16-bit argument cannot carry would wrap round; nothing is written.
  if (bytes > static_cast<std::size_t>(std::numeric_limits<std::int16_t>::max())) return kAreaIoFailed;
  const bool written = detail::RetryWithPauses(kMemoryAttempts, [&] {
    return drv.dc_swr_eepromhex(iPort, area.offset, static_cast<std::int16_t>(bytes),
                                text.c_str()) == 0;
  });
  return written ? kAreaDone : kAreaIoFailed;
}

// Keeps only the complete frame at the start of an area text, when one of the three layouts is there.
void KeepLeadingFrame(std::string& text) {
  if (CheckRecvFrame(text, text) == kFrameComplete) return;
  if (Check_OldCtrlMeterProtocol(text, text) == kFrameComplete) return;
  Check_GBCtrlMeterProtocol(text, text);
}

}  // namespace

std::vector<M1AreaSector> M1AreaLayout(std::int16_t RW_Items) {
  // The data blocks of a sector are its first three; block 0 of sector 0 holds the serial.
  const auto sectorOf = [](std::int16_t sector) {
    M1AreaSector layout{sector, {}};
    for (std::int16_t block = 4 * sector; block < 4 * sector + 3; ++block) {
      if (block != 0) layout.blocks.push_back(block);
    }
    return layout;
  };
  std::vector<std::int16_t> sectors;
  switch (RW_Items) {
    case 0: sectors = {1, 2, 3, 4, 5}; break;
    case 1: sectors = {8, 9, 10, 11}; break;
    case 2: sectors = {0, 1}; break;
    case 3: sectors = {2, 3}; break;
    case 4: sectors = {15}; break;
    default: break;
  }
  std::vector<M1AreaSector> layout;
  for (std::int16_t sector : sectors) layout.push_back(sectorOf(sector));
  return layout;
}

std::size_t M1AreaTextLength(std::int16_t RW_Items) {
  std::size_t blocks = 0;
  for (const auto& sector : M1AreaLayout(RW_Items)) blocks += sector.blocks.size();
  return blocks * kBlockTextLength;
}

EepromArea EepromAreaLayout(std::int16_t RW_Items) {
  switch (RW_Items) {
    case 2: return {true, 0, 64};
    case 3: return {true, 64, 64};
    case 4: return {true, 512, 20};
    default: return {false, 0, 0};
  }
}

std::array<char, 33> StringToArray32(std::string_view text) {
  std::array<char, 33> buffer{};
  const std::string first = Copy(text, 1, 32);
  std::memcpy(buffer.data(), first.data(), first.size());
  return buffer;
}

std::int16_t tolvar_ReadCard(const TolvarDrv& drv, std::int32_t iPort, std::int16_t CardType,
                             std::int16_t RW_Items, std::string& text) {
  std::string area;
  if (CardType == kEepromCard && IsCardArea(RW_Items)) {
    const EepromArea layout = EepromAreaLayout(RW_Items);
    if (!layout.exists) return kAreaNotOnEeprom;
    if (const auto status = ReadEepromArea(drv, iPort, layout, area); status != kAreaDone) {
      return status;
    }
  } else if (CardType == kM1Card) {
    if (const auto status = SelectM1CardAndLoadKeys(drv, iPort); status != kAreaDone) return status;
    if (const auto status = ReadM1Area(drv, iPort, RW_Items, area); status != kAreaDone) {
      return status;
    }
  }
  KeepLeadingFrame(area);
  text = std::move(area);
  return kAreaDone;
}

std::int16_t tolvar_WriteCard(const TolvarDrv& drv, std::int32_t iPort, std::int16_t CardType,
                              std::int16_t RW_Items, const std::string& text) {
  if (CardType == kEepromCard && IsCardArea(RW_Items)) {
    const EepromArea layout = EepromAreaLayout(RW_Items);
    if (!layout.exists) return kAreaNotOnEeprom;
    return WriteEepromArea(drv, iPort, layout, text);
  }
  if (CardType == kM1Card) {
    if (const auto status = SelectM1CardAndLoadKeys(drv, iPort); status != kAreaDone) return status;
    return WriteM1Area(drv, iPort, RW_Items, text);
  }
  return kAreaDone;
}

}  // namespace wenlock
