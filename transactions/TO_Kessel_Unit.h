// Transaction unit: everything between a card service call and the card. Its sections are the write
// item assembly, the Q/GDW 130 purchase-test frame, the card image decoders, the control-meter frame
// builders and the read and write transactions.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "FrameStru.h"
#include "OldMeterServer.h"
#include "Q_GDW130_ShareFun.h"
#include "TolvarDrv_Unit.h"

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

// ===== Card image decoding =======================================================================

// A decoded card: the record as far as it was filled and the read's result code for it, "000" when
// every field was filled, "024" when the frame's content stopped the decoding (a field that is not
// a number, a frame the reader of its kind rejects, a parse that fails), "003" when the old-meter
// server could not be created or failed. Fields not reached stay empty.
struct TCardDecoding {
  TRead_Card_Items items;
  std::string_view code;
};

// The text of a fixed field, the same whatever the card holds: factory "A", factor, meterKind and
// meterConst "1", the demand times "2005-01-01 12:12:12", port and password empty, every other
// field "0". The card-carried fields (cardNo, writeNo, leftPower, totalBuy, upZeroPower) are "0".
std::string_view FixedReadCardItemText(std::string_view field);

// Meter kind "01": a Q/GDW 130 frame carrying the E4 F1 purchase-test data item.
TCardDecoding Kessel_ReadCardOper_Data(const std::string& ReadData);
// Meter kind "00": an old-layout control-meter frame, read by a server made for this call;
// CardItemFlag "1" reads a write-area frame, anything else a return-area frame.
TCardDecoding Kessel_ReadCardOper_Data_old(const std::string& ReadData,
                                           std::string_view CardItemFlag,
                                           const OldMeterServerFactory& servers);
// Meter kind "03": a GB-layout control-meter frame, read by Morvane; CardItemFlag as above.
TCardDecoding Kessel_ReadCardOper_Data_GB(const std::string& ReadData,
                                          std::string_view CardItemFlag);

// The out arguments of the automation method Read_Card after port, in record order (factory first,
// code4 last): factory always "A", every other one the record's field of the same name.
constexpr std::size_t kReadCardOutArguments = ReadCardItemFields.size() - 1;
void Read_OutData_old(const TRead_Card_Items& items,
                      std::array<std::string, kReadCardOutArguments>& outArguments);

// ===== Control-meter frame builders ==============================================================

// What a builder made: the frame, or (frame empty) the write's result code for its refusal: "041"
// a card number of the wrong length, "051" request values no frame can carry, "003" the old-meter
// server could not be created or failed.
struct TBuiltFrame {
  std::string frame;
  std::string_view code;
};

// Old control-meter frame from the server (created first, released after): account opening when
// writeNo reads as 0 or not as an integer, a purchase otherwise; CardType 0 EEPROM card, 1 M1 card. The
// card number must be 6 characters once trimmed, and a decimal integer.
TBuiltFrame OldFrameStr(std::int32_t CardType, const TWrite_Card_Items& request,
                        const OldMeterServerFactory& servers);

// GB control-meter frame from Morvane: account opening (zjbfkkh) or purchase (zjbfkgd, count
// writeNo + 1) as above; the card number must be 8 characters once trimmed. The first argument is
// not used.
TBuiltFrame GBFrameStr(std::int32_t unused, const TWrite_Card_Items& request);

// ===== Read and write transactions ===============================================================

// What the transactions run on: the reader table and the old-meter servers.
struct TCardTransactionContext {
  const TolvarDrv* drv;
  OldMeterServerFactory servers;
};

// The production context: dcrf32 and "Brackwell.Morlin" (library wenlock_transactions_production).
const TCardTransactionContext& DefaultCardTransactionContext();

// 40 "F": the write leaves it in the return area; a read in mode "1" that finds it reports "038".
inline constexpr std::string_view kBlankAreaMarker = "FFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFF";

// The user number of the user-number area: the text up to its first "F", at most 20 characters.
std::string UserID_Update_2(std::string_view text);

// 0 when the text starts with a replacement-card record ("68387616", a hexadecimal count n, 2n
// characters of card number, "FF", the upper-case checksum of all before it, "16"), -1 otherwise;
// CardNo receives the card number once the count is read.
std::int32_t Check_BuCardFlag(std::string_view text, std::string& CardNo);

// The read: identifies the card, reads the user-number area and the area the read mode (code3)
// selects, decodes the frame found there. Fills items and returns "000", "001", "003", "013",
// "024", "034" or "038". Transactions of one process run one at a time.
std::string Read_Card(TRead_Card_Items& items, const TCardTransactionContext& context);

// The user number padded on the right with "F" to 18 characters; longer texts unchanged.
std::string UserID_Update(std::string_view text);

// The replacement-card record of operation "03" for the card number, or the empty text when the
// card number is not hexadecimal text.
std::string ReplacementCardRecord(std::string_view cardNo);

// The write: builds the frame (or replacement-card record) for the request's meter kind first,
// then writes the user-number area, the write area and the return area and announces the energy.
// Returns "00", "001", "003", "013", "034", "041", "044", "051" or "060"; a refusal before the
// first area write leaves the card untouched.
std::string Write_Card(TWrite_Card_Items items, const TCardTransactionContext& context);

}  // namespace wenlock
