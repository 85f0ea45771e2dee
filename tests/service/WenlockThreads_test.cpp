// Objects of several apartments calling at once: each call gets its own result code and values, and
// no read sees a card half-written by a sale of another thread.
#include <gtest/gtest.h>

#include <set>
#include <thread>
#include <utility>
#include <vector>

#include "WenlockClient.h"

namespace wenlock::testing {
namespace {

constexpr int kRounds = 4;

// Two sales whose user number goes with their card number.
const std::pair<std::wstring, std::wstring> kSales[] = {{L"330100012001", L"11111"},
                                                        {L"330100012002", L"22222"}};

struct ThreadOutcome {
  std::vector<std::string> codes;
  std::vector<std::pair<std::string, std::string>> cards;  // cardNo and code2 of each read
  std::vector<std::string> texts;
};

// One apartment on its own thread with its own object.
template <typename Body>
std::thread InApartment(ThreadOutcome& outcome, Body body) {
  return std::thread([&outcome, body] {
    com::ScopedApartment apartment;
    const com::ComPtr<IWenlockCOM> object = CreateWenlock();
    if (apartment.result() != S_OK || !object) return;
    for (int round = 0; round < kRounds; ++round) body(object.Get(), round, outcome);
  });
}

TEST(WenlockApartments, OverlappingCallsEachGetTheirOwnResults) {
  com::ScopedApartment apartment;
  RegisteredWenlock server;
  ASSERT_EQ(server.registration(), S_OK);
  CardOnReader card;
  {
    const com::ComPtr<IWenlockCOM> object = CreateWenlock();
    ASSERT_TRUE(object);
    ASSERT_EQ(WriteCard(object.Get(), CallPath::kVtable,
                        TerminalSale(kSales[0].first, kSales[0].second, L"10", Arg::Text(L"1")))
                  .errCode.text,
              "00");
  }

  std::vector<ThreadOutcome> outcomes(6);
  std::vector<std::thread> threads;
  for (int seller = 0; seller < 2; ++seller) {
    threads.push_back(InApartment(outcomes[seller], [seller](IWenlockCOM* object, int round,
                                                             ThreadOutcome& outcome) {
      const auto& [cardNo, userNo] = kSales[seller];
      const CallPath path = round % 2 ? CallPath::kInvoke : CallPath::kVtable;
      outcome.codes.push_back(
          WriteCard(object, path, TerminalSale(cardNo, userNo, L"10", Arg::Int(round))).errCode.text);
    }));
  }
  threads.push_back(InApartment(outcomes[2], [](IWenlockCOM* object, int, ThreadOutcome& outcome) {
    outcome.codes.push_back(WriteCard(object, CallPath::kInvoke,
                                      TerminalSale(L"3301000120", L"33333", L"10", Arg::Int(1)))
                                .errCode.text);
  }));
  for (int reader = 3; reader < 5; ++reader) {
    threads.push_back(InApartment(outcomes[reader], [](IWenlockCOM* object, int round,
                                                       ThreadOutcome& outcome) {
      const CallPath path = round % 2 ? CallPath::kInvoke : CallPath::kVtable;
      const ReadResult read = ReadCard(object, path, Arg::Text(L"100"), Arg::Text(L"1"));
      outcome.codes.push_back(read.errCode.text);
      outcome.cards.emplace_back(read.Out("cardNo").text, read.Out("code2").text);
    }));
  }
  threads.push_back(InApartment(outcomes[5], [](IWenlockCOM* object, int round,
                                                ThreadOutcome& outcome) {
    outcome.texts.push_back(
        ReadErrorInfo(object, CallPath::kInvoke, Arg::Int(100 + round)).text.text);
  }));
  for (std::thread& thread : threads) thread.join();

  for (int seller = 0; seller < 2; ++seller) {
    EXPECT_EQ(outcomes[seller].codes, std::vector<std::string>(kRounds, "00")) << seller;
  }
  EXPECT_EQ(outcomes[2].codes, std::vector<std::string>(kRounds, "041"));
  const std::set<std::pair<std::string, std::string>> whole_sales = {
      {"330100012001", "11111"}, {"330100012002", "22222"}};
  for (int reader = 3; reader < 5; ++reader) {
    EXPECT_EQ(outcomes[reader].codes, std::vector<std::string>(kRounds, "038")) << reader;
    ASSERT_EQ(outcomes[reader].cards.size(), static_cast<std::size_t>(kRounds));
    for (const auto& seen : outcomes[reader].cards) {
      EXPECT_EQ(whole_sales.count(seen), 1u) << seen.first << " with user " << seen.second;
    }
  }
  EXPECT_EQ(outcomes[5].texts, (std::vector<std::string>{"100", "101", "102", "103"}));
}

}  // namespace
}  // namespace wenlock::testing
