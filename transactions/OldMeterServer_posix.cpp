// No automation servers exist outside Windows: the old-meter paths report the server missing.
#include "OldMeterServer.h"

namespace wenlock {

OldMeterServerFactory ProductionOldMeterServers() {
  return []() -> std::unique_ptr<IOldMeterServer> {
    throw OldMeterServerError("server not available");
  };
}

}  // namespace wenlock
