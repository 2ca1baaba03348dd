#pragma once

#include "simpedal/UsbIdentity.h"

#include <string>

// How a simulated pedal appears on the computer: the device entries that make a port show up in
// the enumeration under a USB identity, backed by the pedal's pty. Attach makes it appear,
// detach makes it vanish as an unplugged device does.
class PedalAttachment
{
public:
    virtual ~PedalAttachment() = default;
    virtual void attach(const UsbIdentity& identity, const std::string& ptySlavePath) = 0;
    virtual void detach() = 0;
    // The port's path as the computer opens it, e.g. "<dev>/ttyACM0".
    virtual std::string devicePath() const = 0;
};
