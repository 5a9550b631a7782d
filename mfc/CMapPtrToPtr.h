#pragma once
#include "frame/Kestrel5Api.h"
#include "mfc/CObject.h"

#ifndef KS_POSITION_DEFINED
#define KS_POSITION_DEFINED
struct __POSITION
{
};
typedef __POSITION *POSITION;
#endif

// Hash map from pointer to pointer. Associations are allocated in blocks and
// recycled through a free list, so that a busy map does not hit the heap for
// every insertion.
class KSAPI CMapPtrToPtr : public CObject
{
public:
    explicit CMapPtrToPtr(int nBlockSize = 10);
    ~CMapPtrToPtr() override;
    CMapPtrToPtr(CMapPtrToPtr const &) = delete;
    CMapPtrToPtr &operator=(CMapPtrToPtr const &) = delete;

    int GetCount() const { return m_nCount; }
    int GetSize() const { return m_nCount; }
    bool IsEmpty() const { return m_nCount == 0; }

    bool Lookup(void *key, void *&rValue) const;
    void *GetValueAt(void *key) const;
    void *&operator[](void *key);
    void SetAt(void *key, void *newValue) { (*this)[key] = newValue; }
    bool RemoveKey(void *key);
    void RemoveAll();

    POSITION GetStartPosition() const { return m_nCount == 0 ? nullptr : reinterpret_cast<POSITION>(-1); }
    void GetNextAssoc(POSITION &rNextPosition, void *&rKey, void *&rValue) const;

    unsigned int GetHashTableSize() const { return m_nHashTableSize; }
    // Takes effect only while the map is empty.
    void InitHashTable(unsigned int hashSize, bool bAllocNow = true);
    static unsigned int HashKey(void *key);

private:
    struct CAssoc
    {
        CAssoc *pNext;
        void *key;
        void *value;
    };
    CAssoc *NewAssoc();
    void FreeAssoc(CAssoc *);
    CAssoc *GetAssocAt(void *key, unsigned int &nHash) const;

    CAssoc **m_pHashTable = nullptr;
    unsigned int m_nHashTableSize = 17;
    int m_nCount = 0;
    CAssoc *m_pFreeList = nullptr;
    void *m_pBlocks = nullptr; // chain of association blocks
    int m_nBlockSize;
};
