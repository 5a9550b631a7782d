#include "window/DropEvent.h"

#include "mfc/COleDataObject.h"
#include "window/DropData.h"
#include "window/StringList.h"

#include <cstring>
#include <shellapi.h>

bool DropEvent::HasClipboardFormat(int nFormat) const
{
    return m_pDataObject && nFormat > 0 && nFormat <= 0xFFFF &&
           m_pDataObject->IsDataAvailable(static_cast<CLIPFORMAT>(nFormat));
}

bool DropEvent::HasFileNames() const { return HasClipboardFormat(CF_HDROP); }

bool DropEvent::ExtractFileNames(StringList &rList) const
{
    if (!m_pDataObject)
        return false;
    HGLOBAL h = m_pDataObject->GetGlobalData(CF_HDROP);
    if (!h)
        return false;
    HDROP hDrop = static_cast<HDROP>(h);
    UINT const n = DragQueryFileA(hDrop, 0xFFFFFFFF, nullptr, 0);
    UINT added = 0;
    for (UINT i = 0; i < n; ++i) {
        char name[MAX_PATH + 1] = {};
        if (DragQueryFileA(hDrop, i, name, MAX_PATH) && rList.Append(new SString(name)))
            ++added;
    }
    GlobalFree(h);
    return added > 0;
}

bool DropEvent::FillDropData(DropData &rData) const
{
    if (!m_pDataObject)
        return false;
    HGLOBAL h = m_pDataObject->GetGlobalData(rData.GetClipboardFormat());
    if (!h)
        return false;
    void *p = GlobalLock(h);
    bool ok = false;
    if (p) {
        // A block shorter than the data's size is copied into a buffer of
        // the full size first, so CopyFrom never reads past its end.
        SIZE_T const have = GlobalSize(h);
        if (have >= rData.GetNSize()) {
            rData.CopyFrom(p);
        } else {
            void *buf = GlobalAlloc(GMEM_FIXED | GMEM_ZEROINIT, SIZE_T(rData.GetNSize()) + 1);
            if (buf) {
                memcpy(buf, p, have);
                rData.CopyFrom(buf);
                GlobalFree(buf);
            }
            ok = buf != nullptr;
        }
        ok = ok || have >= rData.GetNSize();
        GlobalUnlock(h);
    }
    GlobalFree(h);
    return ok;
}
