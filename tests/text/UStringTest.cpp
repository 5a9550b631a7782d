// UString: 8-bit decoding and encoding against the platform, limits, edge cases.
#include "text/UString.h"

#include "tests/support/LeakLoop.h"
#include "tests/text/StdText.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cstring>
#include <cwchar>
#include <cwctype>
#include <random>
#include <string>
#include <vector>

using namespace kstest;

TEST(UStringDecode, Utf8WhenASequenceIsFoundElseAnsi)
{
    // One UTF-8 sequence anywhere makes the whole text UTF-8, a stray byte
    // included, which the platform turns into U+FFFD.
    std::string mixed = "\xE4 and \xC3\xA4";
    EXPECT_EQ(PlatformDecode(CP_UTF8, mixed), Text(UString(mixed.c_str())));
    // Over-long and surrogate encodings are no sequences: ANSI it is.
    EXPECT_EQ(PlatformDecode(CP_ACP, "\xC0\x80\xED\xA0\x80"), Text(UString("\xC0\x80\xED\xA0\x80")));
    // Every constructor from 8-bit text decides alike.
    SString s("x\xE2\x82\xAC");
    EXPECT_EQ(L"x\u20AC", Text(UString(s)));
    EXPECT_EQ(L"\u00E2\u201A", Text(UString(s, 1, 2))) << "a cut sequence is no sequence";
    UString a(L"<");
    a += s;
    a += "\xE4";
    a += '\xE4';
    EXPECT_EQ(L"<x\u20AC\u00E4\u00E4", Text(a));
}

TEST(UStringDecode, RandomBytesDecodeAsThePlatformDoes)
{
    std::mt19937 rng(7);
    for (int round = 0; round < 2000; ++round) {
        std::string bytes;
        for (int n = int(rng() % 12); n > 0; --n)
            bytes += char(1 + rng() % 255);
        unsigned cp = SString::MayBeUTF8(bytes.c_str(), STR_TO_END) ? CP_UTF8 : CP_ACP;
        ASSERT_EQ(PlatformDecode(cp, bytes), Text(UString(bytes.c_str()))) << round;
        UString u;
        u.SetUTF8(bytes.c_str(), unsigned(bytes.size()));
        ASSERT_EQ(PlatformDecode(CP_UTF8, bytes), Text(u)) << round;
        u.SetUTF8(SString(bytes.c_str()));
        ASSERT_EQ(PlatformDecode(cp, bytes), Text(u)) << round;
    }
}

TEST(UStringDecode, AssignmentFrom8BitTextIsAlwaysAnsi)
{
    UString u;
    u = "\xC3\xA4";
    EXPECT_EQ(PlatformDecode(CP_ACP, "\xC3\xA4"), Text(u));
    u.Insert("\xE4", 1);
    u.Replace('\xFC', 0);
    u.ReplaceAllChars(L'\u00E4', '\xF6');
    EXPECT_EQ(L"\u00FC\u00F6\u00A4", Text(u));
    u.Insert('\xDF', 99);
    EXPECT_EQ(L"\u00FC\u00F6\u00A4\u00DF", Text(u));
}

TEST(UStringLimit, LongInputsAreCut)
{
    std::wstring longWide(USTR_MAX_LEN + 50, L'w');
    UString u(longWide.c_str());
    EXPECT_EQ(int(USTR_MAX_LEN), u.Len());
    std::string longBytes(USTR_MAX_LEN + 50, 'b');
    EXPECT_EQ(int(USTR_MAX_LEN), UString(longBytes.c_str()).Len());

    // Appending and inserting stop at the limit, keeping the front.
    u += L"more";
    u += 12345;
    EXPECT_EQ(int(USTR_MAX_LEN), u.Len());
    UString shorter(longWide.c_str(), 0, USTR_MAX_LEN - 2);
    shorter += L"abcd";
    EXPECT_EQ(L"wwab", Text(shorter).substr(USTR_MAX_LEN - 4));
    shorter.Insert(L"XY", 1);
    EXPECT_EQ(int(USTR_MAX_LEN), shorter.Len());
    EXPECT_EQ(L"wXYw", Text(shorter).substr(0, 4));
    EXPECT_EQ(L"www", Text(shorter).substr(USTR_MAX_LEN - 3)) << "the old tail gave way";
    // A line-end conversion that would reach the limit leaves the text alone.
    UString lines(std::wstring(USTR_MAX_LEN - 2, L'\n').c_str());
    lines.ConvertLineEnd(LineEndCrLf);
    EXPECT_EQ(int(USTR_MAX_LEN - 2), lines.Len());
    UString fill;
    fill.Fill(USTR_MAX_LEN + 9, L'f');
    EXPECT_EQ(int(USTR_MAX_LEN), fill.Len());
}

TEST(UStringEncode, Utf8OutAsThePlatformMakesIt)
{
    std::wstring text = L"a\u00E4\u20AC\U0001F600z";
    UString u(text.c_str());
    SString s = u.GetUTF8();
    EXPECT_TRUE(s.IsUTF8());
    EXPECT_EQ(PlatformEncode(CP_UTF8, text), Text(s));
    EXPECT_EQ(text, Text(UString(s))) << "back through detection";
    // Unpaired surrogates become whatever the platform writes, never a crash.
    std::wstring broken = {L'a', wchar_t(0xD800), L'b', wchar_t(0xDC00)};
    UString bu(broken.c_str());
    EXPECT_EQ(PlatformEncode(CP_UTF8, broken), Text(bu.GetUTF8()));
}

TEST(UStringEncode, Utf8IntoACallerBuffer)
{
    UString u(L"\u00E4bc"); // 4 bytes in UTF-8
    char buf[8] = "xxxxxxx";
    EXPECT_EQ(0u, u.GetUTF8(buf, 0));
    EXPECT_EQ('x', buf[0]) << "size 0 writes nothing";
    EXPECT_EQ(4u, u.GetUTF8(buf, 8));
    EXPECT_STREQ("\xC3\xA4" "bc", buf);
    std::memset(buf, 'x', sizeof buf);
    EXPECT_EQ(0u, u.GetUTF8(buf, 3)) << "too small";
    EXPECT_EQ('\0', buf[2]);
    EXPECT_EQ(0u, u.GetUTF8(nullptr, 8));
}

TEST(UStringNumbers, DecimalTextAndBack)
{
    EXPECT_EQ(L"-9223372036854775808", Text(UString((__int64)(-9223372036854775807LL - 1))));
    EXPECT_EQ(L"007", Text(UString(7, 3)));
    UString u(L"n=");
    u += -5;
    u += 7u;
    u += 1.5;
    u += (__int64)-2;
    EXPECT_EQ(L"n=-571.500000-2", Text(u));

    EXPECT_EQ(-42, int(UString(L"  -42xyz")));
    EXPECT_EQ(123456789012345LL, static_cast<__int64>(UString(L"123456789012345")));
}

TEST(UStringCase, RuntimeCaseMappingAndComparison)
{
    UString u(L"Abc-\u00C4\u0416");
    UString low = u.Lower(), up = u.Upper();
    std::wstring wantLow, wantUp;
    for (wchar_t c : Text(u)) {
        wantLow += wchar_t(towlower(c));
        wantUp += wchar_t(towupper(c));
    }
    EXPECT_EQ(wantLow, Text(low));
    EXPECT_EQ(wantUp, Text(up));
    EXPECT_EQ(L"Abc-\u00C4\u0416", Text(u)) << "the copies changed, not the source";
    EXPECT_EQ(CompEqual, UString(L"ABCd").ICompare(L"abcX", 3));
    EXPECT_EQ(CompGreater, UString(L"b").ICompare(nullptr));
    EXPECT_FALSE(UString(L"1\u0661").IsNumeric()) << "only ASCII digits";
}

TEST(UStringFormat, WideFormatting)
{
    UString u;
    u.Format(L"%d-%s-%S-%5.2f", 42, L"wide", "narrow", 3.14159);
    EXPECT_EQ(L"42-wide-narrow- 3.14", Text(u));
    u.Format(L"%*d", int(USTR_MAX_LEN) + 100, 7);
    EXPECT_EQ(int(USTR_MAX_LEN), u.Len()) << "cut at the limit";
    EXPECT_EQ(L"   ", Text(u).substr(0, 3));
    u.Format(nullptr);
    EXPECT_TRUE(u.IsEmpty());
}

TEST(UStringArguments, NullPointersAreEmptyText)
{
    char const *nc = nullptr;
    wchar_t const *nw = nullptr;
    EXPECT_TRUE(UString(nc).IsEmpty());
    UString u(L"abc");
    u += nc;
    u += nw;
    u.Insert(nw, 1);
    EXPECT_EQ(L"abc", Text(u));
    EXPECT_EQ(STR_NOT_FOUND, u.Search(nw));
    EXPECT_TRUE(UString() == nw);
    EXPECT_EQ(CompGreater, u.Compare(nw));
    u.AddToStringListBuffer(nullptr);
    u.SetUTF8(nullptr, 40);
    EXPECT_TRUE(u.IsEmpty());
}

TEST(UStringSharing, EditsLeaveCopiesAlone)
{
    UString const source(L"Hello\nWorld 0 x");
    // The edits StringRandomTest makes are checked against kept copies there.
    void (*const edits[])(UString &) = {
        [](UString &s) { s.ConvertLineEnd(LineEndCrLf); },
        [](UString &s) { s.SetUTF8(SString("\xC3\xA4")); },
        [](UString &s) { std::wmemcpy(s.AllocStrBuf(4), L"QQQQ", 4); },
    };
    for (std::size_t i = 0; i < std::size(edits); ++i) {
        UString copy(source), assigned, whole = source.Copy(0);
        assigned = source;
        for (UString *c : {&copy, &assigned, &whole})
            edits[i](*c);
        EXPECT_EQ(L"Hello\nWorld 0 x", Text(source)) << "edit " << i;
        EXPECT_NE(Text(source), Text(copy)) << "edit " << i << " changed nothing";
        EXPECT_EQ(Text(copy), Text(assigned)) << "edit " << i;
        EXPECT_EQ(Text(copy), Text(whole)) << "edit " << i;
    }
}

TEST(UStringSharing, AssignmentReusesASimilarSizedArray)
{
    UString u;
    u = L"0123456789abcdef0123456789";
    wchar_t const *where = u.GetUStr();
    u = L"0123456789";
    EXPECT_EQ(where, u.GetUStr()) << "a shorter text above a quarter stays in place";
    u = "abcdefgh";
    EXPECT_EQ(where, u.GetUStr());
    u = L"a";
    EXPECT_EQ(L"a", Text(u));
    UString copy(u);
    u = L"b";
    EXPECT_EQ(L"a", Text(copy)) << "a shared array is never written";
}

TEST(UStringHeap, NothingIsLeft)
{
    auto work = [](int i) {
        UString a(L"some wide text"), b(a);
        b += SString("\xC3\xA4 utf-8");
        b.Insert(a, 3);
        UString c = b.Copy(2, 9);
        c.ToUpper();
        SString s = c.GetUTF8();
        UString d(s);
        d.Format(L"%s/%d", a.GetUStr(), i);
        delete[] d.CreateCharArr();
        d.ReplaceAllPhrases(UString(L"/"), UString(L"--"));
        d.SetUTF8(s);
    };
    EXPECT_TRUE(kstest::NoGrowthOnceSettled({.batch = 100, .bytes = true}, work));
}
