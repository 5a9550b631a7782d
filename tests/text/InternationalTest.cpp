// International against independent reference formatters over random values
// and settings, date patterns against their direct reading, the case rules
// against the platform's Unicode tables, and round trips through every
// built-in country.
#include <windows.h>

#include "frame/KSGlobal.h"
#include "tests/support/LeakLoop.h"
#include "text/International.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <random>
#include <string>
#include <vector>

namespace {

std::string S(SString const &s) { return std::string(s.GetStr(), unsigned(s.Len())); }

// ------------------------------------------------------------ reference formatters

struct NumSettings
{
    char thousand;
    bool grouping;
    char decimal;
    bool leadingZero;
    bool trailingZeros;
};

// Groups by division from the top down rather than by scanning digits.
std::string Grouped(unsigned long long v, char sep, bool on)
{
    if (v < 1000 || !on)
        return std::to_string(v);
    char tail[8];
    std::snprintf(tail, sizeof tail, "%03u", unsigned(v % 1000));
    return Grouped(v / 1000, sep, on) + sep + tail;
}

unsigned long long Mag(long v)
{
    return v < 0 ? 0ULL - (unsigned long long)(long long)v : (unsigned long long)v;
}

std::string RefNum(unsigned long long mag, bool negative, unsigned d, NumSettings const &s)
{
    unsigned long long p = 1;
    for (unsigned i = 0; i < d; ++i)
        p *= 10;
    unsigned long long const ip = mag / p, fp = mag % p;
    std::string intText = ip == 0 && d > 0 ? (s.leadingZero ? "0" : "") : Grouped(ip, s.thousand, s.grouping);
    std::string const sign = negative ? "-" : "";
    if (d > 0 && fp == 0 && !s.trailingZeros)
        return sign + (intText.empty() ? "0" : intText);
    if (d == 0)
        return sign + intText;
    char frac[32];
    std::snprintf(frac, sizeof frac, "%0*llu", int(d), fp);
    return sign + intText + s.decimal + frac;
}

void Apply(International &intl, NumSettings const &s)
{
    intl.ChangeNumThousandSep(s.thousand);
    intl.EnableNumThousandSep(s.grouping);
    intl.ChangeNumDecimalSep(s.decimal);
    intl.ChangeNumLeadingZero(s.leadingZero);
    intl.ChangeNumTrailingZeros(s.trailingZeros);
}

long RandomValue(std::mt19937 &rng)
{
    switch (rng() % 4) {
    case 0: return long(int(rng()));                       // anywhere in 32 bits
    case 1: return long(int(rng() % 2001)) - 1000;         // near zero
    case 2: return rng() % 2 ? 2147483647L : -2147483647L - 1; // the ends
    default: {
        long p = 1; // a power of ten, give or take one
        for (unsigned i = rng() % 10; i; --i)
            p *= 10;
        return (p + long(rng() % 3) - 1) * (rng() % 2 ? 1 : -1);
    }
    }
}

NumSettings RandomNumSettings(std::mt19937 &rng)
{
    static char const seps[] = {',', '.', ' ', '\'', '_'};
    return {seps[rng() % 5], rng() % 4 != 0, seps[rng() % 5], rng() % 2 != 0, rng() % 2 != 0};
}

TEST(InternationalFormat, NumbersMatchReference)
{
    std::mt19937 rng(2024);
    International intl(CountryUSA, LanguageEnglishUS);
    for (int i = 0; i < 20000; ++i) {
        NumSettings const s = RandomNumSettings(rng);
        Apply(intl, s);
        long const v = RandomValue(rng);
        unsigned short const d = static_cast<unsigned short>(rng() % 14);
        ASSERT_EQ(RefNum(Mag(v), v < 0, d, s), S(intl.GetNum(v, d))) << v << " digits " << d << " step " << i;
        intl.ChangeNumDigits(d);
        ASSERT_EQ(RefNum(Mag(v), v < 0, d, s), S(intl.GetNum(v))) << v << " digits " << d;
    }
}

// The symbol placements written as patterns: $ is the symbol, n the number.
char const *const kPositive[] = {"$n", "n$", "$ n", "n $"};
char const *const kNegative[] = {"($n)", "-$n", "$-n", "$n-", "(n$)", "-n$", "n-$", "n$-", "-n $", "-$ n", "n $-", "$ n-"};

std::string Fill(char const *pattern, std::string const &sym, std::string const &num)
{
    std::string r;
    for (char const *p = pattern; *p; ++p)
        r += *p == '$' ? sym : *p == 'n' ? num : std::string(1, *p);
    return r;
}

TEST(InternationalFormat, CurrencyMatchesReference)
{
    std::mt19937 rng(7);
    International intl(CountryUSA, LanguageEnglishUS);
    char const *const symbols[] = {"$", "DM", "SFr.", "", "kr"};
    for (int i = 0; i < 20000; ++i) {
        NumSettings const s = RandomNumSettings(rng);
        Apply(intl, s);
        std::string const sym = symbols[rng() % 5];
        unsigned short const d = static_cast<unsigned short>(rng() % 5);
        unsigned short const pos = static_cast<unsigned short>(rng() % 6), neg = static_cast<unsigned short>(rng() % 14);
        char const zero = rng() % 3 ? '0' : '-';
        intl.ChangeCurrSymbol(sym.c_str());
        intl.ChangeCurrDigits(d);
        intl.ChangeCurrPositiveFormat(pos);
        intl.ChangeCurrNegativeFormat(neg);
        intl.ChangeCurrZeroChar(zero);
        long const v = RandomValue(rng) / (rng() % 2 ? 1 : 1000) * (rng() % 4 ? 1 : 100);
        std::string num = RefNum(Mag(v), false, d, s);
        unsigned long long const p = d == 0 ? 1 : d == 1 ? 10 : d == 2 ? 100 : d == 3 ? 1000 : 10000;
        unsigned long long const mag = Mag(v);
        bool const decimalsShown = d > 0 && (s.trailingZeros || mag % p != 0);
        if (zero != '0' && decimalsShown && mag % p == 0)
            num.replace(num.size() - d, d, d, zero);
        std::string const want = v >= 0 ? (pos < 4 ? Fill(kPositive[pos], sym, num) : num)
                                         : (neg < 12 ? Fill(kNegative[neg], sym, num) : num);
        ASSERT_EQ(want, S(intl.GetCurr(v))) << v << " pos " << pos << " neg " << neg << " digits " << d;
    }
}

std::string Num2(unsigned v, bool pad)
{
    char b[16];
    std::snprintf(b, sizeof b, pad ? "%02u" : "%u", v);
    return b;
}

TEST(InternationalFormat, TimesAndDurationsMatchReference)
{
    std::mt19937 rng(99);
    International intl(CountryGermany, LanguageGerman);
    for (int i = 0; i < 20000; ++i) {
        unsigned const h = rng() % 3 ? rng() % 24 : rng() % 2000, m = rng() % 60, sec = rng() % 60, hs = rng() % 100;
        Time t(static_cast<unsigned short>(h), static_cast<unsigned short>(m), static_cast<unsigned short>(sec),
               static_cast<unsigned short>(hs));
        bool const negative = rng() % 4 == 0;
        if (negative)
            t = -t;
        bool const clock24 = rng() % 2, lz = rng() % 2;
        char const sep = ":.h"[rng() % 3], sep100 = ".,"[rng() % 2];
        std::string const am = rng() % 3 ? "AM" : "", pm = rng() % 3 ? "p.m." : "";
        intl.ChangeTimeFormat(clock24);
        intl.ChangeTimeLeadingZero(lz);
        intl.ChangeTimeSep(sep);
        intl.ChangeTime100SecSep(sep100);
        intl.ChangeTimeAM(am.c_str());
        intl.ChangeTimePM(pm.c_str());
        int const withSec = rng() % 2, with100 = rng() % 2;

        std::string rest = sep + Num2(m, true);
        if (withSec)
            rest += sep + Num2(sec, true);
        if (with100)
            rest += sep100 + Num2(hs, true);
        unsigned const day = h % 24;
        std::string clock = Num2(clock24 ? day : (day + 11) % 12 + 1, lz) + rest;
        std::string const &mark = clock24 ? pm : day < 12 ? am : pm;
        if (!mark.empty())
            clock += ' ', clock += mark;
        ASSERT_EQ(clock, S(intl.GetTime(t, withSec, with100))) << h << ':' << m << " step " << i;
        ASSERT_EQ(std::string(negative ? "-" : "") + Num2(h, lz) + rest, S(intl.GetDuration(t, withSec, with100)));
    }
}

// ------------------------------------------------------------ date patterns

struct Piece
{
    char const *pattern; // as written in a pattern
    char const *text;    // what it puts in the date
};

// Separators a pattern may hold, quoted text with pattern letters included.
Piece const kSeps[] = {{" ", " "}, {", ", ", "}, {". ", ". "}, {"-", "-"}, {"/", "/"}, {"' de '", " de "},
                       {" 'of the year' ", " of the year "}, {"'yy'", "yy"}, {"''", ""}, {"', '", ", "},
                       {"'it''s'", "it's"}};

// A random long-date pattern and, built beside it, what it must make of the
// date: the generator knows every part, so no parser is involved.
TEST(InternationalFormat, LongDatePatternsReadAsWritten)
{
    std::mt19937 rng(5);
    International names(CountryUSA, LanguageEnglishUS);
    CountryTable t;
    t.m_eCountry = CountryType(7001);
    for (int i = 0; i < 3000; ++i) {
        Date date(static_cast<unsigned short>(1 + rng() % 28), static_cast<unsigned short>(1 + rng() % 12),
                  static_cast<unsigned short>(1 + rng() % 2999));
        Date dowDate(date);
        unsigned const dow = unsigned(dowDate.GetDayOfWeek());
        std::string pattern, want;
        unsigned const dowRun = rng() % 3; // none, ddd, dddd
        if (dowRun) {
            Piece const &p = kSeps[rng() % 3]; // never empty: a day right after would join its run
            pattern += std::string(dowRun + 2, 'd') + p.pattern;
            want += S(dowRun == 1 ? names.GetAbbrevDayText(DayOfWeek(dow)) : names.GetDayText(DayOfWeek(dow))) + p.text;
        }
        unsigned const order = rng() % 3; // MDY, DMY, YMD
        char const *const kinds = order == 0 ? "mdy" : order == 1 ? "dmy" : "ymd";
        for (int k = 0; k < 3; ++k) {
            Piece const &p = kSeps[rng() % (sizeof kSeps / sizeof *kSeps)];
            unsigned const m = date.GetMonth();
            switch (kinds[k]) {
            case 'd': {
                bool const lz = rng() % 2;
                pattern += lz ? "dd" : "d";
                want += Num2(date.GetDay(), lz);
                break;
            }
            case 'm': {
                unsigned const run = 1 + rng() % 4;
                pattern += std::string(run, rng() % 2 ? 'M' : 'm');
                want += run == 1 ? Num2(m, false)
                        : run == 2 ? Num2(m, true)
                                   : S(run == 3 ? names.GetAbbrevMonthText(static_cast<unsigned short>(m))
                                                : names.GetMonthText(static_cast<unsigned short>(m)));
                break;
            }
            default: {
                bool const century = rng() % 2;
                pattern += century ? "yyyy" : "yy";
                char y[8];
                std::snprintf(y, sizeof y, "%04u", unsigned(date.GetYear()));
                want += century ? y : y + 2;
                break;
            }
            }
            pattern += p.pattern;
            want += p.text;
        }
        t.ApplyDatePatterns(nullptr, pattern.c_str());
        International::RegisterCountry(t);
        International intl(t.m_eCountry, LanguageEnglishUS);
        ASSERT_EQ(want, S(intl.GetLongDate(date))) << pattern;
    }
}

TEST(InternationalFormat, ShortDatePatternsReadAsWritten)
{
    std::mt19937 rng(6);
    CountryTable t;
    for (int i = 0; i < 3000; ++i) {
        Date const date(static_cast<unsigned short>(1 + rng() % 31), static_cast<unsigned short>(1 + rng() % 12),
                        static_cast<unsigned short>(rng() % 10000));
        char const sep = "/.- "[rng() % 4];
        static char const *const orders[] = {"mdy", "dmy", "ymd"};
        char const *const kinds = orders[rng() % 3];
        std::string pattern, want;
        for (int k = 0; k < 3; ++k) {
            bool const wide = rng() % 2;
            char y[8];
            std::snprintf(y, sizeof y, "%04u", unsigned(date.GetYear()));
            if (k)
                pattern += sep, want += sep;
            pattern += kinds[k] == 'd' ? (wide ? "dd" : "d") : kinds[k] == 'm' ? (wide ? "MM" : "M") : (wide ? "yyyy" : "yy");
            want += kinds[k] == 'd' ? Num2(date.GetDay(), wide)
                    : kinds[k] == 'm' ? Num2(date.GetMonth(), wide)
                                      : std::string(wide ? y : y + 2);
        }
        t.ApplyDatePatterns(pattern.c_str(), nullptr);
        t.m_eCountry = CountryType(7002);
        International::RegisterCountry(t);
        ASSERT_EQ(want, S(International(t.m_eCountry, LanguageEnglish).GetDate(date))) << pattern;
    }
}

// ------------------------------------------------------------ built-in countries

// Every built-in country must write dates and numbers that read back: the
// separators must differ from the digits and from each other.
TEST(InternationalCountries, BuiltInFormatsReadBack)
{
    std::mt19937 rng(11);
    unsigned short const n = International::GetAvailableCountriesCount();
    ASSERT_GE(n, 28);
    EXPECT_EQ(CountryDontKnow, International::GetAvailableCountry(n));
    for (unsigned short c = 0; c < n; ++c) {
        CountryType const id = International::GetAvailableCountry(c);
        International intl(id, LanguageEnglishUS);
        EXPECT_EQ(id, intl.GetCountry());
        for (int i = 0; i < 300; ++i) {
            Date const date(static_cast<unsigned short>(1 + rng() % 28), static_cast<unsigned short>(1 + rng() % 12),
                            static_cast<unsigned short>(1000 + rng() % 2000));
            std::string const text = S(intl.GetDate(date));
            unsigned f[3] = {};
            char s1 = 0, s2 = 0;
            ASSERT_EQ(5, std::sscanf(text.c_str(), "%u%c%u%c%u", &f[0], &s1, &f[1], &s2, &f[2])) << id << ' ' << text;
            EXPECT_EQ(intl.GetDateSep(), s1);
            unsigned const *dmy[3];
            DateFormat const o = intl.GetDateFormat();
            dmy[0] = o == DateFormatMDY ? &f[1] : o == DateFormatDMY ? &f[0] : &f[2];
            dmy[1] = o == DateFormatYMD ? &f[1] : o == DateFormatMDY ? &f[0] : &f[1];
            dmy[2] = o == DateFormatYMD ? &f[0] : &f[2];
            EXPECT_EQ(date.GetDay(), *dmy[0]) << id << ' ' << text;
            EXPECT_EQ(date.GetMonth(), *dmy[1]) << id << ' ' << text;
            EXPECT_EQ(intl.IsDateCentury() ? date.GetYear() : date.GetYear() % 100u, *dmy[2]) << id << ' ' << text;

            // Two decimals, a leading zero and the zeros kept: every built-in
            // country writes at least three digits.
            long const v = long(int(rng())) >> (rng() % 31);
            std::string const num = S(intl.GetNum(v, 2));
            ASSERT_NE(intl.GetNumThousandSep(), intl.GetNumDecimalSep()) << id;
            ASSERT_GE(num.size(), 4u);
            EXPECT_EQ(intl.GetNumDecimalSep(), num[num.size() - 3]) << id << ' ' << num;
            std::string digits, want = std::to_string(Mag(v));
            for (char ch : num)
                if (ch != intl.GetNumThousandSep() && ch != intl.GetNumDecimalSep())
                    digits += ch;
            if (want.size() < 3)
                want.insert(0, 3 - want.size(), '0');
            EXPECT_EQ(std::string(v < 0 ? "-" : "") + want, digits) << id << ' ' << num;
        }
    }
}

TEST(InternationalCountries, RegistriesAndFallback)
{
    unsigned const countries[] = {0,    1025, 1026, 3,    1027, 2051, 5,    1029, 2053, 1030, 1031, 1032, 1033, 1034,
                                  1035, 1036, 1039, 1040, 1041, 1042, 1044, 1045, 22,   1046, 2070, 3094, 1048, 1049};
    for (unsigned c : countries)
        EXPECT_TRUE(International::IsCountryAvailable(CountryType(c))) << c;
    // Every dialling code the library maps leads to a table, or to the
    // system's extra entry.
    for (int code = 0; code < 1000; ++code) {
        CountryType const c = ImpCountryFromDiallingCode(code);
        if (c != CountryDontKnow && !International::IsCountryAvailable(c)) {
            EXPECT_EQ(CountrySouthKorea, c);
        }
    }
    unsigned const languages[] = {0, 9, 1033, 2057, 3081, 4105, 5129, 6153, 1031, 2055, 4103, 1036, 2060, 3084, 4108};
    EXPECT_EQ(15, International::GetAvailableLanguagesCount());
    for (unsigned l : languages)
        EXPECT_TRUE(International::IsLanguageAvailable(LanguageType(l))) << l;
    EXPECT_EQ(LanguageDontKnow, International::GetAvailableLanguage(15));

    // An identifier without a table gets the system's settings.
    International const unknown(CountryType(9999), LanguageType(9998));
    International const system;
    EXPECT_EQ(CountrySystem, unknown.GetCountry());
    EXPECT_EQ(LanguageSystem, unknown.GetLanguage());
    EXPECT_TRUE(unknown == system);

    // A registered table replaces the built-in one for later objects only.
    International const before(CountryGermany, LanguageGerman);
    CountryTable t = before.GetCountryTable();
    t.m_aCurrSymbol = "EUR";
    International::RegisterCountry(t);
    EXPECT_EQ("DM", S(before.GetCurrSymbol()));
    EXPECT_EQ("EUR", S(International(CountryGermany, LanguageGerman).GetCurrSymbol()));
    unsigned short const count = International::GetAvailableCountriesCount();
    t.m_eCountry = CountryType(4242);
    International::RegisterCountry(t);
    EXPECT_EQ(count + 1, International::GetAvailableCountriesCount());
    EXPECT_EQ(CountryType(4242), International::GetAvailableCountry(count));
    LanguageTable l;
    l.m_eLanguage = LanguageType(77);
    l.m_aMonthText[4] = "Floreal";
    International::RegisterLanguage(l);
    EXPECT_EQ("Floreal", S(International(CountryType(4242), LanguageType(77)).GetMonthText(5)));
}

// ------------------------------------------------------------ profile

TEST(InternationalCountries, ProfileSettings)
{
    char dir[MAX_PATH], file[MAX_PATH];
    ASSERT_NE(0u, GetTempPathA(MAX_PATH, dir));
    ASSERT_NE(0u, GetTempFileNameA(dir, "ksi", 0, file));
    auto put = [&](char const *k, char const *v) { WritePrivateProfileStringA("intl", k, v, file); };
    put("sShortDate", "yy-M-dd");
    put("sLongDate", "dddd', den 'd. MMMM yyyy");
    put("iTime", "1");
    put("sTime", ".");
    put("iTLZero", "0");
    put("s1159", "vorm.");
    put("s2359", "nachm.");
    put("sThousand", "");
    put("sDecimal", ",");
    put("iLzero", "0");
    put("iDigits", "3");
    put("iCurrency", "3");
    put("iNegCurr", "8");
    put("sCurrency", "Fr.");
    put("iCurrDigits", "1");
    put("sList", ";");
    CountryTable t;
    t.ReadProfile("intl", file);
    CountryTable untouched;
    untouched.ReadProfile("no such section", file);
    EXPECT_TRUE(untouched == CountryTable());
    DeleteFileA(file);

    t.m_eCountry = CountryType(7003);
    International::RegisterCountry(t);
    International intl(t.m_eCountry, LanguageGerman);
    Date const d(4, 7, 2024);
    EXPECT_EQ("24-7-04", S(intl.GetDate(d)));
    EXPECT_EQ("Donnerstag, den 4. Juli 2024", S(intl.GetLongDate(d)));
    EXPECT_EQ("13.05 nachm.", S(intl.GetTime(Time(13, 5, 0, 0), 0, 0)));
    EXPECT_EQ("1234567,890", S(intl.GetNum(1234567890)));
    EXPECT_EQ(",005", S(intl.GetNum(5)));
    EXPECT_EQ("-1,5 Fr.", S(intl.GetCurr(-15)));
    EXPECT_EQ(';', intl.GetListSep());
}

// ------------------------------------------------------------ text rules

struct SetPage
{
    CharSet set;
    unsigned codePage;
};

// The case rules over every byte of every set, against the platform's
// Unicode case tables and code pages. Bytes whose character the library's
// tables give differently from the platform's code page, characters outside
// Latin-1 and Latin Extended-A, and the two Turkish i (whose pairing is the
// library's choice) are left out.
TEST(InternationalText, CaseRulesFollowUnicode)
{
    International const intl(CountryUSA, LanguageEnglishUS);
    SetPage const sets[] = {{CharSetAnsi, 1252}, {CharSetMac, 10000}, {CharSetDos437, 437}, {CharSetDos850, 850},
                            {CharSetDos860, 860}, {CharSetDos861, 861}, {CharSetDos863, 863}, {CharSetDos865, 865}};
    int compared = 0;
    for (SetPage const &sp : sets) {
        for (unsigned b = 1; b < 256; ++b) {
            char const c = char(b);
            wchar_t w = 0;
            if (MultiByteToWideChar(sp.codePage, 0, &c, 1, &w, 1) != 1)
                continue;
            unsigned const pivot = b < 128 ? b : ImpCharToChar16(c, sp.set);
            bool const latin = (w >= L'A' && w <= L'Z') || (w >= L'a' && w <= L'z') || (w >= 0xC0 && w <= 0x17E);
            if (pivot != unsigned(w) || !latin || w == 0x130 || w == 0x131)
                continue;
            wchar_t up[2] = {w, 0}, low[2] = {w, 0};
            CharUpperBuffW(up, 1);
            CharLowerBuffW(low, 1);
            auto back = [&](wchar_t x) {
                char o = 0;
                BOOL lossy = FALSE;
                if (x == w || WideCharToMultiByte(sp.codePage, WC_NO_BEST_FIT_CHARS, &x, 1, &o, 1, nullptr, &lossy) != 1 ||
                    lossy)
                    return c;
                return o;
            };
            SString const one(c);
            bool const alpha = IsCharAlphaW(w) != 0;
            EXPECT_EQ(alpha, intl.IsAlpha(one, sp.set) != 0) << sp.codePage << ' ' << b;
            EXPECT_EQ(std::string(1, back(up[0])), S(intl.Upper(one, sp.set))) << sp.codePage << ' ' << b;
            EXPECT_EQ(std::string(1, back(low[0])), S(intl.Lower(one, sp.set))) << sp.codePage << ' ' << b;
            EXPECT_EQ(!(alpha && IsCharLowerW(w)), intl.IsUpper(one, sp.set) != 0) << sp.codePage << ' ' << b;
            EXPECT_EQ(!(alpha && IsCharUpperW(w)), intl.IsLower(one, sp.set) != 0) << sp.codePage << ' ' << b;
            ++compared;
        }
    }
    EXPECT_GT(compared, 500); // the code pages were there to compare with
}

TEST(InternationalText, StringsAndUnknownSets)
{
    std::mt19937 rng(3);
    International const intl(CountryFrance, LanguageFrench);
    for (int i = 0; i < 2000; ++i) {
        std::string s;
        for (unsigned n = rng() % 12; n; --n)
            s += char(1 + rng() % 255);
        SString const text(s.c_str());
        CharSet const set = CharSet(1 + rng() % 9);
        // A text is the sum of its bytes.
        std::string up, low;
        bool alpha = true, digits = true;
        for (char c : s) {
            up += S(intl.Upper(SString(c), set));
            low += S(intl.Lower(SString(c), set));
            alpha = alpha && intl.IsAlpha(SString(c), set);
            digits = digits && c >= '0' && c <= '9';
        }
        ASSERT_EQ(up, S(intl.Upper(text, set)));
        ASSERT_EQ(low, S(intl.Lower(text, set)));
        ASSERT_EQ(alpha, intl.IsAlpha(text, set) != 0);
        ASSERT_EQ(digits, intl.IsNumeric(text, set) != 0);
        // Without a known set only ASCII letters change.
        for (CharSet unknown : {CharSetNone, CharSetKeep}) {
            std::string ascii = s;
            for (char &c : ascii)
                if (c >= 'a' && c <= 'z')
                    c = char(c - 32);
            ASSERT_EQ(ascii, S(intl.Upper(text, unknown)));
        }
    }
    for (CharSet set : {CharSetNone, CharSetAnsi, CharSetKeep})
        EXPECT_TRUE(intl.IsAlpha("", set) && intl.IsNumeric("", set) && intl.IsUpper("", set) &&
                    intl.IsLower("", set) && intl.IsAlphaNumeric("", set));
}

StringCompare Mirror(StringCompare c)
{
    return c == CompEqual ? CompEqual : c == CompGreater ? CompLess : CompGreater;
}

// An order: equal only for equal bytes, mirrored when swapped, transitive,
// a prefix first, case second to the letters.
TEST(InternationalText, CompareIsAnOrder)
{
    std::mt19937 rng(17);
    International const builtIn(CountryUSA, LanguageEnglishUS);
    International const system;
    char const alphabet[] = "aAbBzZ\xE4\xC4\xE9\xC9" "1";
    auto word = [&] {
        std::string s;
        for (unsigned n = rng() % 5; n; --n)
            s += alphabet[rng() % (sizeof alphabet - 1)];
        return SString(s.c_str());
    };
    for (International const *intl : {&builtIn, &system}) {
        for (int i = 0; i < 3000; ++i) {
            SString const a = word(), b = word(), c = word();
            StringCompare const ab = intl->Compare(a, b, CharSetAnsi);
            ASSERT_EQ(Mirror(ab), intl->Compare(b, a, CharSetAnsi));
            if (intl == &builtIn) { // the platform's comparison may equate different texts
                ASSERT_EQ(a == b, ab == CompEqual);
            }
            if (ab == CompGreater && intl->Compare(b, c, CharSetAnsi) == CompGreater) {
                ASSERT_EQ(CompGreater, intl->Compare(a, c, CharSetAnsi)) << a.GetStr() << ' ' << b.GetStr() << ' ' << c.GetStr();
            }
            SString longer(a);
            longer += 'x';
            ASSERT_EQ(CompGreater, intl->Compare(a, longer, CharSetAnsi));
        }
        EXPECT_EQ(CompGreater, intl->Compare("apple", "Banana", CharSetAnsi));
        EXPECT_EQ(CompLess, intl->Compare("Banana", "apple", CharSetSystem));
    }
    EXPECT_EQ(CompGreater, builtIn.Compare("Banana", "apple", CharSetNone)); // bytes: 'B' < 'a'
}

// The system language brings the platform's functions; they must see the
// text in the Windows set and give it back in the caller's.
TEST(InternationalText, SystemFunctionsConvertSets)
{
    International const system;
    EXPECT_NE(nullptr, system.GetLanguageTable().m_pfnToUpper);
    EXPECT_EQ(nullptr, system.GetLanguageTable().m_pfnIsNumeric);
    EXPECT_EQ("\x84x", S(system.Lower("\x8EX", CharSetDos850))); // Ä and ä in code page 850
    EXPECT_EQ("\xC4X", S(system.Upper("\xE4x", CharSetAnsi)));
    EXPECT_TRUE(system.IsAlpha("\x8E", CharSetDos850));
    EXPECT_TRUE(system.IsNumeric("0123", CharSetSystem));
    EXPECT_FALSE(system.IsNumeric("12a", CharSetSystem));
}

// ------------------------------------------------------------ sharing, texts, cases from practice

TEST(InternationalObject, CopiesShareUntilChanged)
{
    International a(CountryGermany, LanguageGerman);
    International b(a);
    EXPECT_TRUE(a == b);
    EXPECT_EQ(&a.GetCountryTable(), &b.GetCountryTable());
    EXPECT_EQ('.', b.ChangeDateSep('.')); // already so: nothing to copy
    EXPECT_EQ(&a.GetCountryTable(), &b.GetCountryTable());
    EXPECT_EQ("Montag", S(b.ChangeDayText(DayMonday, "Mo.")));
    EXPECT_NE(&a.GetLanguageTable(), &b.GetLanguageTable());
    EXPECT_EQ("Montag", S(a.GetDayText(DayMonday)));
    EXPECT_TRUE(a != b);
    b = a;
    EXPECT_TRUE(a == b);
    EXPECT_EQ("", S(a.ChangeMonthText(13, "x")));
    EXPECT_EQ("", S(a.GetMonthText(0)));
    EXPECT_EQ("", S(a.GetDayText(DayOfWeek(7))));
    EXPECT_TRUE(a == b);
    EXPECT_EQ("Abbrechen", S(a.GetCancelButtonText()));

    EXPECT_TRUE(kstest::NoGrowthOnceSettled({.batch = 200}, [](int i) {
        International x(CountryFrance, LanguageFrench), y(x), z;
        y.ChangeCurrSymbol(SString(i));
        z = y;
        z.ChangeOKButtonText("D'accord");
        x = z;
        SString s = x.GetLongDate(Date(1, 2, 2003)) + y.GetCurr(i) + z.Upper("\xE9t\xE9", CharSetAnsi);
        International::RegisterCountry(y.GetCountryTable());
        (void)s;
    }));
}

// Between KSInit and KSExit the registries belong to the global data and go
// with it, the application's tables included.
TEST(InternationalObject, RegistriesGoWithTheGlobalData)
{
    KSInit();
    CountryTable t;
    t.m_eCountry = CountryType(7100);
    International::RegisterCountry(t);
    EXPECT_TRUE(International::IsCountryAvailable(t.m_eCountry));
    KSExit();
    EXPECT_FALSE(International::IsCountryAvailable(t.m_eCountry));
    EXPECT_TRUE(kstest::NoGrowthOnceSettled({.batch = 4}, [] {
        KSInit();
        International::RegisterCountry(International(CountryGermany, LanguageGerman).GetCountryTable());
        KSExit();
    }));
}

TEST(InternationalObject, CasesFromPractice)
{
    CountryTable neutral;
    neutral.m_eCountry = CountryType(7004);
    International::RegisterCountry(neutral);
    International intl(neutral.m_eCountry, LanguageEnglishUS);
    EXPECT_EQ("1,234,567.89", S(intl.GetNum(123456789, 2)));
    EXPECT_EQ("-0.05", S(intl.GetNum(-5, 2)));
    intl.ChangeNumTrailingZeros(0);
    EXPECT_EQ("1", S(intl.GetNum(100, 2)));
    intl.ChangeNumTrailingZeros(1);
    intl.ChangeCurrSymbol("DM");
    intl.ChangeCurrPositiveFormat(3);
    intl.ChangeCurrNegativeFormat(8);
    EXPECT_EQ("1.50 DM", S(intl.GetCurr(150)));
    EXPECT_EQ("-1.50 DM", S(intl.GetCurr(-150)));
    intl.ChangeCurrZeroChar('-');
    EXPECT_EQ("12.-- DM", S(intl.GetCurr(1200)));
    EXPECT_EQ("07/04/2024", S(intl.GetDate(Date(4, 7, 2024))));
    intl.ChangeTimeLeadingZero(0);
    intl.ChangeTimeAM("AM");
    intl.ChangeTimePM("PM");
    EXPECT_EQ("1:05 PM", S(intl.GetTime(Time(13, 5, 0, 0), 0, 0)));
    EXPECT_EQ("12:00 AM", S(intl.GetTime(Time(0, 0, 0, 0), 0, 0)));
    intl.ChangeTimeLeadingZero(1);
    Time t(1, 30, 0, 0);
    EXPECT_EQ("-01:30", S(intl.GetDuration(-t, 0, 0)));
    EXPECT_EQ("Thursday, July 4, 2024", S(International(CountryUSA, LanguageEnglishUS).GetLongDate(Date(4, 7, 2024))));
    EXPECT_EQ("jeudi 4 juillet 2024", S(International(CountryFrance, LanguageFrench).GetLongDate(Date(4, 7, 2024))));
}

} // namespace
