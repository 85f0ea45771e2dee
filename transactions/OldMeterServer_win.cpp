// The production old-meter server: "Brackwell.Morlin" created by its ProgID for one use and called
// by name through IDispatch, in the apartment of the calling thread. COM failures become
// OldMeterServerError, so the callers see one kind of failure on every platform.
#include <array>

#include "CodePage.h"
#include "ComError.h"
#include "ComHandles.h"
#include "LateBinding.h"
#include "OldMeterServer.h"

namespace wenlock {

namespace {

template <typename Body>
auto Guarded(Body&& body) -> decltype(body()) {
  try {
    return body();
  } catch (const com::ComError& e) {
    throw OldMeterServerError(e.what());
  }
}

// 32-bit integer outputs: LONG is not std::int32_t's type under mingw, so the server writes into
// these and the values are copied out after the call.
template <std::size_t Count>
class LongOutputs {
 public:
  LONG& operator[](std::size_t index) { return values_[index]; }

 private:
  std::array<LONG, Count> values_{};
};

class LateBoundOldMeterServer final : public IOldMeterServer {
 public:
  explicit LateBoundOldMeterServer(com::AutomationObject object) : object_(std::move(object)) {}

  std::string CreateSdInitCard(std::int32_t CardNo, std::int32_t Factor, double BuyPower,
                               std::int32_t ActConstant, std::int32_t ReActConstant,
                               std::int32_t ActIndex, std::int32_t ReActIndex, double AlarmPower,
                               double HOverdraftPower, double LOverdraftPower, double AlarmLoad,
                               double CutLoad, std::int32_t AlarmTime) override {
    return OpenAccount(L"CreateSdInitCard", CardNo, Factor, BuyPower, ActConstant, ReActConstant,
                       ActIndex, ReActIndex, AlarmPower, HOverdraftPower, LOverdraftPower,
                       AlarmLoad, CutLoad, AlarmTime);
  }
  std::string CreateSdInitCardMifare(std::int32_t CardNo, std::int32_t Factor, double BuyPower,
                                     std::int32_t ActConstant, std::int32_t ReActConstant,
                                     std::int32_t ActIndex, std::int32_t ReActIndex,
                                     double AlarmPower, double HOverdraftPower,
                                     double LOverdraftPower, double AlarmLoad, double CutLoad,
                                     std::int32_t AlarmTime) override {
    return OpenAccount(L"CreateSdInitCardMifare", CardNo, Factor, BuyPower, ActConstant,
                       ReActConstant, ActIndex, ReActIndex, AlarmPower, HOverdraftPower,
                       LOverdraftPower, AlarmLoad, CutLoad, AlarmTime);
  }
  std::string CreateSdPurchaseCard(std::int32_t CardNo, std::int32_t Factor, double BuyPower,
                                   double AlarmPower, double HOverdraftPower,
                                   double LOverdraftPower, double AlarmLoad, double CutLoad,
                                   std::int32_t AlarmTime, std::int32_t PurchaseTimes) override {
    return Purchase(L"CreateSdPurchaseCard", CardNo, Factor, BuyPower, AlarmPower,
                    HOverdraftPower, LOverdraftPower, AlarmLoad, CutLoad, AlarmTime,
                    PurchaseTimes);
  }
  std::string CreateSdPurchaseCardMifare(std::int32_t CardNo, std::int32_t Factor,
                                         double BuyPower, double AlarmPower,
                                         double HOverdraftPower, double LOverdraftPower,
                                         double AlarmLoad, double CutLoad, std::int32_t AlarmTime,
                                         std::int32_t PurchaseTimes) override {
    return Purchase(L"CreateSdPurchaseCardMifare", CardNo, Factor, BuyPower, AlarmPower,
                    HOverdraftPower, LOverdraftPower, AlarmLoad, CutLoad, AlarmTime,
                    PurchaseTimes);
  }

  void ReadSDWriteArea(const std::string& ReadData, std::int32_t& CardId, std::int32_t& PTCT,
                       std::string& KeyStr, double& Power, std::int32_t& ActConstant,
                       std::int32_t& ReActConstant, double& ActIndex, double& ReActIndex,
                       double& AlarmPower, double& HOverdraftPower, double& LOverdraftPower,
                       double& AlarmLoad, double& CutLoad, std::int32_t& AlarmTime,
                       std::int32_t& CardType, std::int32_t& PurchaseTimes) override {
    Guarded([&] {
      com::Bstr data(com::GbkToUtf16(ReadData));
      BSTR frame = data.get();
      com::Bstr key;
      LongOutputs<7> longs;
      com::DispatchArguments arguments;
      arguments.AddByRef(frame).AddByRef(longs[0]).AddByRef(longs[1]).AddByRef(*key.Put());
      arguments.AddByRef(Power).AddByRef(longs[2]).AddByRef(longs[3]);
      for (double* value : {&ActIndex, &ReActIndex, &AlarmPower, &HOverdraftPower,
                            &LOverdraftPower, &AlarmLoad, &CutLoad}) {
        arguments.AddByRef(*value);
      }
      arguments.AddByRef(longs[4]).AddByRef(longs[5]).AddByRef(longs[6]);
      object_.Call(L"ReadSDWriteArea", arguments);
      CardId = longs[0];
      PTCT = longs[1];
      ActConstant = longs[2];
      ReActConstant = longs[3];
      AlarmTime = longs[4];
      CardType = longs[5];
      PurchaseTimes = longs[6];
      KeyStr = com::Utf16ToGbk(key.view());
    });
  }

  void ReadSDReturnArea(const std::string& ReadData, std::int32_t& kh, std::int32_t& gdcs,
                        double& sydl, double& tzdl, double& ygzydl, double& wgzydl,
                        double& afldl, double& bfldl, double& cfldl, double& dfldl, double& zdfh,
                        double& zdfhsj, std::int32_t& dxcsa, std::int32_t& dxcsb,
                        std::int32_t& dxcsc, std::int32_t& dxsja, std::int32_t& dxsjb,
                        std::int32_t& dxsjc) override {
    Guarded([&] {
      com::Bstr data(com::GbkToUtf16(ReadData));
      BSTR frame = data.get();
      LongOutputs<8> longs;
      DATE when = 0;
      com::DispatchArguments arguments;
      arguments.AddByRef(frame).AddByRef(longs[0]).AddByRef(longs[1]);
      for (double* value : {&sydl, &tzdl, &ygzydl, &wgzydl, &afldl, &bfldl, &cfldl, &dfldl, &zdfh}) {
        arguments.AddByRef(*value);
      }
      arguments.AddDateByRef(when);
      for (std::size_t i = 2; i < 8; ++i) arguments.AddByRef(longs[i]);
      object_.Call(L"ReadSDReturnArea", arguments);
      kh = longs[0];
      gdcs = longs[1];
      zdfhsj = when;
      std::int32_t* counts[] = {&dxcsa, &dxcsb, &dxcsc, &dxsja, &dxsjb, &dxsjc};
      for (std::size_t i = 0; i < 6; ++i) *counts[i] = longs[i + 2];
    });
  }

 private:
  std::string OpenAccount(const wchar_t* method, std::int32_t CardNo, std::int32_t Factor,
                          double BuyPower, std::int32_t ActConstant, std::int32_t ReActConstant,
                          std::int32_t ActIndex, std::int32_t ReActIndex, double AlarmPower,
                          double HOverdraftPower, double LOverdraftPower, double AlarmLoad,
                          double CutLoad, std::int32_t AlarmTime) {
    com::DispatchArguments arguments;
    arguments.Add(LONG{CardNo}).Add(LONG{Factor}).Add(BuyPower).Add(LONG{ActConstant});
    arguments.Add(LONG{ReActConstant}).Add(LONG{ActIndex}).Add(LONG{ReActIndex});
    arguments.Add(AlarmPower).Add(HOverdraftPower).Add(LOverdraftPower).Add(AlarmLoad);
    arguments.Add(CutLoad).Add(LONG{AlarmTime});
    return CallForText(method, arguments);
  }

  std::string Purchase(const wchar_t* method, std::int32_t CardNo, std::int32_t Factor,
                       double BuyPower, double AlarmPower, double HOverdraftPower,
                       double LOverdraftPower, double AlarmLoad, double CutLoad,
                       std::int32_t AlarmTime, std::int32_t PurchaseTimes) {
    com::DispatchArguments arguments;
    arguments.Add(LONG{CardNo}).Add(LONG{Factor}).Add(BuyPower).Add(AlarmPower);
    arguments.Add(HOverdraftPower).Add(LOverdraftPower).Add(AlarmLoad).Add(CutLoad);
    arguments.Add(LONG{AlarmTime}).Add(LONG{PurchaseTimes});
    return CallForText(method, arguments);
  }

  // The text of the Variant the method returns is the frame.
  std::string CallForText(const wchar_t* method, const com::DispatchArguments& arguments) {
    return Guarded([&] {
      com::Variant result;
      object_.Call(method, arguments, result.get());
      return com::VariantToGbk(result.value());
    });
  }

  com::AutomationObject object_;
};

}  // namespace

OldMeterServerFactory ProductionOldMeterServers() {
  return []() -> std::unique_ptr<IOldMeterServer> {
    return Guarded([] {
      return std::make_unique<LateBoundOldMeterServer>(
          com::AutomationObject::Create(com::GbkToUtf16(kOldMeterServerProgID)));
    });
  };
}

}  // namespace wenlock
