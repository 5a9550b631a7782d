#include "tests/support/ResourceModule.h"

#include <cstring>

namespace kstest {

namespace {

template <class T> void Append(std::vector<unsigned char> &rOut, T const &rValue)
{
    auto const *p = reinterpret_cast<unsigned char const *>(&rValue);
    rOut.insert(rOut.end(), p, p + sizeof rValue);
}

#pragma pack(push, 2)
struct GroupIconHeader // the resource form of an icon directory
{
    WORD nReserved;
    WORD nType; // 1: icons
    WORD nCount;
};
struct GroupIconEntry
{
    BYTE nWidth;
    BYTE nHeight;
    BYTE nColours;
    BYTE nReserved;
    WORD nPlanes;
    WORD nBitCount;
    DWORD nBytes;
    WORD nId; // the RT_ICON resource holding the image
};
#pragma pack(pop)
static_assert(sizeof(GroupIconEntry) == 14);

} // namespace

ResourceModule::ResourceModule(std::string const &rName)
    : m_aPath(TempFile(rName)), m_hModule(nullptr), m_nNextIconId(0x7000)
{
}

ResourceModule::~ResourceModule()
{
    if (m_hModule)
        FreeLibrary(m_hModule);
    DeleteFileA(m_aPath.c_str());
}

bool ResourceModule::AddBitmap(unsigned nId, HBITMAP hBitmap)
{
    // A bitmap resource is a packed DIB: the file without its file header.
    BITMAP bm{};
    if (!GetObjectA(hBitmap, sizeof bm, &bm))
        return false;
    BITMAPINFOHEADER info{};
    info.biSize = sizeof info;
    info.biWidth = bm.bmWidth;
    info.biHeight = bm.bmHeight;
    info.biPlanes = 1;
    info.biBitCount = 32;
    info.biCompression = BI_RGB;
    std::vector<unsigned char> data(sizeof info + std::size_t(bm.bmWidth) * std::size_t(bm.bmHeight) * 4);
    std::memcpy(data.data(), &info, sizeof info);
    HDC dc = CreateCompatibleDC(nullptr);
    int const lines = GetDIBits(dc, hBitmap, 0, UINT(bm.bmHeight), data.data() + sizeof info,
                                reinterpret_cast<BITMAPINFO *>(data.data()), DIB_RGB_COLORS);
    DeleteDC(dc);
    if (lines != bm.bmHeight)
        return false;
    m_aEntries.push_back({MAKEINTRESOURCEA(2), nId, std::move(data)});
    return true;
}

bool ResourceModule::AddPng(unsigned nId, std::vector<unsigned char> const &rPng)
{
    if (rPng.empty())
        return false;
    m_aEntries.push_back({"PNG", nId, rPng});
    return true;
}

bool ResourceModule::AddIcon(unsigned nId, int w, int h, Pixels const &rPixels, std::uint32_t nClear)
{
    if (w <= 0 || h <= 0 || w > 255 || h > 255 || rPixels.size() != std::size_t(w) * std::size_t(h))
        return false;
    // The image: a header of twice the height (colour above mask), the
    // colour rows and the mask rows, both bottom-up.
    BITMAPINFOHEADER info{};
    info.biSize = sizeof info;
    info.biWidth = w;
    info.biHeight = 2 * h;
    info.biPlanes = 1;
    info.biBitCount = 32;
    info.biCompression = BI_RGB;
    std::vector<unsigned char> image;
    Append(image, info);
    for (int y = h - 1; y >= 0; --y)
        for (int x = 0; x < w; ++x) {
            std::uint32_t const p = rPixels[std::size_t(y * w + x)];
            std::uint32_t const bgra = p == nClear ? 0u : (0xFF000000u | p); // 0xRRGGBB is B, G, R in memory
            Append(image, bgra);
        }
    std::size_t const maskStride = std::size_t((w + 31) / 32) * 4;
    for (int y = h - 1; y >= 0; --y) {
        std::vector<unsigned char> row(maskStride, 0);
        for (int x = 0; x < w; ++x)
            if (rPixels[std::size_t(y * w + x)] == nClear)
                row[std::size_t(x / 8)] |= static_cast<unsigned char>(0x80 >> (x % 8));
        image.insert(image.end(), row.begin(), row.end());
    }
    unsigned const imageId = m_nNextIconId++;
    std::vector<unsigned char> group;
    Append(group, GroupIconHeader{0, 1, 1});
    Append(group, GroupIconEntry{BYTE(w), BYTE(h), 0, 0, 1, 32, DWORD(image.size()), WORD(imageId)});
    m_aEntries.push_back({MAKEINTRESOURCEA(3), imageId, std::move(image)});
    m_aEntries.push_back({MAKEINTRESOURCEA(14), nId, std::move(group)});
    return true;
}

HMODULE ResourceModule::Load()
{
    if (m_hModule)
        return m_hModule;
    char self[MAX_PATH];
    GetModuleFileNameA(nullptr, self, MAX_PATH);
    if (!CopyFileA(self, m_aPath.c_str(), FALSE))
        return nullptr;
    HANDLE update = BeginUpdateResourceA(m_aPath.c_str(), FALSE);
    if (!update)
        return nullptr;
    WORD const lang = MAKELANGID(LANG_NEUTRAL, SUBLANG_NEUTRAL);
    bool ok = true;
    for (Entry &e : m_aEntries)
        ok = UpdateResourceA(update, e.pType, MAKEINTRESOURCEA(e.nId), lang, e.aData.data(),
                             DWORD(e.aData.size())) &&
             ok;
    if (!EndUpdateResourceA(update, !ok) || !ok)
        return nullptr;
    m_hModule = LoadLibraryExA(m_aPath.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    return m_hModule;
}

} // namespace kstest
