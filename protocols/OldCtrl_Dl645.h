// Checks that recognise a control-meter frame (old layout and GB layout) at the start of a card area
// text and cut it out. Pure text functions: no logging, no exception leaves them.
#pragma once

#include <cstdint>
#include <string>

namespace wenlock {

// Results as for CheckRecvFrame: 0 complete (rdata receives the bare frame), 1 start byte,
// 4 end byte, 5 checksum, 6 a field that is not hexadecimal. rdata is written only on 0, and may be
// the same variable as sdata.
std::int32_t Check_OldCtrlMeterProtocol(const std::string& sdata, std::string& rdata);
std::int32_t Check_GBCtrlMeterProtocol(const std::string& sdata, std::string& rdata);

}  // namespace wenlock
