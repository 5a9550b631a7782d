#pragma once
#include "frame/Kestrel5Api.h"
#include "mfc/CRuntimeClass.h"

// Root of the framework's object classes: a virtual destructor and run-time
// class information.
class KSAPI CObject
{
public:
    static const CRuntimeClass classCObject;

    virtual ~CObject();
    virtual CRuntimeClass *GetRuntimeClass() const;
    bool IsKindOf(CRuntimeClass const *pClass) const;

protected:
    CObject() = default;
    CObject(CObject const &) = default;
    CObject &operator=(CObject const &) = default;
};
