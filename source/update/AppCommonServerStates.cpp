#include "device/AppCommon.h"

// The changelog, update-information and image download steps are not in this version yet; a
// request for them ends in a plain error instead of a state that appears to download.
void AppCommon::EnterServerState(int)
{
    ReportError("Firmware downloads are not available in this version.", COMM_STATE_IDLE);
}

void AppCommon::ProcessServerState(int)
{
}
