#include "controls/ZnDialogBitmapButton.h"

#include "controls/UXThemeLib.h"
#include "controls/VisualStylist.h"
#include "graphics/OutputDevice.h"

#include <windows.h>
#include <uxtheme.h>
#include <vssym32.h>

namespace {

// How much of a disabled button's image shows through.
int const DISABLED_OPACITY = 96;

} // namespace

bool ZnDialogBitmapButton::SetPngBitmap(unsigned int nResId)
{
    SetPngBitmap(Bitmap::FromPngRes(nResId));
    return !m_aPng.Empty();
}

void ZnDialogBitmapButton::SetPngBitmap(Bitmap const &rBitmap)
{
    m_aPng = rBitmap;
    if (m_hWnd)
        InvalidateRect(m_hWnd, nullptr, FALSE);
}

bool ZnDialogBitmapButton::PreCreateWindow(CREATESTRUCTA &cs)
{
    cs.style = (cs.style & ~0xFul) | BS_OWNERDRAW;
    return CButton::PreCreateWindow(cs);
}

void ZnDialogBitmapButton::PreSubclassWindow()
{
    CButton::PreSubclassWindow();
    LONG_PTR style = GetWindowLongPtrA(m_hWnd, GWL_STYLE);
    SetWindowLongPtrA(m_hWnd, GWL_STYLE, (style & ~LONG_PTR(0xF)) | BS_OWNERDRAW);
}

bool ZnDialogBitmapButton::OnChildDrawItem(DRAWITEMSTRUCT *pDIS)
{
    if (!pDIS || pDIS->CtlType != ODT_BUTTON)
        return false;
    HDC dc = pDIS->hDC;
    RECT r = pDIS->rcItem;
    bool const pushed = (pDIS->itemState & ODS_SELECTED) != 0;
    bool const disabled = (pDIS->itemState & ODS_DISABLED) != 0;
    bool const focus = (pDIS->itemState & ODS_FOCUS) != 0;
    int const state = disabled ? PBS_DISABLED : pushed ? PBS_PRESSED : focus ? PBS_DEFAULTED : PBS_NORMAL;
    VisualStylist const face(pDIS->hwndItem, SString("BUTTON"), BP_PUSHBUTTON, state);
    if (face.IsValid() && UXThemeLib().IsAppThemed()) {
        face.DrawBackground(dc, CRectangle(r.left, r.top, r.right, r.bottom));
        face.GetThemeBackgroundContentRect(dc, &pDIS->rcItem, &r);
    } else {
        DrawFrameControl(dc, &r, DFC_BUTTON, DFCS_BUTTONPUSH | (pushed ? DFCS_PUSHED : 0));
        InflateRect(&r, -2, -2);
    }
    if (pushed)
        OffsetRect(&r, 1, 1);
    char text[256];
    int const n = ::GetWindowTextA(pDIS->hwndItem, text, sizeof text);
    if (!m_aPng.Empty()) {
        Size const s = m_aPng.GetSize();
        int const top = (r.top + r.bottom - s.Height()) / 2;
        int const left = n > 0 ? r.left + 4 : (r.left + r.right - s.Width()) / 2;
        OutputDevice dev(dc);
        dev.DrawBitmapHQ(FPoint(left, top), m_aPng, disabled ? DISABLED_OPACITY : 255);
        if (n > 0)
            r.left = left + s.Width();
    }
    if (n > 0) {
        int const oldMode = SetBkMode(dc, TRANSPARENT);
        COLORREF const oldColour = SetTextColor(dc, GetSysColor(disabled ? COLOR_GRAYTEXT : COLOR_BTNTEXT));
        HGDIOBJ font = reinterpret_cast<HGDIOBJ>(::SendMessageA(pDIS->hwndItem, WM_GETFONT, 0, 0));
        HGDIOBJ oldFont = font ? SelectObject(dc, font) : nullptr;
        ::DrawTextA(dc, text, n, &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
        if (oldFont)
            SelectObject(dc, oldFont);
        SetTextColor(dc, oldColour);
        SetBkMode(dc, oldMode);
    }
    if (focus) {
        RECT f = pDIS->rcItem;
        InflateRect(&f, -3, -3);
        DrawFocusRect(dc, &f);
    }
    return true;
}
