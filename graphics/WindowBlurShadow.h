#pragma once
// A soft drop shadow, blurred by the device's effect, under the frame's
// outer rectangle.
#include "graphics/WindowFrame.h"

class KSAPI WindowBlurShadow : public WindowFrame
{
public:
    explicit WindowBlurShadow(OutputDevice *pDev);
    WindowBlurShadow(WindowBlurShadow const &) = default;
    WindowBlurShadow &operator=(WindowBlurShadow const &) = default;
    ~WindowBlurShadow() override;

    void Draw() override;
};
