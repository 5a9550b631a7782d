#pragma once
// The platform clipboard: text, bitmaps, any data by exchange-format number,
// private data of this program, and data rendered on request. The library
// opens the clipboard on first use and the router closes it after the
// message being handled; the asking operations (HasFormat, HasString,
// GetFormatCount) never open it. int results are 1 for success, 0 for
// failure.
#include "frame/Kestrel5Api.h"
#include "frame/Link.h"
#include "graphics/Bitmap.h"
#include "text/SString.h"
#include "text/UString.h"
#include "window/Exchange.h"

class KSAPI Clipboard : public Exchange
{
public:
    Clipboard();
    Clipboard(Clipboard const &rOther);
    Clipboard &operator=(Clipboard const &rOther);
    ~Clipboard() override;

    void Request() override;
    // Calls the cleared link with this object, then forgets the private data.
    virtual void Cleared();
    Link ChangeClearedHdl(Link const &rLink);
    Link GetClearedHdl() const { return aClearedHdl; }

    static int CopyString(SString const &rText);
    static int CopyString(char const *pText);
    static int CopyString(UString const &rText);
    static int CopyBitmap(Bitmap const &rBitmap);
    static int CopyData(void const *p, unsigned long nSize, unsigned long nNumber, unsigned short nUnused = 0);
    static int CopyPrivateData(void *p);
    // Announces data of that format, rendered when another program asks.
    static int CopyRequest(unsigned long nNumber);
    static void Clear();

    static int PasteData(void *p, unsigned long nSize, unsigned long nNumber);
    static SString PasteString();
    static UString PasteUString();
    static Bitmap PasteBitmap();
    static void *PastePrivateData();

    static int HasFormat(unsigned long nNumber);
    static int HasString();
    static unsigned long GetDataLen(unsigned long nNumber);
    static unsigned short GetFormatCount();
    static unsigned long GetFormat(unsigned short nIndex);
    static unsigned long GetRequestFormat();

    // The router: another program asks for data announced by CopyRequest.
    // The live clipboards' Request runs with the format recorded, while the
    // platform keeps the clipboard open for the rendering.
    static void ImpRender(unsigned int nPlatformFormat);

protected:
    Link aClearedHdl;

private:
    void ImpEnter();
};
