#pragma once
// A module of resources made by a test: a copy of the test program with
// bitmaps, PNGs and icons written into its resources, loaded as data. The
// module is freed and its file deleted with the object.
#include "tests/support/ImageSamples.h"

#include <string>
#include <vector>
#include <windows.h>

namespace kstest {

class ResourceModule
{
public:
    explicit ResourceModule(std::string const &rName);
    ~ResourceModule();
    ResourceModule(ResourceModule const &) = delete;
    ResourceModule &operator=(ResourceModule const &) = delete;

    // Written when Load is called; false when the data cannot be had.
    bool AddBitmap(unsigned nId, HBITMAP hBitmap);
    bool AddPng(unsigned nId, std::vector<unsigned char> const &rPng);
    // A 32-bit icon of w x h; pixels equal to nClear are transparent.
    bool AddIcon(unsigned nId, int w, int h, Pixels const &rPixels, std::uint32_t nClear);
    // Writes what was added and loads the copy; null when that failed.
    HMODULE Load();

private:
    struct Entry
    {
        char const *pType;
        unsigned nId;
        std::vector<unsigned char> aData;
    };
    std::string m_aPath;
    std::vector<Entry> m_aEntries;
    HMODULE m_hModule;
    unsigned m_nNextIconId;
};

} // namespace kstest
