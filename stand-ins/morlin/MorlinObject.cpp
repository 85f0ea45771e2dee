#include "MorlinObject.h"

#include "ClassFactory.h"
#include "CodePage.h"
#include "ComError.h"
#include "DispatchObject.h"
#include "MorlinFrames.h"
#include "Morlin_h.h"

namespace wenlock::morlin {
namespace {

using com::ComError;

constexpr wchar_t kErrorSource[] = L"Brackwell.Morlin";

template <typename... Pointers>
void RequireAll(Pointers*... pointers) {
  if (!(... && pointers)) throw ComError(E_POINTER, "An output argument is missing");
}

void StoreFrame(const std::string& frame, VARIANT* out) {
  RequireAll(out);
  VariantInit(out);
  com::GbkToVariant(frame, out);
}

std::string FrameText(const VARIANT& read_data) { return com::VariantToGbk(read_data); }

class MorlinObject final : public com::DispatchObject<IMorlin, IID_IMorlin> {
 public:
  HRESULT STDMETHODCALLTYPE CreateSdInitCard(LONG CardNo, LONG Factor, double BuyPower,
                                             LONG ActConstant, LONG ReActConstant, LONG ActIndex,
                                             LONG ReActIndex, double AlarmPower,
                                             double HOverdraftPower, double LOverdraftPower,
                                             double AlarmLoad, double CutLoad, LONG AlarmTime,
                                             VARIANT* Frame) override {
    return OpenAccount(CardMedium::Eeprom, CardNo, Factor, BuyPower, ActConstant, ReActConstant,
                       ActIndex, ReActIndex, AlarmPower, HOverdraftPower, LOverdraftPower,
                       AlarmLoad, CutLoad, AlarmTime, Frame);
  }
  HRESULT STDMETHODCALLTYPE CreateSdInitCardMifare(LONG CardNo, LONG Factor, double BuyPower,
                                                   LONG ActConstant, LONG ReActConstant,
                                                   LONG ActIndex, LONG ReActIndex,
                                                   double AlarmPower, double HOverdraftPower,
                                                   double LOverdraftPower, double AlarmLoad,
                                                   double CutLoad, LONG AlarmTime,
                                                   VARIANT* Frame) override {
    return OpenAccount(CardMedium::M1, CardNo, Factor, BuyPower, ActConstant, ReActConstant,
                       ActIndex, ReActIndex, AlarmPower, HOverdraftPower, LOverdraftPower,
                       AlarmLoad, CutLoad, AlarmTime, Frame);
  }
  HRESULT STDMETHODCALLTYPE CreateSdPurchaseCard(LONG CardNo, LONG Factor, double BuyPower,
                                                 double AlarmPower, double HOverdraftPower,
                                                 double LOverdraftPower, double AlarmLoad,
                                                 double CutLoad, LONG AlarmTime,
                                                 LONG PurchaseTimes, VARIANT* Frame) override {
    return Purchase(CardMedium::Eeprom, CardNo, Factor, BuyPower, AlarmPower, HOverdraftPower,
                    LOverdraftPower, AlarmLoad, CutLoad, AlarmTime, PurchaseTimes, Frame);
  }
  HRESULT STDMETHODCALLTYPE CreateSdPurchaseCardMifare(LONG CardNo, LONG Factor, double BuyPower,
                                                       double AlarmPower, double HOverdraftPower,
                                                       double LOverdraftPower, double AlarmLoad,
                                                       double CutLoad, LONG AlarmTime,
                                                       LONG PurchaseTimes,
                                                       VARIANT* Frame) override {
    return Purchase(CardMedium::M1, CardNo, Factor, BuyPower, AlarmPower, HOverdraftPower,
                    LOverdraftPower, AlarmLoad, CutLoad, AlarmTime, PurchaseTimes, Frame);
  }

  HRESULT STDMETHODCALLTYPE ReadSDWriteArea(VARIANT ReadData, LONG* CardId, LONG* PTCT,
                                            BSTR* KeyStr, double* Power, LONG* ActConstant,
                                            LONG* ReActConstant, double* ActIndex,
                                            double* ReActIndex, double* AlarmPower,
                                            double* HOverdraftPower, double* LOverdraftPower,
                                            double* AlarmLoad, double* CutLoad, LONG* AlarmTime,
                                            LONG* CardType, LONG* PurchaseTimes) override {
    return Guarded([&] {
      RequireAll(CardId, PTCT, KeyStr, Power, ActConstant, ReActConstant, ActIndex, ReActIndex,
                 AlarmPower, HOverdraftPower, LOverdraftPower, AlarmLoad, CutLoad, AlarmTime,
                 CardType, PurchaseTimes);
      const std::optional<WriteAreaValues> values = ReadWriteAreaFrame(FrameText(ReadData));
      if (!values) throw ComError(E_INVALIDARG, "ReadData holds no write-area frame");
      const BSTR no_key = com::GbkToBstr("");
      SysFreeString(*KeyStr);
      *KeyStr = no_key;
      *CardId = values->card_number;
      *PTCT = values->factor;
      *Power = values->buy_power;
      *ActConstant = values->active_constant;
      *ReActConstant = values->reactive_constant;
      *ActIndex = values->active_index;
      *ReActIndex = values->reactive_index;
      *AlarmPower = values->warn_power;
      *HOverdraftPower = values->high_power;
      *LOverdraftPower = values->low_power;
      *AlarmLoad = values->warn_load;
      *CutLoad = values->cut_load;
      *AlarmTime = values->warn_time;
      *CardType = static_cast<LONG>(values->medium);
      *PurchaseTimes = values->purchase_count;
      return S_OK;
    });
  }

  HRESULT STDMETHODCALLTYPE ReadSDReturnArea(VARIANT ReadData, LONG* kh, LONG* gdcs,
                                             double* sydl, double* tzdl, double* ygzydl,
                                             double* wgzydl, double* afldl, double* bfldl,
                                             double* cfldl, double* dfldl, double* zdfh,
                                             DATE* zdfhsj, LONG* dxcsa, LONG* dxcsb, LONG* dxcsc,
                                             LONG* dxsja, LONG* dxsjb, LONG* dxsjc) override {
    return Guarded([&] {
      RequireAll(kh, gdcs, sydl, tzdl, ygzydl, wgzydl, afldl, bfldl, cfldl, dfldl, zdfh, zdfhsj,
                 dxcsa, dxcsb, dxcsc, dxsja, dxsjb, dxsjc);
      const std::optional<ReturnAreaValues> values = ReadReturnAreaFrame(FrameText(ReadData));
      if (!values) throw ComError(E_INVALIDARG, "ReadData holds no return-area frame");
      *kh = values->card_number;
      *gdcs = values->purchase_count;
      *sydl = values->remaining_energy;
      // The return frame carries nothing else: the meter's other readings are zero.
      for (double* reading : {tzdl, ygzydl, wgzydl, afldl, bfldl, cfldl, dfldl, zdfh}) *reading = 0;
      *zdfhsj = 0;
      for (LONG* count : {dxcsa, dxcsb, dxcsc, dxsja, dxsjb, dxsjc}) *count = 0;
      return S_OK;
    });
  }

 private:
  template <typename Body>
  static HRESULT Guarded(Body&& body) noexcept {
    return com::GuardedMethod(IID_IMorlin, kErrorSource, std::forward<Body>(body));
  }

  static HRESULT OpenAccount(CardMedium medium, LONG card_number, LONG factor, double buy_power,
                             LONG active_constant, LONG reactive_constant, LONG active_index,
                             LONG reactive_index, double warn_power, double high_power,
                             double low_power, double warn_load, double cut_load, LONG warn_time,
                             VARIANT* frame) noexcept {
    return Guarded([&] {
      WriteAreaValues values;
      values.kind = WriteAreaKind::AccountOpening;
      values.medium = medium;
      values.card_number = card_number;
      values.factor = factor;
      values.buy_power = buy_power;
      values.active_constant = active_constant;
      values.reactive_constant = reactive_constant;
      values.active_index = active_index;
      values.reactive_index = reactive_index;
      values.warn_power = warn_power;
      values.high_power = high_power;
      values.low_power = low_power;
      values.warn_load = warn_load;
      values.cut_load = cut_load;
      values.warn_time = warn_time;
      StoreFrame(BuildFrame(values), frame);
      return S_OK;
    });
  }

  static HRESULT Purchase(CardMedium medium, LONG card_number, LONG factor, double buy_power,
                          double warn_power, double high_power, double low_power,
                          double warn_load, double cut_load, LONG warn_time, LONG purchase_count,
                          VARIANT* frame) noexcept {
    return Guarded([&] {
      WriteAreaValues values;
      values.kind = WriteAreaKind::Purchase;
      values.medium = medium;
      values.card_number = card_number;
      values.factor = factor;
      values.buy_power = buy_power;
      values.warn_power = warn_power;
      values.high_power = high_power;
      values.low_power = low_power;
      values.warn_load = warn_load;
      values.cut_load = cut_load;
      values.warn_time = warn_time;
      values.purchase_count = purchase_count;
      StoreFrame(BuildFrame(values), frame);
      return S_OK;
    });
  }

  // A value the frame cannot carry is the caller's argument at fault.
  static std::string BuildFrame(const WriteAreaValues& values) {
    try {
      return BuildWriteAreaFrame(values);
    } catch (const FrameValueError& e) {
      throw ComError(E_INVALIDARG, e.what());
    }
  }
};

}  // namespace

HRESULT CreateMorlinObject(REFIID iid, void** out) {
  return com::CreateObject<MorlinObject>(iid, out);
}

}  // namespace wenlock::morlin
