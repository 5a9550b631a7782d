#pragma once
#include "frame/Kestrel5Api.h"
#include "text/SString.h"

#include <windef.h>

// A system library loaded at run time, freed with the object. A library
// that failed to load answers every query with null, false or -1.
class KSAPI LibraryLoader
{
public:
    explicit LibraryLoader(SString const &rName);
    virtual ~LibraryLoader();
    // A copy holds the same module, counted once more by the platform, so
    // that each object frees its own hold.
    LibraryLoader(LibraryLoader const &rOther);
    LibraryLoader &operator=(LibraryLoader const &rOther);

    bool IsLoaded() const { return m_hModule != nullptr; }
    HMODULE GetModule() const { return m_hModule; }
    __int64 (*GetProcAddress(SString const &rName) const)();
    // Calls the export without arguments: whether it returned non-zero.
    bool BOOLFunc(SString const &rName) const;
    // The library's version from its "DllGetVersion" export.
    bool FillVersion(int &rMajor, int &rMinor) const;
    int GetMajorVersion() const;

protected:
    LibraryLoader();
    void Load(SString const &rName);

private:
    HMODULE m_hModule;
};
