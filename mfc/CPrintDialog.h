#pragma once
#include "frame/Kestrel5Api.h"
#include "mfc/CObject.h"
#include "mfc/CStringT.h"

#include <windows.h>
#include <commdlg.h>

class CWnd;

// The names a DEVNAMES block holds.
enum AfxDevNameKind
{
    AfxDevNameDriver = 0,
    AfxDevNameDevice = 1,
    AfxDevNamePort = 2
};

// One name copied out of a DEVNAMES block, so that the block is not left
// locked; "" without a block.
struct AfxDevName
{
    char text[256];
};
KSAPI AfxDevName AfxGetDevName(HGLOBAL hDevNames, AfxDevNameKind eKind);

// The platform's print dialog. The dialog owns the DEVNAMES and DEVMODE
// blocks and the printer DC it obtained, and frees them with itself; a
// caller that keeps a printer selection takes copies.
class KSAPI CPrintDialog : public CObject
{
    DECLARE_DYNAMIC(CPrintDialog)
public:
    // The default flags 0x14000C: all pages, copies through the DEVMODE, no
    // page numbers, no "print to file", no selection.
    explicit CPrintDialog(bool bPrintSetupOnly,
                          unsigned long dwFlags = PD_ALLPAGES | PD_USEDEVMODECOPIES | PD_NOPAGENUMS |
                                                  PD_HIDEPRINTTOFILE | PD_NOSELECTION,
                          CWnd *pParentWnd = nullptr);
    ~CPrintDialog() override;
    CPrintDialog(CPrintDialog const &) = delete;
    CPrintDialog &operator=(CPrintDialog const &) = delete;

    PRINTDLGA m_pd;

    // Shows the dialog; IDOK or IDCANCEL.
    INT_PTR DoModal();
    // The default printer's settings, without a window.
    bool GetDefaults();

    CStringA GetDeviceName() const { return CStringA(AfxGetDevName(m_pd.hDevNames, AfxDevNameDevice).text); }
    CStringA GetDriverName() const { return CStringA(AfxGetDevName(m_pd.hDevNames, AfxDevNameDriver).text); }
    CStringA GetPortName() const { return CStringA(AfxGetDevName(m_pd.hDevNames, AfxDevNamePort).text); }
    // The settings block, locked; unlocked by the dialog's destructor.
    DEVMODEA *GetDevMode() const;
    // A DC for the chosen printer and settings, kept in m_pd.hDC.
    HDC CreatePrinterDC();
    HDC GetPrinterDC() const { return m_pd.hDC; }

private:
    bool Run();
    void UnlockDevMode();

    mutable bool m_bModeLocked;
};

// A movable global block with the same bytes; null for null.
KSAPI HGLOBAL AfxCopyGlobal(HGLOBAL hSource);
