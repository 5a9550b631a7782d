#pragma once
// A drop shadow right of and below the child window: one translucent line
// pair per step of the thickness, growing outwards and fading.
#include "graphics/WindowFrame.h"

class KSAPI WindowShadow : public WindowFrame
{
public:
    WindowShadow(OutputDevice *pDev, short nThick, short nDist);
    WindowShadow(WindowShadow const &) = default;
    WindowShadow &operator=(WindowShadow const &) = default;
    ~WindowShadow() override;

    void Draw() override;
    // The opacity in percent of step i: 70, 55, 40, 25, 10, 10 …
    static int StepOpacity(int i);
};
