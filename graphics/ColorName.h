#pragma once
// Names of the slots of the colour table kept in the global data block.
// Slots 16 to 28 are the system's colours as they were when the library
// started; a later change of the system colours does not reach them.
//
// The underlying type is fixed so that any int an application casts to a
// ColorName is a valid value: Color(ColorName) answers black for those that
// name no filled slot instead of the cast itself being undefined.

enum ColorName : int
{
    ColorNameBlack = 0,
    ColorNameBlue = 1,
    ColorNameGreen = 2,
    ColorNameCyan = 3,
    ColorNameRed = 4,
    ColorNameMagenta = 5,
    ColorNameBrown = 6,
    ColorNameGray = 7,
    ColorNameLightGray = 8,
    ColorNameLightBlue = 9,
    ColorNameLightGreen = 10,
    ColorNameLightCyan = 11,
    ColorNameLightRed = 12,
    ColorNameLightMagenta = 13,
    ColorNameYellow = 14,
    ColorNameWhite = 15,
    ColorNameMenu = 16,
    ColorNameMenuText = 17,
    ColorNameMenu2 = 18,
    ColorNameMenuText2 = 19,
    ColorNameWindowText = 20,
    ColorNameWindow = 21,
    ColorNameHighlight = 22,
    ColorNameHighlightText = 23,
    ColorNameButtonText = 24,
    ColorNameButtonFace = 25,
    ColorNameButtonLight = 26,
    ColorNameButtonShadow = 27,
    ColorNameScrollBar = 28,
    ColorNameTan = 29
};
