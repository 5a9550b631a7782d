#include "mfc/CGdiObject.h"

IMPLEMENT_DYNAMIC(CGdiObject, CObject)

CGdiObject::~CGdiObject()
{
    DeleteObject();
}

bool CGdiObject::Attach(HGDIOBJ h)
{
    if (!h || m_hObject)
        return false;
    m_hObject = h;
    return true;
}

HGDIOBJ CGdiObject::Detach()
{
    HGDIOBJ h = m_hObject;
    m_hObject = nullptr;
    return h;
}

bool CGdiObject::DeleteObject()
{
    if (!m_hObject)
        return false;
    // A stock object may sit here too: the platform ignores its deletion.
    return ::DeleteObject(Detach()) != FALSE;
}

int CGdiObject::GetObject(int nCount, void *lpObject) const
{
    return m_hObject ? ::GetObjectA(m_hObject, nCount, lpObject) : 0;
}

unsigned int CGdiObject::GetObjectType() const
{
    return m_hObject ? static_cast<unsigned int>(::GetObjectType(m_hObject)) : 0;
}

bool CGdiObject::CreateStockObject(int nIndex)
{
    return Attach(::GetStockObject(nIndex));
}
