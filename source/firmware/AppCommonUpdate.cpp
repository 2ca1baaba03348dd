#include "device/AppCommon.h"

// Updating a pedal needs the bootloader, signature and flash steps, which this version does
// not have yet; the user is told so instead of seeing an update start that cannot finish.
void AppCommon::GetUpdate(int, bool)
{
    logMessage("<GREY>Firmware updates are not available in this version.", false);
    setStatusLine("<GREY>Firmware updates are not available in this version.", true);
}
