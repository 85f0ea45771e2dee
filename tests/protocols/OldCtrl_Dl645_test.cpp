#include "OldCtrl_Dl645.h"

#include <gtest/gtest.h>

namespace wenlock {
namespace {

struct CheckCase {
  const char* name;
  const char* text;
  std::int32_t result;
  const char* frame;  // the output on 0
};

void ExpectChecks(std::int32_t (*check)(const std::string&, std::string&),
                  std::initializer_list<CheckCase> cases) {
  for (const auto& c : cases) {
    std::string output = "untouched";
    EXPECT_EQ(check(c.text, output), c.result) << c.name;
    EXPECT_EQ(output, c.result == 0 ? c.frame : "untouched") << c.name;
  }
}

TEST(Check_OldCtrlMeterProtocol, RecognisesAFrameAtTheStartOfTheText) {
  ExpectChecks(Check_OldCtrlMeterProtocol, {
      {"blanks", "68 01 02 03 68 81 02 11 22 8C 16", 0, "6801020368810211228C16"},
      {"lower-case checksum", "6801020368810211228c16", 0, "6801020368810211228c16"},
      {"padding after", "6801020368810211228C16FFFFFFFF", 0, "6801020368810211228C16"},
      {"no data", "680102036881005716", 0, "680102036881005716"},
      {"wrong checksum", "6801020368810211228D16", 5, ""},
      {"leading character", "006801020368810211228C16", 1, ""},
      {"no second start", "6801020369810211228C16", 1, ""},
      {"end byte 17", "6801020368810211228C17", 4, ""},
      {"cut short", "6801020368810211", 4, ""},
      {"length not hex", "680102036881G211228C16", 6, ""},
      {"length missing", "6801020368", 6, ""},
      {"checksum not hex", "680102036881021122XY16", 6, ""},
      {"empty", "", 1, ""},
  });
}

TEST(Check_GBCtrlMeterProtocol, RecognisesAFrameAtTheStartOfTheText) {
  ExpectChecks(Check_GBCtrlMeterProtocol, {
      {"two data bytes", "68 01 02 03 04 05 06 68 91 02 00 11 22 AB 16", 0,
       "68010203040506689102001122AB16"},
      {"three data bytes", "68 01 02 03 04 05 06 68 91 03 00 00 11 22 AC 16", 0,
       "6801020304050668910300001122AC16"},
      {"padding after", "68010203040506689102001122AB16000000", 0, "68010203040506689102001122AB16"},
      {"wrong checksum", "68010203040506689102001122AA16", 5, ""},
      {"end byte 17", "68010203040506689102001122AB17", 4, ""},
      {"no second start", "68010203040506699102001122AB16", 1, ""},
      {"length not hex", "6801020304050668910Z001122AB16", 6, ""},
      {"length cut short", "680102030405066891020", 6, ""},
  });
}

TEST(ControlMeterChecks, MayWriteIntoTheirOwnInput) {
  std::string area = "6801020368810211228C16" + std::string(100, 'F');
  EXPECT_EQ(Check_OldCtrlMeterProtocol(area, area), 0);
  EXPECT_EQ(area, "6801020368810211228C16");
}

}  // namespace
}  // namespace wenlock
