// Copy on write, the length limit, bad arguments and heap use of SString.
#include "text/SString.h"

#include "tests/support/LeakCounters.h"
#include "tests/support/LeakLoop.h"
#include "tests/text/StdText.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include <windows.h>

using kstest::Text;

// Every operation that changes a string, each on a text it really changes.
struct Edit
{
    char const *name;
    void (*apply)(SString &);
    char const *text = "xx Ab0 c0-Ab\n ab xx";
    bool utf8 = false;
};

static Edit const kEdits[] = {
    {"operator=(SString)", [](SString &s) { s = SString("other"); }},
    {"+=(SString)", [](SString &s) { s += SString("tail"); }},
    {"+=(char)", [](SString &s) { s += 't'; }},
    {"+=(int)", [](SString &s) { s += 77; }},
    {"AddSeparated", [](SString &s) { s.AddSeparated(SString("z"), SString(", ")); }},
    {"Insert(SString, pos)", [](SString &s) { s.Insert(SString("ins"), 4); }},
    {"Insert(SString, from, count, pos)", [](SString &s) { s.Insert(SString("0123"), 1, 2, 4); }},
    {"Insert(char, pos)", [](SString &s) { s.Insert('!', 5); }},
    {"AllocStrBuf", [](SString &s) { std::memcpy(s.AllocStrBuf(3), "new", 3); }},
    {"Clear", [](SString &s) { s.Clear(); }},
    {"Erase", [](SString &s) { s.Erase(3, 4); }},
    {"Cut", [](SString &s) { s.Cut(2, 3); }},
    {"EraseAllChars", [](SString &s) { s.EraseAllChars('x'); }},
    {"Trim", [](SString &s) { s.Trim('x'); }},
    {"Expand", [](SString &s) { s.Expand(40, '_'); }},
    {"Fill beyond", [](SString &s) { s.Fill(30, '*'); }},
    {"Replace(SString, pos)", [](SString &s) { s.Replace(SString("RE"), 3); }},
    {"ReplaceAllChars", [](SString &s) { s.ReplaceAllChars('A', 'Q'); }},
    {"ReplaceAllPhrases same length", [](SString &s) { s.ReplaceAllPhrases(SString("Ab"), SString("Zz")); }},
    {"ReplaceAllPhrases other length", [](SString &s) { s.ReplaceAllPhrases(SString("Ab"), SString("Long")); }},
    {"ReplaceAllPhrasesI", [](SString &s) { s.ReplaceAllPhrasesI(SString("AB"), SString("-")); }},
    {"Reverse", [](SString &s) { s.Reverse(); }},
    {"ToUpper", [](SString &s) { s.ToUpper(); }},
    {"ConvertLineEnd", [](SString &s) { s.ConvertLineEnd(LineEndCr); }},
    {"SetIsUTF8", [](SString &s) { s.SetIsUTF8(); }},
    {"Convert", [](SString &s) { s.Convert(CharSetDos850, CharSetMac); }, "Gr\x81\xE1" "e \x15 1"},
    {"ClearUTF8", [](SString &s) { s.ClearUTF8(); }, "\xC3\xA4 utf", true},
    {"RemoveUTF8Marker", [](SString &s) { s.RemoveUTF8Marker(); }, "\xEF\xBB\xBFmarked"},
};

static SString Fresh(Edit const &e)
{
    SString s(e.text);
    if (e.utf8)
        s.SetIsUTF8();
    return s;
}

TEST(SStringCopyOnWrite, AnEditOnOneSharerLeavesTheOthers)
{
    for (Edit const &e : kEdits) {
        SCOPED_TRACE(e.name);
        SString original = Fresh(e), copy(original), alone = Fresh(e);
        char const *where = original.GetStr();
        ASSERT_EQ(where, copy.GetStr()); // the copy shares before the change
        e.apply(copy);
        EXPECT_EQ(e.text, Text(original));
        EXPECT_EQ(where, original.GetStr());
        EXPECT_EQ(e.utf8, original.IsUTF8());
        e.apply(alone); // the shared path must give what the private path gives
        EXPECT_EQ(Text(alone), Text(copy));
        EXPECT_EQ(alone.IsUTF8(), copy.IsUTF8());
        EXPECT_TRUE(Text(copy) != e.text || copy.IsUTF8() != e.utf8) << "the edit changed nothing";

        // The other ways to take a share, then the original changed.
        SString assigned, whole = original.Copy(0), appended, inserted;
        assigned = original;
        appended += original;
        inserted.Insert(original, 0);
        e.apply(original);
        for (SString const *c : {&assigned, &whole, &appended, &inserted}) {
            EXPECT_EQ(e.text, Text(*c));
            EXPECT_EQ(e.utf8, c->IsUTF8());
        }
    }
}

TEST(SStringCopyOnWrite, ShareIsDroppedWhenTheLastCopyGoes)
{
    SString s("private text");
    char const *where = s.GetStr();
    {
        SString a(s), b(s);
        b = "elsewhere";
    }
    s.Replace('P', 0); // unshared again: changed where it is
    EXPECT_EQ(where, s.GetStr());
    EXPECT_EQ("Private text", Text(s));
}

static SString Full(char c)
{
    SString s;
    s.Fill(STR_MAX_LEN, c);
    return s;
}

TEST(SStringLimit, EditsOfAFullStringStopThere)
{
    SString full = Full('x');
    ASSERT_EQ(int(STR_MAX_LEN), full.Len());
    full += "y";
    full += SString("y");
    full.AddSeparated(SString("y"), ',');
    full.Expand(STR_MAX_LEN + 10, 'y');
    full.Insert('y', STR_MAX_LEN);
    EXPECT_EQ(int(STR_MAX_LEN), full.Len());
    EXPECT_EQ(STR_NOT_FOUND, full.Search('y'));
    // Inserting keeps the front, then the insert, then what room is left of the tail.
    full.Replace('T', STR_MAX_LEN - 1);
    full.Insert(SString("ab"), 3);
    ASSERT_EQ(int(STR_MAX_LEN), full.Len());
    EXPECT_EQ(0, std::strncmp(full.GetStr(), "xxxabxx", 7));
    EXPECT_EQ('x', full.Back());
    // So does a phrase replacement that grows.
    SString s = Full('x');
    s.Replace(SString("ab"), 0);
    s.Replace(SString("ab"), STR_MAX_LEN - 2);
    s.ReplaceAllPhrases(SString("ab"), SString("abcd"));
    ASSERT_EQ(int(STR_MAX_LEN), s.Len());
    EXPECT_EQ(0, std::strncmp(s.GetStr(), "abcdxx", 6));
    EXPECT_EQ('x', s.Back());
}

TEST(SStringLimit, OverlongInputIsCut)
{
    std::string over(STR_MAX_LEN + 10, 'z');
    EXPECT_EQ(int(STR_MAX_LEN), SString(over.c_str()).Len());
    SString appended("ab");
    appended += over.c_str();
    EXPECT_EQ(int(STR_MAX_LEN), appended.Len());
    EXPECT_EQ(0, std::strncmp(appended.GetStr(), "abzz", 4));
    SString filled;
    filled.Fill(0xFFFFFFFFu, 'f');
    EXPECT_EQ(int(STR_MAX_LEN), filled.Len());
    EXPECT_EQ(int(STR_MAX_LEN), SString::F("%*s", int(STR_MAX_LEN) + 5, "").Len());
}

TEST(SStringLimit, LineEndsThatWouldReachTheLimitStay)
{
    SString s;
    s.Fill(STR_MAX_LEN - 1, 'x');
    s.Replace('\n', 5);
    s.ConvertLineEnd(LineEndCrLf); // would make exactly STR_MAX_LEN bytes
    EXPECT_EQ(int(STR_MAX_LEN - 1), s.Len());
    EXPECT_EQ('\n', s[5]);
    s.Erase(0, 1);
    s.ConvertLineEnd(LineEndCrLf);
    EXPECT_EQ(int(STR_MAX_LEN - 1), s.Len());
    EXPECT_EQ("\r\n", Text(s.Copy(4, 2)));
}

TEST(SStringBadInput, NullPointersActAsEmptyText)
{
    char const *null = nullptr;
    SString s("abc");
    s += null;
    s.Insert(null, 1);
    EXPECT_EQ("abc", Text(s));
    EXPECT_EQ(STR_NOT_FOUND, s.Search(null));
    EXPECT_EQ(CompGreater, s.Compare(null));
    EXPECT_TRUE(SString(null).IsEmpty());
    EXPECT_TRUE(SString(static_cast<wchar_t const *>(nullptr), 65001).IsEmpty());
    EXPECT_TRUE(SString::F(null).IsEmpty());
    s = null;
    EXPECT_TRUE(s.IsEmpty());
    SString("x").AddToStringListBuffer(nullptr);
}

TEST(SStringBadInput, OutOfRangePositionsChangeNothing)
{
    SString s("abcdef");
    char const *where = s.GetStr();
    SString keep(s); // shared: a needless private copy would show as a new address
    s.Erase(6, 2);
    s.Replace('x', 6);
    s.Replace(SString("xy"), 0xFFFFFFFFu);
    s.Fill(0, '*');
    s.Insert(SString("xy"), 3, 1, 0);
    s.Cut(100, 2);
    s.ReplaceAllPhrases(SString("ab"), SString("x"), 100, 5);
    s.ReplaceAllPhrasesI(SString("ab"), SString("x"), 0x7FFFFFFF);
    s.ReplaceAllPhrases(SString("zz"), SString("x"));
    s.ToLower();
    s.Trim();
    EXPECT_EQ(where, s.GetStr());
    EXPECT_EQ("abcdef", Text(s));
    EXPECT_EQ("", Text(s.Copy(0xFFFFFFFFu, 3)));
    EXPECT_EQ("", Text(s.GetToken(0xFFFFFFFFu, ';')));
    EXPECT_EQ(STR_NOT_FOUND, s.Search(SString("ab"), 0xFFFFFFFFu));
    EXPECT_EQ(STR_NOT_FOUND, s.SearchBackward(SString("ab"), 0xFFFFFFFFu));
    EXPECT_EQ('\0', s[0xFFFFFFFFu]);
    EXPECT_EQ(CompEqual, s.Compare(SString("abcdxx"), 4));
}

TEST(SStringBadInput, TruncatedSubstringReadsNoFurtherThanAsked)
{
    // Only the first 3 bytes are readable; the terminator search must stop.
    char *page = static_cast<char *>(VirtualAlloc(nullptr, 8192, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE));
    ASSERT_NE(nullptr, page);
    DWORD old;
    ASSERT_TRUE(VirtualProtect(page + 4096, 4096, PAGE_NOACCESS, &old));
    char *edge = page + 4096 - 3;
    std::memcpy(edge, "xyz", 3);
    EXPECT_EQ("yz", Text(SString(edge, 1, 2, false)));
    EXPECT_EQ("yz", Text(SString(edge, 1, 2, true)));
    EXPECT_FALSE(SString::MayBeUTF8(edge, 3));
    VirtualFree(page, 0, MEM_RELEASE);
}

static void ExerciseEverything()
{
    for (Edit const &e : kEdits) {
        SString a = Fresh(e), b(a);
        e.apply(b);
        e.apply(a);
    }
    SString s("Alpha;beta;\xC3\xA4;gamma");
    SString parts[] = {s.Copy(2, 5), s(0, 3), s.Cut(0, 2), s.CopyToLastChar(';'), s.GetToken(1, ';'),
                       s.Lower(), s.Upper(), s.AnsiToUTF8(1252), s.UTF8ToAnsi(1252), s + "x",
                       'c' + s, SString(1.25), SString(L"w\u00E4", 65001), SString::F("%s%d", "a", 1)};
    std::vector<SString> tokens = s.GetAllTokens(';');
    delete[] s.CreateWCHARArr(1252);
    (void)(s.Search(parts[4]) + s.NoCaseSearch(parts[5]) + s.SearchFromEnd(parts[4], true) +
           s.SearchBackward(parts[4], 5) + s.Match(parts[1]) + s.IMatch(parts[6]) +
           unsigned(s.EndsOn(parts[3])) + unsigned(s.Compare(parts[0])) + unsigned(s == parts[2]));
    SString grow;
    for (int i = 0; i < 3000; ++i)
        grow += char('a' + i % 26);
    grow.ReplaceAllPhrases(SString("abc"), SString("ABCD"));
    grow.ReplaceAllPhrasesI(SString("abcd"), SString("z"));
}

TEST(SStringHeap, EveryOperationGivesItsMemoryBack)
{
    EXPECT_TRUE(kstest::NoGrowthOnceSettled({.batch = 1, .bytes = true}, ExerciseEverything));
}

TEST(SStringHeap, CounterSeesAKeptBuffer)
{
    // Shows that the test above could fail: one buffer kept alive is seen.
    kstest::HeapUsage before = kstest::CurrentHeapUsage();
    auto *kept = new SString("kept");
    *kept += " alive";
    EXPECT_EQ(before.blocks + 2, kstest::CurrentHeapUsage().blocks); // the object and its buffer
    delete kept;
    EXPECT_EQ(before.blocks, kstest::CurrentHeapUsage().blocks);
}
