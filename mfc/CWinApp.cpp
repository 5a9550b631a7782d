#include "mfc/CWinApp.h"
#include "mfc/CDC.h"
#include "mfc/CPrintDialog.h"

IMPLEMENT_DYNAMIC(CWinApp, CObject)

namespace {
// The application's own object, registered by its constructor; the library's
// stand-in is made only when asked for and never registers.
CWinApp *s_pApp = nullptr;
bool s_bMakingLibraryApp = false;
}

CWinApp::CWinApp(char const *lpszAppName)
    : m_pszAppName(lpszAppName), m_hDevMode(nullptr), m_hDevNames(nullptr), m_pszRegistryKey(nullptr)
{
    if (!s_pApp && !s_bMakingLibraryApp)
        s_pApp = this;
}

CWinApp::~CWinApp()
{
    SelectPrinter(nullptr, nullptr, true);
    if (s_pApp == this)
        s_pApp = nullptr;
}

void CWinApp::SelectPrinter(HGLOBAL hDevNames, HGLOBAL hDevMode, bool bFreeOld)
{
    if (bFreeOld) {
        if (m_hDevNames && m_hDevNames != hDevNames)
            GlobalFree(m_hDevNames);
        if (m_hDevMode && m_hDevMode != hDevMode)
            GlobalFree(m_hDevMode);
    }
    m_hDevNames = hDevNames;
    m_hDevMode = hDevMode;
}

bool CWinApp::CreatePrinterDC(CDC &dc)
{
    AfxDevName const device = AfxGetDevName(m_hDevNames, AfxDevNameDevice);
    if (!device.text[0])
        return false;
    auto const *mode = m_hDevMode ? static_cast<DEVMODEA const *>(GlobalLock(m_hDevMode)) : nullptr;
    bool ok = dc.CreateDC(AfxGetDevName(m_hDevNames, AfxDevNameDriver).text, device.text, nullptr, mode);
    if (mode)
        GlobalUnlock(m_hDevMode);
    return ok;
}

CWinApp *AfxGetApp()
{
    if (s_pApp)
        return s_pApp;
    // Lives to the end of the process, like an application's global object.
    static CWinApp *s_pLibraryApp = [] {
        s_bMakingLibraryApp = true;
        auto *p = new CWinApp("Kestrel5");
        s_bMakingLibraryApp = false;
        return p;
    }();
    return s_pLibraryApp;
}

void CWinApp::SetRegistryKey(char const *lpszRegistryKey)
{
    m_sRegistryKey = lpszRegistryKey ? lpszRegistryKey : "";
    m_pszRegistryKey = m_sRegistryKey.empty() ? nullptr : m_sRegistryKey.c_str();
}

CStringA CWinApp::GetRegistryBase() const
{
    if (!m_pszRegistryKey)
        return CStringA();
    std::string base = "Software\\";
    base += m_pszRegistryKey;
    base += "\\";
    base += m_pszAppName && *m_pszAppName ? m_pszAppName : "Kestrel5";
    base += "\\";
    return CStringA(base.c_str());
}

CStringA AFXGetRegPath(char const *lpszPostFix, char const *lpszProfileName)
{
    CWinApp const *app = AfxGetApp();
    CStringA const base = app ? app->GetRegistryBase() : CStringA();
    if (base.IsEmpty() || !lpszPostFix || !*lpszPostFix)
        return CStringA();
    std::string path = base.GetString();
    path += lpszPostFix;
    path += "\\";
    if (lpszProfileName && *lpszProfileName) {
        path += lpszProfileName;
        if (path.back() != '\\')
            path += "\\";
    }
    return CStringA(path.c_str());
}
