#pragma once
#include "frame/Kestrel5Api.h"
#include "graphics/OutputDevice.h"

// An off-screen device: a memory DC with a bitmap of its own, for drawing
// that is copied elsewhere afterwards or read back pixel by pixel.
class KSAPI VirtualDevice : public OutputDevice
{
public:
    // Compatible with the screen; until SetOutputSize it holds an 8 x 8
    // monochrome bitmap.
    VirtualDevice();
    // Compatible with the device's HDC, which is obtained first when needed.
    explicit VirtualDevice(OutputDevice &rDev);
    explicit VirtualDevice(VirtualDevice &rDev);
    // Compatible with the device, of the bitmap's size, with the bitmap
    // drawn on it at (0, 0).
    VirtualDevice(OutputDevice &rDev, Bitmap const &rBitmap);
    explicit VirtualDevice(HDC hDC);
    ~VirtualDevice() override;

    // Gives the device a bitmap of the size; when the platform refuses it,
    // smaller ones are tried (half the height, then also 60 % of the width)
    // and the one made sets the output size. With bErase the area is filled
    // with the background brush's colour (white without one).
    bool SetOutputSize(Size const &rSize, bool bErase = true);
    Size GetOutputSizePixel() const override { return m_aOutputSize; }
    bool IsPrinter() const override { return false; }
    // The platform's error code of the last bitmap that could not be made.
    unsigned long GetBitmapError() const { return m_nBitmapError; }

    // Live virtual devices of the process.
    static long GetDeviceCount();

private:
    void ImpInit(HDC hRefDC, bool bScreen);

    HGDIOBJ m_hInitBitmap;
    HBITMAP m_hBitmap;
    Size m_aOutputSize;
    // Made on the screen: new bitmaps are made compatible with the screen,
    // not with the monochrome bitmap the DC starts with.
    bool m_bScreen;
    unsigned long m_nBitmapError;
};
