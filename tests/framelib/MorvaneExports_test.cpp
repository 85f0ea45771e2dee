// Morvane's frames through its exports, as the card service and other C callers see them.
#include <gtest/gtest.h>

#include <cctype>
#include <cmath>
#include <functional>
#include <string>
#include <vector>

#include "LoadedLibrary.h"
#include "MorvaneCalls.h"

namespace {

using namespace morvane_test;

// Characters count from 1, as in the frame layout.
std::string Chars(const std::string& frame, std::size_t first, std::size_t count) {
  return first <= frame.size() ? frame.substr(first - 1, count) : std::string();
}

std::string DataBytes(const std::string& frame, std::size_t offset, std::size_t bytes) {
  return Chars(frame, 23 + 2 * offset, 2 * bytes);
}

// A readable case name as a test name.
std::string CaseName(std::string name) {
  for (auto& c : name) {
    if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
  }
  return name;
}

// The frame's own structure: start bytes, declared data length, checksum and end byte agree.
void ExpectWellFormed(const std::string& frame) {
  ASSERT_GE(frame.size(), 26u) << frame;
  ASSERT_EQ(frame.size() % 2, 0u) << frame;
  EXPECT_EQ(Chars(frame, 1, 2), "68");
  EXPECT_EQ(Chars(frame, 15, 2), "68");
  const auto length = std::stoul(Chars(frame, 21, 2) + Chars(frame, 19, 2), nullptr, 16);
  EXPECT_EQ(length, (frame.size() - 26) / 2) << frame;
  unsigned sum = 0;
  for (std::size_t i = 0; i + 4 < frame.size(); i += 2) sum += std::stoul(frame.substr(i, 2), nullptr, 16);
  EXPECT_EQ(std::stoul(Chars(frame, frame.size() - 3, 2), nullptr, 16), sum % 256) << frame;
  EXPECT_EQ(frame.substr(frame.size() - 2), "16");
}

// --- Account-opening frames ------------------------------------------------------------------

TEST(MorvaneAccountOpening, CardServiceFirstPurchaseFrame) {
  const Built built = BuildAccountOpening({});
  ASSERT_EQ(built.result, 0);
  const std::string& frame = built.frame;
  EXPECT_EQ(frame.size(), 446u);
  ExpectWellFormed(frame);
  EXPECT_EQ(Chars(frame, 1, 14), "68123478560100");  // address 12345678, host word 1
  EXPECT_EQ(Chars(frame, 17, 6), "37D200");
  EXPECT_EQ(DataBytes(frame, 0, 21), "0100" "0100" "0000" "D0070000" "00000000" "00" "00000000" "0000");
  EXPECT_EQ(DataBytes(frame, 196, 6), "10270000" "0100");
}

TEST(MorvaneAccountOpening, CardServiceFrameReadsBackFieldByField) {
  const AccountOpeningRead r = ReadAccountOpening(BuildAccountOpening({}).frame.c_str());
  ASSERT_EQ(r.result, 0);
  EXPECT_EQ(r.terminaladdr, "12345678");
  EXPECT_EQ(r.ct, 1);
  EXPECT_EQ(r.pt, 1);
  EXPECT_EQ(r.OverDraftTime, 0);
  EXPECT_EQ(r.gdcs, 1);
  EXPECT_EQ(r.BiaoDian, 1);
  EXPECT_EQ(r.JiaRiLaZha, 1);  // built false: the bit stands
  EXPECT_EQ(r.ZhuXiuLaZha, 1);
  EXPECT_EQ(r.gdl_gdje, 100);
  EXPECT_EQ(r.PowerAlarm, 20);
  EXPECT_EQ(r.MoneyAlarm, 0);
  EXPECT_EQ(r.OverDraftPower, 0);
  EXPECT_EQ(r.OverDraftMoney, 0);
  EXPECT_EQ(r.LimitPower, 0);
  EXPECT_EQ(r.LimitMoney, 0);
  EXPECT_EQ(r.NoSwitchST, "0000");
  EXPECT_EQ(r.NoSwitchEnd, "2359");
  EXPECT_EQ(r.djSwitch, -7);  // the plain reader has no such output
}

// One argument changed from the card service's: the data bytes it lands in and what reads back.
struct AccountFieldCase {
  const char* name;
  std::function<void(AccountOpening&)> change;
  std::size_t offset;
  std::string bytes;
  std::function<void(const AccountOpeningRead&)> expectRead;
};

void ExpectSwitchOffBits(const AccountOpeningRead& r, std::int32_t ZhuXiuLaZha,
                         std::int32_t JiaRiLaZha) {
  EXPECT_EQ(r.ZhuXiuLaZha, ZhuXiuLaZha);
  EXPECT_EQ(r.JiaRiLaZha, JiaRiLaZha);
}

class MorvaneAccountOpeningFields : public ::testing::TestWithParam<AccountFieldCase> {};

TEST_P(MorvaneAccountOpeningFields, LandInTheirBytesAndReadBack) {
  const auto& c = GetParam();
  AccountOpening args;
  c.change(args);
  const Built built = BuildAccountOpening(args);
  ASSERT_EQ(built.result, 0);
  ExpectWellFormed(built.frame);
  EXPECT_EQ(DataBytes(built.frame, c.offset, c.bytes.size() / 2), c.bytes);
  const AccountOpeningRead r = ReadAccountOpening(built.frame.c_str());
  ASSERT_EQ(r.result, 0);
  c.expectRead(r);
}

INSTANTIATE_TEST_SUITE_P(
    Arguments, MorvaneAccountOpeningFields,
    ::testing::Values(
        AccountFieldCase{"ct keeps its last four digits", [](auto& a) { a.ct = 12345; }, 2, "4523",
                         [](auto& r) { EXPECT_EQ(r.ct, 2345); }},
        AccountFieldCase{"pt", [](auto& a) { a.pt = 80; }, 0, "8000",
                         [](auto& r) { EXPECT_EQ(r.pt, 80); }},
        AccountFieldCase{"OverDraftTime", [](auto& a) { a.OverDraftTime = 1234; }, 19, "3412",
                         [](auto& r) { EXPECT_EQ(r.OverDraftTime, 1234); }},
        AccountFieldCase{"both switches false", [](auto& a) { a.ZhuXiuLaZha = a.JiaRiLaZha = 0; },
                         34, "03", [](auto& r) { ExpectSwitchOffBits(r, 1, 1); }},
        AccountFieldCase{"ZhuXiuLaZha true", [](auto& a) { a.ZhuXiuLaZha = 1; }, 34, "02",
                         [](auto& r) { ExpectSwitchOffBits(r, 0, 1); }},
        AccountFieldCase{"JiaRiLaZha true", [](auto& a) { a.JiaRiLaZha = 1; }, 34, "01",
                         [](auto& r) { ExpectSwitchOffBits(r, 1, 0); }},
        AccountFieldCase{"both switches true", [](auto& a) { a.ZhuXiuLaZha = a.JiaRiLaZha = 1; },
                         34, "00", [](auto& r) { ExpectSwitchOffBits(r, 0, 0); }},
        AccountFieldCase{"BiaoDian false", [](auto& a) { a.BiaoDian = 0; }, 33, "00",
                         [](auto& r) { EXPECT_EQ(r.BiaoDian, 0); }},
        AccountFieldCase{"a boolean counts its low byte only", [](auto& a) { a.BiaoDian = 0x100; },
                         33, "00", [](auto& r) { EXPECT_EQ(r.BiaoDian, 0); }},
        AccountFieldCase{"gdl_gdje third decimal cut", [](auto& a) { a.gdl_gdje = 0.015; }, 196,
                         "01000000", [](auto& r) { EXPECT_DOUBLE_EQ(r.gdl_gdje, 0.01); }},
        AccountFieldCase{"gdl_gdje last six integer digits", [](auto& a) { a.gdl_gdje = 1234567.89; },
                         196, "15EC6501", [](auto& r) { EXPECT_DOUBLE_EQ(r.gdl_gdje, 234567.89); }},
        AccountFieldCase{"negative PowerAlarm", [](auto& a) { a.PowerAlarm = -12.34; }, 6,
                         "2EFBFFFF", [](auto& r) { EXPECT_DOUBLE_EQ(r.PowerAlarm, -12.34); }},
        AccountFieldCase{"MoneyAlarm", [](auto& a) { a.MoneyAlarm = 1.5; }, 10, "96000000",
                         [](auto& r) { EXPECT_DOUBLE_EQ(r.MoneyAlarm, 1.5); }},
        AccountFieldCase{"OverDraftPower", [](auto& a) { a.OverDraftPower = 2.5; }, 15, "FA000000",
                         [](auto& r) { EXPECT_DOUBLE_EQ(r.OverDraftPower, 2.5); }},
        AccountFieldCase{"OverDraftMoney", [](auto& a) { a.OverDraftMoney = 3; }, 21, "2C010000",
                         [](auto& r) { EXPECT_DOUBLE_EQ(r.OverDraftMoney, 3); }},
        AccountFieldCase{"LimitPower", [](auto& a) { a.LimitPower = 40; }, 25, "A00F0000",
                         [](auto& r) { EXPECT_DOUBLE_EQ(r.LimitPower, 40); }},
        AccountFieldCase{"LimitMoney", [](auto& a) { a.LimitMoney = 655.36; }, 29, "00000100",
                         [](auto& r) { EXPECT_DOUBLE_EQ(r.LimitMoney, 655.36); }},
        AccountFieldCase{"gdcs", [](auto& a) { a.gdcs = 65535; }, 200, "FFFF",
                         [](auto& r) { EXPECT_EQ(r.gdcs, 65535); }},
        AccountFieldCase{"switch-off times", [](auto& a) { a.NoSwitchST = "0830"; a.NoSwitchEnd = "1745"; },
                         35, "30084517", [](auto& r) {
                           EXPECT_EQ(r.NoSwitchST, "0830");
                           EXPECT_EQ(r.NoSwitchEnd, "1745");
                         }}),
    [](const auto& info) { return CaseName(info.param.name); });

TEST(MorvaneAccountOpening, DjSwitchTravelsInDataByteFive) {
  for (const MV_BOOL dj : {0, 1}) {
    AccountOpening args;
    args.djSwitch = dj;
    const Built built = BuildAccountOpening(args, true);
    ASSERT_EQ(built.result, 0);
    EXPECT_EQ(DataBytes(built.frame, 4, 2), dj ? "0001" : "0000");
    const AccountOpeningRead r = ReadAccountOpening(built.frame.c_str(), true);
    ASSERT_EQ(r.result, 0);
    EXPECT_EQ(r.djSwitch, dj);
    EXPECT_EQ(r.gdcs, 1);
    EXPECT_EQ(r.NoSwitchEnd, "2359");
  }
  // Without the switch the _dj frame is the plain one.
  EXPECT_EQ(BuildAccountOpening({}, true).frame, BuildAccountOpening({}).frame);
}

// --- Purchase frames -------------------------------------------------------------------------

struct PurchaseCase {
  std::int32_t gdcs;
  double gdl_gdje;
  const char* terminaladdr;
  std::string frameHead;  // frame text from character 1
};

class MorvanePurchaseFrame : public ::testing::TestWithParam<PurchaseCase> {};

TEST_P(MorvanePurchaseFrame, IsBuiltFromItsArguments) {
  const auto& c = GetParam();
  const Built built = BuildPurchase(c.gdcs, c.gdl_gdje, c.terminaladdr);
  ASSERT_EQ(built.result, 0);
  EXPECT_EQ(built.frame.size(), 54u);
  ExpectWellFormed(built.frame);
  EXPECT_EQ(built.frame.substr(0, c.frameHead.size()), c.frameHead);
}

INSTANTIATE_TEST_SUITE_P(
    Arguments, MorvanePurchaseFrame,
    ::testing::Values(PurchaseCase{2, 50.5, "12345678", kPurchaseFrame},
                      PurchaseCase{1, 0.015, "12345678", "6812347856010068360E0001000000"},
                      PurchaseCase{1, 1234567.89, "12345678", "6812347856010068360E0015EC6501"},
                      PurchaseCase{1, 0, "abcdef01", "68ABCD01EF0100"},
                      PurchaseCase{1, 0, "1234567", "6812346705"},      // a short word
                      PurchaseCase{1, 0, "123456789A", "6812347856"},   // extra characters unread
                      PurchaseCase{1, 0, "", "68FFFFFFFF"},             // empty parts read as -1
                      PurchaseCase{1, 0, nullptr, "68FFFFFFFF"}));

struct PurchaseReadCase {
  std::string frame;
  std::int32_t gdcs;
  double gdl_gdje;
  const char* terminaladdr;
};

class MorvanePurchaseRead : public ::testing::TestWithParam<PurchaseReadCase> {};

TEST_P(MorvanePurchaseRead, GivesAmountCountAndAddress) {
  const auto& c = GetParam();
  std::int32_t gdcs = -7;
  double gdl_gdje = -7;
  Buffer addr(32);
  ASSERT_EQ(zjbgdzjs(c.frame.c_str(), &gdcs, &gdl_gdje, addr.out()), 0);
  EXPECT_EQ(gdcs, c.gdcs);
  EXPECT_DOUBLE_EQ(gdl_gdje, c.gdl_gdje);
  EXPECT_EQ(addr.str(), c.terminaladdr);
}

INSTANTIATE_TEST_SUITE_P(
    Frames, MorvanePurchaseRead,
    ::testing::Values(PurchaseReadCase{kPurchaseFrame, 2, 50.5, "12345678"},
                      PurchaseReadCase{BuildPurchase(7, 1234567.89, "A1B2C3D4").frame, 7, 234567.89, "A1B2C3D4"},
                      // the checksum and end byte are not looked at
                      PurchaseReadCase{"6812347856010068360E00BA1300000200000000000000000000", 2, 50.5, "12345678"}));

// --- Reply frames ----------------------------------------------------------------------------

// A reply frame with the given control code around the given 37 data bytes.
std::string ReplyFrame(const std::string& ctrlCode, const std::string& data) {
  return "6812347856010068" + ctrlCode + "2500" + data + "0016";
}

std::string ReplyData(const std::string& tzsj = "563412", const std::string& gdlx = "02") {
  return std::string("39300000") + "0700" + tzsj + gdlx + "88130000" + "0600" + "01" +
         "050403020120" + "1A040000" + "153012311220" + "D4C3B2A1";
}

struct Reply {
  std::int32_t result = -7;
  double sydl = -7, presydl = -7, pregdl = -7;
  std::int32_t gdcs = -7, tzsj = -7, pregdcs = -7, gdlx = -7, gdfs = -7;
  std::string terminaladdr, pregdsj, fxsj, MACCode;
};

Reply ReadReply(const std::string& frame) {
  Reply r;
  Buffer addr(32), pregdsj(32), fxsj(32), mac(32);
  r.result = zjbfkgdswer(frame.c_str(), &r.sydl, &r.presydl, &r.pregdl, &r.gdcs, &r.tzsj,
                         &r.pregdcs, &r.gdlx, &r.gdfs, addr.out(), pregdsj.out(), fxsj.out(),
                         mac.out());
  r.terminaladdr = addr.str();
  r.pregdsj = pregdsj.str();
  r.fxsj = fxsj.str();
  r.MACCode = mac.str();
  return r;
}

class MorvaneReplyRead : public ::testing::TestWithParam<const char*> {};

TEST_P(MorvaneReplyRead, GivesEveryField) {
  const Reply r = ReadReply(ReplyFrame(GetParam(), ReplyData()));
  ASSERT_EQ(r.result, 0);
  EXPECT_EQ(r.terminaladdr, "12345678");
  EXPECT_DOUBLE_EQ(r.sydl, 123.45);
  EXPECT_EQ(r.gdcs, 7);
  EXPECT_EQ(r.tzsj, 123456);
  EXPECT_EQ(r.gdlx, 2);
  EXPECT_DOUBLE_EQ(r.pregdl, 50);
  EXPECT_EQ(r.pregdcs, 6);
  EXPECT_EQ(r.gdfs, 1);
  EXPECT_EQ(r.pregdsj, "200102030405");
  EXPECT_DOUBLE_EQ(r.presydl, 10.5);
  EXPECT_EQ(r.fxsj, "201231123015");
  EXPECT_EQ(r.MACCode, "A1B2C3D4");
}

INSTANTIATE_TEST_SUITE_P(ControlCodes, MorvaneReplyRead, ::testing::Values("B6", "B7"));

TEST(MorvaneReplyRead, UnreadableDecimalsGiveZero) {
  const Reply letters = ReadReply(ReplyFrame("B6", ReplyData("5634ZZ", "ZZ")));
  ASSERT_EQ(letters.result, 0);
  EXPECT_EQ(letters.gdlx, 0);
  EXPECT_EQ(letters.tzsj, 0);
  EXPECT_EQ(letters.gdcs, 7);
  // A frame cut short still reads: what is missing comes out empty or as hexToInt of nothing.
  const Reply cut = ReadReply("6812347856010068B6");
  ASSERT_EQ(cut.result, 0);
  EXPECT_EQ(cut.terminaladdr, "12345678");
  EXPECT_EQ(cut.gdlx, 0);
  EXPECT_EQ(cut.gdcs, -1);
  EXPECT_EQ(cut.MACCode, "");
}

// --- Control code 16 frames ------------------------------------------------------------------

struct NumberFrameCase {
  const char* name;
  MV_BOOL option1, option2, option3, option4, option5;
  const char* switchByte;
};

class MorvaneNumberFrame : public ::testing::TestWithParam<NumberFrameCase> {};

TEST_P(MorvaneNumberFrame, SwitchByteFollowsTheOptions) {
  const auto& c = GetParam();
  Buffer frame;
  ASSERT_EQ(sdmorvane(12345678, 5, 4660, 100, "12345678", frame.out(), c.option1, c.option2,
                      c.option3, c.option4, c.option5), 0);
  ExpectWellFormed(frame.str());
  EXPECT_EQ(Chars(frame.str(), 45, 2), c.switchByte) << c.name;
}

INSTANTIATE_TEST_SUITE_P(
    Options, MorvaneNumberFrame,
    ::testing::Values(NumberFrameCase{"all true", 1, 1, 1, 1, 1, "08"},
                      NumberFrameCase{"all false", 0, 0, 0, 0, 0, "35"},
                      NumberFrameCase{"option1 false", 0, 1, 1, 1, 1, "09"},
                      NumberFrameCase{"option2 false", 1, 0, 1, 1, 1, "0C"},
                      NumberFrameCase{"option3 false", 1, 1, 0, 1, 1, "00"},
                      NumberFrameCase{"option4 false", 1, 1, 1, 0, 1, "18"},
                      NumberFrameCase{"option5 false", 1, 1, 1, 1, 0, "28"},
                      NumberFrameCase{"low bytes zero", 0x100, 0x100, 0x100, 0x100, 0x100, "35"}));

TEST(MorvaneNumberFrame, ExampleFrameAndItsReadBack) {
  Buffer frame;
  ASSERT_EQ(sdmorvane(12345678, 5, 4660, 100, "12345678", frame.out(), 1, 1, 1, 1, 1), 0);
  EXPECT_EQ(frame.str(), kNumberFrame);  // host word 0

  Buffer number(32);
  std::int32_t byteOut = -7;
  std::int32_t wordOut = -7;
  double amountOut = -7;
  ASSERT_EQ(sdbgdzjs(kNumberFrame, number.out(), &byteOut, &wordOut, &amountOut), 0);
  EXPECT_EQ(number.str(), "000012345678");
  EXPECT_EQ(byteOut, 5);
  EXPECT_EQ(wordOut, 4660);
  EXPECT_EQ(amountOut, 100);
}

TEST(MorvaneNumberFrame, AmountKeepsItsLastSixDigitsAndLettersReadAsZero) {
  Buffer frame;
  ASSERT_EQ(sdmorvane(1, 0, 0, 1234567, "12345678", frame.out(), 1, 1, 1, 1, 1), 0);
  Buffer number(32);
  double amount = -7;
  ASSERT_EQ(sdbgdzjs(frame.str().c_str(), number.out(), nullptr, nullptr, &amount), 0);
  EXPECT_EQ(amount, 234567);
  std::string lettered = kNumberFrame;
  lettered.replace(52, 2, "ZZ");
  ASSERT_EQ(sdbgdzjs(lettered.c_str(), nullptr, nullptr, nullptr, &amount), 0);
  EXPECT_EQ(amount, 0);
}

// --- What every reader rejects ---------------------------------------------------------------

// Every output a reader could write, preset so that any write shows.
struct Outputs {
  std::int32_t ints[8] = {-7, -7, -7, -7, -7, -7, -7, -7};
  double doubles[7] = {-7, -7, -7, -7, -7, -7, -7};
  Buffer texts[4];

  bool untouched() const {
    for (const auto i : ints) if (i != -7) return false;
    for (const auto d : doubles) if (d != -7) return false;
    for (const auto& t : texts) if (t.str() != "untouched") return false;
    return true;
  }
};

using Reader = std::function<std::int32_t(const char*, Outputs&)>;

const Reader kAccountOpeningReader = [](const char* frame, Outputs& o) {
  auto* i = o.ints;
  auto* d = o.doubles;
  return zjbkhzjs(frame, &i[0], &i[1], &i[2], &i[3], &i[4], &i[5], &i[6], &d[0], &d[1], &d[2],
                  &d[3], &d[4], &d[5], &d[6], o.texts[0].out(), o.texts[1].out(), o.texts[2].out());
};
const Reader kAccountOpeningDjReader = [](const char* frame, Outputs& o) {
  auto* i = o.ints;
  auto* d = o.doubles;
  return zjbkhzjs_dj(frame, &i[0], &i[1], &i[2], &i[3], &i[4], &i[5], &i[6], &i[7], &d[0], &d[1],
                     &d[2], &d[3], &d[4], &d[5], &d[6], o.texts[0].out(), o.texts[1].out(),
                     o.texts[2].out());
};
const Reader kPurchaseReader = [](const char* frame, Outputs& o) {
  return zjbgdzjs(frame, &o.ints[0], &o.doubles[0], o.texts[0].out());
};
const Reader kReplyReader = [](const char* frame, Outputs& o) {
  auto* i = o.ints;
  auto* d = o.doubles;
  return zjbfkgdswer(frame, &d[0], &d[1], &d[2], &i[0], &i[1], &i[2], &i[3], &i[4],
                     o.texts[0].out(), o.texts[1].out(), o.texts[2].out(), o.texts[3].out());
};
const Reader kNumberReader = [](const char* frame, Outputs& o) {
  return sdbgdzjs(frame, o.texts[0].out(), &o.ints[0], &o.ints[1], &o.doubles[0]);
};

std::string WithChars(std::string frame, std::size_t first, const char* replacement) {
  return frame.replace(first - 1, std::char_traits<char>::length(replacement), replacement);
}

struct RejectCase {
  const char* name;
  Reader reader;
  std::string frame;
};

class MorvaneReaderRejects : public ::testing::TestWithParam<RejectCase> {};

TEST_P(MorvaneReaderRejects, OtherFrameKindsAndWritesNothing) {
  const auto& c = GetParam();
  Outputs outputs;
  EXPECT_EQ(c.reader(c.frame.c_str(), outputs), 1) << c.name;
  EXPECT_TRUE(outputs.untouched()) << c.name;
}

const std::string kAccountOpeningFrame = BuildAccountOpening({}).frame;

INSTANTIATE_TEST_SUITE_P(
    Frames, MorvaneReaderRejects,
    ::testing::Values(
        RejectCase{"account opening given a purchase frame", kAccountOpeningReader, kPurchaseFrame},
        RejectCase{"account opening dj given a purchase frame", kAccountOpeningDjReader, kPurchaseFrame},
        RejectCase{"account opening with another length", kAccountOpeningReader,
                   WithChars(kAccountOpeningFrame, 19, "D3")},
        RejectCase{"purchase given an account-opening frame", kPurchaseReader, kAccountOpeningFrame},
        RejectCase{"purchase with another length", kPurchaseReader, WithChars(kPurchaseFrame, 19, "0F")},
        RejectCase{"reply given a purchase frame", kReplyReader, kPurchaseFrame},
        RejectCase{"reply code in lower case", kReplyReader, ReplyFrame("b6", ReplyData())},
        RejectCase{"number given a purchase frame", kNumberReader, kPurchaseFrame},
        RejectCase{"account opening given nothing", kAccountOpeningReader, ""},
        RejectCase{"purchase given nothing", kPurchaseReader, ""},
        RejectCase{"reply given nothing", kReplyReader, ""},
        RejectCase{"number given nothing", kNumberReader, ""}),
    [](const auto& info) { return CaseName(info.param.name); });

TEST(MorvaneReaderRejects, NullFrameTextReadsAsEmpty) {
  for (const Reader& reader : {kAccountOpeningReader, kAccountOpeningDjReader, kPurchaseReader,
                               kReplyReader, kNumberReader}) {
    Outputs outputs;
    EXPECT_EQ(reader(nullptr, outputs), 1);
    EXPECT_TRUE(outputs.untouched());
  }
}

// --- Conversion errors -----------------------------------------------------------------------

struct FailureCase {
  const char* name;
  std::function<std::int32_t()> call;
};

class MorvaneConversionErrors : public ::testing::TestWithParam<FailureCase> {};

TEST_P(MorvaneConversionErrors, GiveMinusOneAndLeaveTheLibraryUsable) {
  EXPECT_EQ(GetParam().call(), -1) << GetParam().name;
  const Built after = BuildPurchase(2, 50.5, "12345678");
  EXPECT_EQ(after.result, 0);
  EXPECT_EQ(after.frame, kPurchaseFrame);
}

std::function<std::int32_t()> BuildWith(void (*change)(AccountOpening&), bool withDjSwitch = false) {
  return [=] {
    AccountOpening args;
    change(args);
    return BuildAccountOpening(args, withDjSwitch).result;
  };
}

std::function<std::int32_t()> ReadWith(std::size_t first, const char* replacement,
                                       bool withDjSwitch = false) {
  return [=] {
    AccountOpening args;
    args.djSwitch = 1;
    const std::string frame = WithChars(BuildAccountOpening(args, true).frame, first, replacement);
    return ReadAccountOpening(frame.c_str(), withDjSwitch).result;
  };
}

INSTANTIATE_TEST_SUITE_P(
    Exports, MorvaneConversionErrors,
    ::testing::Values(
        FailureCase{"gdl_gdje NaN", BuildWith([](auto& a) { a.gdl_gdje = std::nan(""); })},
        FailureCase{"PowerAlarm infinity", BuildWith([](auto& a) { a.PowerAlarm = HUGE_VAL; })},
        FailureCase{"LimitMoney minus infinity", BuildWith([](auto& a) { a.LimitMoney = -HUGE_VAL; })},
        FailureCase{"MoneyAlarm in exponent form", BuildWith([](auto& a) { a.MoneyAlarm = 1e20; })},
        FailureCase{"OverDraftPower tiny", BuildWith([](auto& a) { a.OverDraftPower = 1e-7; })},
        FailureCase{"dj builder OverDraftMoney NaN",
                    BuildWith([](auto& a) { a.OverDraftMoney = std::nan(""); }, true)},
        FailureCase{"purchase NaN", [] { return BuildPurchase(1, std::nan(""), "12345678").result; }},
        FailureCase{"purchase 1e300", [] { return BuildPurchase(1, 1e300, "12345678").result; }},
        FailureCase{"letter in ct", ReadWith(27, "0A")},
        FailureCase{"letter in OverDraftTime", ReadWith(61, "Z")},
        FailureCase{"letter in BiaoDian", ReadWith(89, "0X")},
        FailureCase{"letter in the switch-off byte", ReadWith(91, "ZZ")},
        FailureCase{"letter in djSwitch", ReadWith(33, "0Z", true)}),
    [](const auto& info) { return CaseName(info.param.name); });

TEST(MorvaneConversionErrors, ThePlainReaderDoesNotReadTheDjByte) {
  AccountOpening args;
  args.djSwitch = 1;
  const std::string frame = WithChars(BuildAccountOpening(args, true).frame, 33, "0Z");
  EXPECT_EQ(ReadAccountOpening(frame.c_str()).result, 0);
}

// --- Null pointers and the argument slots ----------------------------------------------------

TEST(MorvaneNullPointers, NullOutputsAreSkipped) {
  char* noBuffer = nullptr;
  EXPECT_EQ(zjbfkgd(2, 50.5, "12345678", nullptr), 0);
  EXPECT_EQ(zjbfkgd(2, 50.5, "12345678", &noBuffer), 0);
  EXPECT_EQ(sdmorvane(1, 2, 3, 4, nullptr, nullptr, 1, 1, 1, 1, 1), 0);
  EXPECT_EQ(zjbfkkh(1, 1, 0, 1, 100, 20, 0, 0, 0, 0, 0, 1, 0, 0, nullptr, nullptr, nullptr, nullptr), 0);
  EXPECT_EQ(zjbgdzjs(kPurchaseFrame, nullptr, nullptr, &noBuffer), 0);
  EXPECT_EQ(sdbgdzjs(kNumberFrame, nullptr, nullptr, nullptr, nullptr), 0);
  EXPECT_EQ(zjbfkgdswer(ReplyFrame("B7", ReplyData()).c_str(), nullptr, nullptr, nullptr, nullptr,
                        nullptr, nullptr, nullptr, nullptr, nullptr, &noBuffer, nullptr, nullptr), 0);
  const std::string frame = BuildAccountOpening({}).frame;
  EXPECT_EQ(zjbkhzjs(frame.c_str(), nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                     nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                     nullptr, nullptr), 0);
  EXPECT_EQ(zjbkhzjs_dj(frame.c_str(), nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                        nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                        nullptr, nullptr, nullptr, nullptr), 0);
}

TEST(MorvaneNullPointers, NullTextsReadAsEmpty) {
  const Built built = BuildPurchase(1, 0, nullptr);
  EXPECT_EQ(built.frame.substr(0, 10), "68FFFFFFFF");
  AccountOpening args;
  args.NoSwitchST = "";
  args.NoSwitchEnd = "";
  Buffer nulls(2048);
  ASSERT_EQ(zjbfkkh(1, 1, 0, 1, 100, 20, 0, 0, 0, 0, 0, 1, 0, 0, "12345678", nullptr, nullptr,
                    nulls.out()), 0);
  EXPECT_EQ(nulls.str(), BuildAccountOpening(args).frame);
  EXPECT_EQ(nulls.str().size(), 446u - 8u);  // the switch-off times take no room
}

// Callers written for 32-bit slots may leave garbage above the low byte or word.
TEST(MorvaneArgumentSlots, SmallValuesAndBooleansCountTheirLowBitsOnly) {
  const wenlock::testing::LoadedLibrary morvane(
      std::string(MORVANE_BIN_DIR) + "/" + wenlock::testing::SharedLibraryFile("Morvane"));
  ASSERT_TRUE(morvane.loaded());
  using SdmorvaneSlots = std::int32_t(WL_STDCALL*)(std::int32_t, std::uint32_t, std::uint32_t,
                                                   std::int32_t, const char*, char**, std::int32_t,
                                                   std::int32_t, std::int32_t, std::int32_t,
                                                   std::int32_t);
  const auto sdmorvaneSlots = morvane.Get<SdmorvaneSlots>("sdmorvane");
  ASSERT_NE(sdmorvaneSlots, nullptr);
  Buffer frame;
  ASSERT_EQ(sdmorvaneSlots(12345678, 0xFFFFFF05u, 0xFFFF1234u, 100, "12345678", frame.out(),
                           0x101, 0x201, 0xFF, 0x7FFFFF01, -1), 0);
  EXPECT_EQ(frame.str(), kNumberFrame);
}

}  // namespace
