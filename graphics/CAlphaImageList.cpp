#include "graphics/CAlphaImageList.h"

#include "frame/LibraryLoader.h"
#include "graphics/Bitmap.h"
#include "mfc/CDC.h"

#include <cstdint>
#include <cstring>
#include <vector>
#include <windows.h>
#include <commctrl.h>

namespace {

constexpr COLORREF KEY = RGB(255, 0, 255);
constexpr std::uint32_t KEY_PIXEL = 0xFF00FF; // KEY as a 32-bit DIB pixel (blue in the low byte)
constexpr UINT SPI_FLATMENU = 0x1022;         // SPI_GETFLATMENU
constexpr DWORD ROP_SOURCE_SELECTS_PATTERN = 0xB8074A; // PSDPxax: clear source bits take the brush

// A 32-bit copy of the strip with every colour but the key turned into a
// light grey of its brightness: the look of a disabled button.
HBITMAP GreyCopy(HBITMAP hStrip)
{
    BITMAP bm{};
    if (!GetObjectA(hStrip, sizeof bm, &bm) || bm.bmWidth <= 0 || bm.bmHeight <= 0)
        return nullptr;
    BITMAPINFOHEADER info = TopDownDibInfo(bm.bmWidth, bm.bmHeight).bmiHeader;
    std::vector<std::uint32_t> pixels(std::size_t(bm.bmWidth) * std::size_t(bm.bmHeight));
    HDC dc = CreateCompatibleDC(nullptr);
    if (!dc)
        return nullptr;
    HBITMAP grey = nullptr;
    if (GetDIBits(dc, hStrip, 0, UINT(bm.bmHeight), pixels.data(), reinterpret_cast<BITMAPINFO *>(&info),
                  DIB_RGB_COLORS) == bm.bmHeight) {
        for (std::uint32_t &p : pixels) {
            if ((p & 0xFFFFFF) == KEY_PIXEL)
                continue;
            std::uint32_t const lum = ((p >> 16 & 0xFF) * 77 + (p >> 8 & 0xFF) * 150 + (p & 0xFF) * 29) >> 8;
            std::uint32_t const v = 128 + lum / 2;
            p = v | v << 8 | v << 16;
        }
        void *bits = nullptr;
        info = TopDownDibInfo(bm.bmWidth, bm.bmHeight).bmiHeader;
        grey = CreateDIBSection(dc, reinterpret_cast<BITMAPINFO *>(&info), DIB_RGB_COLORS, &bits, nullptr, 0);
        if (grey && bits)
            std::memcpy(bits, pixels.data(), pixels.size() * sizeof pixels[0]);
    }
    DeleteDC(dc);
    return grey;
}

// The platform's masked add blackens the key pixels of the bitmap it is
// given: each list gets a copy of its own. The index of the first image
// added, -1 when none was (the platform answers the next index also for a
// strip narrower than one image).
int AddMaskedCopy(CImageList &rList, HBITMAP hStrip)
{
    if (!rList.m_hImageList || !hStrip)
        return -1;
    auto copy = static_cast<HBITMAP>(CopyImage(hStrip, IMAGE_BITMAP, 0, 0, 0));
    if (!copy)
        return -1;
    int const before = rList.GetImageCount();
    int const index = ImageList_AddMasked(rList.m_hImageList, copy, KEY);
    DeleteObject(copy);
    return index >= 0 && rList.GetImageCount() > before ? index : -1;
}

} // namespace

CAlphaImageList::CAlphaImageList() : m_nWidth(0), m_nHeight(0), m_nBits(0)
{
}

CAlphaImageList::~CAlphaImageList()
{
    ImpDelete();
}

void CAlphaImageList::ImpDelete()
{
    for (CImageList &list : m_aLists)
        list.DeleteImageList();
    m_nWidth = m_nHeight = m_nBits = 0;
}

int CAlphaImageList::Create(int cx, int cy, int nAlphaMode, int nGrow)
{
    ImpDelete();
    if (cx < 1 || cy < 1 || nGrow < 0)
        return 0;
    int bits = 4;
    int lists = 1;
    if (nAlphaMode == 1) {
        // Per-pixel alpha in image lists came with version 6 of the common
        // controls; before it a 32-bit list draws no better than 24 bits.
        bits = LibraryLoader(SString("comctl32.dll")).GetMajorVersion() >= 6 ? 32 : 24;
        lists = 3;
    }
    for (int i = 0; i < lists; ++i) {
        if (!m_aLists[i].Create(cx, cy, unsigned(bits) | ILC_MASK, nGrow, 1)) {
            ImpDelete();
            return 0;
        }
    }
    m_nWidth = cx;
    m_nHeight = cy;
    m_nBits = bits;
    return 1;
}

int CAlphaImageList::AddBitmap(unsigned int nResId)
{
    if (m_nWidth < 1)
        return -1;
    Bitmap strip(nResId);
    HBITMAP h = strip.Empty() ? nullptr : static_cast<HBITMAP>(strip);
    int const first = AddMaskedCopy(m_aLists[STATE_NORMAL], h);
    if (first < 0 || !m_aLists[STATE_HOT].m_hImageList)
        return first;
    AddMaskedCopy(m_aLists[STATE_HOT], h);
    HBITMAP grey = GreyCopy(h);
    if (AddMaskedCopy(m_aLists[STATE_DISABLED], grey) < 0)
        AddMaskedCopy(m_aLists[STATE_DISABLED], h); // no memory for the grey copy: at least the image
    if (grey)
        DeleteObject(grey);
    return first;
}

int CAlphaImageList::Count() const
{
    return m_aLists[STATE_NORMAL].GetImageCount();
}

CImageList *CAlphaImageList::GetImageList(int nState)
{
    if (nState < STATE_NORMAL || nState > STATE_DISABLED || !m_aLists[nState].m_hImageList)
        return nullptr;
    return &m_aLists[nState];
}

bool CAlphaImageList::GetImageList(int nState, CImageList &rList)
{
    rList.DeleteImageList();
    CImageList *list = GetImageList(nState);
    return list && rList.Create(list);
}

bool CAlphaImageList::Draw(CDC *pDC, CPoint pt, int nState, int nIndex)
{
    if (m_nWidth < 1 || !pDC || !pDC->m_hDC)
        return false;
    if (m_nBits >= 24) {
        CImageList *list = GetImageList(nState);
        return list && list->Draw(pDC, nIndex, pt, ILD_TRANSPARENT);
    }
    if (nState == STATE_NORMAL)
        return m_aLists[STATE_NORMAL].Draw(pDC, nIndex, pt, ILD_TRANSPARENT);
    if (nState == STATE_DISABLED)
        return ImpEmboss(pDC, pt, nIndex);
    return false;
}

// The image's shape in one bit per pixel (dark pixels clear), stamped in the
// button shadow colour, and one pixel down and right in the highlight colour
// beneath it, as the platform draws disabled buttons. With flat menus the
// highlight is left out.
bool CAlphaImageList::ImpEmboss(CDC *pDC, CPoint pt, int nIndex)
{
    CImageList &list = m_aLists[STATE_NORMAL];
    if (nIndex < 0 || nIndex >= list.GetImageCount())
        return false;
    HDC target = pDC->m_hDC;
    struct
    {
        BITMAPINFOHEADER header;
        RGBQUAD colours[2];
    } info{};
    info.header.biSize = sizeof info.header;
    info.header.biWidth = m_nWidth;
    info.header.biHeight = m_nHeight;
    info.header.biPlanes = 1;
    info.header.biBitCount = 1;
    info.header.biCompression = BI_RGB;
    info.colours[1] = RGBQUAD{255, 255, 255, 0};
    void *bits = nullptr;
    HBITMAP shape =
        CreateDIBSection(target, reinterpret_cast<BITMAPINFO *>(&info), DIB_RGB_COLORS, &bits, nullptr, 0);
    HDC mem = shape ? CreateCompatibleDC(target) : nullptr;
    if (!mem) {
        if (shape)
            DeleteObject(shape);
        return false;
    }
    HGDIOBJ oldShape = SelectObject(mem, shape);
    PatBlt(mem, 0, 0, m_nWidth, m_nHeight, WHITENESS);
    ImageList_Draw(list.m_hImageList, nIndex, mem, 0, 0, ILD_TRANSPARENT);

    COLORREF const oldText = SetTextColor(target, RGB(0, 0, 0));
    COLORREF const oldBack = SetBkColor(target, RGB(255, 255, 255));
    BOOL flat = FALSE;
    if (!SystemParametersInfoA(SPI_FLATMENU, 0, &flat, 0))
        flat = FALSE;
    HGDIOBJ oldBrush = SelectObject(target, GetSysColorBrush(COLOR_BTNHIGHLIGHT));
    if (!flat)
        BitBlt(target, pt.x + 1, pt.y + 1, m_nWidth, m_nHeight, mem, 0, 0, ROP_SOURCE_SELECTS_PATTERN);
    SelectObject(target, GetSysColorBrush(COLOR_BTNSHADOW));
    bool const ok = BitBlt(target, pt.x, pt.y, m_nWidth, m_nHeight, mem, 0, 0, ROP_SOURCE_SELECTS_PATTERN) != FALSE;
    SelectObject(target, oldBrush);
    SetBkColor(target, oldBack);
    SetTextColor(target, oldText);

    SelectObject(mem, oldShape);
    DeleteDC(mem);
    DeleteObject(shape);
    return ok;
}
