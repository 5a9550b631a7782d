#include "base/Config.h"
#include "mfc/AfxWin.h"
#include "text/UString.h"

#include <string>
#include <vector>
#include <windows.h>

struct ConfigRecord
{
    SString aPathName;
    SString aGroup;
    UString aWPathName;
    UString aWGroup;
    // Key names of the current group, each NUL-terminated, an empty name
    // last; read on demand.
    std::vector<char> aKeyList;
    std::vector<wchar_t> aWKeyList;
    bool bKeyListRead = false;

    bool Wide() const { return aPathName.IsUTF8(); }
};

namespace {

UString Utf16(SString const &s)
{
    UString w;
    w.SetUTF8(s);
    return w;
}

// Values cross the wide calls byte for byte: one UTF-16 unit per byte.
std::wstring BytesToUnits(SString const &s)
{
    std::wstring w;
    w.reserve(static_cast<std::size_t>(s.Len()));
    for (int i = 0; i < s.Len(); ++i)
        w.push_back(static_cast<wchar_t>(static_cast<unsigned char>(s.GetStr()[i])));
    return w;
}

SString UnitsToBytes(wchar_t const *w, std::size_t n)
{
    std::string bytes(n, '\0');
    for (std::size_t i = 0; i < n; ++i)
        bytes[i] = static_cast<char>(w[i] & 0xFF);
    return SString(bytes.c_str(), 0, static_cast<unsigned int>(n), true);
}

// Asks with 1,024 characters, then 3,072, then 2,048 more each time, until
// the answer is shorter than the buffer minus 2.
template <class Char, class Ask> std::vector<Char> ReadGrowing(Ask ask)
{
    std::vector<Char> buf(1024);
    for (;;) {
        DWORD n = ask(buf.data(), static_cast<DWORD>(buf.size()));
        if (n < buf.size() - 2) {
            buf.resize(n);
            return buf;
        }
        buf.assign(buf.size() == 1024 ? 3072 : buf.size() + 2048, Char(0));
    }
}

template <class Char, class Ask> std::vector<Char> ReadKeyNames(Ask ask)
{
    std::vector<Char> buf(4096);
    for (;;) {
        DWORD n = ask(buf.data(), static_cast<DWORD>(buf.size()));
        if (n < buf.size() - 2) {
            buf.resize(n ? n + 1 : 0); // the names and the final empty one
            return buf;
        }
        buf.assign(buf.size() + 2048, Char(0));
    }
}

template <class Char> int CountNames(std::vector<Char> const &list)
{
    int count = 0;
    for (std::size_t i = 0; i < list.size() && list[i]; ++count)
        while (i < list.size() && list[i++])
            ;
    return count;
}

template <class Char> Char const *NameAt(std::vector<Char> const &list, unsigned index)
{
    std::size_t i = 0;
    for (unsigned k = 0; k < index; ++k) {
        if (i >= list.size() || !list[i])
            return nullptr;
        while (i < list.size() && list[i++])
            ;
    }
    return i < list.size() && list[i] ? &list[i] : nullptr;
}

// The profile service keeps a file in the encoding it finds. A new file
// would be written in the ANSI code page, where the byte values 0x80 to 0x9F
// of a UTF-8 value (passed as units of the same value) have no character
// and come back as '?': a wide-mode file is therefore started as UTF-16.
void StartUnicodeFile(wchar_t const *path)
{
    if (GetFileAttributesW(path) != INVALID_FILE_ATTRIBUTES)
        return;
    HANDLE h = CreateFileW(path, GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return; // the write that follows fails the same way, and says nothing
    unsigned char const bom[2] = {0xFF, 0xFE};
    DWORD written = 0;
    WriteFile(h, bom, sizeof bom, &written, nullptr);
    CloseHandle(h);
}

SString FlaggedIfUTF8(SString s)
{
    if (s.MayBeUTF8())
        s.SetIsUTF8();
    return s;
}

} // namespace

Config::Config() : m_pRecord(new ConfigRecord)
{
    char module[MAX_PATH] = "";
    GetModuleFileNameA(nullptr, module, MAX_PATH);
    std::string name(module);
    auto slash = name.find_last_of("\\/");
    if (slash != std::string::npos)
        name.erase(0, slash + 1);
    if (name.size() >= 3)
        name.replace(name.size() - 3, 3, "ini");
    char windows[MAX_PATH] = "";
    GetWindowsDirectoryA(windows, MAX_PATH);
    std::string path(windows);
    if (path.empty() || path.back() != '\\')
        path += '\\';
    m_pRecord->aPathName = SString((path + name).c_str());
}

Config::Config(SString const &rPathName) : m_pRecord(new ConfigRecord)
{
    m_pRecord->aPathName = rPathName;
    if (rPathName.IsUTF8())
        m_pRecord->aWPathName = Utf16(rPathName);
}

Config::Config(Config const &rConfig) : m_pRecord(new ConfigRecord)
{
    m_pRecord->aPathName = rConfig.m_pRecord->aPathName;
    m_pRecord->aGroup = rConfig.m_pRecord->aGroup;
    m_pRecord->aWPathName = rConfig.m_pRecord->aWPathName;
    m_pRecord->aWGroup = rConfig.m_pRecord->aWGroup;
}

Config &Config::operator=(Config const &rConfig)
{
    if (this == &rConfig)
        return *this;
    DeleteGroupBuf();
    m_pRecord->aPathName = rConfig.m_pRecord->aPathName;
    m_pRecord->aGroup = rConfig.m_pRecord->aGroup;
    m_pRecord->aWPathName = rConfig.m_pRecord->aWPathName;
    m_pRecord->aWGroup = rConfig.m_pRecord->aWGroup;
    return *this;
}

Config::~Config()
{
    DeleteGroupBuf();
    delete m_pRecord;
}

int Config::operator==(Config const &rConfig) const
{
    return m_pRecord->aPathName == rConfig.m_pRecord->aPathName && m_pRecord->aGroup == rConfig.m_pRecord->aGroup;
}

SString Config::GetPathName() const
{
    return m_pRecord->aPathName;
}

SString Config::GetGroup() const
{
    return m_pRecord->aGroup;
}

void Config::SetGroup(SString const &rGroup)
{
    DeleteGroupBuf();
    m_pRecord->aGroup = rGroup;
    if (m_pRecord->Wide())
        m_pRecord->aWGroup = Utf16(rGroup);
}

void Config::DeleteGroupBuf() const
{
    m_pRecord->aKeyList.clear();
    m_pRecord->aWKeyList.clear();
    m_pRecord->bKeyListRead = false;
}

SString Config::ReadKey(SString const &rKey, SString const &rDefault) const
{
    ConfigRecord &r = *m_pRecord;
    if (r.Wide()) {
        UString const key = Utf16(rKey);
        std::wstring const def = BytesToUnits(rDefault);
        auto buf = ReadGrowing<wchar_t>([&](wchar_t *b, DWORD n) {
            return GetPrivateProfileStringW(r.aWGroup.GetStr(), key.GetStr(), def.c_str(), b, n,
                                            r.aWPathName.GetStr());
        });
        return FlaggedIfUTF8(UnitsToBytes(buf.data(), buf.size()));
    }
    auto buf = ReadGrowing<char>([&](char *b, DWORD n) {
        return GetPrivateProfileStringA(r.aGroup.GetStr(), rKey.GetStr(), rDefault.GetStr(), b, n,
                                        r.aPathName.GetStr());
    });
    return FlaggedIfUTF8(SString(buf.data(), 0, static_cast<unsigned int>(buf.size()), true));
}

SString Config::ReadKey(SString const &rKey) const
{
    return ReadKey(rKey, SString());
}

bool Config::ReadKeyList() const
{
    ConfigRecord &r = *m_pRecord;
    if (r.bKeyListRead)
        return true;
    if (r.Wide())
        r.aWKeyList = ReadKeyNames<wchar_t>([&](wchar_t *b, DWORD n) {
            return GetPrivateProfileStringW(r.aWGroup.GetStr(), nullptr, L"", b, n, r.aWPathName.GetStr());
        });
    else
        r.aKeyList = ReadKeyNames<char>([&](char *b, DWORD n) {
            return GetPrivateProfileStringA(r.aGroup.GetStr(), nullptr, "", b, n, r.aPathName.GetStr());
        });
    r.bKeyListRead = true;
    return true;
}

unsigned short Config::GetKeyCount() const
{
    ReadKeyList();
    ConfigRecord const &r = *m_pRecord;
    return static_cast<unsigned short>(r.Wide() ? CountNames(r.aWKeyList) : CountNames(r.aKeyList));
}

SString Config::GetKeyName(unsigned short nIndex) const
{
    ReadKeyList();
    ConfigRecord const &r = *m_pRecord;
    if (r.Wide()) {
        wchar_t const *name = NameAt(r.aWKeyList, nIndex);
        return name ? UString(name).GetUTF8() : SString();
    }
    char const *name = NameAt(r.aKeyList, nIndex);
    return name ? SString(name) : SString();
}

SString Config::ReadKey(unsigned short nIndex) const
{
    SString name = GetKeyName(nIndex);
    if (!name.Len())
        return SString();
    if (m_pRecord->Wide())
        name.SetIsUTF8();
    return ReadKey(name);
}

void Config::WriteKey(SString const &rKey, SString const &rValue)
{
    DeleteGroupBuf();
    ConfigRecord &r = *m_pRecord;
    if (r.Wide()) {
        UString const key = Utf16(rKey);
        std::wstring const value = BytesToUnits(rValue);
        StartUnicodeFile(r.aWPathName.GetStr());
        WritePrivateProfileStringW(r.aWGroup.GetStr(), key.GetStr(), value.c_str(), r.aWPathName.GetStr());
        return;
    }
    WritePrivateProfileStringA(r.aGroup.GetStr(), rKey.GetStr(), rValue.GetStr(), r.aPathName.GetStr());
}

void Config::DeleteKey(SString const &rKey)
{
    DeleteGroupBuf();
    ConfigRecord &r = *m_pRecord;
    if (r.Wide()) {
        UString const key = Utf16(rKey);
        WritePrivateProfileStringW(r.aWGroup.GetStr(), key.GetStr(), nullptr, r.aWPathName.GetStr());
        return;
    }
    WritePrivateProfileStringA(r.aGroup.GetStr(), rKey.GetStr(), nullptr, r.aPathName.GetStr());
}

void Config::DeleteGroup(SString const &rGroup)
{
    DeleteGroupBuf();
    ConfigRecord &r = *m_pRecord;
    if (r.Wide()) {
        UString const group = Utf16(rGroup);
        WritePrivateProfileStringW(group.GetStr(), nullptr, nullptr, r.aWPathName.GetStr());
        return;
    }
    WritePrivateProfileStringA(rGroup.GetStr(), nullptr, nullptr, r.aPathName.GetStr());
}

void Config::Flush()
{
    ConfigRecord &r = *m_pRecord;
    if (r.Wide())
        WritePrivateProfileStringW(nullptr, nullptr, nullptr, r.aWPathName.GetStr());
    else
        WritePrivateProfileStringA(nullptr, nullptr, nullptr, r.aPathName.GetStr());
}
