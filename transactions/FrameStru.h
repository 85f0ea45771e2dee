// Card data unit: the result-code catalogue and the two records that carry a card transaction
// between the card service object and the transactions.
#pragma once

#include <array>
#include <string>
#include <string_view>

namespace wenlock {

// ===== Result codes ==============================================================================

// One catalogue entry: a three-digit code and its message (GBK). Transactions report the code only.
struct TErrorEntry {
  std::string_view Code;
  std::string_view Message;
};

// Four families of results, each in ascending code order. Transactions pick an entry by table and
// index; the named codes below are the entries they use.

// General and device results.
inline constexpr std::array<TErrorEntry, 9> ErrorID_1 = {{
    // 成功
    {"000", "\xB3\xC9\xB9\xA6"},
    // 未知错误
    {"001", "\xCE\xB4\xD6\xAA\xB4\xED\xCE\xF3"},
    // 读写内存错误
    {"002", "\xB6\xC1\xD0\xB4\xC4\xDA\xB4\xE6\xB4\xED\xCE\xF3"},
    // 底层卡表驱动错误
    {"003", "\xB5\xD7\xB2\xE3\xBF\xA8\xB1\xED\xC7\xFD\xB6\xAF\xB4\xED\xCE\xF3"},
    // 设备故障
    {"004", "\xC9\xE8\xB1\xB8\xB9\xCA\xD5\xCF"},
    // 超时错误
    {"005", "\xB3\xAC\xCA\xB1\xB4\xED\xCE\xF3"},
    // 不支持的操作
    {"006", "\xB2\xBB\xD6\xA7\xB3\xD6\xB5\xC4\xB2\xD9\xD7\xF7"},
    // 卡损坏错误
    {"007", "\xBF\xA8\xCB\xF0\xBB\xB5\xB4\xED\xCE\xF3"},
    // 厂家编号错误
    {"008", "\xB3\xA7\xBC\xD2\xB1\xE0\xBA\xC5\xB4\xED\xCE\xF3"},
}};

// Serial-port (reader connection) results.
inline constexpr std::array<TErrorEntry, 4> ErrorID_2 = {{
    // 串口错误
    {"011", "\xB4\xAE\xBF\xDA\xB4\xED\xCE\xF3"},
    // 串口被占用
    {"012", "\xB4\xAE\xBF\xDA\xB1\xBB\xD5\xBC\xD3\xC3"},
    // 打开串口错误
    {"013", "\xB4\xF2\xBF\xAA\xB4\xAE\xBF\xDA\xB4\xED\xCE\xF3"},
    // 关闭串口错误
    {"014", "\xB9\xD8\xB1\xD5\xB4\xAE\xBF\xDA\xB4\xED\xCE\xF3"},
}};

// Card detection and reading results.
inline constexpr std::array<TErrorEntry, 19> ErrorID_3 = {{
    // 测卡错误
    {"021", "\xB2\xE2\xBF\xA8\xB4\xED\xCE\xF3"},
    // 无卡错误
    {"022", "\xCE\xDE\xBF\xA8\xB4\xED\xCE\xF3"},
    // 卡型错误
    {"023", "\xBF\xA8\xD0\xCD\xB4\xED\xCE\xF3"},
    // 数据错误
    {"024", "\xCA\xFD\xBE\xDD\xB4\xED\xCE\xF3"},
    // 长度错误
    {"025", "\xB3\xA4\xB6\xC8\xB4\xED\xCE\xF3"},
    // 读错误
    {"026", "\xB6\xC1\xB4\xED\xCE\xF3"},
    // 读取文件损坏错误
    {"027", "\xB6\xC1\xC8\xA1\xCE\xC4\xBC\xFE\xCB\xF0\xBB\xB5\xB4\xED\xCE\xF3"},
    // 读取文件不存在错误
    {"028", "\xB6\xC1\xC8\xA1\xCE\xC4\xBC\xFE\xB2\xBB\xB4\xE6\xD4\xDA\xB4\xED\xCE\xF3"},
    // 读取文件为空错误
    {"029", "\xB6\xC1\xC8\xA1\xCE\xC4\xBC\xFE\xCE\xAA\xBF\xD5\xB4\xED\xCE\xF3"},
    // 表存储器损坏错误
    {"030", "\xB1\xED\xB4\xE6\xB4\xA2\xC6\xF7\xCB\xF0\xBB\xB5\xB4\xED\xCE\xF3"},
    // 表继电器损坏错误
    {"031", "\xB1\xED\xBC\xCC\xB5\xE7\xC6\xF7\xCB\xF0\xBB\xB5\xB4\xED\xCE\xF3"},
    // 表记度器损坏
    {"032", "\xB1\xED\xBC\xC7\xB6\xC8\xC6\xF7\xCB\xF0\xBB\xB5"},
    // 两种以上的卡同时插入
    {"033", "\xC1\xBD\xD6\xD6\xD2\xD4\xC9\xCF\xB5\xC4\xBF\xA8\xCD\xAC\xCA\xB1\xB2\xE5\xC8\xEB"},
    // 卡识别错误
    {"034", "\xBF\xA8\xCA\xB6\xB1\xF0\xB4\xED\xCE\xF3"},
    // 读卡通讯错误
    {"035", "\xB6\xC1\xBF\xA8\xCD\xA8\xD1\xB6\xB4\xED\xCE\xF3"},
    // 写卡机错误应答
    {"036", "\xD0\xB4\xBF\xA8\xBB\xFA\xB4\xED\xCE\xF3\xD3\xA6\xB4\xF0"},
    // 读用户号卡区错误
    {"037", "\xB6\xC1\xD3\xC3\xBB\xA7\xBA\xC5\xBF\xA8\xC7\xF8\xB4\xED\xCE\xF3"},
    // 当前卡区为空
    {"038", "\xB5\xB1\xC7\xB0\xBF\xA8\xC7\xF8\xCE\xAA\xBF\xD5"},
    // 返写区有补卡标识
    {"039", "\xB7\xB5\xD0\xB4\xC7\xF8\xD3\xD0\xB2\xB9\xBF\xA8\xB1\xEA\xCA\xB6"},
}};

// Writing and parameter results.
inline constexpr std::array<TErrorEntry, 16> ErrorID_4 = {{
    // 卡号不一致
    {"041", "\xBF\xA8\xBA\xC5\xB2\xBB\xD2\xBB\xD6\xC2"},
    // 不是物理新卡（专适用于用户开户第一次售电）, with full-width parentheses
    {"042", "\xB2\xBB\xCA\xC7\xCE\xEF\xC0\xED\xD0\xC2\xBF\xA8\xA3\xA8\xD7\xA8\xCA\xCA\xD3\xC3"
            "\xD3\xDA\xD3\xC3\xBB\xA7\xBF\xAA\xBB\xA7\xB5\xDA\xD2\xBB\xB4\xCE\xCA\xDB"
            "\xB5\xE7\xA3\xA9"},
    // 写文件不存在
    {"043", "\xD0\xB4\xCE\xC4\xBC\xFE\xB2\xBB\xB4\xE6\xD4\xDA"},
    // 写数据失败
    {"044", "\xD0\xB4\xCA\xFD\xBE\xDD\xCA\xA7\xB0\xDC"},
    // 校验错误
    {"045", "\xD0\xA3\xD1\xE9\xB4\xED\xCE\xF3"},
    // 非法拔卡
    {"046", "\xB7\xC7\xB7\xA8\xB0\xCE\xBF\xA8"},
    // 传入参数错误
    {"051", "\xB4\xAB\xC8\xEB\xB2\xCE\xCA\xFD\xB4\xED\xCE\xF3"},
    // 传出参数错误
    {"052", "\xB4\xAB\xB3\xF6\xB2\xCE\xCA\xFD\xB4\xED\xCE\xF3"},
    // 传入参数3错误
    {"053", "\xB4\xAB\xC8\xEB\xB2\xCE\xCA\xFD" "3\xB4\xED\xCE\xF3"},
    // 传入参数4错误
    {"054", "\xB4\xAB\xC8\xEB\xB2\xCE\xCA\xFD" "4\xB4\xED\xCE\xF3"},
    // 传入参数5错误
    {"055", "\xB4\xAB\xC8\xEB\xB2\xCE\xCA\xFD" "5\xB4\xED\xCE\xF3"},
    // 传入参数6错误
    {"056", "\xB4\xAB\xC8\xEB\xB2\xCE\xCA\xFD" "6\xB4\xED\xCE\xF3"},
    // 传入参数7错误
    {"057", "\xB4\xAB\xC8\xEB\xB2\xCE\xCA\xFD" "7\xB4\xED\xCE\xF3"},
    // 传入参数8错误
    {"058", "\xB4\xAB\xC8\xEB\xB2\xCE\xCA\xFD" "8\xB4\xED\xCE\xF3"},
    // 传入参数9错误
    {"059", "\xB4\xAB\xC8\xEB\xB2\xCE\xCA\xFD" "9\xB4\xED\xCE\xF3"},
    // 写用户号卡区错误
    {"060", "\xD0\xB4\xD3\xC3\xBB\xA7\xBA\xC5\xBF\xA8\xC7\xF8\xB4\xED\xCE\xF3"},
}};

inline constexpr std::string_view kCodeSuccess = ErrorID_1[0].Code;               // "000"
inline constexpr std::string_view kCodeUnknownError = ErrorID_1[1].Code;          // "001"
inline constexpr std::string_view kCodeDriverError = ErrorID_1[3].Code;           // "003"
inline constexpr std::string_view kCodeOpenPortFailed = ErrorID_2[2].Code;        // "013"
inline constexpr std::string_view kCodeDataError = ErrorID_3[3].Code;             // "024"
inline constexpr std::string_view kCodeCardNotIdentified = ErrorID_3[13].Code;    // "034"
inline constexpr std::string_view kCodeCardAreaEmpty = ErrorID_3[17].Code;        // "038"
inline constexpr std::string_view kCodeCardNoMismatch = ErrorID_4[0].Code;        // "041"
inline constexpr std::string_view kCodeWriteDataFailed = ErrorID_4[3].Code;       // "044"
inline constexpr std::string_view kCodeInputParameterError = ErrorID_4[6].Code;   // "051"
inline constexpr std::string_view kCodeWriteUserAreaFailed = ErrorID_4[15].Code;  // "060"

// A write that succeeds keeps its starting value, which is two characters and not in the catalogue.
inline constexpr std::string_view kCodeWriteSuccess = "00";

// The message of a catalogued code, or the empty text for any other text. For the card tool and the
// README; the COM method ReadErrorInfo has its own answer.
std::string_view ResultCodeMessage(std::string_view code);

// ===== Card item records =========================================================================
//
// Each record is declared from one ordered list of its field names, which also yields its field
// table: the automation object copies a record to and from its positional arguments through the
// table, so the order of the list is the order of the arguments.

// A field of a record: its name and the member that holds it.
template <typename Record>
struct TCardItemField {
  std::string_view Name;
  std::string Record::*Member;
};

#define WENLOCK_READ_CARD_ITEMS(FIELD)                                                            \
  FIELD(port) FIELD(factory) FIELD(password) FIELD(cardNo) FIELD(factor) FIELD(writeNo)           \
  FIELD(meterKind) FIELD(meterConst) FIELD(cardState) FIELD(leftPower) FIELD(leftMoney)           \
  FIELD(totalBuy) FIELD(totalMoney) FIELD(totalUsed) FIELD(totalUsedMoney)                        \
  FIELD(jPrice) FIELD(fPrice) FIELD(pPrice) FIELD(gPrice) FIELD(oweMoney) FIELD(upZeroPower)      \
  FIELD(yJPower) FIELD(yPPower) FIELD(yNPower) FIELD(yVPower)                                     \
  FIELD(wJPower) FIELD(wPPower) FIELD(wNPower) FIELD(wVPower)                                     \
  FIELD(lastYJPower) FIELD(lastYPPower) FIELD(lastYNPower) FIELD(lastYVPower)                     \
  FIELD(lastWJPower) FIELD(lastWPPower) FIELD(lastWNPower) FIELD(lastWVPower)                     \
  FIELD(yNeedIndex) FIELD(yJNeedIndex) FIELD(yPNeedIndex) FIELD(yNNeedIndex) FIELD(yVNeedIndex)   \
  FIELD(yNeedIndexTime) FIELD(yJNeedIndexTime) FIELD(yPNeedIndexTime) FIELD(yNNeedIndexTime)      \
  FIELD(yVNeedIndexTime) FIELD(wNeedIndex) FIELD(wNeedIndexTime)                                  \
  FIELD(lastYNeedIndex) FIELD(lastYJNeedIndex) FIELD(lastYPNeedIndex) FIELD(lastYNNeedIndex)      \
  FIELD(lastYVNeedIndex) FIELD(lastYNeedIndexTime) FIELD(lastYJNeedIndexTime)                     \
  FIELD(lastYPNeedIndexTime) FIELD(lastYNNeedIndexTime) FIELD(lastYVNeedIndexTime)                \
  FIELD(lastWNeedIndex) FIELD(lastWNeedIndexTime) FIELD(code1) FIELD(code2) FIELD(code3)          \
  FIELD(code4)

// Field 31 is notStopPowerBeginTim1 (its automation argument is notStopPowerBeginTime1).
#define WENLOCK_WRITE_CARD_ITEMS(FIELD)                                                           \
  FIELD(Port) FIELD(factory) FIELD(areaId) FIELD(operation) FIELD(writeNo) FIELD(cardNo)          \
  FIELD(password) FIELD(userNo) FIELD(icKind) FIELD(buyPower) FIELD(buyMoney) FIELD(price)        \
  FIELD(buyTimes) FIELD(maxBurden) FIELD(factor) FIELD(jPrice) FIELD(fPrice) FIELD(pPrice)        \
  FIELD(gPrice) FIELD(warnPower) FIELD(warnMoney) FIELD(highPower) FIELD(lowPower)                \
  FIELD(warnTime) FIELD(supCardNum) FIELD(yConst) FIELD(wConst) FIELD(allowOverMoney)             \
  FIELD(upCompTime) FIELD(allowStopPower) FIELD(notStopPowerBeginTim1)                            \
  FIELD(notStopPowerEndTime1) FIELD(notStopPowerBeginTime2) FIELD(notStopPowerEndTime2)           \
  FIELD(notStopPowerBeginTime3) FIELD(notStopPowerEndTime3) FIELD(notStopPowerBeginTime4)         \
  FIELD(notStopPowerEndTime4) FIELD(notStopPowerBeginTime5) FIELD(notStopPowerEndTime5)           \
  FIELD(notStopPowerBeginTime6) FIELD(notStopPowerEndTime6)                                       \
  FIELD(dayNotStopPowerBeginTime1) FIELD(dayNotStopPowerEndTime1)                                 \
  FIELD(dayNotStopPowerBeginTime2) FIELD(dayNotStopPowerEndTime2) FIELD(warnControl)              \
  FIELD(timeSeg0) FIELD(timeSeg1) FIELD(timeSeg2) FIELD(timeSeg3) FIELD(timeSeg4)                 \
  FIELD(timeSeg5) FIELD(timeSeg6) FIELD(timeSeg7) FIELD(timeSeg8) FIELD(timeSeg9)                 \
  FIELD(needIndexPeriod) FIELD(smoothDiffTime) FIELD(FollDisy) FIELD(autoCBDay)                   \
  FIELD(yBeginNum) FIELD(wBeginNum) FIELD(agreeOverPower) FIELD(needRecuTime)                     \
  FIELD(warnBurdenDelay) FIELD(buytime) FIELD(insertCardFlag) FIELD(code1) FIELD(code2)           \
  FIELD(code3) FIELD(code4)

#define WENLOCK_CARD_ITEM_MEMBER(name) std::string name;

// What a read found on the card, as decimal or hexadecimal texts; every field empty when made.
struct TRead_Card_Items {
  WENLOCK_READ_CARD_ITEMS(WENLOCK_CARD_ITEM_MEMBER)
};

// The request of a write; every field empty when made.
struct TWrite_Card_Items {
  WENLOCK_WRITE_CARD_ITEMS(WENLOCK_CARD_ITEM_MEMBER)
};

#define WENLOCK_READ_CARD_ITEM_FIELD(name) \
  TCardItemField<TRead_Card_Items>{#name, &TRead_Card_Items::name},
#define WENLOCK_WRITE_CARD_ITEM_FIELD(name) \
  TCardItemField<TWrite_Card_Items>{#name, &TWrite_Card_Items::name},

// The fields of each record in record order.
inline constexpr std::array ReadCardItemFields{
    WENLOCK_READ_CARD_ITEMS(WENLOCK_READ_CARD_ITEM_FIELD)};
inline constexpr std::array WriteCardItemFields{
    WENLOCK_WRITE_CARD_ITEMS(WENLOCK_WRITE_CARD_ITEM_FIELD)};

#undef WENLOCK_WRITE_CARD_ITEM_FIELD
#undef WENLOCK_READ_CARD_ITEM_FIELD
#undef WENLOCK_CARD_ITEM_MEMBER
#undef WENLOCK_WRITE_CARD_ITEMS
#undef WENLOCK_READ_CARD_ITEMS

static_assert(ReadCardItemFields.size() == 65 &&
              sizeof(TRead_Card_Items) == 65 * sizeof(std::string));
static_assert(WriteCardItemFields.size() == 72 &&
              sizeof(TWrite_Card_Items) == 72 * sizeof(std::string));

}  // namespace wenlock
