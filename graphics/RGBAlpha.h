#pragma once
// A colour with alpha packed as the 32-bit pixels of a DIB section and of the
// alpha-blending calls: red in the low byte, then green, blue, alpha.
#include <windef.h>

#include "frame/Kestrel5Api.h"
#include "graphics/Color.h"
#include "text/SString.h"

class KSAPI RGBAlpha
{
public:
    RGBAlpha() noexcept : m_nValue(0) {}
    RGBAlpha(unsigned char r, unsigned char g, unsigned char b, unsigned char a) noexcept
        : m_nValue(r | unsigned(g) << 8 | unsigned(b) << 16 | unsigned(a) << 24)
    {
    }
    // The top byte of a colour word flags palette colours on the platform;
    // it is dropped so that it cannot become alpha.
    RGBAlpha(COLORREF rgb, unsigned char alpha) noexcept
        : m_nValue((static_cast<unsigned>(rgb) & 0xFFFFFFu) | unsigned(alpha) << 24)
    {
    }
    RGBAlpha(unsigned int raw) noexcept : m_nValue(raw) {}

    operator unsigned int() const noexcept { return m_nValue; }

    unsigned char GetRed() const noexcept { return Byte(0); }
    unsigned char GetGreen() const noexcept { return Byte(8); }
    unsigned char GetBlue() const noexcept { return Byte(16); }
    unsigned char GetAlpha() const noexcept { return Byte(24); }
    void SetRed(unsigned char v) noexcept { SetByte(0, v); }
    void SetGreen(unsigned char v) noexcept { SetByte(8, v); }
    void SetBlue(unsigned char v) noexcept { SetByte(16, v); }
    void SetAlpha(unsigned char v) noexcept { SetByte(24, v); }

    // This colour laid over back with its alpha as opacity; the result is
    // opaque in colour but keeps its alpha byte.
    void MixTransparent(Color const &back) noexcept;
    // The form AlphaBlend with AC_SRC_ALPHA expects.
    void PreMultiplyAlpha() noexcept;
    // "r=..g=..b=..a=..", for test output and logs.
    SString GetStr() const;

private:
    unsigned char Byte(int shift) const noexcept { return static_cast<unsigned char>(m_nValue >> shift); }
    void SetByte(int shift, unsigned char v) noexcept
    {
        m_nValue = (m_nValue & ~(0xFFu << shift)) | unsigned(v) << shift;
    }

    unsigned int m_nValue;
};
