// Q/GDW 130 data formats 3, 9, 10, 11 and 24 (frame form low byte first).
#include "Q_GDW130_ShareFun.h"
#include "Text.h"

namespace wenlock {
namespace {

constexpr const char* kFormat3 = "00000000";
constexpr std::uint32_t kSignBit = 0x80;

}  // namespace

std::string DataFormatDef_9_A(std::string_view sObjData) {
  const double scaled = StrToFloat(sObjData) * 10000;
  std::string digits = FormatS(RealText(scaled >= 0 ? scaled : -scaled), 3);
  if (scaled < 0) {
    digits = IntToHex(HexToUInt(Copy(digits, 1, 2)) | kSignBit, 2) + Copy(digits, 3, 4);
  }
  return DataStrToDown(digits);
}

std::string DataFormatDef_9_B(std::string_view sdata) {
  try {
    std::string digits = DataStrToDown(sdata);
    const std::uint32_t top = HexToUInt(Copy(digits, 1, 2));
    if (top / 128 == 1) digits = "-" + IntToHex(top & 0x7F, 2) + Copy(digits, 3, 4);
    return RealText(static_cast<double>(StrToInt64(digits)) / 10000);
  } catch (const ConversionError&) {
    return {};
  }
}

std::string DataFormatDef_10_A(std::string_view sObjData) {
  StrToInt(sObjData);  // the text itself is padded, so it must be plain digits
  return DataStrToDown(FormatS(sObjData, 3));
}

std::string DataFormatDef_10_B(std::string_view sdata) {
  return std::to_string(StrToInt(DataStrToDown(sdata)));
}

std::string DataFormatDef_11_A(std::string_view sObjData) {
  return DataStrToDown(FormatS(RealText(StrToFloat(sObjData) * 100), 4));
}

std::string DataFormatDef_11_B(std::string_view sdata) {
  return RealText(StrToFloat(DataStrToDown(sdata)) / 100);
}

std::string DataFormatDef_24_A(std::string_view sObjData, std::int32_t BSXX_id) {
  if (BSXX_id / 8 > kMaxPaddedBytes) throw ConversionError("bit width too large");
  return DataStrToDown(IntToHex(StrToInt(sObjData), (BSXX_id / 8) * 2));
}

std::string DataFormatDef_24_B(std::string_view sdata) {
  return std::to_string(static_cast<std::int32_t>(HexToUInt(DataStrToDown(sdata))));
}

std::string DataToFormat(std::string_view sObjData, std::int32_t DataType, std::int32_t AUXInfo) {
  switch (DataType) {
    case 3: return kFormat3;
    case 9: return DataFormatDef_9_A(sObjData);
    case 10: return DataFormatDef_10_A(sObjData);
    case 11: return DataFormatDef_11_A(sObjData);
    case 24: return DataFormatDef_24_A(sObjData, AUXInfo);
    default: return {};
  }
}

std::string FormatToData(std::string_view sFrameData, std::int32_t DataType) {
  switch (DataType) {
    case 3: return kFormat3;
    case 9: return DataFormatDef_9_B(sFrameData);
    case 10: return DataFormatDef_10_B(sFrameData);
    case 11: return DataFormatDef_11_B(sFrameData);
    case 24: return DataFormatDef_24_B(sFrameData);
    default: return {};
  }
}

}  // namespace wenlock
