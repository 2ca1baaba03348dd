#include "simpedal/UsbIdentity.h"

#include "device/DeviceCatalogue.h"

namespace
{
UsbIdentity fromRow(int index)
{
    const auto rows = DeviceCatalogue::rows({}, {});
    const auto& row = rows[static_cast<size_t>(index)];
    UsbIdentity identity;
    identity.vid = row.vid.toLowerCase().toStdString();
    identity.pid = row.pid.toLowerCase().toStdString();
    identity.interfaceNumber = row.usbInterface;
    return identity;
}
}

UsbIdentity UsbIdentity::application(int model, const std::string& serial)
{
    UsbIdentity identity = fromRow(model);
    identity.manufacturer = "Halvane";
    identity.product = DeviceCatalogue::rows({}, {})[static_cast<size_t>(model)].name.toStdString();
    identity.serial = serial;
    return identity;
}

UsbIdentity UsbIdentity::bootloader()
{
    return fromRow(DeviceCatalogue::kBootloader);
}
