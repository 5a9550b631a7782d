#pragma once
// Test helpers for the file-system tests: a fresh folder under the user's
// temporary folder, removed with everything in it at the end, and file access
// through the platform's wide calls, independent of the classes under test.
// Paths are UTF-8 std::strings.
#include <windows.h>

#include <string>

namespace fstest {

inline std::wstring Wide(std::string const &u8)
{
    int n = MultiByteToWideChar(CP_UTF8, 0, u8.data(), int(u8.size()), nullptr, 0);
    std::wstring w(std::size_t(n > 0 ? n : 0), L'\0');
    if (n > 0)
        MultiByteToWideChar(CP_UTF8, 0, u8.data(), int(u8.size()), w.data(), n);
    for (wchar_t &c : w)
        if (c == L'/')
            c = L'\\';
    return w.size() >= 240 ? L"\\\\?\\" + w : w;
}

inline bool Present(std::string const &path) { return GetFileAttributesW(Wide(path).c_str()) != INVALID_FILE_ATTRIBUTES; }

inline bool IsFolder(std::string const &path)
{
    DWORD a = GetFileAttributesW(Wide(path).c_str());
    return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

inline bool WriteAll(std::string const &path, std::string const &data)
{
    HANDLE h = CreateFileW(Wide(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return false;
    DWORD done = 0;
    BOOL ok = WriteFile(h, data.data(), DWORD(data.size()), &done, nullptr);
    CloseHandle(h);
    return ok && done == data.size();
}

// The content, or "<missing>" when the file cannot be read.
inline std::string ReadAll(std::string const &path)
{
    HANDLE h = CreateFileW(Wide(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                           nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return "<missing>";
    std::string out;
    char buf[4096];
    DWORD got = 0;
    while (ReadFile(h, buf, sizeof buf, &got, nullptr) && got)
        out.append(buf, got);
    CloseHandle(h);
    return out;
}

inline bool MakeFolder(std::string const &path) { return CreateDirectoryW(Wide(path).c_str(), nullptr) != 0; }

// Names in a folder, without "." and "..".
inline int CountIn(std::string const &folder)
{
    WIN32_FIND_DATAW fd;
    HANDLE h = FindFirstFileW(Wide(folder + "\\*").c_str(), &fd);
    if (h == INVALID_HANDLE_VALUE)
        return -1;
    int n = 0;
    do {
        if (wcscmp(fd.cFileName, L".") && wcscmp(fd.cFileName, L".."))
            ++n;
    } while (FindNextFileW(h, &fd));
    FindClose(h);
    return n;
}

inline void RemoveTree(std::wstring const &dir)
{
    WIN32_FIND_DATAW fd;
    HANDLE h = FindFirstFileW((dir + L"\\*").c_str(), &fd);
    if (h != INVALID_HANDLE_VALUE) {
        do {
            if (!wcscmp(fd.cFileName, L".") || !wcscmp(fd.cFileName, L".."))
                continue;
            std::wstring p = dir + L"\\" + fd.cFileName;
            SetFileAttributesW(p.c_str(), FILE_ATTRIBUTE_NORMAL);
            if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                RemoveTree(p);
            else
                DeleteFileW(p.c_str());
        } while (FindNextFileW(h, &fd));
        FindClose(h);
    }
    RemoveDirectoryW(dir.c_str());
}

// A new folder for one test; Path() has no trailing separator.
class Scratch
{
public:
    explicit Scratch(char const *tag)
    {
        static unsigned s_nCount = 0;
        char tmp[MAX_PATH + 1];
        GetTempPathA(MAX_PATH + 1, tmp);
        char name[96];
        wsprintfA(name, "ks-%s-%lu-%lu-%u", tag, GetCurrentProcessId(), GetTickCount(), ++s_nCount);
        m_aPath = std::string(tmp) + name;
        CreateDirectoryA(m_aPath.c_str(), nullptr);
    }
    ~Scratch() { RemoveTree(L"\\\\?\\" + Wide(m_aPath)); }
    Scratch(Scratch const &) = delete;
    Scratch &operator=(Scratch const &) = delete;

    std::string const &Path() const { return m_aPath; }
    std::string operator/(std::string const &name) const { return m_aPath + "\\" + name; }

private:
    std::string m_aPath;
};

// Holds a file or folder open without sharing, as another program might.
class Hold
{
public:
    explicit Hold(std::string const &path)
        : m_hFile(CreateFileW(Wide(path).c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                              FILE_FLAG_BACKUP_SEMANTICS, nullptr))
    {
    }
    ~Hold()
    {
        if (m_hFile != INVALID_HANDLE_VALUE)
            CloseHandle(m_hFile);
    }
    Hold(Hold const &) = delete;
    Hold &operator=(Hold const &) = delete;
    bool Held() const { return m_hFile != INVALID_HANDLE_VALUE; }

private:
    HANDLE m_hFile;
};

} // namespace fstest
