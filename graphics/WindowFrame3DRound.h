#pragma once
// A frame whose edges fade between the light and the dark colour: the top
// and left from light outside towards dark inside, the bottom and right the
// other way, so that the frame looks rounded.
#include "graphics/WindowFrame3D.h"

class KSAPI WindowFrame3DRound : public WindowFrame3D
{
public:
    WindowFrame3DRound(OutputDevice *pDev, short nThick, short nDist, bool bSunken);
    WindowFrame3DRound(WindowFrame3DRound const &) = default;
    WindowFrame3DRound &operator=(WindowFrame3DRound const &) = default;
    ~WindowFrame3DRound() override;

    void Draw() override;
};
