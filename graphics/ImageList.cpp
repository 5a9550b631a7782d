#include "graphics/ImageList.h"

#include "base/DirEntry.h"
#include "graphics/OutputDevice.h"
#include "graphics/VirtualDevice.h"
#include "mfc/CImageList.h"

#include <optional>
#include <windows.h>
#include <commctrl.h>

struct ImageListBody
{
    CImageList *pList; // null until the first image when the list is our own
    bool bOwned;       // pList was made here and goes with the body
    long nRefCount;    // the holders beyond the first
};

HINSTANCE ImageList::aResHandle = GetModuleHandleA(nullptr);

namespace {

constexpr COLORREF KEY = RGB(255, 0, 255);

// The list's platform flags: the device's own colours, with a mask when the
// images come with a transparent colour.
constexpr unsigned int FLAGS_DEVICE = ILC_COLORDDB;             // 254
constexpr unsigned int FLAGS_DEVICE_MASKED = ILC_COLORDDB | ILC_MASK;

// A private copy of a bitmap for the platform's masked add, which blackens
// the masked pixels of the bitmap it is given: the caller's bitmap, maybe
// shared by other holders, must not change.
class MaskedAddSource
{
public:
    explicit MaskedAddSource(HBITMAP h)
        : m_h(h ? static_cast<HBITMAP>(CopyImage(h, IMAGE_BITMAP, 0, 0, 0)) : nullptr)
    {
    }
    ~MaskedAddSource()
    {
        if (m_h)
            DeleteObject(m_h);
    }
    MaskedAddSource(MaskedAddSource const &) = delete;
    MaskedAddSource &operator=(MaskedAddSource const &) = delete;
    HBITMAP Get() const { return m_h; }

private:
    HBITMAP m_h;
};

// The index of the first image added, -1 when none was: the platform
// answers the next index also for a bitmap narrower than one image.
template <class AddCall> int AddChecked(CImageList *pList, AddCall &&add)
{
    if (!pList)
        return -1;
    int const before = pList->GetImageCount();
    int const index = add(pList->m_hImageList);
    return index >= 0 && pList->GetImageCount() > before ? index : -1;
}

} // namespace

ImageList::ImageList() : m_pBody(new ImageListBody{nullptr, false, 0})
{
}

ImageList::ImageList(CImageList *pList) : m_pBody(new ImageListBody{pList, false, 0})
{
}

ImageList::ImageList(ImageList const &rOther) : m_pBody(rOther.m_pBody)
{
    ++m_pBody->nRefCount;
}

ImageList &ImageList::operator=(ImageList const &rOther)
{
    // Taken before the release, which on self-assignment may free it.
    ImageListBody *p = rOther.m_pBody;
    ++p->nRefCount;
    Release();
    m_pBody = p;
    return *this;
}

ImageList::~ImageList()
{
    Release();
}

void ImageList::Release()
{
    if (m_pBody->nRefCount > 0) {
        --m_pBody->nRefCount;
    } else {
        if (m_pBody->bOwned)
            delete m_pBody->pList;
        delete m_pBody;
    }
    m_pBody = nullptr;
}

void ImageList::SetAsWrap(CImageList *pList)
{
    *this = ImageList(pList);
}

CImageList *ImageList::GetPCImageList() const
{
    return m_pBody->pList && m_pBody->pList->m_hImageList ? m_pBody->pList : nullptr;
}

CImageList *ImageList::ImpList(int cx, int cy, unsigned int nFlags, int nInitial, int nGrow)
{
    if (!m_pBody->pList) {
        m_pBody->pList = new CImageList;
        m_pBody->bOwned = true;
    }
    CImageList *list = m_pBody->pList;
    if (!list->m_hImageList && !list->Create(cx, cy, nFlags, nInitial, nGrow))
        return nullptr;
    return list;
}

int ImageList::Add(Bitmap const &rBitmap)
{
    if (rBitmap.Empty())
        return -1;
    Size const s = rBitmap.GetSize();
    CImageList *list = ImpList(s.Width(), s.Height(), FLAGS_DEVICE, 1, 2);
    HBITMAP h = rBitmap.GetHBitmap(Color(ColorNameLightMagenta));
    if (!h)
        return -1;
    return AddChecked(list, [h](HIMAGELIST l) { return ImageList_Add(l, h, nullptr); });
}

int ImageList::Add(Bitmap const &rBitmap, Color const &rMask)
{
    if (rBitmap.Empty())
        return -1;
    Size const s = rBitmap.GetSize();
    CImageList *list = ImpList(s.Width(), s.Height(), FLAGS_DEVICE_MASKED, 1, 2);
    MaskedAddSource source(rBitmap.GetHBitmap(Color(ColorNameLightMagenta)));
    if (!source.Get())
        return -1;
    COLORREF const mask = static_cast<COLORREF>(rMask.GetLong());
    return AddChecked(list, [&source, mask](HIMAGELIST l) { return ImageList_AddMasked(l, source.Get(), mask); });
}

int ImageList::AddGdiplusBitmap(Gdiplus::Bitmap *pImage, int nSize)
{
    if (!pImage || nSize < 1 || nSize > BITMAP_MAX_SIDE)
        return -1;
    Bitmap flat(pImage); // a clone of our own: the masked add may change it
    HBITMAP h = flat.Empty() ? nullptr : flat.GetHBitmap(Color(ColorNameLightMagenta));
    CImageList *list = h ? ImpList(nSize, nSize, ILC_COLOR32, 0, 4) : nullptr;
    return AddChecked(list, [h](HIMAGELIST l) { return ImageList_AddMasked(l, h, KEY); });
}

int ImageList::AddPng(unsigned int nResId)
{
    Bitmap png = Bitmap::FromPngRes(nResId);
    return png.Empty() ? -1 : AddGdiplusBitmap(png.GetPGdiplusBitmap(), png.GetHeight());
}

int ImageList::AddPng(DirEntry const &)
{
    return -1;
}

int ImageList::AddIcon(unsigned int nResId)
{
    int cx = 0, cy = 0;
    if (CImageList *list = GetPCImageList())
        ImageList_GetIconSize(list->m_hImageList, &cx, &cy);
    // Without a list the icon's own first size is taken (cx = cy = 0).
    auto icon = static_cast<HICON>(LoadImageA(aResHandle, MAKEINTRESOURCEA(nResId), IMAGE_ICON, cx, cy, 0));
    if (!icon)
        return -1;
    int const index = AddIcon(icon, Color(ColorNameLightMagenta));
    DestroyIcon(icon);
    return index;
}

int ImageList::AddIcon(HICON hIcon, Color const &rBack)
{
    ICONINFO info{};
    if (!hIcon || !GetIconInfo(hIcon, &info))
        return -1;
    BITMAP bm{};
    bool const sized = GetObjectA(info.hbmColor ? info.hbmColor : info.hbmMask, sizeof bm, &bm) != 0;
    int const w = bm.bmWidth, h = info.hbmColor ? bm.bmHeight : bm.bmHeight / 2; // a mono icon stacks its masks
    if (info.hbmColor)
        DeleteObject(info.hbmColor);
    if (info.hbmMask)
        DeleteObject(info.hbmMask);
    CImageList *list = sized ? ImpList(w, h, FLAGS_DEVICE_MASKED, 1, 2) : nullptr;
    int cx = 0, cy = 0;
    if (!list || !ImageList_GetIconSize(list->m_hImageList, &cx, &cy))
        return -1;
    HDC screen = GetDC(nullptr);
    HBITMAP canvas = screen ? CreateCompatibleBitmap(screen, cx, cy) : nullptr;
    if (screen)
        ReleaseDC(nullptr, screen);
    if (!canvas)
        return -1;
    COLORREF const back = static_cast<COLORREF>(rBack.GetLong());
    HDC dc = CreateCompatibleDC(nullptr);
    int index = -1;
    if (dc) {
        HGDIOBJ old = SelectObject(dc, canvas);
        HBRUSH fill = CreateSolidBrush(back);
        RECT all{0, 0, cx, cy};
        FillRect(dc, &all, fill);
        DeleteObject(fill);
        DrawIconEx(dc, 0, 0, hIcon, cx, cy, 0, nullptr, DI_NORMAL);
        SelectObject(dc, old);
        DeleteDC(dc);
        index = AddChecked(list, [canvas, back](HIMAGELIST l) { return ImageList_AddMasked(l, canvas, back); });
    }
    DeleteObject(canvas);
    return index;
}

int ImageList::Count() const
{
    CImageList const *list = GetPCImageList();
    return list ? list->GetImageCount() : 0;
}

Bitmap ImageList::GetBitmap(int nIndex, OutputDevice *pDev) const
{
    CImageList *list = GetPCImageList();
    IMAGEINFO info{};
    if (!list || !list->GetImageInfo(nIndex, &info))
        return Bitmap();
    Size const s(info.rcImage.right - info.rcImage.left, info.rcImage.bottom - info.rcImage.top);
    std::optional<VirtualDevice> device;
    if (pDev)
        device.emplace(*pDev);
    else
        device.emplace();
    if (!device->SetOutputSize(s, false) || device->GetOutputSizePixel() != s)
        return Bitmap();
    HDC dc = device->GethDC();
    IMAGELISTDRAWPARAMS params{};
    params.i = nIndex;
    params.hdcDst = dc;
    params.rgbBk = KEY; // where the mask is clear: the key colour, not what the device held
    params.rgbFg = CLR_DEFAULT;
    params.fStyle = ILD_NORMAL;
    params.dwRop = SRCCOPY;
    if (!dc || !list->DrawIndirect(&params))
        return Bitmap();
    return Bitmap(static_cast<HBITMAP>(GetCurrentObject(dc, OBJ_BITMAP)));
}
