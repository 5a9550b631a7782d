#include "window/OleClipboard.h"

#include "mfc/COleDataObject.h"
#include "window/ZnOleDataSource.h"

#include <cstring>
#include <new>

ZnOleDataSource *OleClipboard::m_pDataSource = nullptr;
bool OleClipboard::m_bClipDone = false;
bool OleClipboard::m_bPutDone = false;

ZnOleDataSource *OleClipboard::ImpSource()
{
    // A handed-over source is the clipboard's: never touched again.
    if (!m_pDataSource || m_bClipDone)
        m_pDataSource = new ZnOleDataSource;
    m_bClipDone = false;
    m_bPutDone = true;
    return m_pDataSource;
}

void OleClipboard::Put(void *p, unsigned __int64 nSize, unsigned short nFormat)
{
    ImpSource()->CacheCopy(nFormat, p, nSize, false);
}

void OleClipboard::Put(SString const &rText)
{
    Put(const_cast<char *>(rText.GetStr()), static_cast<unsigned __int64>(rText.Len()) + 1, CF_TEXT);
}

void OleClipboard::PutDelayed(unsigned short nFormat, Link const &rLink)
{
    ImpSource()->OfferDelayed(nFormat, rLink);
}

void OleClipboard::DoClip()
{
    if (!m_pDataSource || m_bClipDone)
        return;
    m_pDataSource->SetClipboard();
    // The clipboard holds its own reference now (or, when it refused the
    // source, nobody does and it goes).
    m_pDataSource->InternalRelease();
    m_bClipDone = true;
    m_bPutDone = false;
}

void OleClipboard::Clear()
{
    if (m_pDataSource && !m_bClipDone)
        m_pDataSource->Empty();
    else
        m_pDataSource = new ZnOleDataSource;
    m_pDataSource->SetClipboard();
    m_pDataSource->InternalRelease();
    m_bClipDone = true;
    m_bPutDone = false;
}

void OleClipboard::Flush() { COleDataSource::FlushClipboard(); }

bool OleClipboard::Get(void *p, unsigned __int64 nSize, unsigned short nFormat)
{
    if (!p && nSize)
        return false;
    COleDataObject data;
    if (!data.AttachClipboard() || !data.IsDataAvailable(nFormat))
        return false;
    HGLOBAL h = data.GetGlobalData(nFormat);
    if (!h)
        return false;
    bool ok = false;
    if (void const *src = GlobalLock(h)) {
        SIZE_T const n = GlobalSize(h);
        // Never past either end: the caller's size or the block's.
        std::memcpy(p, src, SIZE_T(nSize < n ? nSize : n));
        GlobalUnlock(h);
        ok = true;
    }
    GlobalFree(h);
    return ok;
}

SString OleClipboard::GetString()
{
    COleDataObject data;
    if (!data.AttachClipboard())
        return SString();
    HGLOBAL h = data.GetGlobalData(CF_TEXT);
    if (!h)
        return SString();
    SString text;
    if (char const *src = static_cast<char const *>(GlobalLock(h))) {
        // A block without terminator is read to its end, not beyond.
        SIZE_T const n = GlobalSize(h);
        SIZE_T len = 0;
        while (len < n && src[len])
            ++len;
        if (len > STR_MAX_LEN)
            len = STR_MAX_LEN;
        text = SString(src, 0, static_cast<unsigned int>(len), true);
        GlobalUnlock(h);
    }
    GlobalFree(h);
    return text;
}

bool OleClipboard::HasFormat(unsigned short nFormat)
{
    COleDataObject data;
    return data.AttachClipboard() && data.IsDataAvailable(nFormat);
}

void OleClipboard::ImpExit()
{
    if (m_pDataSource && !m_bClipDone) {
        m_pDataSource->InternalRelease();
    } else if (m_pDataSource && OleIsCurrentClipboard(m_pDataSource) == S_OK) {
        if (m_pDataSource->HasUnrendered())
            OleSetClipboard(nullptr);
        else
            OleFlushClipboard();
    }
    m_pDataSource = nullptr;
    m_bClipDone = false;
    m_bPutDone = false;
}
