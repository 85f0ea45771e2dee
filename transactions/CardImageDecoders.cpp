// Card image decoding: a recognised frame of each meter kind turned into a read record, and the
// record copied into the out arguments of Read_Card.
#include <cstring>
#include <functional>

#include "Morvane.h"
#include "TO_Kessel_Unit.h"
#include "Text.h"

namespace wenlock {

namespace {

constexpr std::string_view kDemandTime = "2005-01-01 12:12:12";
constexpr std::string_view kWriteAreaMode = "1";
// A GB account-opening frame is longer than a purchase frame of 27 bytes.
constexpr std::size_t kGBPurchaseFrameLength = 54;
constexpr std::size_t kMorvaneTextBytes = 32;

bool EndsWith(std::string_view text, std::string_view tail) {
  return text.size() >= tail.size() && text.substr(text.size() - tail.size()) == tail;
}

// The values a card carries, each made when its field is reached; a ConversionError stops the
// filling there.
struct TCardCarried {
  std::function<std::string()> cardNo;
  std::function<std::string()> writeNo;
  std::function<std::string()> leftPower;
  std::function<std::string()> totalBuy;
  std::function<std::string()> upZeroPower;
};

const std::function<std::string()>* CarriedValue(const TCardCarried& carried,
                                                 std::string_view field) {
  if (field == "cardNo") return &carried.cardNo;
  if (field == "writeNo") return &carried.writeNo;
  if (field == "leftPower") return &carried.leftPower;
  if (field == "totalBuy") return &carried.totalBuy;
  if (field == "upZeroPower") return &carried.upZeroPower;
  return nullptr;
}

// Fills the record in record order, so a value that does not convert leaves every later field
// empty.
TCardDecoding FillInRecordOrder(const TCardCarried& carried) {
  TCardDecoding decoding{{}, kCodeSuccess};
  try {
    for (const auto& field : ReadCardItemFields) {
      const auto* value = CarriedValue(carried, field.Name);
      decoding.items.*field.Member = value ? (*value)() : std::string(FixedReadCardItemText(field.Name));
    }
  } catch (const ConversionError&) {
    decoding.code = kCodeDataError;
  }
  return decoding;
}

std::function<std::string()> Text(std::string text) {
  return [text = std::move(text)] { return text; };
}

// A control-meter card carries one energy value; its totals read "0".
TCardCarried ControlMeterCarried(std::string cardNo, std::int32_t count, double energy) {
  return {Text(std::move(cardNo)), Text(std::to_string(count)), Text(RealText(energy)),
          Text("0"), Text("0")};
}

TCardDecoding Stopped(std::string_view code) { return {{}, code}; }

// A 32-byte text buffer that Morvane copies a text into.
class MorvaneText {
 public:
  MorvaneText() = default;
  MorvaneText(const MorvaneText&) = delete;
  MorvaneText& operator=(const MorvaneText&) = delete;
  char** out() { return &pointer_; }
  std::string text() const { return std::string(buffer_, strnlen(buffer_, sizeof buffer_)); }

 private:
  char buffer_[kMorvaneTextBytes] = {};
  char* pointer_ = buffer_;
};

struct TGBValues {
  std::int32_t result = 1;
  std::int32_t gdcs = 0;
  double energy = 0;
  MorvaneText terminaladdr;
};

void ReadGBWriteArea(const std::string& frame, TGBValues& values) {
  if (frame.size() > kGBPurchaseFrameLength) {
    std::int32_t ct = 0, pt = 0, OverDraftTime = 0, BiaoDian = 0, JiaRiLaZha = 0,
                 ZhuXiuLaZha = 0;
    double PowerAlarm = 0, MoneyAlarm = 0, OverDraftPower = 0, OverDraftMoney = 0,
           LimitPower = 0, LimitMoney = 0;
    MorvaneText NoSwitchST, NoSwitchEnd;
    values.result = zjbkhzjs(frame.c_str(), &ct, &pt, &OverDraftTime, &values.gdcs, &BiaoDian,
                             &JiaRiLaZha, &ZhuXiuLaZha, &values.energy, &PowerAlarm, &MoneyAlarm,
                             &OverDraftPower, &OverDraftMoney, &LimitPower, &LimitMoney,
                             values.terminaladdr.out(), NoSwitchST.out(), NoSwitchEnd.out());
  } else {
    values.result = zjbgdzjs(frame.c_str(), &values.gdcs, &values.energy,
                             values.terminaladdr.out());
  }
}

void ReadGBReturnArea(const std::string& frame, TGBValues& values) {
  double presydl = 0, pregdl = 0;
  std::int32_t tzsj = 0, pregdcs = 0, gdlx = 0, gdfs = 0;
  MorvaneText pregdsj, fxsj, MACCode;
  values.result = zjbfkgdswer(frame.c_str(), &values.energy, &presydl, &pregdl, &values.gdcs,
                              &tzsj, &pregdcs, &gdlx, &gdfs, values.terminaladdr.out(),
                              pregdsj.out(), fxsj.out(), MACCode.out());
}

}  // namespace

std::string_view FixedReadCardItemText(std::string_view field) {
  if (field == "port" || field == "password") return {};
  if (field == "factory") return "A";
  if (field == "factor" || field == "meterKind" || field == "meterConst") return "1";
  if (EndsWith(field, "NeedIndexTime")) return kDemandTime;
  return "0";
}

TCardDecoding Kessel_ReadCardOper_Data(const std::string& ReadData) {
  std::string data;
  std::string address;
  if (ParseFrameOper(ReadData, data, address) != kFrameComplete) return Stopped(kCodeDataError);
  TGDW130_DataItem_AFNE4_F1 item;
  GDW130_AFNE4_F1_DataItemParse(data, item);
  return FillInRecordOrder({
      Text(PadLeft(address, 12, '0')),
      [&] { return FormatToData(item.cardwriteNo, 10); },
      [&] { return FormatToData(item.leftPower, 11); },
      [&] { return FormatToData(item.totalBuy, 11); },
      [&] { return FormatToData(item.upZeroPower, 11); },
  });
}

TCardDecoding Kessel_ReadCardOper_Data_old(const std::string& ReadData,
                                           std::string_view CardItemFlag,
                                           const OldMeterServerFactory& servers) {
  std::int32_t cardNumber = 0;
  std::int32_t count = 0;
  double energy = 0;
  try {
    const std::unique_ptr<IOldMeterServer> server = servers();
    if (CardItemFlag == kWriteAreaMode) {
      std::int32_t PTCT = 0, ActConstant = 0, ReActConstant = 0, AlarmTime = 0, CardType = 0;
      std::string KeyStr;
      double ActIndex = 0, ReActIndex = 0, AlarmPower = 0, HOverdraftPower = 0,
             LOverdraftPower = 0, AlarmLoad = 0, CutLoad = 0;
      server->ReadSDWriteArea(ReadData, cardNumber, PTCT, KeyStr, energy, ActConstant,
                              ReActConstant, ActIndex, ReActIndex, AlarmPower, HOverdraftPower,
                              LOverdraftPower, AlarmLoad, CutLoad, AlarmTime, CardType, count);
    } else {
      double tzdl = 0, ygzydl = 0, wgzydl = 0, afldl = 0, bfldl = 0, cfldl = 0, dfldl = 0,
             zdfh = 0, zdfhsj = 0;
      std::int32_t dxcsa = 0, dxcsb = 0, dxcsc = 0, dxsja = 0, dxsjb = 0, dxsjc = 0;
      server->ReadSDReturnArea(ReadData, cardNumber, count, energy, tzdl, ygzydl, wgzydl, afldl,
                               bfldl, cfldl, dfldl, zdfh, zdfhsj, dxcsa, dxcsb, dxcsc, dxsja,
                               dxsjb, dxsjc);
    }
  } catch (const OldMeterServerError&) {
    return Stopped(kCodeDriverError);
  }
  return FillInRecordOrder(
      ControlMeterCarried(PadLeft(std::to_string(cardNumber), 6, '0'), count, energy));
}

TCardDecoding Kessel_ReadCardOper_Data_GB(const std::string& ReadData,
                                          std::string_view CardItemFlag) {
  TGBValues values;
  if (CardItemFlag == kWriteAreaMode) {
    ReadGBWriteArea(ReadData, values);
  } else {
    ReadGBReturnArea(ReadData, values);
  }
  // A rejected frame leaves the outputs unset: nothing of it can be reported.
  if (values.result != 0) return Stopped(kCodeDataError);
  return FillInRecordOrder(
      ControlMeterCarried(PadLeft(values.terminaladdr.text(), 8, '0'), values.gdcs, values.energy));
}

void Read_OutData_old(const TRead_Card_Items& items,
                      std::array<std::string, kReadCardOutArguments>& outArguments) {
  // The out arguments are the record's fields after port.
  for (std::size_t i = 0; i < outArguments.size(); ++i) {
    const auto& field = ReadCardItemFields[i + 1];
    outArguments[i] = field.Name == "factory" ? std::string("A") : items.*field.Member;
  }
}

}  // namespace wenlock
