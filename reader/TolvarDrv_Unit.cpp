#include "TolvarDrv_Unit.h"

namespace wenlock {

const TolvarDrv& Dcrf32Drv() {
  static const TolvarDrv table{&::dc_init,           &::dc_exit,          &::dc_card,
                               &::dc_load_key_hex,   &::dc_authentication, &::dc_read_hex,
                               &::dc_write_hex,      &::dc_srd_eepromhex,  &::dc_swr_eepromhex};
  return table;
}

}  // namespace wenlock
