#pragma once
#include "frame/Kestrel5Api.h"

class CObject;

// Run-time class information: a name, a size and the base class, enough for
// IsKindOf and for creating objects by class.
struct KSAPI CRuntimeClass
{
    char const *m_lpszClassName;
    int m_nObjectSize;
    unsigned int m_wSchema;
    CObject *(*m_pfnCreateObject)();
    CRuntimeClass const *m_pBaseClass;

    CObject *CreateObject() const;
    bool IsDerivedFrom(CRuntimeClass const *pBaseClass) const;
    // A class that objects can be created of (IMPLEMENT_DYNCREATE), by its
    // name, or null: how an archive finds the class of an object it reads.
    static CRuntimeClass const *FromName(char const *lpszClassName);
};

// Registers a creatable class with FromName; one static object per class.
struct KSAPI AFX_CLASSINIT
{
    explicit AFX_CLASSINIT(CRuntimeClass const *pClass);
};

#define RUNTIME_CLASS(class_name) (&class_name::class##class_name)

#define DECLARE_DYNAMIC(class_name)                                                                                    \
public:                                                                                                                \
    static const CRuntimeClass class##class_name;                                                                      \
    CRuntimeClass *GetRuntimeClass() const override;

#define DECLARE_DYNCREATE(class_name)                                                                                  \
    DECLARE_DYNAMIC(class_name)                                                                                        \
    static CObject *CreateObject();

#define IMPLEMENT_RUNTIMECLASS(class_name, base_class_name, wSchema, pfnNew)                                           \
    const CRuntimeClass class_name::class##class_name = {#class_name, int(sizeof(class_name)), wSchema, pfnNew,        \
                                                         RUNTIME_CLASS(base_class_name)};                              \
    CRuntimeClass *class_name::GetRuntimeClass() const                                                                 \
    {                                                                                                                  \
        return const_cast<CRuntimeClass *>(RUNTIME_CLASS(class_name));                                                 \
    }

#define IMPLEMENT_DYNAMIC(class_name, base_class_name)                                                                 \
    IMPLEMENT_RUNTIMECLASS(class_name, base_class_name, 0xFFFF, nullptr)

#define IMPLEMENT_DYNCREATE(class_name, base_class_name)                                                               \
    CObject *class_name::CreateObject() { return new class_name; }                                                     \
    IMPLEMENT_RUNTIMECLASS(class_name, base_class_name, 0xFFFF, class_name::CreateObject)                              \
    static const AFX_CLASSINIT _init_##class_name(RUNTIME_CLASS(class_name));
