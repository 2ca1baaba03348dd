#include "ui/Theme.h"

namespace Theme
{
Row s_theme = row(0);

const Row& row(int deviceIndex)
{
    static const Row rows[] = {
        { 0xFFBFBFBF, 0xFFBFBFBF, 0xFF3F0000, 0xFF000000, 0x00000000, 0x00000000 },
        { 0xFF00BF00, 0xFF2FCF2F, 0xFF008000, 0xFF000000, 0x00000000, 0x00000000 },
        { 0xFF6095C9, 0xFF6095C9, 0xFF304A64, 0xFF000000, 0xFFD9E0ED, 0xFFEDF1F6 },
        { 0xFFC57000, 0xFFC57000, 0xFF6A3000, 0xFF000000, 0xFFF0C900, 0xFFF1DD00 },
    };
    return rows[(deviceIndex >= 0 && deviceIndex < 4) ? deviceIndex : 0];
}
}
