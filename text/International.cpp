#include "text/International.h"

#include "base/Container.h"
#include "frame/KSData.h"
#include "frame/KSGlobal.h"

#include <windows.h>

#include <atomic>
#include <string>

// The record copies of an International share. m_nShare counts the holders
// besides the first, so a lone holder sees 0.
struct IntlData
{
    CountryTable m_aCountry;
    LanguageTable m_aLanguage;
    std::atomic<unsigned> m_nShare{0};

    IntlData() = default;
    IntlData(CountryTable const &c, LanguageTable const &l) : m_aCountry(c), m_aLanguage(l) {}
};

namespace {

// One identifier of a registry. The table is made when it is first asked
// for, so that a program that formats in one country never reads the others
// (or the system's profile).
struct LocaleEntry
{
    unsigned m_nId;
    bool m_bBuiltIn;
    bool m_bSystem;
    CountryTable *m_pCountry = nullptr;
    LanguageTable *m_pLanguage = nullptr;

    LocaleEntry(unsigned id, bool builtIn, bool system) : m_nId(id), m_bBuiltIn(builtIn), m_bSystem(system) {}
    ~LocaleEntry()
    {
        delete m_pCountry;
        delete m_pLanguage;
    }
    LocaleEntry(LocaleEntry const &) = delete;
    LocaleEntry &operator=(LocaleEntry const &) = delete;
};

} // namespace

struct LocaleRegistry
{
    Container m_aEntries;

    LocaleRegistry() = default;
    LocaleRegistry(LocaleRegistry const &) = delete;
    LocaleRegistry &operator=(LocaleRegistry const &) = delete;
    ~LocaleRegistry()
    {
        for (unsigned long i = 0; i < m_aEntries.Count(); ++i)
            delete static_cast<LocaleEntry *>(m_aEntries.GetCntObject(i));
    }

    LocaleEntry *Find(unsigned id) const
    {
        for (unsigned long i = 0; i < m_aEntries.Count(); ++i) {
            auto *e = static_cast<LocaleEntry *>(m_aEntries.GetCntObject(i));
            if (e->m_nId == id)
                return e;
        }
        return nullptr;
    }

    LocaleEntry *Add(unsigned id, bool builtIn, bool system)
    {
        auto *e = new LocaleEntry(id, builtIn, system);
        m_aEntries.Insert(e, CONTAINER_NOT_FOUND);
        return e;
    }
};

void International::ImpDeleteRegistry(LocaleRegistry *pRegistry)
{
    delete pRegistry;
}

namespace {

constexpr unsigned s_aBuiltInCountries[] = {0,    1025, 1026, 3,    1027, 2051, 5,    1029, 2053, 1030,
                                            1031, 1032, 1033, 1034, 1035, 1036, 1039, 1040, 1041, 1042,
                                            1044, 1045, 22,   1046, 2070, 3094, 1048, 1049};
constexpr unsigned s_aBuiltInLanguages[] = {0,    9,    1033, 2057, 3081, 4105, 5129, 6153,
                                            1031, 2055, 4103, 1036, 2060, 3084, 4108};

// Registries made while no KSData exists (a program that formats text
// without KSInit); they go when the library unloads.
struct DetachedRegistries
{
    LocaleRegistry *m_pCountries = nullptr;
    LocaleRegistry *m_pLanguages = nullptr;
    ~DetachedRegistries()
    {
        delete m_pCountries;
        delete m_pLanguages;
    }
} s_aDetached;

LocaleRegistry *&RegistrySlot(bool countries)
{
    if (KSData *d = GetPKSData())
        return countries ? d->m_pLocaleCountries : d->m_pLocaleLanguages;
    return countries ? s_aDetached.m_pCountries : s_aDetached.m_pLanguages;
}

LocaleRegistry &Countries()
{
    LocaleRegistry *&r = RegistrySlot(true);
    if (!r) {
        r = new LocaleRegistry;
        for (unsigned id : s_aBuiltInCountries)
            r->Add(id, true, id == CountrySystem);
        // The system's own country gets an identifier of its own only when
        // the library has no table for it: its settings are those of entry 0.
        CountryType const own = ImpCountryFromDiallingCode(int(GetProfileIntA("intl", "iCountry", 1)));
        if (!r->Find(own) && !r->Find(CountryDontKnow))
            r->Add(CountryDontKnow, true, true);
    }
    return *r;
}

LocaleRegistry &Languages()
{
    LocaleRegistry *&r = RegistrySlot(false);
    if (!r) {
        r = new LocaleRegistry;
        for (unsigned id : s_aBuiltInLanguages)
            r->Add(id, true, id == LanguageSystem);
    }
    return *r;
}

CountryTable const *CountryOf(LocaleEntry *e)
{
    if (!e)
        return nullptr;
    if (!e->m_pCountry) {
        auto *t = new CountryTable;
        if (e->m_bSystem)
            ImpGetSystemCountry(*t);
        else
            ImpGetBuiltInCountry(CountryType(e->m_nId), *t);
        t->m_eCountry = CountryType(e->m_nId);
        e->m_pCountry = t;
    }
    return e->m_pCountry;
}

LanguageTable const *LanguageOf(LocaleEntry *e)
{
    if (!e)
        return nullptr;
    if (!e->m_pLanguage) {
        auto *t = new LanguageTable;
        if (e->m_bSystem)
            ImpGetSystemLanguage(*t);
        else
            ImpGetBuiltInLanguage(LanguageType(e->m_nId), *t);
        t->m_eLanguage = LanguageType(e->m_nId);
        e->m_pLanguage = t;
    }
    return e->m_pLanguage;
}

IntlData *MakeData(CountryType eCountry, LanguageType eLanguage)
{
    LocaleRegistry &c = Countries();
    LocaleRegistry &l = Languages();
    CountryTable const *ct = CountryOf(c.Find(eCountry));
    if (!ct)
        ct = CountryOf(c.Find(CountrySystem));
    LanguageTable const *lt = LanguageOf(l.Find(eLanguage));
    if (!lt)
        lt = LanguageOf(l.Find(LanguageSystem));
    auto *d = new IntlData;
    if (ct)
        d->m_aCountry = *ct;
    if (lt)
        d->m_aLanguage = *lt;
    return d;
}

void Release(IntlData *d)
{
    unsigned n = d->m_nShare.load();
    for (;;) {
        if (n == 0) {
            delete d;
            return;
        }
        if (d->m_nShare.compare_exchange_weak(n, n - 1))
            return;
    }
}

SString const &EmptyText()
{
    static SString const empty;
    return empty;
}

// ------------------------------------------------------------ number texts

std::string Digits(unsigned long v)
{
    char buf[32];
    char *p = buf + sizeof buf;
    *--p = '\0';
    do {
        *--p = char('0' + v % 10);
        v /= 10;
    } while (v);
    return p;
}

std::string Padded(unsigned v, unsigned width)
{
    std::string s = Digits(v);
    if (s.size() < width)
        s.insert(0, width - s.size(), '0');
    return s;
}

// The number text of magnitude / 10^d. decimalsKept tells whether the last d
// characters are the decimals (trailing zeros off may drop them).
std::string FormatNumber(CountryTable const &c, unsigned long magnitude, bool negative, unsigned d,
                         bool *decimalsKept = nullptr)
{
    std::string const digits = Digits(magnitude);
    std::size_t const n = digits.size();
    std::string intPart, decimals;
    if (n > d) {
        std::size_t const lead = n - d;
        bool const group = c.m_bNumThousandSep && c.m_cNumThousandSep;
        for (std::size_t i = 0; i < lead; ++i) {
            if (group && i && (lead - i) % 3 == 0)
                intPart += c.m_cNumThousandSep;
            intPart += digits[i];
        }
        decimals = digits.substr(lead);
    } else {
        if (c.m_bNumLeadingZero)
            intPart.push_back('0');
        decimals.assign(d - n, '0');
        decimals += digits;
    }
    bool keep = d > 0;
    if (keep && !c.m_bNumTrailingZeros && decimals.find_first_not_of('0') == std::string::npos) {
        keep = false;
        if (intPart.empty())
            intPart.push_back('0');
    }
    std::string r = negative ? "-" : "";
    r += intPart;
    if (keep) {
        if (c.m_cNumDecimalSep)
            r += c.m_cNumDecimalSep;
        r += decimals;
    }
    if (decimalsKept)
        *decimalsKept = keep;
    return r;
}

unsigned long Magnitude(long v)
{
    return v < 0 ? 0UL - static_cast<unsigned long>(v) : static_cast<unsigned long>(v);
}

// ------------------------------------------------------------ built-in text rules

// Only a set the library has tables for says which letters its upper half
// holds; in text of an unknown set the bytes of 128 and above are nothing.
bool KnownSet(CharSet s)
{
    return s >= CharSetAnsi && s <= CharSetDos865;
}

CharSet Resolve(CharSet s)
{
    return s == CharSetSystem ? GetSystemCharSet() : s;
}

// A code the library cannot place: neither letter nor digit, no case.
constexpr unsigned NO_CODE = 0xFFFF;

unsigned CodeOf(char c, CharSet set)
{
    auto const b = static_cast<unsigned char>(c);
    if (b < 128)
        return b;
    return KnownSet(set) ? ImpCharToChar16(c, set) : NO_CODE;
}

bool IsLetterCode(unsigned u)
{
    return (u >= 'A' && u <= 'Z') || (u >= 'a' && u <= 'z') || (u >= 192 && u <= 214) || (u >= 216 && u <= 246) ||
           (u >= 248 && u <= 382);
}

// Latin Extended-A pairs a capital with the code after it: on the even code
// in two ranges, on the odd code in the two others.
bool CapitalOnEven(unsigned u)
{
    return (u >= 256 && u <= 311) || (u >= 330 && u <= 375);
}
bool CapitalOnOdd(unsigned u)
{
    return (u >= 313 && u <= 328) || (u >= 377 && u <= 382);
}

// The dotted capital I and the dotless small i pair with the ASCII letters,
// as Unicode's simple case mapping has it, rather than with each other.
unsigned LowerCode(unsigned u)
{
    if (u >= 'A' && u <= 'Z')
        return u + 32;
    if (u >= 192 && u <= 222 && u != 215)
        return u + 32;
    if (u == 376)
        return 255;
    if (u == 304)
        return 'i';
    if (u == 305)
        return u;
    if ((CapitalOnEven(u) && u % 2 == 0) || (CapitalOnOdd(u) && u % 2 == 1))
        return u + 1;
    return u;
}

unsigned UpperCode(unsigned u)
{
    if (u >= 'a' && u <= 'z')
        return u - 32;
    if (u >= 224 && u <= 254 && u != 247)
        return u - 32;
    if (u == 255)
        return 376;
    if (u == 305)
        return 'I';
    if (u == 304)
        return u;
    if ((CapitalOnEven(u) && u % 2 == 1) || (CapitalOnOdd(u) && u % 2 == 0))
        return u - 1;
    return u;
}

bool IsCapitalCode(unsigned u)
{
    return IsLetterCode(u) && LowerCode(u) != u;
}

// Letters without a capital (sharp s, kra) count as small.
bool IsSmallCode(unsigned u)
{
    return IsLetterCode(u) && !IsCapitalCode(u);
}

bool IsDigitCode(unsigned u)
{
    return u >= '0' && u <= '9';
}

template <class Pred> int Every(SString const &text, CharSet set, Pred pred)
{
    char const *p = text.GetStr();
    for (int i = 0, n = text.Len(); i < n; ++i)
        if (!pred(CodeOf(p[i], set)))
            return 0;
    return 1;
}

// A byte whose character changed goes back through the set; where the set
// lacks the new character, the byte stays as it was.
void MapCase(SString &text, CharSet set, bool upper)
{
    std::string s(text.GetStr(), unsigned(text.Len()));
    bool changed = false;
    for (char &c : s) {
        unsigned const u = CodeOf(c, set);
        if (u == NO_CODE || !IsLetterCode(u))
            continue;
        unsigned const v = upper ? UpperCode(u) : LowerCode(u);
        if (v == u)
            continue;
        char const b = v < 128 ? char(v) : ImpChar16ToChar(static_cast<unsigned short>(v), set);
        if (b && b != c) {
            c = b;
            changed = true;
        }
    }
    if (changed)
        text = SString(s.c_str());
}

// Case first ignored, then the small letter before the capital, then the
// bytes themselves, so that only equal texts compare equal.
StringCompare BuiltInCompare(SString const &a, SString const &b, CharSet set)
{
    if (!KnownSet(set))
        return b.Compare(a);
    char const *pa = a.GetStr();
    char const *pb = b.GetStr();
    int const na = a.Len(), nb = b.Len();
    int const n = na < nb ? na : nb;
    for (int i = 0; i < n; ++i) {
        unsigned const ua = CodeOf(pa[i], set), ub = CodeOf(pb[i], set);
        unsigned const fa = IsLetterCode(ua) ? LowerCode(ua) : ua;
        unsigned const fb = IsLetterCode(ub) ? LowerCode(ub) : ub;
        if (fa != fb)
            return fa < fb ? CompGreater : CompLess;
    }
    if (na != nb)
        return na < nb ? CompGreater : CompLess;
    for (int i = 0; i < n; ++i) {
        unsigned const ua = CodeOf(pa[i], set), ub = CodeOf(pb[i], set);
        bool const sa = IsSmallCode(ua), sb = IsSmallCode(ub);
        if (sa != sb)
            return sa ? CompGreater : CompLess;
    }
    return b.Compare(a);
}

} // namespace

// ------------------------------------------------------------ construction

International::International() : m_pData(MakeData(CountrySystem, LanguageSystem)) {}

International::International(CountryType eCountry, LanguageType eLanguage) : m_pData(MakeData(eCountry, eLanguage))
{
}

International::International(International const &other) : m_pData(other.m_pData)
{
    ++m_pData->m_nShare;
}

International &International::operator=(International const &other)
{
    if (m_pData != other.m_pData) {
        ++other.m_pData->m_nShare;
        Release(m_pData);
        m_pData = other.m_pData;
    }
    return *this;
}

International::~International()
{
    Release(m_pData);
}

int International::operator==(International const &other) const
{
    return m_pData == other.m_pData ||
           (m_pData->m_aCountry == other.m_pData->m_aCountry && m_pData->m_aLanguage == other.m_pData->m_aLanguage);
}

void International::MakeUnique()
{
    if (m_pData->m_nShare.load() == 0)
        return;
    auto *d = new IntlData(m_pData->m_aCountry, m_pData->m_aLanguage);
    Release(m_pData);
    m_pData = d;
}

template <class T> T International::ChangeCountryField(T CountryTable::*field, T const &value)
{
    T old = m_pData->m_aCountry.*field;
    if (old == value)
        return old;
    MakeUnique();
    m_pData->m_aCountry.*field = value;
    return old;
}

// ------------------------------------------------------------ formatting

SString International::GetNum(long value, unsigned short digits) const
{
    return SString(FormatNumber(m_pData->m_aCountry, Magnitude(value), value < 0, digits).c_str());
}

SString International::GetNum(long value) const
{
    return GetNum(value, m_pData->m_aCountry.m_nNumDigits);
}

SString International::GetCurr(long value) const
{
    CountryTable const &c = m_pData->m_aCountry;
    unsigned const d = c.m_nCurrDigits;
    bool kept = false;
    std::string n = FormatNumber(c, Magnitude(value), false, d, &kept);
    if (c.m_cCurrZeroChar != '0' && c.m_cCurrZeroChar && kept &&
        n.find_first_not_of('0', n.size() - d) == std::string::npos)
        n.replace(n.size() - d, d, d, c.m_cCurrZeroChar);
    std::string const s(c.m_aCurrSymbol.GetStr(), unsigned(c.m_aCurrSymbol.Len()));
    std::string r;
    if (value >= 0) {
        switch (c.m_nCurrPositiveFormat) {
        case 0: r = s + n; break;
        case 1: r = n + s; break;
        case 2: r = s + ' ' + n; break;
        case 3: r = n + ' ' + s; break;
        default: r = n; break;
        }
    } else {
        switch (c.m_nCurrNegativeFormat) {
        case 0: r = '(' + s + n + ')'; break;
        case 1: r = '-' + s + n; break;
        case 2: r = s + '-' + n; break;
        case 3: r = s + n + '-'; break;
        case 4: r = '(' + n + s + ')'; break;
        case 5: r = '-' + n + s; break;
        case 6: r = n + '-' + s; break;
        case 7: r = n + s + '-'; break;
        case 8: r = '-' + n + ' ' + s; break;
        case 9: r = '-' + s + ' ' + n; break;
        case 10: r = n + ' ' + s + '-'; break;
        case 11: r = s + ' ' + n + '-'; break;
        default: r = n; break;
        }
    }
    return SString(r.c_str());
}

SString International::GetDate(Date const &date) const
{
    CountryTable const &c = m_pData->m_aCountry;
    std::string const day = Padded(date.GetDay(), c.m_bDateDayLeadingZero ? 2 : 1);
    std::string const month = Padded(date.GetMonth(), c.m_bDateMonthLeadingZero ? 2 : 1);
    std::string year = Padded(date.GetYear(), 4);
    if (!c.m_bDateCentury)
        year.erase(0, 2);
    std::string const *parts[3];
    switch (c.m_eDateFormat) {
    case DateFormatDMY: parts[0] = &day, parts[1] = &month, parts[2] = &year; break;
    case DateFormatYMD: parts[0] = &year, parts[1] = &month, parts[2] = &day; break;
    default: parts[0] = &month, parts[1] = &day, parts[2] = &year; break;
    }
    std::string r = *parts[0];
    for (int i = 1; i < 3; ++i) {
        if (c.m_cDateSep)
            r += c.m_cDateSep;
        r += *parts[i];
    }
    return SString(r.c_str());
}

SString International::GetLongDate(Date const &date) const
{
    CountryTable const &c = m_pData->m_aCountry;
    LanguageTable const &l = m_pData->m_aLanguage;
    SString r;
    if (c.m_eLongDateDayOfWeekFormat != DayOfWeekNone) {
        Date d(date);
        unsigned const w = unsigned(d.GetDayOfWeek()) % 7;
        r += c.m_eLongDateDayOfWeekFormat == DayOfWeekAbbrev ? l.m_aAbbrevDayText[w] : l.m_aDayText[w];
        r += c.m_aLongDateDayOfWeekSep;
    }
    SString day(Padded(date.GetDay(), c.m_bLongDateDayLeadingZero ? 2 : 1).c_str());
    day += c.m_aLongDateDaySep;
    unsigned const m = date.GetMonth();
    SString month;
    switch (c.m_eLongDateMonthFormat) {
    case MonthNumber: month = Padded(m, 1).c_str(); break;
    case MonthNumberTwoDigits: month = Padded(m, 2).c_str(); break;
    default:
        if (m >= 1 && m <= 12)
            month = c.m_eLongDateMonthFormat == MonthAbbrevName ? l.m_aAbbrevMonthText[m - 1] : l.m_aMonthText[m - 1];
        else
            month = Padded(m, 1).c_str(); // no name to give; the number still says what was stored
        break;
    }
    month += c.m_aLongDateMonthSep;
    std::string y = Padded(date.GetYear(), 4);
    if (!c.m_bLongDateCentury)
        y.erase(0, 2);
    SString year(y.c_str());
    year += c.m_aLongDateYearSep;
    switch (c.m_eLongDateFormat) {
    case DateFormatDMY: r += day, r += month, r += year; break;
    case DateFormatYMD: r += year, r += month, r += day; break;
    default: r += month, r += day, r += year; break;
    }
    return r;
}

namespace {

std::string ClockText(CountryTable const &c, unsigned hour, Time const &t, int withSec, int with100Sec)
{
    std::string r = Padded(hour, c.m_bTimeLeadingZero ? 2 : 1);
    auto sep = [&r](char s) {
        if (s)
            r += s;
    };
    sep(c.m_cTimeSep);
    r += Padded(t.GetMin(), 2);
    if (withSec) {
        sep(c.m_cTimeSep);
        r += Padded(t.GetSec(), 2);
    }
    if (with100Sec) {
        sep(c.m_cTime100SecSep);
        r += Padded(t.Get100Sec(), 2);
    }
    return r;
}

} // namespace

SString International::GetTime(Time const &time, int withSec, int with100Sec) const
{
    CountryTable const &c = m_pData->m_aCountry;
    unsigned const h = time.GetHour() % 24u;
    unsigned const shown = c.m_bTimeFormat24 ? h : (h % 12 ? h % 12 : 12);
    SString r(ClockText(c, shown, time, withSec, with100Sec).c_str());
    SString const &mark = c.m_bTimeFormat24 || h >= 12 ? c.m_aTimePM : c.m_aTimeAM;
    if (!mark.IsEmpty()) {
        r += ' ';
        r += mark;
    }
    return r;
}

SString International::GetDuration(Time const &time, int withSec, int with100Sec) const
{
    std::string r = time.GetTime() < 0 ? "-" : "";
    r += ClockText(m_pData->m_aCountry, time.GetHour(), time, withSec, with100Sec);
    return SString(r.c_str());
}

// ------------------------------------------------------------ names and texts

namespace {

bool DayInRange(DayOfWeek d)
{
    return unsigned(d) < 7;
}
bool MonthInRange(unsigned short m)
{
    return m >= 1 && m <= 12;
}

} // namespace

SString const &International::GetDayText(DayOfWeek day) const
{
    return DayInRange(day) ? m_pData->m_aLanguage.m_aDayText[day] : EmptyText();
}

SString const &International::GetAbbrevDayText(DayOfWeek day) const
{
    return DayInRange(day) ? m_pData->m_aLanguage.m_aAbbrevDayText[day] : EmptyText();
}

SString const &International::GetMonthText(unsigned short month) const
{
    return MonthInRange(month) ? m_pData->m_aLanguage.m_aMonthText[month - 1] : EmptyText();
}

SString const &International::GetAbbrevMonthText(unsigned short month) const
{
    return MonthInRange(month) ? m_pData->m_aLanguage.m_aAbbrevMonthText[month - 1] : EmptyText();
}

SString const &International::GetOKButtonText() const
{
    return m_pData->m_aLanguage.m_aOKButtonText;
}

SString const &International::GetCancelButtonText() const
{
    return m_pData->m_aLanguage.m_aCancelButtonText;
}

SString const &International::GetHelpButtonText() const
{
    return m_pData->m_aLanguage.m_aHelpButtonText;
}

// The field is looked up again after MakeUnique: the object may then hold
// another record.
#define KS_CHANGE_LANGUAGE_TEXT(member, text)                                                                          \
    SString old = m_pData->m_aLanguage.member;                                                                         \
    if (old != text) {                                                                                                 \
        MakeUnique();                                                                                                  \
        m_pData->m_aLanguage.member = text;                                                                            \
    }                                                                                                                  \
    return old

SString International::ChangeDayText(DayOfWeek day, SString const &text)
{
    if (!DayInRange(day))
        return SString();
    KS_CHANGE_LANGUAGE_TEXT(m_aDayText[day], text);
}

SString International::ChangeAbbrevDayText(DayOfWeek day, SString const &text)
{
    if (!DayInRange(day))
        return SString();
    KS_CHANGE_LANGUAGE_TEXT(m_aAbbrevDayText[day], text);
}

SString International::ChangeMonthText(unsigned short month, SString const &text)
{
    if (!MonthInRange(month))
        return SString();
    KS_CHANGE_LANGUAGE_TEXT(m_aMonthText[month - 1], text);
}

SString International::ChangeAbbrevMonthText(unsigned short month, SString const &text)
{
    if (!MonthInRange(month))
        return SString();
    KS_CHANGE_LANGUAGE_TEXT(m_aAbbrevMonthText[month - 1], text);
}

SString International::ChangeOKButtonText(SString const &text)
{
    KS_CHANGE_LANGUAGE_TEXT(m_aOKButtonText, text);
}

SString International::ChangeCancelButtonText(SString const &text)
{
    KS_CHANGE_LANGUAGE_TEXT(m_aCancelButtonText, text);
}

SString International::ChangeHelpButtonText(SString const &text)
{
    KS_CHANGE_LANGUAGE_TEXT(m_aHelpButtonText, text);
}

#undef KS_CHANGE_LANGUAGE_TEXT

// ------------------------------------------------------------ settings

#define KS_COUNTRY_SETTING(Type, getter, changer, field)                                                               \
    Type International::getter() const { return m_pData->m_aCountry.field; }                                           \
    Type International::changer(Type value) { return ChangeCountryField<Type>(&CountryTable::field, value); }

#define KS_COUNTRY_TEXT(getter, changer, field)                                                                        \
    SString const &International::getter() const { return m_pData->m_aCountry.field; }                                \
    SString International::changer(SString const &value) { return ChangeCountryField<SString>(&CountryTable::field, value); }

KS_COUNTRY_SETTING(DateFormat, GetDateFormat, ChangeDateFormat, m_eDateFormat)
KS_COUNTRY_SETTING(char, GetDateSep, ChangeDateSep, m_cDateSep)
KS_COUNTRY_SETTING(int, IsDateDayLeadingZero, ChangeDateDayLeadingZero, m_bDateDayLeadingZero)
KS_COUNTRY_SETTING(int, IsDateMonthLeadingZero, ChangeDateMonthLeadingZero, m_bDateMonthLeadingZero)
KS_COUNTRY_SETTING(int, IsDateCentury, ChangeDateCentury, m_bDateCentury)
KS_COUNTRY_SETTING(DateFormat, GetLongDateFormat, ChangeLongDateFormat, m_eLongDateFormat)
KS_COUNTRY_SETTING(DayOfWeekFormat, GetLongDateDayOfWeekFormat, ChangeLongDateDayOfWeekFormat,
                   m_eLongDateDayOfWeekFormat)
KS_COUNTRY_TEXT(GetLongDateDayOfWeekSep, ChangeLongDateDayOfWeekSep, m_aLongDateDayOfWeekSep)
KS_COUNTRY_TEXT(GetLongDateDaySep, ChangeLongDateDaySep, m_aLongDateDaySep)
KS_COUNTRY_SETTING(int, IsLongDateDayLeadingZero, ChangeLongDateDayLeadingZero, m_bLongDateDayLeadingZero)
KS_COUNTRY_SETTING(MonthFormat, GetLongDateMonthFormat, ChangeLongDateMonthFormat, m_eLongDateMonthFormat)
KS_COUNTRY_TEXT(GetLongDateMonthSep, ChangeLongDateMonthSep, m_aLongDateMonthSep)
KS_COUNTRY_TEXT(GetLongDateYearSep, ChangeLongDateYearSep, m_aLongDateYearSep)
KS_COUNTRY_SETTING(int, IsLongDateCentury, ChangeLongDateCentury, m_bLongDateCentury)
KS_COUNTRY_SETTING(int, GetTimeFormat, ChangeTimeFormat, m_bTimeFormat24)
KS_COUNTRY_SETTING(char, GetTimeSep, ChangeTimeSep, m_cTimeSep)
KS_COUNTRY_SETTING(char, GetTime100SecSep, ChangeTime100SecSep, m_cTime100SecSep)
KS_COUNTRY_SETTING(int, IsTimeLeadingZero, ChangeTimeLeadingZero, m_bTimeLeadingZero)
KS_COUNTRY_TEXT(GetTimeAM, ChangeTimeAM, m_aTimeAM)
KS_COUNTRY_TEXT(GetTimePM, ChangeTimePM, m_aTimePM)
KS_COUNTRY_SETTING(char, GetNumThousandSep, ChangeNumThousandSep, m_cNumThousandSep)
KS_COUNTRY_SETTING(int, IsNumThousandSep, EnableNumThousandSep, m_bNumThousandSep)
KS_COUNTRY_SETTING(char, GetNumDecimalSep, ChangeNumDecimalSep, m_cNumDecimalSep)
KS_COUNTRY_SETTING(int, IsNumLeadingZero, ChangeNumLeadingZero, m_bNumLeadingZero)
KS_COUNTRY_SETTING(unsigned short, GetNumDigits, ChangeNumDigits, m_nNumDigits)
KS_COUNTRY_SETTING(int, IsNumTrailingZeros, ChangeNumTrailingZeros, m_bNumTrailingZeros)
KS_COUNTRY_SETTING(unsigned short, GetCurrPositiveFormat, ChangeCurrPositiveFormat, m_nCurrPositiveFormat)
KS_COUNTRY_SETTING(unsigned short, GetCurrNegativeFormat, ChangeCurrNegativeFormat, m_nCurrNegativeFormat)
KS_COUNTRY_TEXT(GetCurrSymbol, ChangeCurrSymbol, m_aCurrSymbol)
KS_COUNTRY_SETTING(unsigned short, GetCurrDigits, ChangeCurrDigits, m_nCurrDigits)
KS_COUNTRY_SETTING(char, GetCurrZeroChar, ChangeCurrZeroChar, m_cCurrZeroChar)

#undef KS_COUNTRY_SETTING
#undef KS_COUNTRY_TEXT

char International::GetListSep() const
{
    return m_pData->m_aCountry.m_cListSep;
}

CountryType International::GetCountry() const
{
    return m_pData->m_aCountry.m_eCountry;
}

LanguageType International::GetLanguage() const
{
    return m_pData->m_aLanguage.m_eLanguage;
}

CountryTable const &International::GetCountryTable() const
{
    return m_pData->m_aCountry;
}

LanguageTable const &International::GetLanguageTable() const
{
    return m_pData->m_aLanguage;
}

// ------------------------------------------------------------ text functions

int International::IsAlpha(SString const &text, CharSet set) const
{
    set = Resolve(set);
    if (text.IsEmpty())
        return 1;
    if (IntlTestFn f = m_pData->m_aLanguage.m_pfnIsAlpha)
        return f(text, set) != 0;
    return Every(text, set, IsLetterCode);
}

int International::IsAlphaNumeric(SString const &text, CharSet set) const
{
    set = Resolve(set);
    if (text.IsEmpty())
        return 1;
    if (IntlTestFn f = m_pData->m_aLanguage.m_pfnIsAlphaNumeric)
        return f(text, set) != 0;
    return Every(text, set, [](unsigned u) { return IsLetterCode(u) || IsDigitCode(u); });
}

int International::IsNumeric(SString const &text, CharSet set) const
{
    set = Resolve(set);
    if (text.IsEmpty())
        return 1;
    if (IntlTestFn f = m_pData->m_aLanguage.m_pfnIsNumeric)
        return f(text, set) != 0;
    return Every(text, set, IsDigitCode);
}

int International::IsLower(SString const &text, CharSet set) const
{
    set = Resolve(set);
    if (text.IsEmpty())
        return 1;
    if (IntlTestFn f = m_pData->m_aLanguage.m_pfnIsLower)
        return f(text, set) != 0;
    return Every(text, set, [](unsigned u) { return !IsCapitalCode(u); });
}

int International::IsUpper(SString const &text, CharSet set) const
{
    set = Resolve(set);
    if (text.IsEmpty())
        return 1;
    if (IntlTestFn f = m_pData->m_aLanguage.m_pfnIsUpper)
        return f(text, set) != 0;
    return Every(text, set, [](unsigned u) { return !IsSmallCode(u); });
}

void International::ToLower(SString &text, CharSet set) const
{
    set = Resolve(set);
    if (IntlCaseFn f = m_pData->m_aLanguage.m_pfnToLower)
        f(text, set);
    else
        MapCase(text, set, false);
}

void International::ToUpper(SString &text, CharSet set) const
{
    set = Resolve(set);
    if (IntlCaseFn f = m_pData->m_aLanguage.m_pfnToUpper)
        f(text, set);
    else
        MapCase(text, set, true);
}

SString International::Lower(SString const &text, CharSet set) const
{
    SString r(text);
    ToLower(r, set);
    return r;
}

SString International::Upper(SString const &text, CharSet set) const
{
    SString r(text);
    ToUpper(r, set);
    return r;
}

StringCompare International::Compare(SString const &a, SString const &b, CharSet set) const
{
    set = Resolve(set);
    if (set == CharSetNone || set == CharSetKeep)
        return b.Compare(a);
    if (IntlCompareFn f = m_pData->m_aLanguage.m_pfnCompare)
        return f(a, b, set);
    return BuiltInCompare(a, b, set);
}

// ------------------------------------------------------------ registries

namespace {

unsigned short CountOf(LocaleRegistry const &r)
{
    unsigned long const n = r.m_aEntries.Count();
    return static_cast<unsigned short>(n > 0xFFFF ? 0xFFFF : n);
}

unsigned IdAt(LocaleRegistry const &r, unsigned short index, unsigned none)
{
    if (index >= r.m_aEntries.Count())
        return none;
    return static_cast<LocaleEntry *>(r.m_aEntries.GetCntObject(index))->m_nId;
}

LocaleEntry *Registered(LocaleRegistry &r, unsigned id)
{
    LocaleEntry *e = r.Find(id);
    if (!e)
        return r.Add(id, false, false);
    e->m_bBuiltIn = false;
    e->m_bSystem = false;
    return e;
}

} // namespace

unsigned short International::GetAvailableCountriesCount()
{
    return CountOf(Countries());
}

CountryType International::GetAvailableCountry(unsigned short index)
{
    return CountryType(IdAt(Countries(), index, CountryDontKnow));
}

int International::IsCountryAvailable(CountryType country)
{
    return Countries().Find(country) != nullptr;
}

unsigned short International::GetAvailableLanguagesCount()
{
    return CountOf(Languages());
}

LanguageType International::GetAvailableLanguage(unsigned short index)
{
    return LanguageType(IdAt(Languages(), index, LanguageDontKnow));
}

int International::IsLanguageAvailable(LanguageType language)
{
    return Languages().Find(language) != nullptr;
}

void International::RegisterCountry(CountryTable const &table)
{
    auto *copy = new CountryTable(table);
    LocaleEntry *e = Registered(Countries(), table.m_eCountry);
    delete e->m_pCountry;
    e->m_pCountry = copy;
}

void International::RegisterLanguage(LanguageTable const &table)
{
    auto *copy = new LanguageTable(table);
    LocaleEntry *e = Registered(Languages(), table.m_eLanguage);
    delete e->m_pLanguage;
    e->m_pLanguage = copy;
}
