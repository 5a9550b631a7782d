#pragma once
#include "window/Window.h"

// Base of the control classes: they create their own platform control.
class KSAPI Control : public Window
{
public:
    // Adds the platform styles of the library's control style bits.
    static unsigned long TranslateControlStyles(int nStyle);

protected:
    Control();
};
