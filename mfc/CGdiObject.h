#pragma once
#include "frame/Kestrel5Api.h"
#include "mfc/CObject.h"

#include <windows.h>

// Owner of one GDI object: deleted with the wrapper unless detached first.
class KSAPI CGdiObject : public CObject
{
    DECLARE_DYNAMIC(CGdiObject)
public:
    CGdiObject() : m_hObject(nullptr) {}
    ~CGdiObject() override;
    CGdiObject(CGdiObject const &) = delete;
    CGdiObject &operator=(CGdiObject const &) = delete;

    HGDIOBJ GetSafeHandle() const { return m_hObject; }
    operator HGDIOBJ() const { return m_hObject; }
    // Takes ownership; false when an object is held already or h is null.
    bool Attach(HGDIOBJ h);
    HGDIOBJ Detach();
    bool DeleteObject();
    int GetObject(int nCount, void *lpObject) const;
    unsigned int GetObjectType() const;
    bool CreateStockObject(int nIndex);

    HGDIOBJ m_hObject;
};
