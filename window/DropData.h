#pragma once
#include "frame/Kestrel5Api.h"
#include "frame/Link.h"

class DragDataSource;

// One block of data of one platform clipboard format, with the drop effects
// (DROPEFFECT_COPY …) a drag of it allows. Borrowing form: the block is the
// caller's. Owning form: the block is allocated here and freed with the
// object; a copy of an owning DropData owns a copy of the block, so no two
// objects ever free one block, while a copy of a borrowing one borrows the
// same block.
class KSAPI DropData
{
public:
    DropData(unsigned short nFormat, void *p, unsigned __int64 nSize, unsigned long nEffect);
    // A block of nSize zero bytes; nSize 0 (or a failed allocation) leaves
    // no block and size 0.
    DropData(unsigned short nFormat, unsigned __int64 nSize, unsigned long nEffect);
    DropData(DropData const &rOther);
    DropData &operator=(DropData const &rOther);
    virtual ~DropData();

    // Copies size bytes from p into the block.
    virtual void CopyFrom(void *p);

    void *GetPData() const { return m_pData; }
    unsigned __int64 GetNSize() const { return m_nSize; }
    unsigned short GetClipboardFormat() const { return m_nFormat; }
    unsigned long GetDropEffect() const { return m_nDropEffect; }
    bool IsOwner() const { return m_bOwns; }

    // The block as a movable global block cached in the source.
    void CopyToDataSource(DragDataSource &rSource) const;
    // The format announced in the source, rendered through rLink.
    void CopyDelayedToDataSource(DragDataSource &rSource, Link const &rLink) const;

private:
    void ImpFree();
    void ImpAssign(DropData const &rOther);

    bool m_bOwns;
    unsigned long m_nDropEffect;
    void *m_pData;
    unsigned __int64 m_nSize;
    unsigned short m_nFormat;
};
