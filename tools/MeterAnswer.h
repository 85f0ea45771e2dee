// The meter or terminal after a sale: it learns the meter kind from the card's user-number area,
// takes the sale frame from the write area and writes its answer into the return area, as a meter
// of that kind would: kind "01" the Q/GDW 130 E4 F1 item, "03" the GB reply frame, "00" the
// stand-in's return-area frame.
#pragma once

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

#include "TolvarDrv_Unit.h"

namespace wenlock::cardtool {

// Raised when there is nothing a meter would answer, or the answer cannot be put on the card.
class MeterAnswerError : public std::runtime_error {
 public:
  explicit MeterAnswerError(const std::string& what) : std::runtime_error(what) {}
};

// The answer of a meter of the kind (the head of a user-number area) to the sale frame.
// remainingEnergy is what the meter has left, by default the energy of the sale; the Q/GDW 130
// item also reports the energy bought in the sale and, for a negative remaining energy, the energy
// used beyond zero. Energies count to hundredths. The Q/GDW 130 item is stamped with LocalNow().
std::string MeterAnswerFrame(std::string_view kindCode, const std::string& saleFrame,
                             std::optional<double> remainingEnergy);

struct TMeterAnswer {
  std::string kindCode;
  std::int16_t returnArea;
  std::string frame;
};

// Answers the sale on the card lying on the reader: reads areas through the reader unit and writes
// the answer with tolvar_WriteCard, as the system itself accesses the card.
TMeterAnswer AnswerSale(const TolvarDrv& drv, std::optional<double> remainingEnergy);

}  // namespace wenlock::cardtool
