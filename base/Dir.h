#pragma once
// Dir: the listing of one folder (or of the names in it that match a
// pattern) as DirEntry objects, filtered by kind and kept in a sort order,
// with the FileStat of every entry when the order needs one.
//
// A sort order is a list of keys, each a key value plus an order
// (DirSortAscending, the default, or DirSortDescending), ended by
// DirSortEnd: Dir(d, FileKindAll, DirSortModified | DirSortDescending,
// DirSortName, DirSortEnd). Later keys decide between entries the earlier
// keys find equal; entries equal under every key are listed in reverse order
// of discovery. Names and extensions compare as unsigned bytes; dates and
// times by date, then time.
#include "base/Container.h"
#include "base/DirEntry.h"
#include "base/FSysError.h"
#include "base/FileStat.h"
#include "frame/Kestrel5Api.h"
#include "text/SString.h"

enum DirSort
{
    DirSortEnd = 0,
    DirSortSize = 1,
    DirSortCreated = 2,
    DirSortModified = 4,
    DirSortAccessed = 8,
    DirSortAscending = 16,
    DirSortDescending = 32,
    DirSortExt = 64,
    DirSortName = 128,
    DirSortKind = 256
};

// Keys read from one key list at most.
constexpr int DIR_MAX_SORT_KEYS = 8;

class KSAPI Dir : public DirEntry
{
public:
    Dir();
    // Lists at once. entry names the folder, a pattern in a folder
    // ("C:\src\*.cpp", matched without ASCII case) or one file; kinds is a
    // mask of FileKind bits, 0 meaning all.
    Dir(DirEntry const &entry, int kinds);
    // As above, sorted by the keys that follow kinds (ended by DirSortEnd).
    Dir(DirEntry const &entry, int kinds, int sort, ...);
    Dir(Dir const &other);
    Dir &operator=(Dir const &other);
    ~Dir();

    // Lists the folder again; false (and no entries) when it cannot be read.
    // "." and ".." are not listed.
    bool Update();
    unsigned long Count() const;
    // The entry at pos in sort order; an empty entry when pos is out of range.
    DirEntry &operator[](unsigned long pos) const;
    // Adds copies of other's entries, each at its place in this order.
    Dir &operator+=(Dir const &other);
    // Replaces the sort order (keys ended by DirSortEnd; the first
    // argument DirSortEnd means no order) and re-sorts what is listed, ties
    // keeping their order; keys that need file status list the folder again.
    // FSysErrBadArgument (nothing changed) for a value that is not one key
    // with at most one order.
    FSysError SetSort(int sort, ...);

private:
    void ImpFreeLists();
    void ImpCopyLists(Dir const &other);
    bool ImpNeedsStat() const;
    void ImpTakePattern();
    // Sorted insert of an entry the Dir then owns; stat may be null.
    void ImpSortedInsert(DirEntry *entry, FileStat *stat);
    // True when the entry at pos sorts after the new one, or ties with it.
    bool ImpInsertPointReached(DirEntry const &entry, FileStat const *stat, unsigned long pos) const;
    // -1, 0, 1: how a compares with b under the sort keys.
    int ImpCompare(DirEntry const &a, FileStat const *sa, DirEntry const &b, FileStat const *sb) const;
    FSysError ImpSetSort(int const *keys, int count);

    Container *m_pEntries; // DirEntry *, owned; null until the first Update
    Container *m_pStats;   // FileStat *, owned, same order; null when unused
    int m_aSort[DIR_MAX_SORT_KEYS];
    int m_nSortCount;
    int m_nKinds;
    SString m_aPattern;    // lower-case name pattern, empty for all names
};
