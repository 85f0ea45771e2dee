#include "Wenlock_inter.h"

#include <array>
#include <string>
#include <string_view>
#include <utility>

#include "ClassFactory.h"
#include "CodePage.h"
#include "ComError.h"
#include "TO_Kessel_Unit.h"

namespace wenlock {
namespace {

using com::ComError;

constexpr wchar_t kErrorSource[] = L"Wenlock.WenlockCOM";

using ReadCardOutArguments = std::array<VARIANT*, kReadCardOutArguments>;
using WriteCardInArguments = std::array<const VARIANT*, WriteCardItemFields.size()>;

// Position of a field among the Read_Card out arguments, which start after port.
constexpr std::size_t ReadOutPosition(std::string_view field) {
  std::size_t position = 1;
  while (ReadCardItemFields[position].Name != field) ++position;
  return position - 1;
}
constexpr std::size_t kCode3Out = ReadOutPosition("code3");

// Position of a field among the Write_Card arguments.
constexpr std::size_t WritePosition(std::string_view field) {
  std::size_t position = 0;
  while (WriteCardItemFields[position].Name != field) ++position;
  return position;
}

// The Write_Card arguments a write reads, in the order the write item assembly takes them; the
// others are accepted and never looked at.
struct TWriteInputArgument {
  std::size_t position;
  std::string TWriteCardOper_Input::*member;
};
constexpr std::array<TWriteInputArgument, 21> kWriteInputArguments{{
    {WritePosition("Port"), &TWriteCardOper_Input::Port2},
    {WritePosition("factory"), &TWriteCardOper_Input::factory2},
    {WritePosition("writeNo"), &TWriteCardOper_Input::writeNo2},
    {WritePosition("cardNo"), &TWriteCardOper_Input::cardNo2},
    {WritePosition("userNo"), &TWriteCardOper_Input::userNo2},
    {WritePosition("icKind"), &TWriteCardOper_Input::icKind2},
    {WritePosition("buyPower"), &TWriteCardOper_Input::buyPower2},
    {WritePosition("buyTimes"), &TWriteCardOper_Input::buyTimes2},
    {WritePosition("factor"), &TWriteCardOper_Input::factor2},
    {WritePosition("supCardNum"), &TWriteCardOper_Input::supCardNum2},
    {WritePosition("code1"), &TWriteCardOper_Input::code1_2},
    {WritePosition("code2"), &TWriteCardOper_Input::code2_2},
    {WritePosition("maxBurden"), &TWriteCardOper_Input::maxBurden2},
    {WritePosition("yConst"), &TWriteCardOper_Input::yConst2},
    {WritePosition("wConst"), &TWriteCardOper_Input::wConst2},
    {WritePosition("operation"), &TWriteCardOper_Input::operation2},
    {WritePosition("warnPower"), &TWriteCardOper_Input::warnPower2},
    {WritePosition("code3"), &TWriteCardOper_Input::code3_2},
    {WritePosition("warnTime"), &TWriteCardOper_Input::warnTime2},
    {WritePosition("yBeginNum"), &TWriteCardOper_Input::yBeginNum2},
    {WritePosition("wBeginNum"), &TWriteCardOper_Input::wBeginNum2},
}};

template <typename Body>
HRESULT Guarded(Body&& body) noexcept {
  return com::GuardedMethod(IID_IWenlockCOM, kErrorSource, std::forward<Body>(body));
}

template <typename Pointers>
void RequireAll(const Pointers& pointers) {
  for (const auto* pointer : pointers) {
    if (!pointer) throw ComError(E_POINTER, "An argument is missing");
  }
}

// The text of an argument; one without a text fails the method, naming the argument.
std::string ArgumentText(std::string_view method, std::size_t position, std::string_view name,
                         const VARIANT& value) {
  try {
    return com::VariantToGbk(value);
  } catch (const ComError& e) {
    throw ComError(e.result(), "Argument " + std::to_string(position + 1) + " (" +
                                   std::string(name) + ") of " + std::string(method) + ": " +
                                   e.what());
  }
}

HRESULT ReadCard(const VARIANT& port, const ReadCardOutArguments& outs, VARIANT* errCode) {
  RequireAll(outs);
  RequireAll(std::array{errCode});
  // Out arguments may arrive uninitialised: they are set, never released.
  for (std::size_t i = 0; i < outs.size(); ++i) {
    if (i != kCode3Out) VariantInit(outs[i]);
  }
  VariantInit(errCode);

  TRead_Card_Items items;
  items.port = ArgumentText("Read_Card", 0, "port", port);
  items.code3 = ArgumentText("Read_Card", kCode3Out + 1, "code3", *outs[kCode3Out]);
  // The result code belongs to this call alone: calls of other apartments cannot overwrite it.
  const std::string code = Read_Card(items, DefaultCardTransactionContext());

  std::array<std::string, kReadCardOutArguments> texts;
  Read_OutData_old(items, texts);
  for (std::size_t i = 0; i < outs.size(); ++i) {
    if (i == kCode3Out) VariantClear(outs[i]);  // in and out: the read mode passed in is replaced
    com::GbkToVariant(texts[i], outs[i]);
  }
  com::GbkToVariant(code, errCode);
  return S_OK;
}

HRESULT WriteCard(const WriteCardInArguments& ins, VARIANT* errCode) {
  RequireAll(std::array{errCode});
  VariantInit(errCode);
  TWriteCardOper_Input input;
  for (const auto& used : kWriteInputArguments) {
    input.*used.member = ArgumentText("Write_Card", used.position,
                                      WriteCardItemFields[used.position].Name, *ins[used.position]);
  }
  const std::string code =
      Write_Card(Kessel_WriteCardOper_Data(input), DefaultCardTransactionContext());
  com::GbkToVariant(code, errCode);
  return S_OK;
}

}  // namespace

HRESULT STDMETHODCALLTYPE TWenlockCOM::ReadErrorInfo(VARIANT ErrorID, VARIANT* ErrorInfo) {
  return Guarded([&] {
    RequireAll(std::array{ErrorInfo});
    VariantInit(ErrorInfo);
    com::GbkToVariant(ArgumentText("ReadErrorInfo", 0, "ErrorID", ErrorID), ErrorInfo);
    return S_OK;
  });
}

HRESULT STDMETHODCALLTYPE TWenlockCOM::Read_Card(
    VARIANT port, VARIANT* factory, VARIANT* password, VARIANT* cardNo, VARIANT* factor,
    VARIANT* writeNo, VARIANT* meterKind, VARIANT* meterConst, VARIANT* cardState,
    VARIANT* leftPower, VARIANT* leftMoney, VARIANT* totalBuy, VARIANT* totalMoney,
    VARIANT* totalUsed, VARIANT* totalUsedMoney, VARIANT* jPrice, VARIANT* fPrice, VARIANT* pPrice,
    VARIANT* gPrice, VARIANT* oweMoney, VARIANT* upZeroPower, VARIANT* yJPower, VARIANT* yPPower,
    VARIANT* yNPower, VARIANT* yVPower, VARIANT* wJPower, VARIANT* wPPower, VARIANT* wNPower,
    VARIANT* wVPower, VARIANT* lastYJPower, VARIANT* lastYPPower, VARIANT* lastYNPower,
    VARIANT* lastYVPower, VARIANT* lastWJPower, VARIANT* lastWPPower, VARIANT* lastWNPower,
    VARIANT* lastWVPower, VARIANT* yNeedIndex, VARIANT* yJNeedIndex, VARIANT* yPNeedIndex,
    VARIANT* yNNeedIndex, VARIANT* yVNeedIndex, VARIANT* yNeedIndexTime, VARIANT* yJNeedIndexTime,
    VARIANT* yPNeedIndexTime, VARIANT* yNNeedIndexTime, VARIANT* yVNeedIndexTime,
    VARIANT* wNeedIndex, VARIANT* wNeedIndexTime, VARIANT* lastYNeedIndex,
    VARIANT* lastYJNeedIndex, VARIANT* lastYPNeedIndex, VARIANT* lastYNNeedIndex,
    VARIANT* lastYVNeedIndex, VARIANT* lastYNeedIndexTime, VARIANT* lastYJNeedIndexTime,
    VARIANT* lastYPNeedIndexTime, VARIANT* lastYNNeedIndexTime, VARIANT* lastYVNeedIndexTime,
    VARIANT* lastWNeedIndex, VARIANT* lastWNeedIndexTime, VARIANT* code1, VARIANT* code2,
    VARIANT* code3, VARIANT* code4, VARIANT* errCode) {
  return Guarded([&] {
    return ReadCard(port,
                    {
                      factory, password, cardNo, factor, writeNo, meterKind, meterConst, cardState,
                      leftPower, leftMoney, totalBuy, totalMoney, totalUsed, totalUsedMoney,
                      jPrice, fPrice, pPrice, gPrice, oweMoney, upZeroPower, yJPower, yPPower,
                      yNPower, yVPower, wJPower, wPPower, wNPower, wVPower, lastYJPower,
                      lastYPPower, lastYNPower, lastYVPower, lastWJPower, lastWPPower, lastWNPower,
                      lastWVPower, yNeedIndex, yJNeedIndex, yPNeedIndex, yNNeedIndex, yVNeedIndex,
                      yNeedIndexTime, yJNeedIndexTime, yPNeedIndexTime, yNNeedIndexTime,
                      yVNeedIndexTime, wNeedIndex, wNeedIndexTime, lastYNeedIndex, lastYJNeedIndex,
                      lastYPNeedIndex, lastYNNeedIndex, lastYVNeedIndex, lastYNeedIndexTime,
                      lastYJNeedIndexTime, lastYPNeedIndexTime, lastYNNeedIndexTime,
                      lastYVNeedIndexTime, lastWNeedIndex, lastWNeedIndexTime, code1, code2, code3,
                      code4},
                    errCode);
  });
}

HRESULT STDMETHODCALLTYPE TWenlockCOM::Write_Card(
    VARIANT port, VARIANT factory, VARIANT areaId, VARIANT operation, VARIANT writeNo,
    VARIANT cardNo, VARIANT password, VARIANT userNo, VARIANT icKind, VARIANT buyPower,
    VARIANT buyMoney, VARIANT price, VARIANT buyTimes, VARIANT maxBurden, VARIANT factor,
    VARIANT jPrice, VARIANT fPrice, VARIANT pPrice, VARIANT gPrice, VARIANT warnPower,
    VARIANT warnMoney, VARIANT highPower, VARIANT lowPower, VARIANT warnTime, VARIANT supCardNum,
    VARIANT yConst, VARIANT wConst, VARIANT allowOverMoney, VARIANT upCompTime,
    VARIANT allowStopPower, VARIANT notStopPowerBeginTime1, VARIANT notStopPowerEndTime1,
    VARIANT notStopPowerBeginTime2, VARIANT notStopPowerEndTime2, VARIANT notStopPowerBeginTime3,
    VARIANT notStopPowerEndTime3, VARIANT notStopPowerBeginTime4, VARIANT notStopPowerEndTime4,
    VARIANT notStopPowerBeginTime5, VARIANT notStopPowerEndTime5, VARIANT notStopPowerBeginTime6,
    VARIANT notStopPowerEndTime6, VARIANT dayNotStopPowerBeginTime1,
    VARIANT dayNotStopPowerEndTime1, VARIANT dayNotStopPowerBeginTime2,
    VARIANT dayNotStopPowerEndTime2, VARIANT warnControl, VARIANT timeSeg0, VARIANT timeSeg1,
    VARIANT timeSeg2, VARIANT timeSeg3, VARIANT timeSeg4, VARIANT timeSeg5, VARIANT timeSeg6,
    VARIANT timeSeg7, VARIANT timeSeg8, VARIANT timeSeg9, VARIANT needIndexPeriod,
    VARIANT smoothDiffTime, VARIANT FollDisy, VARIANT autoCBDay, VARIANT yBeginNum,
    VARIANT wBeginNum, VARIANT agreeOverPower, VARIANT needRecuTime, VARIANT warnBurdenDelay,
    VARIANT buytime, VARIANT insertCardFlag, VARIANT code1, VARIANT code2, VARIANT code3,
    VARIANT code4, VARIANT* errCode) {
  return Guarded([&] {
    return WriteCard({
                      &port, &factory, &areaId, &operation, &writeNo, &cardNo, &password, &userNo,
                      &icKind, &buyPower, &buyMoney, &price, &buyTimes, &maxBurden, &factor,
                      &jPrice, &fPrice, &pPrice, &gPrice, &warnPower, &warnMoney, &highPower,
                      &lowPower, &warnTime, &supCardNum, &yConst, &wConst, &allowOverMoney,
                      &upCompTime, &allowStopPower, &notStopPowerBeginTime1, &notStopPowerEndTime1,
                      &notStopPowerBeginTime2, &notStopPowerEndTime2, &notStopPowerBeginTime3,
                      &notStopPowerEndTime3, &notStopPowerBeginTime4, &notStopPowerEndTime4,
                      &notStopPowerBeginTime5, &notStopPowerEndTime5, &notStopPowerBeginTime6,
                      &notStopPowerEndTime6, &dayNotStopPowerBeginTime1, &dayNotStopPowerEndTime1,
                      &dayNotStopPowerBeginTime2, &dayNotStopPowerEndTime2, &warnControl,
                      &timeSeg0, &timeSeg1, &timeSeg2, &timeSeg3, &timeSeg4, &timeSeg5, &timeSeg6,
                      &timeSeg7, &timeSeg8, &timeSeg9, &needIndexPeriod, &smoothDiffTime,
                      &FollDisy, &autoCBDay, &yBeginNum, &wBeginNum, &agreeOverPower,
                      &needRecuTime, &warnBurdenDelay, &buytime, &insertCardFlag, &code1, &code2,
                      &code3, &code4},
                     errCode);
  });
}

HRESULT CreateWenlockCOM(REFIID iid, void** out) { return com::CreateObject<TWenlockCOM>(iid, out); }

}  // namespace wenlock
