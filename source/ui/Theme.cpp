#include "ui/Theme.h"

namespace
{
constexpr std::array<Theme::Colours, 4> kThemeTable { {
    { 0xFFBFBFBF, 0xFFBFBFBF, 0xFF3F0000, 0xFF000000, 0x00000000, 0x00000000 },
    { 0xFF00BF00, 0xFF2FCF2F, 0xFF008000, 0xFF000000, 0x00000000, 0x00000000 },
    { 0xFF6095C9, 0xFF6095C9, 0xFF304A64, 0xFF000000, 0xFFD9E0ED, 0xFFEDF1F6 },
    { 0xFFC57000, 0xFFC57000, 0xFF6A3000, 0xFF000000, 0xFFF0C900, 0xFFF1DD00 },
} };
}

// Constant-initialised, so painting during another file's static set-up still finds a theme.
Theme::Colours s_theme = kThemeTable[0];

namespace Theme
{
const Colours& forDevice(int deviceIndex)
{
    const bool known = deviceIndex >= 0 && deviceIndex < (int) kThemeTable.size();
    return kThemeTable[known ? (std::size_t) deviceIndex : 0];
}

void load(int deviceIndex)
{
    s_theme = forDevice(deviceIndex);
}
}
