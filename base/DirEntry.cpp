#include "base/DirEntry.h"

#include "base/FSysName.h"

#include <windows.h>

#include <atomic>
#include <cstring>
#include <vector>

namespace {

bool IsSep(char c) { return c == '\\' || c == '/'; }
bool IsSepW(wchar_t c) { return c == L'\\' || c == L'/'; }

bool HasWildcard(SString const &s)
{
    for (char const *p = s.GetStr(); *p; ++p)
        if (*p == '*' || *p == '?')
            return true;
    return false;
}

unsigned char Fold(unsigned char c)
{
    if (c >= 'A' && c <= 'Z')
        return static_cast<unsigned char>(c + 32);
    return c == '/' ? '\\' : c;
}

// Full names compare as the platform resolves them: ASCII case and the kind
// of separator do not tell two names apart.
int FoldCompare(SString const &a, SString const &b)
{
    auto const *x = reinterpret_cast<unsigned char const *>(a.GetStr());
    auto const *y = reinterpret_cast<unsigned char const *>(b.GetStr());
    for (;; ++x, ++y) {
        unsigned char cx = Fold(*x), cy = Fold(*y);
        if (cx != cy)
            return cx < cy ? -1 : 1;
        if (!cx)
            return 0;
    }
}

bool StartsWithNoCase(SString const &text, SString const &head)
{
    return text.Len() >= head.Len() && text.ICompare(head, unsigned(head.Len())) == CompEqual;
}

// Refuses a name that is not one file: the platform would read a wildcard as
// a pattern in some calls and reject it in others.
bool RefuseName(SString const &full)
{
    if (full.IsEmpty() || HasWildcard(full)) {
        SetLastError(ERROR_INVALID_NAME);
        return true;
    }
    return false;
}

DWORD Attributes(FSysName const &n)
{
    return n.m_bWide ? GetFileAttributesW(n.W()) : GetFileAttributesA(n.A());
}

DWORD Attributes(SString const &full) { return Attributes(FSysName(full)); }

bool MoveName(SString const &from, SString const &to, DWORD flags)
{
    FSysName f(from), t(to);
    if (f.m_bWide || t.m_bWide) {
        f.MakeWide();
        t.MakeWide();
        return MoveFileExW(f.W(), t.W(), flags) != 0;
    }
    return MoveFileExA(f.A(), t.A(), flags) != 0;
}

bool CopyName(SString const &from, SString const &to)
{
    FSysName f(from), t(to);
    if (f.m_bWide || t.m_bWide) {
        f.MakeWide();
        t.MakeWide();
        return CopyFileW(f.W(), t.W(), TRUE) != 0;
    }
    return CopyFileA(f.A(), t.A(), TRUE) != 0;
}

bool DeleteName(SString const &full)
{
    FSysName n(full);
    return (n.m_bWide ? DeleteFileW(n.W()) : DeleteFileA(n.A())) != 0;
}

HANDLE OpenName(SString const &full, DWORD access, DWORD share, DWORD disposition, DWORD flags)
{
    FSysName n(full);
    return n.m_bWide ? CreateFileW(n.W(), access, share, nullptr, disposition, flags, nullptr)
                     : CreateFileA(n.A(), access, share, nullptr, disposition, flags, nullptr);
}

// Creates and at once removes a file: the only sure test that one can be made.
bool CanCreate(SString const &full)
{
    HANDLE h = OpenName(full, GENERIC_WRITE, 0, CREATE_NEW, FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE);
    if (h == INVALID_HANDLE_VALUE)
        return false;
    CloseHandle(h);
    return true;
}

// Keeps the platform's reason across clean-up calls that overwrite it.
class KeepError
{
public:
    KeepError() : m_nError(GetLastError()) {}
    ~KeepError() { SetLastError(m_nError); }
    KeepError(KeepError const &) = delete;
    KeepError &operator=(KeepError const &) = delete;

private:
    DWORD m_nError;
};

SString TempFolder(bool utf8)
{
    if (utf8) {
        wchar_t buf[MAX_PATH + 2];
        DWORD n = GetTempPathW(MAX_PATH + 1, buf);
        return n && n <= MAX_PATH ? FSysName::Narrow(buf, true) : SString();
    }
    char buf[MAX_PATH + 2];
    DWORD n = GetTempPathA(MAX_PATH + 1, buf);
    return n && n <= MAX_PATH ? SString(buf) : SString();
}

// Absolute form of a wide name; the name itself when the platform cannot say.
std::wstring Absolute(std::wstring const &name)
{
    if (name.empty())
        return name;
    DWORD need = GetFullPathNameW(name.c_str(), 0, nullptr, nullptr);
    if (!need)
        return name;
    std::wstring out(need, L'\0');
    DWORD got = GetFullPathNameW(name.c_str(), need, out.data(), nullptr);
    if (!got || got >= need)
        return name;
    out.resize(got);
    return out;
}

} // namespace

// ------------------------------------------------------------ FSysName

FSysName::FSysName(SString const &full, unsigned int limit) : m_bWide(false)
{
    bool utf8 = IsUTF8Name(full);
    bool longName = unsigned(full.Len()) >= limit;
    if (!utf8 && !longName) {
        m_aAnsi = full;
        return;
    }
    m_bWide = true;
    m_aWide = DirEntry::GetFullW(full, longName);
}

void FSysName::MakeWide()
{
    if (m_bWide)
        return;
    m_bWide = true;
    m_aWide = Widen(m_aAnsi.GetStr(), m_aAnsi.Len(), false);
}

std::wstring FSysName::Widen(char const *text, int len, bool utf8)
{
    if (!text || len <= 0)
        return std::wstring();
    UINT cp = utf8 ? CP_UTF8 : CP_ACP;
    int n = MultiByteToWideChar(cp, 0, text, len, nullptr, 0);
    if (n <= 0)
        return std::wstring();
    std::wstring w(std::size_t(n), L'\0');
    MultiByteToWideChar(cp, 0, text, len, w.data(), n);
    return w;
}

SString FSysName::Narrow(wchar_t const *text, bool utf8)
{
    return SString(text, utf8 ? CP_UTF8 : CP_ACP);
}

FSysError FSysErrorFromPlatform(unsigned long code)
{
    switch (code) {
    case ERROR_SUCCESS:
        return FSysErrNone;
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_BAD_NETPATH:
    case ERROR_BAD_NET_NAME:
        return FSysErrNotExists;
    case ERROR_ALREADY_EXISTS:
    case ERROR_FILE_EXISTS:
        return FSysErrAlreadyExists;
    case ERROR_ACCESS_DENIED:
    case ERROR_WRITE_PROTECT:
        return FSysErrAccessDenied;
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
    case ERROR_BUSY:
        return FSysErrLocked;
    case ERROR_DIRECTORY:
        return FSysErrNotADirectory;
    case ERROR_DIR_NOT_EMPTY:
        return FSysErrNotEmpty;
    case ERROR_INVALID_DRIVE:
    case ERROR_NOT_READY:
    case ERROR_NOT_SAME_DEVICE:
        return FSysErrInvalidDevice;
    case ERROR_INVALID_NAME:
    case ERROR_BAD_PATHNAME:
        return FSysErrInvalidName;
    case ERROR_FILENAME_EXCED_RANGE:
    case ERROR_BUFFER_OVERFLOW:
        return FSysErrNameTooLong;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
        return FSysErrDiskFull;
    case ERROR_NOT_SUPPORTED:
    case ERROR_CALL_NOT_IMPLEMENTED:
        return FSysErrNotSupported;
    case ERROR_INVALID_PARAMETER:
        return FSysErrBadArgument;
    default:
        return FSysErrUnknown;
    }
}

// ------------------------------------------------------------ construction

DirEntry::DirEntry() : m_eKind(DirFlagEmpty), m_bValid(0) {}

DirEntry::DirEntry(SString const &name) : m_eKind(DirFlagEmpty), m_bValid(0) { ImpParse(name); }

DirEntry::DirEntry(DirEntryFlag kind) : m_eKind(kind), m_bValid(0) {}

DirEntry::DirEntry(DirEntry const &other)
    : m_aDevice(other.m_aDevice), m_aPath(other.m_aPath), m_aBase(other.m_aBase), m_aExt(other.m_aExt),
      m_aName(other.m_aName), m_eKind(other.m_eKind), m_bValid(other.m_bValid)
{
}

DirEntry &DirEntry::operator=(DirEntry const &other)
{
    m_aDevice = other.m_aDevice;
    m_aPath = other.m_aPath;
    m_aBase = other.m_aBase;
    m_aExt = other.m_aExt;
    m_aName = other.m_aName;
    m_eKind = other.m_eKind;
    m_bValid = other.m_bValid;
    return *this;
}

void DirEntry::ImpSplitName(SString const &name, SString &base, SString &ext)
{
    char const *t = name.GetStr();
    int n = name.Len();
    int dot = -1;
    for (int i = 0; i < n; ++i) {
        if (t[i] != '.')
            continue;
        // ".." at the start of a name is the parent folder, not an extension.
        if (i == 1 && t[0] == '.')
            dot = -1;
        else
            dot = i;
    }
    // A trailing dot would vanish when the name is built again.
    if (dot < 0 || dot + 1 >= n) {
        base = name;
        ext = SString();
        return;
    }
    base = name.Copy(0, unsigned(dot));
    ext = name.Copy(unsigned(dot) + 1);
}

void DirEntry::ImpParse(SString const &input, int utf8)
{
    SString text(input);
    unsigned semi = text.Search(';');
    if (semi != STR_NOT_FOUND)
        text = text.Copy(0, semi);
    if (utf8 < 0 ? FSysName::IsUTF8Name(text) : false)
        text.SetIsUTF8();
    else
        text.ClearUTF8();

    m_aDevice = m_aPath = m_aBase = m_aExt = m_aName = SString();
    int const n = text.Len();
    if (!n) {
        m_eKind = DirFlagEmpty;
        m_bValid = 0;
        return;
    }
    char const *t = text.GetStr();
    int seps[4] = {-1, -1, -1, -1};
    int nSeps = 0, lastSep = -1, colon = -1;
    for (int i = 0; i < n; ++i) {
        if (IsSep(t[i])) {
            if (nSeps < 4)
                seps[nSeps++] = i;
            lastSep = i;
        } else if (t[i] == ':' && colon < 0) {
            colon = i;
        }
    }

    int devEnd;
    if (n >= 2 && IsSep(t[0]) && IsSep(t[1])) {
        devEnd = nSeps >= 4 ? seps[3] : n;
        m_eKind = DirFlagAbsolute;
    } else if (colon >= 0) {
        devEnd = colon + 1;
        m_eKind = devEnd < n && IsSep(t[devEnd]) ? DirFlagAbsolute : DirFlagRelative;
    } else {
        devEnd = 0;
        m_eKind = DirFlagRelative;
    }
    m_bValid = 1;
    if (devEnd)
        m_aDevice = text.Copy(0, unsigned(devEnd));
    int nameStart = devEnd;
    if (lastSep >= devEnd) {
        m_aPath = text.Copy(unsigned(devEnd), unsigned(lastSep + 1 - devEnd));
        nameStart = lastSep + 1;
    }
    if (nameStart < n) {
        m_aName = text.Copy(unsigned(nameStart));
        ImpSplitName(m_aName, m_aBase, m_aExt);
    }
}

// ------------------------------------------------------------ comparing

bool DirEntry::operator==(DirEntry const &other) const { return FoldCompare(GetFull(), other.GetFull()) == 0; }

bool DirEntry::operator<(DirEntry const &other) const { return FoldCompare(GetFull(), other.GetFull()) < 0; }

bool DirEntry::Contains(DirEntry const &other) const
{
    return GetFull().NoCaseSearch(other.GetFull()) != STR_NOT_FOUND;
}

// ------------------------------------------------------------ names

bool DirEntry::IsUTF8() const { return m_aDevice.IsUTF8() || m_aPath.IsUTF8() || m_aName.IsUTF8(); }

SString DirEntry::GetFull(bool withSep) const
{
    SString r(m_aDevice);
    r += m_aPath;
    if (!m_aPath.IsEmpty() && !IsSep(m_aPath.Back()) && !m_aName.IsEmpty())
        r += '\\';
    r += m_aName;
    if (withSep && !(r.Len() && IsSep(r.Back())))
        r += '\\';
    return r;
}

std::wstring DirEntry::GetFullW(bool extended) const { return GetFullW(GetFull(), extended); }

std::wstring DirEntry::GetFullW(SString const &name, bool extended)
{
    char const *s = name.GetStr();
    int const n = name.Len();
    bool const utf8 = FSysName::IsUTF8Name(name);
    bool const prefixed = n >= 4 && IsSep(s[0]) && IsSep(s[1]) && s[2] == '?' && IsSep(s[3]);
    if (!n || prefixed || !(extended || n >= 260))
        return FSysName::Widen(s, n, utf8);

    std::wstring const prefix = L"\\\\?\\";
    if (extended && n >= 2 && s[0] == '/' && s[1] == '/') {
        std::wstring rest = FSysName::Widen(s + 2, n - 2, utf8);
        for (wchar_t &c : rest)
            if (c == L'/')
                c = L'\\';
        return prefix + L"UNC\\" + rest;
    }
    // The prefix switches off the platform's own clean-up of the name, so
    // separators, relative parts and "." or ".." are resolved here first.
    std::wstring full = Absolute(FSysName::Widen(s, n, utf8));
    if (full.size() >= 2 && IsSepW(full[0]) && IsSepW(full[1]))
        return prefix + L"UNC\\" + full.substr(2);
    return prefix + full;
}

SString DirEntry::GetFullLimited(unsigned int maxLen) const
{
    SString full = GetFull();
    unsigned const n = unsigned(full.Len());
    if (n <= maxLen)
        return full;
    bool const utf8 = full.IsUTF8();
    char const *t = full.GetStr();
    auto isCont = [&](unsigned i) { return utf8 && (static_cast<unsigned char>(t[i]) & 0xC0) == 0x80; };

    unsigned head = unsigned(m_aDevice.Len());
    if (head < n && IsSep(t[head]))
        ++head;
    for (unsigned k = head + 1; k < n; ++k) {
        if (IsSep(t[k]) && head + 3 + (n - k) <= maxLen)
            return full.Copy(0, head) + "..." + full.Copy(k);
    }
    if (maxLen < 4) {
        unsigned cut = maxLen;
        while (cut > 0 && cut < n && isCont(cut))
            --cut;
        return full.Copy(0, cut);
    }
    unsigned from = n - (maxLen - 3);
    while (from < n && isCont(from))
        ++from;
    return SString("...") + full.Copy(from);
}

SString DirEntry::ImpRoot() const
{
    if (m_aDevice.IsEmpty())
        return SString();
    SString root(m_aDevice);
    root.ReplaceAllChars('/', '\\');
    root += '\\';
    return root;
}

SString DirEntry::ImpFullNoSep() const
{
    SString full = GetFull();
    int keep = m_aDevice.Len() + 1;
    int n = full.Len();
    while (n > keep && IsSep(full[n - 1]))
        --n;
    return n == full.Len() ? full : full.Copy(0, unsigned(n));
}

SString DirEntry::GetVolume() const
{
    SString root = ImpRoot();
    if (IsUTF8()) {
        std::wstring w = FSysName::Widen(root.GetStr(), root.Len(), true);
        wchar_t label[MAX_PATH + 1] = {};
        if (!GetVolumeInformationW(w.empty() ? nullptr : w.c_str(), label, MAX_PATH + 1, nullptr, nullptr,
                                   nullptr, nullptr, 0))
            return SString();
        return FSysName::Narrow(label, true);
    }
    char label[MAX_PATH + 1] = {};
    if (!GetVolumeInformationA(root.IsEmpty() ? nullptr : root.GetStr(), label, MAX_PATH + 1, nullptr, nullptr,
                               nullptr, nullptr, 0))
        return SString();
    return SString(label);
}

unsigned int DirEntry::GetDriveTypeA() const
{
    SString root = ImpRoot();
    if (IsUTF8()) {
        std::wstring w = FSysName::Widen(root.GetStr(), root.Len(), true);
        return ::GetDriveTypeW(w.empty() ? nullptr : w.c_str());
    }
    return ::GetDriveTypeA(root.IsEmpty() ? nullptr : root.GetStr());
}

SString DirEntry::GetParentDirName() const
{
    char const *t = m_aPath.GetStr();
    int end = m_aPath.Len();
    while (end > 0 && IsSep(t[end - 1]))
        --end;
    int start = end;
    while (start > 0 && !IsSep(t[start - 1]))
        --start;
    return m_aPath.Copy(unsigned(start), unsigned(end - start));
}

unsigned int DirEntry::Level() const
{
    if (!m_bValid)
        return 0;
    bool const dev = !m_aDevice.IsEmpty(), name = HasName();
    unsigned level = dev && name ? 2 : (dev || name ? 1 : 0);
    char const *t = m_aPath.GetStr();
    int const n = m_aPath.Len();
    int prev = -1;
    for (int i = 0; i < n; ++i) {
        if (!IsSep(t[i]))
            continue;
        if (i - prev >= 2)
            ++level;
        prev = i;
    }
    if (n && !IsSep(t[n - 1]))
        ++level;
    return level;
}

SString DirEntry::operator[](int i) const
{
    if (!m_bValid || i < 0)
        return SString();
    std::vector<SString> parts;
    if (!m_aDevice.IsEmpty())
        parts.push_back(m_aDevice);
    char const *t = m_aPath.GetStr();
    int const n = m_aPath.Len();
    int start = 0;
    for (int k = 0; k <= n; ++k) {
        if (k == n || IsSep(t[k])) {
            if (k > start)
                parts.push_back(m_aPath.Copy(unsigned(start), unsigned(k - start)));
            start = k + 1;
        }
    }
    if (HasName())
        parts.push_back(m_aName);
    return unsigned(i) < parts.size() ? parts[std::size_t(i)] : SString();
}

// ------------------------------------------------------------ editing

DirEntry &DirEntry::operator+=(DirEntry const &other)
{
    SString a = GetFull(), b = other.GetFull();
    if (!other.m_aDevice.IsEmpty()) {
        if (StartsWithNoCase(b, a)) {
            *this = other;
            return *this;
        }
        if (StartsWithNoCase(a, b))
            return *this;
        b = other.m_aName;
    }
    SString r;
    if (a.IsEmpty())
        r = b;
    else if (b.IsEmpty())
        r = a;
    else {
        bool const aEnds = IsSep(a.Back()), bStarts = IsSep(b.Front());
        if (!aEnds && !bStarts)
            r = a + '\\' + b;
        else if (aEnds && bStarts)
            r = a + b.Copy(1);
        else
            r = a + b;
    }
    ImpParse(r);
    return *this;
}

DirEntry DirEntry::operator+(DirEntry const &other) const
{
    DirEntry r(*this);
    r += other;
    return r;
}

SString DirEntry::ChangeName(SString const &name)
{
    SString old = m_aName;
    SString full = m_aDevice + m_aPath;
    if (!m_aPath.IsEmpty() && !IsSep(m_aPath.Back()) && !name.IsEmpty())
        full += '\\';
    full += name;
    ImpParse(full);
    return old;
}

SString DirEntry::ChangeBase(SString const &base)
{
    SString old = m_aBase;
    ChangeName(m_aExt.IsEmpty() ? base : base + '.' + m_aExt);
    return old;
}

SString DirEntry::ChangeExtension(SString const &ext)
{
    SString old = m_aExt;
    ChangeName(ext.IsEmpty() ? m_aBase : m_aBase + '.' + ext);
    return old;
}

SString DirEntry::ChangePath(SString const &path)
{
    SString old = m_aPath;
    SString p(path);
    if (!p.IsEmpty() && !IsSep(p.Back()))
        p += '\\';
    ImpParse(m_aDevice + p + m_aName);
    return old;
}

SString DirEntry::CutName()
{
    SString old = m_aName;
    ImpParse(m_aDevice + m_aPath);
    return old;
}

// ------------------------------------------------------------ classifying

bool DirEntry::IsRoot() const
{
    return m_bValid && !m_aDevice.IsEmpty() && !HasName() &&
           (m_aPath.IsEmpty() || (m_aPath.Len() == 1 && IsSep(m_aPath.Front())));
}

bool DirEntry::HasLegalName() const
{
    if (!m_bValid || !HasName())
        return false;
    char const *t = m_aName.GetStr();
    int const n = m_aName.Len();
    for (int i = 0; i < n; ++i) {
        unsigned char c = static_cast<unsigned char>(t[i]);
        if (c < 32 || std::strchr("<>:\"/\\|?*", c))
            return false;
    }
    if (t[n - 1] == '.' || t[n - 1] == ' ')
        return false;
    // Device names stay devices whatever extension follows them.
    SString stem = m_aName.Copy(0, m_aName.Search('.')).Lower();
    stem.EraseTrailingChars(' ');
    static char const *const reserved[] = {"con", "prn", "aux", "nul"};
    for (char const *r : reserved)
        if (stem == r)
            return false;
    if (stem.Len() == 4 && (stem.Compare("com", 3) == CompEqual || stem.Compare("lpt", 3) == CompEqual) &&
        stem[3] >= '1' && stem[3] <= '9')
        return false;
    return FSysName::Widen(t, n, IsUTF8()).size() <= 255;
}

bool DirEntry::HasTempPath() const
{
    if (!m_bValid)
        return false;
    wchar_t tmp[MAX_PATH + 2];
    DWORD n = GetTempPathW(MAX_PATH + 1, tmp);
    if (!n || n > MAX_PATH)
        return false;
    std::wstring temp = Absolute(std::wstring(tmp, n));
    std::wstring mine = Absolute(FSysName::Widen(GetFull().GetStr(), GetFull().Len(), IsUTF8()));
    while (!temp.empty() && IsSepW(temp.back()))
        temp.pop_back();
    if (mine.size() < temp.size() || (mine.size() > temp.size() && !IsSepW(mine[temp.size()])))
        return false;
    for (std::size_t i = 0; i < temp.size(); ++i) {
        wchar_t a = mine[i], b = temp[i];
        if (a < 128 && b < 128 ? Fold(static_cast<unsigned char>(a)) != Fold(static_cast<unsigned char>(b)) : a != b)
            return false;
    }
    return true;
}

namespace {

bool SchemeIs(SString const &full, char const *scheme)
{
    SString s(scheme);
    return StartsWithNoCase(full, s) && full.Len() >= s.Len() + 2 && IsSep(full[s.Len()]) &&
           IsSep(full[s.Len() + 1]);
}

} // namespace

bool DirEntry::IsHttp() const { return SchemeIs(GetFull(), "http:"); }
bool DirEntry::IsHttps() const { return SchemeIs(GetFull(), "https:"); }
bool DirEntry::IsFtp() const { return SchemeIs(GetFull(), "ftp:"); }

bool DirEntry::Exists() const
{
    return m_bValid && !HasWildcard(GetFull()) && Attributes(ImpFullNoSep()) != INVALID_FILE_ATTRIBUTES;
}

bool DirEntry::IsFile() const
{
    if (!m_bValid || !HasName() || HasWildcard(GetFull()))
        return false;
    DWORD a = Attributes(ImpFullNoSep());
    return a == INVALID_FILE_ATTRIBUTES || !(a & FILE_ATTRIBUTE_DIRECTORY);
}

bool DirEntry::IsExistingFile() const
{
    if (!m_bValid || HasWildcard(GetFull()))
        return false;
    DWORD a = Attributes(ImpFullNoSep());
    return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}

bool DirEntry::IsNormalDir() const
{
    if (!m_bValid || HasWildcard(GetFull()) || m_aName == "." || m_aName == "..")
        return false;
    DWORD a = Attributes(ImpFullNoSep());
    return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

// ------------------------------------------------------------ operations

bool DirEntry::CanWriteTo() const
{
    SString full = ImpFullNoSep();
    if (!m_bValid || RefuseName(full))
        return false;
    DWORD a = Attributes(full);
    if (a == INVALID_FILE_ATTRIBUTES)
        return GetLastError() == ERROR_FILE_NOT_FOUND && CanCreate(full);
    if (a & FILE_ATTRIBUTE_DIRECTORY) {
        DirEntry probe = DirEntry(GetFull(true)).TempName();
        return probe.IsValid() && CanCreate(probe.GetFull());
    }
    // Honoured here even though some platforms let privileged users write
    // through it: the flag is the owner's wish that the file stays as it is.
    if (a & FILE_ATTRIBUTE_READONLY) {
        SetLastError(ERROR_ACCESS_DENIED);
        return false;
    }
    HANDLE h = OpenName(full, GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, OPEN_EXISTING,
                        FILE_ATTRIBUTE_NORMAL);
    if (h == INVALID_HANDLE_VALUE)
        return false;
    CloseHandle(h);
    return true;
}

bool DirEntry::Kill() const
{
    SString full = ImpFullNoSep();
    if (!m_bValid || RefuseName(full))
        return false;
    if (IsRoot()) {
        SetLastError(ERROR_ACCESS_DENIED);
        return false;
    }
    FSysName n(full);
    DWORD a = Attributes(n);
    if (a == INVALID_FILE_ATTRIBUTES)
        return false;
    if (a & FILE_ATTRIBUTE_DIRECTORY)
        return (n.m_bWide ? RemoveDirectoryW(n.W()) : RemoveDirectoryA(n.A())) != 0;
    return (n.m_bWide ? DeleteFileW(n.W()) : DeleteFileA(n.A())) != 0;
}

namespace {

bool IsDirectory(SString const &full)
{
    DWORD a = Attributes(full);
    return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

bool CreateOneDir(SString const &full)
{
    FSysName n(full, 248);
    BOOL ok = n.m_bWide ? CreateDirectoryW(n.W(), nullptr) : CreateDirectoryA(n.A(), nullptr);
    if (ok)
        return true;
    // Made meanwhile by someone else: the folder is there, as asked.
    if (GetLastError() == ERROR_ALREADY_EXISTS && IsDirectory(full))
        return true;
    return false;
}

} // namespace

bool DirEntry::MakeDir(bool withParents) const
{
    SString full = ImpFullNoSep();
    if (!m_bValid || RefuseName(full))
        return false;
    DWORD a = Attributes(full);
    if (a != INVALID_FILE_ATTRIBUTES) {
        if (a & FILE_ATTRIBUTE_DIRECTORY)
            return true;
        SetLastError(ERROR_ALREADY_EXISTS);
        return false;
    }
    if (withParents) {
        // Walk up to the first folder that exists, then make the rest top-down;
        // a loop rather than recursion, since a long path has many levels.
        std::vector<SString> missing;
        SString cur = full;
        for (;;) {
            DirEntry up(cur);
            up.CutName();
            if (!up.IsValid() || up.IsRoot() || (up.m_aPath.IsEmpty() && !up.HasName()))
                break;
            SString parent = up.ImpFullNoSep();
            if (parent.Len() >= cur.Len())
                break;
            DWORD pa = Attributes(parent);
            if (pa != INVALID_FILE_ATTRIBUTES) {
                if (!(pa & FILE_ATTRIBUTE_DIRECTORY)) {
                    SetLastError(ERROR_DIRECTORY);
                    return false;
                }
                break;
            }
            missing.push_back(parent);
            cur = parent;
        }
        for (auto it = missing.rbegin(); it != missing.rend(); ++it)
            if (!CreateOneDir(*it))
                return false;
    }
    return CreateOneDir(full);
}

bool DirEntry::MoveTo(DirEntry const &target) const
{
    SString from = ImpFullNoSep(), to = target.ImpFullNoSep();
    if (!m_bValid || !target.m_bValid || RefuseName(from) || RefuseName(to))
        return false;
    return MoveName(from, to, MOVEFILE_COPY_ALLOWED | MOVEFILE_WRITE_THROUGH);
}

bool DirEntry::MoveToSave(DirEntry const &target) const
{
    SString from = ImpFullNoSep(), to = target.ImpFullNoSep();
    if (!m_bValid || !target.m_bValid || RefuseName(from) || RefuseName(to))
        return false;
    if (Attributes(from) == INVALID_FILE_ATTRIBUTES)
        return false;
    if (FoldCompare(from, to) == 0)
        return true;
    DWORD ta = Attributes(to);
    if (ta == INVALID_FILE_ATTRIBUTES)
        return MoveName(from, to, MOVEFILE_COPY_ALLOWED | MOVEFILE_WRITE_THROUGH);
    if (ta & FILE_ATTRIBUTE_DIRECTORY) {
        SetLastError(ERROR_ALREADY_EXISTS);
        return false;
    }
    DirEntry aside = DirEntry(to).TempName();
    if (!aside.IsValid())
        return false;
    SString asideName = aside.GetFull();
    if (!MoveName(to, asideName, 0))
        return false;
    if (!MoveName(from, to, MOVEFILE_COPY_ALLOWED | MOVEFILE_WRITE_THROUGH)) {
        KeepError keep;
        MoveName(asideName, to, 0);
        return false;
    }
    // A set-aside copy that cannot be removed is left behind rather than
    // turning a finished move into a failure.
    DeleteName(asideName);
    return true;
}

bool DirEntry::CopyTo(DirEntry const &target, bool replace) const
{
    SString from = ImpFullNoSep(), to = target.ImpFullNoSep();
    if (!m_bValid || !target.m_bValid || RefuseName(from) || RefuseName(to))
        return false;
    DWORD fa = Attributes(from);
    if (fa == INVALID_FILE_ATTRIBUTES)
        return false;
    if (fa & FILE_ATTRIBUTE_DIRECTORY) {
        SetLastError(ERROR_ACCESS_DENIED);
        return false;
    }
    DWORD ta = Attributes(to);
    if (ta == INVALID_FILE_ATTRIBUTES || !replace) {
        if (CopyName(from, to))
            return true;
        return false;
    }
    if (ta & FILE_ATTRIBUTE_DIRECTORY) {
        SetLastError(ERROR_ALREADY_EXISTS);
        return false;
    }
    // The copy lands beside the target under a free name and replaces it only
    // once complete, so a failure at any point leaves the old target whole.
    DirEntry fresh = DirEntry(to).TempName();
    if (!fresh.IsValid())
        return false;
    SString freshName = fresh.GetFull();
    if (!CopyName(from, freshName)) {
        KeepError keep;
        DeleteName(freshName);
        return false;
    }
    if (!MoveName(freshName, to, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        KeepError keep;
        DeleteName(freshName);
        return false;
    }
    return true;
}

DirEntry DirEntry::TempName() const
{
    static std::atomic<unsigned> s_nSeed{0};
    unsigned seed = s_nSeed.load();
    if (!seed) {
        unsigned start = (GetTickCount() * 2654435761u) ^ (GetCurrentProcessId() << 16) ^ 1u;
        s_nSeed.compare_exchange_strong(seed, start);
    }

    bool const utf8 = IsUTF8();
    SString folder, prefix("ks"), ext("tmp");
    if (!m_bValid) {
        folder = TempFolder(utf8);
        if (folder.IsEmpty())
            return DirEntry();
    } else if (!HasName() || IsDirectory(ImpFullNoSep())) {
        folder = GetFull(true);
    } else {
        folder = m_aDevice + m_aPath;
        if (!folder.IsEmpty() && !IsSep(folder.Back()))
            folder += '\\';
        if (!m_aBase.IsEmpty())
            prefix = m_aBase;
        if (!m_aExt.IsEmpty())
            ext = m_aExt;
    }
    if (HasWildcard(folder + prefix + ext))
        return DirEntry();

    for (int attempt = 0; attempt < 1000; ++attempt) {
        unsigned v = s_nSeed.fetch_add(0x9E3779B9u) * 2246822519u;
        SString candidate = folder + prefix + SString::F("%08x", v) + '.' + ext;
        DWORD a = Attributes(candidate);
        if (a != INVALID_FILE_ATTRIBUTES)
            continue;
        DWORD err = GetLastError();
        if (err == ERROR_FILE_NOT_FOUND)
            return DirEntry(candidate);
        if (err == ERROR_PATH_NOT_FOUND || err == ERROR_INVALID_NAME || err == ERROR_INVALID_DRIVE)
            return DirEntry();
    }
    return DirEntry();
}

DirEntry DirEntry::UTF8ToAnsi() const
{
    if (!IsUTF8())
        return *this;
    DirEntry r;
    r.ImpParse(GetFull().UTF8ToAnsi(), 0);
    return r;
}
