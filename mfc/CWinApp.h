#pragma once
#include "frame/Kestrel5Api.h"
#include "mfc/CObject.h"

#include <windows.h>

class CDC;

// The application object, reduced to what printing needs of it: the
// application-wide printer selection (a DEVNAMES and a DEVMODE block), from
// which printer DCs are made. An application that makes no application
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
};

// The application object: the one the application made, else the library's.
KSAPI CWinApp *AfxGetApp();
