// The export table of Wenlock.dll as Windows loaders see it: exactly the sixteen flat exports with
// ordinals 1 to 16 and the four in-process server entry points with ordinals 17 to 20, each
// reachable by name and by ordinal.
#include <windows.h>

#include <gtest/gtest.h>

#include <map>
#include <string>

#include "LoadedLibrary.h"
#include "PeExportTable.h"
#include "WenlockFlatExports.h"

namespace {

using wenlock::testing::LoadedLibrary;

const std::map<std::string, unsigned> kFlatExports = {
    {"DelBlank", 1},        {"InsertBlank", 2},     {"GetSystemTime", 3},  {"ReadSystemDate", 4},
    {"inttobin", 5},        {"GetTextFileLine", 6}, {"ActionLog", 7},      {"SendFrame_RW", 8},
    {"ParseFrameOper", 9},  {"DataToFormat", 10},   {"FormatToData", 11},  {"checkSum_CS", 12},
    {"CheckRecvFrame", 13}, {"RecvFrameCopyBytes", 14}, {"DataStrToDown", 15}, {"FormatS", 16},
};
const std::map<std::string, unsigned> kServerEntryPoints = {
    {"DllUnregisterServer", 17}, {"DllRegisterServer", 18}, {"DllCanUnloadNow", 19},
    {"DllGetClassObject", 20},
};

std::map<std::string, unsigned> AllExports() {
  std::map<std::string, unsigned> all = kFlatExports;
  all.insert(kServerEntryPoints.begin(), kServerEntryPoints.end());
  return all;
}

class ExportTableTest : public ::testing::Test {
 protected:
  LoadedLibrary wenlock_{"Wenlock.dll"};
};

TEST_F(ExportTableTest, HoldsExactlyTheTwentyNamesWithTheirOrdinals) {
  ASSERT_TRUE(wenlock_.loaded());
  EXPECT_EQ(wenlock::testing::PeExportTable(wenlock_.handle()), AllExports());
}

TEST_F(ExportTableTest, EveryExportIsTheSameFunctionByNameAndByOrdinal) {
  ASSERT_TRUE(wenlock_.loaded());
  for (const auto& [name, ordinal] : AllExports()) {
    const auto by_name = wenlock_.Get<FARPROC>(name.c_str());
    EXPECT_NE(by_name, nullptr) << name;
    EXPECT_EQ(by_name, wenlock_.GetByOrdinal<FARPROC>(ordinal)) << name;
  }
}

TEST_F(ExportTableTest, ExportsAnswerWhenFetchedByNameOrOrdinal) {
  ASSERT_TRUE(wenlock_.loaded());
  using Text1 = const char*(WINAPI*)(const char*);
  EXPECT_STREQ(wenlock_.Get<Text1>("DelBlank")("68 16"), "6816");
  EXPECT_STREQ(wenlock_.GetByOrdinal<Text1>(12)("FF01"), "00");
  EXPECT_STREQ(wenlock_.GetByOrdinal<Text1>(15)("4401"), "0144");
  using Pad = const char*(WINAPI*)(const char*, int32_t);
  EXPECT_STREQ(wenlock_.GetByOrdinal<Pad>(16)("1A", 3), "00001A");
  using Bits = const char*(WINAPI*)(int32_t);
  EXPECT_STREQ(wenlock_.Get<Bits>("inttobin")(6), "110");
  using Frame = const char*(WINAPI*)(TGDW130_ProtDef);
  const TGDW130_ProtDef def{"4A", "4401", "1", "0", "E4", "1", "1234"};
  EXPECT_STREQ(wenlock_.GetByOrdinal<Frame>(8)(def), "6839003900684A0144010000E400000001001234BB16");
  const auto system_time = wenlock_.GetByOrdinal<Wenlock_GetSystemTime_fn>(3);
  EXPECT_EQ(system_time, wenlock_.Get<Wenlock_GetSystemTime_fn>("GetSystemTime"));
  EXPECT_NE(std::string(system_time()).find(" : "), std::string::npos);
}

}  // namespace
