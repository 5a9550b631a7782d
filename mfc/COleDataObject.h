#pragma once
#include "frame/Kestrel5Api.h"

#include <windows.h>
#include <ole2.h>

// A reader of an OLE data object: the OLE clipboard's, or the one a drop
// brings. Holds one reference while attached.
class KSAPI COleDataObject
{
public:
    COleDataObject() : m_lpDataObject(nullptr), m_bAutoRelease(true) {}
    ~COleDataObject() { Release(); }
    COleDataObject(COleDataObject const &) = delete;
    COleDataObject &operator=(COleDataObject const &) = delete;

    // With bAutoRelease the object takes over the caller's reference;
    // without it, it only borrows and never releases.
    void Attach(IDataObject *lpDataObject, bool bAutoRelease = true);
    IDataObject *Detach();
    void Release();
    bool AttachClipboard();
    IDataObject *GetIDataObject() const { return m_lpDataObject; }

    bool IsDataAvailable(CLIPFORMAT cfFormat, FORMATETC const *pFormatEtc = nullptr) const;
    // A global block of the format that the caller frees; null when absent.
    HGLOBAL GetGlobalData(CLIPFORMAT cfFormat, FORMATETC const *pFormatEtc = nullptr) const;

private:
    IDataObject *m_lpDataObject;
    bool m_bAutoRelease;
};
