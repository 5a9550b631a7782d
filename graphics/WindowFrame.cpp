#include "graphics/WindowFrame.h"

#include "controls/VisualStylist.h"
#include "graphics/OutputDevice.h"
#include "graphics/Pen.h"
#include "graphics/Texture.h"
#include "window/Window.h"

unsigned long WindowFrame::nColors = 0;

WindowFrame::WindowFrame(OutputDevice *pDev, short nThick, short nDist)
    : m_pDev(pDev), m_pStylist(nullptr), m_aColor(ColorNameBlack), m_nThick(nThick), m_nDist(nDist),
      m_bVisible(true), m_bTextureBased(false)
{
}

WindowFrame::WindowFrame(WindowFrame const &r)
    : m_pDev(r.m_pDev), m_pStylist(r.m_pStylist ? new VisualStylist(*r.m_pStylist) : nullptr), m_aPos(r.m_aPos),
      m_aSize(r.m_aSize), m_aColor(r.m_aColor), m_nThick(r.m_nThick), m_nDist(r.m_nDist), m_bVisible(r.m_bVisible),
      m_bTextureBased(r.m_bTextureBased)
{
}

WindowFrame &WindowFrame::operator=(WindowFrame const &r)
{
    if (this != &r) {
        // Copy first: a failing copy leaves this frame as it was.
        VisualStylist *pStylist = r.m_pStylist ? new VisualStylist(*r.m_pStylist) : nullptr;
        delete m_pStylist;
        m_pStylist = pStylist;
        m_pDev = r.m_pDev;
        m_aPos = r.m_aPos;
        m_aSize = r.m_aSize;
        m_aColor = r.m_aColor;
        m_nThick = r.m_nThick;
        m_nDist = r.m_nDist;
        m_bVisible = r.m_bVisible;
        m_bTextureBased = r.m_bTextureBased;
    }
    return *this;
}

WindowFrame::~WindowFrame()
{
    delete m_pStylist;
}

void WindowFrame::SetPosSizePixel(Point const &rPos, Size const &rSize)
{
    m_aPos = rPos;
    m_aSize = rSize;
}

CRectangle WindowFrame::GetRectangle() const
{
    return CRectangle(m_aPos, Size(m_aSize.Width() + 1, m_aSize.Height() + 1));
}

Point WindowFrame::GetWindowPosPixel() const
{
    return Point(m_aPos.X() + Frame(), m_aPos.Y() + Frame());
}

Size WindowFrame::GetWindowSizePixel() const
{
    return Size(m_aSize.Width() - 2 * Frame(), m_aSize.Height() - 2 * Frame());
}

Point WindowFrame::GetWindowTopRight() const
{
    return Point(GetWindowPosPixel().X() + GetWindowSizePixel().Width(), GetWindowPosPixel().Y());
}

Point WindowFrame::GetWindowBottomLeft() const
{
    return Point(GetWindowPosPixel().X(), GetWindowPosPixel().Y() + GetWindowSizePixel().Height());
}

void WindowFrame::AdaptToWindowSize(Size const &rSize)
{
    m_aSize = Size(rSize.Width() + 2 * Frame(), rSize.Height() + 2 * Frame());
}

void WindowFrame::SetPosPixelMinusFrame(Point const &rPos)
{
    m_aPos = Point(rPos.X() - Frame(), rPos.Y() - Frame());
}

void WindowFrame::PlaceWindow(Window *pWin)
{
    if (pWin)
        pWin->SetPosSizePixel(GetWindowPosPixel(), GetWindowSizePixel());
}

void WindowFrame::PlaceWindow(Window *pWin, Point const &rPos, Size const &rSize)
{
    SetPosSizePixel(rPos, rSize);
    PlaceWindow(pWin);
}

void WindowFrame::CreateVisualStylist(Window *pWin)
{
    if (!pWin)
        return;
    auto *pNew = new VisualStylist(pWin->GetHWND(), SString("Button"), 4, 0);
    delete m_pStylist;
    m_pStylist = pNew;
}

bool WindowFrame::DrawWithStylist()
{
    if (!m_bVisible || !m_pStylist || !m_pDev)
        return false;
    m_pStylist->DrawBackground(m_pDev->GethDC(), GetRectangle());
    return m_pStylist->IsValid();
}

void WindowFrame::SetTexture(Texture const &rTexture)
{
    m_aColor = rTexture.GetColor(m_pDev);
}

void WindowFrame::DrawTop(int i)
{
    int L = m_aPos.X(), T = m_aPos.Y(), W = m_aSize.Width();
    m_pDev->DrawLine(Point(L + i, T + i), Point(L + W - 1 - i, T + i));
}

void WindowFrame::DrawLeft(int i)
{
    int L = m_aPos.X(), T = m_aPos.Y(), H = m_aSize.Height();
    m_pDev->DrawLine(Point(L + i, T + i), Point(L + i, T + H - 1 - i));
}

void WindowFrame::DrawRight(int i)
{
    int L = m_aPos.X(), T = m_aPos.Y(), W = m_aSize.Width(), H = m_aSize.Height();
    m_pDev->DrawLine(Point(L + W - 1 - i, T + i), Point(L + W - 1 - i, T + H - 1 - i));
}

void WindowFrame::DrawBottom(int i)
{
    int L = m_aPos.X(), T = m_aPos.Y(), W = m_aSize.Width(), H = m_aSize.Height();
    m_pDev->DrawLine(Point(L + i, T + H - 1 - i), Point(L + W - 1 - i, T + H - 1 - i));
}

void WindowFrame::Draw()
{
    if (!m_bVisible || !m_pDev || DrawWithStylist())
        return;
    Pen old = m_pDev->GetPen();
    m_pDev->ChangePen(Pen(m_aColor, 1, PS_SOLID));
    for (int i = 0; i < m_nThick; ++i) {
        DrawTop(i);
        DrawLeft(i);
        DrawRight(i);
        DrawBottom(i);
    }
    m_pDev->ChangePen(old);
}
