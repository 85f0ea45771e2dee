// Q/GDW 130 framing: byte helpers, frame building, checking and parsing.
#include <array>

#include "Q_GDW130_ShareFun.h"
#include "WCard_ShareOper.h"

namespace wenlock {
namespace {

// Frame check outcomes as they stand in the action log (GBK text).
const std::array<const char*, 7> kCheckLogLines = {
    "CheckRecvFrame(\xE8\xE5\xCD\xEA\xD5\xFB\xD0\xD4\xBC\xEC\xB2\xE2) 0 : \xCD\xEA\xD5\xFB\xE8\xE5 ",  // CheckRecvFrame(桢完整性检测) 0 : 完整桢
    "CheckRecvFrame(\xE8\xE5\xCD\xEA\xD5\xFB\xD0\xD4\xBC\xEC\xB2\xE2) 1 : \xE8\xE5\xCD\xB7\xB4\xED 68~68",  // CheckRecvFrame(桢完整性检测) 1 : 桢头错 68~68
    "CheckRecvFrame(\xE8\xE5\xCD\xEA\xD5\xFB\xD0\xD4\xBC\xEC\xB2\xE2) 2 : L1 \xD3\xEB L2 \xB2\xBB\xB5\xC8",  // CheckRecvFrame(桢完整性检测) 2 : L1 与 L2 不等
    nullptr,  // result 3 does not occur
    "CheckRecvFrame(\xE8\xE5\xCD\xEA\xD5\xFB\xD0\xD4\xBC\xEC\xB2\xE2) 4 : \xE8\xE5\xB3\xA4\xB6\xC8\xD3\xEBL\xB2\xBB\xB7\xFB",  // CheckRecvFrame(桢完整性检测) 4 : 桢长度与L不符
    "CheckRecvFrame(\xE8\xE5\xCD\xEA\xD5\xFB\xD0\xD4\xBC\xEC\xB2\xE2) 5 : \xD0\xA3\xD1\xE9\xB4\xED\xCE\xF3",  // CheckRecvFrame(桢完整性检测) 5 : 校验错误
    "CheckRecvFrame(\xE8\xE5\xCD\xEA\xD5\xFB\xD0\xD4\xBC\xEC\xB2\xE2) 6 : \xD2\xEC\xB3\xA3\xCD\xCB\xB3\xF6\xD0\xC5\xCF\xA2 ",  // CheckRecvFrame(桢完整性检测) 6 : 异常退出信息
};

std::int32_t Logged(std::int32_t result) {
  ActionLog(true, kCheckLogLines[static_cast<std::size_t>(result)]);
  return result;
}

// Hexadecimal value of two or four characters (either case); ConversionError otherwise.
std::uint32_t HexField(std::string_view text) { return HexToUInt(text); }

}  // namespace

std::string FormatS(std::string_view sData, std::int32_t bytes) {
  if (bytes > kMaxPaddedBytes) throw ConversionError("byte count too large");
  const std::int64_t width = 2 * static_cast<std::int64_t>(bytes);
  return PadLeft(sData, width > 0 ? static_cast<std::size_t>(width) : 0, '0');
}

std::string DataStrToDown(std::string_view sData) {
  std::string reversed;
  reversed.reserve(sData.size());
  for (std::size_t pair = sData.size() / 2; pair > 0; --pair) {
    reversed.append(sData.substr((pair - 1) * 2, 2));
  }
  return reversed;
}

std::string checkSum_CS(std::string_view sFrame) {
  std::uint32_t sum = 0;
  for (std::size_t i = 0; i + 1 < sFrame.size(); i += 2) {
    sum = (sum + HexField(sFrame.substr(i, 2))) & 0xFF;
  }
  return IntToHex(sum, 2);
}

std::string FrameItem_68_68(std::string_view sData) {
  const std::int64_t length = (static_cast<std::int64_t>(sData.size() / 2) + 12) * 4 + 1;
  const std::string l_field = DataStrToDown(IntToHex(length, 4));
  return "68" + l_field + l_field + "68";
}

std::string FrameItem_C_A(std::string_view C, std::string_view DistrictNum,
                          std::string_view DeviceID, std::string_view HomeDeviceAddr) {
  std::string item(C);
  item += DataStrToDown(DistrictNum);
  const std::int64_t host = StrToInt(HomeDeviceAddr);
  std::int64_t a3 = host * 2;
  if (DeviceID == "FFFF" || DeviceID == "ffff") {
    item += "FFFF";
    a3 += 1;
  } else {
    item += DataStrToDown(IntToHex(StrToInt(DeviceID), 4));
  }
  return item + IntToHex(a3, 2);
}

std::string FrameItem_AFN_FN(std::string_view AFN, std::string_view FN) {
  const std::int32_t fn = StrToInt(FN);
  // Information classes count from 1; anything below has no data-unit identifier.
  if (fn < 1) throw ConversionError("Fn below 1");
  const std::int64_t dt1 = std::int64_t{1} << ((fn - 1) % 8);
  const std::int64_t dt2 = (fn - 1) / 8;
  return std::string(AFN) + "00" + "0000" + IntToHex(dt1, 2) + IntToHex(dt2, 2);
}

std::string SendFrame_RW(const TGDW130_ProtDef& def) {
  std::string body = FrameItem_C_A(def.C, def.DistrictNum, def.DeviceID, def.HomeDeviceAddr) +
                     FrameItem_AFN_FN(def.AFN, def.Fn) + def.sData;
  body += checkSum_CS(body) + "16";
  return FrameItem_68_68(def.sData) + body;
}

std::int32_t CheckRecvFrame(const std::string& pFrameStr, std::string& SFrame) {
  const std::string text = DelBlank(pFrameStr);
  try {
    if (Copy(text, 1, 2) != "68" || Copy(text, 11, 2) != "68") return Logged(kFrameBadStart);
    const std::uint32_t l1 = HexField(Copy(text, 5, 2) + Copy(text, 3, 2));
    const std::uint32_t l2 = HexField(Copy(text, 9, 2) + Copy(text, 7, 2));
    if (l1 != l2) return Logged(kFrameLengthsDiffer);
    const std::int64_t user_chars = static_cast<std::int64_t>(l2 / 4) * 2;
    if (Copy(text, user_chars + 15, 2) != "16") return Logged(kFrameBadEnd);
    const std::string computed = checkSum_CS(Copy(text, 13, user_chars));
    const std::string received = Copy(text, user_chars + 13, 2);
    if (computed != received && HexField(received) != HexField(computed)) {
      return Logged(kFrameBadChecksum);
    }
    SFrame = Copy(text, 1, user_chars + 16);
    return Logged(kFrameComplete);
  } catch (const std::exception&) {
    return Logged(kFrameException);
  }
}

std::int32_t ParseFrameOper(const std::string& sParseRecvFrame, std::string& return_sData,
                            std::string& CardNo) {
  std::string frame;
  const std::int32_t checked = CheckRecvFrame(DelBlank(sParseRecvFrame), frame);
  if (checked != kFrameComplete) return checked;

  const std::string a1 = Copy(frame, 15, 4);
  const std::string a2 = Copy(frame, 19, 4);
  const std::string a3 = Copy(frame, 23, 2);
  const std::string terminal =
      (a2 == "FFFF" || a2 == "ffff") ? "FFFF"
                                     : PadLeft(std::to_string(HexField(DataStrToDown(a2))), 5, '0');
  const std::string host = PadLeft(std::to_string(HexField(a3) / 2), 3, '0');
  const std::uint32_t dt1 = HexField(Copy(frame, 33, 2));
  const std::uint32_t dt2 = HexField(Copy(frame, 35, 2));
  int highest_bit = 0;
  for (int bit = 7; bit > 0; --bit) {
    if (dt1 & (1u << bit)) {
      highest_bit = bit;
      break;
    }
  }
  const std::int64_t fn = highest_bit + 1 + 8 * static_cast<std::int64_t>(dt2);
  const std::string data = Copy(frame, 37, static_cast<std::int64_t>(frame.size()) - 40);

  CardNo = Copy(a1, 3, 2) + Copy(a1, 1, 2) + terminal + host;
  ActionLog(true, "FN :" + std::to_string(fn));
  return_sData = data;
  ActionLog(true, "DataItems :" + data);
  return kFrameComplete;
}

std::string RecvFrameCopyBytes(std::string_view srcFrame, std::int32_t sn, std::int32_t GetCount) {
  return Copy(DelBlank(srcFrame), 2 * static_cast<std::int64_t>(sn) - 1,
              2 * static_cast<std::int64_t>(GetCount));
}

}  // namespace wenlock
