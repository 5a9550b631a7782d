// Listing and sorting one folder of 10^4 files: Dir against the platform's
// find-first/find-next loop collecting names (and times) into a vector and
// sorting it with std::sort.
#include "base/Dir.h"
#include "bench/BenchHarness.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

struct Found
{
    std::string name;
    unsigned long long modified;
};

std::vector<Found> RawList(std::string const &folder)
{
    std::vector<Found> out;
    WIN32_FIND_DATAA fd;
    HANDLE h = FindFirstFileA((folder + "\\*").c_str(), &fd);
    if (h == INVALID_HANDLE_VALUE)
        return out;
    do {
        if (!std::strcmp(fd.cFileName, ".") || !std::strcmp(fd.cFileName, ".."))
            continue;
        out.push_back({fd.cFileName, (static_cast<unsigned long long>(fd.ftLastWriteTime.dwHighDateTime) << 32) |
                                         fd.ftLastWriteTime.dwLowDateTime});
    } while (FindNextFileA(h, &fd));
    FindClose(h);
    return out;
}

void RemoveFolder(std::string const &folder)
{
    for (Found const &f : RawList(folder))
        DeleteFileA((folder + "\\" + f.name).c_str());
    RemoveDirectoryA(folder.c_str());
}

} // namespace

int main()
{
    char tmp[MAX_PATH + 1];
    GetTempPathA(MAX_PATH + 1, tmp);
    char name[64];
    std::snprintf(name, sizeof name, "ks-dirbench-%lu", GetCurrentProcessId());
    std::string const folder = std::string(tmp) + name;
    if (!CreateDirectoryA(folder.c_str(), nullptr)) {
        std::printf("DirBench: cannot make %s\n", folder.c_str());
        return 1;
    }
    int const count = 10000;
    for (int i = 0; i < count; ++i) {
        // Names in scrambled order so that neither side finds them sorted.
        char file[32];
        std::snprintf(file, sizeof file, "\\f%05u.%s", unsigned(i * 7919 % count), i % 3 ? "txt" : "dat");
        HANDLE h = CreateFileA((folder + file).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL,
                               nullptr);
        if (h == INVALID_HANDLE_VALUE) {
            std::printf("DirBench: cannot create %s\n", file);
            RemoveFolder(folder);
            return 1;
        }
        FILETIME ft;
        unsigned long long t = 132000000000000000ULL + (unsigned long long)(i * 104729 % count) * 10000000ULL;
        ft.dwLowDateTime = DWORD(t);
        ft.dwHighDateTime = DWORD(t >> 32);
        SetFileTime(h, nullptr, nullptr, &ft);
        CloseHandle(h);
    }

    DirEntry const where{SString(folder.c_str())};
    // Both sides must agree before their times mean anything.
    {
        std::vector<Found> raw = RawList(folder);
        std::sort(raw.begin(), raw.end(), [](Found const &a, Found const &b) { return a.name < b.name; });
        Dir d(where, FileKindAll, DirSortName, DirSortEnd);
        bool same = d.Count() == raw.size();
        for (unsigned long i = 0; same && i < d.Count(); ++i)
            same = raw[i].name == d[i].GetName().GetStr();
        if (!same || raw.size() != std::size_t(count)) {
            std::printf("DirBench: Dir and the raw listing disagree\n");
            RemoveFolder(folder);
            return 1;
        }
    }

    int const rounds = 7;
    std::size_t sink = 0;
    bench::Compare("list 10^4 files, unsorted", "FindFirstFile", rounds,
        [&] { sink += RawList(folder).size(); },
        [&] { sink += Dir(where, FileKindAll).Count(); });
    bench::Compare("list 10^4 files, by name", "FindFirstFile+sort", rounds,
        [&] {
            std::vector<Found> raw = RawList(folder);
            std::sort(raw.begin(), raw.end(), [](Found const &a, Found const &b) { return a.name < b.name; });
            sink += raw.size();
        },
        [&] { sink += Dir(where, FileKindAll, DirSortName, DirSortEnd).Count(); });
    bench::Compare("list 10^4 files, newest first", "FindFirstFile+sort", rounds,
        [&] {
            std::vector<Found> raw = RawList(folder);
            std::sort(raw.begin(), raw.end(), [](Found const &a, Found const &b) { return a.modified > b.modified; });
            sink += raw.size();
        },
        [&] { sink += Dir(where, FileKindAll, DirSortModified | DirSortDescending, DirSortEnd).Count(); });
    bench::Keep(sink);
    RemoveFolder(folder);
    return 0;
}
