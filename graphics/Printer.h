#pragma once
#include "frame/Kestrel5Api.h"
#include "graphics/OutputDevice.h"
#include "text/SString.h"

class CDC;
class CPrintDialog;

// The capabilities read when a printer is initialised.
enum PrinterCap
{
    PrinterCapHorzRes = 0,        // printable width in pixels
    PrinterCapVertRes = 1,        // printable height in pixels
    PrinterCapPhysicalWidth = 2,  // page width in pixels
    PrinterCapPhysicalHeight = 3, // page height in pixels
    PrinterCapLogPixelsX = 4,
    PrinterCapLogPixelsY = 5,
    PrinterCapPhysicalOffsetX = 6,
    PrinterCapPhysicalOffsetY = 7
};

// The default printer as an output device. Logical units are points (1/72
// inch); the DC exists only while a job runs.
class KSAPI Printer : public OutputDevice
{
public:
    Printer();
    // A printer on the caller's DC (a print preview, a DC from a dialog);
    // the capabilities are read from it.
    explicit Printer(HDC hDC);
    ~Printer() override;

    // Reads the capabilities of the application's printer, which becomes the
    // system's default printer when none is selected; false when there is
    // none.
    bool Init();
    // The printer and settings chosen in the dialog become the application's
    // printer, then as Init().
    bool Init(CPrintDialog &rDialog);

    int GetHeightPixel(int nHeight) const override;
    int GetWidthPixel(int nWidth) const override;
    Size GetOutputSizePixel() const override;
    bool IsPrinter() const override { return true; }

    int GetCap(PrinterCap eCap) const { return unsigned(eCap) < 8 ? m_aCaps[eCap] : 0; }
    SString GetPrinterName() const { return m_aPrinterName; }
    SString GetDocName() const { return m_aDocName; }
    unsigned int GetPageCount() const { return m_nPages; }
    bool IsPrinting() const { return m_bPrinting; }

    bool StartJob(SString const &rName);
    bool StartPage();
    bool EndPage();
    bool EndJob();
    bool AbortJob();

    // The printer DC of the application's printer, made when missing; a
    // printer on the caller's DC keeps that one.
    HDC CreateDCA();
    void DeleteDC();

private:
    void ReadCaps(HDC hDC);

    CDC *m_pCDC;
    SString m_aDocName;
    SString m_aPrinterName;
    unsigned int m_nPages;
    bool m_bPrinting;
    int m_aCaps[8];
};
