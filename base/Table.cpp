#include "base/Table.h"

#include <cstdint>

namespace {

// Keys live in the pointer slots; pointers are 64 bits wide here.
static_assert(sizeof(void *) == sizeof(unsigned __int64));

inline void *KeyToSlot(unsigned __int64 key) { return reinterpret_cast<void *>(static_cast<std::uintptr_t>(key)); }

inline unsigned __int64 SlotToKey(void const *slot)
{
    return static_cast<unsigned __int64>(reinterpret_cast<std::uintptr_t>(slot));
}

// Up to this many pairs the insertion place is found by a linear scan: over
// a few cache lines of keys it beats bisection and its unpredictable
// branches.
constexpr unsigned long LINEAR_SCAN_PAIRS = 24;

unsigned short Twice(unsigned short n) { return n > 0x7FFF ? 0xFFFF : static_cast<unsigned short>(2 * n); }

} // namespace

Table::Table() : Table(16, 16) {}

Table::Table(unsigned short initSize, unsigned short reSize)
    : Container(16368, Twice(initSize), Twice(reSize)), m_nPairCount(0)
{
}

Table::Table(Table const &other) : Container(other), m_nPairCount(other.m_nPairCount) {}

Table &Table::operator=(Table const &other)
{
    Container::operator=(other);
    m_nPairCount = other.m_nPairCount;
    return *this;
}

Table::~Table() = default;

int Table::operator==(Table const &other) const
{
    return m_nPairCount == other.m_nPairCount && Container::operator==(other);
}

int Table::operator!=(Table const &other) const { return !(*this == other); }

void Table::Clear()
{
    Container::Clear();
    m_nPairCount = 0;
}

// Reads keys by pair index, walking the chain from where the previous read
// was: successive bisection probes or scan steps then cost a block step or
// none, instead of a walk from an end of the chain each.
class Table::KeyReader
{
public:
    explicit KeyReader(Table const &t) : m_pBlock(t.m_pFirstBlock), m_nStart(0) {}

    unsigned __int64 operator()(unsigned long pair)
    {
        unsigned long const pos = 2 * pair;
        while (pos < m_nStart) {
            m_pBlock = m_pBlock->m_pPrev;
            m_nStart -= m_pBlock->m_nCount;
        }
        while (pos - m_nStart >= m_pBlock->m_nCount) {
            m_nStart += m_pBlock->m_nCount;
            m_pBlock = m_pBlock->m_pNext;
        }
        return SlotToKey(m_pBlock->Slots()[pos - m_nStart]);
    }

private:
    Block const *m_pBlock;
    unsigned long m_nStart; // container position of the block's first entry
};

unsigned long Table::ImpGetIndex(unsigned __int64 key, unsigned long *insertPos) const
{
    KeyReader keyAt(*this);
    if (!m_nPairCount || key < keyAt(0))
        return CONTAINER_NOT_FOUND;
    long long lo = 0, hi = static_cast<long long>(m_nPairCount) - 1, mid = 0;
    unsigned __int64 midKey = 0;
    while (lo <= hi) {
        mid = (lo + hi) / 2;
        midKey = keyAt(static_cast<unsigned long>(mid));
        if (key == midKey)
            return static_cast<unsigned long>(2 * mid);
        if (key < midKey)
            hi = mid - 1;
        else
            lo = mid + 1;
    }
    if (insertPos)
        *insertPos = static_cast<unsigned long>(key > midKey ? 2 * mid + 2 : 2 * mid);
    return CONTAINER_NOT_FOUND;
}

int Table::Insert(unsigned __int64 key, void *obj)
{
    unsigned long pos = 0;
    if (m_nPairCount <= LINEAR_SCAN_PAIRS) {
        KeyReader keyAt(*this);
        unsigned long i = 0;
        unsigned __int64 k = 0;
        while (i < m_nPairCount && (k = keyAt(i)) < key)
            ++i;
        if (i < m_nPairCount && k == key)
            return 0;
        pos = 2 * i;
    } else if (ImpGetIndex(key, &pos) != CONTAINER_NOT_FOUND) {
        return 0;
    }

    Container::Insert(KeyToSlot(key), pos);
    try {
        Container::Insert(obj, pos + 1);
    } catch (...) {
        // A key without its object would shift every later pair.
        Container::Remove(pos);
        throw;
    }
    ++m_nPairCount;
    return 1;
}

void *Table::Remove(unsigned __int64 key)
{
    unsigned long pos = ImpGetIndex(key, nullptr);
    if (pos == CONTAINER_NOT_FOUND)
        return nullptr;
    unsigned long const removed = pos / 2;
    unsigned long curPair = Container::GetCurPos() / 2;

    void *obj = Container::Remove(pos + 1);
    Container::Remove(pos);
    --m_nPairCount;

    // The container's own rule may leave the cursor on an object entry;
    // put it back on a key: the same pair, or for the removed pair its
    // successor (its predecessor when it was the last).
    if (m_nPairCount) {
        if (curPair > removed || (curPair == removed && curPair == m_nPairCount))
            --curPair;
        Container::Seek(2 * curPair);
    }
    return obj;
}

void *Table::Replace(unsigned __int64 key, void *obj)
{
    unsigned long pos = ImpGetIndex(key, nullptr);
    return pos == CONTAINER_NOT_FOUND ? nullptr : Container::Replace(obj, pos + 1);
}

void *Table::Get(unsigned __int64 key) const
{
    unsigned long pos = ImpGetIndex(key, nullptr);
    return pos == CONTAINER_NOT_FOUND ? nullptr : ImpGetObject(pos + 1);
}

int Table::IsKeyValid(unsigned __int64 key) const { return ImpGetIndex(key, nullptr) != CONTAINER_NOT_FOUND; }

unsigned __int64 Table::GetKey(void const *obj) const
{
    // Blocks may begin at odd positions: the parity of the position, not of
    // the index in the block, tells keys from objects.
    bool odd = false;
    void const *key = nullptr;
    for (Block const *b = m_pFirstBlock; b; b = b->m_pNext) {
        void *const *s = b->Slots();
        for (unsigned short i = 0; i < b->m_nCount; ++i, odd = !odd) {
            if (!odd)
                key = s[i];
            else if (s[i] == obj)
                return SlotToKey(key);
        }
    }
    return TABLE_KEY_NOT_FOUND;
}

void *Table::First()
{
    if (!m_nPairCount)
        return nullptr;
    Container::First();
    return GetCurObject();
}

void *Table::Last()
{
    if (!m_nPairCount)
        return nullptr;
    Container::Seek(2 * m_nPairCount - 2);
    return GetCurObject();
}

void *Table::Next()
{
    if (!m_nPairCount)
        return nullptr;
    Block *b = m_pCurBlock;
    unsigned short i = m_nCurIndex;
    // The cursor is on a key, so two steps on is the next key, and the
    // pair's object always follows it.
    for (int step = 0; step < 2; ++step) {
        if (i + 1 < b->m_nCount)
            ++i;
        else if (b->m_pNext) {
            b = b->m_pNext;
            i = 0;
        } else
            return nullptr;
    }
    m_pCurBlock = b;
    m_nCurIndex = i;
    return GetCurObject();
}

void *Table::Prev()
{
    if (!m_nPairCount)
        return nullptr;
    Block *b = m_pCurBlock;
    unsigned short i = m_nCurIndex;
    for (int step = 0; step < 2; ++step) {
        if (i > 0)
            --i;
        else if (b->m_pPrev) {
            b = b->m_pPrev;
            i = b->m_nCount - 1;
        } else
            return nullptr;
    }
    m_pCurBlock = b;
    m_nCurIndex = i;
    return GetCurObject();
}

void *Table::Seek(unsigned __int64 key)
{
    unsigned long pos = ImpGetIndex(key, nullptr);
    if (pos == CONTAINER_NOT_FOUND)
        return nullptr;
    Container::Seek(pos);
    return GetCurObject();
}

void *Table::Seek(void *obj)
{
    // Searched directly rather than through GetKey, whose not-found value
    // is itself a valid key.
    unsigned long pos = 0;
    for (Block *b = m_pFirstBlock; b; b = b->m_pNext) {
        void **s = b->Slots();
        for (unsigned short i = 0; i < b->m_nCount; ++i, ++pos) {
            if ((pos & 1) && s[i] == obj) {
                Container::Seek(pos - 1);
                return obj;
            }
        }
    }
    return nullptr;
}

unsigned __int64 Table::GetCurKey() const
{
    return m_nPairCount ? SlotToKey(Container::GetCurObject()) : TABLE_KEY_NOT_FOUND;
}

void *Table::GetCurObject() const
{
    if (!m_nPairCount)
        return nullptr;
    if (m_nCurIndex + 1 < m_pCurBlock->m_nCount)
        return m_pCurBlock->Slots()[m_nCurIndex + 1];
    Block const *next = m_pCurBlock->m_pNext;
    return next ? next->Slots()[0] : nullptr;
}
