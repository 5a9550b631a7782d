#include "frame/LibraryLoader.h"
#include "mfc/AfxWin.h"

#include <windows.h>

LibraryLoader::LibraryLoader() : m_hModule(nullptr)
{
}

LibraryLoader::LibraryLoader(SString const &rName) : m_hModule(nullptr)
{
    Load(rName);
}

namespace {
HMODULE HoldAgain(HMODULE h)
{
    HMODULE again = nullptr;
    if (h && GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS, reinterpret_cast<LPCSTR>(h), &again))
        return again;
    return nullptr;
}
} // namespace

LibraryLoader::LibraryLoader(LibraryLoader const &rOther) : m_hModule(HoldAgain(rOther.m_hModule))
{
}

LibraryLoader &LibraryLoader::operator=(LibraryLoader const &rOther)
{
    if (this != &rOther) {
        HMODULE const held = HoldAgain(rOther.m_hModule);
        if (m_hModule)
            AfxFreeLibrary(m_hModule);
        m_hModule = held;
    }
    return *this;
}

LibraryLoader::~LibraryLoader()
{
    if (m_hModule)
        AfxFreeLibrary(m_hModule);
}

void LibraryLoader::Load(SString const &rName)
{
    if (m_hModule)
        AfxFreeLibrary(m_hModule);
    m_hModule = rName.Len() ? AfxLoadLibrary(rName.GetStr()) : nullptr;
}

__int64 (*LibraryLoader::GetProcAddress(SString const &rName) const)()
{
    if (!m_hModule || rName.Len() == 0)
        return nullptr;
    return reinterpret_cast<__int64 (*)()>(reinterpret_cast<void *>(::GetProcAddress(m_hModule, rName.GetStr())));
}

bool LibraryLoader::BOOLFunc(SString const &rName) const
{
    auto f = reinterpret_cast<BOOL(WINAPI *)()>(reinterpret_cast<void *>(GetProcAddress(rName)));
    return f && f() != 0;
}

namespace {
struct VersionRecord // the platform's DLLVERSIONINFO
{
    DWORD cbSize;
    DWORD dwMajorVersion;
    DWORD dwMinorVersion;
    DWORD dwBuildNumber;
    DWORD dwPlatformID;
};
static_assert(sizeof(VersionRecord) == 20);
} // namespace

bool LibraryLoader::FillVersion(int &rMajor, int &rMinor) const
{
    rMajor = rMinor = -1;
    auto f = reinterpret_cast<HRESULT(CALLBACK *)(VersionRecord *)>(
        reinterpret_cast<void *>(GetProcAddress(SString("DllGetVersion"))));
    if (!f)
        return false;
    VersionRecord v{};
    v.cbSize = sizeof v;
    if (f(&v) != 0)
        return false;
    rMajor = static_cast<int>(v.dwMajorVersion);
    rMinor = static_cast<int>(v.dwMinorVersion);
    return true;
}

int LibraryLoader::GetMajorVersion() const
{
    int major, minor;
    FillVersion(major, minor);
    return major;
}
