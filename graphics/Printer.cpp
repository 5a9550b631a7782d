#include "graphics/Printer.h"

#include "mfc/CDC.h"
#include "mfc/CPrintDialog.h"
#include "mfc/CWinApp.h"

#include <algorithm>
#include <iterator>
#include <utility>

#include <windows.h>

namespace {

int const s_aCapIndex[8] = {HORZRES, VERTRES, PHYSICALWIDTH, PHYSICALHEIGHT, LOGPIXELSX, LOGPIXELSY,
                            PHYSICALOFFSETX, PHYSICALOFFSETY};

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
    if (m_bExternal) {
        if (m_hDC)
            ReadCaps(m_hDC);
        return m_hDC != nullptr;
    }
    m_aPrinterName = SString();
    std::fill(std::begin(m_aCaps), std::end(m_aCaps), 0);
    CWinApp *app = AfxGetApp();
    CDC dc;
    if (!app->CreatePrinterDC(dc)) {
        // No printer selected yet, or it went away: the system's default,
        // asked of the print dialog without showing it.
        CPrintDialog dlg(false);
        if (!dlg.GetDefaults())
            return false;
        app->SelectPrinter(std::exchange(dlg.m_pd.hDevNames, nullptr), std::exchange(dlg.m_pd.hDevMode, nullptr));
        if (!app->CreatePrinterDC(dc))
            return false;
    }
    m_aPrinterName = SString(AfxGetDevName(app->m_hDevNames, AfxDevNameDevice).text);
    ReadCaps(dc.m_hDC);
    return true;
}

bool Printer::Init(CPrintDialog &rDialog)
{
    if (m_bExternal || !rDialog.m_pd.hDevNames)
        return false;
    // The application keeps copies: the dialog frees its own blocks.
    AfxGetApp()->SelectPrinter(AfxCopyGlobal(rDialog.m_pd.hDevNames), AfxCopyGlobal(rDialog.m_pd.hDevMode));
    return Init();
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
    if (m_aPrinterName.Len() && AfxGetApp()->CreatePrinterDC(*m_pCDC))
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
