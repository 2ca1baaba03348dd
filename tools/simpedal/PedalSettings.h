#pragma once

#include <string>

// How a simulated pedal is built: which model, what its firmware reports, and its timing.
struct PedalSettings
{
    int model = 1;  // device index: 1 Nimbrel, 2 Embervale, 3 Nightcrest
    std::string version = "v1.04.5.0.UNDEF.0";
    std::string serial = "HV0000001";
    int latencyMs = 1;             // USB round trip added to every reply
    int factoryDelayMs = 300;      // time the factory reset takes before "OK"
    int updateDropMs = 20;         // from "Update" until the application port disappears
    int bootloaderAppearMs = 400;  // from the drop until the bootloader port appears
    std::string monitorBanner = "v1.2 simulated ROM monitor";
    std::string ttyName = "ttyACM0";
    std::string usbPort = "1-1";   // the USB device folder name, as the hub port numbering gives it
};

enum class PedalMode { Unplugged, Application, Restarting, Bootloader };

const char* pedalModeName(PedalMode mode);
