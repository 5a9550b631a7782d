#pragma once
// The OLE clipboard: data put here collects in one data source until DoClip
// hands it to the platform, which owns it from then on; the next Put starts
// a new source. Formats are platform clipboard formats (1 text …), not the
// library's exchange-format numbers.
#include "frame/Kestrel5Api.h"
#include "frame/Link.h"
#include "text/SString.h"

class ZnOleDataSource;

class KSAPI OleClipboard
{
public:
    void Put(void *p, unsigned __int64 nSize, unsigned short nFormat);
    // The text with its terminator, as format 1.
    void Put(SString const &rText);
    // Announces format; rLink renders it (OleRenderData) when a reader asks.
    void PutDelayed(unsigned short nFormat, Link const &rLink);
    void DoClip();
    static void Clear();
    // The data stays on the clipboard after the source is gone.
    static void Flush();

    bool Get(void *p, unsigned __int64 nSize, unsigned short nFormat);
    SString GetString();
    bool HasFormat(unsigned short nFormat);

    static ZnOleDataSource *GetPDataSource() { return m_pDataSource; }
    static bool IsClipDone() { return m_bClipDone; }
    static bool IsPutDone() { return m_bPutDone; }

    // KSExit: a source still being filled is released; one of ours still on
    // the clipboard is flushed when it owes no delayed data (its links may
    // be gone by then), else taken off.
    static void ImpExit();

private:
    static ZnOleDataSource *ImpSource();

    static ZnOleDataSource *m_pDataSource;
    static bool m_bClipDone;
    static bool m_bPutDone;
};
