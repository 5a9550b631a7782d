#pragma once
// FileStat: the status of one file as the file system records it: kind,
// 64-bit size, attributes, and the dates and times of creation, last change
// and last access in UTC (hundredths are the milliseconds / 10).
#include "base/DirEntry.h"
#include "base/FSysError.h"
#include "frame/Kestrel5Api.h"
#include "text/Date.h"
#include "text/SString.h"
#include "text/Time.h"

// Kinds, also the bits of Dir's kind filter.
enum FileKind
{
    FileKindNone = 0,
    FileKindFile = 1,
    FileKindDir = 2,
    FileKindAll = 3
};

// How the volume's file system writes names, from its file-system name.
enum FSysPathStyle
{
    FSysStyleOther = 0,
    FSysStyleFat = 1,
    FSysStyleHpfs = 2,
    FSysStyleNtfs = 3,
    FSysStyleNwfs = 4
};

class KSAPI FileStat
{
public:
    // Nothing read yet: GetError() is FSysErrUnknown.
    FileStat();
    explicit FileStat(DirEntry const &entry);
    FileStat(FileStat const &other);
    FileStat &operator=(FileStat const &other);

    // Reads the status of the named file; false with GetError() telling why
    // when it cannot. A name with '?', '*' or ';' is refused and changes
    // nothing. A bare root ("C:\", "\") is a folder.
    bool Update(DirEntry const &entry);
    bool Update(SString const &name);

    FSysError GetError() const { return m_eError; }
    int GetKind() const { return m_nKind; }
    bool IsKind(int kinds) const { return (m_nKind & kinds) != 0; }
    unsigned __int64 GetSize64() const { return (static_cast<unsigned __int64>(m_nSizeHigh) << 32) | m_nSizeLow; }
    bool IsReadOnly() const { return (m_nAttributes & 0x1) != 0; }
    bool IsHidden() const { return (m_nAttributes & 0x2) != 0; }
    bool IsSystem() const { return (m_nAttributes & 0x4) != 0; }
    unsigned long GetWinFileAttributes() const { return m_nAttributes; }

    Date const &DateCreated() const { return m_aDateCreated; }
    Time const &TimeCreated() const { return m_aTimeCreated; }
    Date const &DateModified() const { return m_aDateModified; }
    Time const &TimeModified() const { return m_aTimeModified; }
    Date const &DateAccessed() const { return m_aDateAccessed; }
    Time const &TimeAccessed() const { return m_aTimeAccessed; }

    // Changed later than other (date first, then time).
    bool IsYounger(FileStat const &other) const;

    // Creator and type are file-system fields this platform does not keep:
    // always empty here.
    SString const &GetCreator() const { return m_aCreator; }
    SString const &GetType() const { return m_aType; }
    // The style of the volume the last Update read from.
    FSysPathStyle GetStyle() const { return static_cast<FSysPathStyle>(m_nStyle); }

    // The style a file-system name ("NTFS", "FAT32") stands for.
    static FSysPathStyle StyleOf(SString const &fileSystemName);

private:
    friend class Dir;

    void ImpClear(FSysError error);
    // From the platform's record: attributes, size, and the three times as
    // FILETIME values (100 ns since 1601, UTC).
    void ImpSet(unsigned long attributes, unsigned long sizeLow, unsigned long sizeHigh,
                unsigned __int64 created, unsigned __int64 modified, unsigned __int64 accessed);
    static FSysPathStyle ImpVolumeStyle(DirEntry const &entry);

    FSysError m_eError;
    int m_nKind;
    unsigned int m_nSizeLow;
    unsigned int m_nSizeHigh;
    unsigned int m_nStyle;
    SString m_aCreator;
    SString m_aType;
    Date m_aDateCreated;
    Time m_aTimeCreated;
    Date m_aDateModified;
    Time m_aTimeModified;
    Date m_aDateAccessed;
    Time m_aTimeAccessed;
    unsigned long m_nAttributes;
};
