#include "graphics/Printer.h"

#include "mfc/CDC.h"

#include <windows.h>
#include <commdlg.h>

namespace {

int const s_aCapIndex[8] = {HORZRES, VERTRES, PHYSICALWIDTH, PHYSICALHEIGHT, LOGPIXELSX, LOGPIXELSY,
                            PHYSICALOFFSETX, PHYSICALOFFSETY};

// The spooler and the common dialogs are bound at run time: most programs
// never print, and need not load them.
template <class F> F Bind(char const *dll, char const *name)
{
    HMODULE h = LoadLibraryA(dll);
    return h ? reinterpret_cast<F>(reinterpret_cast<void *>(GetProcAddress(h, name))) : nullptr;
}

} // namespace

Printer::Printer() : m_pCDC(new CDC), m_nPages(0), m_bPrinting(false), m_aCaps{}
{
    m_nDevKind = OutputDevicePrinter;
    Init();
}

Printer::Printer(HDC hDC) : m_pCDC(new CDC), m_nPages(0), m_bPrinting(false), m_aCaps{}
{
    m_nDevKind = OutputDevicePrinter;
    m_hDC = hDC;
    m_bExternal = hDC != nullptr;
    if (hDC)
        ReadCaps(hDC);
}

Printer::~Printer()
{
    if (m_bPrinting)
        AbortJob();
    ReleaseDevice();
    delete m_pCDC;
    m_pCDC = nullptr;
}

void Printer::ReadCaps(HDC hDC)
{
    for (int i = 0; i < 8; ++i)
        m_aCaps[i] = GetDeviceCaps(hDC, s_aCapIndex[i]);
}

bool Printer::Init()
{
    if (m_bExternal)
        return m_hDC != nullptr;
    char name[512] = {};
    DWORD len = sizeof name;
    using GetDefaultFn = BOOL(WINAPI *)(char *, DWORD *);
    using PrintDlgFn = BOOL(WINAPI *)(PRINTDLGA *);
    static GetDefaultFn s_pGetDefault = Bind<GetDefaultFn>("winspool.drv", "GetDefaultPrinterA");
    static PrintDlgFn s_pPrintDlg = Bind<PrintDlgFn>("comdlg32.dll", "PrintDlgA");
    if (!s_pGetDefault || !s_pGetDefault(name, &len)) {
        // No default known: the print dialog's defaults, without a window.
        PRINTDLGA pd{};
        pd.lStructSize = sizeof pd;
        pd.Flags = 0x14000C | PD_RETURNDEFAULT;
        if (!s_pPrintDlg || !s_pPrintDlg(&pd))
            return false;
        if (pd.hDevNames) {
            if (auto *names = static_cast<DEVNAMES *>(GlobalLock(pd.hDevNames))) {
                lstrcpynA(name, reinterpret_cast<char const *>(names) + names->wDeviceOffset, sizeof name);
                GlobalUnlock(pd.hDevNames);
            }
            GlobalFree(pd.hDevNames);
        }
        if (pd.hDevMode)
            GlobalFree(pd.hDevMode);
        if (!name[0])
            return false;
    }
    HDC dc = ::CreateDCA("WINSPOOL", name, nullptr, nullptr);
    if (!dc)
        return false;
    m_aPrinterName = SString(name);
    ReadCaps(dc);
    ::DeleteDC(dc);
    return true;
}

int Printer::GetWidthPixel(int nWidth) const
{
    return MulDiv(nWidth, m_aCaps[PrinterCapLogPixelsX], 72);
}

int Printer::GetHeightPixel(int nHeight) const
{
    return MulDiv(nHeight, m_aCaps[PrinterCapLogPixelsY], 72);
}

Size Printer::GetOutputSizePixel() const
{
    return Size(m_aCaps[PrinterCapHorzRes], m_aCaps[PrinterCapVertRes]);
}

HDC Printer::CreateDCA()
{
    if (m_hDC || m_bExternal)
        return m_hDC;
    if (m_aPrinterName.Len() == 0)
        return nullptr;
    if (m_pCDC->CreateDC("WINSPOOL", m_aPrinterName.GetStr(), nullptr, nullptr))
        m_hDC = m_pCDC->m_hDC;
    return m_hDC;
}

void Printer::DeleteDC()
{
    if (m_bExternal)
        return;
    if (m_pCDC->m_hDC)
        m_pCDC->DeleteDC();
    m_hDC = nullptr;
}

bool Printer::StartJob(SString const &rName)
{
    if (m_bPrinting)
        return false;
    m_bPrinting = true;
    m_aDocName = rName;
    m_nPages = 0;
    HDC h = CreateDCA();
    bool ok = h != nullptr;
    if (ok && !m_bExternal) {
        DOCINFOA di{};
        di.cbSize = sizeof di;
        di.lpszDocName = m_aDocName.GetStr();
        ok = StartDocA(h, &di) > 0;
    }
    if (!ok) {
        ReleaseDevice();
        m_bPrinting = false;
    }
    return ok;
}

bool Printer::StartPage()
{
    HDC h = m_bPrinting ? GethDC() : nullptr;
    if (!h || ::StartPage(h) <= 0)
        return false;
    ++m_nPages;
    return true;
}

bool Printer::EndPage()
{
    HDC h = m_bPrinting ? GethDC() : nullptr;
    return h && ::EndPage(h) > 0;
}

bool Printer::EndJob()
{
    if (!m_bPrinting)
        return false;
    HDC h = GethDC();
    bool ok = h && EndDoc(h) > 0;
    m_bPrinting = false;
    ReleaseDevice();
    return ok;
}

bool Printer::AbortJob()
{
    if (!m_bPrinting)
        return false;
    HDC h = GethDC();
    bool ok = h && AbortDoc(h) > 0;
    m_bPrinting = false;
    ReleaseDevice();
    return ok;
}
