#include "window/DropData.h"

#include "window/DragDataSource.h"
#include "window/ZnOleDataSource.h"

#include <cstdlib>
#include <cstring>

DropData::DropData(unsigned short nFormat, void *p, unsigned __int64 nSize, unsigned long nEffect)
    : m_bOwns(false), m_nDropEffect(nEffect), m_pData(p), m_nSize(p ? nSize : 0), m_nFormat(nFormat)
{
}

DropData::DropData(unsigned short nFormat, unsigned __int64 nSize, unsigned long nEffect)
    : m_bOwns(false), m_nDropEffect(nEffect), m_pData(nullptr), m_nSize(0), m_nFormat(nFormat)
{
    if (nSize && nSize <= SIZE_MAX)
        m_pData = std::calloc(1, size_t(nSize));
    if (m_pData) {
        m_bOwns = true;
        m_nSize = nSize;
    }
}

DropData::DropData(DropData const &rOther)
    : m_bOwns(false), m_nDropEffect(0), m_pData(nullptr), m_nSize(0), m_nFormat(0)
{
    ImpAssign(rOther);
}

DropData &DropData::operator=(DropData const &rOther)
{
    if (this != &rOther) {
        ImpFree();
        ImpAssign(rOther);
    }
    return *this;
}

DropData::~DropData() { ImpFree(); }

void DropData::ImpFree()
{
    if (m_bOwns)
        std::free(m_pData);
    m_pData = nullptr;
    m_nSize = 0;
    m_bOwns = false;
}

void DropData::ImpAssign(DropData const &rOther)
{
    m_nDropEffect = rOther.m_nDropEffect;
    m_nFormat = rOther.m_nFormat;
    if (!rOther.m_bOwns) {
        m_pData = rOther.m_pData;
        m_nSize = rOther.m_nSize;
        return;
    }
    // A failed allocation leaves an empty block rather than a shared one.
    m_pData = std::malloc(size_t(rOther.m_nSize));
    if (m_pData) {
        std::memcpy(m_pData, rOther.m_pData, size_t(rOther.m_nSize));
        m_nSize = rOther.m_nSize;
        m_bOwns = true;
    }
}

void DropData::CopyFrom(void *p)
{
    if (p && m_pData && m_nSize)
        std::memcpy(m_pData, p, size_t(m_nSize));
}

void DropData::CopyToDataSource(DragDataSource &rSource) const
{
    rSource.GetPDataSource()->CacheCopy(m_nFormat, m_pData, m_pData ? m_nSize : 0, true);
}

void DropData::CopyDelayedToDataSource(DragDataSource &rSource, Link const &rLink) const
{
    rSource.GetPDataSource()->OfferDelayed(m_nFormat, rLink);
}
