// Value and frame texts through every data format in both directions.
#include <cstdint>

#include "FuzzInput.h"
#include "Q_GDW130_ShareFun.h"
#include "Text.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  wenlock::fuzzing::FuzzInput input(data, size);
  const std::int32_t bits = input.Int() % 4096;
  const std::string text = input.Rest();
  for (std::int32_t format : {3, 9, 10, 11, 24}) {
    try {
      wenlock::DataToFormat(text, format, bits);
    } catch (const wenlock::ConversionError&) {
    }
    try {
      wenlock::FormatToData(text, format);
    } catch (const wenlock::ConversionError&) {
    }
  }
  return 0;
}
