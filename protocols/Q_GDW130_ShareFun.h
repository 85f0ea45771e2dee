// Q/GDW 130 frame codec and data formats, on hexadecimal text (two characters per byte, positions
// from 1). Produced texts use upper-case digits; texts handed in are copied as they are.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace wenlock {

// One frame to send: control field, district code (most significant byte first), terminal address
// (decimal, or FFFF for broadcast), master-station address (decimal), AFN, Fn (decimal), data units.
struct TGDW130_ProtDef {
  std::string C;
  std::string DistrictNum;
  std::string DeviceID;
  std::string HomeDeviceAddr;
  std::string AFN;
  std::string Fn;
  std::string sData;
};

// The largest byte count the padding helpers accept; no frame field comes near it, and larger
// requests would only exhaust memory. FormatS and format 24 refuse more with ConversionError.
constexpr std::int64_t kMaxPaddedBytes = 1 << 20;

// Left-pads sData with "0" to 2 x bytes characters; longer texts are returned unchanged.
std::string FormatS(std::string_view sData, std::int32_t bytes);
// Reverses the byte order of a hexadecimal text; a trailing odd character is dropped.
std::string DataStrToDown(std::string_view sData);
// Byte sum modulo 256 as two upper-case hexadecimal digits; ConversionError on a non-hex pair.
std::string checkSum_CS(std::string_view sFrame);

std::string FrameItem_68_68(std::string_view sData);
std::string FrameItem_C_A(std::string_view C, std::string_view DistrictNum,
                          std::string_view DeviceID, std::string_view HomeDeviceAddr);
std::string FrameItem_AFN_FN(std::string_view AFN, std::string_view FN);

// The whole frame; ConversionError when a numeric field or the data is not of its kind.
std::string SendFrame_RW(const TGDW130_ProtDef& GDW130_ProtDef);

// Frame check results.
enum : std::int32_t {
  kFrameComplete = 0,
  kFrameBadStart = 1,
  kFrameLengthsDiffer = 2,
  kFrameBadEnd = 4,
  kFrameBadChecksum = 5,
  kFrameException = 6,
};

// Checks that the text (blanks removed) begins with one complete frame; on 0 SFrame receives it.
// Every outcome is logged. pFrameStr and SFrame may be the same variable.
std::int32_t CheckRecvFrame(const std::string& pFrameStr, std::string& SFrame);

// Checks and takes a frame apart: the data after the data-unit identifier and the terminal address
// text (district, terminal, master station). Outputs are written only on 0.
std::int32_t ParseFrameOper(const std::string& sParseRecvFrame, std::string& return_sData,
                            std::string& CardNo);

// GetCount bytes of the text (blanks removed) from byte sn on, cut short at its end.
std::string RecvFrameCopyBytes(std::string_view srcFrame, std::int32_t sn, std::int32_t GetCount);

// Data formats 3, 9, 10, 11 and 24: value text to frame form and back (low byte first).
std::string DataToFormat(std::string_view sObjData, std::int32_t DataType, std::int32_t AUXInfo);
std::string FormatToData(std::string_view sFrameData, std::int32_t DataType);

std::string DataFormatDef_9_A(std::string_view sObjData);
std::string DataFormatDef_10_A(std::string_view sObjData);
std::string DataFormatDef_11_A(std::string_view sObjData);
std::string DataFormatDef_24_A(std::string_view sObjData, std::int32_t BSXX_id);
std::string DataFormatDef_9_B(std::string_view sdata);
std::string DataFormatDef_10_B(std::string_view sdata);
std::string DataFormatDef_11_B(std::string_view sdata);
std::string DataFormatDef_24_B(std::string_view sdata);

}  // namespace wenlock
