// The frames a terminal or meter writes into a card's return area once it has taken a sale: the
// Q/GDW 130 uplink frame carrying the E4 F1 data item, and the GB-layout reply frame (control code
// B6) that Morvane's zjbfkgdswer reads. The old layout's return frame is the stand-in's
// (MorlinFrames.h). Morvane builds no replies, so the GB one is assembled here.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "TO_Kessel_Unit.h"

namespace wenlock::cardtool {

// The control field of a terminal's uplink answer.
inline constexpr std::string_view kGDW130UplinkControl = "88";

// The item's fields one after another, in the order GDW130_AFNE4_F1_DataItemParse cuts them.
std::string GDW130_AFNE4_F1_DataItemText(const TGDW130_DataItem_AFNE4_F1& item);

// The terminal's E4 F1 uplink frame from the terminal address text as ParseFrameOper gives it
// (district, terminal and master station: 12 characters) and the item text. Raises
// ConversionError for an address or item that a frame cannot carry.
std::string GDW130_AFNE4_F1_ReplyFrame(std::string_view address, std::string_view item);

// GB-layout reply frame, control code B6, 37 data bytes: the remaining energy sydl (hundredths,
// 32-bit, negative on credit) and the purchase count gdcs, every other field 0; addressed to
// terminaladdr (8 hexadecimal characters, as Morvane's readers give it back). Raises
// ConversionError for an address that is not 8 hexadecimal characters, a count outside 0-65535 or
// an energy beyond 32 bits of hundredths.
std::string GBReplyFrame(std::string_view terminaladdr, double sydl, std::int32_t gdcs);

}  // namespace wenlock::cardtool
