// Hostile inputs through every Morvane export (random bytes, odd lengths, non-hexadecimal text,
// unusable doubles, extreme integers) and overlapping calls from several threads. Nothing may
// crash, leak an exception or trip the sanitizers of the native build.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <limits>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "MorvaneCalls.h"

namespace {

using namespace morvane_test;

class RandomInputs {
 public:
  explicit RandomInputs(std::uint32_t seed) : engine_(seed) {}

  // Any bytes but NUL.
  std::string Bytes(int maxLength) {
    std::string text(static_cast<std::size_t>(Between(0, maxLength)), ' ');
    for (auto& c : text) c = static_cast<char>(Between(1, 255));
    return text;
  }

  // Mostly hexadecimal digits of either case, with a few strays.
  std::string HexLike(int maxLength) { return HexLikeOfLength(Between(0, maxLength)); }

  std::string HexLikeOfLength(int length) {
    static const char kAlphabet[] = "0123456789ABCDEFabcdef Z.-";
    std::string text(static_cast<std::size_t>(length), ' ');
    for (auto& c : text) c = kAlphabet[Between(0, sizeof kAlphabet - 2)];
    return text;
  }

  // A text that a reader takes past its control-code check about half of the time.
  std::string FrameText() {
    static const char* const kCodes[] = {"37", "36", "B6", "B7", "16", "b6", "ZZ"};
    static const char* const kLengthBytes[] = {"D2", "0E", "13", "25", "00"};
    switch (Between(0, 3)) {
      case 0: return Bytes(600);
      case 1: return HexLike(600);
      default:
        return HexLikeOfLength(16) + kCodes[Between(0, 6)] + kLengthBytes[Between(0, 4)] +
               HexLike(500);
    }
  }

  double Double() {
    static const double kSpecial[] = {
        std::numeric_limits<double>::quiet_NaN(), std::numeric_limits<double>::infinity(),
        -std::numeric_limits<double>::infinity(), std::numeric_limits<double>::max(),
        -std::numeric_limits<double>::max(), std::numeric_limits<double>::denorm_min(),
        1e15, -1e15, 999999999999999.9, 1e-5, 9.99e-6, -0.0, 0.015, 21474836.48, -21474836.49,
        1e8, -1e14};
    switch (Between(0, 2)) {
      case 0: return kSpecial[Between(0, std::size(kSpecial) - 1)];
      case 1: return std::uniform_real_distribution<double>(-1e7, 1e7)(engine_);
      default: {
        const std::uint64_t bits = (static_cast<std::uint64_t>(engine_()) << 32) | engine_();
        double value;
        std::memcpy(&value, &bits, sizeof value);
        return value;
      }
    }
  }

  std::int32_t Int() {
    static const std::int32_t kSpecial[] = {0, 1, -1, 9999, 10000, 65535, 65536,
                                            std::numeric_limits<std::int32_t>::max(),
                                            std::numeric_limits<std::int32_t>::min()};
    if (Between(0, 1)) return kSpecial[Between(0, std::size(kSpecial) - 1)];
    return static_cast<std::int32_t>(engine_());
  }

  int Between(int low, int high) { return std::uniform_int_distribution<int>(low, high)(engine_); }

 private:
  std::mt19937 engine_;
};

bool IsExportResult(std::int32_t result) { return result == -1 || result == 0 || result == 1; }

void BuildEveryFrame(RandomInputs& random) {
  AccountOpening a;
  a.ct = random.Int();
  a.pt = random.Int();
  a.OverDraftTime = random.Int();
  a.gdcs = random.Int();
  for (double* x : {&a.gdl_gdje, &a.PowerAlarm, &a.MoneyAlarm, &a.OverDraftPower,
                    &a.OverDraftMoney, &a.LimitPower, &a.LimitMoney}) {
    *x = random.Double();
  }
  a.djSwitch = random.Int();
  a.BiaoDian = random.Int();
  a.ZhuXiuLaZha = random.Int();
  a.JiaRiLaZha = random.Int();
  a.terminaladdr = random.Bytes(16);
  a.NoSwitchST = random.HexLike(16);
  a.NoSwitchEnd = random.Bytes(16);
  EXPECT_TRUE(IsExportResult(BuildAccountOpening(a).result));
  EXPECT_TRUE(IsExportResult(BuildAccountOpening(a, true).result));

  const std::string address = random.HexLike(12);
  EXPECT_TRUE(IsExportResult(BuildPurchase(random.Int(), random.Double(), address.c_str()).result));
  Buffer frame;
  EXPECT_EQ(sdmorvane(random.Int(), static_cast<std::uint8_t>(random.Int()),
                      static_cast<std::uint16_t>(random.Int()), random.Int(), address.c_str(),
                      frame.out(), random.Int(), random.Int(), random.Int(), random.Int(),
                      random.Int()), 0);
}

void ReadWithEveryReader(const std::string& text) {
  const char* frame = text.c_str();
  EXPECT_TRUE(IsExportResult(ReadAccountOpening(frame).result));
  EXPECT_TRUE(IsExportResult(ReadAccountOpening(frame, true).result));

  std::int32_t ints[5];
  double doubles[3];
  Buffer texts[4] = {Buffer(32), Buffer(32), Buffer(32), Buffer(32)};
  EXPECT_NE(zjbgdzjs(frame, &ints[0], &doubles[0], texts[0].out()), -1);
  EXPECT_NE(zjbfkgdswer(frame, &doubles[0], &doubles[1], &doubles[2], &ints[0], &ints[1],
                        &ints[2], &ints[3], &ints[4], texts[0].out(), texts[1].out(),
                        texts[2].out(), texts[3].out()), -1);
  EXPECT_NE(sdbgdzjs(frame, texts[0].out(), &ints[0], &ints[1], &doubles[0]), -1);
}

TEST(MorvaneRobustness, RandomFramesAndNumbersThroughEveryExport) {
  RandomInputs random(20240611);
  for (int i = 0; i < 1500; ++i) {
    BuildEveryFrame(random);
    ReadWithEveryReader(random.FrameText());
  }
}

// Each thread builds and reads back its own purchase frame while the others do theirs; the module
// state they all pass through must not mix their addresses or counts.
TEST(MorvaneRobustness, OverlappingCallsKeepTheirOwnResults) {
  constexpr int kThreads = 4;
  constexpr int kRounds = 300;
  std::vector<std::string> addresses;
  std::vector<std::string> expected;
  for (int t = 0; t < kThreads; ++t) {
    addresses.push_back("A1B2C3" + std::to_string(10 + t));
    expected.push_back(BuildPurchase(t + 1, 10.25 * (t + 1), addresses.back().c_str()).frame);
  }
  std::vector<int> mismatches(kThreads, 0);
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t) {
    threads.emplace_back([&, t] {
      for (int round = 0; round < kRounds; ++round) {
        const Built built = BuildPurchase(t + 1, 10.25 * (t + 1), addresses[t].c_str());
        std::int32_t gdcs = 0;
        double gdl_gdje = 0;
        Buffer addr(32);
        const std::int32_t read = zjbgdzjs(built.frame.c_str(), &gdcs, &gdl_gdje, addr.out());
        if (built.frame != expected[t] || read != 0 || gdcs != t + 1 ||
            gdl_gdje != 10.25 * (t + 1) || addr.str() != addresses[t]) {
          ++mismatches[t];
        }
      }
    });
  }
  for (auto& thread : threads) thread.join();
  for (int t = 0; t < kThreads; ++t) EXPECT_EQ(mismatches[t], 0) << "thread " << t;
}

}  // namespace
