// Transaction unit: everything between a card service call and the card. Its sections are the write
// item assembly and the Q/GDW 130 purchase-test frame; the read and write transactions and the card
// image decoders join them here.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "FrameStru.h"
#include "Q_GDW130_ShareFun.h"

namespace wenlock {

// ===== Write item assembly =======================================================================

// The Write_Card arguments that a write uses, as texts, in the order the card service object passes
// them.
struct TWriteCardOper_Input {
  std::string Port2;
  std::string factory2;  // accepted and ignored: the record's factory is always "A"
  std::string writeNo2;
  std::string cardNo2;
  std::string userNo2;
  std::string icKind2;
  std::string buyPower2;
  std::string buyTimes2;
  std::string factor2;
  std::string supCardNum2;
  std::string code1_2;
  std::string code2_2;
  std::string maxBurden2;
  std::string yConst2;
  std::string wConst2;
  std::string operation2;
  std::string warnPower2;
  std::string code3_2;
  std::string warnTime2;
  std::string yBeginNum2;
  std::string wBeginNum2;
};

// The write request: the used arguments copied, maxBurden and wBeginNum cut one character after
// their first ".", a yConst or wConst of more than 4 characters replaced by "100", factory "A", and
// every other field empty. Accepts any text and never fails.
TWrite_Card_Items Kessel_WriteCardOper_Data(const TWriteCardOper_Input& input);

// ===== Q/GDW 130 purchase-test frame =============================================================

// A function the terminal frames serve: application function code, information class, name (GBK).
struct TGDW130_AFN_FN {
  std::string_view AFN;
  std::string_view Fn;
  std::string_view Name;
};

// Fills the data units (sData) of a frame from the write request; false when the request does not
// give a valid data unit.
using TGDW130_DataUnitBuilder = bool (*)(const TWrite_Card_Items& request,
                                         TGDW130_ProtDef& GDW130_ProtDef);

// E4 F1 purchase-test data unit: user number, purchase type (11 for a purchase, 15 for a negative
// energy), replacement-card count, write count and energy in hundredths, each low byte first.
// Empty counts read as 0. Refuses (false, sData untouched) a count or energy that is not a number,
// a replacement-card count outside 0-255, a write count outside 0-65535, an energy of 1 000 000 or
// more in magnitude or with more than two decimals, and a user number (the first 12 characters of
// code2, trimmed) with anything but digits: each would shift the fields of the frame.
bool GDW130_AFNE4_F1_Data(const TWrite_Card_Items& request, TGDW130_ProtDef& GDW130_ProtDef);

// The functions CtrlOperSet can build, and in step with them their data-unit builders. CtrlOperSet
// counts rows from 1.
inline constexpr std::array<TGDW130_AFN_FN, 1> GDW130_AFN_FN_LIST{{
    {"E4", "01", "\xB9\xBA\xB5\xE7\xB2\xE2\xCA\xD4"},  // 购电测试
}};
inline constexpr std::array<TGDW130_DataUnitBuilder, GDW130_AFN_FN_LIST.size()>
    GDW130_AFN_FN_DATALIST{&GDW130_AFNE4_F1_Data};

// Splits an 11- or 12-character terminal address into district (characters 1-4), terminal (5 to
// the last 4) and master station (the last 3), and sets the downlink control field 4A. False, and
// the definition untouched, for any other length.
bool GDW130_InputAddr(std::string_view address, TGDW130_ProtDef& GDW130_ProtDef);

// The downlink frame of row `index` of GDW130_AFN_FN_LIST for the request, addressed to its cardNo
// (trimmed). "041" when the address is not of 12 characters; the empty text when the data unit is
// refused, the index is not a row, or the frame cannot be formed (an address that is not a number).
// Never raises.
std::string CtrlOperSet(std::int32_t index, const TWrite_Card_Items& request);

// The E4 F1 data item as a terminal returns it; hexadecimal characters in wire byte order.
struct TGDW130_DataItem_AFNE4_F1 {
  std::string UserID;       // 12 characters
  std::string BuyType;      // 2
  std::string supCardNum;   // 2
  std::string GPRSwriteNo;  // 4
  std::string cardwriteNo;  // 4
  std::string buyPower;     // 8
  std::string buytime;      // 12
  std::string totalYDN;     // 8
  std::string totalWDN;     // 8
  std::string totalBuy;     // 8
  std::string leftPower;    // 8
  std::string upZeroPower;  // 8
};

// Cuts the item into the record's fields by their widths, from the first character on, without any
// conversion; fields beyond the end of a short item come out short or empty.
void GDW130_AFNE4_F1_DataItemParse(std::string_view item, TGDW130_DataItem_AFNE4_F1& record);

}  // namespace wenlock
