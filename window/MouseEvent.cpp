#include "window/MouseEvent.h"
#include "window/Window.h"

Point MouseEvent::GetScreenPosPixel() const
{
    return pWindow ? pWindow->OutputToScreenPixel(aPos) : aPos;
}
