// The context the card service object runs its transactions in: the reader maker's dcrf32 and the
// old-meter server "Brackwell.Morlin".
#include "TO_Kessel_Unit.h"

namespace wenlock {

const TCardTransactionContext& DefaultCardTransactionContext() {
  static const TCardTransactionContext context{&Dcrf32Drv(), ProductionOldMeterServers()};
  return context;
}

}  // namespace wenlock
