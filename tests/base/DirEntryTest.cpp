// DirEntry: parsing into device, path, base and extension; the names built
// from the parts (wide, limited, joined); and the operations on the named
// file under failure: missing files, files held open by someone else,
// folders in use, UTF-8 names and paths beyond 260 bytes. Every failed move
// or copy is checked to have left both source and target as they were.
#include "base/DirEntry.h"
#include "tests/base/ScratchFolder.h"
#include "tests/support/LeakCounters.h"

#include <gtest/gtest.h>

#include <string>

using fstest::Hold;
using fstest::Present;
using fstest::ReadAll;
using fstest::Scratch;
using fstest::WriteAll;

namespace {

SString S(std::string const &s) { return SString(s.c_str()); }

std::string Str(SString const &s) { return std::string(s.GetStr(), std::size_t(s.Len())); }

// ------------------------------------------------------------ parsing

struct ParseCase
{
    char const *text;
    char const *device, *path, *base, *ext;
    DirEntryFlag kind;
};

TEST(DirEntryParse, PartsKindsAndRoundTrip)
{
    ParseCase const cases[] = {
        {"C:\\dir\\file.txt", "C:", "\\dir\\", "file", "txt", DirFlagAbsolute},
        {"c:/a/b/", "c:", "/a/b/", "", "", DirFlagAbsolute},
        {"C:file.c", "C:", "", "file", "c", DirFlagRelative},
        {"C:", "C:", "", "", "", DirFlagRelative},
        {"//server/share/dir/f.c", "//server/share", "/dir/", "f", "c", DirFlagAbsolute},
        {"\\\\server\\share", "\\\\server\\share", "", "", "", DirFlagAbsolute},
        {"//server", "//server", "", "", "", DirFlagAbsolute},
        {"dir\\sub\\x.tar.gz", "", "dir\\sub\\", "x.tar", "gz", DirFlagRelative},
        {"\\rooted\\x", "", "\\rooted\\", "x", "", DirFlagRelative},
        {"..\\x", "", "..\\", "x", "", DirFlagRelative},
        {"a\\..", "", "a\\", "..", "", DirFlagRelative},
        {"..", "", "", "..", "", DirFlagRelative},
        {".", "", "", ".", "", DirFlagRelative},
        {".bashrc", "", "", "", "bashrc", DirFlagRelative},
        {"file.", "", "", "file.", "", DirFlagRelative},
        {"http://host/a/b.html", "http:", "//host/a/", "b", "html", DirFlagAbsolute},
    };
    for (ParseCase const &c : cases) {
        DirEntry e{SString(c.text)};
        SCOPED_TRACE(c.text);
        EXPECT_TRUE(e.IsValid());
        EXPECT_EQ(std::string(c.device), Str(e.GetDevice()));
        EXPECT_EQ(std::string(c.path), Str(e.GetPath()));
        EXPECT_EQ(std::string(c.base), Str(e.GetBase()));
        EXPECT_EQ(std::string(c.ext), Str(e.GetExtension()));
        EXPECT_EQ(c.kind, e.GetFlag());
        EXPECT_EQ(std::string(c.text), Str(e.GetFull())) << "the parts must give the text back";
        EXPECT_EQ(*c.device != 0, e.IsAbsolute());
    }
}

TEST(DirEntryParse, CutAtSemicolonAndEmpty)
{
    EXPECT_EQ("C:\\a\\b.txt", Str(DirEntry(SString("C:\\a\\b.txt;C:\\other")).GetFull()));
    for (char const *t : {"", ";", ";x"}) {
        DirEntry e{SString(t)};
        EXPECT_FALSE(e.IsValid()) << t;
        EXPECT_EQ(DirFlagEmpty, e.GetFlag()) << t;
        EXPECT_EQ(0u, e.Level()) << t;
    }
}

TEST(DirEntryParse, UTF8FlagFollowsTheText)
{
    DirEntry u(SString("C:\\d\xC3\xA9j\xC3\xA0\\caf\xC3\xA9.txt")); // detected, not flagged
    EXPECT_TRUE(u.IsUTF8());
    EXPECT_TRUE(u.GetFull().IsUTF8());
    SString flagged("C:\\plain\\x.txt");
    flagged.SetIsUTF8();
    EXPECT_TRUE(DirEntry(flagged).IsUTF8());
    EXPECT_FALSE(DirEntry(SString("C:\\plain\\x.txt")).IsUTF8());
    // 0xE9 alone is ANSI "é", not UTF-8.
    EXPECT_FALSE(DirEntry(SString("C:\\caf\xE9.txt")).IsUTF8());
    DirEntry ansi = u.UTF8ToAnsi();
    EXPECT_FALSE(ansi.IsUTF8());
    EXPECT_EQ("C:\\d\xE9j\xE0\\caf\xE9.txt", Str(ansi.GetFull()));
    EXPECT_EQ("caf\xE9", Str(ansi.GetBase()));
}

TEST(DirEntryParse, LevelsAndParts)
{
    EXPECT_EQ(3u, DirEntry(SString("C:\\a\\b\\")).Level());
    EXPECT_EQ(4u, DirEntry(SString("C:\\a\\b\\c.txt")).Level());
    EXPECT_EQ(1u, DirEntry(SString("C:\\")).Level());
    EXPECT_EQ(1u, DirEntry(SString("x.txt")).Level());
    EXPECT_EQ(2u, DirEntry(SString("a\\b")).Level());
    EXPECT_EQ(3u, DirEntry(SString("C:\\\\a\\b")).Level()); // an empty folder between separators counts nothing

    DirEntry e(SString("C:\\a\\bb\\c.txt"));
    char const *const parts[] = {"C:", "a", "bb", "c.txt"};
    ASSERT_EQ(4u, e.Level());
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(std::string(parts[i]), Str(e[i]));
    EXPECT_TRUE(e[4].IsEmpty());
    EXPECT_TRUE(e[-1].IsEmpty());
    EXPECT_EQ("bb", Str(e.GetParentDirName()));
    EXPECT_TRUE(DirEntry(SString("C:\\c.txt")).GetParentDirName().IsEmpty());
}

TEST(DirEntryParse, ClassificationAndComparison)
{
    EXPECT_TRUE(DirEntry(SString("C:\\")).IsRoot());
    EXPECT_TRUE(DirEntry(SString("//srv/share")).IsRoot());
    EXPECT_FALSE(DirEntry(SString("C:\\a\\")).IsRoot());
    EXPECT_FALSE(DirEntry(SString("\\")).IsRoot()); // no device
    for (char const *ok : {"a.txt", "icon.txt", "com0", "caf\xC3\xA9"})
        EXPECT_TRUE(DirEntry(SString(ok)).HasLegalName()) << ok;
    for (char const *bad : {"con", "Con.txt.x", "LPT9.x", "a<b", "a|b", "trail.", "trail ", "C:\\dir\\"})
        EXPECT_FALSE(DirEntry(SString(bad)).HasLegalName()) << bad;
    EXPECT_TRUE(DirEntry(SString("HTTP://host/x")).IsHttp());
    EXPECT_FALSE(DirEntry(SString("HTTP://host/x")).IsHttps());
    EXPECT_FALSE(DirEntry(SString("C:\\http\\x")).IsHttp());

    DirEntry a(SString("C:\\Dir\\File.TXT")), b(SString("c:/dir/file.txt")), c(SString("c:\\dir\\file.txu"));
    EXPECT_TRUE(a == b);
    EXPECT_TRUE(a != c);
    EXPECT_TRUE(a < c && !(c < a));
    EXPECT_FALSE(a < b || b < a);
    EXPECT_TRUE(DirEntry(SString("C:\\DIR\\file.txt\\more")).Contains(a));
    EXPECT_FALSE(c.Contains(a));
}

// ------------------------------------------------------------ building names

TEST(DirEntryNames, AppendingEntries)
{
    struct Join
    {
        char const *a, *b, *result;
    };
    Join const joins[] = {
        {"C:\\a", "b.txt", "C:\\a\\b.txt"},       {"C:\\a\\", "b.txt", "C:\\a\\b.txt"},
        {"C:\\a\\", "\\b.txt", "C:\\a\\b.txt"},   {"C:\\a", "\\b.txt", "C:\\a\\b.txt"},
        {"", "b\\c", "b\\c"},                     {"C:\\a", "", "C:\\a"},
        {"C:\\a", "C:\\a\\b\\c", "C:\\a\\b\\c"},  // other lies below: taken whole
        {"C:\\a\\b\\c", "c:\\A\\b", "C:\\a\\b\\c"}, // other lies above: no change
        {"C:\\a", "D:\\x\\y.txt", "C:\\a\\y.txt"}, // unrelated device: only the name
    };
    for (Join const &j : joins) {
        DirEntry a{SString(j.a)};
        DirEntry sum = a + DirEntry(SString(j.b));
        EXPECT_EQ(std::string(j.result), Str(sum.GetFull())) << j.a << " + " << j.b;
        EXPECT_EQ(std::string(j.a), Str(a.GetFull())) << "operator+ must leave its operand alone";
        a += DirEntry(SString(j.b));
        EXPECT_EQ(std::string(j.result), Str(a.GetFull())) << j.a << " += " << j.b;
    }
    DirEntry parsed = DirEntry(SString("C:\\a")) + DirEntry(SString("b.txt"));
    EXPECT_EQ("txt", Str(parsed.GetExtension())) << "the sum is parsed again";
}

TEST(DirEntryNames, ChangingParts)
{
    DirEntry e(SString("C:\\dir\\name.txt"));
    EXPECT_EQ("name", Str(e.ChangeBase(SString("other"))));
    EXPECT_EQ("txt", Str(e.ChangeExtension(SString("md"))));
    EXPECT_EQ("C:\\dir\\other.md", Str(e.GetFull()));
    EXPECT_EQ("md", Str(e.ChangeExtension(SString())));
    EXPECT_EQ("C:\\dir\\other", Str(e.GetFull()));
    EXPECT_EQ("other", Str(e.ChangeName(SString("a.b.c"))));
    EXPECT_EQ("c", Str(e.GetExtension())) << "parsed again";
    EXPECT_EQ("\\dir\\", Str(e.ChangePath(SString("\\x\\y"))));
    EXPECT_EQ("C:\\x\\y\\a.b.c", Str(e.GetFull()));
    EXPECT_EQ("a.b.c", Str(e.CutName()));
    EXPECT_EQ("C:\\x\\y\\", Str(e.GetFull(true)));
    EXPECT_EQ("C:\\x\\y\\z\\", Str(DirEntry(SString("C:\\x\\y\\z")).GetFull(true)));
    EXPECT_EQ("C:/x/", Str(DirEntry(SString("C:/x/")).GetFull(true)));
}

TEST(DirEntryNames, WideForms)
{
    EXPECT_EQ(L"C:\\a\\b.txt", DirEntry(SString("C:\\a\\b.txt")).GetFullW());
    EXPECT_EQ(L"C:\\caf\u00e9.txt", DirEntry(SString("C:\\caf\xC3\xA9.txt")).GetFullW());
    EXPECT_EQ(L"C:\\caf\u00e9.txt", DirEntry(SString("C:\\caf\xE9.txt")).GetFullW()) << "ANSI 1252";
    std::string longName = "C:\\" + std::string(137, 'a') + "\\" + std::string(155, 'b') + ".txt";
    ASSERT_EQ(300u, longName.size());
    std::wstring w = DirEntry::GetFullW(S(longName), false);
    EXPECT_EQ(L"\\\\?\\" + std::wstring(longName.begin(), longName.end()), w);
    EXPECT_EQ(L"\\\\?\\UNC\\server\\share\\dir\\f.txt", DirEntry::GetFullW(SString("//server/share/dir/f.txt"), true));
    EXPECT_EQ(L"\\\\?\\C:\\a\\b", DirEntry::GetFullW(SString("C:\\a\\b"), true));
    EXPECT_EQ(L"\\\\?\\C:\\a\\b", DirEntry::GetFullW(SString("C:/a/x/../b"), true)) << "resolved before the prefix";
    EXPECT_EQ(L"\\\\?\\C:\\x", DirEntry::GetFullW(SString("\\\\?\\C:\\x"), true)) << "never prefixed twice";
    EXPECT_EQ(L"", DirEntry::GetFullW(SString(), true));
}

TEST(DirEntryNames, LimitedFullName)
{
    DirEntry e(SString("C:\\first\\second\\third\\name.txt"));
    EXPECT_EQ("C:\\first\\second\\third\\name.txt", Str(e.GetFullLimited(100)));
    for (unsigned n = 0; n < 40; ++n) {
        SString s = e.GetFullLimited(n);
        EXPECT_LE(unsigned(s.Len()), n);
    }
    EXPECT_EQ("C:\\...\\third\\name.txt", Str(e.GetFullLimited(24)));
    EXPECT_EQ("C:\\...\\name.txt", Str(e.GetFullLimited(18)));
    EXPECT_EQ("...name.txt", Str(e.GetFullLimited(11)));
    // A UTF-8 name is never cut inside a character.
    DirEntry u(SString("C:\\\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9"));
    for (unsigned n = 0; n < 16; ++n) {
        SString s = u.GetFullLimited(n);
        EXPECT_LE(unsigned(s.Len()), n);
        EXPECT_TRUE(s.IsEmpty() || MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, s.GetStr(), s.Len(), nullptr, 0) > 0)
            << n << ": " << s.GetStr();
    }
}

// ------------------------------------------------------------ operations

TEST(DirEntryFiles, ExistenceAndKinds)
{
    Scratch t("exist");
    ASSERT_TRUE(WriteAll(t / "f.txt", "x"));
    ASSERT_TRUE(fstest::MakeFolder(t / "sub"));
    DirEntry file(S(t / "f.txt")), dir(S(t / "sub\\")), missing(S(t / "none.txt"));
    EXPECT_TRUE(file.IsExistingFile() && file.IsFile() && !file.IsNormalDir());
    EXPECT_TRUE(dir.Exists() && dir.IsNormalDir() && !dir.IsExistingFile());
    EXPECT_FALSE(missing.Exists() || missing.IsExistingFile());
    EXPECT_TRUE(missing.IsFile()) << "a file that can still be made";
    EXPECT_FALSE(DirEntry(S(t / "sub\\..")).IsNormalDir());
    EXPECT_FALSE(DirEntry(S(t / "*")).Exists() || DirEntry(S(t / "*")).IsFile());
    EXPECT_TRUE(file.HasTempPath());
    EXPECT_FALSE(DirEntry(SString("C:\\windows\\x")).HasTempPath());
    EXPECT_GT(file.GetDriveTypeA(), 1u) << "the drive of the temporary folder has a root";
}

TEST(DirEntryFiles, KillRemovesOnlyWhatItMayAndSays)
{
    Scratch t("kill");
    ASSERT_TRUE(WriteAll(t / "a.txt", "A"));
    ASSERT_TRUE(WriteAll(t / "b.txt", "B"));
    ASSERT_TRUE(fstest::MakeFolder(t / "full"));
    ASSERT_TRUE(WriteAll(t / "full\\inner.txt", "I"));
    ASSERT_TRUE(fstest::MakeFolder(t / "empty"));

    EXPECT_FALSE(DirEntry(S(t / "*.txt")).Kill()) << "a pattern never deletes several files";
    EXPECT_EQ(ERROR_INVALID_NAME, GetLastError());
    EXPECT_EQ("A", ReadAll(t / "a.txt"));
    EXPECT_EQ("B", ReadAll(t / "b.txt"));

    EXPECT_FALSE(DirEntry(S(t / "missing.txt")).Kill());
    EXPECT_EQ(FSysErrNotExists, FSysErrorFromPlatform(GetLastError()));

    EXPECT_FALSE(DirEntry(S(t / "full")).Kill()) << "never recursive";
    EXPECT_EQ(FSysErrNotEmpty, FSysErrorFromPlatform(GetLastError()));
    EXPECT_EQ("I", ReadAll(t / "full\\inner.txt"));
    {
        Hold h(t / "a.txt");
        ASSERT_TRUE(h.Held());
        EXPECT_FALSE(DirEntry(S(t / "a.txt")).Kill());
        EXPECT_EQ(FSysErrLocked, FSysErrorFromPlatform(GetLastError()));
    }
    EXPECT_EQ("A", ReadAll(t / "a.txt"));
    {
        Hold h(t / "empty");
        ASSERT_TRUE(h.Held());
        EXPECT_FALSE(DirEntry(S(t / "empty")).Kill()) << "a folder in use stays";
    }
    EXPECT_TRUE(fstest::IsFolder(t / "empty"));
    ASSERT_TRUE(SetFileAttributesA((t / "b.txt").c_str(), FILE_ATTRIBUTE_READONLY));
    EXPECT_FALSE(DirEntry(S(t / "b.txt")).Kill());
    EXPECT_EQ("B", ReadAll(t / "b.txt"));

    EXPECT_TRUE(DirEntry(S(t / "a.txt")).Kill());
    EXPECT_FALSE(Present(t / "a.txt"));
    EXPECT_TRUE(DirEntry(S(t / "empty\\")).Kill());
    EXPECT_FALSE(Present(t / "empty"));
    EXPECT_FALSE(DirEntry(SString("C:\\")).Kill());
    EXPECT_FALSE(DirEntry().Kill());
}

TEST(DirEntryFiles, MakeDir)
{
    Scratch t("mkdir");
    EXPECT_TRUE(DirEntry(S(t / "one")).MakeDir());
    EXPECT_TRUE(DirEntry(S(t / "one\\")).MakeDir()) << "already there is success";
    EXPECT_FALSE(DirEntry(S(t / "a\\b\\c")).MakeDir());
    EXPECT_FALSE(Present(t / "a"));
    EXPECT_TRUE(DirEntry(S(t / "a/b\\c/")).MakeDir(true));
    EXPECT_TRUE(fstest::IsFolder(t / "a\\b\\c"));
    ASSERT_TRUE(WriteAll(t / "file", "keep"));
    EXPECT_FALSE(DirEntry(S(t / "file")).MakeDir(true));
    EXPECT_FALSE(DirEntry(S(t / "file\\below")).MakeDir(true)) << "a file on the path is not a folder";
    EXPECT_EQ("keep", ReadAll(t / "file"));
}

TEST(DirEntryFiles, MoveTo)
{
    Scratch t("move");
    ASSERT_TRUE(WriteAll(t / "src.txt", "source"));
    ASSERT_TRUE(WriteAll(t / "dst.txt", "target"));
    ASSERT_TRUE(fstest::MakeFolder(t / "dir"));
    DirEntry src(S(t / "src.txt"));
    EXPECT_FALSE(src.MoveTo(DirEntry(S(t / "dst.txt")))) << "never replaces";
    EXPECT_EQ(FSysErrAlreadyExists, FSysErrorFromPlatform(GetLastError()));
    EXPECT_FALSE(src.MoveTo(DirEntry(S(t / "nofolder\\x.txt"))));
    EXPECT_EQ(FSysErrNotExists, FSysErrorFromPlatform(GetLastError()));
    EXPECT_FALSE(src.MoveTo(DirEntry(S(t / "dir"))));
    EXPECT_EQ("source", ReadAll(t / "src.txt"));
    EXPECT_EQ("target", ReadAll(t / "dst.txt"));

    EXPECT_TRUE(src.MoveTo(DirEntry(S(t / "dir\\moved.txt"))));
    EXPECT_FALSE(Present(t / "src.txt"));
    EXPECT_TRUE(DirEntry(S(t / "dir")).MoveTo(DirEntry(S(t / "renamed"))));
    EXPECT_EQ("source", ReadAll(t / "renamed\\moved.txt"));
}

TEST(DirEntryFiles, MoveToSaveReplacesOnlyWhenTheMoveSucceeds)
{
    Scratch t("movesave");
    ASSERT_TRUE(WriteAll(t / "new.txt", "new"));
    ASSERT_TRUE(WriteAll(t / "old.txt", "old"));
    DirEntry src(S(t / "new.txt")), dst(S(t / "old.txt"));
    {
        Hold h(t / "old.txt");
        ASSERT_TRUE(h.Held());
        EXPECT_FALSE(src.MoveToSave(dst));
    }
    EXPECT_EQ("new", ReadAll(t / "new.txt"));
    EXPECT_EQ("old", ReadAll(t / "old.txt"));
    EXPECT_EQ(2, fstest::CountIn(t.Path())) << "nothing set aside is left behind";
    {
        Hold h(t / "new.txt");
        ASSERT_TRUE(h.Held());
        EXPECT_FALSE(src.MoveToSave(dst));
    }
    EXPECT_EQ("new", ReadAll(t / "new.txt"));
    EXPECT_EQ("old", ReadAll(t / "old.txt")) << "the set-aside target came back";
    EXPECT_EQ(2, fstest::CountIn(t.Path()));

    ASSERT_TRUE(fstest::MakeFolder(t / "dir"));
    EXPECT_FALSE(src.MoveToSave(DirEntry(S(t / "dir"))));
    EXPECT_FALSE(DirEntry(S(t / "none")).MoveToSave(dst));
    EXPECT_EQ("old", ReadAll(t / "old.txt"));

    EXPECT_TRUE(src.MoveToSave(dst));
    EXPECT_EQ("new", ReadAll(t / "old.txt"));
    EXPECT_FALSE(Present(t / "new.txt"));
    EXPECT_TRUE(dst.MoveToSave(DirEntry(S(t / "fresh.txt"))));
    EXPECT_EQ("new", ReadAll(t / "fresh.txt"));
    EXPECT_EQ(2, fstest::CountIn(t.Path()));
}

TEST(DirEntryFiles, CopyTo)
{
    Scratch t("copy");
    std::string const big(100000, 's');
    ASSERT_TRUE(WriteAll(t / "src.txt", big));
    ASSERT_TRUE(WriteAll(t / "dst.txt", "target"));
    ASSERT_TRUE(fstest::MakeFolder(t / "dir"));
    DirEntry src(S(t / "src.txt")), dst(S(t / "dst.txt"));
    EXPECT_FALSE(src.CopyTo(dst));
    {
        Hold h(t / "dst.txt");
        ASSERT_TRUE(h.Held());
        EXPECT_FALSE(src.CopyTo(dst, true));
    }
    {
        Hold h(t / "src.txt");
        ASSERT_TRUE(h.Held());
        EXPECT_FALSE(src.CopyTo(DirEntry(S(t / "other.txt"))));
        EXPECT_EQ(FSysErrLocked, FSysErrorFromPlatform(GetLastError()));
    }
    EXPECT_FALSE(src.CopyTo(DirEntry(S(t / "nofolder\\x.txt"))));
    EXPECT_FALSE(DirEntry(S(t / "none.txt")).CopyTo(DirEntry(S(t / "x.txt"))));
    EXPECT_FALSE(src.CopyTo(DirEntry(S(t / "dir")), true)) << "a folder is not replaced by a file";
    EXPECT_FALSE(DirEntry(S(t / "dir")).CopyTo(DirEntry(S(t / "dir2"))));
    EXPECT_EQ("target", ReadAll(t / "dst.txt"));
    EXPECT_EQ(3, fstest::CountIn(t.Path())) << "no copy, whole or partial, was left";

    EXPECT_TRUE(src.CopyTo(dst, true));
    EXPECT_EQ(big, ReadAll(t / "dst.txt"));
    EXPECT_TRUE(src.CopyTo(src, true)) << "onto itself with replace";
    EXPECT_EQ(big, ReadAll(t / "src.txt"));
    EXPECT_EQ(3, fstest::CountIn(t.Path()));
}

TEST(DirEntryFiles, CanWriteToAndTempNamesLeaveNothingBehind)
{
    Scratch t("canwrite");
    ASSERT_TRUE(WriteAll(t / "f.txt", "content"));
    EXPECT_TRUE(DirEntry(S(t / "f.txt")).CanWriteTo());
    {
        Hold h(t / "f.txt");
        ASSERT_TRUE(h.Held());
        EXPECT_FALSE(DirEntry(S(t / "f.txt")).CanWriteTo());
    }
    EXPECT_TRUE(DirEntry(S(t / "new.txt")).CanWriteTo());
    EXPECT_TRUE(DirEntry(S(t.Path())).CanWriteTo());
    EXPECT_FALSE(DirEntry(S(t / "nofolder\\x.txt")).CanWriteTo());
    ASSERT_TRUE(SetFileAttributesA((t / "f.txt").c_str(), FILE_ATTRIBUTE_READONLY));
    EXPECT_FALSE(DirEntry(S(t / "f.txt")).CanWriteTo());
    SetFileAttributesA((t / "f.txt").c_str(), FILE_ATTRIBUTE_NORMAL);
    EXPECT_EQ("content", ReadAll(t / "f.txt"));
    EXPECT_EQ(1, fstest::CountIn(t.Path()));

    DirEntry folder(S(t.Path()));
    DirEntry a = folder.TempName();
    ASSERT_TRUE(a.IsValid());
    EXPECT_FALSE(a.Exists());
    EXPECT_EQ(S(t.Path() + "\\"), a.GetDevice() + a.GetPath());
    ASSERT_TRUE(WriteAll(Str(a.GetFull()), "taken"));
    for (int i = 0; i < 50; ++i)
        EXPECT_FALSE(folder.TempName() == a);
    DirEntry beside = DirEntry(S(t / "report.csv")).TempName();
    EXPECT_EQ("csv", Str(beside.GetExtension()));
    EXPECT_EQ(0u, beside.GetBase().Search("report"));
    EXPECT_FALSE(DirEntry(S(t / "nofolder\\x.txt")).TempName().IsValid());
    EXPECT_TRUE(DirEntry().TempName().HasTempPath());
}

// Names outside the ANSI code page, and paths beyond the platform's 260
// bytes, reach the right file in every operation.
TEST(DirEntryFiles, UTF8AndLongNames)
{
    Scratch t("names");
    std::string deep = t.Path();
    for (int i = 0; i < 4; ++i)
        deep += "\\" + std::string(70, char('a' + i));
    for (std::string const &folder : {t / "\xCE\xB1\xCE\xB2", deep, deep + "\\\xCE\xB1"}) {
        SCOPED_TRACE(folder.size());
        std::string const snow = folder + "\\\xE2\x98\x83.txt", copy = folder + "\\copy", moved = folder + "\\moved";
        DirEntry dir(S(folder));
        EXPECT_FALSE(dir.Exists());
        EXPECT_TRUE(dir.MakeDir(true));
        EXPECT_TRUE(dir.IsNormalDir());
        ASSERT_TRUE(WriteAll(snow, "snow"));
        DirEntry f(S(snow));
        EXPECT_TRUE(f.IsUTF8());
        EXPECT_TRUE(f.IsExistingFile());
        EXPECT_TRUE(f.CanWriteTo());
        EXPECT_TRUE(f.CopyTo(DirEntry(S(copy))));
        EXPECT_FALSE(f.MoveTo(DirEntry(S(copy))));
        EXPECT_TRUE(f.MoveToSave(DirEntry(S(copy))));
        EXPECT_TRUE(DirEntry(S(copy)).MoveTo(DirEntry(S(moved))));
        EXPECT_EQ("snow", ReadAll(moved));
        DirEntry tmp = dir.TempName();
        EXPECT_TRUE(tmp.IsValid() && !tmp.Exists());
        EXPECT_TRUE(DirEntry(S(moved)).Kill());
        EXPECT_TRUE(dir.Kill());
        EXPECT_FALSE(fstest::Present(folder));
    }
    // A flagged name that is plain ASCII takes the same road.
    SString flagged = S(t / "plain.txt");
    flagged.SetIsUTF8();
    ASSERT_TRUE(WriteAll(t / "plain.txt", "p"));
    EXPECT_TRUE(DirEntry(flagged).Kill());
}

TEST(DirEntryFiles, NoHeapGrowthOverRepeatedOperations)
{
    Scratch t("leak");
    ASSERT_TRUE(WriteAll(t / "a.txt", "a"));
    auto round = [&] {
        DirEntry a(S(t / "a.txt")), b(S(t / "b.txt")), d(S(t / "d\\e"));
        a.CopyTo(b);
        b.CopyTo(a, true);
        b.MoveToSave(a);
        a.CopyTo(b);
        b.Kill();
        d.MakeDir(true);
        d.Kill();
        DirEntry(S(t / "d")).Kill();
        (void)a.TempName();
        (void)a.CanWriteTo();
        (void)a.GetFullW(true);
        (void)(a + DirEntry(SString("x\\y.z"))).GetFullLimited(10);
    };
    for (int i = 0; i < 20; ++i)
        round();
    auto before = kstest::CurrentHeapUsage();
    for (int i = 0; i < 200; ++i)
        round();
    auto after = kstest::CurrentHeapUsage();
    EXPECT_LE(after.blocks, before.blocks + 20);
    EXPECT_EQ("a", ReadAll(t / "a.txt"));
}

} // namespace
