#pragma once
#include "frame/Kestrel5Api.h"
#include "mfc/CObject.h"

#include <string>
#include <windows.h>

#include "mfc/CStringT.h"

class CDC;

// The application object, reduced to what printing and the settings store
// need of it: the application-wide printer selection (a DEVNAMES and a
// DEVMODE block), from which printer DCs are made, and the registry key
// under which the application keeps its settings. An application that makes no application
// object of its own gets one from the library.
class KSAPI CWinApp : public CObject
{
    DECLARE_DYNAMIC(CWinApp)
public:
    explicit CWinApp(char const *lpszAppName = nullptr);
    ~CWinApp() override;
    CWinApp(CWinApp const &) = delete;
    CWinApp &operator=(CWinApp const &) = delete;

    char const *m_pszAppName;
    HGLOBAL m_hDevMode;
    HGLOBAL m_hDevNames;

    // The application takes the two blocks over; the blocks it had are freed
    // when bFreeOld is set.
    void SelectPrinter(HGLOBAL hDevNames, HGLOBAL hDevMode, bool bFreeOld = true);
    // A DC of the selected printer, with the selected settings; false while
    // no printer is selected.
    bool CreatePrinterDC(CDC &dc);

    // The application's settings live under
    // HKEY_CURRENT_USER\Software\<lpszRegistryKey>\<application name>.
    // Until a key is set the application has no place in the settings store.
    void SetRegistryKey(char const *lpszRegistryKey);
    char const *m_pszRegistryKey;
    // "Software\<company>\<application>\", or empty without a registry key.
    CStringA GetRegistryBase() const;

private:
    std::string m_sRegistryKey;
};

// The settings-store path of a section under a profile:
// "<application base><section>\<profile>\" ("<application base><section>\"
// without a profile), or empty when the application has no registry key.
KSAPI CStringA AFXGetRegPath(char const *lpszPostFix, char const *lpszProfileName = nullptr);

// The application object: the one the application made, else the library's.
KSAPI CWinApp *AfxGetApp();
