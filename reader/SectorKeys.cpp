// M1 sector keys: built per sector from the card serial and the site constants, never stored.
#include "SiteKeys.h"
#include "Text.h"
#include "TolvarWRCard_Unit.h"

namespace wenlock {
namespace {

constexpr std::int16_t kSectorCount = 16;
constexpr std::int16_t kKeyMode = 0;

}  // namespace

std::string M1SectorKey(std::string_view CardSnr, std::int16_t sector) {
  std::string key = IntToHex(site_keys::kLead, 2);
  // Serial bytes from the least significant (characters 7-8) to the most (characters 1-2).
  for (int byte = 0; byte < 4; ++byte) {
    const std::int32_t serialByte = HexStrToInt(Copy(CardSnr, 7 - 2 * byte, 2));
    key += IntToHex((serialByte ^ site_keys::kSerialMasks[byte]) & 0xFF, 2);
  }
  key += IntToHex((sector ^ site_keys::kSectorMask) & 0xFF, 2);
  return key;
}

std::int32_t LoadM1Key(const TolvarDrv& drv, std::int32_t iPort, std::string_view CardSnr) {
  for (std::int16_t sector = 0; sector < kSectorCount; ++sector) {
    // A refused key is not reported: its sector then refuses authentication.
    if (drv.dc_load_key_hex(iPort, kKeyMode, sector, M1SectorKey(CardSnr, sector).c_str()) != 0) {
      break;
    }
  }
  return 0;
}

}  // namespace wenlock
