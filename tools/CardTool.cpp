#include "CardTool.h"

#include <functional>
#include <map>
#include <optional>
#include <stdexcept>

#include "CardImage.h"
#include "MeterAnswer.h"
#include "Text.h"
#include "TolvarWRCard_Unit.h"

namespace wenlock::cardtool {
namespace {

constexpr const char* kUsage =
    "usage: cardtool <command> [arguments]   (card image: $WENLOCK_CARD_IMAGE)\n"
    "  issue-m1 <serial>        a blank M1 card, serial as 8 hex digits; trailers keyed for the site\n"
    "  issue-eeprom             a blank EEPROM card\n"
    "  show                     every area as the system reads it: its hex and the frame found\n"
    "  faults                   the reader faults now set\n"
    "  fault <name> <value...>  set one fault: no_reader yes|no, init_failures n,\n"
    "                           priming_failures n, type_codes A5 A3 ... (fail refuses a read),\n"
    "                           no_card yes|no, refuse_auth <sectors>, refuse_write <blocks>,\n"
    "                           refuse_memory <offsets>, remove_after n (calls from now; -1 never),\n"
    "                           corrupt_reads yes|no\n"
    "  clear-faults             no fault at all\n"
    "  prompts                  the voice prompts the reader was asked to announce\n"
    "  answer [remaining]       act as the card's meter or terminal after a sale: take the frame\n"
    "                           of the write area, write the answer into the return area, with\n"
    "                           the remaining energy (default: the energy of the sale)\n";

class UsageError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

std::string ImagePath() {
  const std::string path = sim::CardImagePath();
  if (path.empty()) throw std::runtime_error("WENLOCK_CARD_IMAGE names no card image file");
  return path;
}

// Loads the image, lets change edit it and writes it back.
void EditImage(const std::function<void(sim::CardImage&)>& change) {
  const std::string path = ImagePath();
  sim::CardImage image = sim::LoadCardImage(path);
  change(image);
  sim::SaveCardImage(path, image);
}

// The area's text as it lies on the card, without the frame trimming of a read.
std::string RawAreaText(const sim::CardImage& image, std::int16_t area) {
  if (image.card == sim::CardKind::kEeprom) {
    const EepromArea layout = EepromAreaLayout(area);
    return layout.exists ? sim::BytesToHex(image.memory.data() + layout.offset, layout.readBytes)
                         : std::string();
  }
  std::string text;
  for (const auto& sector : M1AreaLayout(area)) {
    for (std::int16_t block : sector.blocks) {
      text += sim::BytesToHex(image.blocks[block].data(), sim::kBlockBytes);
    }
  }
  return text;
}

int Show(std::ostream& out, std::ostream& err) {
  ReaderConnection connection(Dcrf32Drv());
  if (connection.Open() != ConnectionStatus::kReady) {
    err << "no reader: it could not be opened or primed\n";
    return 1;
  }
  if (connection.Identify() != ConnectionStatus::kReady) {
    err << "card refused: its card-type code is not one the system handles\n";
    return 1;
  }
  out << (connection.cardType() == kM1Card ? "M1 card" : "EEPROM card") << "\n";
  for (std::int16_t area = 0; area <= 4; ++area) {
    std::string text;
    const std::int16_t status =
        tolvar_ReadCard(connection.drv(), connection.handle(), connection.cardType(), area, text);
    out << "area " << area << ": ";
    if (status != kAreaDone) {
      out << "reader status " << status << "\n";
      continue;
    }
    // The reader was just used; what it read is on the card in the file now.
    const std::string raw = RawAreaText(sim::LoadCardImage(ImagePath()), area);
    out << raw << "\n  frame: " << (text != raw ? text : "none") << "\n";
  }
  return 0;
}

std::string DescribePrompt(const std::string& prompt) {
  const std::string kind = Copy(prompt, 1, 2);
  const std::string digits = Copy(prompt, 3, 8);
  std::int64_t hundredths = 0;
  const bool amount = digits.size() == 8 && [&] {
    try {
      hundredths = StrToInt64(digits);
      return true;
    } catch (const ConversionError&) {
      return false;
    }
  }();
  if (!amount || (kind != "A1" && kind != "A2")) return prompt + "  (not a prompt record)";
  return prompt + "  " + (kind == "A1" ? "energy " : "money ") + RealText(hundredths / 100.0);
}

int Run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  if (args.empty()) throw UsageError("no command");
  const std::string& command = args[0];
  ImagePath();  // every command works on the card image
  const auto expectArguments = [&](std::size_t count) {
    if (args.size() != count + 1) throw UsageError(command + " takes " + std::to_string(count) +
                                                   " argument(s)");
  };
  if (command == "issue-m1") {
    expectArguments(1);
    if (args[1].size() != 8) throw UsageError("the serial is 8 hex digits");
    sim::SaveCardImage(ImagePath(), sim::IssueM1Card(HexToUInt(args[1])));
    out << "M1 card " << IntToHex(HexToUInt(args[1]), 8) << " issued\n";
  } else if (command == "issue-eeprom") {
    expectArguments(0);
    sim::SaveCardImage(ImagePath(), sim::IssueEepromCard());
    out << "EEPROM card issued\n";
  } else if (command == "show") {
    expectArguments(0);
    return Show(out, err);
  } else if (command == "faults") {
    expectArguments(0);
    for (const auto& [name, value] : sim::FaultSettings(sim::LoadCardImage(ImagePath()).faults)) {
      out << name << ": " << value << "\n";
    }
  } else if (command == "fault") {
    if (args.size() < 3) throw UsageError("fault takes a name and a value");
    std::string value;
    for (std::size_t i = 2; i < args.size(); ++i) value += (i > 2 ? " " : "") + args[i];
    EditImage([&](sim::CardImage& image) {
      sim::SetFault(image.faults, args[1], value);
      if (args[1] == "remove_after") image.operations = 0;  // counted from now
    });
  } else if (command == "clear-faults") {
    expectArguments(0);
    EditImage([](sim::CardImage& image) { image.faults = {}; });
  } else if (command == "prompts") {
    expectArguments(0);
    for (const auto& prompt : sim::LoadCardImage(ImagePath()).prompts) {
      out << DescribePrompt(prompt) << "\n";
    }
  } else if (command == "answer") {
    if (args.size() > 2) throw UsageError("answer takes at most one argument");
    std::optional<double> remaining;
    if (args.size() == 2) {
      double energy = 0;
      if (!TryStrToFloat(args[1], energy)) throw UsageError("the remaining energy is a number");
      remaining = energy;
    }
    const TMeterAnswer answer = AnswerSale(Dcrf32Drv(), remaining);
    out << "meter kind " << answer.kindCode << " answered in area " << answer.returnArea << ": "
        << answer.frame << "\n";
  } else {
    throw UsageError("unknown command " + command);
  }
  return 0;
}

}  // namespace

int RunCardTool(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  try {
    return Run(args, out, err);
  } catch (const UsageError& error) {
    err << error.what() << "\n" << kUsage;
    return 2;
  } catch (const std::exception& error) {
    err << error.what() << "\n";
    return 1;
  }
}

}  // namespace wenlock::cardtool
