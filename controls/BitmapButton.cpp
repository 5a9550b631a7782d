#include "controls/BitmapButton.h"

#include "graphics/GdiplusView.h"
#include "graphics/OutputDevice.h"

#include <windows.h>
#include <objidl.h>
#include <gdiplus.h>

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
        InitMouseTracking(TME_LEAVE); // so that leaving it is reported
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
    Face const face = DrawPushFrame(pDIS);
    HDC dc = face.hDC;
    RECT r = face.aRect;
    bool const pushed = face.bPushed, disabled = face.bDisabled;
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
    // Greyed: the picture's brightness only, lightened towards the face,
    // the key colour left out.
    GdiplusView view(rBitmap);
    HDC h = rDev.GethDC();
    if (!view.Get() || !h)
        return;
    Gdiplus::Graphics g(h);
    Gdiplus::ColorMatrix m{};
    for (int row = 0; row < 3; ++row) {
        m.m[row][0] = m.m[row][1] = m.m[row][2] = row == 0 ? 0.30f : row == 1 ? 0.59f : 0.11f;
        m.m[row][0] *= 0.5f;
        m.m[row][1] *= 0.5f;
        m.m[row][2] *= 0.5f;
    }
    m.m[3][3] = 1.0f;
    m.m[4][0] = m.m[4][1] = m.m[4][2] = 0.45f;
    m.m[4][4] = 1.0f;
    Gdiplus::ImageAttributes attributes;
    attributes.SetColorMatrix(&m);
    Gdiplus::Color const key(255, 255, 0, 255);
    attributes.SetColorKey(key, key);
    g.DrawImage(view.Get(), Gdiplus::Rect(at.X(), at.Y(), s.Width(), s.Height()), 0, 0, s.Width(), s.Height(),
                Gdiplus::UnitPixel, &attributes);
}
