#include "mfc/CObject.h"

#include <cstring>
#include <vector>

const CRuntimeClass CObject::classCObject = {"CObject", int(sizeof(CObject)), 0xFFFF, nullptr, nullptr};

CObject::~CObject() = default;

CRuntimeClass *CObject::GetRuntimeClass() const
{
    return const_cast<CRuntimeClass *>(&classCObject);
}

void CObject::Serialize(CArchive &) {}

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

namespace {
// The classes an archive may create by name: those made by IMPLEMENT_DYNCREATE.
std::vector<CRuntimeClass const *> &CreatableClasses()
{
    static std::vector<CRuntimeClass const *> s_classes;
    return s_classes;
}
} // namespace

AFX_CLASSINIT::AFX_CLASSINIT(CRuntimeClass const *pClass)
{
    CreatableClasses().push_back(pClass);
}

CRuntimeClass const *CRuntimeClass::FromName(char const *lpszClassName)
{
    if (!lpszClassName)
        return nullptr;
    for (CRuntimeClass const *c : CreatableClasses())
        if (std::strcmp(c->m_lpszClassName, lpszClassName) == 0)
            return c;
    return nullptr;
}
