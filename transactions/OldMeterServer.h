// The outside old-meter server "Brackwell.Morlin" as the transactions see it: the six methods the
// old-layout decoder and builder call, with their argument lists, behind an interface. A server is
// made by a factory for one use and released after it. On Windows the production factory reaches
// the automation server by late binding; elsewhere no such server exists. Tests hand in their own.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>

namespace wenlock {

// Raised when the server cannot be created or one of its calls fails.
class OldMeterServerError : public std::runtime_error {
 public:
  explicit OldMeterServerError(const std::string& what) : std::runtime_error(what) {}
};

// Texts are GBK. Every method raises OldMeterServerError when the server fails the call.
class IOldMeterServer {
 public:
  virtual ~IOldMeterServer() = default;

  // Account-opening frames for an EEPROM card and for an M1 card; the text the server returns.
  virtual std::string CreateSdInitCard(std::int32_t CardNo, std::int32_t Factor, double BuyPower,
                                       std::int32_t ActConstant, std::int32_t ReActConstant,
                                       std::int32_t ActIndex, std::int32_t ReActIndex,
                                       double AlarmPower, double HOverdraftPower,
                                       double LOverdraftPower, double AlarmLoad, double CutLoad,
                                       std::int32_t AlarmTime) = 0;
  virtual std::string CreateSdInitCardMifare(std::int32_t CardNo, std::int32_t Factor,
                                             double BuyPower, std::int32_t ActConstant,
                                             std::int32_t ReActConstant, std::int32_t ActIndex,
                                             std::int32_t ReActIndex, double AlarmPower,
                                             double HOverdraftPower, double LOverdraftPower,
                                             double AlarmLoad, double CutLoad,
                                             std::int32_t AlarmTime) = 0;

  // Purchase frames for an EEPROM card and for an M1 card.
  virtual std::string CreateSdPurchaseCard(std::int32_t CardNo, std::int32_t Factor,
                                           double BuyPower, double AlarmPower,
                                           double HOverdraftPower, double LOverdraftPower,
                                           double AlarmLoad, double CutLoad,
                                           std::int32_t AlarmTime, std::int32_t PurchaseTimes) = 0;
  virtual std::string CreateSdPurchaseCardMifare(std::int32_t CardNo, std::int32_t Factor,
                                                 double BuyPower, double AlarmPower,
                                                 double HOverdraftPower, double LOverdraftPower,
                                                 double AlarmLoad, double CutLoad,
                                                 std::int32_t AlarmTime,
                                                 std::int32_t PurchaseTimes) = 0;

  // Reads a write-area frame; every argument after ReadData receives a value.
  virtual void ReadSDWriteArea(const std::string& ReadData, std::int32_t& CardId,
                               std::int32_t& PTCT, std::string& KeyStr, double& Power,
                               std::int32_t& ActConstant, std::int32_t& ReActConstant,
                               double& ActIndex, double& ReActIndex, double& AlarmPower,
                               double& HOverdraftPower, double& LOverdraftPower,
                               double& AlarmLoad, double& CutLoad, std::int32_t& AlarmTime,
                               std::int32_t& CardType, std::int32_t& PurchaseTimes) = 0;

  // Reads a return-area frame; zdfhsj is an automation date (days since 1899-12-30).
  virtual void ReadSDReturnArea(const std::string& ReadData, std::int32_t& kh,
                                std::int32_t& gdcs, double& sydl, double& tzdl, double& ygzydl,
                                double& wgzydl, double& afldl, double& bfldl, double& cfldl,
                                double& dfldl, double& zdfh, double& zdfhsj, std::int32_t& dxcsa,
                                std::int32_t& dxcsb, std::int32_t& dxcsc, std::int32_t& dxsja,
                                std::int32_t& dxsjb, std::int32_t& dxsjc) = 0;
};

// Makes a fresh server for one use; raises OldMeterServerError when none can be created.
using OldMeterServerFactory = std::function<std::unique_ptr<IOldMeterServer>()>;

// The ProgID the production factory creates.
inline constexpr const char* kOldMeterServerProgID = "Brackwell.Morlin";

// On Windows: the automation server created by its ProgID in the caller's apartment, called by
// name. Elsewhere every creation raises "server not available".
OldMeterServerFactory ProductionOldMeterServers();

}  // namespace wenlock
