// Shared pieces of the transaction tests: an old-meter server over the stand-in's frames that
// journals its calls, and a simulated card on the in-process reader with the transactions' context.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "InProcessReader.h"
#include "MeterAnswer.h"
#include "TO_Kessel_Unit.h"
#include "TestSupport.h"

namespace wenlock::testing {

// How the test servers answer.
enum class ServerMode { kAvailable, kNotCreatable, kFailing };

// Old-meter servers built on the stand-in's frame logic: each creation and release and each call
// with its arguments goes into the journal ("CreateSdPurchaseCardMifare(123456,1,10,...)").
class MorlinTestServers {
 public:
  explicit MorlinTestServers(ServerMode mode = ServerMode::kAvailable);
  OldMeterServerFactory factory() const;
  const std::vector<std::string>& journal() const { return *journal_; }
  void ClearJournal() { journal_->clear(); }

 private:
  ServerMode mode_;
  std::shared_ptr<std::vector<std::string>> journal_;
};

constexpr std::uint32_t kSerial = 0x1A2B3C4D;

enum class Medium { kM1, kEeprom };

// A card on the in-process simulated reader and the context the transactions run in.
class SimulatedCard {
 public:
  explicit SimulatedCard(Medium medium = Medium::kM1, ServerMode servers = ServerMode::kAvailable);
  // The transactions reach old-meter servers through the factory given (the production one, say).
  SimulatedCard(Medium medium, OldMeterServerFactory servers);

  const TCardTransactionContext& context() const { return context_; }
  sim::CardImage& image() { return reader_.image(); }
  const std::vector<std::string>& journal() const { return reader_.journal(); }
  MorlinTestServers& servers() { return servers_; }
  std::int16_t cardType() const { return cardType_; }

  // Writes or reads an area outside any transaction; the reader's journal is cleared after it.
  void PutArea(std::int16_t area, const std::string& text);
  std::string AreaText(std::int16_t area);

  // The transactions on this card; the reader's journal is cleared first.
  std::string Read(TRead_Card_Items& items);
  std::string Write(const TWrite_Card_Items& request);
  // The meter or terminal answers the sale on the card; the reader's journal is cleared first.
  cardtool::TMeterAnswer Answer(std::optional<double> remainingEnergy);

  // What the card holds (M1 blocks and EEPROM bytes), for comparing before and after.
  std::string CardContent();

 private:
  template <typename Step>
  void Outside(Step&& step);

  ScopedCurrentDir logFolder_;  // the Q/GDW 130 checks log every outcome
  sim::InProcessReader reader_;
  std::int16_t cardType_;
  MorlinTestServers servers_;
  TCardTransactionContext context_;
};

// The card areas the journal's reads (or writes) reached, in order.
std::vector<int> AreasRead(const std::vector<std::string>& journal, std::int16_t cardType);
std::vector<int> AreasWritten(const std::vector<std::string>& journal, std::int16_t cardType);
int CallCount(const std::vector<std::string>& journal, const std::string& function);

// A write request with the given kind, user number and card number; other fields empty.
TWrite_Card_Items Request(std::string code1, std::string code2, std::string cardNo);

}  // namespace wenlock::testing
