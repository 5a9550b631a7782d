#include "mfc/CPrintDialog.h"
#include "mfc/CWnd.h"

#include <cstring>
#include <utility>

IMPLEMENT_DYNAMIC(CPrintDialog, CObject)

namespace {

// Bound at run time: most programs never print and need not load the
// common dialogs.
using PrintDlgFn = BOOL(WINAPI *)(PRINTDLGA *);

PrintDlgFn PrintDlgEntry()
{
    static PrintDlgFn s_pFn = [] {
        HMODULE h = LoadLibraryA("comdlg32.dll");
        return h ? reinterpret_cast<PrintDlgFn>(reinterpret_cast<void *>(GetProcAddress(h, "PrintDlgA"))) : nullptr;
    }();
    return s_pFn;
}

} // namespace

CPrintDialog::CPrintDialog(bool bPrintSetupOnly, unsigned long dwFlags, CWnd *pParentWnd)
    : m_pd{}, m_bModeLocked(false)
{
    m_pd.lStructSize = sizeof m_pd;
    m_pd.Flags = dwFlags | (bPrintSetupOnly ? PD_PRINTSETUP : 0);
    m_pd.hwndOwner = pParentWnd ? pParentWnd->GetSafeHwnd() : nullptr;
    m_pd.nFromPage = m_pd.nToPage = m_pd.nMinPage = 1;
    m_pd.nMaxPage = 0xFFFF;
    m_pd.nCopies = 1;
}

CPrintDialog::~CPrintDialog()
{
    UnlockDevMode();
    if (m_pd.hDC)
        ::DeleteDC(m_pd.hDC);
    if (m_pd.hDevMode)
        GlobalFree(m_pd.hDevMode);
    if (m_pd.hDevNames)
        GlobalFree(m_pd.hDevNames);
}

void CPrintDialog::UnlockDevMode()
{
    if (m_bModeLocked)
        GlobalUnlock(m_pd.hDevMode);
    m_bModeLocked = false;
}

bool CPrintDialog::Run()
{
    UnlockDevMode();
    PrintDlgFn fn = PrintDlgEntry();
    return fn && fn(&m_pd);
}

INT_PTR CPrintDialog::DoModal()
{
    return Run() ? IDOK : IDCANCEL;
}

bool CPrintDialog::GetDefaults()
{
    // The platform refuses the defaults request while blocks are given.
    UnlockDevMode();
    if (m_pd.hDevMode)
        GlobalFree(std::exchange(m_pd.hDevMode, nullptr));
    if (m_pd.hDevNames)
        GlobalFree(std::exchange(m_pd.hDevNames, nullptr));
    unsigned long const flags = m_pd.Flags;
    m_pd.Flags = (flags | PD_RETURNDEFAULT) & ~static_cast<unsigned long>(PD_RETURNDC);
    bool ok = Run();
    m_pd.Flags = flags;
    return ok;
}

DEVMODEA *CPrintDialog::GetDevMode() const
{
    if (!m_pd.hDevMode)
        return nullptr;
    auto *mode = static_cast<DEVMODEA *>(GlobalLock(m_pd.hDevMode));
    if (mode && m_bModeLocked)
        GlobalUnlock(m_pd.hDevMode); // one lock is enough
    m_bModeLocked = mode != nullptr;
    return mode;
}

HDC CPrintDialog::CreatePrinterDC()
{
    if (m_pd.hDC)
        ::DeleteDC(std::exchange(m_pd.hDC, nullptr));
    AfxDevName const driver = AfxGetDevName(m_pd.hDevNames, AfxDevNameDriver),
                     device = AfxGetDevName(m_pd.hDevNames, AfxDevNameDevice);
    if (!device.text[0])
        return nullptr;
    m_pd.hDC = ::CreateDCA(driver.text, device.text, nullptr, GetDevMode());
    return m_pd.hDC;
}

HGLOBAL AfxCopyGlobal(HGLOBAL hSource)
{
    if (!hSource)
        return nullptr;
    SIZE_T const n = GlobalSize(hSource);
    void const *from = GlobalLock(hSource);
    HGLOBAL copy = from ? GlobalAlloc(GMEM_MOVEABLE, n) : nullptr;
    if (void *to = copy ? GlobalLock(copy) : nullptr) {
        memcpy(to, from, n);
        GlobalUnlock(copy);
    }
    if (from)
        GlobalUnlock(hSource);
    return copy;
}

AfxDevName AfxGetDevName(HGLOBAL hDevNames, AfxDevNameKind eKind)
{
    AfxDevName name{};
    if (auto const *names = hDevNames ? static_cast<DEVNAMES const *>(GlobalLock(hDevNames)) : nullptr) {
        WORD const offset = eKind == AfxDevNameDriver   ? names->wDriverOffset
                            : eKind == AfxDevNameDevice ? names->wDeviceOffset
                                                        : names->wOutputOffset;
        lstrcpynA(name.text, reinterpret_cast<char const *>(names) + offset, sizeof name.text);
        GlobalUnlock(hDevNames);
    }
    return name;
}
