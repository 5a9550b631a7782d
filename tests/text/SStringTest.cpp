// Behaviour of SString member families, one group of cases per family.
#include "text/SString.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

static std::string S(SString const &s)
{
    return std::string(s.GetStr(), std::size_t(s.Len()));
}

// ------------------------------------------------------------ construction

TEST(SStringConstruct, EmptyFormsAgree)
{
    SString a;
    SString b("");
    SString c(static_cast<char const *>(nullptr));
    SString d('\0');
    for (SString const *s : {&a, &b, &c, &d}) {
        EXPECT_EQ(0, s->Len());
        EXPECT_TRUE(s->IsEmpty());
        EXPECT_TRUE(!*s);
        ASSERT_NE(nullptr, s->GetStr());
        EXPECT_STREQ("", s->GetStr());
        EXPECT_EQ('\0', s->Front());
        EXPECT_EQ('\0', s->Back());
    }
    EXPECT_TRUE(a == b);
    EXPECT_TRUE(a == c);
}

TEST(SStringConstruct, CharacterVersusDigits)
{
    EXPECT_EQ("65", S(SString((unsigned char)65)));
    EXPECT_EQ("A", S(SString('A')));
    EXPECT_EQ("-123", S(SString((short)-123)));
    EXPECT_EQ("4294967295", S(SString(4294967295u)));
    EXPECT_EQ("-2147483648", S(SString((long)(-2147483647L - 1))));
    EXPECT_EQ("4000000000", S(SString(4000000000ul)));
    EXPECT_EQ("-9223372036854775808", S(SString((__int64)(-9223372036854775807LL - 1))));
    EXPECT_EQ("18446744073709551615", S(SString((unsigned __int64)18446744073709551615ULL)));
    EXPECT_EQ("0", S(SString(0u)));
    EXPECT_EQ("42", S(SString(42)));
}

TEST(SStringConstruct, WidthPadsWithZeros)
{
    EXPECT_EQ("007", S(SString(7, 3)));
    EXPECT_EQ("1234", S(SString(1234, 2)));
    EXPECT_EQ("0", S(SString(0, 0)));
    EXPECT_EQ("-007", S(SString(-7, 4)));
    EXPECT_EQ("-7", S(SString(-7, 2)));
    SString wide(5, 0x7FFFFFFF);
    EXPECT_EQ(int(STR_MAX_LEN), wide.Len());
    EXPECT_EQ('0', wide[0u]);
    EXPECT_EQ('5', wide.Back());
}

TEST(SStringConstruct, DoubleUsesSixDecimals)
{
    EXPECT_EQ("1.500000", S(SString(1.5)));
    EXPECT_EQ("-0.250000", S(SString(-0.25)));
    SString huge(1e300);
    EXPECT_EQ(301 + 7, huge.Len());
    EXPECT_EQ('1', huge.Front());
}

TEST(SStringConstruct, SubstringOfSString)
{
    SString s("abcdef");
    EXPECT_EQ("cde", S(SString(s, 2, 3)));
    EXPECT_EQ("ef", S(SString(s, 4, 100)));
    EXPECT_EQ("", S(SString(s, 6, 1)));
    EXPECT_EQ("", S(SString(s, 2, 0)));
    SString whole(s, 0, STR_TO_END);
    EXPECT_EQ(s.GetStr(), whole.GetStr()); // shared, not copied
    s.SetIsUTF8();
    EXPECT_TRUE(SString(s, 1, 2).IsUTF8());
}

TEST(SStringConstruct, SubstringOfCharPointer)
{
    char const *t = "hello world";
    EXPECT_EQ("world", S(SString(t, 6, STR_TO_END, false)));
    EXPECT_EQ("lo w", S(SString(t, 3, 4, false)));
    EXPECT_EQ("world", S(SString(t, 6, 50, false))); // stops at the terminator
    EXPECT_EQ("", S(SString(t, 20, 3, false)));       // text shorter than pos
    EXPECT_EQ("", S(SString(t, 11, 3, false)));
    EXPECT_EQ("", S(SString(static_cast<char const *>(nullptr), 0, 5, false)));
    char raw[6] = {'a', 'b', '\0', 'c', 'd', 'e'};
    SString vouched(raw, 1, 4, true); // no terminator search
    ASSERT_EQ(4, vouched.Len());
    EXPECT_EQ(0, std::memcmp(vouched.GetStr(), "b\0cd", 4));
    EXPECT_EQ('\0', vouched.GetStr()[4]);
}

TEST(SStringConstruct, WideTextByCodePage)
{
    SString ansi(L"Gr\u00FC\u00DFe", 1252);
    EXPECT_EQ("Gr\xFC\xDF" "e", S(ansi));
    EXPECT_FALSE(ansi.IsUTF8());
    SString utf(L"Gr\u00FC\u00DFe", 65001);
    EXPECT_EQ("Gr\xC3\xBC\xC3\x9F" "e", S(utf));
    EXPECT_TRUE(utf.IsUTF8());
    SString euro(L"\u20AC", 65001);
    EXPECT_EQ("\xE2\x82\xAC", S(euro));
    EXPECT_TRUE(SString(static_cast<wchar_t const *>(nullptr), 1252).IsEmpty());
    EXPECT_TRUE(SString(L"", 65001).IsEmpty());
    EXPECT_FALSE(SString(L"", 65001).IsUTF8());
}

TEST(SStringConstruct, FrameworkString)
{
    CStringA framework("from the framework");
    EXPECT_EQ("from the framework", S(SString(framework)));
    EXPECT_TRUE(SString(CStringA()).IsEmpty());
}

TEST(SStringConstruct, Formatting)
{
    EXPECT_EQ("x=7 y=ab 1.50", S(SString::F("x=%d y=%s %.2f", 7, "ab", 1.5)));
    EXPECT_EQ("[   42]", S(SString::FromFormat("[%5d]", 42)));
    EXPECT_EQ("1234567890123", S(SString::F("%I64d", 1234567890123LL)));
    EXPECT_TRUE(SString::F(nullptr).IsEmpty());
    SString s("old");
    s.Format("%s-%s", "new", "text");
    EXPECT_EQ("new-text", S(s));
    std::string big(5000, 'q');
    s.Format("<%s>", big.c_str()); // longer than any first guess of the room
    EXPECT_EQ("<" + big + ">", S(s));
}

// ------------------------------------------------------------ assignment, access

TEST(SStringAssign, FromCharPointerReusesPrivateBuffer)
{
    SString s("a fairly long text to start with");
    char const *before = s.GetStr();
    s = "short";
    EXPECT_EQ("short", S(s));
    EXPECT_EQ(before, s.GetStr());
    s = static_cast<char const *>(nullptr);
    EXPECT_TRUE(s.IsEmpty());
    s = "abcdef";
    s = s.GetStr() + 2; // source inside the own buffer
    EXPECT_EQ("cdef", S(s));
}

TEST(SStringAssign, FromCharPointerClearsUTF8Flag)
{
    SString s(L"\u00E4", 65001);
    ASSERT_TRUE(s.IsUTF8());
    s = "plain";
    EXPECT_FALSE(s.IsUTF8());
}

TEST(SStringAccess, IndexAndEnds)
{
    SString s("xyz");
    EXPECT_EQ('x', s[0]);
    EXPECT_EQ('y', s[1u]);
    EXPECT_EQ('z', s[(short)2]);
    EXPECT_EQ('\0', s[(unsigned short)3]);
    EXPECT_EQ('\0', s[100000]); // outside the text reads as NUL
    EXPECT_EQ('\0', s[-1]);
    EXPECT_EQ('x', s.Front());
    EXPECT_EQ('x', char(s));
    EXPECT_EQ('z', s.Back());
}

// ------------------------------------------------------------ appending, inserting

TEST(SStringAppend, AllOverloads)
{
    SString s;
    s += SString("ab");
    s += "cd";
    s += 'e';
    s += '\0';
    s += (unsigned char)65;
    s += (short)-2;
    s += 3;
    s += 4u;
    s += -5L;
    s += 6ul;
    s += static_cast<char const *>(nullptr);
    EXPECT_EQ("abcde65-234-56", S(s));
}

TEST(SStringAppend, EmptyTakesShareAndFlagsCombine)
{
    SString src(L"\u00E4", 65001);
    SString s;
    s += src;
    EXPECT_EQ(src.GetStr(), s.GetStr());
    SString plain("x");
    plain += src;
    EXPECT_TRUE(plain.IsUTF8());
    EXPECT_EQ("x\xC3\xA4", S(plain));
    SString self("ab");
    self += self;
    EXPECT_EQ("abab", S(self));
    self += self.GetStr() + 1; // source inside the buffer that grows
    EXPECT_EQ("ababbab", S(self));
}

TEST(SStringAppend, ManyAppendsKeepEveryByte)
{
    SString s;
    std::string model;
    for (int i = 0; i < 20000; ++i) {
        char c = char('a' + i % 26);
        s += c;
        model += c;
    }
    EXPECT_EQ(model, S(s));
}

TEST(SStringAppend, AddSeparated)
{
    SString s;
    s.AddSeparated("a", ", ");
    s.AddSeparated("b", ", ");
    s.AddSeparated("", ", ");
    s.AddSeparated("c", "");
    s.AddSeparated("d", ';');
    s.AddSeparated("e", '\0');
    EXPECT_EQ("a, bc;de", S(s));
}

TEST(SStringAppend, StringListBuffer)
{
    char list[32];
    std::memset(list, 'X', sizeof list);
    list[0] = list[1] = '\0';
    SString("one").AddToStringListBuffer(list);
    SString("two").AddToStringListBuffer(list);
    EXPECT_EQ(0, std::memcmp(list, "one\0two\0\0", 9));
    EXPECT_EQ('X', list[9]);
    SString("x").AddToStringListBuffer(nullptr);
}

TEST(SStringInsert, Forms)
{
    SString s("held");
    s.Insert(SString("llo wor"), 2);
    EXPECT_EQ("hello world", S(s));
    s.Insert(SString("!?"), 99);
    EXPECT_EQ("hello world!?", S(s));
    s.Insert(SString("0123456789"), 3, 2, 0);
    EXPECT_EQ("34hello world!?", S(s));
    s.Insert(SString("abc"), 4, 1, 0); // from beyond the argument: nothing
    EXPECT_EQ("34hello world!?", S(s));
    s.Insert("<", 0);
    s.Insert('>', 3);
    s.Insert('\0', 1);
    s.Insert(static_cast<char const *>(nullptr), 1);
    EXPECT_EQ("<34>hello world!?", S(s));
    SString e;
    SString shared("whole");
    e.Insert(shared, 5);
    EXPECT_EQ(shared.GetStr(), e.GetStr());
    SString part;
    part.Insert(shared, 1, 3, 0);
    EXPECT_EQ("hol", S(part));
}

TEST(SStringInsert, AllocatedBuffers)
{
    SString s("previous");
    char *p = s.AllocStrBuf(4);
    std::memcpy(p, "wxyz", 4);
    EXPECT_EQ("wxyz", S(s));
    EXPECT_EQ('\0', s.GetStr()[4]);
    char *q = s.AllocStrCapBuf(100);
    EXPECT_EQ(0, s.Len());
    EXPECT_STREQ("", q);
    std::memset(q, 'k', 100); // the promised room is writable
    q[100] = '\0';
}

// ------------------------------------------------------------ removing, replacing

TEST(SStringErase, RangesAndRuns)
{
    SString s("0123456789");
    s.Erase(2, 3);
    EXPECT_EQ("0156789", S(s));
    s.Erase(5, 100);
    EXPECT_EQ("01567", S(s));
    s.Erase(9, 1);
    s.Erase(0, 0);
    EXPECT_EQ("01567", S(s));
    SString t("0123456789");
    EXPECT_EQ("345", S(t.Cut(3, 3)));
    EXPECT_EQ("0126789", S(t));
    EXPECT_EQ("", S(t.Cut(20, 3)));
    SString u("--a-b--");
    u.EraseAllChars('-');
    EXPECT_EQ("ab", S(u));
    SString v("xxhixx");
    v.EraseLeadingChars('x');
    EXPECT_EQ("hixx", S(v));
    v.EraseTrailingChars('x');
    EXPECT_EQ("hi", S(v));
    SString w("   pad  ");
    w.Trim();
    EXPECT_EQ("pad", S(w));
    SString all("....");
    all.Trim('.');
    EXPECT_TRUE(all.IsEmpty());
}

TEST(SStringErase, ClearEmptiesAndRemoveMarker)
{
    SString s("text");
    s.Clear();
    EXPECT_TRUE(s.IsEmpty());
    SString bom("\xEF\xBB\xBF");
    EXPECT_TRUE(bom.RemoveUTF8Marker());
    EXPECT_TRUE(bom.IsEmpty());
    SString bom2("\xEF\xBB\xBFtext");
    EXPECT_TRUE(bom2.RemoveUTF8Marker());
    EXPECT_EQ("text", S(bom2));
    EXPECT_FALSE(bom2.RemoveUTF8Marker());
    SString shortOne("\xEF\xBB");
    EXPECT_FALSE(shortOne.RemoveUTF8Marker());
}

TEST(SStringReplace, ExpandFillReplace)
{
    SString s("ab");
    s.Expand(5, '.');
    EXPECT_EQ("ab...", S(s));
    s.Expand(3, '.');
    EXPECT_EQ("ab...", S(s));
    SString f("abcdef");
    f.Fill(3, '*');
    EXPECT_EQ("***def", S(f));
    SString g("ab");
    g.Fill(3, '*');
    EXPECT_EQ("***", S(g));
    SString r("abcdef");
    r.Replace(SString("XYZ"), 4);
    EXPECT_EQ("abcdXY", S(r));
    r.Replace(SString("Q"), 6);
    r.Replace('!', 0);
    r.Replace('?', 6);
    EXPECT_EQ("!bcdXY", S(r));
    SString c("a.b.c");
    c.ReplaceAllChars('.', '/');
    EXPECT_EQ("a/b/c", S(c));
    SString z("1 0 2");
    z.SpaceToZero();
    EXPECT_EQ("10002", S(z));
    z.ZeroToSpace();
    EXPECT_EQ("1   2", S(z));
    SString rev("abc");
    rev.Reverse();
    EXPECT_EQ("cba", S(rev));
}

TEST(SStringReplace, AllPhrases)
{
    SString s("one two one two one");
    s.ReplaceAllPhrases("one", "1");
    EXPECT_EQ("1 two 1 two 1", S(s));
    s.ReplaceAllPhrases("two", "three");
    EXPECT_EQ("1 three 1 three 1", S(s));
    s.ReplaceAllPhrases("1", "ONE");
    EXPECT_EQ("ONE three ONE three ONE", S(s));
    s.ReplaceAllPhrases(" ", "");
    EXPECT_EQ("ONEthreeONEthreeONE", S(s));
    s.ReplaceAllPhrases("", "x");
    EXPECT_EQ("ONEthreeONEthreeONE", S(s));
    SString aa("aaaa");
    aa.ReplaceAllPhrases("a", "aa"); // the replacement is not searched again
    EXPECT_EQ("aaaaaaaa", S(aa));
}

TEST(SStringReplace, AllPhrasesRespectsStartAndBound)
{
    SString s("xx-xx-xx-xx");
    s.ReplaceAllPhrases("xx", "y", 3, 1);
    EXPECT_EQ("xx-y-xx-xx", S(s));
    SString t("ab--ab");
    t.ReplaceAllPhrases("ab", "Z", 2, 2); // no first byte inside the bound
    EXPECT_EQ("ab--ab", S(t));
    SString u("a-abc");
    // a first byte inside the bound leads to an occurrence beyond it
    u.ReplaceAllPhrases("abc", "Q", 0, 1);
    EXPECT_EQ("a-Q", S(u));
    SString neg("abab");
    neg.ReplaceAllPhrases("ab", "c", -5, 10);
    EXPECT_EQ("cc", S(neg));
}

TEST(SStringReplace, AllPhrasesWithoutCase)
{
    SString s("Path/TO/path/to");
    s.ReplaceAllPhrasesI("path", "P");
    EXPECT_EQ("P/TO/P/to", S(s));
    s.ReplaceAllPhrasesI("/to", "", 3);
    EXPECT_EQ("P/TO/P", S(s));
}

TEST(SStringCase, LowerUpperAndPolish)
{
    SString s("MiXeD 123 \xB9\xEA");
    EXPECT_EQ("mixed 123 \xB9\xEA", S(s.Lower()));
    EXPECT_EQ("MIXED 123 \xB9\xEA", S(s.Upper()));
    EXPECT_EQ("MiXeD 123 \xB9\xEA", S(s));
    SString::SetLanguage(LanguagePolish);
    EXPECT_EQ(LanguagePolish, SString::m_staticLanguageId);
    SString pl("\xB9\xEA\xBA\x9F\xB3\xF1\xF3\xBF\x9C");
    pl.ToUpper();
    SString::SetLanguage(0);
    EXPECT_EQ("\xA5\xCA\xAA\x8F\xA3\xD1\xD3\xAF\x9C", S(pl));
    SString plLower("\xA5");
    plLower.ToLower(); // only ASCII letters fold down
    EXPECT_EQ("\xA5", S(plLower));
}

TEST(SStringLineEnd, ConvertForms)
{
    SString a("a\r\nb");
    a.ConvertLineEnd(LineEndCr);
    EXPECT_EQ("a\rb", S(a));
    SString b("a\n\rb");
    b.ConvertLineEnd(LineEndCr);
    EXPECT_EQ("a\rb", S(b));
    SString c("a\r\rb");
    char const *before = c.GetStr();
    c.ConvertLineEnd(LineEndCr);
    EXPECT_EQ("a\r\rb", S(c));
    EXPECT_EQ(before, c.GetStr());
    SString d("1\r2\n3\r\n4\n\r5\n\n6");
    d.ConvertLineEnd();
    EXPECT_EQ("1\r\n2\r\n3\r\n4\r\n5\r\n\r\n6", S(d));
    d.ConvertLineEnd(LineEndLf);
    EXPECT_EQ("1\n2\n3\n4\n5\n\n6", S(d));
    EXPECT_EQ(LineEndCrLf, GetSystemLineEnd());
}

// ------------------------------------------------------------ extracting, tokens

TEST(SStringExtract, CopyForms)
{
    SString s("abcdef");
    EXPECT_EQ("bcd", S(s.Copy(1, 3)));
    EXPECT_EQ("def", S(s(3, STR_TO_END)));
    EXPECT_EQ("", S(s.Copy(6, 2)));
    EXPECT_EQ(s.GetStr(), s.Copy(0, 6).GetStr());
    SString path("dir/sub/file.txt");
    EXPECT_EQ("dir/sub", S(path.CopyToLastChar('/')));
    EXPECT_EQ(path.GetStr(), path.CopyToLastChar('#').GetStr());
    EXPECT_EQ("", S(SString("/x").CopyToLastChar('/')));
}

TEST(SStringTokens, FieldsAndPositions)
{
    SString s("a;;b");
    EXPECT_EQ(3u, s.GetTokenCount(';'));
    EXPECT_EQ("a", S(s.GetToken(0, ';')));
    EXPECT_EQ("", S(s.GetToken(1, ';')));
    EXPECT_EQ("b", S(s.GetToken(2, ';')));
    EXPECT_EQ("", S(s.GetToken(5, ';')));
    EXPECT_EQ(0u, SString().GetTokenCount(';'));
    EXPECT_EQ("x", S(SString(";x").GetToken(1, ';')));
    EXPECT_EQ("", S(SString(";x").GetToken(0, ';')));
    SString p("ab;cd;e;");
    EXPECT_EQ(0, p.GetTokenPos(0, ';'));
    EXPECT_EQ(3, p.GetTokenPos(1, ';'));
    EXPECT_EQ(6, p.GetTokenPos(2, ';'));
    EXPECT_EQ(0, p.GetTokenPos(3, ';')); // that separator is the last byte
    EXPECT_EQ(0, p.GetTokenPos(4, ';'));
}

TEST(SStringTokens, AllTokensTrimmed)
{
    auto v = SString(" a , b").GetAllTokens(',');
    ASSERT_EQ(2u, v.size());
    EXPECT_EQ("a", S(v[0]));
    EXPECT_EQ("b", S(v[1]));
    auto w = SString("x,, y z ,").GetAllTokens(',');
    ASSERT_EQ(4u, w.size());
    EXPECT_EQ("x", S(w[0]));
    EXPECT_EQ("", S(w[1]));
    EXPECT_EQ("y z", S(w[2]));
    EXPECT_EQ("", S(w[3]));
    EXPECT_TRUE(SString().GetAllTokens(',').empty());
}

TEST(SStringExtract, WideArray)
{
    SString s("Gr\xFC\xDF");
    wchar_t *w = s.CreateWCHARArr(1252);
    ASSERT_NE(nullptr, w);
    EXPECT_EQ(std::wstring(L"Gr\u00FC\u00DF"), std::wstring(w));
    delete[] w;
    wchar_t *e = SString().CreateWCHARArr(1252);
    EXPECT_EQ(L'\0', e[0]);
    delete[] e;
}

// ------------------------------------------------------------ searching

TEST(SStringSearch, Forward)
{
    SString s("abcabcx");
    EXPECT_EQ(1u, s.Search(SString("bc")));
    EXPECT_EQ(4u, s.Search(SString("bc"), 2));
    EXPECT_EQ(STR_NOT_FOUND, s.Search(SString("bc"), 5));
    EXPECT_EQ(6u, s.Search(SString("x")));
    EXPECT_EQ(STR_NOT_FOUND, s.Search(SString("")));
    EXPECT_EQ(STR_NOT_FOUND, s.Search(SString("a"), 7));
    EXPECT_EQ(3u, s.Search("abcx"));
    EXPECT_EQ(STR_NOT_FOUND, s.Search(static_cast<char const *>(nullptr)));
    EXPECT_EQ(5u, s.Search('c', 3));
    EXPECT_EQ(STR_NOT_FOUND, s.Search('q'));
    EXPECT_EQ(STR_NOT_FOUND, s.Search("cxz"));
    EXPECT_EQ(3u, SString("xxXAbc").NoCaseSearch(SString("aB")));
    EXPECT_EQ(STR_NOT_FOUND, SString("ab").NoCaseSearch(SString("abc")));
}

TEST(SStringSearch, Backward)
{
    SString s("abcabc");
    EXPECT_EQ(STR_NOT_FOUND, s.SearchBackward(SString("bc"), 5));
    EXPECT_EQ(4u, s.SearchBackward(SString("bc"), 4));
    EXPECT_EQ(1u, s.SearchBackward(SString("bc"), 3));
    EXPECT_EQ(3u, s.SearchBackward(SString("a"), 5));
    EXPECT_EQ(STR_NOT_FOUND, s.SearchBackward(SString("a"), 6));
    EXPECT_EQ(4u, s.SearchFromEnd(SString("bc")));
    EXPECT_EQ(3u, s.SearchFromEnd(SString("ABC"), true));
    EXPECT_EQ(STR_NOT_FOUND, s.SearchFromEnd(SString("ABC")));
    EXPECT_EQ(5u, s.SearchFromEnd(SString("C"), true));
    EXPECT_EQ(STR_NOT_FOUND, s.SearchFromEnd(SString("abcabca")));
    EXPECT_EQ(3u, s.SearchFromEnd('a'));
    EXPECT_EQ(STR_NOT_FOUND, s.SearchFromEnd('z'));
    EXPECT_TRUE(s.EndsOn(SString("cabc")));
    EXPECT_FALSE(s.EndsOn(SString("")));
    EXPECT_FALSE(s.EndsOn(SString("xabcabc")));
}

TEST(SStringSearch, Match)
{
    SString s("abcd");
    EXPECT_EQ(2u, s.Match(SString("abXd")));
    EXPECT_EQ(STR_ALL_MATCH, s.Match(SString("abcdef")));
    EXPECT_EQ(2u, s.Match(SString("ab")));
    EXPECT_EQ(STR_ALL_MATCH, SString().Match(SString("x")));
    EXPECT_EQ(STR_ALL_MATCH, s.Match(SString(s)));
    EXPECT_EQ(0u, s.Match("b"));
    EXPECT_EQ(3u, s.Match("abc"));
    EXPECT_EQ(0u, s.Match(static_cast<char const *>(nullptr)));
    EXPECT_EQ(STR_ALL_MATCH, s.IMatch(SString("AB")));
    EXPECT_EQ(STR_ALL_MATCH, s.IMatch(SString("ABCDEF")));
    EXPECT_EQ(0u, s.IMatch(SString("abd")));
}

// ------------------------------------------------------------ comparing

TEST(SStringCompare, MembersAndFolding)
{
    SString s("abc");
    EXPECT_EQ(CompEqual, s.Compare(SString("abc")));
    EXPECT_EQ(CompLess, s.Compare(SString("abd")));
    EXPECT_EQ(CompGreater, s.Compare(SString("ab")));
    EXPECT_EQ(CompLess, s.Compare(SString("abcd")));
    EXPECT_EQ(CompEqual, s.Compare(SString("abX"), 2));
    EXPECT_EQ(CompLess, s.Compare(SString("ab\xE0"))); // bytes are unsigned
    EXPECT_EQ(CompGreater, s.Compare(static_cast<char const *>(nullptr)));
    EXPECT_EQ(CompEqual, SString().Compare(static_cast<char const *>(nullptr)));
    EXPECT_EQ(CompLess, s.Compare("abcd"));
    EXPECT_EQ(CompEqual, s.Compare("abzz", 2));
    EXPECT_EQ(CompEqual, s.ICompare(SString("ABC")));
    EXPECT_EQ(CompLess, s.ICompare(SString("ABD")));
    EXPECT_EQ(CompGreater, s.ICompare("AB"));
    EXPECT_EQ(CompEqual, s.ICompare("ABx", 2));
    EXPECT_TRUE(s.NoCaseEqual(SString("AbC")));
    EXPECT_FALSE(s.NoCaseEqual(SString("AbCd")));
}

TEST(SStringCompare, FreeOperatorsWithNull)
{
    char const *null = nullptr;
    SString empty;
    SString text("x");
    EXPECT_TRUE(empty == null);
    EXPECT_TRUE(null == empty);
    EXPECT_FALSE(text == null);
    EXPECT_TRUE(text != null);
    EXPECT_TRUE(null != text);
    EXPECT_TRUE(null <= text);
    EXPECT_TRUE(null <= empty);
    EXPECT_TRUE(null < text);
    EXPECT_FALSE(null > text);
    EXPECT_TRUE(text >= null);
    EXPECT_TRUE(text > null);
    EXPECT_FALSE(text < null);
}

TEST(SStringCompare, FreeOperatorsOrder)
{
    SString a("apple"), b("banana"), a2("apple");
    EXPECT_TRUE(a == a2);
    EXPECT_TRUE(a != b);
    EXPECT_TRUE(a < b);
    EXPECT_TRUE(a <= a2);
    EXPECT_TRUE(b > a);
    EXPECT_TRUE(b >= a);
    EXPECT_TRUE(a == "apple");
    EXPECT_TRUE("apple" == a);
    EXPECT_TRUE(a < "apples");
    EXPECT_TRUE("apples" > a);
    EXPECT_TRUE(SString("\xE9") > "z"); // unsigned bytes
    EXPECT_TRUE("z" < SString("\xE9"));
    EXPECT_FALSE(SString("ab") == SString("abc"));
}

TEST(SStringConcat, Operators)
{
    SString a("ab");
    EXPECT_EQ("abcd", S(a + SString("cd")));
    EXPECT_EQ("abx", S(a + "x"));
    EXPECT_EQ("xab", S("x" + a));
    EXPECT_EQ("ab!", S(a + '!'));
    EXPECT_EQ("!ab", S('!' + a));
    EXPECT_EQ("ab", S(a));
}

// ------------------------------------------------------------ classifying, numbers

TEST(SStringClassify, Predicates)
{
    EXPECT_TRUE(SString("abcXYZ").IsAlpha());
    EXPECT_FALSE(SString("ab1").IsAlpha());
    EXPECT_FALSE(SString("a\xE4").IsAlpha());
    EXPECT_TRUE(SString().IsAlpha());
    EXPECT_TRUE(SString("ab12").IsAlphaNumeric());
    EXPECT_FALSE(SString("ab 12").IsAlphaNumeric());
    EXPECT_TRUE(SString("0123").IsNumeric());
    EXPECT_FALSE(SString("-1").IsNumeric());
    EXPECT_TRUE(SString().IsNumeric());
    EXPECT_TRUE(SString("-12").IsNumber());
    EXPECT_TRUE(SString("-").IsNumber());
    EXPECT_TRUE(SString().IsNumber());
    EXPECT_FALSE(SString("1-2").IsNumber());
    EXPECT_TRUE(SString("abc 1!").IsLower());
    EXPECT_FALSE(SString("aBc").IsLower());
    EXPECT_TRUE(SString("ABC 1!").IsUpper());
    EXPECT_FALSE(SString("ABc").IsUpper());
}

TEST(SStringClassify, ToBool)
{
    EXPECT_TRUE(SString("TRUE").ToBool());
    EXPECT_TRUE(SString("true").ToBool());
    EXPECT_FALSE(SString("False").ToBool());
    EXPECT_TRUE(SString("2").ToBool());
    EXPECT_TRUE(SString("-1").ToBool());
    EXPECT_FALSE(SString("0").ToBool());
    EXPECT_FALSE(SString("2x").ToBool());
    EXPECT_FALSE(SString("").ToBool());
    EXPECT_FALSE(SString("yes").ToBool());
}

TEST(SStringNumbers, Conversions)
{
    SString const n("1234");
    EXPECT_EQ(1234, int(n));
    EXPECT_EQ(1234, short(n));
    EXPECT_EQ(1234L, long(n));
    EXPECT_EQ(1234u, (unsigned int)n);
    EXPECT_EQ((unsigned char)(1234 & 0xFF), (unsigned char)n);
    EXPECT_EQ(-42, int(SString("  -42abc")));
    EXPECT_EQ(0u, (unsigned int)SString("-42"));
    EXPECT_EQ(0u, (unsigned int)SString(" 42"));
    EXPECT_EQ(705032704u, (unsigned int)SString("5000000000")); // modulo 2^32
    EXPECT_EQ(7ul, (unsigned long)SString("7up"));
    EXPECT_DOUBLE_EQ(2.5, double(SString("2.5")));
    EXPECT_EQ(-9000000000LL, (__int64)SString("-9000000000"));
    EXPECT_EQ(18000000000000000000ULL, (unsigned __int64)SString("18000000000000000000"));
    EXPECT_EQ(0, int(SString()));
}

// ------------------------------------------------------------ UTF-8

TEST(SStringUTF8, Detection)
{
    EXPECT_FALSE(SString("plain ascii").MayBeUTF8());
    EXPECT_TRUE(SString("\xC3\xA4").MayBeUTF8());
    EXPECT_FALSE(SString("\xC0\x80").MayBeUTF8());
    EXPECT_FALSE(SString().MayBeUTF8());
    EXPECT_TRUE(SString("x\xE2\x82\xAC").MayBeUTF8());
    EXPECT_FALSE(SString("\xE0\x80\x80").MayBeUTF8());     // overlong
    EXPECT_FALSE(SString("\xED\xA0\x80").MayBeUTF8());     // surrogate
    EXPECT_TRUE(SString("\xF0\x9F\x98\x80").MayBeUTF8());
    EXPECT_FALSE(SString("\xF4\x90\x80\x80").MayBeUTF8()); // above U+10FFFF
    EXPECT_FALSE(SString("\xE4\xF6\xFC").MayBeUTF8());     // Latin-1 letters
    EXPECT_TRUE(SString::MayBeUTF8("ab\xC3\xA4", 4));
    EXPECT_FALSE(SString::MayBeUTF8("ab\xC3\xA4", 3)); // cut inside the sequence
    EXPECT_FALSE(SString::MayBeUTF8(nullptr, 10));
}

TEST(SStringUTF8, FlagFollowsText)
{
    SString s("x");
    s.SetIsUTF8();
    EXPECT_TRUE(s.IsUTF8());
    s.ClearUTF8();
    EXPECT_FALSE(s.IsUTF8());
    SString e;
    e.SetIsUTF8();
    EXPECT_FALSE(e.IsUTF8());
}

TEST(SStringUTF8, AnsiRoundTrip)
{
    SString ansi("K\xF6ln \x80");
    SString utf = ansi.AnsiToUTF8(1252);
    EXPECT_EQ("K\xC3\xB6ln \xE2\x82\xAC", S(utf));
    EXPECT_TRUE(utf.IsUTF8());
    SString back = utf.UTF8ToAnsi(1252);
    EXPECT_EQ(S(ansi), S(back));
    EXPECT_FALSE(back.IsUTF8());
    EXPECT_EQ(S(ansi), S(utf.UTF8ToEnglish()));
    SString ascii("only ascii");
    SString same = ascii.AnsiToUTF8(1252);
    EXPECT_EQ(ascii.GetStr(), same.GetStr());
    EXPECT_FALSE(same.IsUTF8());
    EXPECT_EQ(utf.GetStr(), utf.AnsiToUTF8(1252).GetStr()); // already flagged
    EXPECT_TRUE(ansi.AnsiToUTF8(12345).IsEmpty());          // no such code page
    EXPECT_EQ(S(utf), S(utf.UTF8ToAnsi(12345)));            // kept as it was
}

TEST(SStringUTF8, LanguageCodePages)
{
    SString pl(L"\u0105\u0142", 65001);
    EXPECT_EQ("\xB9\xB3", S(pl.UTF8ToPolish()));
    EXPECT_EQ("\xB9\xB3", S(pl.UTF8ToCzech()));
    SString ru(L"\u0416", 65001);
    EXPECT_EQ("\xC6", S(ru.UTF8ToRussian()));
    SString el(L"\u03A9", 65001);
    EXPECT_EQ("\xD9", S(el.UTF8ToGreek()));
    SString tr(L"\u011F", 65001);
    EXPECT_EQ("\xF0", S(tr.UTF8ToTurkish()));
}

TEST(SStringFree, ImpUNToA)
{
    char area[32];
    char *p = area;
    EXPECT_EQ(10, ImpUNToA(4294967295ul, p));
    EXPECT_STREQ("4294967295", p);
    EXPECT_EQ(area + 21, p);
    p = area;
    EXPECT_EQ(1, ImpUNToA(0ul, p));
    EXPECT_STREQ("0", p);
}
