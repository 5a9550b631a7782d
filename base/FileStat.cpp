#include "base/FileStat.h"

#include "base/FSysName.h"

#include <windows.h>

namespace {

bool IsSep(char c) { return c == '\\' || c == '/'; }

void FromFileTime(unsigned __int64 ft, Date &date, Time &time)
{
    // A zero time is the file system's "not recorded", not 1 January 1601.
    SYSTEMTIME st;
    FILETIME f;
    f.dwLowDateTime = static_cast<DWORD>(ft);
    f.dwHighDateTime = static_cast<DWORD>(ft >> 32);
    if (!ft || !FileTimeToSystemTime(&f, &st)) {
        date = Date(0UL);
        time = Time(0L);
        return;
    }
    date = Date(st.wDay, st.wMonth, st.wYear);
    time = Time(st.wHour, st.wMinute, st.wSecond, static_cast<unsigned short>(st.wMilliseconds / 10));
}

unsigned __int64 Join(FILETIME const &f) { return (static_cast<unsigned __int64>(f.dwHighDateTime) << 32) | f.dwLowDateTime; }

} // namespace

FileStat::FileStat()
    : m_eError(FSysErrUnknown), m_nKind(FileKindNone), m_nSizeLow(0), m_nSizeHigh(0), m_nStyle(FSysStyleOther),
      m_aDateCreated(0UL), m_aTimeCreated(0L), m_aDateModified(0UL), m_aTimeModified(0L), m_aDateAccessed(0UL),
      m_aTimeAccessed(0L), m_nAttributes(0)
{
}

FileStat::FileStat(DirEntry const &entry) : FileStat() { Update(entry); }

FileStat::FileStat(FileStat const &other) = default;

FileStat &FileStat::operator=(FileStat const &other) = default;

void FileStat::ImpClear(FSysError error)
{
    m_eError = error;
    m_nKind = FileKindNone;
    m_nSizeLow = m_nSizeHigh = 0;
    m_aDateCreated = m_aDateModified = m_aDateAccessed = Date(0UL);
    m_aTimeCreated = m_aTimeModified = m_aTimeAccessed = Time(0L);
    m_nAttributes = 0;
}

void FileStat::ImpSet(unsigned long attributes, unsigned long sizeLow, unsigned long sizeHigh,
                      unsigned __int64 created, unsigned __int64 modified, unsigned __int64 accessed)
{
    m_eError = FSysErrNone;
    m_nAttributes = attributes;
    m_nKind = (attributes & FILE_ATTRIBUTE_DIRECTORY) ? FileKindDir : FileKindFile;
    m_nSizeLow = sizeLow;
    m_nSizeHigh = sizeHigh;
    FromFileTime(created, m_aDateCreated, m_aTimeCreated);
    FromFileTime(modified, m_aDateModified, m_aTimeModified);
    FromFileTime(accessed, m_aDateAccessed, m_aTimeAccessed);
}

FSysPathStyle FileStat::StyleOf(SString const &fs)
{
    if (fs.ICompare("FAT", 3) == CompEqual)
        return FSysStyleFat;
    if (fs.NoCaseEqual("HPFS"))
        return FSysStyleHpfs;
    if (fs.NoCaseEqual("NTFS"))
        return FSysStyleNtfs;
    if (fs.NoCaseEqual("NWFS"))
        return FSysStyleNwfs;
    return FSysStyleOther;
}

FSysPathStyle FileStat::ImpVolumeStyle(DirEntry const &entry)
{
    SString root = entry.ImpRoot();
    char fs[MAX_PATH + 1] = {};
    BOOL ok;
    if (entry.IsUTF8()) {
        std::wstring w = FSysName::Widen(root.GetStr(), root.Len(), true);
        wchar_t wfs[MAX_PATH + 1] = {};
        ok = GetVolumeInformationW(w.empty() ? nullptr : w.c_str(), nullptr, 0, nullptr, nullptr, nullptr, wfs,
                                   MAX_PATH + 1);
        // File-system names are plain ASCII.
        for (int i = 0; ok && wfs[i] && i < MAX_PATH; ++i)
            fs[i] = static_cast<char>(wfs[i] < 128 ? wfs[i] : '?');
    } else {
        ok = GetVolumeInformationA(root.IsEmpty() ? nullptr : root.GetStr(), nullptr, 0, nullptr, nullptr, nullptr,
                                   fs, MAX_PATH + 1);
    }
    return ok ? StyleOf(SString(fs)) : FSysStyleOther;
}

bool FileStat::Update(SString const &name)
{
    // Checked before parsing, which would drop everything after a ';'.
    if (name.Search(';') != STR_NOT_FOUND)
        return false;
    return Update(DirEntry(name));
}

bool FileStat::Update(DirEntry const &entry)
{
    SString full = entry.GetFull();
    for (char const *p = full.GetStr(); *p; ++p)
        if (*p == '?' || *p == '*' || *p == ';')
            return false;
    if (!entry.IsValid()) {
        ImpClear(FSysErrInvalidName);
        return false;
    }

    SString const &path = entry.GetPath();
    bool onlySeps = !entry.HasName();
    for (int i = 0; onlySeps && i < path.Len(); ++i)
        onlySeps = IsSep(path[i]);

    SString lookup = entry.ImpFullNoSep();
    bool const trailingSep = entry.HasName() ? false : lookup.Len() < full.Len();
    WIN32_FILE_ATTRIBUTE_DATA data;
    FSysName n(lookup);
    BOOL ok = n.m_bWide ? GetFileAttributesExW(n.W(), GetFileExInfoStandard, &data)
                        : GetFileAttributesExA(n.A(), GetFileExInfoStandard, &data);
    if (!ok) {
        if (onlySeps && entry.GetDriveTypeA() != DRIVE_NO_ROOT_DIR) {
            // A root the platform keeps no record for is still a folder.
            ImpClear(FSysErrNone);
            m_nKind = FileKindDir;
            m_nAttributes = FILE_ATTRIBUTE_DIRECTORY;
            m_nStyle = ImpVolumeStyle(entry);
            return true;
        }
        ImpClear(FSysErrorFromPlatform(GetLastError()));
        return false;
    }
    if (trailingSep && !(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
        // "file\" names a folder that is not there.
        ImpClear(FSysErrNotADirectory);
        return false;
    }
    ImpSet(data.dwFileAttributes, data.nFileSizeLow, data.nFileSizeHigh, Join(data.ftCreationTime),
           Join(data.ftLastWriteTime), Join(data.ftLastAccessTime));
    if (onlySeps || entry.GetName() == "..")
        m_nKind = FileKindDir;
    m_nStyle = ImpVolumeStyle(entry);
    return true;
}

bool FileStat::IsYounger(FileStat const &other) const
{
    if (m_aDateModified != other.m_aDateModified)
        return m_aDateModified > other.m_aDateModified;
    return m_aTimeModified.GetTime() > other.m_aTimeModified.GetTime();
}
