#include "graphics/Bitmap.h"

#include "base/DirEntry.h"
#include "frame/KSData.h"
#include "frame/KSGlobal.h"
#include "graphics/Brush.h"
#include "graphics/GdiplusView.h"
#include "graphics/GifWriter.h"
#include "graphics/ImageList.h"
#include "graphics/OutputDevice.h"
#include "graphics/VirtualDevice.h"
#include "mfc/CBitmap.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <vector>
#include <windows.h>
#include <objidl.h>
#include <gdiplus.h>

struct BitmapBody
{
    HBITMAP hBitmap;           // a GDI image, owned
    volatile long nRefCount;   // the holders beyond the first
    HBITMAP hGdiplusHBitmap;   // made once from the GDI+ image, owned
    Gdiplus::Bitmap *pGdiplus; // a GDI+ image, owned
    CBitmap *pTempCBitmap;     // wraps the GDI handle without owning it
};

namespace {

using Gdiplus::Ok;

BitmapBody *NewBody(HBITMAP hBitmap, Gdiplus::Bitmap *pImage)
{
    return new BitmapBody{hBitmap, 0, nullptr, pImage, nullptr};
}

void FreeBody(BitmapBody *pBody)
{
    if (pBody->pTempCBitmap) {
        pBody->pTempCBitmap->Detach();
        delete pBody->pTempCBitmap;
    }
    if (pBody->hBitmap)
        DeleteObject(pBody->hBitmap);
    if (pBody->hGdiplusHBitmap)
        DeleteObject(pBody->hGdiplusHBitmap);
    delete pBody->pGdiplus;
    delete pBody;
}

Gdiplus::Color Opaque(Color const &rColor)
{
    return Gdiplus::Color(255, BYTE(rColor.Get8BitRed()), BYTE(rColor.Get8BitGreen()), BYTE(rColor.Get8BitBlue()));
}

bool SideFits(long long n)
{
    return n > 0 && n <= BITMAP_MAX_SIDE;
}

std::uint32_t U32(unsigned char const *p)
{
    return std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 | std::uint32_t(p[2]) << 16 | std::uint32_t(p[3]) << 24;
}

unsigned U16(unsigned char const *p)
{
    return unsigned(p[0]) | unsigned(p[1]) << 8;
}

// A stream over global memory that never moves past its end. The
// platform's global-memory stream lets a seek go beyond the end and then
// reads from there as if the rest were data (seen: a PNG chunk length
// past the end took its reader there and crashed the process); here such a
// seek stops at the end, where a read finds nothing.
class BoundedStream final : public IStream
{
public:
    explicit BoundedStream(IStream *pInner) : m_nRefs(1), m_pInner(pInner) {}

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void **ppv) override
    {
        if (!ppv)
            return E_POINTER;
        if (riid == IID_IUnknown || riid == IID_ISequentialStream || riid == IID_IStream) {
            *ppv = static_cast<IStream *>(this);
            AddRef();
            return S_OK;
        }
        *ppv = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ULONG(InterlockedIncrement(&m_nRefs)); }
    ULONG STDMETHODCALLTYPE Release() override
    {
        LONG const n = InterlockedDecrement(&m_nRefs);
        if (n == 0) {
            m_pInner->Release();
            delete this;
        }
        return ULONG(n);
    }
    HRESULT STDMETHODCALLTYPE Read(void *pv, ULONG cb, ULONG *pcbRead) override
    {
        return m_pInner->Read(pv, cb, pcbRead);
    }
    HRESULT STDMETHODCALLTYPE Write(void const *, ULONG, ULONG *) override { return STG_E_ACCESSDENIED; }
    HRESULT STDMETHODCALLTYPE Seek(LARGE_INTEGER move, DWORD origin, ULARGE_INTEGER *pNew) override
    {
        STATSTG stat{};
        ULARGE_INTEGER here{};
        if (FAILED(m_pInner->Stat(&stat, STATFLAG_NONAME)) ||
            FAILED(m_pInner->Seek(LARGE_INTEGER{}, STREAM_SEEK_CUR, &here)))
            return E_FAIL;
        long long const size = (long long)stat.cbSize.QuadPart;
        long long base = 0;
        if (origin == STREAM_SEEK_CUR)
            base = (long long)here.QuadPart;
        else if (origin == STREAM_SEEK_END)
            base = size;
        else if (origin != STREAM_SEEK_SET)
            return STG_E_INVALIDFUNCTION;
        if ((move.QuadPart > 0 && base > size - move.QuadPart) || base + move.QuadPart > size) {
            LARGE_INTEGER end;
            end.QuadPart = size;
            return m_pInner->Seek(end, STREAM_SEEK_SET, pNew);
        }
        if (base + move.QuadPart < 0)
            return STG_E_INVALIDFUNCTION;
        LARGE_INTEGER target;
        target.QuadPart = base + move.QuadPart;
        return m_pInner->Seek(target, STREAM_SEEK_SET, pNew);
    }
    HRESULT STDMETHODCALLTYPE SetSize(ULARGE_INTEGER) override { return STG_E_ACCESSDENIED; }
    HRESULT STDMETHODCALLTYPE CopyTo(IStream *pTo, ULARGE_INTEGER cb, ULARGE_INTEGER *pRead,
                                     ULARGE_INTEGER *pWritten) override
    {
        return m_pInner->CopyTo(pTo, cb, pRead, pWritten);
    }
    HRESULT STDMETHODCALLTYPE Commit(DWORD) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE Revert() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE LockRegion(ULARGE_INTEGER, ULARGE_INTEGER, DWORD) override
    {
        return STG_E_INVALIDFUNCTION;
    }
    HRESULT STDMETHODCALLTYPE UnlockRegion(ULARGE_INTEGER, ULARGE_INTEGER, DWORD) override
    {
        return STG_E_INVALIDFUNCTION;
    }
    HRESULT STDMETHODCALLTYPE Stat(STATSTG *pStat, DWORD flags) override { return m_pInner->Stat(pStat, flags); }
    // A clone would be the unbounded stream again.
    HRESULT STDMETHODCALLTYPE Clone(IStream **ppStream) override
    {
        if (ppStream)
            *ppStream = nullptr;
        return E_NOTIMPL;
    }

private:
    ~BoundedStream() = default;
    volatile LONG m_nRefs;
    IStream *m_pInner;
};

// Every frame of a GIF within the side limit and no larger than its
// compressed data could fill. GDI+ allocates a frame of the sides the file
// claims before it reads the data, and keeps that memory when it then
// refuses the file (seen: a 960-byte GIF claiming 65535 x 32767 left 2 GB
// committed). An LZW code of w bits stands for at most 2^w pixels, so a
// byte of data gives at most 2^12 * 8 / 12 < 2731 pixels.
bool IsPlausibleGif(unsigned char const *p, size_t n)
{
    if (n < 4 || std::memcmp(p, "GIF8", 4) != 0)
        return true; // not a GIF: for the other readers
    if (n < 13 || (std::memcmp(p, "GIF87a", 6) != 0 && std::memcmp(p, "GIF89a", 6) != 0))
        return false;
    size_t i = 13;
    if (p[10] & 0x80)
        i += 3 * (size_t(2) << (p[10] & 7));
    while (i < n) {
        if (p[i] == 0x21) {
            for (i += 2; i < n && p[i] != 0; i += 1 + size_t(p[i])) {
            }
            ++i;
        } else if (p[i] == 0x2C) {
            if (i + 10 > n)
                return false;
            unsigned const w = U16(p + i + 5), h = U16(p + i + 7), flags = p[i + 9];
            if (!SideFits(w) || !SideFits(h))
                return false;
            i += 10;
            if (flags & 0x80)
                i += 3 * (size_t(2) << (flags & 7));
            size_t data = 0;
            for (i += 1; i < n && p[i] != 0; i += 1 + size_t(p[i]))
                data += std::min(size_t(p[i]), n - i - 1);
            if (double(w) * h > double(data) * 2731.0 + 4096.0)
                return false;
            ++i;
        } else {
            break; // the trailer, or what the readers stop at anyway
        }
    }
    return true;
}

// Decodes an image whose bytes fill the global memory block (taken over);
// the image keeps GDI+'s status, failed or not. Null when the bytes are a
// GIF that GDI+ must not see.
Gdiplus::Bitmap *DecodeGlobal(HGLOBAL hGlobal)
{
    bool plausible = false;
    if (void const *bytes = GlobalLock(hGlobal)) {
        plausible = IsPlausibleGif(static_cast<unsigned char const *>(bytes), GlobalSize(hGlobal));
        GlobalUnlock(hGlobal);
    }
    IStream *inner = nullptr;
    if (!plausible || FAILED(CreateStreamOnHGlobal(hGlobal, TRUE, &inner))) {
        GlobalFree(hGlobal);
        return nullptr;
    }
    IStream *stream = new BoundedStream(inner);
    // GDI+ holds its own reference to the stream for as long as it needs it.
    Gdiplus::Bitmap *image = new Gdiplus::Bitmap(stream, FALSE);
    stream->Release();
    return image;
}

// Decodes an image held in memory; null when GDI+ refuses it.
Gdiplus::Bitmap *DecodeMemory(void const *pData, size_t nSize)
{
    if (!pData || nSize == 0)
        return nullptr;
    HGLOBAL global = GlobalAlloc(GMEM_MOVEABLE, nSize);
    void *p = global ? GlobalLock(global) : nullptr;
    if (!p) {
        if (global)
            GlobalFree(global);
        return nullptr;
    }
    std::memcpy(p, pData, nSize);
    GlobalUnlock(global);
    Gdiplus::Bitmap *image = DecodeGlobal(global);
    if (image && (image->GetLastStatus() != Ok || image->GetWidth() == 0 || image->GetHeight() == 0)) {
        delete image;
        return nullptr;
    }
    return image;
}

wchar_t const *MimeOfExtension(SString const &rLower)
{
    if (rLower == "jpg" || rLower == "jpeg")
        return L"image/jpeg";
    if (rLower == "png")
        return L"image/png";
    if (rLower == "tif" || rLower == "tiff")
        return L"image/tiff";
    if (rLower == "gif")
        return L"image/gif";
    return nullptr;
}

// The platform's BMP reader trusts the header: a pixel offset past the end of
// the file or a colour table that is not there make it read beyond its
// buffers. Only a header whose every part lies inside the file reaches it.
bool IsReadableBmp(unsigned char const *p, size_t nHead, std::uint64_t nFileSize)
{
    if (nHead < 26 || p[0] != 'B' || p[1] != 'M')
        return false;
    std::uint64_t const offBits = U32(p + 10);
    std::uint32_t const infoSize = U32(p + 14);
    if (infoSize != 12 && infoSize != 40 && infoSize != 52 && infoSize != 56 && infoSize != 108 && infoSize != 124)
        return false;
    if (nHead < 14 + infoSize)
        return false;
    long long width, height;
    unsigned planes, bits;
    std::uint32_t compression = 0, used = 0, entry = 4;
    if (infoSize == 12) {
        width = U16(p + 18);
        height = U16(p + 20);
        planes = U16(p + 22);
        bits = U16(p + 24);
        entry = 3;
        if (bits != 1 && bits != 4 && bits != 8 && bits != 24)
            return false;
    } else {
        width = std::int32_t(U32(p + 18));
        height = std::int32_t(U32(p + 22));
        planes = U16(p + 26);
        bits = U16(p + 28);
        compression = U32(p + 30);
        used = U32(p + 46);
    }
    if (planes != 1)
        return false;
    if (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32)
        return false;
    if (compression != BI_RGB && !(compression == BI_BITFIELDS && (bits == 16 || bits == 32)))
        return false;
    if (height < 0)
        height = -height;
    if (!SideFits(width) || !SideFits(height))
        return false;
    std::uint64_t colours = used;
    if (bits <= 8) {
        if (used > (1u << bits))
            return false;
        if (used == 0)
            colours = 1u << bits;
    } else if (used > 256) {
        return false;
    }
    std::uint64_t const masks = (compression == BI_BITFIELDS && infoSize == 40) ? 12 : 0;
    std::uint64_t const tableEnd = 14 + infoSize + masks + colours * entry;
    if (tableEnd > nFileSize || offBits < tableEnd)
        return false;
    std::uint64_t const stride = (std::uint64_t(width) * bits + 31) / 32 * 4;
    return offBits + stride * std::uint64_t(height) <= nFileSize;
}

bool WriteWholeFile(DirEntry const &rFile, void const *pHead, DWORD nHead, void const *pData, DWORD nData)
{
    std::wstring const name = rFile.GetFullW();
    HANDLE file = CreateFileW(name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    DWORD done1 = 0, done2 = 0;
    bool const ok = WriteFile(file, pHead, nHead, &done1, nullptr) && done1 == nHead &&
                    WriteFile(file, pData, nData, &done2, nullptr) && done2 == nData;
    CloseHandle(file);
    if (!ok)
        DeleteFileW(name.c_str());
    return ok;
}

// The colour table entries and bit-field masks between a packed DIB's header
// and its bits.
DWORD DibTableBytes(BITMAPINFOHEADER const &rHeader)
{
    DWORD colours = rHeader.biClrUsed;
    if (colours == 0 && rHeader.biBitCount <= 8)
        colours = 1u << rHeader.biBitCount;
    DWORD const masks = (rHeader.biCompression == BI_BITFIELDS && rHeader.biSize == 40) ? 12 : 0;
    return colours * 4 + masks;
}

} // namespace

// ------------------------------------------------------------ life

Bitmap::Bitmap() : m_pBody(nullptr)
{
}

Bitmap::Bitmap(unsigned int const &nResId) : m_pBody(nullptr)
{
    if (HBITMAP h = LoadBitmapA(ImageList::aResHandle, MAKEINTRESOURCEA(nResId)))
        m_pBody = NewBody(h, nullptr);
}

Bitmap::Bitmap(HBITMAP hBitmap) : m_pBody(nullptr)
{
    ImpCopyHandle(hBitmap);
}

Bitmap::Bitmap(CBitmap *pBitmap) : m_pBody(nullptr)
{
    if (pBitmap)
        ImpCopyHandle(static_cast<HBITMAP>(pBitmap->m_hObject));
}

Bitmap::Bitmap(Gdiplus::Bitmap *pImage) : m_pBody(nullptr)
{
    if (!pImage || pImage->GetLastStatus() != Ok)
        return;
    int const w = int(pImage->GetWidth()), h = int(pImage->GetHeight());
    if (w <= 0 || h <= 0)
        return;
    Gdiplus::Bitmap *clone = pImage->Clone(0, 0, w, h, PixelFormat32bppARGB);
    if (clone && clone->GetLastStatus() == Ok)
        m_pBody = NewBody(nullptr, clone);
    else
        delete clone;
}

Bitmap::Bitmap(Bitmap const &rOther) : m_pBody(rOther.m_pBody)
{
    if (m_pBody)
        InterlockedIncrement(&m_pBody->nRefCount);
}

Bitmap &Bitmap::operator=(Bitmap const &rOther)
{
    BitmapBody *body = rOther.m_pBody;
    if (body)
        InterlockedIncrement(&body->nRefCount); // first, so that self-assignment keeps the body
    Delete();
    m_pBody = body;
    return *this;
}

Bitmap::~Bitmap()
{
    Delete();
}

void Bitmap::Delete()
{
    BitmapBody *body = m_pBody;
    m_pBody = nullptr;
    // One atomic step decides who is last: two holders releasing at once
    // cannot both see another holder left.
    if (body && InterlockedDecrement(&body->nRefCount) < 0)
        FreeBody(body);
}

void Bitmap::ImpCopyHandle(HBITMAP hBitmap)
{
    BITMAP bm{};
    if (!hBitmap || GetObjectA(hBitmap, sizeof bm, &bm) != int(sizeof bm) || bm.bmWidth <= 0 || bm.bmHeight <= 0)
        return;
    bm.bmBits = nullptr; // the pixels follow through the bitmap bits, in one layout for both
    HBITMAP copy = CreateBitmapIndirect(&bm);
    if (!copy) {
        char *text = nullptr;
        FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                       nullptr, GetLastError(), MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT),
                       reinterpret_cast<char *>(&text), 0, nullptr);
        MessageBoxA(nullptr, text ? text : "", "Error", MB_OK | MB_ICONINFORMATION);
        LocalFree(text);
        return;
    }
    // Device-dependent rows are padded to 16 bits, a section's to 32: the
    // larger of the two holds either.
    size_t const ddbStride = (size_t(bm.bmWidth) * bm.bmBitsPixel + 15) / 16 * 2;
    size_t const stride = std::max(ddbStride, size_t(bm.bmWidthBytes));
    size_t const bytes = stride * size_t(bm.bmHeight) * bm.bmPlanes;
    std::vector<unsigned char> pixels(bytes);
    LONG const got = GetBitmapBits(hBitmap, LONG(bytes), pixels.data());
    if (got > 0)
        SetBitmapBits(copy, DWORD(got), pixels.data());
    m_pBody = NewBody(copy, nullptr);
}

Bitmap Bitmap::ImpAdopt(Gdiplus::Bitmap *pImage)
{
    Bitmap result;
    if (pImage && pImage->GetLastStatus() == Ok)
        result.m_pBody = NewBody(nullptr, pImage);
    else
        delete pImage;
    return result;
}

// ------------------------------------------------------------ the image

bool Bitmap::Empty() const
{
    Size const s = GetSize();
    return s.Width() <= 0 || s.Height() <= 0;
}

Size Bitmap::GetSize() const
{
    if (!m_pBody)
        return Size();
    if (m_pBody->pGdiplus)
        return Size(int(m_pBody->pGdiplus->GetWidth()), int(m_pBody->pGdiplus->GetHeight()));
    BITMAP bm{};
    if (!m_pBody->hBitmap || !GetObjectA(m_pBody->hBitmap, sizeof bm, &bm))
        return Size();
    return Size(bm.bmWidth, bm.bmHeight);
}

bool Bitmap::IsGdiplusBitmap() const
{
    return m_pBody && m_pBody->pGdiplus;
}

HBITMAP Bitmap::GetHBitmap(Color const &rBack) const
{
    if (!m_pBody)
        return nullptr;
    if (!m_pBody->pGdiplus)
        return m_pBody->hBitmap;
    if (!m_pBody->hGdiplusHBitmap) {
        HBITMAP h = nullptr;
        if (m_pBody->pGdiplus->GetHBITMAP(Opaque(rBack), &h) == Ok)
            m_pBody->hGdiplusHBitmap = h;
    }
    return m_pBody->hGdiplusHBitmap;
}

Bitmap::operator HBITMAP() const
{
    return GetHBitmap(Color(ColorNameLightMagenta));
}

CBitmap *Bitmap::GetPTempCBitmap(Color const &rBack) const
{
    HBITMAP h = GetHBitmap(rBack);
    if (!h)
        return nullptr;
    if (!m_pBody->pTempCBitmap)
        m_pBody->pTempCBitmap = new CBitmap;
    if (m_pBody->pTempCBitmap->m_hObject != h) {
        m_pBody->pTempCBitmap->Detach();
        m_pBody->pTempCBitmap->Attach(h);
    }
    return m_pBody->pTempCBitmap;
}

Gdiplus::Bitmap *Bitmap::GetPGdiplusBitmap() const
{
    return m_pBody ? m_pBody->pGdiplus : nullptr;
}

void Bitmap::SetHBitmap(HBITMAP hBitmap)
{
    Delete();
    if (hBitmap)
        m_pBody = NewBody(hBitmap, nullptr);
}

// ------------------------------------------------------------ files

bool Bitmap::IsValidExtension(SString const &rExt)
{
    SString const lower = rExt.Lower();
    return MimeOfExtension(lower) != nullptr || lower == "bmp";
}

ERRCODE Bitmap::Load(DirEntry const &rFile)
{
    Delete();
    if (MimeOfExtension(rFile.GetExtension().Lower()))
        return LoadGdi(rFile);
    return LoadBMP(rFile);
}

ERRCODE Bitmap::LoadGdi(DirEntry const &rFile)
{
    std::wstring const name = rFile.GetFullW();
    // GDI+ keeps a file it refused open for the rest of the process (seen
    // with damaged GIFs): it decodes from a copy in memory, so the file is
    // closed here whatever GDI+ makes of it.
    HGLOBAL global = nullptr;
    HANDLE file = CreateFileW(name.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file != INVALID_HANDLE_VALUE) {
        LARGE_INTEGER size{};
        if (GetFileSizeEx(file, &size) && size.QuadPart > 0 && size.QuadPart < 0x7FFFFFFF)
            global = GlobalAlloc(GMEM_MOVEABLE, SIZE_T(size.QuadPart));
        DWORD got = 0;
        void *bytes = global ? GlobalLock(global) : nullptr;
        bool const read = bytes && ReadFile(file, bytes, DWORD(size.QuadPart), &got, nullptr) &&
                          got == DWORD(size.QuadPart);
        if (bytes)
            GlobalUnlock(global);
        if (!read && global) {
            GlobalFree(global);
            global = nullptr;
        }
        CloseHandle(file);
    }
    // What GDI+ reports stays in the image's status; the image is then empty.
    // A file that could not be read goes to GDI+ by name, which says why.
    Gdiplus::Bitmap *image = global ? DecodeGlobal(global) : new Gdiplus::Bitmap(name.c_str(), FALSE);
    if (!image)
        return ERRCODE_FAILED;
    m_pBody = NewBody(nullptr, image);
    return ERRCODE_OK;
}

ERRCODE Bitmap::LoadBMP(DirEntry const &rFile)
{
    std::wstring const name = rFile.GetFullW();
    HANDLE file = CreateFileW(name.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return ERRCODE_FAILED;
    LARGE_INTEGER size{};
    unsigned char head[14 + 124];
    DWORD got = 0;
    bool const read = GetFileSizeEx(file, &size) && ReadFile(file, head, sizeof head, &got, nullptr);
    CloseHandle(file);
    if (!read || !IsReadableBmp(head, got, std::uint64_t(size.QuadPart)))
        return ERRCODE_FAILED;
    HANDLE h = rFile.IsUTF8() || name.size() >= MAX_PATH
                   ? LoadImageW(nullptr, name.c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE | LR_CREATEDIBSECTION)
                   : LoadImageA(nullptr, rFile.GetFull().GetStr(), IMAGE_BITMAP, 0, 0,
                                LR_LOADFROMFILE | LR_CREATEDIBSECTION);
    if (!h)
        return ERRCODE_FAILED;
    BITMAP bm{};
    if (GetObjectType(h) != OBJ_BITMAP || !GetObjectA(h, sizeof bm, &bm)) {
        DeleteObject(h);
        return ERRCODE_HANDLE_NOT_KEPT;
    }
    m_pBody = NewBody(static_cast<HBITMAP>(h), nullptr);
    return ERRCODE_OK;
}

ERRCODE Bitmap::Save(DirEntry const &rFile) const
{
    if (Empty())
        return ERRCODE_FAILED;
    if (wchar_t const *mime = MimeOfExtension(rFile.GetExtension().Lower()))
        return SaveGdi(rFile, mime);
    return SaveBMP(rFile);
}

int Bitmap::GetEncoderClsid(wchar_t const *pMimeType, void *pClsid)
{
    UINT count = 0, bytes = 0;
    if (!pMimeType || Gdiplus::DllExports::GdipGetImageEncodersSize(&count, &bytes) != Ok || bytes == 0)
        return 1;
    std::vector<unsigned char> buffer(bytes);
    auto *codecs = reinterpret_cast<Gdiplus::ImageCodecInfo *>(buffer.data());
    if (Gdiplus::DllExports::GdipGetImageEncoders(count, bytes, codecs) != Ok)
        return 1;
    for (UINT i = 0; i < count; ++i)
        if (codecs[i].MimeType && std::wcscmp(codecs[i].MimeType, pMimeType) == 0) {
            std::memcpy(pClsid, &codecs[i].Clsid, sizeof(CLSID));
            return 0;
        }
    return 1;
}

ERRCODE Bitmap::SaveGdi(DirEntry const &rFile, wchar_t const *pMimeType) const
{
    CLSID clsid;
    if (GetEncoderClsid(pMimeType, &clsid))
        return ERRCODE_FAILED;
    GdiplusView view(*this);
    Gdiplus::Bitmap *image = view.Get();
    if (!image)
        return ERRCODE_FAILED;
    Gdiplus::Bitmap *indexed = nullptr;
    if (std::wcscmp(pMimeType, L"image/gif") == 0) {
        // The platform's GIF encoder writes an empty file for anything but
        // an indexed image.
        indexed = image->Clone(0, 0, view.Width(), view.Height(), PixelFormat8bppIndexed);
        if (!indexed || indexed->GetLastStatus() != Ok) {
            delete indexed;
            return ERRCODE_FAILED;
        }
        image = indexed;
    }
    std::wstring const name = rFile.GetFullW();
    Gdiplus::Status const status = image->Save(name.c_str(), &clsid, nullptr);
    delete indexed;
    return status == Ok ? ERRCODE_OK : ERRCODE_FAILED;
}

ERRCODE Bitmap::SaveBMP(DirEntry const &rFile) const
{
    HGLOBAL dib = CreateDIB();
    if (!dib)
        return ERRCODE_FAILED;
    bool ok = false;
    if (auto *info = static_cast<BITMAPINFOHEADER *>(GlobalLock(dib))) {
        DWORD const bytes = DWORD(GlobalSize(dib));
        BITMAPFILEHEADER head{};
        head.bfType = 0x4D42; // "BM"
        head.bfSize = DWORD(sizeof head) + bytes;
        head.bfOffBits = DWORD(sizeof head) + info->biSize + DibTableBytes(*info);
        ok = WriteWholeFile(rFile, &head, sizeof head, info, bytes);
        GlobalUnlock(dib);
    }
    GlobalFree(dib);
    return ok ? ERRCODE_OK : ERRCODE_FAILED;
}

namespace {

using IndexedFrames = std::vector<std::unique_ptr<Gdiplus::Bitmap>>;

// The platform's own multi-frame path: the first frame saved with the
// multi-frame flag and the delays as its frame-delay property, the others
// added along the time dimension. The file's bytes only when GDI+ reads
// them back with every frame (Wine's encoder refuses the additions and would
// leave a one-frame file). Written to memory: a multi-frame save keeps its
// target open until it is flushed, which a refused addition never is.
bool SaveGifFramesByPlatform(CLSID const &rClsid, IndexedFrames const &rFrames, int nHundredths,
                             std::vector<unsigned char> &rBytes)
{
    Gdiplus::Bitmap *first = rFrames.front().get();
    std::vector<LONG> delays(rFrames.size(), LONG(nHundredths));
    Gdiplus::PropertyItem delay{};
    delay.id = 0x5100; // frame delay
    delay.type = 4;    // longs
    delay.length = ULONG(delays.size() * sizeof(LONG));
    delay.value = delays.data();
    SHORT loops = 0;
    Gdiplus::PropertyItem loop{};
    loop.id = 0x5101; // loop count, 0 = forever
    loop.type = 3;    // shorts
    loop.length = sizeof loops;
    loop.value = &loops;
    first->SetPropertyItem(&delay);
    first->SetPropertyItem(&loop);

    IStream *stream = nullptr;
    if (FAILED(CreateStreamOnHGlobal(nullptr, TRUE, &stream)))
        return false;
    ULONG flag = Gdiplus::EncoderValueMultiFrame;
    Gdiplus::EncoderParameters params{};
    params.Count = 1;
    params.Parameter[0].Guid = Gdiplus::EncoderSaveFlag;
    params.Parameter[0].Type = Gdiplus::EncoderParameterValueTypeLong;
    params.Parameter[0].NumberOfValues = 1;
    params.Parameter[0].Value = &flag;
    bool saved = first->Save(stream, &rClsid, &params) == Ok;
    flag = Gdiplus::EncoderValueFrameDimensionTime;
    for (std::size_t i = 1; saved && i < rFrames.size(); ++i)
        saved = first->SaveAdd(rFrames[i].get(), &params) == Ok;
    flag = Gdiplus::EncoderValueFlush;
    if (saved && rFrames.size() > 1)
        saved = first->SaveAdd(&params) == Ok;
    STATSTG stat{};
    HGLOBAL global = nullptr;
    if (saved && SUCCEEDED(stream->Stat(&stat, STATFLAG_NONAME)) && SUCCEEDED(GetHGlobalFromStream(stream, &global)) &&
        stat.cbSize.QuadPart > 0 && stat.cbSize.QuadPart <= GlobalSize(global)) {
        if (void const *bytes = GlobalLock(global)) {
            rBytes.assign(static_cast<unsigned char const *>(bytes),
                          static_cast<unsigned char const *>(bytes) + stat.cbSize.QuadPart);
            GlobalUnlock(global);
        }
    }
    stream->Release();
    std::unique_ptr<Gdiplus::Bitmap> check(DecodeMemory(rBytes.data(), rBytes.size()));
    GUID time = Gdiplus::FrameDimensionTime;
    return check && check->GetFrameCount(&time) == rFrames.size();
}

// Our own file of the indexed frames, each with its own colour table.
bool SaveGifFramesOurselves(DirEntry const &rFile, IndexedFrames const &rFrames, int nWidth, int nHeight,
                            int nHundredths)
{
    GifWriter writer(nWidth, nHeight, 0);
    for (auto const &frame : rFrames) {
        int const w = int(frame->GetWidth()), h = int(frame->GetHeight());
        INT const paletteBytes = frame->GetPaletteSize();
        if (paletteBytes < INT(sizeof(Gdiplus::ColorPalette)))
            return false;
        std::vector<unsigned char> paletteBuffer(static_cast<std::size_t>(paletteBytes));
        auto *palette = reinterpret_cast<Gdiplus::ColorPalette *>(paletteBuffer.data());
        if (frame->GetPalette(palette, paletteBytes) != Ok || palette->Count == 0 || palette->Count > 256)
            return false;
        std::vector<std::uint32_t> colours(palette->Count);
        for (UINT i = 0; i < palette->Count; ++i)
            colours[i] = palette->Entries[i] & 0xFFFFFF;
        Gdiplus::Rect const all(0, 0, w, h);
        Gdiplus::BitmapData data{};
        if (frame->LockBits(&all, Gdiplus::ImageLockModeRead, PixelFormat8bppIndexed, &data) != Ok)
            return false;
        std::vector<std::uint8_t> indices(std::size_t(w) * std::size_t(h));
        for (int y = 0; y < h; ++y)
            std::memcpy(indices.data() + std::size_t(y) * w, static_cast<unsigned char const *>(data.Scan0) +
                                                                 std::ptrdiff_t(y) * data.Stride, std::size_t(w));
        frame->UnlockBits(&data);
        // An index beyond a short palette would make a file no reader
        // accepts: such pixels take the last colour.
        for (auto &index : indices)
            index = std::uint8_t(std::min<UINT>(index, palette->Count - 1));
        if (!writer.AddFrame(indices.data(), w, h, colours, nHundredths))
            return false;
    }
    std::vector<std::uint8_t> const bytes = writer.Finish();
    return WriteWholeFile(rFile, bytes.data(), DWORD(bytes.size()), bytes.data(), 0);
}

} // namespace

ERRCODE Bitmap::SaveAnimatedGif(DirEntry const &rFile, std::vector<Bitmap> const &rFrames, int nDelay)
{
    if (rFrames.empty())
        return ERRCODE_FAILED;
    CLSID clsid;
    bool const encoder = GetEncoderClsid(L"image/gif", &clsid) == 0;
    // A delay field is 16 bits, but GDI+ here reads it signed (65535 came
    // back as -1): at most 32767 hundredths, which every reader agrees on.
    int const hundredths = std::clamp((std::max(nDelay, 0) + 5) / 10, 0, 32767);
    int width = 0, height = 0;
    IndexedFrames indexed;
    for (Bitmap const &frame : rFrames) {
        GdiplusView view(frame);
        if (!view.Get() || !SideFits(view.Width()) || !SideFits(view.Height()))
            return ERRCODE_FAILED;
        // Indexed the way Save does it for one frame: pure colours stay exact.
        std::unique_ptr<Gdiplus::Bitmap> clone(
            view.Get()->Clone(0, 0, view.Width(), view.Height(), PixelFormat8bppIndexed));
        if (!clone || clone->GetLastStatus() != Ok)
            return ERRCODE_FAILED;
        width = std::max(width, view.Width());
        height = std::max(height, view.Height());
        indexed.push_back(std::move(clone));
    }
    std::vector<unsigned char> bytes;
    if (encoder && SaveGifFramesByPlatform(clsid, indexed, hundredths, bytes))
        return WriteWholeFile(rFile, bytes.data(), DWORD(bytes.size()), bytes.data(), 0) ? ERRCODE_OK
                                                                                      : ERRCODE_FAILED;
    return SaveGifFramesOurselves(rFile, indexed, width, height, hundredths) ? ERRCODE_OK : ERRCODE_FAILED;
}

// ------------------------------------------------------------ resources and memory

Bitmap Bitmap::FromPngRes(unsigned int const &nResId)
{
    HINSTANCE module = ImageList::aResHandle;
    HRSRC res = FindResourceA(module, MAKEINTRESOURCEA(nResId), "PNG");
    if (!res)
        return Bitmap();
    DWORD const size = SizeofResource(module, res);
    HGLOBAL loaded = LoadResource(module, res);
    void const *data = loaded ? LockResource(loaded) : nullptr;
    return ImpAdopt(DecodeMemory(data, size));
}

Bitmap Bitmap::BMPFromPngRes(unsigned int const &nResId)
{
    Bitmap png = FromPngRes(nResId);
    HBITMAP h = png.GetHBitmap(Color(ColorNameLightMagenta));
    if (!h)
        return Bitmap();
    png.m_pBody->hGdiplusHBitmap = nullptr; // handed over: png is its body's only holder
    Bitmap result;
    result.SetHBitmap(h);
    return result;
}

unsigned char *Bitmap::CreateJPEGData(int &rSize) const
{
    rSize = 0;
    CLSID clsid;
    GdiplusView view(*this);
    if (!view.Get() || view.Width() <= 0 || view.Height() <= 0 || GetEncoderClsid(L"image/jpeg", &clsid))
        return nullptr;
    IStream *stream = nullptr;
    if (FAILED(CreateStreamOnHGlobal(nullptr, TRUE, &stream)))
        return nullptr;
    // {1D5BE4B5-FA4A-452D-9CDD-5DB35105E7EB}: the encoder's quality parameter.
    static GUID const quality = {0x1d5be4b5, 0xfa4a, 0x452d, {0x9c, 0xdd, 0x5d, 0xb3, 0x51, 0x05, 0xe7, 0xeb}};
    ULONG value = 90;
    Gdiplus::EncoderParameters params;
    params.Count = 1;
    params.Parameter[0].Guid = quality;
    params.Parameter[0].Type = Gdiplus::EncoderParameterValueTypeLong;
    params.Parameter[0].NumberOfValues = 1;
    params.Parameter[0].Value = &value;
    Gdiplus::Status status = view.Get()->Save(stream, &clsid, &params);
    if (status != Ok) {
        // An encoder that takes no quality still writes at its own.
        ULARGE_INTEGER zero{};
        stream->SetSize(zero);
        stream->Seek(LARGE_INTEGER{}, STREAM_SEEK_SET, nullptr);
        status = view.Get()->Save(stream, &clsid, nullptr);
    }
    unsigned char *result = nullptr;
    STATSTG stat{};
    HGLOBAL global = nullptr;
    if (status == Ok && SUCCEEDED(stream->Stat(&stat, STATFLAG_NONAME)) && stat.cbSize.QuadPart > 0 &&
        stat.cbSize.QuadPart < 0x7FFFFFFF && SUCCEEDED(GetHGlobalFromStream(stream, &global))) {
        if (void const *p = GlobalLock(global)) {
            rSize = int(stat.cbSize.QuadPart);
            result = new unsigned char[size_t(rSize)];
            std::memcpy(result, p, size_t(rSize));
            GlobalUnlock(global);
        }
    }
    stream->Release();
    return result;
}

ERRCODE Bitmap::ConstructFromJPEGData(void const *pData, int nSize)
{
    Delete();
    auto const *bytes = static_cast<unsigned char const *>(pData);
    // Only what starts as a JPEG goes to the decoder: the member promises
    // JPEG, and other formats' readers need not see foreign bytes.
    if (!bytes || nSize < 4 || bytes[0] != 0xFF || bytes[1] != 0xD8)
        return ERRCODE_FAILED;
    *this = ImpAdopt(DecodeMemory(pData, size_t(nSize)));
    return Empty() ? ERRCODE_FAILED : ERRCODE_OK;
}

HGLOBAL Bitmap::CreateDIB() const
{
    HBITMAP h = *this;
    return h ? DIBFromBitmap(h, nullptr) : nullptr;
}

Bitmap Bitmap::CreateTransparentBG(Size const &rSize)
{
    if (!SideFits(rSize.Width()) || !SideFits(rSize.Height()))
        return Bitmap();
    auto *image = new Gdiplus::Bitmap(rSize.Width(), rSize.Height(), PixelFormat32bppARGB);
    if (image->GetLastStatus() == Ok) {
        Gdiplus::Graphics graphics(image);
        graphics.Clear(Gdiplus::Color(0, 0, 0, 0));
    }
    return ImpAdopt(image);
}

// ------------------------------------------------------------ transformations

double Bitmap::GetScreenScale()
{
    int dpiX = 96, dpiY = 96;
    if (KSData *data = GetPKSData()) {
        dpiX = data->m_nLogPixelsX;
        dpiY = data->m_nLogPixelsY;
    }
    int const px = MulDiv(100, dpiX, 96), py = MulDiv(100, dpiY, 96);
    if (px <= 100 || py <= 100)
        return 1.0;
    double const f = std::min(px, py) / 100.0;
    return f > 1.2 ? f : 1.0;
}

Bitmap Bitmap::ScaleHQ() const
{
    double const f = GetScreenScale();
    if (f == 1.0 || Empty())
        return *this;
    Size const s = GetSize();
    return StretchHQ(FSize(std::floor(s.Width() * f + 0.5), std::floor(s.Height() * f + 0.5)));
}

Bitmap Bitmap::Scale() const
{
    double const f = GetScreenScale();
    if (f == 1.0 || Empty())
        return *this;
    Size const s = GetSize();
    Size const target(int(s.Width() * f + 0.5), int(s.Height() * f + 0.5));
    HDC display = CreateDCA("DISPLAY", nullptr, nullptr, nullptr);
    if (!display)
        return *this;
    Bitmap result;
    {
        OutputDevice device(display);
        result = Stretch(&device, target, false, false);
    }
    DeleteDC(display);
    return result;
}

Bitmap Bitmap::Stretch(OutputDevice *pDev, Size const &rSize, bool bBorder, bool bErase) const
{
    if (IsGdiplusBitmap())
        return StretchHQ(FSize(rSize.Width(), rSize.Height()));
    if (!pDev || Empty())
        return *this;
    if (!SideFits(rSize.Width()) || !SideFits(rSize.Height()))
        return Bitmap();
    int const edge = bBorder ? 1 : 0;
    VirtualDevice device(*pDev);
    device.ChangeBackgroundBrush(Brush(Color(ColorNameButtonFace), BrushStyleSolid));
    device.SetOutputSize(Size(rSize.Width() + 2 * edge, rSize.Height() + 2 * edge), bErase);
    HDC target = device.GethDC();
    Size const full = device.GetOutputSizePixel();
    if (!target || full.IsEmpty())
        return Bitmap();
    Size const from = GetSize();
    HDC source = CreateCompatibleDC(target);
    HGDIOBJ old = SelectObject(source, m_pBody->hBitmap);
    int const mode = SetStretchBltMode(target, COLORONCOLOR);
    StretchBlt(target, edge, edge, rSize.Width(), rSize.Height(), source, 0, 0, from.Width(), from.Height(), SRCCOPY);
    SetStretchBltMode(target, mode);
    SelectObject(source, old);
    // The device keeps its bitmap: the result is a copy of its pixels.
    HBITMAP copy = CreateCompatibleBitmap(target, full.Width(), full.Height());
    if (copy) {
        old = SelectObject(source, copy);
        BitBlt(source, 0, 0, full.Width(), full.Height(), target, 0, 0, SRCCOPY);
        SelectObject(source, old);
    }
    DeleteDC(source);
    Bitmap result;
    result.SetHBitmap(copy);
    return result;
}

Bitmap Bitmap::StretchHQ(FSize const &rSize) const
{
    double const fw = std::floor(rSize.Width() + 0.5), fh = std::floor(rSize.Height() + 0.5);
    if (!(fw >= 1 && fw <= BITMAP_MAX_SIDE && fh >= 1 && fh <= BITMAP_MAX_SIDE))
        return Bitmap();
    GdiplusView view(*this);
    if (!view.Get() || view.Width() <= 0 || view.Height() <= 0)
        return Bitmap();
    auto *image = new Gdiplus::Bitmap(int(fw), int(fh), PixelFormat32bppARGB);
    if (image->GetLastStatus() == Ok) {
        Gdiplus::Graphics graphics(image);
        if (GdiplusView::DrawResampled(graphics, view.Get(), Gdiplus::RectF(0, 0, Gdiplus::REAL(fw), Gdiplus::REAL(fh)),
                          Gdiplus::RectF(0, 0, Gdiplus::REAL(view.Width()), Gdiplus::REAL(view.Height()))) != Ok) {
            delete image;
            return Bitmap();
        }
    }
    return ImpAdopt(image);
}

Bitmap Bitmap::GetBitmapHQ(FPoint const &rPos, FSize &rSize) const
{
    GdiplusView view(*this);
    int const w = view.Width(), h = view.Height();
    long long const x = std::llround(rPos.X()), y = std::llround(rPos.Y());
    long long cw = std::llround(rSize.Width()), ch = std::llround(rSize.Height());
    if (cw == 0 && ch == 0) {
        cw = w - x;
        ch = h - y;
    }
    long long const left = std::max(x, 0LL), top = std::max(y, 0LL);
    long long const right = std::min(x + cw, (long long)w), bottom = std::min(y + ch, (long long)h);
    if (!view.Get() || right <= left || bottom <= top) {
        rSize = FSize();
        return Bitmap();
    }
    rSize = FSize(double(right - left), double(bottom - top));
    return ImpAdopt(view.Get()->Clone(int(left), int(top), int(right - left), int(bottom - top),
                                      PixelFormat32bppARGB));
}

Bitmap Bitmap::DrawBitmapHQ(FPoint const &rPos, FSize &rSize, Bitmap const &rOver) const
{
    GdiplusView view(*this);
    Gdiplus::Bitmap *base = view.CloneArgb();
    if (!base)
        return Bitmap();
    GdiplusView over(rOver);
    if (over.Get() && over.Width() > 0 && over.Height() > 0) {
        if (rSize.Width() == 0 && rSize.Height() == 0)
            rSize = FSize(over.Width(), over.Height());
        Gdiplus::Graphics graphics(base);
        GdiplusView::DrawResampled(graphics, over.Get(),
                      Gdiplus::RectF(Gdiplus::REAL(rPos.X()), Gdiplus::REAL(rPos.Y()), Gdiplus::REAL(rSize.Width()),
                                     Gdiplus::REAL(rSize.Height())),
                      Gdiplus::RectF(0, 0, Gdiplus::REAL(over.Width()), Gdiplus::REAL(over.Height())));
    }
    return ImpAdopt(base);
}

bool Bitmap::MakeTransparent(int nTolerance)
{
    Gdiplus::Bitmap *image = nullptr;
    {
        GdiplusView view(*this);
        image = view.CloneArgb();
    }
    if (!image)
        return false;
    int const w = int(image->GetWidth()), h = int(image->GetHeight());
    Gdiplus::Rect const all(0, 0, w, h);
    Gdiplus::BitmapData data;
    if (image->LockBits(&all, Gdiplus::ImageLockModeRead | Gdiplus::ImageLockModeWrite, PixelFormat32bppARGB,
                        &data) != Ok) {
        delete image;
        return false;
    }
    int const tol = std::max(nTolerance, 0);
    for (int y = 0; y < h; ++y) {
        auto *row = reinterpret_cast<std::uint32_t *>(static_cast<unsigned char *>(data.Scan0) + y * data.Stride);
        for (int x = 0; x < w; ++x) {
            std::uint32_t const p = row[x];
            int const r = int(p >> 16 & 0xFF), g = int(p >> 8 & 0xFF), b = int(p & 0xFF);
            if (255 - r <= tol && g <= tol && 255 - b <= tol)
                row[x] = 0;
        }
    }
    image->UnlockBits(&data);
    *this = ImpAdopt(image);
    return !Empty();
}

// ------------------------------------------------------------ packed DIBs

HGLOBAL DIBFromBitmap(HBITMAP hBitmap, HPALETTE hPalette)
{
    BITMAP bm{};
    if (!hBitmap || !GetObjectA(hBitmap, sizeof bm, &bm) || bm.bmWidth <= 0 || bm.bmHeight <= 0)
        return nullptr;
    int const depth = bm.bmPlanes * bm.bmBitsPixel;
    WORD const bits = depth <= 1 ? 1 : depth <= 4 ? 4 : depth <= 8 ? 8 : depth <= 24 ? 24 : 32;
    BITMAPINFOHEADER header{};
    header.biSize = sizeof header;
    header.biWidth = bm.bmWidth;
    header.biHeight = bm.bmHeight;
    header.biPlanes = 1;
    header.biBitCount = bits;
    header.biCompression = BI_RGB;
    size_t const stride = (size_t(bm.bmWidth) * bits + 31) / 32 * 4;
    size_t const table = DibTableBytes(header);
    size_t const image = stride * size_t(bm.bmHeight);
    header.biSizeImage = DWORD(image);
    HGLOBAL global = GlobalAlloc(GMEM_MOVEABLE, sizeof header + table + image);
    if (!global)
        return nullptr;
    auto *block = static_cast<unsigned char *>(GlobalLock(global));
    if (!block) {
        GlobalFree(global);
        return nullptr;
    }
    std::memcpy(block, &header, sizeof header);
    HDC dc = CreateCompatibleDC(nullptr);
    HPALETTE old = hPalette ? SelectPalette(dc, hPalette, FALSE) : nullptr;
    if (hPalette)
        RealizePalette(dc);
    int const lines = GetDIBits(dc, hBitmap, 0, UINT(bm.bmHeight), block + sizeof header + table,
                                reinterpret_cast<BITMAPINFO *>(block), DIB_RGB_COLORS);
    if (hPalette)
        SelectPalette(dc, old, FALSE);
    DeleteDC(dc);
    GlobalUnlock(global);
    if (lines != bm.bmHeight) {
        GlobalFree(global);
        return nullptr;
    }
    return global;
}

HBITMAP GethBMPFrompDIB(void *pPackedDib)
{
    auto const *header = static_cast<BITMAPINFOHEADER const *>(pPackedDib);
    if (!header || header->biSize < 40 || header->biSize > 124 || header->biPlanes != 1)
        return nullptr;
    WORD const bits = header->biBitCount;
    if (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32)
        return nullptr;
    if (header->biCompression != BI_RGB && !(header->biCompression == BI_BITFIELDS && (bits == 16 || bits == 32)))
        return nullptr;
    long long const height = header->biHeight < 0 ? -(long long)header->biHeight : header->biHeight;
    if (!SideFits(header->biWidth) || !SideFits(height))
        return nullptr;
    if ((bits <= 8 && header->biClrUsed > (1u << bits)) || header->biClrUsed > 256)
        return nullptr;
    void const *pixels = static_cast<unsigned char const *>(pPackedDib) + header->biSize + DibTableBytes(*header);
    HDC screen = GetDC(nullptr);
    HBITMAP h = CreateDIBitmap(screen, header, CBM_INIT, pixels, static_cast<BITMAPINFO const *>(pPackedDib),
                               DIB_RGB_COLORS);
    ReleaseDC(nullptr, screen);
    return h;
}

BITMAPINFO TopDownDibInfo(int nWidth, int nHeight)
{
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = nWidth;
    info.bmiHeader.biHeight = -nHeight;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    return info;
}
