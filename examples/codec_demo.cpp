// A C client of Wenlock's flat exports: builds a Q/GDW 130 purchase-test frame, finds it again in a
// card-area text padded as a card area is, takes it apart and converts a value each way.
#include <cstdio>
#include <string>

#include "WenlockFlatExports.h"

int main() {
  const TGDW130_ProtDef definition{"4A", "3301", "12", "1", "E4", "1",
                                   "4523010000001100030050120000"};
  const std::string frame = SendFrame_RW(definition);
  std::printf("frame built       : %s\n", frame.c_str());

  const std::string area = frame + std::string(480 - frame.size(), 'F');
  const char* found = "";
  std::printf("frame check       : %d\n", CheckRecvFrame(area.c_str(), &found));
  std::printf("frame found       : %s\n", found);

  const char* data = "";
  const char* terminal = "";
  std::printf("frame parse       : %d\n", ParseFrameOper(found, &data, &terminal));
  std::printf("terminal address  : %s\n", terminal);
  std::printf("data units        : %s\n", data);
  std::printf("12.5 in format 11 : %s\n", DataToFormat("12.5", 11, 0));
  std::printf("back from format  : %s\n", FormatToData(DataToFormat("12.5", 11, 0), 11));
  std::printf("log folder        : log (one file a day, WriteCard_yyyy-MM-dd.log)\n");
  return frame.empty() || *data == '\0' ? 1 : 0;
}
