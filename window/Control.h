#pragma once
#include "window/Window.h"

// Base of the control classes: they create their own platform control.
class KSAPI Control : public Window
{
protected:
    Control();
};
