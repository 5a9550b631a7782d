// FileStat: what one status read reports for files, folders, roots and
// missing names; sizes beyond 32 bits; UTC dates and times set through the
// platform; refused names leaving an earlier status untouched; UTF-8 and long
// names; files held open by someone else.
#include "base/FileStat.h"
#include "tests/base/ScratchFolder.h"

#include <gtest/gtest.h>

#include <string>

using fstest::Scratch;
using fstest::WriteAll;

namespace {

SString S(std::string const &s) { return SString(s.c_str()); }

FILETIME Utc(WORD y, WORD mo, WORD d, WORD h, WORD mi, WORD s, WORD ms)
{
    SYSTEMTIME st = {};
    st.wYear = y;
    st.wMonth = mo;
    st.wDay = d;
    st.wHour = h;
    st.wMinute = mi;
    st.wSecond = s;
    st.wMilliseconds = ms;
    FILETIME ft = {};
    SystemTimeToFileTime(&st, &ft);
    return ft;
}

bool SetTimes(std::string const &path, FILETIME const *modified, FILETIME const *accessed)
{
    HANDLE h = CreateFileW(fstest::Wide(path).c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE,
                           nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return false;
    BOOL ok = SetFileTime(h, nullptr, accessed, modified);
    CloseHandle(h);
    return ok != 0;
}

TEST(FileStat, NothingReadYet)
{
    FileStat s;
    EXPECT_EQ(FSysErrUnknown, s.GetError());
    EXPECT_EQ(FileKindNone, s.GetKind());
    EXPECT_EQ(0u, s.GetSize64());
    EXPECT_EQ(0ul, s.DateModified().GetDate());
    EXPECT_TRUE(s.GetCreator().IsEmpty());
    EXPECT_TRUE(s.GetType().IsEmpty());
}

TEST(FileStat, FileSizeKindAndUtcTimes)
{
    Scratch t("stat");
    ASSERT_TRUE(WriteAll(t / "f.bin", std::string(12345, 'x')));
    FILETIME mod = Utc(2021, 3, 4, 5, 6, 7, 890), acc = Utc(1999, 12, 31, 23, 59, 58, 9);
    ASSERT_TRUE(SetTimes(t / "f.bin", &mod, &acc));

    FileStat s(DirEntry(S(t / "f.bin")));
    EXPECT_EQ(FSysErrNone, s.GetError());
    EXPECT_EQ(FileKindFile, s.GetKind());
    EXPECT_TRUE(s.IsKind(FileKindFile));
    EXPECT_FALSE(s.IsKind(FileKindDir));
    EXPECT_EQ(12345u, s.GetSize64());
    EXPECT_EQ(20210304ul, s.DateModified().GetDate());
    EXPECT_EQ(5060789l, s.TimeModified().GetTime()) << "05:06:07.89, hundredths from the milliseconds";
    EXPECT_EQ(19991231ul, s.DateAccessed().GetDate());
    EXPECT_EQ(23595800l, s.TimeAccessed().GetTime());
    EXPECT_NE(0ul, s.DateCreated().GetDate());
    EXPECT_FALSE(s.IsReadOnly());
    EXPECT_FALSE(s.IsHidden());
    EXPECT_EQ(0ul, s.GetWinFileAttributes() & FILE_ATTRIBUTE_DIRECTORY);

    ASSERT_TRUE(SetFileAttributesA((t / "f.bin").c_str(), FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN));
    ASSERT_TRUE(s.Update(S(t / "f.bin")));
    EXPECT_TRUE(s.IsReadOnly());
    EXPECT_TRUE(s.IsHidden());
    EXPECT_FALSE(s.IsSystem());
    SetFileAttributesA((t / "f.bin").c_str(), FILE_ATTRIBUTE_NORMAL);

    // Copies keep everything.
    FileStat c(s);
    EXPECT_EQ(s.GetSize64(), c.GetSize64());
    EXPECT_EQ(s.DateAccessed().GetDate(), c.DateAccessed().GetDate());
    FileStat d;
    d = s;
    EXPECT_EQ(s.GetWinFileAttributes(), d.GetWinFileAttributes());
}

TEST(FileStat, SizeBeyondFourGigabytes)
{
    Scratch t("big");
    std::string const path = t / "sparse.bin";
    HANDLE h = CreateFileW(fstest::Wide(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL,
                           nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, h);
    LARGE_INTEGER at;
    at.QuadPart = (5LL << 30) + 7;
    BOOL ok = SetFilePointerEx(h, at, nullptr, FILE_BEGIN) && SetEndOfFile(h);
    CloseHandle(h);
    if (!ok)
        GTEST_SKIP() << "the file system takes no 5 GB file here";
    FileStat s(DirEntry(S(path)));
    EXPECT_EQ((5ULL << 30) + 7, s.GetSize64());
}

TEST(FileStat, FoldersRootsAndParents)
{
    Scratch t("dirs");
    ASSERT_TRUE(fstest::MakeFolder(t / "sub"));
    for (std::string const &name : {t / "sub", t / "sub\\", t / "sub/..", t.Path()}) {
        FileStat s(DirEntry(S(name)));
        EXPECT_EQ(FSysErrNone, s.GetError()) << name;
        EXPECT_EQ(FileKindDir, s.GetKind()) << name;
        EXPECT_NE(0ul, s.GetWinFileAttributes() & FILE_ATTRIBUTE_DIRECTORY) << name;
    }
    for (char const *root : {"C:\\", "c:/", "\\"}) {
        FileStat s{DirEntry(SString(root))};
        EXPECT_EQ(FSysErrNone, s.GetError()) << root;
        EXPECT_EQ(FileKindDir, s.GetKind()) << root;
    }
    FileStat q;
    EXPECT_FALSE(q.Update(DirEntry(SString("Q:\\"))));
    EXPECT_NE(FSysErrNone, q.GetError()) << "a drive that is not there is no folder";
}

TEST(FileStat, MissingNamesAndRefusedNames)
{
    Scratch t("missing");
    ASSERT_TRUE(WriteAll(t / "f.txt", "abc"));
    FileStat s;
    EXPECT_FALSE(s.Update(DirEntry(S(t / "none.txt"))));
    EXPECT_EQ(FSysErrNotExists, s.GetError());
    EXPECT_EQ(FileKindNone, s.GetKind());
    EXPECT_FALSE(s.Update(DirEntry(S(t / "nofolder\\x.txt"))));
    EXPECT_EQ(FSysErrNotExists, s.GetError());
    EXPECT_FALSE(s.Update(DirEntry(S(t / "f.txt\\"))));
    EXPECT_EQ(FSysErrNotADirectory, s.GetError()) << "a file named as a folder";
    EXPECT_FALSE(s.Update(DirEntry()));
    EXPECT_NE(FSysErrNone, s.GetError());

    // Wildcards and ';' are refused before any lookup and change nothing,
    // so an earlier status survives whole.
    ASSERT_TRUE(s.Update(DirEntry(S(t / "f.txt"))));
    for (std::string const &bad : {t / "*.txt", t / "f.tx?", t / "f.txt;x"}) {
        EXPECT_FALSE(s.Update(S(bad))) << bad;
        EXPECT_EQ(FSysErrNone, s.GetError()) << bad;
        EXPECT_EQ(3u, s.GetSize64()) << bad;
    }
    FileStat fresh;
    EXPECT_FALSE(fresh.Update(S(t / "*")));
    EXPECT_EQ(FSysErrUnknown, fresh.GetError());
}

TEST(FileStat, HeldOpenUTF8AndLongNames)
{
    Scratch t("names");
    ASSERT_TRUE(WriteAll(t / "held.txt", "12345"));
    {
        fstest::Hold h(t / "held.txt");
        ASSERT_TRUE(h.Held());
        FileStat s(DirEntry(S(t / "held.txt")));
        EXPECT_EQ(FSysErrNone, s.GetError()) << "status needs no access to the content";
        EXPECT_EQ(5u, s.GetSize64());
    }
    std::string const u = t / "\xE2\x98\x83\xCE\xB1.txt";
    ASSERT_TRUE(WriteAll(u, "1234567"));
    FileStat su(DirEntry(S(u)));
    EXPECT_EQ(FSysErrNone, su.GetError());
    EXPECT_EQ(7u, su.GetSize64());

    std::string deep = t.Path();
    for (int i = 0; i < 4; ++i) {
        deep += "\\" + std::string(70, char('k' + i));
        ASSERT_TRUE(fstest::MakeFolder(deep));
    }
    ASSERT_TRUE(WriteAll(deep + "\\f", "12"));
    FileStat sl(DirEntry(S(deep + "\\f")));
    EXPECT_EQ(FSysErrNone, sl.GetError());
    EXPECT_EQ(2u, sl.GetSize64());
    FileStat sd(DirEntry(S(deep)));
    EXPECT_EQ(FileKindDir, sd.GetKind());
}

TEST(FileStat, YoungerByDateThenTime)
{
    Scratch t("younger");
    ASSERT_TRUE(WriteAll(t / "a", "a"));
    ASSERT_TRUE(WriteAll(t / "b", "b"));
    ASSERT_TRUE(WriteAll(t / "c", "c"));
    FILETIME early = Utc(2020, 1, 2, 23, 0, 0, 0), laterSameDay = Utc(2020, 1, 2, 23, 0, 0, 10),
             nextDay = Utc(2020, 1, 3, 0, 0, 0, 0);
    ASSERT_TRUE(SetTimes(t / "a", &early, nullptr));
    ASSERT_TRUE(SetTimes(t / "b", &laterSameDay, nullptr));
    ASSERT_TRUE(SetTimes(t / "c", &nextDay, nullptr));
    FileStat a(DirEntry(S(t / "a"))), b(DirEntry(S(t / "b"))), c(DirEntry(S(t / "c")));
    EXPECT_TRUE(b.IsYounger(a));
    EXPECT_FALSE(a.IsYounger(b));
    EXPECT_TRUE(c.IsYounger(b));
    EXPECT_FALSE(b.IsYounger(c));
    EXPECT_FALSE(a.IsYounger(a));
}

TEST(FileStat, StyleFromFileSystemName)
{
    EXPECT_EQ(FSysStyleFat, FileStat::StyleOf(SString("FAT32")));
    EXPECT_EQ(FSysStyleFat, FileStat::StyleOf(SString("fat")));
    EXPECT_EQ(FSysStyleNtfs, FileStat::StyleOf(SString("NTFS")));
    EXPECT_EQ(FSysStyleHpfs, FileStat::StyleOf(SString("HPFS")));
    EXPECT_EQ(FSysStyleNwfs, FileStat::StyleOf(SString("NWFS")));
    EXPECT_EQ(FSysStyleOther, FileStat::StyleOf(SString("NTFS2")));
    EXPECT_EQ(FSysStyleOther, FileStat::StyleOf(SString()));
}

} // namespace
