// Dir: listings filtered by kind and pattern, sorting and merging, missing
// folders, UTF-8 and long folder names, and a random run against a model.
#include "base/Dir.h"
#include "tests/base/ScratchFolder.h"
#include "tests/support/LeakLoop.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <random>
#include <string>
#include <tuple>
#include <vector>

using namespace fstest;

namespace {

using V = std::vector<std::string>;

V Names(Dir const &d)
{
    V r;
    for (unsigned long i = 0; i < d.Count(); ++i)
        r.emplace_back(d[i].GetName().GetStr());
    return r;
}

// 12:minute on the first of June 2022.
bool SetModified(std::string const &path, int minute) { return SetTimes(path, Utc(2022, 6, 1, 12, WORD(minute))); }

// b, a, c (files, written in that order), sub (folder).
struct DirListing : ::testing::Test
{
    Scratch t{"dir"};
    DirListing()
    {
        for (auto [name, data, minute] : {std::tuple("b.txt", "bb", 30), {"a.doc", "a", 10}, {"c.txt", "cccc", 20}})
            WriteAll(t / name, data), SetModified(t / name, minute);
        MakeFolder(t / "sub");
        SetModified(t / "sub", 5);
    }
};

TEST_F(DirListing, KindsPatternsAndMissingFolders)
{
    Dir all(DirEntry(S(t.Path())), FileKindAll, DirSortName, DirSortEnd);
    EXPECT_EQ((V{"a.doc", "b.txt", "c.txt", "sub"}), Names(all));
    EXPECT_EQ(4ul, Dir(DirEntry(S(t.Path())), 0).Count());
    EXPECT_EQ((V{"sub"}), Names(Dir(DirEntry(S(t.Path() + "\\")), FileKindDir)));
    EXPECT_EQ(S(t.Path() + "\\"), all[1].GetDevice() + all[1].GetPath());
    all[99].ChangeName(SString("dirty"));
    EXPECT_FALSE(all[99].IsValid());

    WriteAll(t / "UPPER.TXT", "u");
    WriteAll(t / "c.txt.bak", "x");
    EXPECT_EQ((V{"UPPER.TXT", "b.txt", "c.txt"}), Names(Dir(DirEntry(S(t / "*.Txt")), FileKindAll, DirSortName, DirSortEnd)));
    EXPECT_EQ(0ul, Dir(DirEntry(S(t / "s*")), FileKindFile).Count());
    Dir none(DirEntry(S(t / "*.xls")), FileKindAll);
    EXPECT_TRUE(none.Update() && none.Count() == 0);
    EXPECT_EQ((V{"c.txt"}), Names(Dir(DirEntry(S(t / "c.txt")), FileKindAll)));

    for (char const *bad : {"nofolder", "nofolder\\*.txt", "c.txt\\x"}) {
        Dir missing(DirEntry(S(t / bad)), FileKindAll);
        EXPECT_FALSE(missing.Update()) << bad;
        EXPECT_EQ(0ul, missing.Count());
    }
    Dir later(DirEntry(S(t / "sub")), FileKindAll);
    WriteAll(t / "sub\\x", "x");
    ASSERT_TRUE(later.Update());
    EXPECT_EQ(1ul, later.Count());
    DeleteFileA((t / "sub\\x").c_str());
    RemoveDirectoryA((t / "sub").c_str());
    EXPECT_FALSE(later.Update());
    EXPECT_EQ(0ul, later.Count());
}

TEST_F(DirListing, SortSetSortAndMerge)
{
    DirEntry dir(S(t.Path()));
    EXPECT_EQ((V{"sub", "a.doc", "b.txt", "c.txt"}),
              Names(Dir(dir, FileKindAll, DirSortKind | DirSortDescending, DirSortName, DirSortEnd)));
    Dir d(dir, FileKindFile, DirSortName, DirSortEnd);
    EXPECT_EQ(FSysErrNone, d.SetSort(DirSortModified | DirSortDescending, DirSortEnd)); // needs status
    EXPECT_EQ((V{"b.txt", "c.txt", "a.doc"}), Names(d));
    EXPECT_EQ(FSysErrNone, d.SetSort(DirSortSize, DirSortEnd));
    for (int bad : {3, 512, DirSortName | DirSortAscending | DirSortDescending}) {
        EXPECT_EQ(FSysErrBadArgument, d.SetSort(DirSortName, bad, DirSortEnd)) << bad;
        EXPECT_EQ((V{"a.doc", "b.txt", "c.txt"}), Names(d)) << "a refused sort changes nothing";
    }

    Scratch other("dir2");
    WriteAll(other / "ab.txt", "x");
    WriteAll(other / "zz.txt", "x");
    d.SetSort(DirSortName, DirSortEnd);
    d += Dir(DirEntry(S(other.Path())), FileKindFile);
    V const merged{"a.doc", "ab.txt", "b.txt", "c.txt", "zz.txt"};
    EXPECT_EQ(merged, Names(d));
    EXPECT_TRUE(d[1].Exists()) << "merged entries keep their own folder";
    Dir copy(d);
    d += d;
    EXPECT_EQ(10ul, d.Count());
    EXPECT_EQ(merged, Names(copy));
    copy = d;
    d = Dir();
    EXPECT_EQ(10ul, copy.Count());
    Dir bySize(DirEntry(S(other.Path())), FileKindFile, DirSortSize | DirSortDescending, DirSortName, DirSortEnd);
    bySize += Dir(dir, FileKindFile);
    EXPECT_EQ((V{"c.txt", "b.txt", "a.doc", "ab.txt", "zz.txt"}), Names(bySize));
}

TEST(Dir, UTF8AndLongFolders)
{
    Scratch t("dirnames");
    std::string u = t / "\xCE\xB1\xCE\xB2";
    ASSERT_TRUE(MakeFolder(u));
    for (int i = 0; i < 4; ++i) {
        ASSERT_TRUE(WriteAll(u + "\\\xE2\x98\x83.txt", "s"));
        ASSERT_TRUE(WriteAll(u + "\\plain.txt", "p"));
        Dir d(DirEntry(S(u)), FileKindAll, DirSortName, DirSortEnd);
        EXPECT_EQ((V{"plain.txt", "\xE2\x98\x83.txt"}), Names(d)) << u.size();
        EXPECT_TRUE(d[1].GetName().IsUTF8() && d[1].IsExistingFile());
        EXPECT_EQ(1ul, Dir(DirEntry(S(u + "\\\xE2\x98\x83*")), FileKindAll).Count());
        u += "\\" + std::string(70, char('a' + i));
        ASSERT_TRUE(MakeFolder(u));
    }
}

// The model orders the platform's found order, reversed (ties: latest found
// first), with std::stable_sort.
TEST(Dir, RandomSortsAgainstAModel)
{
    Scratch t("dirrandom");
    std::mt19937 rng(11);
    struct Info { std::string ext; unsigned size; int minute; };
    std::map<std::string, Info> files;
    for (int i = 0; i < 120; ++i) {
        Info f{std::string(1, char('a' + rng() % 3)), unsigned(rng() % 4), int(rng() % 5)};
        char name[32];
        std::snprintf(name, sizeof name, "f%u_%d.%s", unsigned(rng() % 1000), i, f.ext.c_str());
        ASSERT_TRUE(WriteAll(t / name, std::string(f.size, 'x')) && SetModified(t / name, f.minute));
        files[name] = f;
    }
    int const keys[] = {DirSortSize, DirSortModified, DirSortExt, DirSortName};
    DirEntry folder(S(t.Path()));
    V found = Names(Dir(folder, FileKindAll));
    ASSERT_EQ(files.size(), found.size());
    for (int round = 0; round < 40; ++round) {
        int o[3] = {DirSortEnd, DirSortEnd, DirSortEnd};
        int n = 1 + int(rng() % 3);
        for (int k = 0; k < n; ++k)
            o[k] = keys[rng() % 4] | (rng() % 2 ? DirSortDescending : 0);
        Dir d(folder, FileKindAll, o[0], o[1], o[2], DirSortEnd);

        V model(found.rbegin(), found.rend());
        std::stable_sort(model.begin(), model.end(), [&](std::string const &x, std::string const &y) {
            Info const &a = files[x], &b = files[y];
            for (int k = 0; k < n; ++k) {
                int key = o[k] & ~DirSortDescending;
                int c = key == DirSortSize       ? int(a.size) - int(b.size)
                        : key == DirSortModified ? a.minute - b.minute
                        : key == DirSortExt      ? a.ext.compare(b.ext)
                                                 : x.compare(y);
                c = (c > 0) - (c < 0);
                if (c)
                    return (o[k] & DirSortDescending) ? c > 0 : c < 0;
            }
            return false;
        });
        ASSERT_EQ(model, Names(d)) << "round " << round << " keys " << n;
        Dir merged;
        merged.SetSort(o[0], o[1], o[2], DirSortEnd);
        merged += Dir(folder, FileKindAll);
        ASSERT_EQ(model, Names(merged)) << "round " << round << " merged";
    }
}

TEST(Dir, NoHeapGrowthOverRepeatedListings)
{
    Scratch t("dirleak");
    char buf[16];
    for (int i = 0; i < 30; ++i)
        std::snprintf(buf, sizeof buf, "f%d.txt", i), WriteAll(t / buf, "x");
    auto round = [&] {
        Dir d(DirEntry(S(t.Path())), FileKindAll, DirSortModified | DirSortDescending, DirSortName, DirSortEnd);
        Dir e(DirEntry(S(t / "f1*")), FileKindAll);
        d += e;
        Dir c(d);
        c = e;
        d.SetSort(DirSortName, DirSortEnd);
        d.Update();
    };
    EXPECT_TRUE(kstest::NoGrowthOnceSettled({.batch = 25}, round));
}

} // namespace
