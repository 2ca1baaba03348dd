#include "device/AppCommon.h"

// The signature check and the erase, program, verify and reboot steps are not in this version
// yet. A pedal that reaches them is told so plainly and the machine goes back to idle, rather
// than sitting in a state that looks as if it were programming.
void AppCommon::EnterFirmwareState(int)
{
    ReportError("Firmware programming is not available in this version.", COMM_STATE_IDLE);
}

void AppCommon::ProcessFirmwareState(int)
{
}

void AppCommon::OnWordReceived(int)
{
}
