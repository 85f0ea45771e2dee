// The export table of Morvane.dll as Windows loaders see it: exactly the nine exports, undecorated,
// with ordinals 1 to 9, and callable when fetched by name.
#include <windows.h>

#include <gtest/gtest.h>

#include <map>
#include <string>

#include "LoadedLibrary.h"
#include "PeExportTable.h"
#include "MorvaneCalls.h"

namespace {

using wenlock::testing::LoadedLibrary;

const std::map<std::string, unsigned> kMorvaneExports = {
    {"zjbfkkh", 1},  {"zjbfkkh_dj", 2},  {"zjbkhzjs", 3},  {"zjbkhzjs_dj", 4}, {"zjbfkgd", 5},
    {"zjbgdzjs", 6}, {"zjbfkgdswer", 7}, {"sdmorvane", 8}, {"sdbgdzjs", 9},
};

class MorvaneExportTable : public ::testing::Test {
 protected:
  LoadedLibrary morvane_{"Morvane.dll"};
};

TEST_F(MorvaneExportTable, HoldsExactlyTheNineNamesWithTheirOrdinals) {
  ASSERT_TRUE(morvane_.loaded());
  EXPECT_EQ(wenlock::testing::PeExportTable(morvane_.handle()), kMorvaneExports);
}

TEST_F(MorvaneExportTable, AnExportFetchedByNameBuildsItsFrame) {
  ASSERT_TRUE(morvane_.loaded());
  using Zjbfkgd = int32_t(WINAPI*)(int32_t, double, const char*, char**);
  const auto build = morvane_.Get<Zjbfkgd>("zjbfkgd");
  ASSERT_NE(build, nullptr);
  EXPECT_EQ(build, morvane_.GetByOrdinal<Zjbfkgd>(5));
  morvane_test::Buffer frame;
  ASSERT_EQ(build(2, 50.5, "12345678", frame.out()), 0);
  EXPECT_EQ(frame.str(), morvane_test::kPurchaseFrame);
}

}  // namespace
