// The transliteration data, the global block's copy of it, and recognising
// text in its script.
#include "frame/KSData.h"
#include "tests/support/WindowFixture.h"
#include "tests/text/StdText.h"
#include "text/SString.h"
#include "text/TranscriptData.h"
#include "text/UString.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <string>

// Every byte is flagged exactly when the platform's code page makes it a letter.
template <class Letter>
static void ExpectFlags(TranscriptData const &td, unsigned codePage, Letter letter)
{
    for (int b = 0; b < 256; ++b) {
        wchar_t const u = kstest::PlatformDecode(codePage, std::string(1, char(b)))[0];
        EXPECT_EQ(letter(u), td.IsTranscriptChar((unsigned char)b)) << b;
    }
}

TEST(TranscriptData, ScriptsAndTheirLetterTables)
{
    TranscriptData td;
    EXPECT_FALSE(td.IsTranscript());
    ExpectFlags(td, 1251, [](wchar_t) { return false; });

    td.SetToCyrillic();
    EXPECT_TRUE(td.IsCyrillic());
    EXPECT_EQ(1251u, td.GetCodePage());
    // The Russian letters of code page 1251.
    ExpectFlags(td, 1251, [](wchar_t u) { return (u >= 0x410 && u <= 0x44F) || u == 0x401 || u == 0x451; });

    td.SetToGreek();
    EXPECT_EQ(2, td.GetLanguage());
    EXPECT_EQ(1253u, td.GetCodePage());
    // The Greek letters of code page 1253 with their accents, but not the
    // capital alpha with tonos at A2, which sits among the signs.
    ExpectFlags(td, 1253, [](wchar_t u) { return u >= 0x388 && u <= 0x3CE && u != 0x38B && u != 0x38D && u != 0x3A2; });
}

TEST(TranscriptData, DisablingKeepsTheCodePage)
{
    TranscriptData td;
    td.SetToLanguage(2);
    EXPECT_TRUE(td.IsGreek());
    td.SetToLanguage(7);
    EXPECT_EQ(0, td.GetLanguage());
    EXPECT_EQ(1253u, td.GetCodePage());
    EXPECT_FALSE(td.IsTranscriptChar(0xC1));
    td.SetToLanguage(1);
    EXPECT_TRUE(td.IsCyrillic());
    td.Disable();
    EXPECT_FALSE(td.IsTranscript());
    EXPECT_EQ(1251u, td.GetCodePage());
}

TEST(Transcript, NothingIsTransliteratedWithoutTheGlobalData)
{
    ASSERT_EQ(nullptr, GetPKSData());
    EXPECT_FALSE(SString("\xC0\xC1\xC2").IsTranscript());
    EXPECT_FALSE(SString::IsTranscript("\xC0\xC1\xC2"));
}

class TranscriptGlobal : public kstest::WindowFixture
{
protected:
    TranscriptData &Data() { return GetPKSData()->GetTranscriptData(); }
};

TEST_F(TranscriptGlobal, MoreThanHalfOfTheTextMustBeLetters)
{
    struct Case
    {
        char const *text;
        bool want;
    } const cases[] = {
        {"\xC0\xC1\xC2xy", true},    // 3 > 5 / 2
        {"\xC0\xC1xyz", false},      // 2 is not more than 2
        {"\xC0\xC0\xC0\xC0", false}, // one letter repeated counts once
        {"\xC0\xC1\xC0\xC1", true},  // alternating letters all count
        {"\xC0", true},
        {"", false},
    };
    for (Case const &c : cases) {
        EXPECT_EQ(c.want, SString(c.text).IsTranscript()) << c.text;
        EXPECT_EQ(c.want, SString::IsTranscript(c.text)) << c.text;
    }
    EXPECT_FALSE(SString::IsTranscript(nullptr));
}

TEST_F(TranscriptGlobal, StartsAsCyrillicAndFollowsTheChosenScript)
{
    ASSERT_TRUE(GetPKSData()->HasTranscriptData());
    EXPECT_TRUE(Data().IsCyrillic());
    EXPECT_EQ(1251u, Data().GetCodePage());
    SString greekText("\xE1\xE2\xE3"); // αβγ in 1253, бвг in 1251
    EXPECT_TRUE(greekText.IsTranscript());
    Data().SetToGreek();
    EXPECT_TRUE(greekText.IsTranscript());
    EXPECT_FALSE(SString("\xB6\xB7\xB6").IsTranscript()); // ¶ · ¶ in 1253: signs, not letters
    EXPECT_FALSE(SString("\xA8\xA8\xA8").IsTranscript());
    Data().Disable();
    EXPECT_FALSE(greekText.IsTranscript());
    EXPECT_FALSE(SString::IsTranscript("\xE1\xE2\xE3"));
}

TEST_F(TranscriptGlobal, SetTranscriptDecodesWithTheScriptsCodePage)
{
    SString bytes("x\xCF\xF0\xE8\xE2\xE5\xF2y"); // x, Привет, y in 1251
    UString u;
    u.SetTranscript(bytes, 1, 6);
    EXPECT_EQ(L"\u041F\u0440\u0438\u0432\u0435\u0442", kstest::Text(u));
    Data().SetToGreek();
    u.SetTranscript(bytes, 1, 2);
    EXPECT_EQ(L"\u039F\u03C0", kstest::Text(u));
    // The count is cut at the end; a start beyond it gives the empty text.
    u.SetTranscript(bytes, 6, 100);
    EXPECT_EQ(2, u.Len());
    u.SetTranscript(bytes, 50, 2);
    EXPECT_TRUE(u.IsEmpty());
    u.SetTranscript(CStringA("\xE1"), 0, STR_TO_END);
    EXPECT_EQ(L"\u03B1", kstest::Text(u));
}
