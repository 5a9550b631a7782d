// FileStat: status of files, folders, roots and missing names; sizes beyond
// 32 bits; UTC times; refused names leaving an earlier status untouched.
#include "base/FileStat.h"
#include "tests/base/ScratchFolder.h"

#include <gtest/gtest.h>

#include <string>

using namespace fstest;

namespace {

TEST(FileStat, FileSizeKindTimesAndYounger)
{
    EXPECT_EQ(FSysErrUnknown, FileStat().GetError());
    Scratch t("stat");
    ASSERT_TRUE(WriteAll(t / "f.bin", std::string(12345, 'x')) && WriteAll(t / "b", "b") && WriteAll(t / "c", "c"));
    FILETIME mod = Utc(2021, 3, 4, 5, 6, 7, 890), acc = Utc(1999, 12, 31, 23, 59, 58, 9);
    ASSERT_TRUE(SetTimes(t / "f.bin", mod, &acc) && SetTimes(t / "b", Utc(2021, 3, 4, 5, 6, 7, 900)) &&
                SetTimes(t / "c", Utc(2021, 3, 5, 0, 0)));

    FileStat s(DirEntry(S(t / "f.bin")));
    EXPECT_EQ(FSysErrNone, s.GetError());
    EXPECT_TRUE(s.IsKind(FileKindFile) && !s.IsKind(FileKindDir));
    EXPECT_EQ(12345u, s.GetSize64());
    EXPECT_EQ(20210304ul, s.DateModified().GetDate());
    EXPECT_EQ(5060789l, s.TimeModified().GetTime());
    EXPECT_EQ(19991231ul, s.DateAccessed().GetDate());
    EXPECT_EQ(23595800l, s.TimeAccessed().GetTime());
    EXPECT_FALSE(s.IsReadOnly());
    ASSERT_TRUE(SetFileAttributesA((t / "f.bin").c_str(), FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN));
    ASSERT_TRUE(s.Update(S(t / "f.bin")));
    EXPECT_TRUE(s.IsReadOnly() && s.IsHidden() && !s.IsSystem());
    FileStat c;
    c = FileStat(s);
    EXPECT_EQ(s.GetWinFileAttributes(), c.GetWinFileAttributes());
    EXPECT_EQ(s.DateAccessed().GetDate(), c.DateAccessed().GetDate());

    FileStat b(DirEntry(S(t / "b"))), n(DirEntry(S(t / "c")));
    EXPECT_TRUE(b.IsYounger(s) && n.IsYounger(b));
    EXPECT_FALSE(s.IsYounger(b) || b.IsYounger(n) || s.IsYounger(s));
}

TEST(FileStat, SizeBeyondFourGigabytes)
{
    Scratch t("big");
    std::string const path = t / "sparse.bin";
    LARGE_INTEGER at;
    at.QuadPart = (5LL << 30) + 7;
    bool ok = false;
    if (Hold f(path, GENERIC_WRITE, 0, CREATE_NEW); f.Held()) // closed before the status is taken
        ok = SetFilePointerEx(f.h, at, nullptr, FILE_BEGIN) && SetEndOfFile(f.h);
    if (!ok)
        GTEST_SKIP() << "the file system takes no 5 GB file here";
    EXPECT_EQ((5ULL << 30) + 7, FileStat(DirEntry(S(path))).GetSize64());
}

TEST(FileStat, FoldersRootsMissingAndRefusedNames)
{
    Scratch t("dirs");
    ASSERT_TRUE(MakeFolder(t / "sub"));
    ASSERT_TRUE(WriteAll(t / "f.txt", "abc"));
    for (std::string const &name : {t / "sub\\", t / "sub/..", std::string("c:/"), std::string("\\")}) {
        FileStat s{DirEntry(S(name))};
        EXPECT_EQ(FSysErrNone, s.GetError()) << name;
        EXPECT_EQ(FileKindDir, s.GetKind()) << name;
    }
    FileStat s;
    EXPECT_FALSE(s.Update(DirEntry(SString("Q:\\"))));
    EXPECT_FALSE(s.Update(DirEntry(S(t / "nofolder\\x.txt"))));
    EXPECT_EQ(FSysErrNotExists, s.GetError());
    EXPECT_EQ(FileKindNone, s.GetKind());
    EXPECT_FALSE(s.Update(DirEntry(S(t / "f.txt\\"))));
    EXPECT_EQ(FSysErrNotADirectory, s.GetError());

    ASSERT_TRUE(s.Update(DirEntry(S(t / "f.txt"))));
    for (std::string const &bad : {t / "*.txt", t / "f.tx?", t / "f.txt;x"}) {
        EXPECT_FALSE(s.Update(S(bad))) << bad;
        EXPECT_EQ(FSysErrNone, s.GetError()) << bad;
        EXPECT_EQ(3u, s.GetSize64()) << bad;
    }
}

TEST(FileStat, HeldOpenUTF8AndLongNames)
{
    Scratch t("names");
    ASSERT_TRUE(WriteAll(t / "held.txt", "12345"));
    {
        Hold h(t / "held.txt");
        ASSERT_TRUE(h.Held());
        EXPECT_EQ(5u, FileStat(DirEntry(S(t / "held.txt"))).GetSize64());
    }
    std::string dir = t / "\xCE\xB1";
    for (int i = 0; i < 4; ++i) {
        ASSERT_TRUE(MakeFolder(dir));
        ASSERT_TRUE(WriteAll(dir + "\\\xE2\x98\x83", std::string(std::size_t(i + 1), 'x')));
        FileStat s(DirEntry(S(dir + "\\\xE2\x98\x83")));
        EXPECT_EQ(FSysErrNone, s.GetError()) << dir.size();
        EXPECT_EQ(unsigned(i + 1), s.GetSize64());
        EXPECT_EQ(FileKindDir, FileStat(DirEntry(S(dir))).GetKind());
        dir += "\\" + std::string(70, char('k' + i));
    }
}

TEST(FileStat, StyleFromFileSystemName)
{
    for (auto [name, style] :
         {std::pair("fat", FSysStyleFat), {"NTFS", FSysStyleNtfs}, {"NTFS2", FSysStyleOther}, {"", FSysStyleOther}})
        EXPECT_EQ(style, FileStat::StyleOf(SString(name))) << name;
}

} // namespace
