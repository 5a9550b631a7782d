#include "graphics/VirtualDevice.h"

#include "graphics/Bitmap.h"

#include <cmath>
#include <windows.h>

namespace {

volatile long g_nVirtualDevices = 0;

} // namespace

long VirtualDevice::GetDeviceCount()
{
    return InterlockedCompareExchange(&g_nVirtualDevices, 0, 0);
}

VirtualDevice::VirtualDevice()
    : m_hInitBitmap(nullptr), m_hBitmap(nullptr), m_bScreen(true), m_nBitmapError(0)
{
    ImpInit(nullptr, true);
}

VirtualDevice::VirtualDevice(OutputDevice &rDev)
    : m_hInitBitmap(nullptr), m_hBitmap(nullptr), m_bScreen(false), m_nBitmapError(0)
{
    HDC ref = rDev.GethDC();
    ImpInit(ref, ref == nullptr);
}

VirtualDevice::VirtualDevice(VirtualDevice &rDev)
    : OutputDevice(), m_hInitBitmap(nullptr), m_hBitmap(nullptr), m_bScreen(false), m_nBitmapError(0)
{
    HDC ref = rDev.GethDC();
    ImpInit(ref, ref == nullptr);
}

VirtualDevice::VirtualDevice(OutputDevice &rDev, Bitmap const &rBitmap) : VirtualDevice(rDev)
{
    if (!rBitmap.Empty() && SetOutputSize(rBitmap.GetSize(), false))
        DrawBitmapHQ(FPoint(0, 0), rBitmap, 255);
}

VirtualDevice::VirtualDevice(HDC hDC)
    : m_hInitBitmap(nullptr), m_hBitmap(nullptr), m_bScreen(false), m_nBitmapError(0)
{
    ImpInit(hDC, hDC == nullptr);
}

void VirtualDevice::ImpInit(HDC hRefDC, bool bScreen)
{
    m_nDevKind = OutputDeviceMemory;
    m_bScreen = bScreen;
    InterlockedIncrement(&g_nVirtualDevices);
    m_hDC = CreateCompatibleDC(hRefDC);
    if (!m_hDC)
        return;
    m_hBitmap = bScreen ? CreateBitmap(8, 8, 1, 1, nullptr) : CreateCompatibleBitmap(hRefDC, 1, 1);
    if (m_hBitmap)
        m_hInitBitmap = SelectObject(m_hDC, m_hBitmap);
}

VirtualDevice::~VirtualDevice()
{
    if (m_hDC && m_hInitBitmap)
        SelectObject(m_hDC, m_hInitBitmap);
    ReleaseDevice();
    if (m_hBitmap)
        DeleteObject(m_hBitmap);
    m_hBitmap = nullptr;
    InterlockedDecrement(&g_nVirtualDevices);
}

bool VirtualDevice::SetOutputSize(Size const &rSize, bool bErase)
{
    if (rSize == m_aOutputSize && m_hBitmap)
        return true;
    HDC h = GethDC();
    if (!h || rSize.Width() <= 0 || rSize.Height() <= 0)
        return false;
    HDC ref = h;
    if (m_bScreen)
        ref = ::GetDC(nullptr);
    Size const tries[3] = {rSize, Size(rSize.Width(), int(std::trunc(rSize.Height() * 0.5))),
                           Size(int(std::trunc(rSize.Width() * 0.6)), int(std::trunc(rSize.Height() * 0.5)))};
    HBITMAP made = nullptr;
    Size size;
    for (Size const &s : tries) {
        if (s.Width() <= 0 || s.Height() <= 0)
            break;
        made = CreateCompatibleBitmap(ref ? ref : h, s.Width(), s.Height());
        if (made) {
            size = s;
            break;
        }
        m_nBitmapError = GetLastError();
        if (m_nBitmapError == 0)
            m_nBitmapError = ERROR_NOT_ENOUGH_MEMORY;
    }
    if (m_bScreen && ref)
        ::ReleaseDC(nullptr, ref);
    // When nothing could be made the device keeps the bitmap it has.
    if (!made)
        return false;
    HGDIOBJ old = SelectObject(h, made);
    if (!m_hInitBitmap)
        m_hInitBitmap = old;
    if (m_hBitmap)
        DeleteObject(m_hBitmap);
    m_hBitmap = made;
    m_aOutputSize = size;
    if (bErase)
        Erase(m_aBackgroundBrush.GetColor(), CRectangle(Point(0, 0), size));
    return true;
}
