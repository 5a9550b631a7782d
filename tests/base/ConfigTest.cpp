// Configuration files through the platform's profile service.
#include "base/Config.h"
#include "tests/base/ScratchFolder.h"
#include "tests/support/LeakLoop.h"

#include <fstream>
#include <gtest/gtest.h>
#include <random>
#include <string>
#include <windows.h>

namespace {

struct ConfigTest : testing::Test
{
    fstest::Scratch t{"cfg"};
    std::string dir = t.Path(), file = t / "test.ini";
    ~ConfigTest() override { WritePrivateProfileStringA(nullptr, nullptr, nullptr, file.c_str()); } // drops the cache
    void WriteRaw(std::string const &bytes) { std::ofstream(file, std::ios::binary) << bytes; }
};

} // namespace

TEST_F(ConfigTest, LongValuesReadBackWhole)
{
    Config c{SString(file.c_str())};
    c.SetGroup(SString("Main"));
    for (int len : {1022, 1023, 3070, 20000}) {
        std::string v;
        while (int(v.size()) < len)
            v += char('a' + v.size() % 26);
        c.WriteKey(SString("long"), SString(v.c_str()));
        SString back = c.ReadKey(SString("long"));
        ASSERT_EQ(len, back.Len()) << len;
        EXPECT_EQ(v, std::string(back.GetStr()));
    }
    EXPECT_STREQ("fallback", c.ReadKey(SString("absent"), SString("fallback")).GetStr());
}

TEST_F(ConfigTest, KeyListsFollowEveryChange)
{
    Config c{SString(file.c_str())};
    c.SetGroup(SString("Keys"));
    for (int i = 0; i < 1000; ++i)
        c.WriteKey(SString((std::string("key") + std::to_string(i)).c_str()), SString(i));
    EXPECT_EQ(1000, c.GetKeyCount());
    EXPECT_STREQ("key999", c.GetKeyName(999).GetStr());
    EXPECT_STREQ("999", c.ReadKey(static_cast<unsigned short>(999)).GetStr());
    EXPECT_EQ(0, c.ReadKey(c.GetKeyCount()).Len()) << "one past the last key";
    c.WriteKey(SString("extra"), SString("1"));
    EXPECT_EQ(1001, c.GetKeyCount()) << "the list was read again";
    c.DeleteKey(SString("key5"));
    EXPECT_EQ(1000, c.GetKeyCount());
    c.DeleteGroup(SString("Keys"));
    EXPECT_EQ(0, c.GetKeyCount());

    Config d = c;
    d.SetGroup(SString("Other"));
    EXPECT_TRUE(d != c);
}

TEST_F(ConfigTest, Utf8PathsAndValuesTravelByteForByte)
{
    SString path((dir + "\\\xC3\xBC" "ber-\xE2\x82\xAC.ini").c_str());
    path.SetIsUTF8();
    Config c(path);
    c.SetGroup(SString("Gr\xC3\xBC\xC3\x9F" "e"));
    SString value("\xD0\x9F\xD1\x80\xD0\xB8\xD0\xB2\xD0\xB5\xD1\x82 \xE2\x82\xAC 5");
    c.WriteKey(SString("k\xC3\xA9y"), value);
    c.Flush();
    SString back = c.ReadKey(SString("k\xC3\xA9y"));
    EXPECT_STREQ(value.GetStr(), back.GetStr());
    EXPECT_TRUE(back.IsUTF8());
    ASSERT_EQ(1, c.GetKeyCount());
    EXPECT_STREQ("k\xC3\xA9y", c.GetKeyName(0).GetStr());
    std::wstring const wide = std::wstring(dir.begin(), dir.end()) + L"\\\u00FCber-\u20AC.ini";
    EXPECT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesW(wide.c_str())) << "under its real name";
    WritePrivateProfileStringW(nullptr, nullptr, nullptr, wide.c_str());
}

TEST_F(ConfigTest, UnwritableFilesChangeNothing)
{
    for (std::string bad : {dir, dir + "\\missing\\x.ini"}) {
        Config c{SString(bad.c_str())};
        c.SetGroup(SString("G"));
        c.WriteKey(SString("k"), SString("v"));
        EXPECT_EQ(0, c.ReadKey(SString("k")).Len()) << bad;
        EXPECT_EQ(0, c.GetKeyCount());
    }
    WriteRaw("[G]\r\nk=old\r\n");
    fstest::Hold held(file);
    ASSERT_TRUE(held.Held());
    {
        Config c{SString(file.c_str())};
        c.SetGroup(SString("G"));
        c.WriteKey(SString("k"), SString("new"));
        c.Flush();
    }
    char buf[64] = {};
    DWORD got = 0;
    ReadFile(held.h, buf, sizeof buf - 1, &got, nullptr);
    EXPECT_NE(std::string::npos, std::string(buf, got).find("k=old")) << "the held file kept its value";
}

TEST_F(ConfigTest, MalformedFilesAreReadAsThePlatformReadsThem)
{
    WriteRaw("junk before any group\r\n[A]\r\nx=1\r\nx=2\r\n[B\r\ny=3\r\nno equals sign\r\n[C]\r\n=empty name\r\nz=4");
    Config c{SString(file.c_str())};
    c.SetGroup(SString("A"));
    EXPECT_STREQ("1", c.ReadKey(SString("x")).GetStr()) << "the first of duplicate keys";
    c.SetGroup(SString("C"));
    EXPECT_STREQ("4", c.ReadKey(SString("z")).GetStr()) << "a last line without its line end";
    // Binary junk: any answer, never a crash or a hang.
    std::mt19937 rng(3);
    for (int round = 0; round < 20; ++round) {
        std::string bytes(2000, '\0');
        for (char &ch : bytes)
            ch = static_cast<char>(rng() % 4 ? 'a' + rng() % 26 : rng());
        bytes.insert(rng() % 1000, "\r\n[G]\r\n");
        WritePrivateProfileStringA(nullptr, nullptr, nullptr, file.c_str());
        WriteRaw(bytes);
        Config junk{SString(file.c_str())};
        junk.SetGroup(SString("G"));
        for (unsigned short i = 0; i <= junk.GetKeyCount(); ++i)
            junk.ReadKey(i);
        EXPECT_LE(junk.GetKeyCount(), 2000);
    }
}

TEST(ConfigDefault, TheApplicationsFileInTheWindowsFolder)
{
    Config c;
    char windows[MAX_PATH];
    GetWindowsDirectoryA(windows, MAX_PATH);
    std::string expected = std::string(windows) + "\\ConfigTest.ini";
    EXPECT_EQ(0, lstrcmpiA(expected.c_str(), c.GetPathName().GetStr())) << c.GetPathName().GetStr();
    EXPECT_EQ(0, c.GetGroup().Len());
}

TEST(ConfigLeaks, KeyListsAndRecordsAreFreed)
{
    fstest::Scratch t("cfgleak");
    std::string file = t / "leak.ini";
    {
        Config w{SString(file.c_str())};
        w.SetGroup(SString("G"));
        w.WriteKey(SString("a"), SString("1"));
    }
    auto round = [&] {
        Config c{SString(file.c_str())};
        c.SetGroup(SString("G"));
        c.GetKeyCount();
        Config d = c;
        d.ReadKey(SString("a"));
    };
    EXPECT_TRUE(kstest::NoGrowthOnceSettled({.batch = 25}, round));
    WritePrivateProfileStringA(nullptr, nullptr, nullptr, file.c_str());
}
