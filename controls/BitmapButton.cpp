#include "controls/BitmapButton.h"

#include "graphics/OutputDevice.h"

#include <windows.h>

BitmapButton::BitmapButton(Window *pParent, Bitmap const &rBitmap, bool bFlat) : m_bHot(false)
{
    InitButton(pParent, bFlat ? 0x400000 : 0, 16384, pParent ? GetControlIdCnt() : 0);
    SetBitmap(rBitmap);
}

BitmapButton::BitmapButton(Window *pParent, int nNormal, int nPressed, int nHot, int nDisabled) : m_bHot(false)
{
    InitButton(pParent, 0, 0x80000, pParent ? GetControlIdCnt() : 0);
    SetBitmaps(nNormal, nPressed, nHot, nDisabled);
}

void BitmapButton::SetBitmap(Bitmap const &rBitmap)
{
    m_aNormal = rBitmap;
    if (HWND h = GetHWND()) {
        // The platform button keeps only the handle: the body stays ours.
        HBITMAP shown = rBitmap.Empty() ? nullptr : static_cast<HBITMAP>(rBitmap);
        SendMessageA(h, BM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(shown));
        InvalidateRect(h, nullptr, FALSE);
    }
}

void BitmapButton::SetBitmaps(int nNormal, int nPressed, int nHot, int nDisabled)
{
    auto load = [](int id) { return id > 0 ? Bitmap(static_cast<unsigned int>(id)) : Bitmap(); };
    m_aPressed = load(nPressed);
    m_aHot = load(nHot);
    m_aDisabled = load(nDisabled);
    SetBitmap(load(nNormal));
}

void BitmapButton::MouseMove(MouseEvent const &rEvt)
{
    PushButton::MouseMove(rEvt);
    if (!m_bHot) {
        m_bHot = true;
        Invalidate();
    }
}

void BitmapButton::MouseLeave(MouseEvent const &rEvt)
{
    PushButton::MouseLeave(rEvt);
    if (m_bHot) {
        m_bHot = false;
        Invalidate();
    }
}

void BitmapButton::DrawButtonFace(DRAWITEMSTRUCT *pDIS)
{
    if (!pDIS)
        return;
    HDC dc = pDIS->hDC;
    RECT r = pDIS->rcItem;
    bool const pushed = (pDIS->itemState & ODS_SELECTED) != 0;
    bool const disabled = (pDIS->itemState & ODS_DISABLED) != 0;
    DrawFrameControl(dc, &r, DFC_BUTTON, DFCS_BUTTONPUSH | (pushed ? DFCS_PUSHED : 0));
    Bitmap const *shown = &m_aNormal;
    bool grey = false;
    int shift = 0;
    if (disabled) {
        grey = m_aDisabled.Empty();
        if (!grey)
            shown = &m_aDisabled;
    } else if (pushed) {
        if (m_aPressed.Empty())
            shift = 1;
        else
            shown = &m_aPressed;
    } else if (m_bHot && !m_aHot.Empty()) {
        shown = &m_aHot;
    }
    if (!shown->Empty()) {
        OutputDevice dev(dc);
        CRectangle face(r.left + shift, r.top + shift, r.right - 1 + shift, r.bottom - 1 + shift);
        DrawBitmapHook(dev, face, *shown, grey);
    }
    if (pDIS->itemState & ODS_FOCUS) {
        RECT f = pDIS->rcItem;
        InflateRect(&f, -3, -3);
        DrawFocusRect(dc, &f);
    }
}

void BitmapButton::DrawBitmapHook(OutputDevice &rDev, CRectangle const &rFace, Bitmap const &rBitmap, bool bGrey)
{
    Size const s = rBitmap.GetSize();
    Point const at(rFace.Left() + (rFace.GetWidth() - s.Width()) / 2,
                   rFace.Top() + (rFace.GetHeight() - s.Height()) / 2);
    if (!bGrey) {
        rDev.DrawBitmapTransparent(at, rBitmap);
        return;
    }
    // Greyed as the platform greys disabled pictures: embossed in the
    // shadow and highlight colours.
    HDC h = rDev.GethDC();
    DrawStateA(h, nullptr, nullptr, reinterpret_cast<LPARAM>(static_cast<HBITMAP>(rBitmap)), 0, at.X(), at.Y(),
               s.Width(), s.Height(), DST_BITMAP | DSS_DISABLED);
}
