#pragma once
#include "frame/Kestrel5Api.h"
#include "mfc/CRuntimeClass.h"

class CArchive;

// Root of the framework's object classes: a virtual destructor, run-time
// class information and archiving.
class KSAPI CObject
{
public:
    static const CRuntimeClass classCObject;

    virtual ~CObject();
    virtual CRuntimeClass *GetRuntimeClass() const;
    bool IsKindOf(CRuntimeClass const *pClass) const;
    // Writes the object into a storing archive or reads it from a loading
    // one; a loading archive that ran out or met a damaged value is marked
    // failed (CArchive::IsFailed) instead of throwing.
    virtual void Serialize(CArchive &ar);

protected:
    CObject() = default;
    CObject(CObject const &) = default;
    CObject &operator=(CObject const &) = default;
};
