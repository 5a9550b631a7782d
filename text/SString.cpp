#include "text/SString.h"

#include <algorithm>
#include <cstdarg>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>
#include <vector>

#include <windows.h>

#include "frame/KSData.h"
#include "frame/KSGlobal.h"
#include "text/TranscriptData.h"

int SString::m_staticLanguageId = 0;

LineEnd GetSystemLineEnd()
{
    return LineEndCrLf;
}

int ImpUNToA(unsigned long value, char *&p)
{
    char *end = p + 31;
    *end = '\0';
    char *d = end;
    do {
        *--d = char('0' + value % 10);
        value /= 10;
    } while (value);
    p = d;
    return int(end - d);
}

// Byte tables for the case operations; only ASCII letters fold, plus the
// Windows-1250 capitals that ToUpper makes under the Polish language id.
struct CaseTables
{
    unsigned char lower[256];
    unsigned char upperPolish[256];

    constexpr CaseTables() : lower(), upperPolish()
    {
        for (int i = 0; i < 256; ++i)
            lower[i] = upperPolish[i] = (unsigned char)i;
        for (int i = 'A'; i <= 'Z'; ++i)
            lower[i] = (unsigned char)(i + 32);
        for (int i = 'a'; i <= 'z'; ++i)
            upperPolish[i] = (unsigned char)(i - 32);
        unsigned char const pairs[][2] = {{0xB9, 0xA5}, {0xEA, 0xCA}, {0xBA, 0xAA},
                                          {0x9F, 0x8F}, {0xB3, 0xA3}, {0xF1, 0xD1},
                                          {0xF3, 0xD3}, {0xBF, 0xAF}, {0xF1, 0xD1}};
        for (auto const &p : pairs)
            upperPolish[p[0]] = p[1];
    }
};

static constexpr CaseTables s_case;

static inline unsigned char Fold(char c)
{
    return s_case.lower[(unsigned char)c];
}

static bool EqualNoCase(char const *a, char const *b, unsigned n)
{
    for (unsigned i = 0; i < n; ++i)
        if (Fold(a[i]) != Fold(b[i]))
            return false;
    return true;
}

// Both arguments NUL-terminated; compares like strncmp over at most n bytes.
static StringCompare CompareZ(char const *a, char const *b, unsigned n, bool noCase)
{
    for (unsigned i = 0; i < n; ++i) {
        unsigned char x = noCase ? Fold(a[i]) : (unsigned char)a[i];
        unsigned char y = noCase ? Fold(b[i]) : (unsigned char)b[i];
        if (x != y)
            return x < y ? CompLess : CompGreater;
        if (!x)
            break;
    }
    return CompEqual;
}

// Texts with known lengths; over the first n bytes, the shorter text sorts first.
static StringCompare CompareN(char const *a, unsigned la, char const *b, unsigned lb, unsigned n,
                              bool noCase)
{
    unsigned m = std::min(std::min(la, lb), n);
    if (noCase) {
        for (unsigned i = 0; i < m; ++i) {
            unsigned char x = Fold(a[i]), y = Fold(b[i]);
            if (x != y)
                return x < y ? CompLess : CompGreater;
        }
    } else if (int c = std::memcmp(a, b, m)) {
        return c < 0 ? CompLess : CompGreater;
    }
    if (m == n || la == lb)
        return CompEqual;
    return la < lb ? CompLess : CompGreater;
}

static unsigned FindBytes(char const *t, unsigned len, unsigned from, char const *f, unsigned fl)
{
    if (fl == 0 || from >= len || fl > len - from)
        return STR_NOT_FOUND;
    if (fl == 1) {
        void const *r = std::memchr(t + from, f[0], len - from);
        return r ? unsigned(static_cast<char const *>(r) - t) : STR_NOT_FOUND;
    }
    char const *p = t + from;
    char const *end = t + (len - fl) + 1; // one past the last possible start
    while (p < end) {
        p = static_cast<char const *>(std::memchr(p, f[0], std::size_t(end - p)));
        if (!p)
            break;
        if (std::memcmp(p + 1, f + 1, fl - 1) == 0)
            return unsigned(p - t);
        ++p;
    }
    return STR_NOT_FOUND;
}

static unsigned FindBytesNoCase(char const *t, unsigned len, unsigned from, char const *f,
                                unsigned fl)
{
    if (fl == 0 || from >= len || fl > len - from)
        return STR_NOT_FOUND;
    for (unsigned p = from; p <= len - fl; ++p)
        if (EqualNoCase(t + p, f, fl))
            return p;
    return STR_NOT_FOUND;
}

// Digits of a 64-bit value written backwards ending at end (exclusive).
static char *DigitsBackward(unsigned long long v, char *end)
{
    char *d = end;
    do {
        *--d = char('0' + v % 10);
        v /= 10;
    } while (v);
    return d;
}

struct SStringImpl
{
    using Buffer = SString::Buffer;

    // Shared by every empty string; read-only, so a stray write faults at once.
    static const Buffer s_empty;
    static_assert(offsetof(Buffer, m_aText) == Buffer::TextOffset && sizeof(Buffer) == 16,
                  "a block is the 16-byte header plus capacity");

    static Buffer *Empty() { return const_cast<Buffer *>(&s_empty); }

    static void LockWord(unsigned int &w)
    {
        while (__atomic_exchange_n(&w, 1u, __ATOMIC_ACQUIRE) != 0) {
            do
                Sleep(0);
            while (__atomic_load_n(&w, __ATOMIC_RELAXED) != 0);
        }
    }
    // A release store frees the word: it orders the holder's writes before
    // the next taker's acquiring exchange, and costs no locked instruction.
    static void UnlockWord(unsigned int &w) { __atomic_store_n(&w, 0u, __ATOMIC_RELEASE); }

    class Lock1
    {
    public:
        explicit Lock1(SString const &s) : m_w(s.m_nLock) { LockWord(m_w); }
        ~Lock1() { UnlockWord(m_w); }
        Lock1(Lock1 const &) = delete;
        Lock1 &operator=(Lock1 const &) = delete;

    private:
        unsigned int &m_w;
    };

    // Two objects held at once are always taken in address order, so that
    // a.Compare(b) and b.Compare(a) on two threads cannot deadlock; one
    // object passed twice is taken once, as the lock does not nest.
    class Lock2
    {
    public:
        Lock2(SString const &a, SString const &b)
            : m_first(&a < &b ? a.m_nLock : b.m_nLock),
              m_second(&a == &b ? nullptr : (&a < &b ? &b.m_nLock : &a.m_nLock))
        {
            LockWord(m_first);
            if (m_second)
                LockWord(*m_second);
        }
        ~Lock2()
        {
            if (m_second)
                UnlockWord(*m_second);
            UnlockWord(m_first);
        }
        Lock2(Lock2 const &) = delete;
        Lock2 &operator=(Lock2 const &) = delete;

    private:
        unsigned int &m_first;
        unsigned int *m_second;
    };

    static unsigned CapFor(unsigned n)
    {
        unsigned c = (n | 15u) + 1u;
        return c > STR_MAX_LEN ? STR_MAX_LEN : c;
    }

    static Buffer *Alloc(unsigned len, unsigned cap, unsigned char utf8)
    {
        auto *b = static_cast<Buffer *>(::operator new(std::size_t(cap) + 16));
        b->m_nLen = len;
        b->m_nShare = 0;
        b->m_nCap = cap;
        b->m_bUTF8 = utf8;
        b->Text()[len] = '\0';
        return b;
    }

    static Buffer *NewBuf(char const *p, unsigned n, unsigned char utf8)
    {
        if (!n)
            return Empty();
        Buffer *b = Alloc(n, CapFor(n), utf8);
        std::memcpy(b->Text(), p, n);
        return b;
    }

    static Buffer *Clone(Buffer const *b) { return NewBuf(b->Text(), b->m_nLen, b->m_bUTF8); }

    // A counted share; a saturated count gives the new holder its own copy.
    static Buffer *Share(Buffer *b)
    {
        if (b == Empty())
            return b;
        unsigned cur = __atomic_load_n(&b->m_nShare, __ATOMIC_RELAXED);
        do {
            if ((cur & 0x7FFFFFFFu) == 0x7FFFFFFFu)
                return Clone(b);
        } while (!__atomic_compare_exchange_n(&b->m_nShare, &cur, cur + 1, true,
                                              __ATOMIC_RELAXED, __ATOMIC_RELAXED));
        return b;
    }

    static void Release(Buffer *b)
    {
        if (b == Empty())
            return;
        // A count of 0 means no other holder exists that could race with us;
        // otherwise the decrement itself tells who was last.
        if (__atomic_load_n(&b->m_nShare, __ATOMIC_ACQUIRE) == 0 ||
            __atomic_fetch_sub(&b->m_nShare, 1u, __ATOMIC_ACQ_REL) == 0)
            ::operator delete(b);
    }

    static bool Unshared(Buffer *b)
    {
        return b != Empty() && __atomic_load_n(&b->m_nShare, __ATOMIC_ACQUIRE) == 0;
    }

    static void Set(SString &s, Buffer *nb)
    {
        Buffer *old = s.m_pBuf;
        s.m_pBuf = nb;
        Release(old);
    }

    static SString Adopt(Buffer *b)
    {
        SString s;
        s.m_pBuf = b;
        return s;
    }

    // Keeps another string's buffer alive (and unchanged) for one call.
    class Hold
    {
    public:
        explicit Hold(SString const &s)
        {
            Lock1 g(s);
            m_b = Share(s.m_pBuf);
        }
        ~Hold() { Release(m_b); }
        Hold(Hold const &) = delete;
        Hold &operator=(Hold const &) = delete;
        Buffer *Get() const { return m_b; }
        Buffer *Take()
        {
            Buffer *b = m_b;
            m_b = Empty();
            return b;
        }

    private:
        Buffer *m_b;
    };

    // Bytes may be changed after this; callers only use it on non-empty text.
    static char *MakePrivate(SString &s)
    {
        Buffer *b = s.m_pBuf;
        if (b != Empty() && !Unshared(b))
            Set(s, Clone(b));
        return s.m_pBuf->Text();
    }

    static Buffer *Sub(Buffer *b, unsigned pos, unsigned n)
    {
        unsigned len = b->m_nLen;
        if (pos >= len || n == 0)
            return Empty();
        if (pos == 0 && n >= len)
            return Share(b);
        return NewBuf(b->Text() + pos, std::min(n, len - pos), b->m_bUTF8);
    }

    // Sets the length to L (>= the current length), keeping the text; the
    // caller fills the new bytes.
    static char *Grow(SString &s, unsigned L)
    {
        Buffer *b = s.m_pBuf;
        bool own = Unshared(b);
        if (own && L <= b->m_nCap) {
            b->m_nLen = L;
            b->Text()[L] = '\0';
            return b->Text();
        }
        unsigned cap = (L | 15u) + 1u;
        if (own && b->m_nCap / 2 > cap / 3)
            cap = b->m_nCap + b->m_nCap / 2;
        cap = std::max(std::min(cap, STR_MAX_LEN), L);
        Buffer *nb = Alloc(L, cap, b->m_bUTF8);
        std::memcpy(nb->Text(), b->Text(), b->m_nLen);
        Set(s, nb);
        return nb->Text();
    }

    static bool Inside(Buffer const *b, char const *p)
    {
        auto a = reinterpret_cast<std::uintptr_t>(b->Text());
        auto q = reinterpret_cast<std::uintptr_t>(p);
        return q >= a && q <= a + b->m_nCap + 2;
    }

    static void AppendBytes(SString &s, char const *p, unsigned n)
    {
        Buffer *b = s.m_pBuf;
        unsigned len = b->m_nLen;
        n = std::min(n, STR_MAX_LEN - len);
        if (!n)
            return;
        // The source may lie in this very buffer, which growing may free.
        bool inside = Inside(b, p);
        std::size_t off = inside ? std::size_t(p - b->Text()) : 0;
        char *t = Grow(s, len + n);
        std::memmove(t + len, inside ? t + off : p, n);
    }

    static void AppendBuf(SString &s, Buffer *a)
    {
        if (!a->m_nLen || s.m_pBuf->m_nLen >= STR_MAX_LEN)
            return;
        unsigned char flag = s.m_pBuf->m_bUTF8 | a->m_bUTF8;
        AppendBytes(s, a->Text(), a->m_nLen);
        s.m_pBuf->m_bUTF8 = flag; // the buffer is private after a real append
    }

    // Replaces del bytes at pos by n bytes of src. What does not fit below
    // STR_MAX_LEN is cut: the prefix first, then src, then the old tail.
    static void Splice(SString &s, unsigned pos, unsigned del, char const *src, unsigned n)
    {
        Buffer *b = s.m_pBuf;
        unsigned len = b->m_nLen;
        unsigned rest = len - pos - del;
        unsigned keepSrc = std::min(n, STR_MAX_LEN - pos);
        unsigned keepTail = std::min(rest, STR_MAX_LEN - pos - keepSrc);
        unsigned newLen = pos + keepSrc + keepTail;
        if (del == 0 && keepSrc == 0)
            return;
        bool alias = keepSrc && Inside(b, src);
        if (Unshared(b) && newLen <= b->m_nCap && !alias) {
            char *t = b->Text();
            if (keepTail)
                std::memmove(t + pos + keepSrc, t + pos + del, keepTail);
            if (keepSrc && src)
                std::memcpy(t + pos, src, keepSrc);
            b->m_nLen = newLen;
            t[newLen] = '\0';
            return;
        }
        if (newLen == 0) {
            Set(s, Empty());
            return;
        }
        Buffer *nb = Alloc(newLen, CapFor(newLen), b->m_bUTF8);
        std::memcpy(nb->Text(), b->Text(), pos);
        if (keepSrc && src)
            std::memcpy(nb->Text() + pos, src, keepSrc);
        if (keepTail)
            std::memcpy(nb->Text() + pos + keepSrc, b->Text() + pos + del, keepTail);
        Set(s, nb);
    }

    static void Assign(SString &s, char const *p, unsigned n)
    {
        Buffer *b = s.m_pBuf;
        if (Unshared(b) && n <= b->m_nCap) {
            if (n)
                std::memmove(b->Text(), p, n);
            b->m_nLen = n;
            b->Text()[n] = '\0';
            b->m_bUTF8 = 0;
            return;
        }
        Set(s, NewBuf(p, n, 0));
    }

    // Maps every byte through a table; the buffer is made private only when
    // some byte really changes.
    static void MapBytes(SString &s, unsigned char const *table)
    {
        Buffer *b = s.m_pBuf;
        unsigned len = b->m_nLen;
        unsigned i = 0;
        while (i < len && table[(unsigned char)b->Text()[i]] == (unsigned char)b->Text()[i])
            ++i;
        if (i == len)
            return;
        char *t = MakePrivate(s);
        for (; i < len; ++i)
            t[i] = char(table[(unsigned char)t[i]]);
    }

    // ASCII case change: the 26 bytes from first on move by delta. Written
    // without a table so that the compiler can vectorise the loop.
    static void ShiftAscii(SString &s, unsigned char first, int delta)
    {
        Buffer *b = s.m_pBuf;
        unsigned len = b->m_nLen, i = 0;
        auto const *src = reinterpret_cast<unsigned char const *>(b->Text());
        while (i < len && (unsigned char)(src[i] - first) >= 26u)
            ++i;
        if (i == len)
            return;
        auto *t = reinterpret_cast<unsigned char *>(MakePrivate(s));
        for (; i < len; ++i) {
            unsigned char c = t[i];
            t[i] = (unsigned char)(c + ((unsigned char)(c - first) < 26u ? delta : 0));
        }
    }

    static void ReplaceChars(SString &s, char from, char to)
    {
        Buffer *b = s.m_pBuf;
        if (from == to)
            return;
        void const *hit = std::memchr(b->Text(), from, b->m_nLen);
        if (!hit)
            return;
        unsigned i = unsigned(static_cast<char const *>(hit) - b->Text());
        char *t = MakePrivate(s);
        unsigned len = s.m_pBuf->m_nLen;
        for (; i < len; ++i)
            if (t[i] == from)
                t[i] = to;
    }

    static void EraseLeading(SString &s, char c)
    {
        Buffer *b = s.m_pBuf;
        unsigned k = 0;
        while (k < b->m_nLen && b->Text()[k] == c)
            ++k;
        if (k)
            Splice(s, 0, k, nullptr, 0);
    }

    static void EraseTrailing(SString &s, char c)
    {
        Buffer *b = s.m_pBuf;
        unsigned len = b->m_nLen, k = 0;
        while (k < len && b->Text()[len - 1 - k] == c)
            ++k;
        if (k)
            Splice(s, len - k, k, nullptr, 0);
    }

    static Buffer *FormatBuf(char const *format, va_list ap)
    {
        if (!format)
            return Empty();
        char area[512];
        va_list cp;
        va_copy(cp, ap);
        int r = std::vsnprintf(area, sizeof area, format, cp);
        va_end(cp);
        if (r <= 0)
            return Empty();
        if (r < int(sizeof area))
            return NewBuf(area, unsigned(r), 0);
        unsigned n = std::min(unsigned(r), STR_MAX_LEN);
        std::vector<char> big(std::size_t(n) + 1);
        va_copy(cp, ap);
        r = std::vsnprintf(big.data(), big.size(), format, cp);
        va_end(cp);
        if (r <= 0)
            return Empty();
        return NewBuf(big.data(), n, 0);
    }

    static Buffer *NumberBuf(long long v)
    {
        char area[32];
        char *end = area + sizeof area;
        unsigned long long u = v < 0 ? 0ull - (unsigned long long)v : (unsigned long long)v;
        char *d = DigitsBackward(u, end);
        if (v < 0)
            *--d = '-';
        return NewBuf(d, unsigned(end - d), 0);
    }

    static Buffer *UNumberBuf(unsigned long long v)
    {
        char area[32];
        char *end = area + sizeof area;
        char *d = DigitsBackward(v, end);
        return NewBuf(d, unsigned(end - d), 0);
    }

    static void AppendSigned(SString &s, long long v)
    {
        char area[32];
        char *end = area + sizeof area;
        unsigned long long u = v < 0 ? 0ull - (unsigned long long)v : (unsigned long long)v;
        char *d = DigitsBackward(u, end);
        if (v < 0)
            *--d = '-';
        Lock1 g(s);
        AppendBytes(s, d, unsigned(end - d));
    }

    static void AppendUnsigned(SString &s, unsigned long long v)
    {
        char area[32];
        char *end = area + sizeof area;
        char *d = DigitsBackward(v, end);
        Lock1 g(s);
        AppendBytes(s, d, unsigned(end - d));
    }

    template <class Test> static bool Every(SString const &s, Test test)
    {
        Lock1 g(s);
        Buffer *b = s.m_pBuf;
        for (unsigned i = 0; i < b->m_nLen; ++i)
            if (!test((unsigned char)b->Text()[i]))
                return false;
        return true;
    }

    static void ConvertLineEnds(SString &s, LineEnd target)
    {
        if (target != LineEndCr && target != LineEndLf && target != LineEndCrLf)
            return;
        Buffer *b = s.m_pBuf;
        unsigned len = b->m_nLen;
        char const *t = b->Text();
        unsigned long long out = 0;
        bool change = false;
        for (unsigned i = 0; i < len;) {
            char c = t[i];
            if (c != '\r' && c != '\n') {
                ++out;
                ++i;
                continue;
            }
            bool pair = i + 1 < len && (t[i + 1] == '\r' || t[i + 1] == '\n') && t[i + 1] != c;
            bool inForm = target == LineEndCrLf ? (pair && c == '\r')
                                                : (!pair && c == (target == LineEndCr ? '\r' : '\n'));
            change |= !inForm;
            out += target == LineEndCrLf ? 2 : 1;
            i += pair ? 2 : 1;
        }
        if (!change || out >= STR_MAX_LEN)
            return;
        Buffer *nb = Alloc(unsigned(out), CapFor(unsigned(out)), b->m_bUTF8);
        char *d = nb->Text();
        for (unsigned i = 0; i < len;) {
            char c = t[i];
            if (c != '\r' && c != '\n') {
                *d++ = c;
                ++i;
                continue;
            }
            bool pair = i + 1 < len && (t[i + 1] == '\r' || t[i + 1] == '\n') && t[i + 1] != c;
            if (target == LineEndCr)
                *d++ = '\r';
            else if (target == LineEndLf)
                *d++ = '\n';
            else {
                *d++ = '\r';
                *d++ = '\n';
            }
            i += pair ? 2 : 1;
        }
        Set(s, nb);
    }

    template <bool NoCase>
    static void ReplacePhrases(SString &s, SString const &find, SString const &repl, int start,
                               long long end)
    {
        Hold hf(find), hr(repl);
        Lock1 g(s);
        Buffer *f = hf.Get(), *r = hr.Get();
        unsigned fl = f->m_nLen, rl = r->m_nLen;
        if (!fl)
            return;
        if (!NoCase && fl == rl && std::memcmp(f->Text(), r->Text(), fl) == 0)
            return; // every replacement would write the same bytes
        long long i = start < 0 ? 0 : start;
        for (;;) {
            Buffer *b = s.m_pBuf;
            long long bound = std::min<long long>(end, b->m_nLen);
            if (i >= bound)
                break;
            bool first = NoCase ? Fold(b->Text()[i]) == Fold(f->Text()[0])
                                : b->Text()[i] == f->Text()[0];
            if (!first) {
                ++i;
                continue;
            }
            unsigned p = NoCase ? FindBytesNoCase(b->Text(), b->m_nLen, unsigned(i), f->Text(), fl)
                                : FindBytes(b->Text(), b->m_nLen, unsigned(i), f->Text(), fl);
            if (p == STR_NOT_FOUND)
                break;
            if (fl != rl)
                Splice(s, p, fl, r->Text(), rl);
            else
                std::memcpy(MakePrivate(s) + p, r->Text(), rl);
            i = (long long)p + rl;
        }
    }

    static bool Equal(SString const &a, SString const &b)
    {
        Lock2 g(a, b);
        Buffer *x = a.m_pBuf, *y = b.m_pBuf;
        if (x == y)
            return true;
        return x->m_nLen == y->m_nLen && std::memcmp(x->Text(), y->Text(), x->m_nLen) == 0;
    }

    static bool Equal(SString const &a, char const *p)
    {
        Lock1 g(a);
        if (!p)
            return a.m_pBuf->m_nLen == 0;
        return CompareZ(a.m_pBuf->Text(), p, STR_NOT_FOUND, false) == CompEqual;
    }

    static StringCompare Order(SString const &a, SString const &b)
    {
        Lock2 g(a, b);
        Buffer *x = a.m_pBuf, *y = b.m_pBuf;
        if (x == y)
            return CompEqual;
        return CompareN(x->Text(), x->m_nLen, y->Text(), y->m_nLen, STR_NOT_FOUND, false);
    }

    static StringCompare Order(SString const &a, char const *p)
    {
        Lock1 g(a);
        return CompareZ(a.m_pBuf->Text(), p ? p : "", STR_NOT_FOUND, false);
    }
};

const SString::Buffer SStringImpl::s_empty = {};

using Impl = SStringImpl;

// ------------------------------------------------------------ construction

SString::SString() : m_pBuf(Impl::Empty()), m_nLock(0) {}

SString::SString(SString const &str) : m_pBuf(Impl::Empty()), m_nLock(0)
{
    Impl::Lock1 g(str);
    m_pBuf = Impl::Share(str.m_pBuf);
}

SString::SString(SString const &str, unsigned int pos, unsigned int len)
    : m_pBuf(Impl::Empty()), m_nLock(0)
{
    Impl::Lock1 g(str);
    m_pBuf = Impl::Sub(str.m_pBuf, pos, len);
}

SString::SString(char const *text) : m_pBuf(Impl::Empty()), m_nLock(0)
{
    if (text)
        m_pBuf = Impl::NewBuf(text, unsigned(strnlen(text, STR_MAX_LEN)), 0);
}

SString::SString(char const *text, unsigned int pos, unsigned int len, bool noScan)
    : m_pBuf(Impl::Empty()), m_nLock(0)
{
    if (!text)
        return;
    unsigned n;
    if (len == STR_TO_END || !noScan) {
        if (pos && strnlen(text, pos) < pos)
            return;
        n = unsigned(strnlen(text + pos, std::min(len, STR_MAX_LEN)));
    } else {
        n = std::min(len, STR_MAX_LEN);
    }
    m_pBuf = Impl::NewBuf(text + pos, n, 0);
}

SString::SString(wchar_t const *text, unsigned int codePage) : m_pBuf(Impl::Empty()), m_nLock(0)
{
    if (!text)
        return;
    int wl = int(wcsnlen(text, STR_MAX_LEN));
    if (!wl)
        return;
    int room = codePage == CP_UTF8 ? 4 * wl : wl;
    std::vector<char> out(std::size_t(room) + 1);
    int n = WideCharToMultiByte(codePage, 0, text, wl, out.data(), room, nullptr, nullptr);
    if (n <= 0 && GetLastError() == ERROR_INSUFFICIENT_BUFFER) {
        // Double-byte code pages may need more than one byte per unit.
        room = WideCharToMultiByte(codePage, 0, text, wl, nullptr, 0, nullptr, nullptr);
        if (room > 0) {
            out.resize(std::size_t(room) + 1);
            n = WideCharToMultiByte(codePage, 0, text, wl, out.data(), room, nullptr, nullptr);
        }
    }
    if (n <= 0)
        return;
    m_pBuf = Impl::NewBuf(out.data(), std::min(unsigned(n), STR_MAX_LEN), codePage == CP_UTF8);
}

SString::SString(ATL::CStringT<char, StrTraitMFC_DLL<char, ATL::ChTraitsCRT<char>>> const &str)
    : m_pBuf(Impl::Empty()), m_nLock(0)
{
    int n = str.GetLength();
    if (n > 0)
        m_pBuf = Impl::NewBuf(str.GetString(), std::min(unsigned(n), STR_MAX_LEN), 0);
}

SString::SString(char c) : m_pBuf(Impl::Empty()), m_nLock(0)
{
    if (c)
        m_pBuf = Impl::NewBuf(&c, 1, 0);
}

SString::SString(unsigned char value) : m_pBuf(Impl::UNumberBuf(value)), m_nLock(0) {}
SString::SString(short value) : m_pBuf(Impl::NumberBuf(value)), m_nLock(0) {}
SString::SString(unsigned int value) : m_pBuf(Impl::UNumberBuf(value)), m_nLock(0) {}
SString::SString(long value) : m_pBuf(Impl::NumberBuf(value)), m_nLock(0) {}
SString::SString(unsigned long value) : m_pBuf(Impl::UNumberBuf(value)), m_nLock(0) {}
SString::SString(__int64 value) : m_pBuf(Impl::NumberBuf(value)), m_nLock(0) {}
SString::SString(unsigned __int64 value) : m_pBuf(Impl::UNumberBuf(value)), m_nLock(0) {}

SString::SString(int value, int width) : m_pBuf(Impl::Empty()), m_nLock(0)
{
    char area[32];
    char *end = area + sizeof area;
    unsigned long long u = value < 0 ? 0ull - (unsigned long long)value : (unsigned long long)value;
    char *d = DigitsBackward(u, end);
    unsigned digits = unsigned(end - d);
    unsigned sign = value < 0 ? 1 : 0;
    unsigned total = digits + sign;
    unsigned want = width > 0 ? std::min(unsigned(width), STR_MAX_LEN) : 0;
    if (want <= total) {
        if (sign)
            *--d = '-';
        m_pBuf = Impl::NewBuf(d, total, 0);
        return;
    }
    Buffer *b = Impl::Alloc(want, Impl::CapFor(want), 0);
    // A negative value keeps its sign in front of the zeros: -7 at width 4 is -007.
    if (sign)
        b->Text()[0] = '-';
    std::memset(b->Text() + sign, '0', want - total);
    std::memcpy(b->Text() + sign + (want - total), d, digits);
    m_pBuf = b;
}

SString::SString(double value) : m_pBuf(Impl::Empty()), m_nLock(0)
{
    char area[256];
    int r = std::snprintf(area, sizeof area, "%f", value);
    if (r <= 0)
        return;
    if (r < int(sizeof area)) {
        m_pBuf = Impl::NewBuf(area, unsigned(r), 0);
        return;
    }
    // Huge magnitudes print hundreds of digits; they are kept whole.
    std::vector<char> big(std::size_t(r) + 1);
    std::snprintf(big.data(), big.size(), "%f", value);
    m_pBuf = Impl::NewBuf(big.data(), unsigned(r), 0);
}

SString::~SString()
{
    Impl::Release(m_pBuf);
}

SString &SString::operator=(SString const &str)
{
    if (this == &str)
        return *this;
    Buffer *nb;
    {
        Impl::Lock1 g(str);
        nb = Impl::Share(str.m_pBuf);
    }
    Buffer *old;
    {
        Impl::Lock1 g(*this);
        old = m_pBuf;
        m_pBuf = nb;
    }
    Impl::Release(old);
    return *this;
}

SString &SString::operator=(char const *text)
{
    Impl::Lock1 g(*this);
    Impl::Assign(*this, text, text ? unsigned(strnlen(text, STR_MAX_LEN)) : 0);
    return *this;
}

SString SString::F(char const *format, ...)
{
    va_list ap;
    va_start(ap, format);
    Buffer *b = Impl::FormatBuf(format, ap);
    va_end(ap);
    return Impl::Adopt(b);
}

SString SString::FromFormat(char const *format, ...)
{
    va_list ap;
    va_start(ap, format);
    Buffer *b = Impl::FormatBuf(format, ap);
    va_end(ap);
    return Impl::Adopt(b);
}

void SString::Format(char const *format, ...)
{
    va_list ap;
    va_start(ap, format);
    Buffer *b = Impl::Empty();
    try {
        b = Impl::FormatBuf(format, ap);
    } catch (...) {
        va_end(ap);
        throw;
    }
    va_end(ap);
    Impl::Lock1 g(*this);
    Impl::Set(*this, b);
}

// ------------------------------------------------------------ appending

SString &SString::operator+=(SString const &str)
{
    Impl::Hold h(str);
    Impl::Lock1 g(*this);
    if (m_pBuf->m_nLen == 0)
        Impl::Set(*this, h.Take());
    else
        Impl::AppendBuf(*this, h.Get());
    return *this;
}

SString &SString::operator+=(char const *text)
{
    if (!text)
        return *this;
    Impl::Lock1 g(*this);
    Impl::AppendBytes(*this, text, unsigned(strnlen(text, STR_MAX_LEN)));
    return *this;
}

SString &SString::operator+=(char c)
{
    if (!c)
        return *this;
    Impl::Lock1 g(*this);
    unsigned len = m_pBuf->m_nLen;
    if (len < STR_MAX_LEN)
        Impl::Grow(*this, len + 1)[len] = c;
    return *this;
}

SString &SString::operator+=(unsigned char value)
{
    Impl::AppendUnsigned(*this, value);
    return *this;
}

SString &SString::operator+=(short value)
{
    Impl::AppendSigned(*this, value);
    return *this;
}

SString &SString::operator+=(int value)
{
    Impl::AppendSigned(*this, value);
    return *this;
}

SString &SString::operator+=(unsigned int value)
{
    Impl::AppendUnsigned(*this, value);
    return *this;
}

SString &SString::operator+=(long value)
{
    Impl::AppendSigned(*this, value);
    return *this;
}

SString &SString::operator+=(unsigned long value)
{
    Impl::AppendUnsigned(*this, value);
    return *this;
}

void SString::AddSeparated(SString const &str, SString const &sep)
{
    Impl::Hold hs(str), hp(sep);
    Impl::Lock1 g(*this);
    if (!hs.Get()->m_nLen)
        return;
    if (m_pBuf->m_nLen == 0) {
        Impl::Set(*this, hs.Take());
        return;
    }
    Impl::AppendBuf(*this, hp.Get());
    Impl::AppendBuf(*this, hs.Get());
}

void SString::AddSeparated(SString const &str, char sep)
{
    Impl::Hold hs(str);
    Impl::Lock1 g(*this);
    if (!hs.Get()->m_nLen)
        return;
    if (m_pBuf->m_nLen == 0) {
        Impl::Set(*this, hs.Take());
        return;
    }
    if (sep)
        Impl::AppendBytes(*this, &sep, 1);
    Impl::AppendBuf(*this, hs.Get());
}

void SString::AddToStringListBuffer(char *list)
{
    if (!list)
        return;
    Impl::Lock1 g(*this);
    std::size_t i = 0;
    while (list[i] || list[i + 1])
        ++i;
    char *d = i ? list + i + 1 : list;
    std::memcpy(d, m_pBuf->Text(), m_pBuf->m_nLen);
    d[m_pBuf->m_nLen] = '\0';
    d[m_pBuf->m_nLen + 1] = '\0';
}

SString &SString::Insert(SString const &str, unsigned int pos)
{
    Impl::Hold h(str);
    Impl::Lock1 g(*this);
    Buffer *a = h.Get();
    if (!a->m_nLen)
        return *this;
    if (m_pBuf->m_nLen == 0)
        Impl::Set(*this, h.Take());
    else
        Impl::Splice(*this, std::min(pos, m_pBuf->m_nLen), 0, a->Text(), a->m_nLen);
    return *this;
}

SString &SString::Insert(SString const &str, unsigned int from, unsigned int count, unsigned int pos)
{
    Impl::Hold h(str);
    Impl::Lock1 g(*this);
    Buffer *a = h.Get();
    if (from > a->m_nLen)
        return *this;
    unsigned n = std::min(count, a->m_nLen - from);
    if (!n)
        return *this;
    if (m_pBuf->m_nLen == 0)
        Impl::Set(*this, Impl::Sub(a, from, n));
    else
        Impl::Splice(*this, std::min(pos, m_pBuf->m_nLen), 0, a->Text() + from, n);
    return *this;
}

SString &SString::Insert(char const *text, unsigned int pos)
{
    if (!text || !*text)
        return *this;
    Impl::Lock1 g(*this);
    Impl::Splice(*this, std::min(pos, m_pBuf->m_nLen), 0, text,
                 unsigned(strnlen(text, STR_MAX_LEN)));
    return *this;
}

SString &SString::Insert(char c, unsigned int pos)
{
    if (!c)
        return *this;
    Impl::Lock1 g(*this);
    unsigned len = m_pBuf->m_nLen;
    pos = std::min(pos, len);
    if (len >= STR_MAX_LEN && pos == len)
        return *this;
    Impl::Splice(*this, pos, 0, &c, 1);
    return *this;
}

char *SString::AllocStrBuf(unsigned int n)
{
    n = std::min(n, STR_MAX_LEN);
    Buffer *nb = Impl::Alloc(n, Impl::CapFor(n), 0);
    Impl::Lock1 g(*this);
    Impl::Set(*this, nb);
    return nb->Text();
}

char *SString::AllocStrCapBuf(unsigned int n)
{
    n = std::min(n, STR_MAX_LEN);
    Buffer *nb = Impl::Alloc(0, Impl::CapFor(n), 0);
    nb->Text()[n] = '\0';
    Impl::Lock1 g(*this);
    Impl::Set(*this, nb);
    return nb->Text();
}

// ------------------------------------------------------------ removing, replacing

void SString::Clear()
{
    Impl::Lock1 g(*this);
    Impl::Set(*this, Impl::Empty());
}

SString &SString::Erase(unsigned int pos, unsigned int n)
{
    Impl::Lock1 g(*this);
    unsigned len = m_pBuf->m_nLen;
    if (pos < len && n)
        Impl::Splice(*this, pos, std::min(n, len - pos), nullptr, 0);
    return *this;
}

SString SString::Cut(unsigned int pos, unsigned int n)
{
    Impl::Lock1 g(*this);
    SString r = Impl::Adopt(Impl::Sub(m_pBuf, pos, n));
    unsigned len = m_pBuf->m_nLen;
    if (pos < len && n)
        Impl::Splice(*this, pos, std::min(n, len - pos), nullptr, 0);
    return r;
}

SString &SString::EraseAllChars(char c)
{
    Impl::Lock1 g(*this);
    Buffer *b = m_pBuf;
    unsigned len = b->m_nLen;
    void const *hit = std::memchr(b->Text(), c, len);
    if (!hit)
        return *this;
    unsigned first = unsigned(static_cast<char const *>(hit) - b->Text());
    unsigned kept = first;
    for (unsigned i = first; i < len; ++i)
        kept += b->Text()[i] != c;
    if (Impl::Unshared(b)) {
        char *t = b->Text();
        unsigned d = first;
        for (unsigned i = first; i < len; ++i)
            if (t[i] != c)
                t[d++] = t[i];
        b->m_nLen = d;
        t[d] = '\0';
        return *this;
    }
    if (!kept) {
        Impl::Set(*this, Impl::Empty());
        return *this;
    }
    Buffer *nb = Impl::Alloc(kept, Impl::CapFor(kept), b->m_bUTF8);
    std::memcpy(nb->Text(), b->Text(), first);
    unsigned d = first;
    for (unsigned i = first; i < len; ++i)
        if (b->Text()[i] != c)
            nb->Text()[d++] = b->Text()[i];
    Impl::Set(*this, nb);
    return *this;
}

SString &SString::EraseLeadingChars(char c)
{
    Impl::Lock1 g(*this);
    Impl::EraseLeading(*this, c);
    return *this;
}

SString &SString::EraseTrailingChars(char c)
{
    Impl::Lock1 g(*this);
    Impl::EraseTrailing(*this, c);
    return *this;
}

SString &SString::Trim(char c)
{
    Impl::Lock1 g(*this);
    Impl::EraseLeading(*this, c);
    Impl::EraseTrailing(*this, c);
    return *this;
}

SString &SString::Expand(unsigned int n, char c)
{
    if (!c)
        return *this;
    Impl::Lock1 g(*this);
    unsigned len = m_pBuf->m_nLen;
    n = std::min(n, STR_MAX_LEN);
    if (n > len)
        std::memset(Impl::Grow(*this, n) + len, c, n - len);
    return *this;
}

SString &SString::Fill(unsigned int n, char c)
{
    Impl::Lock1 g(*this);
    Buffer *b = m_pBuf;
    if (n > b->m_nLen) {
        n = std::min(n, STR_MAX_LEN);
        if (Impl::Unshared(b) && n <= b->m_nCap) {
            b->m_nLen = n;
        } else {
            b = Impl::Alloc(n, Impl::CapFor(n), b->m_bUTF8);
            Impl::Set(*this, b);
        }
        std::memset(b->Text(), c, n);
        b->Text()[n] = '\0';
    } else if (n) {
        std::memset(Impl::MakePrivate(*this), c, n);
    }
    return *this;
}

SString &SString::Replace(SString const &str, unsigned int pos)
{
    Impl::Hold h(str);
    Impl::Lock1 g(*this);
    Buffer *a = h.Get();
    unsigned len = m_pBuf->m_nLen;
    if (pos >= len || !a->m_nLen)
        return *this;
    unsigned n = std::min(a->m_nLen, len - pos);
    if (std::memcmp(m_pBuf->Text() + pos, a->Text(), n) != 0)
        std::memmove(Impl::MakePrivate(*this) + pos, a->Text(), n);
    return *this;
}

SString &SString::Replace(char c, unsigned int pos)
{
    Impl::Lock1 g(*this);
    if (pos < m_pBuf->m_nLen && m_pBuf->Text()[pos] != c)
        Impl::MakePrivate(*this)[pos] = c;
    return *this;
}

SString &SString::ReplaceAllChars(char from, char to)
{
    Impl::Lock1 g(*this);
    Impl::ReplaceChars(*this, from, to);
    return *this;
}

SString &SString::ReplaceAllPhrases(SString const &find, SString const &repl, int start, int count)
{
    // The end bound is a signed 32-bit sum that wraps like the caller's int.
    int end = int(unsigned(start) + unsigned(count));
    Impl::ReplacePhrases<false>(*this, find, repl, start, end);
    return *this;
}

SString &SString::ReplaceAllPhrasesI(SString const &find, SString const &repl, int start)
{
    Impl::ReplacePhrases<true>(*this, find, repl, start, (long long)STR_NOT_FOUND + 1);
    return *this;
}

SString &SString::Reverse()
{
    Impl::Lock1 g(*this);
    unsigned len = m_pBuf->m_nLen;
    if (len > 1) {
        char *t = Impl::MakePrivate(*this);
        std::reverse(t, t + len);
    }
    return *this;
}

SString &SString::SpaceToZero()
{
    Impl::Lock1 g(*this);
    Impl::ReplaceChars(*this, ' ', '0');
    return *this;
}

SString &SString::ZeroToSpace()
{
    Impl::Lock1 g(*this);
    Impl::ReplaceChars(*this, '0', ' ');
    return *this;
}

SString &SString::ToLower()
{
    Impl::Lock1 g(*this);
    Impl::ShiftAscii(*this, 'A', 32);
    return *this;
}

SString &SString::ToUpper()
{
    Impl::Lock1 g(*this);
    if (m_staticLanguageId == LanguagePolish)
        Impl::MapBytes(*this, s_case.upperPolish);
    else
        Impl::ShiftAscii(*this, 'a', -32);
    return *this;
}

SString SString::Lower() const
{
    SString r(*this);
    r.ToLower();
    return r;
}

SString SString::Upper() const
{
    SString r(*this);
    r.ToUpper();
    return r;
}

SString &SString::ConvertLineEnd(LineEnd target)
{
    Impl::Lock1 g(*this);
    Impl::ConvertLineEnds(*this, target);
    return *this;
}

SString &SString::ConvertLineEnd()
{
    return ConvertLineEnd(LineEndCrLf);
}

static bool IsDosSet(CharSet s)
{
    return s >= CharSetDos437 && s <= CharSetDos865;
}

SString &SString::Convert(CharSet from, CharSet to)
{
    if (from == CharSetNone || from == CharSetKeep || to == CharSetNone || to == CharSetKeep)
        return *this;
    if (from == CharSetSystem)
        from = GetSystemCharSet();
    if (to == CharSetSystem)
        to = GetSystemCharSet();
    if (from == to)
        return *this;
    Impl::Lock1 g(*this);
    Buffer *b = m_pBuf;
    // Plain ASCII (but for the DOS section sign) reads the same in every set:
    // such text keeps its shared buffer.
    bool section = IsDosSet(from);
    unsigned i = 0;
    auto const *t = reinterpret_cast<unsigned char const *>(b->Text());
    while (i < b->m_nLen && t[i] < 0x80 && !(section && t[i] == 0x15))
        ++i;
    if (i == b->m_nLen)
        return *this;
    ImpStringConvert(Impl::MakePrivate(*this), from, to);
    return *this;
}

char SString::Convert(char c, CharSet from, CharSet to)
{
    auto b = (unsigned char)c;
    bool real = from != CharSetNone && from != CharSetKeep && to != CharSetNone && to != CharSetKeep;
    if (b < 0x80) {
        if (b != 0x15 || !real)
            return c;
        // Byte 21 is the section sign in the DOS sets.
        CharSet t = to >= CharSetSystem ? CharSetAnsi : to;
        if (!IsDosSet(from) || from == t)
            return c;
        char s = ImpChar16ToChar(0xA7, t);
        return s ? s : c;
    }
    if (!real)
        return '\0';
    if (from < CharSetAnsi || from > CharSetDos865)
        from = CharSetAnsi;
    if (to >= CharSetSystem || to < CharSetAnsi)
        to = CharSetAnsi;
    if (from == to)
        return c;
    unsigned short p = ImpCharToChar16(c, from);
    if (p < 0x80)
        return c;
    return ImpChar16ToChar(p, to); // '?' beyond the pivot codes, 0 where to lacks it
}

// ------------------------------------------------------------ extracting

SString SString::Copy(unsigned int pos, unsigned int n) const
{
    Impl::Lock1 g(*this);
    return Impl::Adopt(Impl::Sub(m_pBuf, pos, n));
}

SString SString::operator()(unsigned int pos, unsigned int n) const
{
    return Copy(pos, n);
}

SString SString::CopyToLastChar(char c) const
{
    Impl::Lock1 g(*this);
    unsigned len = m_pBuf->m_nLen;
    for (unsigned i = len; i-- > 0;)
        if (m_pBuf->Text()[i] == c)
            return Impl::Adopt(Impl::Sub(m_pBuf, 0, i));
    return Impl::Adopt(Impl::Share(m_pBuf));
}

SString SString::GetToken(unsigned int index, char sep) const
{
    Impl::Lock1 g(*this);
    Buffer *b = m_pBuf;
    unsigned len = b->m_nLen, start = 0;
    if (!len)
        return SString();
    for (unsigned k = 0; k < index; ++k) {
        void const *hit = std::memchr(b->Text() + start, sep, len - start);
        if (!hit)
            return SString();
        start = unsigned(static_cast<char const *>(hit) - b->Text()) + 1;
    }
    void const *hit = std::memchr(b->Text() + start, sep, len - start);
    unsigned end = hit ? unsigned(static_cast<char const *>(hit) - b->Text()) : len;
    return Impl::Adopt(Impl::Sub(b, start, end - start));
}

unsigned int SString::GetTokenCount(char sep) const
{
    Impl::Lock1 g(*this);
    unsigned len = m_pBuf->m_nLen;
    if (!len)
        return 0;
    unsigned n = 1;
    for (unsigned i = 0; i < len; ++i)
        n += m_pBuf->Text()[i] == sep;
    return n;
}

int SString::GetTokenPos(unsigned int index, char sep) const
{
    Impl::Lock1 g(*this);
    unsigned len = m_pBuf->m_nLen;
    if (!index || !len)
        return 0;
    unsigned seen = 0;
    for (unsigned i = 0; i < len; ++i) {
        if (m_pBuf->Text()[i] == sep && ++seen == index)
            return i + 1 < len ? int(i + 1) : 0;
    }
    return 0;
}

std::vector<SString> SString::GetAllTokens(char sep) const
{
    Impl::Hold h(*this);
    Buffer *b = h.Get();
    std::vector<SString> out;
    unsigned len = b->m_nLen;
    if (!len)
        return out;
    unsigned start = 0;
    for (;;) {
        void const *hit = std::memchr(b->Text() + start, sep, len - start);
        unsigned end = hit ? unsigned(static_cast<char const *>(hit) - b->Text()) : len;
        unsigned a = start, z = end;
        while (a < z && b->Text()[a] == ' ')
            ++a;
        while (z > a && b->Text()[z - 1] == ' ')
            --z;
        out.push_back(Impl::Adopt(Impl::Sub(b, a, z - a)));
        if (!hit)
            break;
        start = end + 1;
    }
    return out;
}

wchar_t *SString::CreateWCHARArr(unsigned int codePage) const
{
    Impl::Lock1 g(*this);
    unsigned len = m_pBuf->m_nLen;
    auto *arr = new wchar_t[std::size_t(len) + 1];
    int n = len ? MultiByteToWideChar(codePage, 0, m_pBuf->Text(), int(len), arr, int(len)) : 0;
    arr[n > 0 ? n : 0] = L'\0';
    return arr;
}

// ------------------------------------------------------------ searching

unsigned int SString::Search(SString const &str, unsigned int from) const
{
    Impl::Hold h(str);
    Impl::Lock1 g(*this);
    return FindBytes(m_pBuf->Text(), m_pBuf->m_nLen, from, h.Get()->Text(), h.Get()->m_nLen);
}

unsigned int SString::Search(char const *text, unsigned int from) const
{
    if (!text)
        return STR_NOT_FOUND;
    unsigned fl = unsigned(strnlen(text, STR_MAX_LEN));
    Impl::Lock1 g(*this);
    return FindBytes(m_pBuf->Text(), m_pBuf->m_nLen, from, text, fl);
}

unsigned int SString::Search(char c, unsigned int from) const
{
    Impl::Lock1 g(*this);
    return FindBytes(m_pBuf->Text(), m_pBuf->m_nLen, from, &c, 1);
}

unsigned int SString::NoCaseSearch(SString const &str, unsigned int from) const
{
    Impl::Hold h(str);
    Impl::Lock1 g(*this);
    return FindBytesNoCase(m_pBuf->Text(), m_pBuf->m_nLen, from, h.Get()->Text(),
                           h.Get()->m_nLen);
}

unsigned int SString::SearchBackward(SString const &str, unsigned int from) const
{
    Impl::Hold h(str);
    Impl::Lock1 g(*this);
    Buffer *f = h.Get();
    char const *t = m_pBuf->Text();
    unsigned len = m_pBuf->m_nLen, fl = f->m_nLen;
    if (!fl || from >= len)
        return STR_NOT_FOUND;
    // A start that leaves no room for the whole phrase ends the search.
    if ((unsigned long long)from + fl > len)
        return STR_NOT_FOUND;
    for (unsigned p = from + 1; p-- > 0;)
        if (std::memcmp(t + p, f->Text(), fl) == 0)
            return p;
    return STR_NOT_FOUND;
}

unsigned int SString::SearchFromEnd(SString const &str, bool ignoreCase) const
{
    Impl::Hold h(str);
    Impl::Lock1 g(*this);
    Buffer *f = h.Get();
    char const *t = m_pBuf->Text();
    unsigned len = m_pBuf->m_nLen, fl = f->m_nLen;
    if (!fl || fl > len)
        return STR_NOT_FOUND;
    for (unsigned p = len - fl + 1; p-- > 0;) {
        bool hit = ignoreCase ? EqualNoCase(t + p, f->Text(), fl)
                              : std::memcmp(t + p, f->Text(), fl) == 0;
        if (hit)
            return p;
    }
    return STR_NOT_FOUND;
}

unsigned int SString::SearchFromEnd(char c) const
{
    Impl::Lock1 g(*this);
    for (unsigned p = m_pBuf->m_nLen; p-- > 0;)
        if (m_pBuf->Text()[p] == c)
            return p;
    return STR_NOT_FOUND;
}

bool SString::EndsOn(SString const &str) const
{
    Impl::Hold h(str);
    Impl::Lock1 g(*this);
    unsigned len = m_pBuf->m_nLen, fl = h.Get()->m_nLen;
    return fl && fl <= len && std::memcmp(m_pBuf->Text() + len - fl, h.Get()->Text(), fl) == 0;
}

unsigned int SString::Match(SString const &str) const
{
    Impl::Lock2 g(*this, str);
    Buffer *a = m_pBuf, *b = str.m_pBuf;
    if (!a->m_nLen || a == b)
        return STR_ALL_MATCH;
    unsigned m = std::min(a->m_nLen, b->m_nLen), i = 0;
    while (i < m && a->Text()[i] == b->Text()[i])
        ++i;
    return i == a->m_nLen ? STR_ALL_MATCH : i;
}

unsigned int SString::Match(char const *text) const
{
    Impl::Lock1 g(*this);
    Buffer *a = m_pBuf;
    if (!a->m_nLen)
        return STR_ALL_MATCH;
    if (!text)
        return 0;
    unsigned i = 0;
    while (i < a->m_nLen && text[i] && a->Text()[i] == text[i])
        ++i;
    return i == a->m_nLen ? STR_ALL_MATCH : i;
}

unsigned int SString::IMatch(SString const &str) const
{
    Impl::Lock2 g(*this, str);
    Buffer *a = m_pBuf, *b = str.m_pBuf;
    if (!a->m_nLen || a == b)
        return STR_ALL_MATCH;
    return EqualNoCase(a->Text(), b->Text(), std::min(a->m_nLen, b->m_nLen)) ? STR_ALL_MATCH : 0;
}

// ------------------------------------------------------------ comparing

StringCompare SString::Compare(SString const &str, unsigned int n) const
{
    Impl::Lock2 g(*this, str);
    Buffer *a = m_pBuf, *b = str.m_pBuf;
    if (a == b)
        return CompEqual;
    return CompareN(a->Text(), a->m_nLen, b->Text(), b->m_nLen, n, false);
}

StringCompare SString::Compare(char const *text, unsigned int n) const
{
    Impl::Lock1 g(*this);
    return CompareZ(m_pBuf->Text(), text ? text : "", n, false);
}

StringCompare SString::ICompare(SString const &str, unsigned int n) const
{
    Impl::Lock2 g(*this, str);
    Buffer *a = m_pBuf, *b = str.m_pBuf;
    if (a == b)
        return CompEqual;
    return CompareN(a->Text(), a->m_nLen, b->Text(), b->m_nLen, n, true);
}

StringCompare SString::ICompare(char const *text, unsigned int n) const
{
    Impl::Lock1 g(*this);
    return CompareZ(m_pBuf->Text(), text ? text : "", n, true);
}

bool SString::NoCaseEqual(SString const &str) const
{
    Impl::Lock2 g(*this, str);
    Buffer *a = m_pBuf, *b = str.m_pBuf;
    return a == b || (a->m_nLen == b->m_nLen && EqualNoCase(a->Text(), b->Text(), a->m_nLen));
}

bool operator==(SString const &a, SString const &b) { return Impl::Equal(a, b); }
bool operator==(SString const &a, char const *b) { return Impl::Equal(a, b); }
bool operator==(char const *a, SString const &b) { return Impl::Equal(b, a); }
bool operator!=(SString const &a, SString const &b) { return !Impl::Equal(a, b); }
bool operator!=(SString const &a, char const *b) { return !Impl::Equal(a, b); }
bool operator!=(char const *a, SString const &b) { return !Impl::Equal(b, a); }
bool operator<(SString const &a, SString const &b) { return Impl::Order(a, b) == CompLess; }
bool operator<(SString const &a, char const *b) { return Impl::Order(a, b) == CompLess; }
bool operator<(char const *a, SString const &b) { return Impl::Order(b, a) == CompGreater; }
bool operator<=(SString const &a, SString const &b) { return Impl::Order(a, b) != CompGreater; }
bool operator<=(SString const &a, char const *b) { return Impl::Order(a, b) != CompGreater; }
bool operator<=(char const *a, SString const &b) { return Impl::Order(b, a) != CompLess; }
bool operator>(SString const &a, SString const &b) { return Impl::Order(a, b) == CompGreater; }
bool operator>(SString const &a, char const *b) { return Impl::Order(a, b) == CompGreater; }
bool operator>(char const *a, SString const &b) { return Impl::Order(b, a) == CompLess; }
bool operator>=(SString const &a, SString const &b) { return Impl::Order(a, b) != CompLess; }
bool operator>=(SString const &a, char const *b) { return Impl::Order(a, b) != CompLess; }
bool operator>=(char const *a, SString const &b) { return Impl::Order(b, a) != CompGreater; }

SString operator+(SString const &a, SString const &b)
{
    SString r(a);
    r += b;
    return r;
}

SString operator+(SString const &a, char const *b)
{
    SString r(a);
    r += b;
    return r;
}

SString operator+(char const *a, SString const &b)
{
    SString r(a);
    r += b;
    return r;
}

SString operator+(SString const &a, char b)
{
    SString r(a);
    r += b;
    return r;
}

SString operator+(char a, SString const &b)
{
    SString r(a);
    r += b;
    return r;
}

// ------------------------------------------------------------ classifying, numbers

static bool IsAsciiLetter(unsigned char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

static bool IsDigit(unsigned char c)
{
    return c >= '0' && c <= '9';
}

bool SString::IsAlpha() const
{
    return Impl::Every(*this, IsAsciiLetter);
}

bool SString::IsAlphaNumeric() const
{
    return Impl::Every(*this, [](unsigned char c) { return IsAsciiLetter(c) || IsDigit(c); });
}

bool SString::IsNumeric() const
{
    return Impl::Every(*this, IsDigit);
}

bool SString::IsNumber() const
{
    Impl::Lock1 g(*this);
    char const *t = m_pBuf->Text();
    unsigned len = m_pBuf->m_nLen, i = (len && t[0] == '-') ? 1 : 0;
    for (; i < len; ++i)
        if (!IsDigit((unsigned char)t[i]))
            return false;
    return true;
}

bool SString::IsLower() const
{
    return Impl::Every(*this, [](unsigned char c) { return !(c >= 'A' && c <= 'Z'); });
}

bool SString::IsUpper() const
{
    return Impl::Every(*this, [](unsigned char c) { return !(c >= 'a' && c <= 'z'); });
}

bool SString::ToBool() const
{
    Impl::Lock1 g(*this);
    char const *t = m_pBuf->Text();
    unsigned len = m_pBuf->m_nLen;
    if (!len)
        return false;
    if (len == 4 && EqualNoCase(t, "true", 4))
        return true;
    if (len == 5 && EqualNoCase(t, "false", 5))
        return false;
    char *end = nullptr;
    long v = std::strtol(t, &end, 10);
    if (end == t || *end)
        return false;
    return v != 0;
}

SString::operator unsigned char() const
{
    Impl::Lock1 g(*this);
    return (unsigned char)std::atoi(m_pBuf->Text());
}

SString::operator short() const
{
    Impl::Lock1 g(*this);
    return short(std::atoi(m_pBuf->Text()));
}

SString::operator unsigned short() const
{
    Impl::Lock1 g(*this);
    return (unsigned short)std::atoi(m_pBuf->Text());
}

SString::operator int() const
{
    Impl::Lock1 g(*this);
    return std::atoi(m_pBuf->Text());
}

static unsigned LeadingDigits(char const *t)
{
    unsigned v = 0;
    for (; IsDigit((unsigned char)*t); ++t)
        v = v * 10u + unsigned(*t - '0');
    return v;
}

SString::operator unsigned int() const
{
    Impl::Lock1 g(*this);
    return LeadingDigits(m_pBuf->Text());
}

SString::operator unsigned long() const
{
    Impl::Lock1 g(*this);
    return LeadingDigits(m_pBuf->Text());
}

SString::operator long() const
{
    Impl::Lock1 g(*this);
    return std::atol(m_pBuf->Text());
}

SString::operator double() const
{
    Impl::Lock1 g(*this);
    return std::atof(m_pBuf->Text());
}

SString::operator __int64() const
{
    Impl::Lock1 g(*this);
    return _atoi64(m_pBuf->Text());
}

SString::operator unsigned __int64() const
{
    Impl::Lock1 g(*this);
    return _strtoui64(m_pBuf->Text(), nullptr, 10);
}

// ------------------------------------------------------------ UTF-8

void SString::SetIsUTF8()
{
    Impl::Lock1 g(*this);
    if (!m_pBuf->m_nLen || m_pBuf->m_bUTF8)
        return;
    Impl::MakePrivate(*this);
    m_pBuf->m_bUTF8 = 1;
}

void SString::ClearUTF8()
{
    Impl::Lock1 g(*this);
    if (!m_pBuf->m_bUTF8)
        return;
    Impl::MakePrivate(*this);
    if (m_pBuf != Impl::Empty())
        m_pBuf->m_bUTF8 = 0;
}

bool SString::MayBeUTF8() const
{
    Impl::Lock1 g(*this);
    return MayBeUTF8(m_pBuf->Text(), STR_TO_END);
}

bool SString::MayBeUTF8(char const *const text, unsigned int n)
{
    if (!text)
        return false;
    auto const *s = reinterpret_cast<unsigned char const *>(text);
    for (unsigned i = 0; i < n && s[i]; ++i) {
        unsigned char c = s[i];
        if (c < 0x80)
            continue;
        unsigned need;
        unsigned char lo = 0x80, hi = 0xBF;
        if (c >= 0xC2 && c <= 0xDF)
            need = 1;
        else if (c == 0xE0)
            need = 2, lo = 0xA0;
        else if ((c >= 0xE1 && c <= 0xEC) || c == 0xEE || c == 0xEF)
            need = 2;
        else if (c == 0xED)
            need = 2, hi = 0x9F;
        else if (c == 0xF0)
            need = 3, lo = 0x90;
        else if (c >= 0xF1 && c <= 0xF3)
            need = 3;
        else if (c == 0xF4)
            need = 3, hi = 0x8F;
        else
            continue;
        if (n - i <= need)
            continue; // the sequence would run past the n bytes
        bool ok = s[i + 1] >= lo && s[i + 1] <= hi;
        for (unsigned k = 2; ok && k <= need; ++k)
            ok = s[i + k] >= 0x80 && s[i + k] <= 0xBF;
        if (ok)
            return true;
    }
    return false;
}

bool SString::RemoveUTF8Marker()
{
    Impl::Lock1 g(*this);
    auto const *t = reinterpret_cast<unsigned char const *>(m_pBuf->Text());
    if (m_pBuf->m_nLen < 3 || t[0] != 0xEF || t[1] != 0xBB || t[2] != 0xBF)
        return false;
    Impl::Splice(*this, 0, 3, nullptr, 0);
    return true;
}

SString SString::AnsiToUTF8(unsigned int codePage) const
{
    Impl::Hold h(*this);
    Buffer *b = h.Get();
    unsigned len = b->m_nLen;
    bool high = false;
    for (unsigned i = 0; i < len && !high; ++i)
        high = (unsigned char)b->Text()[i] >= 0x80;
    if (b->m_bUTF8 || !high)
        return Impl::Adopt(h.Take());
    std::vector<wchar_t> wide(std::size_t(len) + 1);
    int wn = MultiByteToWideChar(codePage, 0, b->Text(), int(len) + 1, wide.data(), int(len) + 1);
    if (wn <= 0)
        return SString();
    std::vector<char> out(4 * (std::size_t(len) + 1));
    int un = WideCharToMultiByte(CP_UTF8, 0, wide.data(), wn, out.data(), int(out.size()), nullptr,
                                 nullptr);
    if (un <= 0)
        return SString();
    unsigned n = unsigned(strnlen(out.data(), std::size_t(un)));
    return Impl::Adopt(Impl::NewBuf(out.data(), std::min(n, STR_MAX_LEN), 1));
}

SString SString::AnsiToUTF8() const
{
    return AnsiToUTF8(CP_THREAD_ACP);
}

SString SString::UTF8ToAnsi(unsigned int codePage) const
{
    Impl::Hold h(*this);
    Buffer *b = h.Get();
    unsigned len = b->m_nLen;
    std::vector<wchar_t> wide(std::size_t(len) + 1);
    int wn = MultiByteToWideChar(CP_UTF8, 0, b->Text(), int(len) + 1, wide.data(), int(len) + 1);
    if (wn <= 0)
        return SString();
    std::vector<char> out(std::size_t(len) + 1);
    int an = WideCharToMultiByte(codePage, 0, wide.data(), wn, out.data(), int(out.size()), nullptr,
                                 nullptr);
    if (an <= 0)
        return Impl::Adopt(h.Take());
    unsigned n = unsigned(strnlen(out.data(), std::size_t(an)));
    return Impl::Adopt(Impl::NewBuf(out.data(), n, 0));
}

SString SString::UTF8ToAnsi() const
{
    return UTF8ToAnsi(CP_THREAD_ACP);
}

SString SString::UTF8ToCzech() const { return UTF8ToAnsi(1250); }
SString SString::UTF8ToPolish() const { return UTF8ToAnsi(1250); }
SString SString::UTF8ToRussian() const { return UTF8ToAnsi(1251); }
SString SString::UTF8ToEnglish() const { return UTF8ToAnsi(1252); }
SString SString::UTF8ToGreek() const { return UTF8ToAnsi(1253); }
SString SString::UTF8ToTurkish() const { return UTF8ToAnsi(1254); }

// The global transliteration data, or null before KSInit and after KSExit.
static TranscriptData const *Transcript()
{
    KSData const *d = GetPKSData();
    if (!d || !d->HasTranscriptData() || !d->GetTranscriptData().IsTranscript())
        return nullptr;
    return &d->GetTranscriptData();
}

// Letters of the script, a letter equal to the one before it not counted, so
// that a run such as a doubled letter or a line of one sign weighs once.
static unsigned CountTranscript(TranscriptData const &td, unsigned char const *t, unsigned n)
{
    unsigned count = 0;
    for (unsigned i = 0; i < n; ++i)
        if (td.IsTranscriptChar(t[i]) && (i == 0 || t[i] != t[i - 1]))
            ++count;
    return count;
}

bool SString::IsTranscript() const
{
    TranscriptData const *td = Transcript();
    if (!td)
        return false;
    Impl::Lock1 g(*this);
    unsigned len = m_pBuf->m_nLen;
    unsigned count =
        CountTranscript(*td, reinterpret_cast<unsigned char const *>(m_pBuf->Text()), len);
    return count != 0 && count > len / 2;
}

bool SString::IsTranscript(char const *const text)
{
    TranscriptData const *td = Transcript();
    if (!td || !text)
        return false;
    unsigned len = unsigned(strnlen(text, STR_MAX_LEN));
    unsigned count = CountTranscript(*td, reinterpret_cast<unsigned char const *>(text), len);
    return count != 0 && count > len / 2;
}

void SString::SetLanguage(int languageId)
{
    m_staticLanguageId = languageId;
}
