// Behaviour of SString that the random comparison with std::string cannot
// reach: construction, numbers, tokens, line ends, case, UTF-8, and the edge
// cases of searching and comparing.
#include "text/SString.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

static std::string S(SString const &s)
{
    return std::string(s.GetStr(), std::size_t(s.Len()));
}

TEST(SStringConstruct, EmptyFormsAgree)
{
    SString a, b(""), c('\0'), d(static_cast<char const *>(nullptr));
    for (SString const *s : {&a, &b, &c, &d}) {
        EXPECT_EQ(0, s->Len());
        EXPECT_TRUE(!*s);
        ASSERT_NE(nullptr, s->GetStr());
        EXPECT_STREQ("", s->GetStr());
        EXPECT_EQ('\0', s->Back());
        EXPECT_TRUE(*s == a);
    }
}

TEST(SStringConstruct, Numbers)
{
    EXPECT_EQ("65", S(SString((unsigned char)65))); // digits, not a character
    EXPECT_EQ("A", S(SString('A')));
    EXPECT_EQ("-123", S(SString((short)-123)));
    EXPECT_EQ("4294967295", S(SString(4294967295u)));
    EXPECT_EQ("-2147483648", S(SString((long)(-2147483647L - 1))));
    EXPECT_EQ("-9223372036854775808", S(SString((__int64)(-9223372036854775807LL - 1))));
    EXPECT_EQ("18446744073709551615", S(SString((unsigned __int64)18446744073709551615ULL)));
    EXPECT_EQ("007", S(SString(7, 3)));
    EXPECT_EQ("1234", S(SString(1234, 2)));
    EXPECT_EQ("-007", S(SString(-7, 4)));
    EXPECT_EQ(int(STR_MAX_LEN), SString(5, 0x7FFFFFFF).Len());
    EXPECT_EQ("1.500000", S(SString(1.5)));
    EXPECT_EQ(301 + 7, SString(1e300).Len()); // wider than any fixed area
}

TEST(SStringConstruct, Substrings)
{
    SString s("abcdef");
    EXPECT_EQ("ef", S(SString(s, 4, 100)));
    EXPECT_EQ("", S(SString(s, 6, 1)));
    EXPECT_EQ(s.GetStr(), SString(s, 0, STR_TO_END).GetStr()); // shared, not copied
    char const *t = "hello world";
    EXPECT_EQ("world", S(SString(t, 6, STR_TO_END, false)));
    EXPECT_EQ("world", S(SString(t, 6, 50, false))); // stops at the terminator
    EXPECT_EQ("", S(SString(t, 20, 3, false)));       // text shorter than pos
    char raw[6] = {'a', 'b', '\0', 'c', 'd', 'e'};
    SString vouched(raw, 1, 4, true); // no terminator search
    ASSERT_EQ(4, vouched.Len());
    EXPECT_EQ(0, std::memcmp(vouched.GetStr(), "b\0cd\0", 5));
}

TEST(SStringConstruct, WideAndFrameworkText)
{
    SString ansi(L"Gr\u00FC\u00DFe", 1252);
    EXPECT_EQ("Gr\xFC\xDF" "e", S(ansi));
    EXPECT_FALSE(ansi.IsUTF8());
    SString utf(L"Gr\u00FC\u20AC", 65001);
    EXPECT_EQ("Gr\xC3\xBC\xE2\x82\xAC", S(utf));
    EXPECT_TRUE(utf.IsUTF8());
    EXPECT_FALSE(SString(L"", 65001).IsUTF8());
    EXPECT_EQ("\x82\xA0", S(SString(L"\u3042", 932))); // two bytes for one unit
    EXPECT_EQ("from the framework", S(SString(CStringA("from the framework"))));
}

TEST(SStringConstruct, Formatting)
{
    EXPECT_EQ("x=7 y=ab 1.50", S(SString::F("x=%d y=%s %.2f", 7, "ab", 1.5)));
    EXPECT_EQ("1234567890123", S(SString::FromFormat("%I64d", 1234567890123LL)));
    SString s("old");
    std::string big(5000, 'q');
    s.Format("<%s>", big.c_str()); // longer than the first try's room
    EXPECT_EQ("<" + big + ">", S(s));
}

TEST(SStringAssign, ReusesOwnBufferAndForgetsUTF8)
{
    SString s(L"a fairly long text \u00E4", 65001);
    char const *before = s.GetStr();
    s = "short";
    EXPECT_EQ("short", S(s));
    EXPECT_EQ(before, s.GetStr());
    EXPECT_FALSE(s.IsUTF8());
}

TEST(SStringAccess, OutsideTheTextReadsNul)
{
    SString s("xyz");
    EXPECT_EQ('z', s[(short)2]);
    EXPECT_EQ('\0', s[(unsigned short)3]);
    EXPECT_EQ('\0', s[100000]);
    EXPECT_EQ('\0', s[-1]);
    EXPECT_EQ('x', char(s));
}

TEST(SStringAppend, OverloadsSharingAndFlags)
{
    SString s;
    s += (unsigned char)65;
    s += (short)-2;
    s += 3u;
    s += -5L;
    s += 6ul;
    s += '\0';
    EXPECT_EQ("65-23-56", S(s));
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
    s.AddSeparated("c", "");
    s.AddSeparated("d", ';');
    s.AddSeparated("e", '\0');
    EXPECT_EQ("a, bc;de", S(s));
    char list[16];
    std::memset(list, 'X', sizeof list);
    list[0] = list[1] = '\0';
    SString("one").AddToStringListBuffer(list);
    SString("two").AddToStringListBuffer(list);
    EXPECT_EQ(0, std::memcmp(list, "one\0two\0\0X", 10));
}

TEST(SStringAppend, AllocatedBuffers)
{
    SString s("previous");
    std::memcpy(s.AllocStrBuf(4), "wxyz", 4);
    EXPECT_EQ("wxyz", S(s));
    char *q = s.AllocStrCapBuf(100);
    EXPECT_EQ(0, s.Len());
    std::memset(q, 'k', 100); // the promised room is writable
    q[100] = '\0';
}

TEST(SStringEdit, RunsFillsAndMarkers)
{
    SString u("--a-b--");
    u.EraseAllChars('-');
    EXPECT_EQ("ab", S(u));
    SString w("   pad  ");
    w.Trim();
    EXPECT_EQ("pad", S(w));
    w.Expand(5, '.');
    EXPECT_EQ("pad..", S(w));
    SString f("abcdef"), g("ab");
    f.Fill(3, '*');
    g.Fill(3, '*');
    EXPECT_EQ("***def", S(f));
    EXPECT_EQ("***", S(g));
    SString z("1 0 2");
    z.SpaceToZero();
    EXPECT_EQ("10002", S(z));
    z.ZeroToSpace();
    EXPECT_EQ("1   2", S(z));
    SString bom("\xEF\xBB\xBF");
    EXPECT_TRUE(bom.RemoveUTF8Marker());
    EXPECT_TRUE(bom.IsEmpty());
    EXPECT_FALSE(bom.RemoveUTF8Marker());
}

TEST(SStringEdit, PhraseReplacementBounds)
{
    SString u("a-abc");
    // a first byte inside the bound leads to an occurrence beyond it
    u.ReplaceAllPhrases("abc", "Q", 0, 1);
    EXPECT_EQ("a-Q", S(u));
    SString s("Path/TO/path/to");
    s.ReplaceAllPhrasesI("path", "P");
    EXPECT_EQ("P/TO/P/to", S(s));
    s.ReplaceAllPhrasesI("/to", "", 3);
    EXPECT_EQ("P/TO/P", S(s));
}

TEST(SStringEdit, PolishUpperCase)
{
    SString::SetLanguage(LanguagePolish);
    EXPECT_EQ(LanguagePolish, SString::m_staticLanguageId);
    SString pl("a\xB9\xEA\xBA\x9F\xB3\xF1\xF3\xBF\x9C");
    pl.ToUpper();
    SString::SetLanguage(0);
    EXPECT_EQ("A\xA5\xCA\xAA\x8F\xA3\xD1\xD3\xAF\x9C", S(pl));
    SString other("\xB9");
    other.ToUpper();
    EXPECT_EQ("\xB9", S(other));
    EXPECT_EQ("\xA5", S(SString("\xA5").Lower())); // only ASCII letters fold down
}

TEST(SStringEdit, LineEnds)
{
    SString a("a\r\nb"), b("a\n\rb"), c("a\r\rb");
    a.ConvertLineEnd(LineEndCr);
    b.ConvertLineEnd(LineEndCr);
    char const *before = c.GetStr();
    c.ConvertLineEnd(LineEndCr);
    EXPECT_EQ("a\rb", S(a));
    EXPECT_EQ("a\rb", S(b));
    EXPECT_EQ("a\r\rb", S(c));
    EXPECT_EQ(before, c.GetStr());
    SString d("1\r2\n3\r\n4\n\r5\n\n6");
    d.ConvertLineEnd();
    EXPECT_EQ("1\r\n2\r\n3\r\n4\r\n5\r\n\r\n6", S(d));
    d.ConvertLineEnd(LineEndLf);
    EXPECT_EQ("1\n2\n3\n4\n5\n\n6", S(d));
}

TEST(SStringTokens, FieldsAndPositions)
{
    SString s("a;;b");
    EXPECT_EQ(3u, s.GetTokenCount(';'));
    EXPECT_EQ("", S(s.GetToken(1, ';')));
    EXPECT_EQ("b", S(s.GetToken(2, ';')));
    EXPECT_EQ("", S(s.GetToken(5, ';')));
    EXPECT_EQ(0u, SString().GetTokenCount(';'));
    EXPECT_EQ("", S(SString(";x").GetToken(0, ';')));
    SString p("ab;cd;e;");
    EXPECT_EQ(0, p.GetTokenPos(0, ';'));
    EXPECT_EQ(6, p.GetTokenPos(2, ';'));
    EXPECT_EQ(0, p.GetTokenPos(3, ';')); // that separator is the last byte
    EXPECT_EQ(0, p.GetTokenPos(4, ';'));
    SString path("dir/sub/file");
    EXPECT_EQ("dir/sub", S(path.CopyToLastChar('/')));
    EXPECT_EQ(path.GetStr(), path.CopyToLastChar('#').GetStr());
}

TEST(SStringTokens, AllTokensTrimmed)
{
    auto v = SString(" a , b").GetAllTokens(',');
    ASSERT_EQ(2u, v.size());
    EXPECT_EQ("a", S(v[0]));
    EXPECT_EQ("b", S(v[1]));
    auto w = SString("x,, y z ,").GetAllTokens(',');
    ASSERT_EQ(4u, w.size());
    EXPECT_EQ("", S(w[1]));
    EXPECT_EQ("y z", S(w[2]));
    EXPECT_TRUE(SString().GetAllTokens(',').empty());
}

TEST(SStringSearch, EdgesOfTheSearches)
{
    SString s("abcabc");
    EXPECT_EQ(STR_NOT_FOUND, s.SearchBackward("bc", 5)); // no room for the phrase at 5
    EXPECT_EQ(4u, s.SearchBackward("bc", 4));
    EXPECT_EQ(3u, s.SearchFromEnd("ABC", true));
    EXPECT_EQ(5u, s.SearchFromEnd("C", true));
    EXPECT_EQ(STR_NOT_FOUND, s.SearchFromEnd("ABC"));
    EXPECT_EQ(3u, SString("xxXAbc").NoCaseSearch("aB"));
    EXPECT_TRUE(s.EndsOn("cabc"));
    EXPECT_FALSE(s.EndsOn(""));
}

TEST(SStringSearch, Match)
{
    SString s("abcd");
    EXPECT_EQ(2u, s.Match(SString("abXd")));
    EXPECT_EQ(STR_ALL_MATCH, s.Match(SString("abcdef")));
    EXPECT_EQ(2u, s.Match(SString("ab")));
    EXPECT_EQ(STR_ALL_MATCH, SString().Match(SString("x")));
    EXPECT_EQ(3u, s.Match("abc"));
    EXPECT_EQ(STR_ALL_MATCH, s.IMatch(SString("AB")));
    EXPECT_EQ(STR_ALL_MATCH, s.IMatch(SString("ABCDEF")));
    EXPECT_EQ(0u, s.IMatch(SString("abd")));
}

TEST(SStringCompare, FoldingAndUnsignedBytes)
{
    SString s("abc");
    EXPECT_EQ(CompLess, s.Compare(SString("ab\xE0")));
    EXPECT_EQ(CompEqual, s.Compare("abzz", 2));
    EXPECT_EQ(CompEqual, s.ICompare(SString("ABC")));
    EXPECT_EQ(CompLess, s.ICompare(SString("ABD")));
    EXPECT_EQ(CompGreater, s.ICompare("AB"));
    EXPECT_EQ(CompLess, SString("a[").ICompare("AZ")); // letters fold down, to lower case
    EXPECT_TRUE(s.NoCaseEqual(SString("AbC")));
    EXPECT_FALSE(s.NoCaseEqual(SString("AbCd")));
    EXPECT_TRUE(SString("\xE9") > "z");
}

TEST(SStringCompare, NullPointerIsTheEmptyText)
{
    char const *null = nullptr;
    SString empty, text("x");
    EXPECT_TRUE(empty == null);
    EXPECT_TRUE(null == empty);
    EXPECT_FALSE(text == null);
    EXPECT_TRUE(null != text);
    EXPECT_TRUE(null <= text);
    EXPECT_TRUE(null <= empty);
    EXPECT_TRUE(null < text);
    EXPECT_TRUE(text > null);
    EXPECT_FALSE(null >= text);
}

TEST(SStringConcat, Operators)
{
    SString a("ab");
    EXPECT_EQ("abcd", S(a + SString("cd")));
    EXPECT_EQ("xab!", S("x" + a + '!'));
    EXPECT_EQ("!ab", S('!' + a));
    EXPECT_EQ("ab", S(a));
}

TEST(SStringClassify, Predicates)
{
    EXPECT_TRUE(SString("abcXYZ").IsAlpha());
    EXPECT_FALSE(SString("a\xE4").IsAlpha());
    EXPECT_TRUE(SString("ab12").IsAlphaNumeric());
    EXPECT_FALSE(SString("ab 12").IsAlphaNumeric());
    EXPECT_FALSE(SString("-1").IsNumeric());
    EXPECT_TRUE(SString().IsNumeric());
    EXPECT_TRUE(SString("-").IsNumber());
    EXPECT_FALSE(SString("1-2").IsNumber());
    EXPECT_FALSE(SString("aBc").IsLower());
    EXPECT_TRUE(SString("ABC 1!").IsUpper());
}

TEST(SStringClassify, ToBool)
{
    EXPECT_TRUE(SString("TRUE").ToBool());
    EXPECT_FALSE(SString("False").ToBool());
    EXPECT_TRUE(SString("2").ToBool());
    EXPECT_FALSE(SString("0").ToBool());
    EXPECT_FALSE(SString("2x").ToBool());
    EXPECT_FALSE(SString("").ToBool());
    EXPECT_FALSE(SString("yes").ToBool());
}

TEST(SStringNumbers, Conversions)
{
    SString const n("1234");
    EXPECT_EQ(1234, int(n)); // also on a const string
    EXPECT_EQ((unsigned char)(1234 & 0xFF), (unsigned char)n);
    EXPECT_EQ(-42, int(SString("  -42abc")));
    EXPECT_EQ(0u, (unsigned int)SString("-42"));
    EXPECT_EQ(0u, (unsigned int)SString(" 42"));
    EXPECT_EQ(705032704u, (unsigned int)SString("5000000000")); // modulo 2^32
    EXPECT_DOUBLE_EQ(2.5, double(SString("2.5")));
    EXPECT_EQ(-9000000000LL, (__int64)SString("-9000000000"));
    EXPECT_EQ(18000000000000000000ULL, (unsigned __int64)SString("18000000000000000000"));
    char area[32];
    char *p = area;
    EXPECT_EQ(10, ImpUNToA(4294967295ul, p));
    EXPECT_STREQ("4294967295", p);
    EXPECT_EQ(area + 21, p);
}

TEST(SStringUTF8, Detection)
{
    EXPECT_FALSE(SString("plain ascii").MayBeUTF8());
    EXPECT_TRUE(SString("\xC3\xA4").MayBeUTF8());
    EXPECT_FALSE(SString("\xC0\x80").MayBeUTF8());
    EXPECT_FALSE(SString("\xE0\x80\x80").MayBeUTF8()); // overlong
    EXPECT_FALSE(SString("\xED\xA0\x80").MayBeUTF8()); // surrogate
    EXPECT_TRUE(SString("\xF0\x9F\x98\x80").MayBeUTF8());
    EXPECT_FALSE(SString("\xF4\x90\x80\x80").MayBeUTF8()); // above U+10FFFF
    EXPECT_FALSE(SString("\xE4\xF6\xFC").MayBeUTF8());
    EXPECT_FALSE(SString::MayBeUTF8("ab\xC3\xA4", 3)); // cut inside the sequence
    SString e;
    e.SetIsUTF8();
    EXPECT_FALSE(e.IsUTF8());
}

TEST(SStringUTF8, CodePageConversions)
{
    SString ansi("K\xF6ln \x80");
    SString utf = ansi.AnsiToUTF8(1252);
    EXPECT_EQ("K\xC3\xB6ln \xE2\x82\xAC", S(utf));
    EXPECT_TRUE(utf.IsUTF8());
    SString back = utf.UTF8ToEnglish();
    EXPECT_EQ(S(ansi), S(back));
    EXPECT_FALSE(back.IsUTF8());
    SString ascii("only ascii");
    EXPECT_EQ(ascii.GetStr(), ascii.AnsiToUTF8(1252).GetStr());
    EXPECT_EQ(utf.GetStr(), utf.AnsiToUTF8(1252).GetStr()); // already flagged
    EXPECT_TRUE(ansi.AnsiToUTF8(12345).IsEmpty());          // no such code page
    EXPECT_EQ(S(utf), S(utf.UTF8ToAnsi(12345)));            // kept as it was
    EXPECT_EQ("\xB9\xB3", S(SString(L"\u0105\u0142", 65001).UTF8ToPolish()));
    EXPECT_EQ("\xC6", S(SString(L"\u0416", 65001).UTF8ToRussian()));
    EXPECT_EQ("\xD9", S(SString(L"\u03A9", 65001).UTF8ToGreek()));
    EXPECT_EQ("\xF0", S(SString(L"\u011F", 65001).UTF8ToTurkish()));
    wchar_t *w = ansi.CreateWCHARArr(1252);
    EXPECT_EQ(std::wstring(L"K\u00F6ln \u20AC"), std::wstring(w));
    delete[] w;
}
