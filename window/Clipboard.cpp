#include "window/Clipboard.h"

#include "base/Container.h"
#include "frame/KSData.h"
#include "frame/KSGlobal.h"
#include "graphics/ColorName.h"
#include "mfc/CWnd.h"

#include <cstring>
#include <vector>
#include <windows.h>

namespace {

// Opens the platform clipboard unless the library holds it already or the
// platform holds it for a rendering; false when it cannot be opened.
bool Open()
{
    KSData *data = GetPKSData();
    if (!data)
        return false;
    if (data->m_bClipboardOpen || data->m_nClipRequestFormat)
        return true;
    HWND owner = data->m_pMainWnd && data->m_pMainWnd->m_hWnd ? data->m_pMainWnd->m_hWnd : GetDesktopWindow();
    data->m_bClipboardOpen = OpenClipboard(owner) != 0;
    return data->m_bClipboardOpen;
}

void ForgetPrivate()
{
    if (KSData *data = GetPKSData()) {
        data->m_bClipPrivateDataValid = false;
        data->m_pClipPrivateData = nullptr;
    }
}

// A movable block of n bytes holding p's bytes (zeros beyond them), set as
// the platform format; the platform owns it from then on.
int SetBlock(unsigned long nPlatform, void const *p, size_t nCopy, size_t nSize)
{
    HGLOBAL h = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, nSize ? nSize : 1);
    if (!h)
        return 0;
    void *dst = GlobalLock(h);
    if (!dst) {
        GlobalFree(h);
        return 0;
    }
    if (p && nCopy)
        std::memcpy(dst, p, nCopy);
    GlobalUnlock(h);
    if (!SetClipboardData(static_cast<UINT>(nPlatform), h)) {
        GlobalFree(h);
        return 0;
    }
    return 1;
}

// The locked bytes of a platform format, unlocked when the view goes.
struct View
{
    explicit View(unsigned long nPlatform)
        : h(GetClipboardData(static_cast<UINT>(nPlatform))), p(h ? GlobalLock(h) : nullptr),
          n(p ? GlobalSize(h) : 0)
    {
    }
    ~View()
    {
        if (p)
            GlobalUnlock(h);
    }
    View(View const &) = delete;
    View &operator=(View const &) = delete;
    HANDLE h;
    void *p;
    size_t n;
};

// A device-dependent copy of the bitmap, which the clipboard then owns.
HBITMAP CopyOfBitmap(HBITMAP hSource)
{
    BITMAP bm{};
    if (!hSource || !GetObjectA(hSource, sizeof bm, &bm))
        return nullptr;
    HDC screen = GetDC(nullptr);
    HDC from = CreateCompatibleDC(screen), to = CreateCompatibleDC(screen);
    HBITMAP copy = nullptr;
    if (!from || !to) {
        MessageBoxA(nullptr, "Destination-DC erzeugen failed", "CopyBitmapHandle", MB_OK);
    } else if (!(copy = CreateCompatibleBitmap(screen, bm.bmWidth, bm.bmHeight))) {
        MessageBoxA(nullptr, "Destination-Bitmap erzeugen failed", "CopyBitmapHandle", MB_OK);
    } else {
        HGDIOBJ oldFrom = SelectObject(from, hSource), oldTo = SelectObject(to, copy);
        BitBlt(to, 0, 0, bm.bmWidth, bm.bmHeight, from, 0, 0, SRCCOPY);
        SelectObject(from, oldFrom);
        SelectObject(to, oldTo);
    }
    if (from)
        DeleteDC(from);
    if (to)
        DeleteDC(to);
    ReleaseDC(nullptr, screen);
    return copy;
}

} // namespace

Clipboard::Clipboard()
{
    ImpEnter();
}

Clipboard::Clipboard(Clipboard const &rOther) : Exchange(rOther), aClearedHdl(rOther.aClearedHdl)
{
    ImpEnter();
}

Clipboard &Clipboard::operator=(Clipboard const &rOther)
{
    Exchange::operator=(rOther);
    aClearedHdl = rOther.aClearedHdl;
    return *this;
}

void Clipboard::ImpEnter()
{
    KSData *data = GetPKSData();
    if (!data)
        return;
    if (!data->m_pClipboards)
        data->m_pClipboards = new Container(2, 2, 2);
    data->m_pClipboards->Insert(this, data->m_pClipboards->Count());
}

Clipboard::~Clipboard()
{
    if (KSData *data = GetPKSData(); data && data->m_pClipboards)
        data->m_pClipboards->Remove(static_cast<void *>(this));
}

void Clipboard::Request()
{
    Exchange::Request();
}

void Clipboard::Cleared()
{
    if (aClearedHdl.IsSet())
        aClearedHdl.Call(this);
    ForgetPrivate();
}

Link Clipboard::ChangeClearedHdl(Link const &rLink)
{
    Link old = aClearedHdl;
    aClearedHdl = rLink;
    return old;
}

int Clipboard::CopyString(SString const &rText)
{
    if (!Open())
        return 0;
    size_t const n = size_t(rText.Len());
    return SetBlock(CF_TEXT, rText.GetStr(), n, n + 1);
}

int Clipboard::CopyString(char const *pText)
{
    return CopyString(SString(pText ? pText : ""));
}

int Clipboard::CopyString(UString const &rText)
{
    if (!Open())
        return 0;
    size_t const n = size_t(rText.Len()) * sizeof(wchar_t);
    return SetBlock(CF_UNICODETEXT, rText.GetStr(), n, n + sizeof(wchar_t));
}

int Clipboard::CopyBitmap(Bitmap const &rBitmap)
{
    if (!Open())
        return 0;
    HBITMAP copy = CopyOfBitmap(rBitmap.Empty() ? nullptr : rBitmap.GetHBitmap(Color(ColorNameLightMagenta)));
    if (!copy || !SetClipboardData(CF_BITMAP, copy)) {
        if (copy)
            DeleteObject(copy);
        MessageBoxA(nullptr, "Copy Bitmap failed", "Clipboard", MB_OK);
        return 0;
    }
    return 1;
}

int Clipboard::CopyData(void const *p, unsigned long nSize, unsigned long nNumber, unsigned short)
{
    if (!Open())
        return 0;
    return SetBlock(FormatToPlatform(nNumber), p, nSize, nSize);
}

int Clipboard::CopyPrivateData(void *p)
{
    if (!Open() || !SetBlock(PrivateFormat(), nullptr, 0, 1))
        return 0;
    KSData *data = GetPKSData();
    data->m_pClipPrivateData = p;
    data->m_bClipPrivateDataValid = true;
    return 1;
}

int Clipboard::CopyRequest(unsigned long nNumber)
{
    if (!Open())
        return 0;
    // A bitmap is offered in the device-independent form as well.
    if (nNumber == 2)
        SetClipboardData(CF_DIB, nullptr);
    SetClipboardData(static_cast<UINT>(FormatToPlatform(nNumber)), nullptr);
    return 1;
}

void Clipboard::Clear()
{
    if (Open())
        EmptyClipboard();
    ForgetPrivate();
}

int Clipboard::PasteData(void *p, unsigned long nSize, unsigned long nNumber)
{
    if (!p || !Open())
        return 0;
    View v(FormatToPlatform(nNumber));
    if (!v.p)
        return 0;
    std::memcpy(p, v.p, v.n < nSize ? v.n : nSize);
    return 1;
}

SString Clipboard::PasteString()
{
    if (!Open())
        return SString();
    View v(CF_TEXT);
    // The block's end bounds the text even without its terminator.
    return v.p ? SString(static_cast<char const *>(v.p), 0, unsigned(strnlen(static_cast<char const *>(v.p), v.n)))
               : SString();
}

UString Clipboard::PasteUString()
{
    if (!Open())
        return UString();
    View v(CF_UNICODETEXT);
    if (!v.p)
        return UString();
    size_t const units = wcsnlen(static_cast<wchar_t const *>(v.p), v.n / sizeof(wchar_t));
    return UString(static_cast<wchar_t const *>(v.p), 0, unsigned(units));
}

Bitmap Clipboard::PasteBitmap()
{
    if (!Open() || !IsClipboardFormatAvailable(CF_BITMAP))
        return Bitmap();
    auto h = static_cast<HBITMAP>(GetClipboardData(CF_BITMAP));
    if (!h)
        return Bitmap();
    if (IsClipboardFormatAvailable(CF_PALETTE)) {
        // Drawn under the clipboard's palette, the colours are the ones the
        // source meant.
        if (HGLOBAL dib = DIBFromBitmap(h, static_cast<HPALETTE>(GetClipboardData(CF_PALETTE)))) {
            HBITMAP converted = nullptr;
            if (auto *info = static_cast<BITMAPINFO *>(GlobalLock(dib))) {
                BITMAPINFOHEADER const &hdr = info->bmiHeader;
                size_t const colours = hdr.biClrUsed ? hdr.biClrUsed : hdr.biBitCount <= 8 ? (1u << hdr.biBitCount) : 0;
                char const *bits = reinterpret_cast<char const *>(info) + hdr.biSize + colours * sizeof(RGBQUAD) +
                                   (hdr.biCompression == BI_BITFIELDS ? 3 * sizeof(DWORD) : 0);
                HDC screen = GetDC(nullptr);
                converted = CreateDIBitmap(screen, &hdr, CBM_INIT, bits, info, DIB_RGB_COLORS);
                ReleaseDC(nullptr, screen);
                GlobalUnlock(dib);
            }
            GlobalFree(dib);
            if (converted) {
                Bitmap b;
                b.SetHBitmap(converted);
                return b;
            }
        }
    }
    return Bitmap(h);
}

void *Clipboard::PastePrivateData()
{
    KSData *data = GetPKSData();
    return data ? data->m_pClipPrivateData : nullptr;
}

int Clipboard::HasFormat(unsigned long nNumber)
{
    if (!CountClipboardFormats())
        return 0;
    if (nNumber == 2)
        return IsClipboardFormatAvailable(CF_BITMAP) || IsClipboardFormatAvailable(CF_DIB);
    if (nNumber == 4) {
        KSData *data = GetPKSData();
        return data && data->m_bClipPrivateDataValid;
    }
    return IsClipboardFormatAvailable(static_cast<UINT>(FormatToPlatform(nNumber))) ? 1 : 0;
}

int Clipboard::HasString()
{
    return IsClipboardFormatAvailable(CF_TEXT) ? 1 : 0;
}

unsigned long Clipboard::GetDataLen(unsigned long nNumber)
{
    if (!Open())
        return 0;
    if (nNumber == 2) {
        if (IsClipboardFormatAvailable(CF_DIB))
            return static_cast<unsigned long>(View(CF_DIB).n);
        BITMAP bm{};
        HANDLE h = GetClipboardData(CF_BITMAP);
        return h && GetObjectA(h, sizeof bm, &bm) ? static_cast<unsigned long>(bm.bmWidthBytes) * bm.bmHeight : 0;
    }
    return static_cast<unsigned long>(View(FormatToPlatform(nNumber)).n);
}

unsigned short Clipboard::GetFormatCount()
{
    int n = CountClipboardFormats();
    if (IsClipboardFormatAvailable(CF_BITMAP) && IsClipboardFormatAvailable(CF_DIB))
        --n;
    return static_cast<unsigned short>(n > 0 ? n : 0);
}

unsigned long Clipboard::GetFormat(unsigned short nIndex)
{
    if (nIndex >= GetFormatCount() || !Open())
        return 0;
    bool bitmapSeen = false;
    unsigned short i = 0;
    for (UINT f = EnumClipboardFormats(0); f; f = EnumClipboardFormats(f)) {
        if (f == CF_BITMAP || f == CF_DIB) {
            if (bitmapSeen)
                continue;
            bitmapSeen = true;
        }
        if (i++ == nIndex)
            return PlatformToFormat(f);
    }
    return 0;
}

unsigned long Clipboard::GetRequestFormat()
{
    KSData *data = GetPKSData();
    return data && data->m_nClipRequestFormat ? PlatformToFormat(data->m_nClipRequestFormat) : 0;
}

void Clipboard::ImpRender(unsigned int nPlatformFormat)
{
    KSData *data = GetPKSData();
    if (!data || !data->m_pClipboards)
        return;
    data->m_nClipRequestFormat = nPlatformFormat;
    // A copy of the list: a handler may make or end clipboards.
    std::vector<Clipboard *> live;
    for (unsigned long i = 0; i < data->m_pClipboards->Count(); ++i)
        live.push_back(static_cast<Clipboard *>(data->m_pClipboards->GetCntObject(i)));
    for (Clipboard *c : live)
        if (data->m_pClipboards && data->m_pClipboards->GetPos(c) != CONTAINER_NOT_FOUND)
            c->Request();
    data->m_nClipRequestFormat = 0;
}
