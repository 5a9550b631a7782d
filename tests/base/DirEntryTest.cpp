// DirEntry: parsing, names built from the parts, and file operations under
// failure; every failed move or copy must leave source and target unchanged.
#include "base/DirEntry.h"
#include "tests/base/ScratchFolder.h"
#include "tests/support/LeakLoop.h"

#include <gtest/gtest.h>

#include <string>

using namespace fstest;

namespace {

std::string Str(SString const &s) { return std::string(s.GetStr(), std::size_t(s.Len())); }
std::string Full(char const *s) { return Str(DirEntry(SString(s)).GetFull()); }

TEST(DirEntryParse, PartsKindsAndRoundTrip)
{
    struct { char const *text, *device, *path, *base, *ext; DirEntryFlag kind; } const cases[] = {
        {"C:\\dir\\file.txt", "C:", "\\dir\\", "file", "txt", DirFlagAbsolute},
        {"C:file.c", "C:", "", "file", "c", DirFlagRelative},
        {"//server/share/dir/f.c", "//server/share", "/dir/", "f", "c", DirFlagAbsolute},
        {"dir\\sub\\x.tar.gz", "", "dir\\sub\\", "x.tar", "gz", DirFlagRelative},
        {"a\\..", "", "a\\", "..", "", DirFlagRelative},
        {".bashrc", "", "", "", "bashrc", DirFlagRelative},
        {"file.", "", "", "file.", "", DirFlagRelative},
        {"http://host/a/b.html", "http:", "//host/a/", "b", "html", DirFlagAbsolute},
    };
    for (auto const &c : cases) {
        DirEntry e{SString(c.text)};
        SCOPED_TRACE(c.text);
        EXPECT_EQ(std::string(c.device) + "|" + c.path + "|" + c.base + "|" + c.ext,
                  Str(e.GetDevice()) + "|" + Str(e.GetPath()) + "|" + Str(e.GetBase()) + "|" + Str(e.GetExtension()));
        EXPECT_EQ(c.kind, e.GetFlag());
        EXPECT_EQ(std::string(c.text), Str(e.GetFull()));
    }
    EXPECT_EQ("C:\\a\\b.txt", Full("C:\\a\\b.txt;C:\\other"));
    for (char const *t : {"", ";x"})
        EXPECT_EQ(DirFlagEmpty, DirEntry(SString(t)).GetFlag()) << t;
}

TEST(DirEntryParse, UTF8LevelsAndClassification)
{
    DirEntry u(SString("C:\\d\xC3\xA9j\xC3\xA0\\caf\xC3\xA9.txt"));
    EXPECT_TRUE(u.IsUTF8());
    EXPECT_FALSE(DirEntry(SString("C:\\caf\xE9.txt")).IsUTF8());
    EXPECT_EQ("C:\\d\xE9j\xE0\\caf\xE9.txt", Str(u.UTF8ToAnsi().GetFull()));

    EXPECT_EQ(3u, DirEntry(SString("C:\\\\a\\b")).Level());
    DirEntry e(SString("C:\\a\\bb\\c.txt"));
    ASSERT_EQ(4u, e.Level());
    EXPECT_EQ("bb", Str(e[2]));
    EXPECT_TRUE(e[4].IsEmpty() && e[-1].IsEmpty());
    EXPECT_EQ("bb", Str(e.GetParentDirName()));

    EXPECT_TRUE(DirEntry(SString("//srv/share")).IsRoot());
    EXPECT_FALSE(DirEntry(SString("\\")).IsRoot());
    EXPECT_TRUE(DirEntry(SString("com0")).HasLegalName());
    for (char const *bad : {"Con.txt.x", "a|b", "trail.", "C:\\dir\\"})
        EXPECT_FALSE(DirEntry(SString(bad)).HasLegalName()) << bad;
    EXPECT_FALSE(DirEntry(SString("C:\\http\\x")).IsHttp());

    DirEntry a(SString("C:\\Dir\\File.TXT")), b(SString("c:/dir/file.txt")), c(SString("c:\\dir\\file.txu"));
    EXPECT_TRUE(a == b && a != c && a < c && !(c < a) && !(a < b || b < a));
    EXPECT_TRUE(DirEntry(SString("C:\\DIR\\file.txt\\more")).Contains(a));
    EXPECT_FALSE(c.Contains(a));
}

TEST(DirEntryNames, JoinChangeWideLimited)
{
    struct { char const *a, *b, *result; } const joins[] = {
        {"C:\\a\\", "\\b.txt", "C:\\a\\b.txt"},
        {"C:\\a", "C:\\a\\b\\c", "C:\\a\\b\\c"},
        {"C:\\a\\b\\c", "c:\\A\\b", "C:\\a\\b\\c"},
        {"C:\\a", "D:\\x\\y.txt", "C:\\a\\y.txt"},
    };
    for (auto const &j : joins) {
        DirEntry a{SString(j.a)};
        EXPECT_EQ(std::string(j.result), Str((a + DirEntry(SString(j.b))).GetFull())) << j.a << " + " << j.b;
        EXPECT_EQ(std::string(j.a), Str(a.GetFull()));
        a += DirEntry(SString(j.b));
        EXPECT_EQ(std::string(j.result), Str(a.GetFull()));
    }

    DirEntry e(SString("C:\\dir\\name.txt"));
    EXPECT_EQ("name", Str(e.ChangeBase(SString("other"))));
    EXPECT_EQ("txt", Str(e.ChangeExtension(SString())));
    EXPECT_EQ("other", Str(e.ChangeName(SString("a.b.c"))));
    EXPECT_EQ("c", Str(e.GetExtension()));
    EXPECT_EQ("\\dir\\", Str(e.ChangePath(SString("\\x\\y"))));
    EXPECT_EQ("a.b.c", Str(e.CutName()));
    EXPECT_EQ("C:\\x\\y\\", Str(e.GetFull(true)));

    EXPECT_EQ(L"C:\\caf\u00e9.txt", DirEntry(SString("C:\\caf\xE9.txt")).GetFullW());
    std::string longName = "C:\\" + std::string(137, 'a') + "\\" + std::string(155, 'b') + ".txt";
    EXPECT_EQ(L"\\\\?\\" + std::wstring(longName.begin(), longName.end()), DirEntry::GetFullW(S(longName), false));
    EXPECT_EQ(L"\\\\?\\UNC\\server\\share\\f.txt", DirEntry::GetFullW(SString("//server/share/f.txt"), true));
    EXPECT_EQ(L"\\\\?\\C:\\a\\b", DirEntry::GetFullW(SString("C:/a/x/../b"), true));
    EXPECT_EQ(L"\\\\?\\C:\\x", DirEntry::GetFullW(SString("\\\\?\\C:\\x"), true));

    DirEntry l(SString("C:\\first\\second\\third\\name.txt"));
    EXPECT_EQ("C:\\...\\name.txt", Str(l.GetFullLimited(18)));
    DirEntry u(SString("C:\\\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9"));
    for (unsigned n = 0; n < 40; ++n) {
        EXPECT_LE(unsigned(l.GetFullLimited(n).Len()), n);
        SString s = u.GetFullLimited(n);
        EXPECT_LE(unsigned(s.Len()), n);
        EXPECT_TRUE(s.IsEmpty() || MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, s.GetStr(), s.Len(), nullptr, 0) > 0)
            << n;
    }
}

TEST(DirEntryFiles, ExistenceKillAndMakeDir)
{
    Scratch t("kill");
    ASSERT_TRUE(WriteAll(t / "a.txt", "A") && WriteAll(t / "b.txt", "B") && MakeFolder(t / "full") &&
                WriteAll(t / "full\\inner.txt", "I") && MakeFolder(t / "empty"));
    EXPECT_TRUE(DirEntry(S(t / "a.txt")).IsExistingFile() && DirEntry(S(t / "full\\")).IsNormalDir());
    EXPECT_TRUE(DirEntry(S(t / "none.txt")).IsFile() && !DirEntry(S(t / "none.txt")).Exists());
    EXPECT_FALSE(DirEntry(S(t / "*")).Exists());

    // The platform's error after a refused Kill; 0 when it was not refused.
    auto refused = [&](char const *name) { return DirEntry(S(t / name)).Kill() ? 0 : GetLastError(); };
    EXPECT_EQ(DWORD(ERROR_INVALID_NAME), refused("*.txt"));
    EXPECT_EQ(FSysErrNotExists, FSysErrorFromPlatform(refused("missing.txt")));
    EXPECT_EQ(FSysErrNotEmpty, FSysErrorFromPlatform(refused("full")));
    {
        Hold h(t / "a.txt"), g(t / "empty");
        ASSERT_TRUE(h.Held() && g.Held());
        EXPECT_EQ(FSysErrLocked, FSysErrorFromPlatform(refused("a.txt")));
        EXPECT_NE(0u, refused("empty"));
    }
    ASSERT_TRUE(SetFileAttributesA((t / "b.txt").c_str(), FILE_ATTRIBUTE_READONLY));
    EXPECT_FALSE(DirEntry(S(t / "b.txt")).Kill());
    EXPECT_EQ("A|B|I", ReadAll(t / "a.txt") + "|" + ReadAll(t / "b.txt") + "|" + ReadAll(t / "full\\inner.txt"));
    EXPECT_TRUE(IsFolder(t / "empty"));
    EXPECT_TRUE(DirEntry(S(t / "a.txt")).Kill() && DirEntry(S(t / "empty\\")).Kill());
    EXPECT_FALSE(Present(t / "a.txt") || Present(t / "empty"));
    EXPECT_FALSE(DirEntry(SString("C:\\")).Kill());

    EXPECT_FALSE(DirEntry(S(t / "x\\y\\z")).MakeDir());
    EXPECT_FALSE(Present(t / "x"));
    EXPECT_TRUE(DirEntry(S(t / "x/y\\z/")).MakeDir(true));
    EXPECT_TRUE(DirEntry(S(t / "x\\y")).MakeDir()) << "already there";
    EXPECT_FALSE(DirEntry(S(t / "b.txt\\below")).MakeDir(true));
}

TEST(DirEntryFiles, FailedMovesAndCopiesLeaveBothSides)
{
    Scratch t("move");
    std::string const big(100000, 's');
    ASSERT_TRUE(WriteAll(t / "src.txt", big) && WriteAll(t / "dst.txt", "target") && MakeFolder(t / "dir"));
    DirEntry src(S(t / "src.txt")), dst(S(t / "dst.txt"));
    EXPECT_FALSE(src.MoveTo(dst));
    EXPECT_EQ(FSysErrAlreadyExists, FSysErrorFromPlatform(GetLastError()));
    EXPECT_FALSE(src.MoveTo(DirEntry(S(t / "nofolder\\x.txt"))));
    EXPECT_FALSE(src.CopyTo(dst));
    EXPECT_FALSE(src.CopyTo(DirEntry(S(t / "dir")), true));
    EXPECT_FALSE(DirEntry(S(t / "dir")).CopyTo(DirEntry(S(t / "dir2"))));
    EXPECT_FALSE(src.MoveToSave(DirEntry(S(t / "dir"))));
    EXPECT_FALSE(DirEntry(S(t / "none")).MoveToSave(dst));
    {
        Hold h(t / "dst.txt");
        ASSERT_TRUE(h.Held());
        EXPECT_FALSE(src.CopyTo(dst, true));
        EXPECT_FALSE(src.MoveToSave(dst));
    }
    {
        Hold h(t / "src.txt");
        ASSERT_TRUE(h.Held());
        EXPECT_FALSE(src.CopyTo(DirEntry(S(t / "other.txt"))));
        EXPECT_EQ(FSysErrLocked, FSysErrorFromPlatform(GetLastError()));
        EXPECT_FALSE(src.MoveToSave(dst));
    }
    EXPECT_EQ(big + "|target", ReadAll(t / "src.txt") + "|" + ReadAll(t / "dst.txt"));
    EXPECT_EQ(3, CountIn(t.Path())) << "nothing partial or set aside left";

    EXPECT_TRUE(src.CopyTo(src, true) && src.MoveToSave(dst));
    EXPECT_EQ(big, ReadAll(t / "dst.txt"));
    EXPECT_FALSE(Present(t / "src.txt"));
    EXPECT_TRUE(dst.CopyTo(src) && src.MoveTo(DirEntry(S(t / "dir\\moved.txt"))) &&
                DirEntry(S(t / "dir")).MoveTo(DirEntry(S(t / "renamed"))));
    EXPECT_EQ(big, ReadAll(t / "renamed\\moved.txt"));
}

TEST(DirEntryFiles, CanWriteToAndTempName)
{
    Scratch t("canwrite");
    ASSERT_TRUE(WriteAll(t / "f.txt", "content"));
    EXPECT_TRUE(DirEntry(S(t / "f.txt")).CanWriteTo());
    {
        Hold h(t / "f.txt");
        EXPECT_FALSE(DirEntry(S(t / "f.txt")).CanWriteTo());
    }
    EXPECT_FALSE(DirEntry(S(t / "nofolder\\x.txt")).CanWriteTo());
    ASSERT_TRUE(SetFileAttributesA((t / "f.txt").c_str(), FILE_ATTRIBUTE_READONLY));
    EXPECT_FALSE(DirEntry(S(t / "f.txt")).CanWriteTo());
    EXPECT_EQ("content", ReadAll(t / "f.txt"));
    EXPECT_EQ(1, CountIn(t.Path()));

    DirEntry folder(S(t.Path()));
    DirEntry a = folder.TempName();
    ASSERT_TRUE(a.IsValid() && !a.Exists());
    ASSERT_TRUE(WriteAll(Str(a.GetFull()), "taken"));
    for (int i = 0; i < 50; ++i)
        EXPECT_FALSE(folder.TempName() == a);
    DirEntry beside = DirEntry(S(t / "report.csv")).TempName();
    EXPECT_EQ("csv", Str(beside.GetExtension()));
    EXPECT_FALSE(DirEntry(S(t / "nofolder\\x.txt")).TempName().IsValid());
}

TEST(DirEntryFiles, UTF8AndLongNames)
{
    Scratch t("names");
    std::string deep = t.Path();
    for (int i = 0; i < 4; ++i)
        deep += "\\" + std::string(70, char('a' + i));
    for (std::string const &folder : {t / "\xCE\xB1\xCE\xB2", deep + "\\\xCE\xB1"}) {
        SCOPED_TRACE(folder.size());
        std::string const snow = folder + "\\\xE2\x98\x83.txt", copy = folder + "\\copy", moved = folder + "\\moved";
        DirEntry dir(S(folder));
        EXPECT_TRUE(dir.MakeDir(true));
        ASSERT_TRUE(WriteAll(snow, "snow"));
        DirEntry f(S(snow));
        EXPECT_TRUE(f.IsExistingFile() && f.CanWriteTo());
        EXPECT_TRUE(f.CopyTo(DirEntry(S(copy))) && f.MoveToSave(DirEntry(S(copy))) &&
                    DirEntry(S(copy)).MoveTo(DirEntry(S(moved))));
        EXPECT_EQ("snow", ReadAll(moved));
        EXPECT_TRUE(dir.TempName().IsValid());
        EXPECT_TRUE(DirEntry(S(moved)).Kill() && dir.Kill());
        EXPECT_FALSE(Present(folder));
    }
}

TEST(DirEntryFiles, NoHeapGrowthOverRepeatedOperations)
{
    Scratch t("leak");
    ASSERT_TRUE(WriteAll(t / "a.txt", "a"));
    auto round = [&] {
        DirEntry a(S(t / "a.txt")), b(S(t / "b.txt")), d(S(t / "d\\e"));
        a.CopyTo(b);
        b.MoveToSave(a);
        a.CopyTo(b);
        b.Kill();
        d.MakeDir(true);
        d.Kill();
        DirEntry(S(t / "d")).Kill();
        (void)a.TempName();
        (void)a.CanWriteTo();
        (void)(a + DirEntry(SString("x\\y.z"))).GetFullLimited(10);
    };
    EXPECT_TRUE(kstest::NoGrowthOnceSettled({.batch = 50}, round));
    EXPECT_EQ("a", ReadAll(t / "a.txt"));
}

} // namespace
