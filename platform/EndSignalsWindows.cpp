#include "platform/EndSignals.h"

namespace platform {

void CatchEndSignals() {}

bool TakeEndRequest() { return false; }

int EndRequestDescriptor() { return -1; }

}  // namespace platform
