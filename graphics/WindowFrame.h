#pragma once
// A decoration that a parent draws around one of its child windows, on the
// parent's device: the frame owns the geometry, so the child is placed
// inside it, thickness plus distance away from the outer rectangle.
#include "frame/Kestrel5Api.h"
#include "graphics/CRectangle.h"
#include "graphics/Color.h"
#include "graphics/Point.h"
#include "graphics/Size.h"

class OutputDevice;
class Texture;
class VisualStylist;
class Window;

class KSAPI WindowFrame
{
public:
    // pDev is the parent's device; it must outlive the frame.
    WindowFrame(OutputDevice *pDev, short nThick, short nDist);
    WindowFrame(WindowFrame const &rOther);
    WindowFrame &operator=(WindowFrame const &rOther);
    virtual ~WindowFrame();

    // One line in the frame colour per step of the thickness, outside in.
    virtual void Draw();
    // The frame colour becomes the texture's colour on the device.
    virtual void SetTexture(Texture const &rTexture);
    // Lets the platform's group-box theme draw the frame for pWin instead.
    virtual void CreateVisualStylist(Window *pWin);

    void SetPosPixel(Point const &rPos) { m_aPos = rPos; }
    void SetPosSizePixel(Point const &rPos, Size const &rSize);
    Point GetPosPixel() const { return m_aPos; }
    Size GetSizePixel() const { return m_aSize; }
    // The outer rectangle; inclusive edges, so one pixel more to the right
    // and below than the size.
    CRectangle GetRectangle() const;
    short &GetrNThick() { return m_nThick; }

    // The child window's area: the outer rectangle less thickness + distance
    // on every side.
    Point GetWindowPosPixel() const;
    Size GetWindowSizePixel() const;
    Point GetWindowTopRight() const;
    Point GetWindowBottomLeft() const;
    void AdaptToWindowSize(Size const &rSize);
    void SetPosPixelMinusFrame(Point const &rPos);
    void PlaceWindow(Window *pWin);
    void PlaceWindow(Window *pWin, Point const &rPos, Size const &rSize);

    void Show() { m_bVisible = true; }
    void Hide() { m_bVisible = false; }
    bool IsVisible() const { return m_bVisible; }
    void SetColor(Color const &rColor) { m_aColor = rColor; }
    Color const &GetColor() const { return m_aColor; }
    void SetBTextureBased(bool b) { m_bTextureBased = b; }
    bool GetBTextureBased() const { return m_bTextureBased; }
    VisualStylist *GetPVisualStylist() const { return m_pStylist; }

    // The stylist draws the outer rectangle when the frame is visible; true
    // when it had a theme to draw with.
    bool DrawWithStylist();

    static void SetNColors(unsigned long n) { nColors = n; }
    static unsigned long GetNColors() { return nColors; }

protected:
    // The outline lines of step i (0 = outermost) of the outer rectangle.
    void DrawTop(int i);
    void DrawLeft(int i);
    void DrawRight(int i);
    void DrawBottom(int i);
    int Frame() const { return m_nThick + m_nDist; }

    OutputDevice *m_pDev;
    VisualStylist *m_pStylist;
    Point m_aPos;
    Size m_aSize;
    Color m_aColor;
    short m_nThick;
    short m_nDist;
    bool m_bVisible;
    bool m_bTextureBased;

    static unsigned long nColors;
};
