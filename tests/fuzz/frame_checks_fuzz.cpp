// Card-area and frame texts through every check, parse and byte helper of the frame protocols.
#include <cstdint>

#include "FuzzInput.h"
#include "OldCtrl_Dl645.h"
#include "Q_GDW130_ShareFun.h"
#include "WCard_ShareOper.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  wenlock::fuzzing::FuzzInput input(data, size);
  const std::int32_t sn = input.Int();
  const std::int32_t count = input.Int();
  const std::string text = input.Rest();

  std::string frame;
  wenlock::CheckRecvFrame(text, frame);
  wenlock::Check_OldCtrlMeterProtocol(text, frame);
  wenlock::Check_GBCtrlMeterProtocol(text, frame);
  std::string items;
  std::string card_no;
  try {
    wenlock::ParseFrameOper(text, items, card_no);
  } catch (const wenlock::ConversionError&) {  // a checked frame too short to hold its fields
  }
  try {
    wenlock::checkSum_CS(text);
  } catch (const wenlock::ConversionError&) {
  }
  wenlock::DataStrToDown(text);
  wenlock::RecvFrameCopyBytes(text, sn, count);
  wenlock::InsertBlank(sn % 64, text);
  return 0;
}
