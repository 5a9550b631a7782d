#include "mfc/CMapPtrToPtr.h"

#include <cstdint>
#include <cstdlib>
#include <new>

CMapPtrToPtr::CMapPtrToPtr(int nBlockSize) : m_nBlockSize(nBlockSize > 0 ? nBlockSize : 10)
{
}

CMapPtrToPtr::~CMapPtrToPtr()
{
    RemoveAll();
}

unsigned int CMapPtrToPtr::HashKey(void *key)
{
    // Heap and handle values are multiples of 16 or so: drop the zero bits.
    return static_cast<unsigned int>(reinterpret_cast<std::uintptr_t>(key) >> 4);
}

void CMapPtrToPtr::InitHashTable(unsigned int hashSize, bool bAllocNow)
{
    if (m_nCount != 0 || hashSize == 0)
        return;
    delete[] m_pHashTable;
    m_pHashTable = nullptr;
    if (bAllocNow)
        m_pHashTable = new CAssoc *[hashSize]();
    m_nHashTableSize = hashSize;
}

void CMapPtrToPtr::RemoveAll()
{
    delete[] m_pHashTable;
    m_pHashTable = nullptr;
    m_nCount = 0;
    m_pFreeList = nullptr;
    while (m_pBlocks) {
        void *next = *static_cast<void **>(m_pBlocks);
        std::free(m_pBlocks);
        m_pBlocks = next;
    }
}

CMapPtrToPtr::CAssoc *CMapPtrToPtr::NewAssoc()
{
    if (!m_pFreeList) {
        // One block: a link to the previous block, then m_nBlockSize records.
        std::size_t const bytes = sizeof(void *) + sizeof(CAssoc) * std::size_t(m_nBlockSize);
        void *block = std::malloc(bytes);
        if (!block)
            throw std::bad_alloc();
        *static_cast<void **>(block) = m_pBlocks;
        m_pBlocks = block;
        auto *assoc = reinterpret_cast<CAssoc *>(static_cast<char *>(block) + sizeof(void *));
        for (int i = m_nBlockSize - 1; i >= 0; --i) {
            assoc[i].pNext = m_pFreeList;
            m_pFreeList = &assoc[i];
        }
    }
    CAssoc *a = m_pFreeList;
    m_pFreeList = a->pNext;
    ++m_nCount;
    a->key = nullptr;
    a->value = nullptr;
    return a;
}

void CMapPtrToPtr::FreeAssoc(CAssoc *a)
{
    a->pNext = m_pFreeList;
    m_pFreeList = a;
    if (--m_nCount == 0)
        RemoveAll(); // the last one gone: give every block back
}

CMapPtrToPtr::CAssoc *CMapPtrToPtr::GetAssocAt(void *key, unsigned int &nHash) const
{
    nHash = HashKey(key) % m_nHashTableSize;
    if (!m_pHashTable)
        return nullptr;
    for (CAssoc *a = m_pHashTable[nHash]; a; a = a->pNext)
        if (a->key == key)
            return a;
    return nullptr;
}

bool CMapPtrToPtr::Lookup(void *key, void *&rValue) const
{
    unsigned int h;
    CAssoc *a = GetAssocAt(key, h);
    if (!a)
        return false;
    rValue = a->value;
    return true;
}

void *CMapPtrToPtr::GetValueAt(void *key) const
{
    void *v = nullptr;
    Lookup(key, v);
    return v;
}

void *&CMapPtrToPtr::operator[](void *key)
{
    unsigned int h;
    CAssoc *a = GetAssocAt(key, h);
    if (!a) {
        if (!m_pHashTable)
            InitHashTable(m_nHashTableSize, true);
        a = NewAssoc();
        a->key = key;
        a->pNext = m_pHashTable[h];
        m_pHashTable[h] = a;
    }
    return a->value;
}

bool CMapPtrToPtr::RemoveKey(void *key)
{
    if (!m_pHashTable)
        return false;
    CAssoc **prev = &m_pHashTable[HashKey(key) % m_nHashTableSize];
    for (CAssoc *a = *prev; a; a = a->pNext) {
        if (a->key == key) {
            *prev = a->pNext;
            FreeAssoc(a);
            return true;
        }
        prev = &a->pNext;
    }
    return false;
}

void CMapPtrToPtr::GetNextAssoc(POSITION &rNextPosition, void *&rKey, void *&rValue) const
{
    if (!m_pHashTable || !rNextPosition) {
        rNextPosition = nullptr;
        return;
    }
    auto *a = reinterpret_cast<CAssoc *>(rNextPosition);
    if (rNextPosition == reinterpret_cast<POSITION>(-1)) {
        a = nullptr;
        for (unsigned int b = 0; b < m_nHashTableSize && !a; ++b)
            a = m_pHashTable[b];
        if (!a) {
            rNextPosition = nullptr;
            return;
        }
    }
    CAssoc *next = a->pNext;
    if (!next)
        for (unsigned int b = HashKey(a->key) % m_nHashTableSize + 1; b < m_nHashTableSize && !next; ++b)
            next = m_pHashTable[b];
    rNextPosition = reinterpret_cast<POSITION>(next);
    rKey = a->key;
    rValue = a->value;
}
