#include "base/Dir.h"

#include "base/FSysName.h"
#include "base/WildCard.h"

#include <windows.h>

#include <algorithm>
#include <cstdarg>
#include <string>
#include <utility>
#include <vector>

namespace {

using Item = std::pair<DirEntry *, FileStat *>;

unsigned __int64 Join(FILETIME const &f) { return (static_cast<unsigned __int64>(f.dwHighDateTime) << 32) | f.dwLowDateTime; }

bool IsKnownKey(int key)
{
    switch (key) {
    case DirSortSize:
    case DirSortCreated:
    case DirSortModified:
    case DirSortAccessed:
    case DirSortExt:
    case DirSortName:
    case DirSortKind:
        return true;
    default:
        return false;
    }
}

int Sign(StringCompare c) { return c == CompLess ? -1 : (c == CompGreater ? 1 : 0); }

int CompareStamp(Date const &da, Time const &ta, Date const &db, Time const &tb)
{
    if (da.GetDate() != db.GetDate())
        return da.GetDate() < db.GetDate() ? -1 : 1;
    if (ta.GetTime() != tb.GetTime())
        return ta.GetTime() < tb.GetTime() ? -1 : 1;
    return 0;
}

// Reads keys up to DirSortEnd; a list that does not end within the limit is
// cut there, since nothing marks how far the caller's arguments go.
int ReadKeys(int first, va_list args, int *keys)
{
    if (first == DirSortEnd)
        return 0;
    int n = 0;
    keys[n++] = first;
    while (n < DIR_MAX_SORT_KEYS) {
        int k = va_arg(args, int);
        if (k == DirSortEnd)
            break;
        keys[n++] = k;
    }
    return n;
}

Container *NewList() { return new Container(1024, 16, 16); }

} // namespace

Dir::Dir() : m_pEntries(nullptr), m_pStats(nullptr), m_aSort{}, m_nSortCount(0), m_nKinds(FileKindAll) {}

Dir::Dir(DirEntry const &entry, int kinds)
    : DirEntry(entry), m_pEntries(nullptr), m_pStats(nullptr), m_aSort{}, m_nSortCount(0),
      m_nKinds(kinds ? kinds : int(FileKindAll))
{
    Update();
}

Dir::Dir(DirEntry const &entry, int kinds, int sort, ...)
    : DirEntry(entry), m_pEntries(nullptr), m_pStats(nullptr), m_aSort{}, m_nSortCount(0),
      m_nKinds(kinds ? kinds : int(FileKindAll))
{
    int keys[DIR_MAX_SORT_KEYS];
    va_list args;
    va_start(args, sort);
    int n = ReadKeys(sort, args, keys);
    va_end(args);
    ImpSetSort(keys, n);
    Update();
}

Dir::Dir(Dir const &other)
    : DirEntry(other), m_pEntries(nullptr), m_pStats(nullptr), m_aSort{}, m_nSortCount(other.m_nSortCount),
      m_nKinds(other.m_nKinds), m_aPattern(other.m_aPattern)
{
    std::copy(other.m_aSort, other.m_aSort + DIR_MAX_SORT_KEYS, m_aSort);
    ImpCopyLists(other);
}

Dir &Dir::operator=(Dir const &other)
{
    if (this == &other)
        return *this;
    DirEntry::operator=(other);
    std::copy(other.m_aSort, other.m_aSort + DIR_MAX_SORT_KEYS, m_aSort);
    m_nSortCount = other.m_nSortCount;
    m_nKinds = other.m_nKinds;
    m_aPattern = other.m_aPattern;
    ImpFreeLists();
    ImpCopyLists(other);
    return *this;
}

Dir::~Dir() { ImpFreeLists(); }

void Dir::ImpFreeLists()
{
    if (m_pEntries) {
        for (unsigned long i = 0, n = m_pEntries->Count(); i < n; ++i)
            delete static_cast<DirEntry *>(m_pEntries->GetCntObject(i));
        delete m_pEntries;
        m_pEntries = nullptr;
    }
    if (m_pStats) {
        for (unsigned long i = 0, n = m_pStats->Count(); i < n; ++i)
            delete static_cast<FileStat *>(m_pStats->GetCntObject(i));
        delete m_pStats;
        m_pStats = nullptr;
    }
}

void Dir::ImpCopyLists(Dir const &other)
{
    if (other.m_pEntries) {
        m_pEntries = NewList();
        for (unsigned long i = 0, n = other.m_pEntries->Count(); i < n; ++i)
            m_pEntries->Insert(new DirEntry(*static_cast<DirEntry *>(other.m_pEntries->GetCntObject(i))), i);
    }
    if (other.m_pStats) {
        m_pStats = NewList();
        for (unsigned long i = 0, n = other.m_pStats->Count(); i < n; ++i)
            m_pStats->Insert(new FileStat(*static_cast<FileStat *>(other.m_pStats->GetCntObject(i))), i);
    }
}

bool Dir::ImpNeedsStat() const
{
    for (int i = 0; i < m_nSortCount; ++i) {
        int key = m_aSort[i] & ~(DirSortAscending | DirSortDescending);
        if (key != DirSortExt && key != DirSortName)
            return true;
    }
    return false;
}

void Dir::ImpTakePattern()
{
    SString const &name = GetName();
    if (name.Search('*') == STR_NOT_FOUND && name.Search('?') == STR_NOT_FOUND)
        return;
    m_aPattern = name.Lower();
    CutName();
}

unsigned long Dir::Count() const { return m_pEntries ? m_pEntries->Count() : 0; }

DirEntry &Dir::operator[](unsigned long pos) const
{
    if (m_pEntries && pos < m_pEntries->Count())
        return *static_cast<DirEntry *>(m_pEntries->GetCntObject(pos));
    // A reference must refer to something: out of range gives a fresh empty
    // entry, so an earlier caller's changes to it never show.
    static DirEntry s_aNone;
    s_aNone = DirEntry();
    return s_aNone;
}

int Dir::ImpCompare(DirEntry const &a, FileStat const *sa, DirEntry const &b, FileStat const *sb) const
{
    for (int i = 0; i < m_nSortCount; ++i) {
        int const key = m_aSort[i] & ~(DirSortAscending | DirSortDescending);
        int c = 0;
        if (key == DirSortName) {
            c = Sign(a.m_aName.Compare(b.m_aName));
        } else if (key == DirSortExt) {
            c = Sign(a.m_aExt.Compare(b.m_aExt));
        } else if (!sa || !sb) {
            continue; // status keys cannot order entries without status
        } else if (key == DirSortSize) {
            unsigned __int64 x = sa->GetSize64(), y = sb->GetSize64();
            c = x < y ? -1 : (x > y ? 1 : 0);
        } else if (key == DirSortCreated) {
            c = CompareStamp(sa->m_aDateCreated, sa->m_aTimeCreated, sb->m_aDateCreated, sb->m_aTimeCreated);
        } else if (key == DirSortModified) {
            c = CompareStamp(sa->m_aDateModified, sa->m_aTimeModified, sb->m_aDateModified, sb->m_aTimeModified);
        } else if (key == DirSortAccessed) {
            c = CompareStamp(sa->m_aDateAccessed, sa->m_aTimeAccessed, sb->m_aDateAccessed, sb->m_aTimeAccessed);
        } else if (key == DirSortKind) {
            int x = sa->m_nKind & 31, y = sb->m_nKind & 31;
            c = x < y ? -1 : (x > y ? 1 : 0);
        }
        if (m_aSort[i] & DirSortDescending)
            c = -c;
        if (c)
            return c;
    }
    return 0;
}

bool Dir::ImpInsertPointReached(DirEntry const &entry, FileStat const *stat, unsigned long pos) const
{
    auto const *here = static_cast<DirEntry const *>(m_pEntries->GetCntObject(pos));
    auto const *hereStat = m_pStats ? static_cast<FileStat const *>(m_pStats->GetCntObject(pos)) : nullptr;
    return ImpCompare(*here, hereStat, entry, stat) >= 0;
}

void Dir::ImpSortedInsert(DirEntry *entry, FileStat *stat)
{
    unsigned long lo = 0, hi = m_pEntries->Count();
    if (m_nSortCount) {
        // The list is kept in order, so the insertion points form a tail of
        // it and the first one can be found by halving.
        while (lo < hi) {
            unsigned long mid = lo + (hi - lo) / 2;
            if (ImpInsertPointReached(*entry, stat, mid))
                hi = mid;
            else
                lo = mid + 1;
        }
    }
    m_pEntries->Insert(entry, lo);
    if (m_pStats)
        m_pStats->Insert(stat, lo);
}

bool Dir::Update()
{
    ImpTakePattern();
    ImpFreeLists();
    m_pEntries = NewList();
    bool const withStat = ImpNeedsStat();
    if (withStat)
        m_pStats = NewList();

    // What to search for, and the folder the found names are put in.
    SString search;
    DirEntry folder;
    bool single = false;
    if (!IsValid() || GetFull().IsEmpty()) {
        search = "*";
    } else if (!HasName() || !m_aPattern.IsEmpty()) {
        folder = DirEntry(GetFull(true));
        search = folder.GetFull() + '*';
    } else {
        FSysName self(ImpFullNoSep());
        DWORD a = self.m_bWide ? GetFileAttributesW(self.W()) : GetFileAttributesA(self.A());
        if (a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY)) {
            folder = DirEntry(GetFull(true));
            search = folder.GetFull() + '*';
        } else {
            folder = *this;
            folder.CutName();
            search = GetFull();
            single = true;
        }
    }
    DirEntryFlag const kind = folder.IsValid() ? folder.m_eKind : DirFlagRelative;
    FSysName name(search);
    bool const utf8 = FSysName::IsUTF8Name(search);
    unsigned const style = withStat ? FileStat::ImpVolumeStyle(folder) : 0;

    WIN32_FIND_DATAA fa;
    WIN32_FIND_DATAW fw;
    HANDLE h = name.m_bWide
                   ? FindFirstFileExW(name.W(), FindExInfoBasic, &fw, FindExSearchNameMatch, nullptr, 0)
                   : FindFirstFileExA(name.A(), FindExInfoBasic, &fa, FindExSearchNameMatch, nullptr, 0);
    if (h == INVALID_HANDLE_VALUE) {
        DWORD err = GetLastError();
        // No match in a folder that is there (a root lists no "." or "..").
        return err == ERROR_FILE_NOT_FOUND && !single;
    }

    std::vector<Item> found;
    std::string lower;
    char const *const pattern = m_aPattern.GetStr();
    char const *const patternEnd = pattern + m_aPattern.Len();
    do {
        SString found1 = name.m_bWide ? FSysName::Narrow(fw.cFileName, utf8) : SString(fa.cFileName);
        DWORD const attr = name.m_bWide ? fw.dwFileAttributes : fa.dwFileAttributes;
        char const *t = found1.GetStr();
        if (t[0] == '.' && (!t[1] || (t[1] == '.' && !t[2])))
            continue;
        int const fileKind = (attr & FILE_ATTRIBUTE_DIRECTORY) ? FileKindDir : FileKindFile;
        if (!(fileKind & m_nKinds))
            continue;
        if (!m_aPattern.IsEmpty()) {
            lower.assign(t, std::size_t(found1.Len()));
            for (char &c : lower)
                if (c >= 'A' && c <= 'Z')
                    c = char(c + 32);
            if (!WildCard::MatchOne(pattern, patternEnd, lower.c_str()))
                continue;
        }
        auto *e = new DirEntry;
        e->m_aDevice = folder.m_aDevice;
        e->m_aPath = folder.m_aPath;
        e->m_aName = found1;
        ImpSplitName(found1, e->m_aBase, e->m_aExt);
        e->m_eKind = kind;
        e->m_bValid = 1;
        FileStat *s = nullptr;
        if (withStat) {
            s = new FileStat;
            if (name.m_bWide)
                s->ImpSet(fw.dwFileAttributes, fw.nFileSizeLow, fw.nFileSizeHigh, Join(fw.ftCreationTime),
                          Join(fw.ftLastWriteTime), Join(fw.ftLastAccessTime));
            else
                s->ImpSet(fa.dwFileAttributes, fa.nFileSizeLow, fa.nFileSizeHigh, Join(fa.ftCreationTime),
                          Join(fa.ftLastWriteTime), Join(fa.ftLastAccessTime));
            s->m_nStyle = style;
        }
        found.emplace_back(e, s);
    } while (name.m_bWide ? FindNextFileW(h, &fw) : FindNextFileA(h, &fa));
    FindClose(h);

    if (m_nSortCount) {
        // One sort of the whole listing places every entry where inserting
        // them one by one in the order found would: ties end up latest first.
        std::reverse(found.begin(), found.end());
        std::stable_sort(found.begin(), found.end(), [this](Item const &x, Item const &y) {
            return ImpCompare(*x.first, x.second, *y.first, y.second) < 0;
        });
    }
    for (unsigned long i = 0; i < found.size(); ++i) {
        m_pEntries->Insert(found[i].first, i);
        if (m_pStats)
            m_pStats->Insert(found[i].second, i);
    }
    return true;
}

Dir &Dir::operator+=(Dir const &other)
{
    if (!other.m_pEntries)
        return *this;
    // Copied first: other may be this Dir.
    std::vector<Item> add;
    for (unsigned long i = 0, n = other.m_pEntries->Count(); i < n; ++i) {
        auto const *e = static_cast<DirEntry const *>(other.m_pEntries->GetCntObject(i));
        auto const *s = other.m_pStats ? static_cast<FileStat const *>(other.m_pStats->GetCntObject(i)) : nullptr;
        add.emplace_back(new DirEntry(*e), s ? new FileStat(*s) : nullptr);
    }
    if (!m_pEntries)
        m_pEntries = NewList();
    bool const withStat = ImpNeedsStat() || m_pStats;
    if (withStat && !m_pStats) {
        m_pStats = NewList();
        for (unsigned long i = 0, n = m_pEntries->Count(); i < n; ++i)
            m_pStats->Insert(new FileStat(*static_cast<DirEntry *>(m_pEntries->GetCntObject(i))), i);
    }
    for (Item &it : add) {
        if (withStat && !it.second)
            it.second = new FileStat(*it.first);
        if (!withStat) {
            delete it.second;
            it.second = nullptr;
        }
        ImpSortedInsert(it.first, it.second);
    }
    return *this;
}

FSysError Dir::ImpSetSort(int const *keys, int count)
{
    for (int i = 0; i < count; ++i) {
        int const order = keys[i] & (DirSortAscending | DirSortDescending);
        if (order == (DirSortAscending | DirSortDescending) || !IsKnownKey(keys[i] & ~order))
            return FSysErrBadArgument;
    }
    std::copy(keys, keys + count, m_aSort);
    std::fill(m_aSort + count, m_aSort + DIR_MAX_SORT_KEYS, 0);
    m_nSortCount = count;
    return FSysErrNone;
}

FSysError Dir::SetSort(int sort, ...)
{
    int keys[DIR_MAX_SORT_KEYS];
    va_list args;
    va_start(args, sort);
    int n = ReadKeys(sort, args, keys);
    va_end(args);
    FSysError err = ImpSetSort(keys, n);
    if (err != FSysErrNone || !m_pEntries)
        return err;
    if (ImpNeedsStat() && !m_pStats) {
        if (Update())
            return FSysErrNone;
        FSysError why = FSysErrorFromPlatform(GetLastError());
        return why == FSysErrNone ? FSysErrUnknown : why;
    }
    if (!m_nSortCount)
        return FSysErrNone;
    std::vector<Item> all;
    for (unsigned long i = 0, n2 = m_pEntries->Count(); i < n2; ++i)
        all.emplace_back(static_cast<DirEntry *>(m_pEntries->GetCntObject(i)),
                         m_pStats ? static_cast<FileStat *>(m_pStats->GetCntObject(i)) : nullptr);
    std::stable_sort(all.begin(), all.end(), [this](Item const &x, Item const &y) {
        return ImpCompare(*x.first, x.second, *y.first, y.second) < 0;
    });
    for (unsigned long i = 0; i < all.size(); ++i) {
        m_pEntries->Replace(all[i].first, i);
        if (m_pStats)
            m_pStats->Replace(all[i].second, i);
    }
    return FSysErrNone;
}
