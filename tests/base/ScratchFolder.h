#pragma once
// Test helpers for the file-system tests: a fresh folder under the temporary
// folder, removed with its contents at the end, and file access through the
// platform's wide calls, independent of the classes under test. Paths are UTF-8.
#include "text/SString.h"

#include <windows.h>

#include <functional>
#include <string>

namespace fstest {

inline std::wstring Wide(std::string const &u8)
{
    std::wstring w(u8.size(), L'\0'); // UTF-16 never needs more units than UTF-8 has bytes
    w.resize(std::size_t(MultiByteToWideChar(CP_UTF8, 0, u8.data(), int(u8.size()), w.data(), int(w.size()))));
    for (wchar_t &c : w)
        c = c == L'/' ? L'\\' : c;
    return w.size() >= 240 ? L"\\\\?\\" + w : w;
}

inline DWORD Attributes(std::string const &path) { return GetFileAttributesW(Wide(path).c_str()); }
inline bool Present(std::string const &path) { return Attributes(path) != INVALID_FILE_ATTRIBUTES; }
inline bool IsFolder(std::string const &path) { return Present(path) && (Attributes(path) & FILE_ATTRIBUTE_DIRECTORY); }
inline bool MakeFolder(std::string const &path) { return CreateDirectoryW(Wide(path).c_str(), nullptr) != 0; }
inline SString S(std::string const &path) { return SString(path.c_str()); } // for the classes under test

// Owns a file handle; the share mode 0 holds the file as another program might.
struct Hold
{
    HANDLE h;
    explicit Hold(std::string const &path, DWORD access = GENERIC_READ | GENERIC_WRITE, DWORD share = 0,
                  DWORD create = OPEN_EXISTING)
        : h(CreateFileW(Wide(path).c_str(), access, share, nullptr, create, FILE_FLAG_BACKUP_SEMANTICS, nullptr))
    {
    }
    ~Hold()
    {
        if (Held())
            CloseHandle(h);
    }
    Hold(Hold const &) = delete;
    Hold &operator=(Hold const &) = delete;
    bool Held() const { return h != INVALID_HANDLE_VALUE; }
};

inline bool WriteAll(std::string const &path, std::string const &data)
{
    Hold f(path, GENERIC_WRITE, 0, CREATE_ALWAYS);
    DWORD done = 0;
    return f.Held() && WriteFile(f.h, data.data(), DWORD(data.size()), &done, nullptr) && done == data.size();
}

inline FILETIME Utc(WORD y, WORD mo, WORD d, WORD h, WORD mi, WORD s = 0, WORD ms = 0)
{
    SYSTEMTIME st = {y, mo, 0, d, h, mi, s, ms};
    FILETIME ft = {};
    SystemTimeToFileTime(&st, &ft);
    return ft;
}

// Sets the modification time of a file or folder, and the access time when given.
inline bool SetTimes(std::string const &path, FILETIME const &modified, FILETIME const *accessed = nullptr)
{
    Hold f(path, FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE);
    return f.Held() && SetFileTime(f.h, nullptr, accessed, &modified);
}

// The content, or "<missing>" when the file cannot be read.
inline std::string ReadAll(std::string const &path)
{
    Hold f(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE);
    if (!f.Held())
        return "<missing>";
    std::string out;
    char buf[4096];
    for (DWORD got = 0; ReadFile(f.h, buf, sizeof buf, &got, nullptr) && got;)
        out.append(buf, got);
    return out;
}

// Calls fn for each name in a folder but "." and ".."; the number of names, or -1.
inline int ForEachIn(std::wstring const &dir, std::function<void(WIN32_FIND_DATAW const &)> const &fn)
{
    WIN32_FIND_DATAW fd;
    HANDLE h = FindFirstFileW((dir + L"\\*").c_str(), &fd);
    if (h == INVALID_HANDLE_VALUE)
        return -1;
    int n = 0;
    do {
        if (wcscmp(fd.cFileName, L".") && wcscmp(fd.cFileName, L".."))
            ++n, fn(fd);
    } while (FindNextFileW(h, &fd));
    FindClose(h);
    return n;
}

inline int CountIn(std::string const &folder) { return ForEachIn(Wide(folder), [](auto const &) {}); }

inline void RemoveTree(std::wstring const &dir)
{
    ForEachIn(dir, [&](WIN32_FIND_DATAW const &fd) {
        std::wstring p = dir + L"\\" + fd.cFileName;
        SetFileAttributesW(p.c_str(), FILE_ATTRIBUTE_NORMAL);
        (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) ? RemoveTree(p) : void(DeleteFileW(p.c_str()));
    });
    RemoveDirectoryW(dir.c_str());
}

// A new folder for one test; Path() has no trailing separator.
class Scratch
{
public:
    explicit Scratch(char const *tag)
    {
        static unsigned s_nCount = 0;
        char tmp[MAX_PATH + 1], name[96];
        GetTempPathA(MAX_PATH + 1, tmp);
        wsprintfA(name, "ks-%s-%lu-%lu-%u", tag, GetCurrentProcessId(), GetTickCount(), ++s_nCount);
        CreateDirectoryA((m_aPath = std::string(tmp) + name).c_str(), nullptr);
    }
    ~Scratch() { RemoveTree(L"\\\\?\\" + Wide(m_aPath)); }
    Scratch(Scratch const &) = delete;
    Scratch &operator=(Scratch const &) = delete;
    std::string const &Path() const { return m_aPath; }
    std::string operator/(std::string const &name) const { return m_aPath + "\\" + name; }

private:
    std::string m_aPath;
};

} // namespace fstest
