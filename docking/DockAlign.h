#pragma once
// The frame bar alignment bits that dock positions and layouts use for
// sides and margins. Persisted as 32-bit values. The names differ from the
// platform framework's own macros so that both can be seen at once.
enum DockAlign : unsigned long
{
    DockAlignNone = 0,
    DockAlignLeft = 0x1000,
    DockAlignTop = 0x2000,
    DockAlignRight = 0x4000,
    DockAlignBottom = 0x8000,
    DockAlignAny = 0xF000
};
