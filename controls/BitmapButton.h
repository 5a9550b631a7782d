#pragma once
#include "controls/PushButton.h"
#include "graphics/Bitmap.h"

class OutputDevice;

// A push button showing a bitmap in the middle of its face.
//
// Made with one bitmap, it is a platform bitmap button (owner-drawn when
// visual styles are off); made with resource ids, it is owner-drawn with a
// bitmap per state: normal, pressed, hot (the mouse over it) and disabled.
// A state without a bitmap of its own shows the normal one: pressed moved
// down and right by a pixel, disabled greyed.
class KSAPI BitmapButton : public PushButton
{
public:
    // bFlat adds the library style bit 0x400000.
    BitmapButton(Window *pParent, Bitmap const &rBitmap, bool bFlat);
    // Bitmap resources of the image module; 0 = none.
    BitmapButton(Window *pParent, int nNormal, int nPressed, int nHot, int nDisabled);

    // The normal bitmap; the platform button shows it when it draws itself.
    void SetBitmap(Bitmap const &rBitmap);
    void SetBitmaps(int nNormal, int nPressed, int nHot, int nDisabled);
    Bitmap const &GetBitmap() const { return m_aNormal; }
    bool IsHot() const { return m_bHot; }

    void DrawButtonFace(DRAWITEMSTRUCT *pDIS) override;
    void MouseMove(MouseEvent const &rEvt) override;
    void MouseLeave(MouseEvent const &rEvt) override;

protected:
    // Draws the bitmap of the state centred in the face: the magenta key
    // transparent; greyed when bGrey (half its brightness over a light
    // grey). Override to draw differently.
    virtual void DrawBitmapHook(OutputDevice &rDev, CRectangle const &rFace, Bitmap const &rBitmap, bool bGrey);

private:
    Bitmap m_aNormal;
    Bitmap m_aPressed;
    Bitmap m_aHot;
    Bitmap m_aDisabled;
    bool m_bHot;
};
