// SString behaviour the random comparison with std::string cannot reach.
#include "tests/text/StdText.h"
#include "text/SString.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

using kstest::Text;

TEST(SStringConstruct, Numbers)
{
    EXPECT_EQ("65", Text(SString((unsigned char)65))); // digits, not a character
    EXPECT_EQ("-9223372036854775808", Text(SString((__int64)(-9223372036854775807LL - 1))));
    EXPECT_EQ("007", Text(SString(7, 3)));
    EXPECT_EQ("-007", Text(SString(-7, 4)));
    EXPECT_EQ(int(STR_MAX_LEN), SString(5, 0x7FFFFFFF).Len());
    EXPECT_EQ(301 + 7, SString(1e300).Len()); // wider than any fixed area
}

TEST(SStringConstruct, Substrings)
{
    SString s("abcdef");
    EXPECT_EQ(s.GetStr(), SString(s, 0, STR_TO_END).GetStr()); // shared, not copied
    char const *t = "hello world";
    EXPECT_EQ("world", Text(SString(t, 6, 50, false))); // stops at the terminator
    char raw[6] = {'a', 'b', '\0', 'c', 'd', 'e'};
    SString vouched(raw, 1, 4, true); // no terminator search
    ASSERT_EQ(4, vouched.Len());
    EXPECT_EQ(0, std::memcmp(vouched.GetStr(), "b\0cd\0", 5));
}

TEST(SStringConstruct, WideAndFrameworkText)
{
    SString ansi(L"Gr\u00FC\u00DFe", 1252);
    EXPECT_EQ("Gr\xFC\xDF" "e", Text(ansi));
    EXPECT_FALSE(ansi.IsUTF8());
    SString utf(L"Gr\u00FC\u20AC", 65001);
    EXPECT_EQ("Gr\xC3\xBC\xE2\x82\xAC", Text(utf));
    EXPECT_TRUE(utf.IsUTF8());
    EXPECT_EQ("\x82\xA0", Text(SString(L"\u3042", 932))); // two bytes for one unit
}

TEST(SStringAppend, OverloadsSharingAndFlags)
{
    SString s;
    s += (unsigned char)65;
    s += (short)-2;
    s += -5L;
    s += '\0';
    EXPECT_EQ("65-2-5", Text(s));
    SString utf(L"\u00E4", 65001), empty;
    empty += utf;
    EXPECT_EQ(utf.GetStr(), empty.GetStr()); // an empty string takes a share
    SString plain("x");
    plain += utf;
    EXPECT_TRUE(plain.IsUTF8());
    SString into;
    into.Insert(utf, 7);
    EXPECT_EQ(utf.GetStr(), into.GetStr());
}

TEST(SStringAppend, SeparatorsAndStringLists)
{
    SString s;
    s.AddSeparated("a", ", ");
    s.AddSeparated("b", ", ");
    s.AddSeparated("", ", ");
    s.AddSeparated("d", ';');
    EXPECT_EQ("a, b;d", Text(s));
    char list[16];
    std::memset(list, 'X', sizeof list);
    list[0] = list[1] = '\0';
    SString("one").AddToStringListBuffer(list);
    SString("two").AddToStringListBuffer(list);
    EXPECT_EQ(0, std::memcmp(list, "one\0two\0\0X", 10));
}

// Fills, runs of a character, tokens and Match are compared with a model in StringRandomTest.
TEST(SStringEdit, Utf8MarkerIsRemovedOnce)
{
    SString bom("\xEF\xBB\xBF");
    EXPECT_TRUE(bom.RemoveUTF8Marker());
    EXPECT_TRUE(bom.IsEmpty());
    EXPECT_FALSE(bom.RemoveUTF8Marker());
}

// The bounded case-sensitive replacement is compared with a model in StringRandomTest.
TEST(SStringEdit, PhraseReplacementIgnoringCase)
{
    SString s("Path/TO/path/to");
    s.ReplaceAllPhrasesI("path", "P");
    EXPECT_EQ("P/TO/P/to", Text(s));
    s.ReplaceAllPhrasesI("/to", "", 3);
    EXPECT_EQ("P/TO/P", Text(s));
}

TEST(SStringEdit, PolishUpperCase)
{
    SString::SetLanguage(LanguagePolish);
    SString pl("a\xB9\xEA\xBA\x9F\xB3\xF1\xF3\xBF\x9C");
    pl.ToUpper();
    SString::SetLanguage(0);
    EXPECT_EQ("A\xA5\xCA\xAA\x8F\xA3\xD1\xD3\xAF\x9C", Text(pl));
    EXPECT_EQ("\xA5", Text(SString("\xA5").Lower())); // only ASCII letters fold down
}

TEST(SStringEdit, LineEnds)
{
    SString a("a\r\nb"), b("a\n\rb"), c("a\r\rb");
    a.ConvertLineEnd(LineEndCr);
    b.ConvertLineEnd(LineEndCr);
    char const *before = c.GetStr();
    c.ConvertLineEnd(LineEndCr);
    EXPECT_EQ("a\rb", Text(a));
    EXPECT_EQ("a\rb", Text(b));
    EXPECT_EQ("a\r\rb", Text(c));
    EXPECT_EQ(before, c.GetStr());
    SString d("1\r2\n3\r\n4\n\r5\n\n6");
    d.ConvertLineEnd();
    EXPECT_EQ("1\r\n2\r\n3\r\n4\r\n5\r\n\r\n6", Text(d));
    d.ConvertLineEnd(LineEndLf);
    EXPECT_EQ("1\n2\n3\n4\n5\n\n6", Text(d));
}

TEST(SStringTokens, PositionsAndSharing)
{
    SString p("ab;cd;e;");
    EXPECT_EQ(6, p.GetTokenPos(2, ';'));
    EXPECT_EQ(0, p.GetTokenPos(3, ';')); // that separator is the last byte
    SString path("dir/sub/file");
    EXPECT_EQ(path.GetStr(), path.CopyToLastChar('#').GetStr()); // shared, not copied
}

TEST(SStringSearch, IgnoringCaseAndEnds)
{
    SString abc("abcabc");
    EXPECT_EQ(3u, abc.SearchFromEnd("ABC", true));
    EXPECT_FALSE(abc.EndsOn(""));
    SString s("abcd");
    EXPECT_EQ(STR_ALL_MATCH, s.IMatch(SString("ABCDEF")));
    EXPECT_EQ(0u, s.IMatch(SString("abd")));
}

TEST(SStringCompare, FoldingAndUnsignedBytes)
{
    SString s("abc");
    EXPECT_EQ(CompEqual, s.ICompare(SString("ABC")));
    EXPECT_EQ(CompGreater, s.ICompare("AB"));
    EXPECT_EQ(CompLess, SString("a[").ICompare("AZ")); // letters fold down, to lower case
    EXPECT_TRUE(s.NoCaseEqual(SString("AbC")));
    EXPECT_TRUE(SString("\xE9") > "z");
}

TEST(SStringNumbers, Conversions)
{
    SString const n("1234");
    EXPECT_EQ(1234, int(n)); // also on a const string
    EXPECT_EQ(-42, int(SString("  -42abc")));
    EXPECT_EQ(0u, (unsigned int)SString("-42"));
    EXPECT_EQ(705032704u, (unsigned int)SString("5000000000")); // modulo 2^32
    EXPECT_EQ(18000000000000000000ULL, (unsigned __int64)SString("18000000000000000000"));
    char area[32];
    char *p = area;
    EXPECT_EQ(10, ImpUNToA(4294967295ul, p));
    EXPECT_STREQ("4294967295", p);
    EXPECT_EQ(area + 21, p);
}

TEST(SStringUTF8, Detection)
{
    EXPECT_TRUE(SString("\xC3\xA4").MayBeUTF8());
    EXPECT_FALSE(SString("\xE0\x80\x80").MayBeUTF8()); // overlong
    EXPECT_FALSE(SString("\xED\xA0\x80").MayBeUTF8()); // surrogate
    EXPECT_TRUE(SString("\xF0\x9F\x98\x80").MayBeUTF8());
    EXPECT_FALSE(SString("\xF4\x90\x80\x80").MayBeUTF8()); // above U+10FFFF
    EXPECT_FALSE(SString::MayBeUTF8("ab\xC3\xA4", 3)); // cut inside the sequence
    SString e;
    e.SetIsUTF8();
    EXPECT_FALSE(e.IsUTF8());
}

TEST(SStringUTF8, CodePageConversions)
{
    SString ansi("K\xF6ln \x80");
    SString utf = ansi.AnsiToUTF8(1252);
    EXPECT_EQ("K\xC3\xB6ln \xE2\x82\xAC", Text(utf));
    EXPECT_TRUE(utf.IsUTF8());
    SString back = utf.UTF8ToEnglish();
    EXPECT_EQ(Text(ansi), Text(back));
    EXPECT_FALSE(back.IsUTF8());
    SString ascii("only ascii");
    EXPECT_EQ(ascii.GetStr(), ascii.AnsiToUTF8(1252).GetStr());
    EXPECT_TRUE(ansi.AnsiToUTF8(12345).IsEmpty());          // no such code page
    EXPECT_EQ(Text(utf), Text(utf.UTF8ToAnsi(12345)));            // kept as it was
    EXPECT_EQ("\xB9\xB3", Text(SString(L"\u0105\u0142", 65001).UTF8ToPolish()));
    wchar_t *w = ansi.CreateWCHARArr(1252);
    EXPECT_EQ(std::wstring(L"K\u00F6ln \u20AC"), std::wstring(w));
    delete[] w;
}
