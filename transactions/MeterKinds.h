// The three meter kinds a card can serve, as the read finds them in the user-number area and the
// write takes them from the request: their areas, where their card number stands, how their frame
// is decoded and built.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "TO_Kessel_Unit.h"

namespace wenlock {

// The user-number area every card has: the meter kind (2 characters), the user number padded with
// "F" to 18 characters from character 3, then the card number.
constexpr std::int16_t kUserNumberArea = 4;
constexpr std::size_t kUserNumberWidth = 18;

// The head of the replacement-card record of operation "03".
constexpr std::string_view kReplacementRecordHead = "68387616";

struct TMeterKind {
  std::string_view cardCode;     // at the head of the user-number area: "00", "01", "03"
  std::string_view requestCode;  // code1 of a write request: "0", "1", "3"
  std::int16_t writeArea;
  std::int16_t returnArea;
  std::int32_t cardNoBytes;      // the card-number field of the user-number area, in bytes
  std::int64_t cardNoStart;      // where the read takes the card number (characters from 1)
  std::int64_t cardNoLength;
  TCardDecoding (*decode)(const std::string& frame, std::string_view readMode,
                          const OldMeterServerFactory& servers);
  TBuiltFrame (*build)(std::int16_t cardType, const TWrite_Card_Items& request,
                       const OldMeterServerFactory& servers);
};

// The kind of a user-number area's head, or of a request's code1; null for any other text.
const TMeterKind* MeterKindOfCard(std::string_view cardCode);
const TMeterKind* MeterKindOfRequest(std::string_view requestCode);

}  // namespace wenlock
