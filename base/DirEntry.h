#pragma once
// DirEntry: a file or directory name cut into device ("C:", or the server and
// share of a network name), path (the folders with their separators), base
// name and extension, with the operations on the file it names.
//
// Both '/' and '\' separate. Names are SStrings in the ANSI code page, or in
// UTF-8 when flagged or when they look like UTF-8 (SString::MayBeUTF8); a
// UTF-8 name or a full name of 260 bytes or more reaches the platform through
// its wide calls. Operations report failure as false; the platform's reason
// is then left in GetLastError() (FSysErrorFromPlatform names it). No
// operation replaces or deletes data it was not asked to: moves and copies
// never overwrite unless asked, and a failed one leaves the source in place.
#include <string>

#include "base/FSysError.h"
#include "frame/Kestrel5Api.h"
#include "text/SString.h"

enum DirEntryFlag
{
    DirFlagAbsolute = 2, // starts at a device, a rooted drive or a network name
    DirFlagRelative = 3,
    DirFlagEmpty = 5     // nothing parsed
};

class Dir;

class KSAPI DirEntry
{
public:
    DirEntry();
    // Parses the text; everything from the first ';' on is dropped.
    DirEntry(SString const &name);
    // An empty, invalid entry of that kind.
    explicit DirEntry(DirEntryFlag kind);
    DirEntry(DirEntry const &other);
    DirEntry &operator=(DirEntry const &other);

    // Full names compared without ASCII case, '/' and '\' alike.
    bool operator==(DirEntry const &other) const;
    bool operator!=(DirEntry const &other) const { return !(*this == other); }
    bool operator<(DirEntry const &other) const;

    // Device + path + name; with withSep a '\' is appended unless the text
    // already ends on a separator.
    SString GetFull(bool withSep = false) const;
    // The UTF-16 text the platform's wide calls get; see the static form.
    std::wstring GetFullW(bool extended = false) const;
    // With extended, or from 260 bytes on, the name is made absolute and gets
    // the "\\?\" prefix that lifts the platform's length limit; with extended
    // a name starting with "//" becomes "\\?\UNC\server\..." with backslashes.
    // The text is read as UTF-8 when flagged or detected, else as ANSI.
    static std::wstring GetFullW(SString const &name, bool extended);
    // The full name cut to at most maxLen bytes: the middle folders give way
    // to "..." first, then the front of the name.
    SString GetFullLimited(unsigned int maxLen) const;

    SString const &GetName() const { return m_aName; }
    SString const &GetBase() const { return m_aBase; }
    SString const &GetExtension() const { return m_aExt; }
    SString const &GetPath() const { return m_aPath; }
    SString const &GetDevice() const { return m_aDevice; }
    DirEntryFlag GetFlag() const { return m_eKind; }
    bool IsUTF8() const;
    // The label of the volume the entry lies on; empty when it has none or
    // cannot be read.
    SString GetVolume() const;
    // The name of the folder that holds the entry (the last folder of the
    // path); empty at the top.
    SString GetParentDirName() const;

    // Parts counted from the device: the device, each folder, the name.
    unsigned int Level() const;
    // Part i of Level()'s count (0 = the device when there is one); empty out
    // of range.
    SString operator[](int i) const;

    DirEntry operator+(DirEntry const &other) const;
    DirEntry &operator+=(DirEntry const &other);

    // Each returns the previous value; the entry is parsed again afterwards.
    SString ChangeBase(SString const &base);
    SString ChangeExtension(SString const &ext);
    SString ChangeName(SString const &name);
    // A path that does not end on a separator gets one.
    SString ChangePath(SString const &path);
    // Drops the name; the entry then names its folder. Returns the name.
    SString CutName();

    // The other's full name occurs in this one's, without ASCII case.
    bool Contains(DirEntry const &other) const;

    bool IsAbsolute() const { return !m_aDevice.IsEmpty(); }
    bool IsRoot() const;
    bool IsValid() const { return m_bValid != 0; }
    bool HasName() const { return !m_aBase.IsEmpty() || !m_aExt.IsEmpty(); }
    // A name the platform accepts for a new file: no control or reserved
    // characters, no device name such as "con", no trailing dot or space.
    bool HasLegalName() const;
    // Lies in the user's temporary folder.
    bool HasTempPath() const;
    // Names something that is not a folder (an existing file, or nothing yet).
    bool IsFile() const;
    bool IsExistingFile() const;
    // An existing folder other than "." and "..".
    bool IsNormalDir() const;
    bool IsHttp() const;
    bool IsHttps() const;
    bool IsFtp() const;

    bool Exists() const;
    // Whether the file could be written now: an existing file is opened for
    // writing (and left as it was), a missing one is created and removed
    // again, a folder is tested with a temporary file inside it.
    bool CanWriteTo() const;
    // Deletes the file, or the folder when it is empty.
    bool Kill() const;
    // Makes the folder (withParents: every missing folder above it too); true
    // when the folder exists afterwards.
    bool MakeDir(bool withParents = false) const;
    // Renames or moves to exactly target's name; never replaces anything.
    bool MoveTo(DirEntry const &target) const;
    // Moves onto target, replacing it: the old target is set aside first and
    // put back when the move fails.
    bool MoveToSave(DirEntry const &target) const;
    // Copies a file to exactly target's name. With replace an existing target
    // is replaced only once the copy is complete; without it an existing
    // target makes the copy fail.
    bool CopyTo(DirEntry const &target, bool replace = false) const;
    // A name not taken at the time of the call (nothing is created): in this
    // folder when the entry names a folder, beside the file and with its base
    // and extension when it names a file, in the temporary folder when the
    // entry is empty. Invalid when the folder does not exist.
    DirEntry TempName() const;
    // A copy with every part converted from UTF-8 to the ANSI code page.
    DirEntry UTF8ToAnsi() const;
    // The platform's drive type of the entry's device (of the current drive
    // for a relative entry): 0 unknown, 1 no such root, 2 removable, 3 fixed,
    // 4 remote, 5 optical, 6 RAM disk.
    unsigned int GetDriveTypeA() const;

private:
    friend class Dir;
    friend class FileStat;

    // utf8: -1 follows the text's flag and MayBeUTF8, 0 reads it as ANSI.
    void ImpParse(SString const &text, int utf8 = -1);
    // Base and extension of one name (no separators in it).
    static void ImpSplitName(SString const &name, SString &base, SString &ext);
    // The root the volume calls take ("C:\", "\\server\share\"), or empty.
    SString ImpRoot() const;
    // The full name without trailing separators, except at a root.
    SString ImpFullNoSep() const;

    SString m_aDevice;
    SString m_aPath;
    SString m_aBase;
    SString m_aExt;
    SString m_aName;
    DirEntryFlag m_eKind;
    int m_bValid;
};
