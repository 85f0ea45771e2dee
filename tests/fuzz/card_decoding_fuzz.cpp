// Card-area texts through everything that reads a card: the replacement-card record, the user
// number, the terminal's E4 F1 item, the three decoders' frame readers (the Q/GDW 130 and GB
// decoders, Morvane's readers behind them) and the old-meter stand-in's frame readers.
#include <cstdint>

#include "FuzzInput.h"
#include "MorlinFrames.h"
#include "TO_Kessel_Unit.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  wenlock::fuzzing::FuzzInput input(data, size);
  const std::string text = input.Rest();

  std::string card_no;
  wenlock::Check_BuCardFlag(text, card_no);
  wenlock::UserID_Update_2(text);
  wenlock::TGDW130_DataItem_AFNE4_F1 item;
  wenlock::GDW130_AFNE4_F1_DataItemParse(text, item);
  // Decoders report a frame they cannot read in their code; they never raise.
  wenlock::Kessel_ReadCardOper_Data(text);
  wenlock::Kessel_ReadCardOper_Data_GB(text, "1");
  wenlock::Kessel_ReadCardOper_Data_GB(text, "0");
  wenlock::morlin::ReadWriteAreaFrame(text);
  wenlock::morlin::ReadReturnAreaFrame(text);
  return 0;
}
