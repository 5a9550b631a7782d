// UString: decoding 8-bit text on the way in and encoding it on the way out,
// against the platform's own conversions; the length limit; numbers, case and
// formatting; bad arguments; sharing that is never observable; heap use.
#include "text/UString.h"

#include "tests/support/LeakCounters.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <cwchar>
#include <cwctype>
#include <random>
#include <string>
#include <vector>

namespace {

std::wstring W(UString const &s)
{
    return std::wstring(s.GetUStr(), std::size_t(s.Len()));
}

std::string B(SString const &s)
{
    return std::string(s.GetStr(), std::size_t(s.Len()));
}

// What the platform makes of n bytes in a code page.
std::wstring PlatformDecode(unsigned codePage, std::string const &bytes)
{
    if (bytes.empty())
        return L"";
    std::wstring out(bytes.size() + 1, L'\0');
    int n = MultiByteToWideChar(codePage, 0, bytes.data(), int(bytes.size()), out.data(),
                                int(out.size()));
    out.resize(n > 0 ? std::size_t(n) : 0);
    return out;
}

std::string PlatformEncode(unsigned codePage, std::wstring const &units)
{
    if (units.empty())
        return "";
    int need = WideCharToMultiByte(codePage, 0, units.data(), int(units.size()), nullptr, 0,
                                   nullptr, nullptr);
    std::string out(std::size_t(need > 0 ? need : 0), '\0');
    WideCharToMultiByte(codePage, 0, units.data(), int(units.size()), out.data(), need, nullptr,
                        nullptr);
    return out;
}

} // namespace

TEST(UStringDecode, Utf8WhenASequenceIsFoundElseAnsi)
{
    EXPECT_EQ(L"\u00E4", W(UString("\xC3\xA4")));
    EXPECT_EQ(L"\u00E4", W(UString("\xE4")));
    // One UTF-8 sequence anywhere makes the whole text UTF-8, a stray byte
    // included, which the platform turns into U+FFFD.
    std::string mixed = "\xE4 and \xC3\xA4";
    EXPECT_EQ(PlatformDecode(CP_UTF8, mixed), W(UString(mixed.c_str())));
    EXPECT_EQ(L"\xFFFD and \u00E4", W(UString(mixed.c_str())));
    // Over-long and surrogate encodings are no sequences: ANSI it is.
    EXPECT_EQ(PlatformDecode(CP_ACP, "\xC0\x80\xED\xA0\x80"), W(UString("\xC0\x80\xED\xA0\x80")));
    // Every constructor from 8-bit text decides alike.
    SString s("x\xE2\x82\xAC");
    EXPECT_EQ(L"x\u20AC", W(UString(s)));
    EXPECT_EQ(L"\u20AC", W(UString(s, 1, 3)));
    EXPECT_EQ(L"\u00E2\u201A", W(UString(s, 1, 2))) << "a cut sequence is no sequence";
    EXPECT_EQ(L"x\u20AC", W(UString(CStringA("x\xE2\x82\xAC"))));
    UString a(L"<");
    a += s;
    a += "\xE4";
    a += '\xE4';
    EXPECT_EQ(L"<x\u20AC\u00E4\u00E4", W(a));
}

TEST(UStringDecode, RandomBytesDecodeAsThePlatformDoes)
{
    std::mt19937 rng(7);
    for (int round = 0; round < 2000; ++round) {
        std::string bytes;
        for (int n = int(rng() % 12); n > 0; --n)
            bytes += char(1 + rng() % 255);
        unsigned cp = SString::MayBeUTF8(bytes.c_str(), STR_TO_END) ? CP_UTF8 : CP_ACP;
        ASSERT_EQ(PlatformDecode(cp, bytes), W(UString(bytes.c_str()))) << round;
        UString u;
        u.SetUTF8(bytes.c_str(), unsigned(bytes.size()));
        ASSERT_EQ(PlatformDecode(CP_UTF8, bytes), W(u)) << round;
        u.SetUTF8(SString(bytes.c_str()));
        ASSERT_EQ(PlatformDecode(cp, bytes), W(u)) << round;
    }
}

TEST(UStringDecode, AssignmentFrom8BitTextIsAlwaysAnsi)
{
    UString u;
    u = "\xC3\xA4";
    EXPECT_EQ(PlatformDecode(CP_ACP, "\xC3\xA4"), W(u));
    EXPECT_EQ(2, u.Len());
    u.Insert("\xE4", 1);
    u.Replace('\xFC', 0);
    u.ReplaceAllChars(L'\u00E4', '\xF6');
    EXPECT_EQ(L"\u00FC\u00F6\u00A4", W(u));
    u.Insert('\xDF', 99);
    EXPECT_EQ(L"\u00FC\u00F6\u00A4\u00DF", W(u));
    EXPECT_EQ(L"\u00E9", W(UString('\xE9')));
    EXPECT_TRUE(UString('\0').IsEmpty());
    EXPECT_TRUE(UString(L'\0').IsEmpty());
}

TEST(UStringDecode, SubstringsEndAtAnIndex)
{
    EXPECT_EQ(L"b", W(UString(L"abc", 1, 2)));
    EXPECT_EQ(L"bc", W(UString(L"abc", 1, STR_TO_END)));
    EXPECT_TRUE(UString(L"abc", 3, 1).IsEmpty()) << "a start beyond the end index";
    EXPECT_EQ(L"\u00E4b", W(UString("x\xC3\xA4" "bc", 1, 4)));
    EXPECT_TRUE(UString(L"abc", 2, 2).IsEmpty());
    // An end beyond the terminator stops at the terminator.
    EXPECT_EQ(L"bc", W(UString(L"abc", 1, 50)));
    EXPECT_EQ(L"bc", W(UString("abc", 1, 50)));
    EXPECT_TRUE(UString(L"abc", 7, STR_TO_END).IsEmpty());
}

TEST(UStringLimit, LongInputsAreCut)
{
    std::wstring longWide(USTR_MAX_LEN + 50, L'w');
    UString u(longWide.c_str());
    EXPECT_EQ(int(USTR_MAX_LEN), u.Len());
    std::string longBytes(USTR_MAX_LEN + 50, 'b');
    EXPECT_EQ(int(USTR_MAX_LEN), UString(longBytes.c_str()).Len());
    EXPECT_EQ(int(USTR_MAX_LEN), UString(SString(longBytes.c_str())).Len());

    // Appending and inserting stop at the limit, keeping the front.
    u += L"more";
    u += L'x';
    u += 12345;
    EXPECT_EQ(int(USTR_MAX_LEN), u.Len());
    UString shorter(longWide.c_str(), 0, USTR_MAX_LEN - 2);
    shorter += L"abcd";
    EXPECT_EQ(L"wwab", W(shorter).substr(USTR_MAX_LEN - 4));
    shorter.Insert(L"XY", 1);
    EXPECT_EQ(int(USTR_MAX_LEN), shorter.Len());
    EXPECT_EQ(L"wXYw", W(shorter).substr(0, 4));
    EXPECT_EQ(L"www", W(shorter).substr(USTR_MAX_LEN - 3)) << "the old tail gave way";
    // A line-end conversion that would reach the limit leaves the text alone.
    UString lines(std::wstring(USTR_MAX_LEN - 2, L'\n').c_str());
    lines.ConvertLineEnd(LineEndCrLf);
    EXPECT_EQ(int(USTR_MAX_LEN - 2), lines.Len());
    EXPECT_EQ(L'\n', lines[0]);
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
    EXPECT_EQ(PlatformEncode(CP_UTF8, text), B(s));
    SString viaOperator = u;
    EXPECT_EQ(B(s), B(viaOperator));
    EXPECT_EQ(text, W(UString(s))) << "back through detection";
    // Unpaired surrogates become whatever the platform writes, never a crash.
    std::wstring broken = {L'a', wchar_t(0xD800), L'b', wchar_t(0xDC00)};
    UString bu(broken.c_str());
    EXPECT_EQ(PlatformEncode(CP_UTF8, broken), B(bu.GetUTF8()));
    EXPECT_TRUE(UString().GetUTF8().IsEmpty());
    EXPECT_FALSE(UString().GetUTF8().IsUTF8());
}

TEST(UStringEncode, Utf8IntoACallerBuffer)
{
    UString u(L"\u00E4bc"); // 4 bytes in UTF-8
    char buf[8];
    std::memset(buf, 'x', sizeof buf);
    EXPECT_EQ(0u, u.GetUTF8(buf, 0));
    EXPECT_EQ('x', buf[0]) << "size 0 writes nothing";
    EXPECT_EQ(4u, u.GetUTF8(buf, 8));
    EXPECT_STREQ("\xC3\xA4" "bc", buf);
    std::memset(buf, 'x', sizeof buf);
    EXPECT_EQ(0u, u.GetUTF8(buf, 3)) << "too small";
    EXPECT_EQ('\0', buf[2]);
    EXPECT_EQ(0u, UString().GetUTF8(buf, 8));
    EXPECT_EQ(0u, u.GetUTF8(nullptr, 8));
}

TEST(UStringEncode, ArraysForTheCaller)
{
    UString u(L"\u00E4x");
    char *a = u.CreateCharArr();
    EXPECT_EQ(PlatformEncode(CP_ACP, L"\u00E4x"), std::string(a));
    delete[] a;
    wchar_t *w = u.CreateWCHARArr();
    EXPECT_EQ(L"\u00E4x", std::wstring(w));
    delete[] w;
    char *e = UString().CreateCharArr();
    EXPECT_EQ('\0', e[0]);
    delete[] e;
}

TEST(UStringNumbers, DecimalTextAndBack)
{
    EXPECT_EQ(L"65", W(UString((unsigned char)65)));
    EXPECT_EQ(L"-32768", W(UString(short(-32768))));
    EXPECT_EQ(L"4294967295", W(UString(4294967295u)));
    EXPECT_EQ(L"-9223372036854775808", W(UString((__int64)(-9223372036854775807LL - 1))));
    EXPECT_EQ(L"18446744073709551615", W(UString((unsigned __int64)~0ULL)));
    EXPECT_EQ(L"007", W(UString(7, 3)));
    EXPECT_EQ(L"1234", W(UString(1234, 2)));
    EXPECT_EQ(L"2.500000", W(UString(2.5)));
    UString u(L"n=");
    u += -5;
    u += 7u;
    u += 1.5;
    u += (__int64)-2;
    EXPECT_EQ(L"n=-571.500000-2", W(u));

    EXPECT_EQ(-42, int(UString(L"  -42xyz")));
    EXPECT_EQ(short(-42), short(UString(L"-42")));
    EXPECT_EQ(123456789012345LL, static_cast<__int64>(UString(L"123456789012345")));
    EXPECT_DOUBLE_EQ(2.25, double(UString(L"2.25")));
    EXPECT_EQ(77L, long(UString(L"77")));
    EXPECT_EQ(0, int(UString()));
}

TEST(UStringCase, RuntimeCaseMappingAndComparison)
{
    UString u(L"Abc-\u00C4\u0416");
    UString low = u.Lower(), up = u.Upper();
    std::wstring wantLow, wantUp;
    for (wchar_t c : W(u)) {
        wantLow += wchar_t(towlower(c));
        wantUp += wchar_t(towupper(c));
    }
    EXPECT_EQ(wantLow, W(low));
    EXPECT_EQ(wantUp, W(up));
    EXPECT_EQ(L"Abc-\u00C4\u0416", W(u)) << "the copies changed, not the source";
    EXPECT_TRUE(UString(L"HeLLo").NoCaseEqual(UString(L"hello")));
    EXPECT_FALSE(UString(L"hello").NoCaseEqual(UString(L"hell")));
    EXPECT_EQ(CompEqual, UString(L"ABCd").ICompare(L"abcX", 3));
    EXPECT_EQ(CompLess, UString(L"abc").ICompare(UString(L"ABD")));
    EXPECT_EQ(CompGreater, UString(L"b").ICompare(nullptr));
    EXPECT_TRUE(UString(L"AB").IsUpper());
    EXPECT_FALSE(UString(L"aB").IsLower());
    EXPECT_TRUE(UString(L"-12").IsNumber());
    EXPECT_FALSE(UString(L"1\u0661").IsNumeric()) << "only ASCII digits";
    EXPECT_TRUE(UString(L"a1").IsAlphaNumeric());
    EXPECT_FALSE(UString(L"\u00E4").IsAlpha());
}

TEST(UStringFormat, WideFormatting)
{
    UString u;
    u.Format(L"%d-%s-%S-%5.2f", 42, L"wide", "narrow", 3.14159);
    EXPECT_EQ(L"42-wide-narrow- 3.14", W(u));
    std::wstring big(5000, L'q');
    u.Format(L"<%s>", big.c_str());
    EXPECT_EQ(L"<" + big + L">", W(u));
    u.Format(L"%*d", int(USTR_MAX_LEN) + 100, 7);
    EXPECT_EQ(int(USTR_MAX_LEN), u.Len()) << "cut at the limit";
    EXPECT_EQ(L"   ", W(u).substr(0, 3));
    u.Format(nullptr);
    EXPECT_TRUE(u.IsEmpty());
}

TEST(UStringMisc, LineEndsTokensAndLists)
{
    UString t(L"a\r\nb\nc");
    t.ConvertLineEnd();
    EXPECT_EQ(L"a\r\nb\r\nc", W(t));
    t.ConvertLineEnd(LineEndLf);
    EXPECT_EQ(L"a\nb\nc", W(t));
    UString u(L"a\n\rb");
    u.ConvertLineEnd(LineEndCr);
    EXPECT_EQ(L"a\rb", W(u));

    wchar_t list[32] = {};
    UString(L"one").AddToStringListBuffer(list);
    UString(L"two").AddToStringListBuffer(list);
    EXPECT_EQ(std::wstring(L"one\0two\0\0", 9), std::wstring(list, 9));

    UString s;
    s.AddSeparated(UString(L"x"), L';');
    s.AddSeparated(UString(L"y"), L';');
    s.AddSeparated(UString(), L';');
    s.AddSeparated(UString(L"z"), UString(L", "));
    EXPECT_EQ(L"x;y, z", W(s));
    UString sp(L" 1 0 ");
    sp.SpaceToZero();
    EXPECT_EQ(L"01000", W(sp));
    sp.ZeroToSpace();
    EXPECT_EQ(L" 1   ", W(sp));
    EXPECT_EQ(L'x', wchar_t(UString(L"xyz")));
    EXPECT_EQ(L'\0', UString(L"xyz")[3u]);
}

TEST(UStringArguments, NullPointersAreEmptyText)
{
    char const *nc = nullptr;
    wchar_t const *nw = nullptr;
    EXPECT_TRUE(UString(nc).IsEmpty());
    EXPECT_TRUE(UString(nw).IsEmpty());
    EXPECT_TRUE(UString(nc, 0, 5).IsEmpty());
    EXPECT_TRUE(UString(nw, 0, STR_TO_END).IsEmpty());
    UString u(L"abc");
    u += nc;
    u += nw;
    u.Insert(nw, 1);
    u.Insert(nc, 1);
    EXPECT_EQ(L"abc", W(u));
    EXPECT_EQ(STR_NOT_FOUND, u.Search(nw));
    EXPECT_EQ(0u, u.Match(nw));
    EXPECT_TRUE(UString() == nw);
    EXPECT_TRUE(u != nw);
    EXPECT_TRUE(nw < u);
    EXPECT_TRUE(nw <= UString());
    EXPECT_EQ(CompGreater, u.Compare(nw));
    u.AddToStringListBuffer(nullptr);
    u.SetUTF8(nullptr, 40);
    EXPECT_TRUE(u.IsEmpty());
    u = L"x";
    u = nc;
    EXPECT_TRUE(u.IsEmpty());
    u = L"x";
    u = nw;
    EXPECT_TRUE(u.IsEmpty());
}

TEST(UStringSharing, EveryEditLeavesCopiesAlone)
{
    UString const source(L"Hello World 0 x");
    std::vector<void (*)(UString &)> edits = {
        [](UString &s) { s.Replace(L'J', 0); },
        [](UString &s) { s.Replace(UString(L"YY"), 2); },
        [](UString &s) { s.ReplaceAllChars(L'o', L'0'); },
        [](UString &s) { s.ReplaceAllPhrases(UString(L"World"), UString(L"There")); },
        [](UString &s) { s.Reverse(); },
        [](UString &s) { s.ToUpper(); },
        [](UString &s) { s.ToLower(); },
        [](UString &s) { s.SpaceToZero(); },
        [](UString &s) { s.ZeroToSpace(); },
        [](UString &s) { s.Fill(3, L'*'); },
        [](UString &s) { s.Erase(3, 2); },
        [](UString &s) { s.Erase(5); },
        [](UString &s) { s.EraseAllChars(L'l'); },
        [](UString &s) { s.Trim(L'H'); },
        [](UString &s) { s += L'!'; },
        [](UString &s) { s.Insert(L'!', 2); },
        [](UString &s) { s.ConvertLineEnd(LineEndCrLf); },
        [](UString &s) { (void)s.Cut(0, 2); },
        [](UString &s) { s = L"Other"; },
        [](UString &s) { s = "Other"; },
        [](UString &s) { s.SetUTF8(SString("\xC3\xA4")); },
        [](UString &s) { std::wmemcpy(s.AllocStrBuf(4), L"QQQQ", 4); },
    };
    for (std::size_t i = 0; i < edits.size(); ++i) {
        UString copy(source);
        UString assigned;
        assigned = source;
        UString whole = source.Copy(0);
        edits[i](copy);
        edits[i](assigned);
        edits[i](whole);
        EXPECT_EQ(L"Hello World 0 x", W(source)) << "edit " << i;
        EXPECT_EQ(W(copy), W(assigned)) << "edit " << i;
        EXPECT_EQ(W(copy), W(whole)) << "edit " << i;
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
    EXPECT_EQ(L"abcdefgh", W(u));
    u = L"a";
    EXPECT_EQ(L"a", W(u));
    UString copy(u);
    u = L"b";
    EXPECT_EQ(L"a", W(copy)) << "a shared array is never written";
}

TEST(UStringHeap, NothingIsLeft)
{
    auto work = [] {
        for (int i = 0; i < 200; ++i) {
            UString a(L"some wide text");
            UString b(a);
            b += SString("\xC3\xA4 utf-8");
            b.Insert(a, 3);
            UString c = b.Copy(2, 9);
            c.ToUpper();
            SString s = c.GetUTF8();
            UString d(s);
            d.Format(L"%s/%d", a.GetUStr(), i);
            wchar_t *w = d.CreateWCHARArr();
            delete[] w;
            char *n = d.CreateCharArr();
            delete[] n;
            d.ReplaceAllPhrases(UString(L"/"), UString(L"--"));
            d.SetUTF8(s);
        }
    };
    work(); // the runtime's first-use allocations happen here
    kstest::HeapUsage before = kstest::CurrentHeapUsage();
    work();
    kstest::HeapUsage after = kstest::CurrentHeapUsage();
    EXPECT_EQ(before.blocks, after.blocks);
    EXPECT_EQ(before.bytes, after.bytes);
}
