#pragma once
#include "frame/Kestrel5Api.h"
#include "frame/Link.h"
#include "mfc/COleDataSource.h"

// What the render link of a ZnOleDataSource receives: the format a reader
// asks for and the handle to fill with a new global block of it. The link
// returns non-zero when it filled the handle.
struct OleRenderData
{
    unsigned short nFormat;
    HGLOBAL *phGlobal;
};

// The library's OLE data source: delayed formats are rendered through one
// link. Deleted through InternalRelease, never by delete.
class KSAPI ZnOleDataSource : public COleDataSource
{
public:
    ZnOleDataSource() = default;

    Link ChangeRenderHdl(Link const &rLink);
    Link GetRenderHdl() const { return m_aRenderLink; }
    // Announces format for rendering through rLink, which becomes the link.
    void OfferDelayed(unsigned short nFormat, Link const &rLink);
    // A fixed global block of size bytes copied from p, cached under format.
    bool CacheCopy(unsigned short nFormat, void const *p, unsigned __int64 nSize, bool bMovable);

protected:
    bool OnRenderGlobalData(FORMATETC const *pFormatEtc, HGLOBAL *phGlobal) override;

private:
    Link m_aRenderLink;
};
