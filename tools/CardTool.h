// The card tool: issues simulated cards, shows their areas as the system reads them, answers a sale
// as the card's meter or terminal would, sets reader faults and lists the voice prompts. It works
// on the card image named by WENLOCK_CARD_IMAGE and reaches the card through the reader unit and
// the dcrf32 table, as the system would.
#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace wenlock::cardtool {

// Runs one command (arguments without the program name); 0 on success, 2 on a usage error,
// 1 when the command failed. Output goes to out, problems to err.
int RunCardTool(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace wenlock::cardtool
