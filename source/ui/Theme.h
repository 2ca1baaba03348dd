#pragma once

#include <array>
#include <cstdint>

// The per-model colour theme: six ARGB colours per device index (0 = bootloader or none).
namespace Theme
{
    using Row = std::array<uint32_t, 6>;

    const Row& row(int deviceIndex);

    // The colours in use, loaded from a row by the window's theme change.
    extern Row s_theme;
}
