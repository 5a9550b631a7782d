#include "base/Container.h"

#include <cstdlib>
#include <cstring>
#include <new>

namespace {

constexpr unsigned short MAX_BLOCK_SIZE = 16368;

constexpr std::size_t SlotBytes(unsigned n) { return std::size_t(n) * sizeof(void *); }

} // namespace

Container::Block *Container::NewBlock(unsigned short size)
{
    void *mem = std::malloc(sizeof(Block) + SlotBytes(size));
    if (!mem)
        throw std::bad_alloc();
    Block *b = static_cast<Block *>(mem);
    b->m_pPrev = nullptr;
    b->m_pNext = nullptr;
    b->m_nSize = size;
    b->m_nCount = 0;
    return b;
}

void Container::FreeChain(Block *first)
{
    while (first) {
        Block *next = first->m_pNext;
        std::free(first);
        first = next;
    }
}

Container::Block *Container::ResizeBlock(Block *block, unsigned short size)
{
    bool const wasCurrent = block == m_pCurBlock;
    bool const growing = size > block->m_nSize;
    void *mem = std::realloc(block, sizeof(Block) + SlotBytes(size));
    if (!mem) {
        // A failed shrink only costs memory; the block is still intact.
        if (!growing)
            return block;
        throw std::bad_alloc();
    }
    Block *b = static_cast<Block *>(mem);
    b->m_nSize = size;
    // The record may have moved: its neighbours and our ends must follow.
    if (b->m_pPrev)
        b->m_pPrev->m_pNext = b;
    else
        m_pFirstBlock = b;
    if (b->m_pNext)
        b->m_pNext->m_pPrev = b;
    else
        m_pLastBlock = b;
    if (wasCurrent)
        m_pCurBlock = b;
    return b;
}

Container::Container(unsigned short blockSize, unsigned short initSize, unsigned short reSize)
{
    // The block size bounds what one insertion or removal has to move; the
    // resize step is how far a slot array grows or shrinks at a time.
    if (blockSize < 4)
        blockSize = 4;
    else if (blockSize >= MAX_BLOCK_SIZE)
        blockSize = MAX_BLOCK_SIZE;

    if (reSize >= blockSize)
        reSize = blockSize;
    else {
        if (reSize < 2)
            reSize = 2;
        if (blockSize % reSize != 0)
            blockSize = blockSize - reSize + blockSize % reSize;
    }

    if (initSize < reSize)
        initSize = reSize;
    if (initSize >= blockSize)
        initSize = blockSize;
    else if (initSize % reSize != 0)
        initSize = initSize - reSize + initSize % reSize;

    m_nBlockSize = blockSize;
    m_nInitSize = initSize;
    m_nReSize = reSize;
    m_pFirstBlock = m_pLastBlock = m_pCurBlock = NewBlock(initSize);
    m_nCurIndex = 0;
    m_nCount = 0;
}

Container::Container(unsigned long n)
{
    m_nBlockSize = MAX_BLOCK_SIZE;
    m_nInitSize = 1;
    m_nReSize = 1;
    m_pFirstBlock = m_pLastBlock = m_pCurBlock = NewBlock(1);
    m_nCurIndex = 0;
    m_nCount = 0;
    try {
        ChangeSize(n ? n : 1);
    } catch (...) {
        FreeChain(m_pFirstBlock);
        throw;
    }
}

Container::Container() : Container(1024, 16, 16) {}

Container::Block *Container::CloneChain(Container const &other, Block *&last, Block *&cur)
{
    Block *first = nullptr;
    last = nullptr;
    cur = nullptr;
    try {
        for (Block const *src = other.m_pFirstBlock; src; src = src->m_pNext) {
            Block *b = NewBlock(src->m_nSize);
            b->m_nCount = src->m_nCount;
            std::memcpy(b->Slots(), src->Slots(), SlotBytes(src->m_nCount));
            b->m_pPrev = last;
            if (last)
                last->m_pNext = b;
            else
                first = b;
            last = b;
            if (src == other.m_pCurBlock)
                cur = b;
        }
    } catch (...) {
        FreeChain(first);
        throw;
    }
    return first;
}

Container::Container(Container const &other)
{
    Block *last, *cur;
    m_pFirstBlock = CloneChain(other, last, cur);
    m_pLastBlock = last;
    m_pCurBlock = cur;
    m_nCurIndex = other.m_nCurIndex;
    m_nBlockSize = other.m_nBlockSize;
    m_nInitSize = other.m_nInitSize;
    m_nReSize = other.m_nReSize;
    m_nCount = other.m_nCount;
}

Container &Container::operator=(Container const &other)
{
    if (this == &other)
        return *this;
    Block *last, *cur;
    Block *first = CloneChain(other, last, cur);
    FreeChain(m_pFirstBlock);
    m_pFirstBlock = first;
    m_pLastBlock = last;
    m_pCurBlock = cur;
    m_nCurIndex = other.m_nCurIndex;
    m_nBlockSize = other.m_nBlockSize;
    m_nInitSize = other.m_nInitSize;
    m_nReSize = other.m_nReSize;
    m_nCount = other.m_nCount;
    return *this;
}

Container::~Container() { FreeChain(m_pFirstBlock); }

bool Container::operator==(Container const &other) const
{
    if (m_nCount != other.m_nCount)
        return false;
    // The two chains may be cut into blocks differently: walk both by entry.
    Block const *a = m_pFirstBlock, *b = other.m_pFirstBlock;
    unsigned ia = 0, ib = 0;
    for (unsigned long left = m_nCount; left; --left) {
        while (ia == a->m_nCount) {
            a = a->m_pNext;
            ia = 0;
        }
        while (ib == b->m_nCount) {
            b = b->m_pNext;
            ib = 0;
        }
        if (a->Slots()[ia++] != b->Slots()[ib++])
            return false;
    }
    return true;
}

void Container::Clear()
{
    Block *fresh = NewBlock(m_nInitSize);
    FreeChain(m_pFirstBlock);
    m_pFirstBlock = m_pLastBlock = m_pCurBlock = fresh;
    m_nCurIndex = 0;
    m_nCount = 0;
}

unsigned long Container::ChangeSize(unsigned long n)
{
    unsigned long const old = m_nCount;
    if (n == old)
        return old;
    if (n == 0) {
        Clear();
        return old;
    }

    if (n < old) {
        Block *end;
        unsigned short endIndex;
        ImpFind(n - 1, end, endIndex);
        bool cursorDropped = m_pCurBlock == end && m_nCurIndex > endIndex;
        for (Block *b = end->m_pNext; b && !cursorDropped; b = b->m_pNext)
            cursorDropped = b == m_pCurBlock;
        FreeChain(end->m_pNext);
        end->m_pNext = nullptr;
        end->m_nCount = endIndex + 1;
        m_pLastBlock = end;
        if (cursorDropped) {
            m_pCurBlock = end;
            m_nCurIndex = endIndex;
        }
        m_nCount = n;
        return old;
    }

    // Growing: build the new full blocks apart first, so that a failed
    // allocation leaves the container as it was.
    unsigned long add = n - old;
    Block *last = m_pLastBlock;
    unsigned long room = last->m_nCount < m_nBlockSize ? m_nBlockSize - last->m_nCount : 0;
    unsigned short fill = static_cast<unsigned short>(add < room ? add : room);
    unsigned long rest = add - fill;

    Block *chainFirst = nullptr, *chainLast = nullptr;
    try {
        while (rest) {
            unsigned short k = static_cast<unsigned short>(rest < m_nBlockSize ? rest : m_nBlockSize);
            Block *b = NewBlock(k);
            std::memset(b->Slots(), 0, SlotBytes(k));
            b->m_nCount = k;
            b->m_pPrev = chainLast;
            if (chainLast)
                chainLast->m_pNext = b;
            else
                chainFirst = b;
            chainLast = b;
            rest -= k;
        }
        if (fill && last->m_nCount + fill > last->m_nSize)
            last = ResizeBlock(last, last->m_nCount + fill);
    } catch (...) {
        FreeChain(chainFirst);
        throw;
    }

    std::memset(last->Slots() + last->m_nCount, 0, SlotBytes(fill));
    last->m_nCount += fill;
    if (chainFirst) {
        chainFirst->m_pPrev = last;
        last->m_pNext = chainFirst;
        m_pLastBlock = chainLast;
    }
    m_nCount = n;
    // An empty container had its cursor at index 0 of its only block, which
    // now is the first entry.
    return old;
}

bool Container::ImpFind(unsigned long pos, Block *&block, unsigned short &index) const
{
    if (pos >= m_nCount)
        return false;
    // From whichever end is nearer: every block of a non-empty container
    // holds entries, so both walks meet the same block.
    if (pos < m_nCount / 2) {
        Block *b = m_pFirstBlock;
        while (pos >= b->m_nCount) {
            pos -= b->m_nCount;
            b = b->m_pNext;
        }
        block = b;
        index = static_cast<unsigned short>(pos);
    } else {
        unsigned long fromEnd = m_nCount - 1 - pos;
        Block *b = m_pLastBlock;
        while (fromEnd >= b->m_nCount) {
            fromEnd -= b->m_nCount;
            b = b->m_pPrev;
        }
        block = b;
        index = static_cast<unsigned short>(b->m_nCount - 1 - fromEnd);
    }
    return true;
}

bool Container::FindObject(void const *p, Block *&block, unsigned short &index) const
{
    for (Block *b = m_pFirstBlock; b; b = b->m_pNext) {
        void *const *s = b->Slots();
        for (unsigned short i = 0; i < b->m_nCount; ++i) {
            if (s[i] == p) {
                block = b;
                index = i;
                return true;
            }
        }
    }
    return false;
}

void *Container::ImpGetObject(unsigned long pos) const
{
    Block *b;
    unsigned short i;
    return ImpFind(pos, b, i) ? b->Slots()[i] : nullptr;
}

void Container::ImpInsert(void *p, Block *b, unsigned short i)
{
    bool const wasEmpty = m_nCount == 0;
    unsigned short const n = b->m_nCount;

    if (n < m_nBlockSize) {
        if (n == b->m_nSize)
            b = ResizeBlock(b, b->m_nSize + m_nReSize);
        void **s = b->Slots();
        std::memmove(s + i + 1, s + i, SlotBytes(n - i));
        s[i] = p;
        b->m_nCount = n + 1;
        if (!wasEmpty && b == m_pCurBlock && m_nCurIndex >= i)
            ++m_nCurIndex;
    } else {
        // Split: move the smaller side into a new block, so that at most
        // half a block is copied.
        unsigned short const half = n / 2;
        unsigned short const moved = i <= half ? i : n - i;
        unsigned short const size = moved >= m_nReSize ? (moved / m_nReSize + 1) * m_nReSize : m_nReSize;
        Block *nb = NewBlock(size);
        void **s = b->Slots();
        void **ns = nb->Slots();
        if (i <= half) {
            std::memcpy(ns, s, SlotBytes(i));
            ns[i] = p;
            nb->m_nCount = i + 1;
            std::memmove(s, s + i, SlotBytes(n - i));
            b->m_nCount = n - i;
            nb->m_pNext = b;
            nb->m_pPrev = b->m_pPrev;
            if (b->m_pPrev)
                b->m_pPrev->m_pNext = nb;
            else
                m_pFirstBlock = nb;
            b->m_pPrev = nb;
            if (b == m_pCurBlock) {
                if (m_nCurIndex < i)
                    m_pCurBlock = nb;
                else
                    m_nCurIndex -= i;
            }
        } else {
            ns[0] = p;
            std::memcpy(ns + 1, s + i, SlotBytes(n - i));
            nb->m_nCount = n - i + 1;
            b->m_nCount = i;
            nb->m_pPrev = b;
            nb->m_pNext = b->m_pNext;
            if (b->m_pNext)
                b->m_pNext->m_pPrev = nb;
            else
                m_pLastBlock = nb;
            b->m_pNext = nb;
            if (b == m_pCurBlock && m_nCurIndex >= i) {
                m_pCurBlock = nb;
                m_nCurIndex = m_nCurIndex - i + 1;
            }
        }
    }

    if (wasEmpty) {
        m_pCurBlock = b;
        m_nCurIndex = i;
    }
    ++m_nCount;
}

void *Container::ImpRemove(Block *b, unsigned short i)
{
    void *p = b->Slots()[i];
    unsigned short const n = b->m_nCount;

    if (m_nCount == 1) {
        b->m_nCount = 0;
        m_pCurBlock = b;
        m_nCurIndex = 0;
    } else if (n > 1) {
        void **s = b->Slots();
        std::memmove(s + i, s + i + 1, SlotBytes(n - i - 1));
        b->m_nCount = n - 1;
        // Removing the current entry leaves the cursor on its successor,
        // unless that lives in another block: then on its predecessor.
        if (b == m_pCurBlock && (i < m_nCurIndex || (i == m_nCurIndex && i == n - 1)))
            --m_nCurIndex;
        // Shrinks a step at a time, a quarter step late, so that alternating
        // insertions and removals do not reallocate every time.
        if (n + m_nReSize == b->m_nSize - m_nReSize / 4 + 1)
            ResizeBlock(b, b->m_nSize - m_nReSize);
    } else {
        if (b->m_pPrev)
            b->m_pPrev->m_pNext = b->m_pNext;
        else
            m_pFirstBlock = b->m_pNext;
        if (b->m_pNext)
            b->m_pNext->m_pPrev = b->m_pPrev;
        else
            m_pLastBlock = b->m_pPrev;
        if (b == m_pCurBlock) {
            if (b->m_pNext) {
                m_pCurBlock = b->m_pNext;
                m_nCurIndex = 0;
            } else {
                m_pCurBlock = b->m_pPrev;
                m_nCurIndex = m_pCurBlock->m_nCount - 1;
            }
        }
        std::free(b);
    }

    --m_nCount;
    return p;
}

void Container::InsertAt(void *p, unsigned long pos)
{
    Block *b;
    unsigned short i;
    if (ImpFind(pos, b, i))
        ImpInsert(p, b, i);
    else
        ImpInsert(p, m_pLastBlock, m_pLastBlock->m_nCount);
}

void Container::Insert(void *p)
{
    if (m_nCount == 0)
        ImpInsert(p, m_pFirstBlock, 0);
    else
        ImpInsert(p, m_pCurBlock, m_nCurIndex);
}

void Container::Insert(void *p, unsigned long pos) { InsertAt(p, pos); }

void Container::Insert(void *p, void *before)
{
    Block *b;
    unsigned short i;
    if (FindObject(before, b, i))
        ImpInsert(p, b, i);
}

void *Container::Remove()
{
    return m_nCount ? ImpRemove(m_pCurBlock, m_nCurIndex) : nullptr;
}

void *Container::Remove(unsigned long pos)
{
    Block *b;
    unsigned short i;
    return ImpFind(pos, b, i) ? ImpRemove(b, i) : nullptr;
}

void *Container::Remove(void *p)
{
    Block *b;
    unsigned short i;
    return FindObject(p, b, i) ? ImpRemove(b, i) : nullptr;
}

void *Container::Replace(void *p)
{
    if (!m_nCount)
        return nullptr;
    void *&slot = m_pCurBlock->Slots()[m_nCurIndex];
    void *old = slot;
    slot = p;
    return old;
}

void *Container::Replace(void *p, unsigned long pos)
{
    Block *b;
    unsigned short i;
    if (!ImpFind(pos, b, i))
        return nullptr;
    void *old = b->Slots()[i];
    b->Slots()[i] = p;
    return old;
}

void *Container::Replace(void *p, void *old)
{
    Block *b;
    unsigned short i;
    if (!FindObject(old, b, i))
        return nullptr;
    b->Slots()[i] = p;
    return old;
}

void *Container::First()
{
    if (!m_nCount)
        return nullptr;
    m_pCurBlock = m_pFirstBlock;
    m_nCurIndex = 0;
    return m_pCurBlock->Slots()[0];
}

void *Container::Last()
{
    if (!m_nCount)
        return nullptr;
    m_pCurBlock = m_pLastBlock;
    m_nCurIndex = m_pCurBlock->m_nCount - 1;
    return m_pCurBlock->Slots()[m_nCurIndex];
}

void *Container::Seek(unsigned long pos)
{
    if (!m_nCount)
        return nullptr;
    if (pos >= m_nCount)
        pos = m_nCount - 1;
    ImpFind(pos, m_pCurBlock, m_nCurIndex);
    return m_pCurBlock->Slots()[m_nCurIndex];
}

void *Container::Seek(void *p)
{
    Block *b;
    unsigned short i;
    if (!FindObject(p, b, i))
        return nullptr;
    m_pCurBlock = b;
    m_nCurIndex = i;
    return p;
}

void *Container::GetCurObject() const
{
    return m_nCount ? m_pCurBlock->Slots()[m_nCurIndex] : nullptr;
}

unsigned long Container::GetCurPos() const
{
    if (!m_nCount)
        return CONTAINER_NOT_FOUND;
    unsigned long pos = m_nCurIndex;
    for (Block const *b = m_pFirstBlock; b != m_pCurBlock; b = b->m_pNext)
        pos += b->m_nCount;
    return pos;
}

void *Container::GetCntObject(unsigned long pos) const { return ImpGetObject(pos); }

void **Container::GetObjectPtr(unsigned long pos)
{
    Block *b;
    unsigned short i;
    return ImpFind(pos, b, i) ? b->Slots() + i : nullptr;
}

unsigned long Container::GetPos(void const *p) const
{
    unsigned long pos = 0;
    for (Block const *b = m_pFirstBlock; b; b = b->m_pNext) {
        void *const *s = b->Slots();
        for (unsigned short i = 0; i < b->m_nCount; ++i)
            if (s[i] == p)
                return pos + i;
        pos += b->m_nCount;
    }
    return CONTAINER_NOT_FOUND;
}
