// Dir: listings filtered by kind and pattern, every sort key in both orders,
// the tie rule (entries equal under all keys: latest found first), re-sorting
// and merging, unreadable folders, UTF-8 and long folder names, and a random
// differential run against a plain model of the ordering.
#include "base/Dir.h"
#include "tests/base/ScratchFolder.h"
#include "tests/support/LeakCounters.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

using fstest::Scratch;
using fstest::WriteAll;

namespace {

SString S(std::string const &s) { return SString(s.c_str()); }

std::vector<std::string> Names(Dir const &d)
{
    std::vector<std::string> r;
    for (unsigned long i = 0; i < d.Count(); ++i)
        r.emplace_back(d[i].GetName().GetStr());
    return r;
}

using V = std::vector<std::string>;

bool SetModified(std::string const &path, int minute)
{
    SYSTEMTIME st = {};
    st.wYear = 2022;
    st.wMonth = 6;
    st.wDay = 1;
    st.wHour = 12;
    st.wMinute = WORD(minute);
    FILETIME ft;
    SystemTimeToFileTime(&st, &ft);
    HANDLE h = CreateFileW(fstest::Wide(path).c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE,
                           nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return false;
    BOOL ok = SetFileTime(h, nullptr, nullptr, &ft);
    CloseHandle(h);
    return ok != 0;
}

// b, a, c (files, written in that order), sub (folder).
class DirListing : public ::testing::Test
{
protected:
    DirListing() : t("dir")
    {
        WriteAll(t / "b.txt", "bb");
        WriteAll(t / "a.doc", "a");
        WriteAll(t / "c.txt", "cccc");
        fstest::MakeFolder(t / "sub");
        SetModified(t / "b.txt", 30);
        SetModified(t / "a.doc", 10);
        SetModified(t / "c.txt", 20);
        SetModified(t / "sub", 5);
    }
    Scratch t;
};

TEST_F(DirListing, KindsAndFullNames)
{
    Dir all(DirEntry(S(t.Path())), FileKindAll);
    V names = Names(all);
    std::sort(names.begin(), names.end());
    EXPECT_EQ((V{"a.doc", "b.txt", "c.txt", "sub"}), names) << "no '.' or '..'";
    Dir zero(DirEntry(S(t.Path())), 0);
    EXPECT_EQ(4ul, zero.Count()) << "0 lists every kind";
    EXPECT_EQ(3ul, Dir(DirEntry(S(t.Path())), FileKindFile).Count());
    Dir dirs(DirEntry(S(t.Path() + "\\")), FileKindDir);
    ASSERT_EQ(1ul, dirs.Count());
    EXPECT_EQ("sub", std::string(dirs[0].GetName().GetStr()));
    // Each entry names its file in full.
    for (unsigned long i = 0; i < all.Count(); ++i) {
        EXPECT_TRUE(all[i].Exists()) << all[i].GetFull().GetStr();
        EXPECT_EQ(S(t.Path() + "\\"), all[i].GetDevice() + all[i].GetPath());
        EXPECT_TRUE(all[i].IsAbsolute());
    }
    EXPECT_FALSE(all[4].IsValid());
    EXPECT_FALSE(all[0xFFFFFFFFul].IsValid());
    all[99].ChangeName(SString("dirty"));
    EXPECT_FALSE(all[99].IsValid()) << "out of range always gives a fresh empty entry";
}

TEST_F(DirListing, SortKeysBothWays)
{
    DirEntry d(S(t.Path()));
    EXPECT_EQ((V{"a.doc", "b.txt", "c.txt", "sub"}), Names(Dir(d, FileKindAll, DirSortName, DirSortEnd)));
    EXPECT_EQ((V{"sub", "c.txt", "b.txt", "a.doc"}),
              Names(Dir(d, FileKindAll, DirSortName | DirSortDescending, DirSortEnd)));
    EXPECT_EQ((V{"b.txt", "c.txt", "a.doc", "sub"}),
              Names(Dir(d, FileKindAll, DirSortModified | DirSortDescending, DirSortEnd)))
        << "most recently changed first";
    EXPECT_EQ((V{"sub", "a.doc", "c.txt", "b.txt"}), Names(Dir(d, FileKindAll, DirSortModified, DirSortEnd)));
    EXPECT_EQ((V{"a.doc", "b.txt", "c.txt"}), Names(Dir(d, FileKindFile, DirSortSize | DirSortAscending, DirSortEnd)));
    EXPECT_EQ((V{"c.txt", "b.txt", "a.doc"}), Names(Dir(d, FileKindFile, DirSortSize | DirSortDescending, DirSortEnd)));
    // Extension first, then name descending among equal extensions.
    EXPECT_EQ((V{"a.doc", "c.txt", "b.txt"}),
              Names(Dir(d, FileKindFile, DirSortExt, DirSortName | DirSortDescending, DirSortEnd)));
    // Folders (kind 2) after files (kind 1), then by name.
    EXPECT_EQ((V{"sub", "a.doc", "b.txt", "c.txt"}),
              Names(Dir(d, FileKindAll, DirSortKind | DirSortDescending, DirSortName, DirSortEnd)));
}

TEST_F(DirListing, TiesListTheLatestFoundFirst)
{
    DirEntry d(S(t.Path()));
    Dir found(d, FileKindFile); // the platform's order, unsorted
    V order = Names(found);
    ASSERT_EQ(3u, order.size());
    std::reverse(order.begin(), order.end());
    Dir tied(d, FileKindFile, DirSortKind, DirSortEnd); // every file ties
    EXPECT_EQ(order, Names(tied));
}

TEST_F(DirListing, PatternsMatchWithoutCase)
{
    WriteAll(t / "UPPER.TXT", "u");
    WriteAll(t / "c.txt.bak", "x");
    V names = Names(Dir(DirEntry(S(t / "*.Txt")), FileKindAll, DirSortName, DirSortEnd));
    EXPECT_EQ((V{"UPPER.TXT", "b.txt", "c.txt"}), names);
    EXPECT_EQ((V{"b.txt", "c.txt"}), Names(Dir(DirEntry(S(t / "?.TXT")), FileKindAll, DirSortName, DirSortEnd)));
    EXPECT_EQ((V{"sub"}), Names(Dir(DirEntry(S(t / "s*")), FileKindAll)));
    EXPECT_EQ(0ul, Dir(DirEntry(S(t / "s*")), FileKindFile).Count());
    Dir none(DirEntry(S(t / "*.xls")), FileKindAll);
    EXPECT_EQ(0ul, none.Count());
    EXPECT_TRUE(none.Update()) << "no match in a folder that is there";
}

TEST_F(DirListing, OneFileAndMissingFolders)
{
    Dir one(DirEntry(S(t / "c.txt")), FileKindAll);
    ASSERT_EQ(1ul, one.Count());
    EXPECT_EQ("c.txt", std::string(one[0].GetName().GetStr()));
    Dir sub(DirEntry(S(t / "sub")), FileKindAll);
    EXPECT_EQ(0ul, sub.Count()) << "a folder's name lists the folder";
    EXPECT_TRUE(sub.Update());

    Dir missing(DirEntry(S(t / "nofolder")), FileKindAll);
    EXPECT_EQ(0ul, missing.Count());
    EXPECT_FALSE(missing.Update());
    Dir missingPattern(DirEntry(S(t / "nofolder\\*.txt")), FileKindAll);
    EXPECT_FALSE(missingPattern.Update());
    EXPECT_EQ(0ul, missingPattern.Count());
    Dir underFile(DirEntry(S(t / "c.txt\\x")), FileKindAll);
    EXPECT_FALSE(underFile.Update());

    // A listing that was full empties when its folder goes away.
    Dir later(DirEntry(S(t / "sub")), FileKindAll);
    WriteAll(t / "sub\\x", "x");
    ASSERT_TRUE(later.Update());
    EXPECT_EQ(1ul, later.Count());
    DeleteFileA((t / "sub\\x").c_str());
    RemoveDirectoryA((t / "sub").c_str());
    EXPECT_FALSE(later.Update());
    EXPECT_EQ(0ul, later.Count());
}

TEST_F(DirListing, SetSortReordersAndRejectsBadKeys)
{
    Dir d(DirEntry(S(t.Path())), FileKindFile, DirSortName, DirSortEnd);
    EXPECT_EQ(FSysErrNone, d.SetSort(DirSortName | DirSortDescending, DirSortEnd));
    EXPECT_EQ((V{"c.txt", "b.txt", "a.doc"}), Names(d));
    // Needs status the listing does not hold yet: listed again with it.
    EXPECT_EQ(FSysErrNone, d.SetSort(DirSortModified | DirSortDescending, DirSortEnd));
    EXPECT_EQ((V{"b.txt", "c.txt", "a.doc"}), Names(d));
    EXPECT_EQ(FSysErrNone, d.SetSort(DirSortSize, DirSortEnd));
    EXPECT_EQ((V{"a.doc", "b.txt", "c.txt"}), Names(d));

    for (int bad : {3, 512, DirSortName | DirSortAscending | DirSortDescending, 0x400 | DirSortName}) {
        EXPECT_EQ(FSysErrBadArgument, d.SetSort(bad, DirSortEnd)) << bad;
        EXPECT_EQ(FSysErrBadArgument, d.SetSort(DirSortName, bad, DirSortEnd)) << bad;
        EXPECT_EQ((V{"a.doc", "b.txt", "c.txt"}), Names(d)) << "a refused sort changes nothing";
    }
    EXPECT_EQ(FSysErrNone, d.SetSort(DirSortEnd));
    EXPECT_EQ(3ul, d.Count());
    Dir unlisted;
    EXPECT_EQ(FSysErrNone, unlisted.SetSort(DirSortModified, DirSortEnd));
    EXPECT_EQ(0ul, unlisted.Count());
}

TEST_F(DirListing, MergeCopyAndAssign)
{
    Scratch other("dir2");
    WriteAll(other / "ab.txt", "x");
    WriteAll(other / "zz.txt", "x");
    Dir d(DirEntry(S(t.Path())), FileKindFile, DirSortName, DirSortEnd);
    d += Dir(DirEntry(S(other.Path())), FileKindFile);
    V const merged{"a.doc", "ab.txt", "b.txt", "c.txt", "zz.txt"};
    EXPECT_EQ(merged, Names(d));
    EXPECT_TRUE(d[1].Exists()) << "merged entries keep their own folder";

    Dir copy(d);
    d += d; // with itself: every entry twice
    EXPECT_EQ(10ul, d.Count());
    EXPECT_EQ(merged, Names(copy));
    copy = d;
    d = Dir();
    EXPECT_EQ(0ul, d.Count());
    EXPECT_EQ(10ul, copy.Count());

    // A status key on the merging side: the added entries get their status.
    Dir bySize(DirEntry(S(other.Path())), FileKindFile, DirSortSize | DirSortDescending, DirSortName, DirSortEnd);
    bySize += Dir(DirEntry(S(t.Path())), FileKindFile);
    EXPECT_EQ((V{"c.txt", "b.txt", "a.doc", "ab.txt", "zz.txt"}), Names(bySize));
}

TEST(Dir, UTF8AndLongFolders)
{
    Scratch t("dirnames");
    std::string const u = t / "\xCE\xB1\xCE\xB2";
    ASSERT_TRUE(fstest::MakeFolder(u));
    ASSERT_TRUE(WriteAll(u + "\\\xE2\x98\x83.txt", "s"));
    ASSERT_TRUE(WriteAll(u + "\\plain.txt", "p"));
    Dir d(DirEntry(S(u)), FileKindAll, DirSortName, DirSortEnd);
    ASSERT_EQ(2ul, d.Count());
    EXPECT_EQ("plain.txt", std::string(d[0].GetName().GetStr()));
    EXPECT_EQ("\xE2\x98\x83.txt", std::string(d[1].GetName().GetStr()));
    EXPECT_TRUE(d[1].GetName().IsUTF8());
    EXPECT_TRUE(d[1].IsExistingFile());
    EXPECT_EQ("txt", std::string(d[1].GetExtension().GetStr()));
    EXPECT_EQ(1ul, Dir(DirEntry(S(u + "\\\xE2\x98\x83*")), FileKindAll).Count());

    std::string deep = t.Path();
    for (int i = 0; i < 4; ++i) {
        deep += "\\" + std::string(70, char('a' + i));
        ASSERT_TRUE(fstest::MakeFolder(deep));
    }
    for (char const *n : {"x2", "x1", "y"})
        ASSERT_TRUE(WriteAll(deep + "\\" + n, n));
    EXPECT_EQ((V{"x1", "x2"}), Names(Dir(DirEntry(S(deep + "\\x*")), FileKindAll, DirSortName, DirSortEnd)));
    Dir longDir(DirEntry(S(deep)), FileKindAll, DirSortName | DirSortDescending, DirSortEnd);
    ASSERT_EQ(3ul, longDir.Count());
    EXPECT_EQ("y", std::string(longDir[0].GetName().GetStr()));
    EXPECT_TRUE(longDir[0].Exists());
}

// Random names, sizes and times in one folder, listed under random key lists;
// the model orders the platform's own found order with std::stable_sort,
// reversed first so that ties come out latest found first.
TEST(Dir, RandomSortsAgainstAModel)
{
    Scratch t("dirrandom");
    std::mt19937 rng(11);
    struct Info
    {
        std::string name, ext;
        unsigned size;
        int minute;
    };
    std::vector<Info> files;
    for (int i = 0; i < 120; ++i) {
        Info f;
        f.ext = std::string(1, char('a' + rng() % 3));
        char buf[32];
        std::snprintf(buf, sizeof buf, "f%u_%d.%s", unsigned(rng() % 1000), i, f.ext.c_str());
        f.name = buf;
        f.size = rng() % 4;
        f.minute = int(rng() % 5);
        ASSERT_TRUE(WriteAll(t / f.name, std::string(f.size, 'x')));
        ASSERT_TRUE(SetModified(t / f.name, f.minute));
        files.push_back(f);
    }
    auto find = [&](std::string const &n) -> Info const & {
        return *std::find_if(files.begin(), files.end(), [&](Info const &f) { return f.name == n; });
    };
    int const keys[] = {DirSortSize, DirSortModified, DirSortExt, DirSortName};
    DirEntry folder(S(t.Path()));
    V found = Names(Dir(folder, FileKindAll));
    ASSERT_EQ(files.size(), found.size());
    for (int round = 0; round < 40; ++round) {
        int order[3];
        int n = 1 + int(rng() % 3);
        for (int k = 0; k < n; ++k)
            order[k] = keys[rng() % 4] | (rng() % 2 ? DirSortDescending : 0);
        Dir d;
        if (n == 1)
            d = Dir(folder, FileKindAll, order[0], DirSortEnd);
        else if (n == 2)
            d = Dir(folder, FileKindAll, order[0], order[1], DirSortEnd);
        else
            d = Dir(folder, FileKindAll, order[0], order[1], order[2], DirSortEnd);

        V model(found.rbegin(), found.rend());
        std::stable_sort(model.begin(), model.end(), [&](std::string const &x, std::string const &y) {
            Info const &a = find(x), &b = find(y);
            for (int k = 0; k < n; ++k) {
                int key = order[k] & ~DirSortDescending;
                int c = key == DirSortSize       ? (a.size > b.size) - (a.size < b.size)
                        : key == DirSortModified ? (a.minute > b.minute) - (a.minute < b.minute)
                        : key == DirSortExt      ? a.ext.compare(b.ext)
                                                 : a.name.compare(b.name);
                c = c < 0 ? -1 : (c > 0 ? 1 : 0);
                if (order[k] & DirSortDescending)
                    c = -c;
                if (c)
                    return c < 0;
            }
            return false;
        });
        ASSERT_EQ(model, Names(d)) << "round " << round << " keys " << n;

        // The same order built by inserting entries one at a time.
        Dir merged;
        if (n == 1)
            merged.SetSort(order[0], DirSortEnd);
        else if (n == 2)
            merged.SetSort(order[0], order[1], DirSortEnd);
        else
            merged.SetSort(order[0], order[1], order[2], DirSortEnd);
        merged += Dir(folder, FileKindAll);
        ASSERT_EQ(model, Names(merged)) << "round " << round << " merged";
    }
}

TEST(Dir, NoHeapGrowthOverRepeatedListings)
{
    Scratch t("dirleak");
    for (int i = 0; i < 30; ++i) {
        char buf[16];
        std::snprintf(buf, sizeof buf, "f%d.txt", i);
        WriteAll(t / buf, "x");
    }
    auto round = [&] {
        Dir d(DirEntry(S(t.Path())), FileKindAll, DirSortModified | DirSortDescending, DirSortName, DirSortEnd);
        Dir e(DirEntry(S(t / "f1*")), FileKindAll);
        d += e;
        Dir c(d);
        c = e;
        d.SetSort(DirSortName, DirSortEnd);
        d.Update();
    };
    for (int i = 0; i < 10; ++i)
        round();
    auto before = kstest::CurrentHeapUsage();
    for (int i = 0; i < 100; ++i)
        round();
    auto after = kstest::CurrentHeapUsage();
    EXPECT_LE(after.blocks, before.blocks + 20);
}

} // namespace
