#include "TransactionTestSupport.h"

#include <sstream>

#include "MorlinFrames.h"
#include "Text.h"
#include "TolvarWRCard_Unit.h"

namespace wenlock::testing {

namespace {

template <typename First, typename... Rest>
std::string Arguments(First first, Rest... rest) {
  std::string text;
  if constexpr (std::is_floating_point_v<First>) {
    text = RealText(first);
  } else {
    text = std::to_string(first);
  }
  if constexpr (sizeof...(rest) > 0) text += "," + Arguments(rest...);
  return text;
}

class MorlinTestServer final : public IOldMeterServer {
 public:
  MorlinTestServer(ServerMode mode, std::shared_ptr<std::vector<std::string>> journal)
      : mode_(mode), journal_(std::move(journal)) {
    journal_->push_back("create");
  }
  ~MorlinTestServer() override { journal_->push_back("release"); }

  std::string CreateSdInitCard(std::int32_t CardNo, std::int32_t Factor, double BuyPower,
                               std::int32_t ActConstant, std::int32_t ReActConstant,
                               std::int32_t ActIndex, std::int32_t ReActIndex, double AlarmPower,
                               double HOverdraftPower, double LOverdraftPower, double AlarmLoad,
                               double CutLoad, std::int32_t AlarmTime) override {
    Called("CreateSdInitCard", Arguments(CardNo, Factor, BuyPower, ActConstant, ReActConstant,
                                         ActIndex, ReActIndex, AlarmPower, HOverdraftPower,
                                         LOverdraftPower, AlarmLoad, CutLoad, AlarmTime));
    return Build({morlin::WriteAreaKind::AccountOpening, morlin::CardMedium::Eeprom, CardNo, 0,
                  Factor, BuyPower, AlarmPower, HOverdraftPower, LOverdraftPower, AlarmLoad,
                  CutLoad, AlarmTime, ActConstant, ReActConstant, ActIndex, ReActIndex});
  }
  std::string CreateSdInitCardMifare(std::int32_t CardNo, std::int32_t Factor, double BuyPower,
                                     std::int32_t ActConstant, std::int32_t ReActConstant,
                                     std::int32_t ActIndex, std::int32_t ReActIndex,
                                     double AlarmPower, double HOverdraftPower,
                                     double LOverdraftPower, double AlarmLoad, double CutLoad,
                                     std::int32_t AlarmTime) override {
    Called("CreateSdInitCardMifare",
           Arguments(CardNo, Factor, BuyPower, ActConstant, ReActConstant, ActIndex, ReActIndex,
                     AlarmPower, HOverdraftPower, LOverdraftPower, AlarmLoad, CutLoad, AlarmTime));
    return Build({morlin::WriteAreaKind::AccountOpening, morlin::CardMedium::M1, CardNo, 0,
                  Factor, BuyPower, AlarmPower, HOverdraftPower, LOverdraftPower, AlarmLoad,
                  CutLoad, AlarmTime, ActConstant, ReActConstant, ActIndex, ReActIndex});
  }
  std::string CreateSdPurchaseCard(std::int32_t CardNo, std::int32_t Factor, double BuyPower,
                                   double AlarmPower, double HOverdraftPower,
                                   double LOverdraftPower, double AlarmLoad, double CutLoad,
                                   std::int32_t AlarmTime, std::int32_t PurchaseTimes) override {
    Called("CreateSdPurchaseCard",
           Arguments(CardNo, Factor, BuyPower, AlarmPower, HOverdraftPower, LOverdraftPower,
                     AlarmLoad, CutLoad, AlarmTime, PurchaseTimes));
    return Build({morlin::WriteAreaKind::Purchase, morlin::CardMedium::Eeprom, CardNo,
                  PurchaseTimes, Factor, BuyPower, AlarmPower, HOverdraftPower, LOverdraftPower,
                  AlarmLoad, CutLoad, AlarmTime});
  }
  std::string CreateSdPurchaseCardMifare(std::int32_t CardNo, std::int32_t Factor,
                                         double BuyPower, double AlarmPower,
                                         double HOverdraftPower, double LOverdraftPower,
                                         double AlarmLoad, double CutLoad, std::int32_t AlarmTime,
                                         std::int32_t PurchaseTimes) override {
    Called("CreateSdPurchaseCardMifare",
           Arguments(CardNo, Factor, BuyPower, AlarmPower, HOverdraftPower, LOverdraftPower,
                     AlarmLoad, CutLoad, AlarmTime, PurchaseTimes));
    return Build({morlin::WriteAreaKind::Purchase, morlin::CardMedium::M1, CardNo, PurchaseTimes,
                  Factor, BuyPower, AlarmPower, HOverdraftPower, LOverdraftPower, AlarmLoad,
                  CutLoad, AlarmTime});
  }

  void ReadSDWriteArea(const std::string& ReadData, std::int32_t& CardId, std::int32_t& PTCT,
                       std::string& KeyStr, double& Power, std::int32_t& ActConstant,
                       std::int32_t& ReActConstant, double& ActIndex, double& ReActIndex,
                       double& AlarmPower, double& HOverdraftPower, double& LOverdraftPower,
                       double& AlarmLoad, double& CutLoad, std::int32_t& AlarmTime,
                       std::int32_t& CardType, std::int32_t& PurchaseTimes) override {
    Called("ReadSDWriteArea", ReadData);
    const auto values = morlin::ReadWriteAreaFrame(ReadData);
    if (!values) throw OldMeterServerError("ReadData holds no write-area frame");
    CardId = values->card_number;
    PTCT = values->factor;
    KeyStr.clear();
    Power = values->buy_power;
    ActConstant = values->active_constant;
    ReActConstant = values->reactive_constant;
    ActIndex = values->active_index;
    ReActIndex = values->reactive_index;
    AlarmPower = values->warn_power;
    HOverdraftPower = values->high_power;
    LOverdraftPower = values->low_power;
    AlarmLoad = values->warn_load;
    CutLoad = values->cut_load;
    AlarmTime = values->warn_time;
    CardType = static_cast<std::int32_t>(values->medium);
    PurchaseTimes = values->purchase_count;
  }

  void ReadSDReturnArea(const std::string& ReadData, std::int32_t& kh, std::int32_t& gdcs,
                        double& sydl, double& tzdl, double& ygzydl, double& wgzydl,
                        double& afldl, double& bfldl, double& cfldl, double& dfldl, double& zdfh,
                        double& zdfhsj, std::int32_t& dxcsa, std::int32_t& dxcsb,
                        std::int32_t& dxcsc, std::int32_t& dxsja, std::int32_t& dxsjb,
                        std::int32_t& dxsjc) override {
    Called("ReadSDReturnArea", ReadData);
    const auto values = morlin::ReadReturnAreaFrame(ReadData);
    if (!values) throw OldMeterServerError("ReadData holds no return-area frame");
    kh = values->card_number;
    gdcs = values->purchase_count;
    sydl = values->remaining_energy;
    for (double* reading : {&tzdl, &ygzydl, &wgzydl, &afldl, &bfldl, &cfldl, &dfldl, &zdfh,
                            &zdfhsj}) {
      *reading = 0;
    }
    for (std::int32_t* count : {&dxcsa, &dxcsb, &dxcsc, &dxsja, &dxsjb, &dxsjc}) *count = 0;
  }

 private:
  void Called(const std::string& method, const std::string& arguments) {
    journal_->push_back(method + "(" + arguments + ")");
    if (mode_ == ServerMode::kFailing) throw OldMeterServerError(method + " failed");
  }

  static std::string Build(const morlin::WriteAreaValues& values) {
    try {
      return morlin::BuildWriteAreaFrame(values);
    } catch (const morlin::FrameValueError& e) {
      throw OldMeterServerError(e.what());
    }
  }

  ServerMode mode_;
  std::shared_ptr<std::vector<std::string>> journal_;
};

sim::CardImage IssuedCard(Medium medium) {
  return medium == Medium::kM1 ? sim::IssueM1Card(kSerial) : sim::IssueEepromCard();
}

// The block (M1) or offset (EEPROM) of a journal line of the function, or -1.
int Address(const std::string& line, const std::string& function) {
  const std::string head = function + "(17,";
  if (line.rfind(head, 0) != 0) return -1;
  return std::stoi(line.substr(head.size()));
}

// The area whose first block (M1) or offset (EEPROM) is the address, or -1.
int AreaStartingAt(int address, std::int16_t cardType) {
  for (std::int16_t area = 0; area <= 4; ++area) {
    if (cardType == kM1Card) {
      const auto layout = M1AreaLayout(area);
      if (layout.front().blocks.front() == address) return area;
    } else {
      const EepromArea layout = EepromAreaLayout(area);
      if (layout.exists && layout.offset == address) return area;
    }
  }
  return -1;
}

// M1 areas overlap, so an M1 area is known by the first block after the card selection that starts
// each area operation; EEPROM retries repeat the same call, counted once.
std::vector<int> AreasReached(const std::vector<std::string>& journal, std::int16_t cardType,
                              const std::string& function) {
  std::vector<int> areas;
  bool operationStart = true;
  for (const auto& line : journal) {
    if (line.rfind("dc_card(", 0) == 0) operationStart = true;
    const int address = Address(line, function);
    if (address < 0) continue;
    const int area = AreaStartingAt(address, cardType);
    if (cardType == kM1Card) {
      if (operationStart && area >= 0) areas.push_back(area);
      operationStart = false;
    } else if (area >= 0 && (areas.empty() || areas.back() != area)) {
      areas.push_back(area);
    }
  }
  return areas;
}

}  // namespace

MorlinTestServers::MorlinTestServers(ServerMode mode)
    : mode_(mode), journal_(std::make_shared<std::vector<std::string>>()) {}

OldMeterServerFactory MorlinTestServers::factory() const {
  return [mode = mode_, journal = journal_]() -> std::unique_ptr<IOldMeterServer> {
    if (mode == ServerMode::kNotCreatable) throw OldMeterServerError("server not available");
    return std::make_unique<MorlinTestServer>(mode, journal);
  };
}

SimulatedCard::SimulatedCard(Medium medium, ServerMode servers)
    : reader_(IssuedCard(medium)),
      cardType_(medium == Medium::kM1 ? kM1Card : kEepromCard),
      servers_(servers),
      context_{&reader_.table(), servers_.factory()} {}

SimulatedCard::SimulatedCard(Medium medium, OldMeterServerFactory servers)
    : SimulatedCard(medium) {
  context_.servers = std::move(servers);
}

template <typename Step>
void SimulatedCard::Outside(Step&& step) {
  reader_.table().dc_init(100, 115200);
  step(reader_.table());
  reader_.table().dc_exit(sim::ReaderModel::kHandle);
  reader_.ClearJournal();
}

void SimulatedCard::PutArea(std::int16_t area, const std::string& text) {
  Outside([&](const TolvarDrv& drv) {
    if (tolvar_WriteCard(drv, sim::ReaderModel::kHandle, cardType_, area, text) != kAreaDone) {
      throw std::runtime_error("area not written");
    }
  });
}

std::string SimulatedCard::AreaText(std::int16_t area) {
  std::string text;
  Outside([&](const TolvarDrv& drv) {
    if (tolvar_ReadCard(drv, sim::ReaderModel::kHandle, cardType_, area, text) != kAreaDone) {
      throw std::runtime_error("area not read");
    }
  });
  return text;
}

std::string SimulatedCard::Read(TRead_Card_Items& items) {
  reader_.ClearJournal();
  return Read_Card(items, context_);
}

std::string SimulatedCard::Write(const TWrite_Card_Items& request) {
  reader_.ClearJournal();
  return Write_Card(request, context_);
}

cardtool::TMeterAnswer SimulatedCard::Answer(std::optional<double> remainingEnergy) {
  reader_.ClearJournal();
  return cardtool::AnswerSale(reader_.table(), remainingEnergy);
}

std::string SimulatedCard::CardContent() {
  const auto& image = reader_.image();
  std::string content;
  for (const auto& block : image.blocks) content += sim::BytesToHex(block.data(), block.size());
  return content + sim::BytesToHex(image.memory.data(), sim::kCardMemoryEnd);
}

std::vector<int> AreasRead(const std::vector<std::string>& journal, std::int16_t cardType) {
  return AreasReached(journal, cardType,
                      cardType == kM1Card ? "dc_read_hex" : "dc_srd_eepromhex");
}

std::vector<int> AreasWritten(const std::vector<std::string>& journal, std::int16_t cardType) {
  return AreasReached(journal, cardType,
                      cardType == kM1Card ? "dc_write_hex" : "dc_swr_eepromhex");
}

int CallCount(const std::vector<std::string>& journal, const std::string& function) {
  int count = 0;
  for (const auto& line : journal) count += line.rfind(function + "(", 0) == 0 ? 1 : 0;
  return count;
}

TWrite_Card_Items Request(std::string code1, std::string code2, std::string cardNo) {
  TWrite_Card_Items request;
  request.code1 = std::move(code1);
  request.code2 = std::move(code2);
  request.cardNo = std::move(cardNo);
  return request;
}

}  // namespace wenlock::testing
