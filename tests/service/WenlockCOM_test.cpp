// The three methods of Wenlock.WenlockCOM as a compiled client meets them, each case through
// IDispatch::Invoke by dispatch identifier and through the dual interface's vtable.
#include <gtest/gtest.h>

#include "CodePage.h"
#include "WenlockClient.h"

namespace wenlock::testing {
namespace {

constexpr wchar_t kCardNo[] = L"330100012001";

class WenlockMethods : public ::testing::TestWithParam<CallPath> {
 protected:
  void SetUp() override {
    ASSERT_EQ(apartment_.result(), S_OK);
    ASSERT_EQ(server_.registration(), S_OK);
    object_ = CreateWenlock();
    ASSERT_TRUE(object_);
  }

  TextResult ErrorInfo(const Arg& id) { return ReadErrorInfo(object_.Get(), GetParam(), id); }
  ReadResult Read(const Arg& code3, const Arg& port = Arg::Text(L"100")) {
    return ReadCard(object_.Get(), GetParam(), port, code3);
  }
  CallResult Write(const WriteRequest& request) {
    return WriteCard(object_.Get(), GetParam(), request);
  }
  CallResult Sell(const Arg& writeNo = Arg::Text(L"1")) {
    return Write(TerminalSale(kCardNo, L"12345", L"10", writeNo));
  }

  com::ScopedApartment apartment_;
  RegisteredWenlock server_;
  CardOnReader card_;
  com::ComPtr<IWenlockCOM> object_;
};

const OutValue kEmpty{VT_EMPTY, ""};
OutValue Text(std::string text) { return {VT_BSTR, std::move(text)}; }

TEST_P(WenlockMethods, ReadErrorInfoGivesBackTheTextOfItsArgumentWithoutLookingItUp) {
  const struct {
    const char* name;
    Arg id;
    std::string text;
  } cases[] = {
      {"code text", Arg::Text(L"038"), "038"},
      {"integer", Arg::Int(38), "38"},
      {"empty", Arg::Empty(), ""},
      {"real", Arg::Real(2.5), "2.5"},
      {"Boolean", Arg::Bool(true), "True"},
      {"Chinese", Arg::Text(L"\u6210\u529F"), "\xB3\xC9\xB9\xA6"},  // 成功
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const TextResult result = ErrorInfo(c.id);
    EXPECT_EQ(result.status, S_OK);
    EXPECT_EQ(result.text, Text(c.text));
  }
}

TEST_P(WenlockMethods, ChineseTextCrossesTheBoundaryAsGbk) {
  // 成功 inside the system is the catalogue's GBK message of "000".
  EXPECT_EQ(com::Utf16ToGbk(L"\u6210\u529F"), "\xB3\xC9\xB9\xA6");
  EXPECT_EQ(ErrorID_1[0].Message, "\xB3\xC9\xB9\xA6");
  const TextResult result = ErrorInfo(Arg::Text(L"\u6210\u529F"));
  ASSERT_EQ(result.text.type, VT_BSTR);
  EXPECT_EQ(com::GbkToUtf16(result.text.text), L"\u6210\u529F");
}

TEST_P(WenlockMethods, UnidentifiedCardGives034WithEveryOutEmptyButFactoryAndCode3) {
  for (const std::wstring mode : {L"1", L"\u6210\u529F"}) {
    card_.Edit([](sim::CardImage& image) { image.faults.typeCodes = {"A1"}; });
    const ReadResult result = Read(Arg::Text(mode));
    EXPECT_EQ(result.status, S_OK);
    EXPECT_EQ(result.errCode, Text("034"));
    for (std::size_t i = 0; i < result.outs.size(); ++i) {
      const std::string_view field = ReadCardItemFields[i + 1].Name;
      const std::string expected = field == "factory" ? "A"
                                   : field == "code3" ? com::Utf16ToGbk(mode)
                                                      : "";
      EXPECT_EQ(result.outs[i], Text(expected)) << field;
    }
  }
}

TEST_P(WenlockMethods, ArgumentWithoutTextFailsTheCallBeforeAnyReaderCall) {
  const struct {
    const char* name;
    std::function<CallResult()> call;
  } cases[] = {
      {"Read_Card port", [&] { return static_cast<CallResult>(Read(Arg::Text(L"1"), Arg::Null())); }},
      {"Read_Card code3", [&] { return static_cast<CallResult>(Read(Arg::Null())); }},
      {"Write_Card cardNo",
       [&] { return Write(TerminalSale(kCardNo, L"12345", L"10", Arg::Text(L"1"))
                              .Set("cardNo", Arg::Null())); }},
      {"Write_Card port", [&] { return Write(WriteRequest().Set("Port", Arg::Null())); }},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    card_.Issue();
    const CallResult result = c.call();
    EXPECT_EQ(result.status, DISP_E_TYPEMISMATCH);
    EXPECT_NE(result.description.find("Null"), std::string::npos) << result.description;
    EXPECT_EQ(result.errCode, kEmpty);
    EXPECT_EQ(card_.Trace(), "") << "no reader call";
  }
  Read(Arg::Text(L"1"));
  EXPECT_NE(card_.Trace(), "") << "the trace records reader calls";
}

TEST_P(WenlockMethods, NullPortLeavesEveryOutEmpty) {
  const ReadResult result = Read(Arg::Text(L"1"), Arg::Null());
  EXPECT_EQ(result.status, DISP_E_TYPEMISMATCH);
  EXPECT_NE(result.description.find("port"), std::string::npos) << result.description;
  for (std::size_t i = 0; i < result.outs.size(); ++i) {
    const std::string_view field = ReadCardItemFields[i + 1].Name;
    EXPECT_EQ(result.outs[i], field == "code3" ? Text("1") : kEmpty) << field;
  }
}

TEST_P(WenlockMethods, SaleReports00AndTheReadAfterTheTerminalAnswered000) {
  ASSERT_EQ(Sell().errCode, Text("00"));
  const ReadResult unanswered = Read(Arg::Text(L"1"));
  EXPECT_EQ(unanswered.status, S_OK);
  EXPECT_EQ(unanswered.errCode, Text("038")) << "the return area still holds the blank marker";
  EXPECT_EQ(unanswered.Out("cardNo"), Text("330100012001"));

  card_.AnswerSale();
  const ReadResult read = Read(Arg::Text(L"0"));
  EXPECT_EQ(read.status, S_OK);
  EXPECT_EQ(read.errCode, Text("000"));
  const std::pair<const char*, const char*> expected[] = {
      {"factory", "A"},  {"cardNo", "330100012001"}, {"leftPower", "10"}, {"totalBuy", "10"},
      {"code1", "01"},   {"code2", "12345"},          {"code3", "0"},      {"code4", "0"},
  };
  for (const auto& [field, text] : expected) EXPECT_EQ(read.Out(field), Text(text)) << field;
}

TEST_P(WenlockMethods, OutArgumentsAreTheTransactionsRecordPositionByPosition) {
  ASSERT_EQ(Sell().errCode, Text("00"));
  card_.AnswerSale();
  const ReadResult read = Read(Arg::Text(L"0"));
  ASSERT_EQ(read.errCode, Text("000"));

  TRead_Card_Items items;
  items.port = "100";
  items.code3 = "0";
  ASSERT_EQ(Read_Card(items, DefaultCardTransactionContext()), "000");
  std::array<std::string, kReadCardOutArguments> expected;
  Read_OutData_old(items, expected);
  for (std::size_t i = 0; i < expected.size(); ++i) {
    EXPECT_EQ(read.outs[i], Text(expected[i])) << ReadCardItemFields[i + 1].Name;
  }
}

TEST_P(WenlockMethods, UnreadWriteArgumentsChangeNothingOnTheCard) {
  ASSERT_EQ(Sell().errCode, Text("00"));
  const sim::CardImage plain = card_.Image();

  card_.Issue();
  WriteRequest request = TerminalSale(kCardNo, L"12345", L"10", Arg::Text(L"1"));
  request.Set("areaId", Arg::Text(L"99")).Set("password", Arg::Text(L"secret"));
  for (int i = 0; i < 10; ++i) {
    request.Set("timeSeg" + std::to_string(i), Arg::Text(L"08:00-12:00"));
  }
  // Not even a value without a text is looked at.
  request.Set("notStopPowerBeginTim1", Arg::Null()).Set("buyMoney", Arg::Null());
  EXPECT_EQ(Write(request).errCode, Text("00"));
  EXPECT_EQ(card_.Image().blocks, plain.blocks);
  EXPECT_EQ(card_.Image().prompts, plain.prompts);
}

TEST_P(WenlockMethods, WriteNoOfAnyKindArrivesAsItsText) {
  // The write count goes into the terminal's frame: a number writes what its text writes.
  const auto cardAfterSale = [&](const Arg& writeNo) {
    card_.Issue();
    EXPECT_EQ(Sell(writeNo).errCode, Text("00"));
    return card_.Image().blocks;
  };
  const struct {
    const char* name;
    Arg number;
    std::wstring text;
  } cases[] = {
      {"integer 0", Arg::Int(0), L"0"},
      {"integer 7", Arg::Int(7), L"7"},
      {"real 12", Arg::Real(12), L"12"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(cardAfterSale(c.number), cardAfterSale(Arg::Text(c.text)));
  }
  EXPECT_NE(cardAfterSale(Arg::Text(L"0")), cardAfterSale(Arg::Text(L"7")));
}

TEST_P(WenlockMethods, CardProblemsComeBackAsCodesWithSuccessStatus) {
  const struct {
    const char* name;
    std::function<void(sim::CardImage&)> fault;
    WriteRequest request;
    std::string code;
  } cases[] = {
      {"card number of 11", [](sim::CardImage&) {},
       TerminalSale(L"33010001200", L"12345", L"10", Arg::Text(L"1")), "041"},
      {"no reader", [](sim::CardImage& image) { image.faults.noReader = true; },
       TerminalSale(kCardNo, L"12345", L"10", Arg::Text(L"1")), "013"},
      {"card not identified", [](sim::CardImage& image) { image.faults.typeCodes = {"A1"}; },
       TerminalSale(kCardNo, L"12345", L"10", Arg::Text(L"1")), "034"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    card_.Issue();
    card_.Edit(c.fault);
    const CallResult result = Write(c.request);
    EXPECT_EQ(result.status, S_OK);
    EXPECT_EQ(result.errCode, Text(c.code));
  }
}

INSTANTIATE_TEST_SUITE_P(BothCallPaths, WenlockMethods,
                         ::testing::Values(CallPath::kInvoke, CallPath::kVtable),
                         [](const auto& info) { return PathName(info.param); });

}  // namespace
}  // namespace wenlock::testing
