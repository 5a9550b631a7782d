#include "mfc/AfxWin.h"
#include "mfc/CWnd.h"

#include <atomic>
#include <cstdio>
#include <mutex>
#include <set>
#include <string>
#include <windows.h>

namespace {

HINSTANCE g_hInstance;
HINSTANCE g_hResource;
std::atomic<int> g_nLoadedLibraries{0};

std::mutex &ClassLock()
{
    static std::mutex m;
    return m;
}

std::set<std::string> &ClassNames()
{
    static std::set<std::string> names;
    return names;
}

} // namespace

void KsSetModuleInstance(HINSTANCE hInst)
{
    g_hInstance = hInst;
    if (!g_hResource)
        g_hResource = hInst;
}

HINSTANCE AfxGetInstanceHandle()
{
    if (!g_hInstance) {
        // Linked statically into a test, or before the entry point ran:
        // the module that holds this code.
        GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                           reinterpret_cast<char const *>(&AfxGetInstanceHandle), &g_hInstance);
    }
    return g_hInstance;
}

HINSTANCE AfxGetResourceHandle()
{
    return g_hResource ? g_hResource : AfxGetInstanceHandle();
}

void AfxSetResourceHandle(HINSTANCE hInst)
{
    g_hResource = hInst;
}

char const *AfxRegisterWndClass(unsigned int nClassStyle, HCURSOR hCursor, HBRUSH hbrBackground, HICON hIcon)
{
    char name[128];
    HINSTANCE inst = AfxGetInstanceHandle();
    std::snprintf(name, sizeof name, "Ks:%p:%x:%p:%p:%p", static_cast<void *>(inst), nClassStyle,
                  static_cast<void *>(hCursor), static_cast<void *>(hbrBackground), static_cast<void *>(hIcon));
    std::lock_guard<std::mutex> guard(ClassLock());
    auto it = ClassNames().find(name);
    if (it != ClassNames().end())
        return it->c_str();
    WNDCLASSA wc{};
    if (!GetClassInfoA(inst, name, &wc)) {
        wc.style = nClassStyle;
        wc.lpfnWndProc = CWnd::StdWndProc;
        wc.hInstance = inst;
        wc.hCursor = hCursor;
        wc.hbrBackground = hbrBackground;
        wc.hIcon = hIcon;
        wc.lpszClassName = name;
        if (!RegisterClassA(&wc))
            return nullptr;
    }
    return ClassNames().insert(name).first->c_str();
}

HINSTANCE AfxLoadLibrary(char const *lpszModuleName)
{
    if (!lpszModuleName)
        return nullptr;
    HINSTANCE h = LoadLibraryA(lpszModuleName);
    if (h)
        ++g_nLoadedLibraries;
    return h;
}

bool AfxFreeLibrary(HINSTANCE hInstLib)
{
    if (!hInstLib || !FreeLibrary(hInstLib))
        return false;
    --g_nLoadedLibraries;
    return true;
}

int AfxGetLoadedLibraryCount()
{
    return g_nLoadedLibraries;
}

int AfxMessageBox(char const *lpszText, unsigned int nType, unsigned int)
{
    char path[MAX_PATH] = "";
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    char const *base = path;
    for (char const *p = path; *p; ++p)
        if (*p == '\\' || *p == '/')
            base = p + 1;
    std::string title(base);
    auto dot = title.rfind('.');
    if (dot != std::string::npos)
        title.erase(dot);
    return MessageBoxA(GetActiveWindow(), lpszText ? lpszText : "", title.c_str(), nType);
}

void AfxTermThread()
{
    AfxDeleteTempMap();
}
