// Character-set conversion against the platform code pages, round trips, edge cases.
#include "tests/text/StdText.h"
#include "text/CharSet.h"
#include "text/SString.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

namespace {

struct SetInfo
{
    CharSet set;
    unsigned codePage;
};

SetInfo const kSets[] = {{CharSetAnsi, 1252},   {CharSetMac, 10000},   {CharSetDos437, 437},
                         {CharSetDos850, 850},  {CharSetDos860, 860},  {CharSetDos861, 861},
                         {CharSetDos863, 863},  {CharSetDos865, 865}};

// The platform's character for one byte; the DOS pages with their glyphs for
// the control bytes, which is where their section sign lives.
wchar_t Platform(unsigned codePage, unsigned char b)
{
    std::wstring const w =
        kstest::PlatformDecode(codePage, std::string(1, char(b)), codePage < 1000 ? MB_USEGLYPHCHARS : 0);
    return w.size() == 1 ? w[0] : 0xFFFF;
}

// Bytes whose table entry deliberately differs from the platform's chart.
bool Deliberate(CharSet set, unsigned char b)
{
    if (set == CharSetAnsi)
        return b == 0x80 || b == 0x8E || b == 0x9E || b == 0x88; // own values; '^'
    if (set == CharSetMac)
        return b == 0xF6 || b == 0xBD; // '^'; the ohm sign is the Greek omega
    if (set == CharSetDos850)
        return b == 0xF2; // '='
    if (set == CharSetDos863)
        return b == 0x8D; // '='
    return false;
}

// The byte of the platform's character u in a set, or 0: bytes 128 and up,
// and byte 21, whose glyph in the DOS pages the library converts as well.
unsigned char PlatformByte(unsigned codePage, wchar_t u)
{
    for (unsigned b = 128; b < 256; ++b)
        if (Platform(codePage, (unsigned char)b) == u)
            return (unsigned char)b;
    return codePage < 1000 && Platform(codePage, 0x15) == u ? 0x15 : 0;
}

} // namespace

TEST(CharSetTables, AgreeWithThePlatformWhereNoDeliberateDifference)
{
    int compared = 0;
    for (SetInfo const &from : kSets) {
        for (unsigned b = 128; b < 256; ++b) {
            if (Deliberate(from.set, (unsigned char)b))
                continue;
            wchar_t u = Platform(from.codePage, (unsigned char)b);
            for (SetInfo const &to : kSets) {
                if (to.set == from.set)
                    continue;
                unsigned char want = PlatformByte(to.codePage, u);
                char got = SString::Convert(char(b), from.set, to.set);
                if ((want && Deliberate(to.set, want)) || Deliberate(to.set, (unsigned char)got))
                    continue;
                EXPECT_EQ(want, (unsigned char)got)
                    << "byte " << std::hex << b << " from set " << from.set << " to " << to.set;
                ++compared;
            }
        }
    }
    EXPECT_GT(compared, 7000);
}

TEST(CharSetTables, DeliberateDifferencesFromThePlatform)
{
    // Bytes the Windows set leaves unassigned or reassigned later stay bytes
    // of their own: no other set receives them.
    for (unsigned char b : {0x80, 0x81, 0x8E, 0x9E})
        EXPECT_EQ(b, ImpCharToChar16(char(b), CharSetAnsi));
    EXPECT_EQ(0, SString::Convert('\x80', CharSetAnsi, CharSetMac)) << "no euro sign link";
    // ASCII stand-ins for characters no other set has.
    EXPECT_EQ('^', ImpCharToChar16('\x88', CharSetAnsi));
    EXPECT_EQ('=', ImpCharToChar16('\xF2', CharSetDos850));
    // The Mac's omega is the platform's ohm sign, but the same letter as the
    // DOS omega.
    EXPECT_EQ('\xEA', SString::Convert('\xBD', CharSetMac, CharSetDos437));
    EXPECT_EQ('\xBD', SString::Convert('\xEA', CharSetDos860, CharSetMac));
}

TEST(CharSetTables, ColumnsAreInversesOfEachOther)
{
    for (SetInfo const &s : kSets) {
        std::vector<int> seen(0x2B0, 0);
        for (unsigned b = 128; b < 256; ++b) {
            unsigned short p = ImpCharToChar16(char(b), s.set);
            if (p < 128)
                continue;
            ASSERT_LE(p, 0x2AF);
            EXPECT_EQ(0, seen[p]++) << "two bytes share pivot " << p;
            EXPECT_EQ((unsigned char)b, (unsigned char)ImpChar16ToChar(p, s.set));
        }
        for (unsigned p = 0x80; p <= 0x2AF; ++p) {
            auto b = (unsigned char)ImpChar16ToChar((unsigned short)p, s.set);
            if (b >= 128) {
                EXPECT_EQ(p, ImpCharToChar16(char(b), s.set)) << "pivot " << p;
            } else if (b) {
                EXPECT_TRUE(p == 0xA7 && b == 0x15) << "only the section sign lives below 128";
            }
        }
    }
}

TEST(CharSetTables, PivotCodesKeepUnicodeNumbersUpToLatinExtendedA)
{
    for (SetInfo const &s : kSets) {
        for (unsigned b = 128; b < 256; ++b) {
            if (Deliberate(s.set, (unsigned char)b))
                continue;
            wchar_t u = Platform(s.codePage, (unsigned char)b);
            unsigned short p = ImpCharToChar16(char(b), s.set);
            if (u < 0x180)
                EXPECT_EQ(unsigned(u), p) << "byte " << b << " of set " << s.set;
            else
                EXPECT_GE(p, 0x180) << "byte " << b << " of set " << s.set;
        }
    }
    EXPECT_EQ(0x2AF, ImpCharToChar16('\x9F', CharSetDos437)); // florin, the last pivot code
}

TEST(CharSetTables, CodesOutsideThePivotRangeGiveAQuestionMark)
{
    for (unsigned short code : {0, 65, 127, 0x2B0, 0xFFFF})
        EXPECT_EQ('?', ImpChar16ToChar(code, CharSetAnsi)) << code;
    // A set that is not a real one reads as the Windows set.
    EXPECT_EQ(ImpChar16ToChar(0x160, CharSetAnsi), ImpChar16ToChar(0x160, CharSet(42)));
    EXPECT_EQ(ImpCharToChar16('\x8A', CharSetAnsi), ImpCharToChar16('\x8A', CharSetNone));
}

TEST(CharSetConvert, EveryByteGoesThereAndBackConsistently)
{
    for (SetInfo const &a : kSets) {
        for (SetInfo const &b : kSets) {
            if (a.set == b.set)
                continue;
            std::string text;
            for (unsigned c = 128; c < 256; ++c)
                text += char(c);
            std::string there = text;
            ImpStringConvert(there.data(), a.set, b.set);
            std::string back = there;
            ImpStringConvert(back.data(), b.set, a.set);
            for (unsigned i = 0; i < 128; ++i) {
                char c = text[i];
                unsigned short p = ImpCharToChar16(c, a.set);
                char one = SString::Convert(c, a.set, b.set);
                if (p < 128) {
                    EXPECT_EQ(char(p), there[i]);
                    EXPECT_EQ(c, one) << "the one-byte form keeps a stand-in's byte";
                } else if (one) {
                    EXPECT_EQ(one, there[i]);
                    EXPECT_EQ(c, back[i]) << "a character in both sets comes back exactly";
                    EXPECT_EQ(c, SString::Convert(one, b.set, a.set));
                } else {
                    EXPECT_EQ(c, there[i]) << "a character the target lacks keeps its byte";
                }
            }
        }
    }
}

TEST(CharSetConvert, SectionSignOfTheDosSets)
{
    struct Case
    {
        CharSet from, to;
        char want;
    } const cases[] = {
        {CharSetDos437, CharSetAnsi, '\xA7'},   {CharSetDos861, CharSetDos850, '\xF5'},
        {CharSetDos850, CharSetDos437, '\x15'}, {CharSetAnsi, CharSetDos437, '\x15'},
        {CharSetDos437, CharSetDos437, '\x15'},
    };
    for (Case const &c : cases) {
        char text[] = "a\x15z";
        ImpStringConvert(text, c.from, c.to);
        EXPECT_EQ(c.want, text[1]) << c.from << " to " << c.to;
        EXPECT_EQ(c.want, SString::Convert('\x15', c.from, c.to)) << c.from << " to " << c.to;
    }
    // The sign comes back to byte 21 in the sets that have it nowhere else.
    EXPECT_EQ('\x15', SString::Convert('\xA7', CharSetAnsi, CharSetDos437));
    EXPECT_EQ('\x15', SString::Convert('\x15', CharSetDos437, CharSetKeep));
}

// Stand-ins and characters a set lacks are checked byte by byte above.
TEST(CharSetConvert, SStringMemberAndTheSetsThatAreNoRealOnes)
{
    SString s("\x81\x9B");
    s.Convert(CharSetDos437, CharSetAnsi);
    EXPECT_EQ("\xFC\xA2", kstest::Text(s));
    // CharSetNone or CharSetKeep: the string stays, a high byte alone becomes 0.
    for (CharSet u : {CharSetNone, CharSetKeep}) {
        SString t("\x81\x9B\x15x");
        t.Convert(u, CharSetAnsi);
        EXPECT_EQ("\x81\x9B\x15x", kstest::Text(t));
        t.Convert(CharSetDos437, u);
        EXPECT_EQ("\x81\x9B\x15x", kstest::Text(t));
        EXPECT_EQ(0, SString::Convert('\xE4', u, CharSetAnsi));
        EXPECT_EQ('a', SString::Convert('a', CharSetAnsi, u));
    }
    // CharSetSystem is the Windows set.
    SString sys("\xE4"), ansi("\xE4");
    sys.Convert(CharSetSystem, CharSetDos850);
    ansi.Convert(CharSetAnsi, CharSetDos850);
    EXPECT_EQ(kstest::Text(ansi), kstest::Text(sys));
    EXPECT_EQ("\x84", kstest::Text(sys));
}

TEST(CharSetConvert, BadArgumentsDoNothingHarmful)
{
    ImpStringConvert(nullptr, CharSetAnsi, CharSetMac);
    // Out-of-range sets read as the Windows set on either side.
    char a[] = "\xE4", b[] = "\xE4";
    ImpStringConvert(a, CharSet(77), CharSetDos437);
    ImpStringConvert(b, CharSetAnsi, CharSetDos437);
    EXPECT_EQ(b[0], a[0]);
    char c[] = "\x84";
    ImpStringConvert(c, CharSetDos437, CharSet(-1));
    EXPECT_EQ('\xE4', c[0]);
}
