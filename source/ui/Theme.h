#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

// The per-device colour themes: six ARGB colours for each device index (0 the bootloader or no
// device, 1 Nimbrel, 2 Embervale, 3 Nightcrest). Slot 0 is the accent of the header, logo and
// status texts; the look and feel maps the other slots onto the widgets.
namespace Theme
{
    inline constexpr int kColourCount = 6;
    using Colours = std::array<uint32_t, kColourCount>;

    // Black at a quarter strength, drawn one pixel down and right under header texts and
    // silhouettes.
    inline constexpr uint32_t kTextShadow = 0x3F000000;

    // The table row of a device; an index outside 0 to 3 gets the bootloader's grey row.
    const Colours& forDevice(int deviceIndex);

    // Makes a device's row the active theme in `s_theme`.
    void load(int deviceIndex);
}

// The active theme, read directly by painting code; the grey row until a device is themed.
extern Theme::Colours s_theme;
