#pragma once
// A list of untyped object pointers kept in a chain of blocks, with a cursor
// that stays on its entry while the list changes around it. The container
// stores pointers only: it never owns, copies or deletes what they point to,
// and null pointers are ordinary entries.
//
// Passing a literal 0 as position to Insert, Remove, Replace or Seek is
// ambiguous (it is also a null pointer); write 0UL, or First().
#include "frame/Kestrel5Api.h"

// No position: an absent entry, or the cursor of an empty container.
constexpr unsigned long CONTAINER_NOT_FOUND = 0xFFFFFFFFUL;

class KSAPI Container
{
public:
    // Block size 4 to 16,368 (the most entries one block holds), init size
    // (slots of the first block), resize step (slots a block grows or shrinks
    // by); the three are cut to fit one another.
    Container(unsigned short blockSize, unsigned short initSize, unsigned short reSize);
    // max(n, 1) null entries in full blocks of 16,368.
    explicit Container(unsigned long n);
    // Block size 1024, init size and resize step 16.
    Container();
    Container(Container const &other);
    Container &operator=(Container const &other);
    ~Container();

    bool operator==(Container const &other) const;
    bool operator!=(Container const &other) const { return !(*this == other); }

    unsigned long Count() const { return m_nCount; }
    unsigned long GetSize() const { return m_nCount; }

    void Clear();
    // Returns the old count.
    unsigned long ChangeSize(unsigned long n);

    void Insert(void *p);                    // before the current entry
    void Insert(void *p, unsigned long pos); // pos >= Count() appends
    void Insert(void *p, void *before);      // nothing when before is absent

    void *Remove();
    void *Remove(unsigned long pos);
    void *Remove(void *p);

    void *Replace(void *p);
    void *Replace(void *p, unsigned long pos);
    void *Replace(void *p, void *old);

    void *First();
    void *Last();
    // The steps are inline and call nothing: a walk whose loop calls nothing
    // else keeps the cursor in registers and stores it once, at the end.
    void *Next()
    {
        Block *b = m_pCurBlock;
        unsigned const i = m_nCurIndex + 1u;
        if (i < b->m_nCount) {
            m_nCurIndex = static_cast<unsigned short>(i);
            return b->Slots()[i];
        }
        if (!m_nCount || !b->m_pNext)
            return nullptr;
        m_pCurBlock = b = b->m_pNext;
        m_nCurIndex = 0;
        return b->Slots()[0];
    }
    void *Prev()
    {
        Block *b = m_pCurBlock;
        if (!m_nCount)
            return nullptr;
        if (m_nCurIndex > 0)
            return b->Slots()[--m_nCurIndex];
        if (!b->m_pPrev)
            return nullptr;
        m_pCurBlock = b = b->m_pPrev;
        m_nCurIndex = b->m_nCount - 1;
        return b->Slots()[m_nCurIndex];
    }
    void *Seek(unsigned long pos);
    void *Seek(void *p);

    void *GetCurObject() const;
    unsigned long GetCurPos() const;
    void *GetCntObject(unsigned long pos) const;
    // Valid until the next insertion or removal.
    void **GetObjectPtr(unsigned long pos);
    unsigned long GetPos(void const *p) const;

protected:
    // One heap record per block; the slot array follows the record in the
    // same allocation, so a block is reallocated as a whole.
    struct Block
    {
        Block *m_pPrev;
        Block *m_pNext;
        unsigned short m_nSize;  // slot capacity
        unsigned short m_nCount; // entries in use

        void **Slots() { return reinterpret_cast<void **>(this + 1); }
        void *const *Slots() const { return reinterpret_cast<void *const *>(this + 1); }
    };

    void *ImpGetObject(unsigned long pos) const;
    void ImpInsert(void *p, Block *block, unsigned short index);
    void *ImpRemove(Block *block, unsigned short index);

    // Block and index of pos; false (outputs untouched) when pos >= count.
    bool ImpFind(unsigned long pos, Block *&block, unsigned short &index) const;

    Block *m_pFirstBlock;
    Block *m_pLastBlock;
    Block *m_pCurBlock;
    unsigned short m_nCurIndex;
    unsigned short m_nBlockSize;
    unsigned short m_nInitSize;
    unsigned short m_nReSize;
    unsigned long m_nCount;

private:
    static Block *NewBlock(unsigned short size);
    static void FreeChain(Block *first);
    // Reallocates block to size slots and repairs every pointer to it.
    Block *ResizeBlock(Block *block, unsigned short size);
    // Copies other's chain; on failure nothing is left allocated.
    static Block *CloneChain(Container const &other, Block *&last, Block *&cur);
    void InsertAt(void *p, unsigned long pos);
    // First block and index holding an entry equal to p.
    bool FindObject(void const *p, Block *&block, unsigned short &index) const;
};
