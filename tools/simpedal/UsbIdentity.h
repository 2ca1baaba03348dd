#pragma once

#include <string>

// What the pedal shows the computer on the USB bus in one of its modes.
struct UsbIdentity
{
    std::string vid;  // lower-case hexadecimal, as Linux writes idVendor
    std::string pid;
    int interfaceNumber = 0;
    std::string manufacturer;  // empty: the device has no such string
    std::string product;
    std::string serial;

    // The pedal's application firmware: the catalogue's identity of the model.
    static UsbIdentity application(int model, const std::string& serial);
    // The microcontroller's ROM bootloader, the same for every model.
    static UsbIdentity bootloader();
};
