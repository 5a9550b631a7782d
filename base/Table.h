#pragma once
// Objects by unique unsigned 64-bit key, kept sorted by key in a Container:
// pair i is the key at position 2i and the object at 2i + 1. Like its base,
// the table stores pointers and owns nothing.
//
// The cursor always rests on a key. Next and Prev at the ends return null
// and leave it on the first or last pair.
#include "base/Container.h"

#include <cstddef> // brings the runtime's definition of __int64

// What GetKey answers for an object that is not in the table.
constexpr unsigned __int64 TABLE_KEY_NOT_FOUND = 0xFFFFFFFFULL;

class KSAPI Table : public Container
{
public:

    Table();
    // initSize and reSize count pairs.
    Table(unsigned short initSize, unsigned short reSize);
    Table(Table const &other);
    Table &operator=(Table const &other);
    ~Table();

    int operator==(Table const &other) const;
    int operator!=(Table const &other) const;

    unsigned long Count() const { return m_nPairCount; }
    void Clear();

    // 0 when the key is already present (the table is left as it was).
    int Insert(unsigned __int64 key, void *obj);
    void *Remove(unsigned __int64 key);
    void *Replace(unsigned __int64 key, void *obj);
    void *Get(unsigned __int64 key) const;
    int IsKeyValid(unsigned __int64 key) const;
    // Linear search; TABLE_KEY_NOT_FOUND when obj is not in the table.
    unsigned __int64 GetKey(void const *obj) const;

    void *First();
    void *Last();
    void *Next();
    void *Prev();
    void *Seek(unsigned __int64 key);
    void *Seek(void *obj);

    // TABLE_KEY_NOT_FOUND when the table is empty.
    unsigned __int64 GetCurKey() const;
    void *GetCurObject() const;

private:
    // Container position of key's pair, or CONTAINER_NOT_FOUND; then
    // *insertPos (when given) receives where the pair belongs, except for a
    // key smaller than every key, which leaves it untouched.
    unsigned long ImpGetIndex(unsigned __int64 key, unsigned long *insertPos) const;
    class KeyReader;

    unsigned long m_nPairCount;
};
