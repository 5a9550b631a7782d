#include "window/Control.h"

Control::Control() = default;

unsigned long Control::TranslateControlStyles(int nStyle)
{
    struct Bit
    {
        int lib;
        unsigned long platform;
    };
    static Bit const table[] = {
        {0x000001, 0x00800000}, {0x000010, 0x00010000}, {0x000020, 0x00020000},
        {0x000100, 0x00004000}, {0x400000, 0x00008000},
    };
    unsigned long style = 0;
    for (Bit const &b : table)
        if (nStyle & b.lib)
            style |= b.platform;
    return style;
}
