// Hostile inputs through every flat export: random bytes, odd lengths, non-hexadecimal characters,
// broken frames and texts of a megabyte must neither crash nor leak an exception (the sanitizers of
// the native build watch memory and undefined behaviour).
#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "TestSupport.h"
#include "WenlockFlatExports.h"

namespace {

constexpr const char* kExampleFrame = "6839003900684A0144010000E400000001001234BB16";

class RandomTexts {
 public:
  explicit RandomTexts(std::uint32_t seed) : engine_(seed) {}

  // Any bytes but NUL, any length up to max_length.
  std::string Bytes(std::size_t max_length) {
    std::string text(Length(max_length), ' ');
    for (auto& c : text) c = static_cast<char>(Between(1, 255));
    return text;
  }

  // Mostly hexadecimal characters, with blanks and a few strays.
  std::string HexLike(std::size_t max_length) {
    static const char kAlphabet[] = "0123456789ABCDEFabcdef  68 16Zg.-";
    std::string text(Length(max_length), ' ');
    for (auto& c : text) c = kAlphabet[Between(0, sizeof kAlphabet - 2)];
    return text;
  }

  // The example frame with one character changed, cut or extended.
  std::string DamagedFrame() {
    std::string frame = kExampleFrame;
    switch (Between(0, 2)) {
      case 0: frame[Between(0, static_cast<int>(frame.size()) - 1)] = static_cast<char>(Between(1, 255)); break;
      case 1: frame.resize(Between(0, static_cast<int>(frame.size()))); break;
      default: frame += HexLike(40); break;
    }
    return frame;
  }

  std::int32_t Int() {
    static const std::int32_t kSpecial[] = {0, 1, -1, 2, 8, 9, 16, 24, 255, 256, 65535,
                                            std::numeric_limits<std::int32_t>::max(),
                                            std::numeric_limits<std::int32_t>::min()};
    if (Between(0, 1)) return kSpecial[Between(0, std::size(kSpecial) - 1)];
    return static_cast<std::int32_t>(engine_());
  }

 private:
  std::size_t Length(std::size_t max_length) { return static_cast<std::size_t>(Between(0, static_cast<int>(max_length))); }
  int Between(int low, int high) { return std::uniform_int_distribution<int>(low, high)(engine_); }

  std::mt19937 engine_;
};

// Calls every export once with the given texts and numbers.
void CallEveryExport(const std::string& a, const std::string& b, std::int32_t n, std::int32_t m) {
  DelBlank(a.c_str());
  InsertBlank(n % 1024, a.c_str());
  inttobin(n);
  GetTextFileLine(a.c_str(), n % 64);
  ActionLog(n, a.c_str());
  const TGDW130_ProtDef def{a.c_str(), b.c_str(), a.c_str(), b.c_str(), a.c_str(), b.c_str(), a.c_str()};
  SendFrame_RW(def);
  const std::string n_text = std::to_string(n);
  const std::string m_text = std::to_string(m);
  const TGDW130_ProtDef numeric{"4A", "4401", n_text.c_str(), m_text.c_str(), "E4", m_text.c_str(), b.c_str()};
  SendFrame_RW(numeric);
  const char* data = nullptr;
  const char* card_no = nullptr;
  ParseFrameOper(a.c_str(), &data, &card_no);
  const char* frame = nullptr;
  CheckRecvFrame(a.c_str(), &frame);
  for (std::int32_t format : {3, 9, 10, 11, 24, n}) {
    DataToFormat(a.c_str(), format, m % 4096);
    FormatToData(a.c_str(), format);
  }
  checkSum_CS(a.c_str());
  RecvFrameCopyBytes(a.c_str(), n, m);
  DataStrToDown(a.c_str());
  FormatS(a.c_str(), m % 4096);
}

class FlatExportsRobustnessTest : public ::testing::Test {
 protected:
  wenlock::testing::ScopedCurrentDir dir_;  // the frame checks log here
};

TEST_F(FlatExportsRobustnessTest, RandomInputsGoThroughEveryExport) {
  RandomTexts random(20241211);
  for (int round = 0; round < 300; ++round) {
    CallEveryExport(random.Bytes(64), random.HexLike(64), random.Int(), random.Int());
    CallEveryExport(random.HexLike(200), random.DamagedFrame(), random.Int(), random.Int());
    CallEveryExport(random.DamagedFrame(), random.Bytes(16), random.Int(), random.Int());
  }
}

TEST_F(FlatExportsRobustnessTest, MegabyteInputsGoThroughEveryExport) {
  RandomTexts random(7);
  const std::vector<std::string> huge = {
      std::string(1 << 20, 'F'),
      std::string(1 << 20, ' '),
      std::string(kExampleFrame) + std::string(1 << 20, '0'),
      "68FFFFFFFF68" + std::string(1 << 20, '1'),
      random.HexLike(1 << 20),
      random.Bytes(1 << 20),
  };
  for (const auto& text : huge) CallEveryExport(text, text, 2, 3);
  EXPECT_EQ(std::string(InsertBlank(1, huge[0].c_str())).size(), 2u << 20);
  EXPECT_EQ(std::string(FormatS("1", 1 << 20)).size(), 2u << 20);
}

}  // namespace
