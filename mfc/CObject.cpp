#include "mfc/CObject.h"

const CRuntimeClass CObject::classCObject = {"CObject", int(sizeof(CObject)), 0xFFFF, nullptr, nullptr};

CObject::~CObject() = default;

CRuntimeClass *CObject::GetRuntimeClass() const
{
    return const_cast<CRuntimeClass *>(&classCObject);
}

bool CObject::IsKindOf(CRuntimeClass const *pClass) const
{
    return pClass && GetRuntimeClass()->IsDerivedFrom(pClass);
}

CObject *CRuntimeClass::CreateObject() const
{
    return m_pfnCreateObject ? m_pfnCreateObject() : nullptr;
}

bool CRuntimeClass::IsDerivedFrom(CRuntimeClass const *pBaseClass) const
{
    for (CRuntimeClass const *c = this; c; c = c->m_pBaseClass)
        if (c == pBaseClass)
            return true;
    return false;
}
