#pragma once

#include <juce_core/juce_core.h>

#include <cstdint>

// Pieces of the port scan that every platform's getSerialPortPaths shares.
namespace SerialPortEnumeration
{
    // Whether a port with these USB ids passes the filters: an empty vendor or product id
    // accepts any, ids compare without regard to case, interface 0 accepts any interface.
    bool matches(const juce::String& wantedVendor, const juce::String& wantedProduct, uint16_t wantedInterface,
                 const juce::String& vendor, const juce::String& product, int interfaceNumber);

    // The descriptive key of a port: friendly name, " | ", the path, and the USB identity as
    // "[VID_vvvv&PID_pppp&MI_ii]" (ids as the system spells them, interface as two hex digits).
    juce::String makeKey(const juce::String& friendlyName, const juce::String& path, const juce::String& vendor,
                         const juce::String& product, int interfaceNumber);

    // Appends `report` and CR LF to `log` when the report differs from the last one published by
    // this process (initially "init"), and keeps it. Identical reports add nothing.
    void publishReport(const juce::String& report, juce::String* log);
}
