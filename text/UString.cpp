#include "text/UString.h"

#include <algorithm>
#include <cstdarg>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <cwchar>
#include <cwctype>
#include <new>
#include <vector>

#include <windows.h>

#include "frame/KSData.h"
#include "frame/KSGlobal.h"
#include "text/TranscriptData.h"

int UString::m_staticLanguageId = 0;

namespace {

bool IsAsciiLetter(wchar_t c)
{
    return (c >= L'A' && c <= L'Z') || (c >= L'a' && c <= L'z');
}

bool IsDigit(wchar_t c)
{
    return c >= L'0' && c <= L'9';
}

StringCompare Sign(int c)
{
    return c == 0 ? CompEqual : (c < 0 ? CompLess : CompGreater);
}

// Both NUL-terminated; like wcsncmp over at most n units.
StringCompare CompareZ(wchar_t const *a, wchar_t const *b, unsigned n)
{
    for (unsigned i = 0; i < n; ++i) {
        if (a[i] != b[i])
            return a[i] < b[i] ? CompLess : CompGreater;
        if (!a[i])
            break;
    }
    return CompEqual;
}

// Known lengths; over the first n units the shorter text sorts first.
StringCompare CompareN(wchar_t const *a, unsigned la, wchar_t const *b, unsigned lb, unsigned n)
{
    unsigned m = std::min(std::min(la, lb), n);
    for (unsigned i = 0; i < m; ++i)
        if (a[i] != b[i])
            return a[i] < b[i] ? CompLess : CompGreater;
    if (m == n || la == lb)
        return CompEqual;
    return la < lb ? CompLess : CompGreater;
}

unsigned FindUnits(wchar_t const *t, unsigned len, unsigned from, wchar_t const *f, unsigned fl)
{
    if (fl == 0 || from >= len || fl > len - from)
        return STR_NOT_FOUND;
    wchar_t const first = f[0];
    for (unsigned p = from; p <= len - fl; ++p)
        if (t[p] == first && std::wmemcmp(t + p + 1, f + 1, fl - 1) == 0)
            return p;
    return STR_NOT_FOUND;
}

// Decimal text is ASCII: it is made as bytes by SString and widened here.
struct Digits
{
    wchar_t units[400];
    unsigned n = 0;

    explicit Digits(SString const &s)
    {
        n = std::min(unsigned(s.Len()), unsigned(sizeof units / sizeof units[0]));
        for (unsigned i = 0; i < n; ++i)
            units[i] = wchar_t((unsigned char)s.GetStr()[i]);
    }
};

// The code page that decodes 8-bit text: UTF-8 when a UTF-8 sequence is in
// it, else the process's ANSI code page.
unsigned DetectCodePage(char const *p, unsigned n)
{
    return SString::MayBeUTF8(p, n) ? CP_UTF8 : CP_ACP;
}

unsigned TranscriptCodePage()
{
    KSData const *d = GetPKSData();
    // Before KSInit there is no script to speak of: the user's code page.
    return d && d->HasTranscriptData() ? d->GetTranscriptData().GetCodePage() : CP_ACP;
}

} // namespace

struct UStringImpl
{
    using Buffer = UString::Buffer;

    // Shared by every empty string; read-only, so a stray write faults at once.
    struct EmptyBlock
    {
        Buffer header;
        wchar_t zero[8];
    };
    static const EmptyBlock s_empty;
    static_assert(sizeof(Buffer) == 16, "the text starts 16 bytes into a block");

    static Buffer *Empty() { return const_cast<Buffer *>(&s_empty.header); }

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
        explicit Lock1(UString const &s) : m_w(s.m_nLock) { LockWord(m_w); }
        ~Lock1() { UnlockWord(m_w); }
        Lock1(Lock1 const &) = delete;
        Lock1 &operator=(Lock1 const &) = delete;

    private:
        unsigned int &m_w;
    };

    // Two objects are taken in address order so that a.Compare(b) and
    // b.Compare(a) on two threads cannot deadlock; one object passed twice is
    // taken once, as the lock does not nest.
    class Lock2
    {
    public:
        Lock2(UString const &a, UString const &b)
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

    // Blocks come in 16-byte steps: the header and 8 units at a time.
    static unsigned CapFor(unsigned n) { return n | 7u; }

    static Buffer *Alloc(unsigned len, unsigned cap)
    {
        auto *b = static_cast<Buffer *>(::operator new(sizeof(Buffer) + (std::size_t(cap) + 1) * 2));
        b->m_nLen = len;
        b->m_nShare = 0;
        b->m_nCap = cap;
        b->m_nSpare = 0;
        b->Text()[len] = L'\0';
        return b;
    }

    static void Free(Buffer *b) { ::operator delete(b); }

    static Buffer *NewBuf(wchar_t const *p, unsigned n)
    {
        if (!n)
            return Empty();
        Buffer *b = Alloc(n, CapFor(n));
        std::wmemcpy(b->Text(), p, n);
        return b;
    }

    static Buffer *Clone(Buffer const *b) { return NewBuf(b->Text(), b->m_nLen); }

    // A counted share; a saturated count gives the new holder its own copy.
    static Buffer *Share(Buffer *b)
    {
        if (b == Empty())
            return b;
        unsigned cur = __atomic_load_n(&b->m_nShare, __ATOMIC_RELAXED);
        do {
            if (cur >= 0x7FFFFFFFu)
                return Clone(b);
        } while (!__atomic_compare_exchange_n(&b->m_nShare, &cur, cur + 1, true, __ATOMIC_RELAXED,
                                              __ATOMIC_RELAXED));
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
            Free(b);
    }

    static bool Unshared(Buffer *b)
    {
        return b != Empty() && __atomic_load_n(&b->m_nShare, __ATOMIC_ACQUIRE) == 0;
    }

    static void Set(UString &s, Buffer *nb)
    {
        Buffer *old = s.m_pBuf;
        s.m_pBuf = nb;
        Release(old);
    }

    static UString Adopt(Buffer *b)
    {
        UString s;
        s.m_pBuf = b;
        return s;
    }

    // Keeps another string's buffer alive (and unchanged) for one call.
    class Hold
    {
    public:
        explicit Hold(UString const &s)
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

    // Units may be changed after this; callers only use it on non-empty text.
    static wchar_t *MakePrivate(UString &s)
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
        return NewBuf(b->Text() + pos, std::min(n, len - pos));
    }

    // Decodes n bytes (embedded NULs included) into b, which holds at least
    // n units; the result is the number of units, 0 when nothing came out.
    static unsigned DecodeInto(Buffer *b, char const *p, unsigned n, unsigned codePage)
    {
        int r = n ? MultiByteToWideChar(codePage, 0, p, int(n), b->Text(), int(b->m_nCap)) : 0;
        unsigned len = r > 0 ? std::min(unsigned(r), b->m_nCap) : 0;
        b->m_nLen = len;
        b->Text()[len] = L'\0';
        return len;
    }

    // A new buffer with n bytes decoded; no code page known to the platform
    // makes more units than bytes, but a longer answer is still taken whole.
    static Buffer *Decode(char const *p, unsigned n, unsigned codePage)
    {
        n = std::min(n, USTR_MAX_LEN);
        if (!p || !n)
            return Empty();
        Buffer *b = Alloc(0, CapFor(n));
        if (!DecodeInto(b, p, n, codePage) && GetLastError() == ERROR_INSUFFICIENT_BUFFER) {
            int need = MultiByteToWideChar(codePage, 0, p, int(n), nullptr, 0);
            if (need > 0) {
                Free(b);
                b = Alloc(0, CapFor(unsigned(need)));
                DecodeInto(b, p, n, codePage);
            }
        }
        if (!b->m_nLen) {
            Free(b);
            return Empty();
        }
        return b;
    }

    static Buffer *DecodeDetect(char const *p, unsigned n)
    {
        n = std::min(n, USTR_MAX_LEN);
        return p && n ? Decode(p, n, DetectCodePage(p, n)) : Empty();
    }

    // Sets the length to L (>= the current length), keeping the text; the
    // caller fills the new units. A private buffer grows by doubling, as a
    // standard vector does, so that a run of appends stays linear.
    static wchar_t *Grow(UString &s, unsigned L)
    {
        Buffer *b = s.m_pBuf;
        bool own = Unshared(b);
        if (own && L <= b->m_nCap) {
            b->m_nLen = L;
            b->Text()[L] = L'\0';
            return b->Text();
        }
        unsigned cap = own ? std::max(L, std::min(2 * b->m_nCap, USTR_MAX_LEN)) : L;
        Buffer *nb = Alloc(L, CapFor(cap));
        std::wmemcpy(nb->Text(), b->Text(), b->m_nLen);
        Set(s, nb);
        return nb->Text();
    }

    static bool Inside(Buffer const *b, wchar_t const *p)
    {
        auto a = reinterpret_cast<std::uintptr_t>(b->Text());
        auto q = reinterpret_cast<std::uintptr_t>(p);
        return q >= a && q <= a + 2 * std::uintptr_t(b->m_nCap);
    }

    static void AppendUnits(UString &s, wchar_t const *p, unsigned n)
    {
        Buffer *b = s.m_pBuf;
        unsigned len = b->m_nLen;
        n = std::min(n, USTR_MAX_LEN - len);
        if (!n)
            return;
        // The source may lie in this very buffer, which growing may free.
        bool inside = Inside(b, p);
        std::size_t off = inside ? std::size_t(p - b->Text()) : 0;
        if (inside) {
            Buffer *keep = Share(b);
            wchar_t *t = Grow(s, len + n);
            std::wmemmove(t + len, keep->Text() + off, n);
            Release(keep);
            return;
        }
        wchar_t *t = Grow(s, len + n);
        std::wmemcpy(t + len, p, n);
    }

    static void AppendBuf(UString &s, Buffer *a)
    {
        if (!a->m_nLen)
            return;
        if (!s.m_pBuf->m_nLen) {
            Set(s, Share(a));
            return;
        }
        AppendUnits(s, a->Text(), a->m_nLen);
    }

    // Replaces del units at pos by n units of src. What does not fit below
    // USTR_MAX_LEN is cut: the prefix first, then src, then the old tail.
    static void Splice(UString &s, unsigned pos, unsigned del, wchar_t const *src, unsigned n)
    {
        Buffer *b = s.m_pBuf;
        unsigned len = b->m_nLen;
        unsigned rest = len - pos - del;
        unsigned keepSrc = std::min(n, USTR_MAX_LEN - pos);
        unsigned keepTail = std::min(rest, USTR_MAX_LEN - pos - keepSrc);
        unsigned newLen = pos + keepSrc + keepTail;
        if (del == 0 && keepSrc == 0)
            return;
        bool alias = keepSrc && Inside(b, src);
        if (Unshared(b) && newLen <= b->m_nCap && !alias) {
            wchar_t *t = b->Text();
            if (keepTail)
                std::wmemmove(t + pos + keepSrc, t + pos + del, keepTail);
            if (keepSrc && src)
                std::wmemcpy(t + pos, src, keepSrc);
            b->m_nLen = newLen;
            t[newLen] = L'\0';
            return;
        }
        if (newLen == 0) {
            Set(s, Empty());
            return;
        }
        Buffer *nb = Alloc(newLen, CapFor(newLen));
        std::wmemcpy(nb->Text(), b->Text(), pos);
        if (keepSrc && src)
            std::wmemcpy(nb->Text() + pos, src, keepSrc);
        if (keepTail)
            std::wmemcpy(nb->Text() + pos + keepSrc, b->Text() + pos + del, keepTail);
        Set(s, nb);
    }

    // The own array is kept when it is private, large enough and the new
    // text is not shorter than a quarter of the old one: repeated assignment
    // of similar texts then never allocates, and a long text replaced by a
    // short one does not keep its large block.
    static bool Reusable(Buffer *b, unsigned n)
    {
        return Unshared(b) && n <= b->m_nCap && n >= b->m_nLen / 4;
    }

    static void Assign(UString &s, wchar_t const *p, unsigned n)
    {
        Buffer *b = s.m_pBuf;
        if (Reusable(b, n)) {
            std::wmemmove(b->Text(), p, n);
            b->m_nLen = n;
            b->Text()[n] = L'\0';
            return;
        }
        Set(s, NewBuf(p, n));
    }

    // anyShorter: the own array is taken for any text it can hold, not only
    // for one of at least a quarter of the old length.
    static void AssignDecoded(UString &s, char const *p, unsigned n, unsigned codePage,
                              bool anyShorter)
    {
        n = std::min(n, USTR_MAX_LEN);
        Buffer *b = s.m_pBuf;
        bool reuse = anyShorter ? Unshared(b) && n <= b->m_nCap : Reusable(b, n);
        if (n && reuse) {
            if (!DecodeInto(b, p, n, codePage))
                Set(s, Decode(p, n, codePage)); // nothing came out, or it needs more room
            return;
        }
        Set(s, Decode(p, n, codePage));
    }

    static void ReplaceUnits(UString &s, wchar_t from, wchar_t to)
    {
        Buffer *b = s.m_pBuf;
        if (from == to || !b->m_nLen)
            return;
        wchar_t const *hit = std::wmemchr(b->Text(), from, b->m_nLen);
        if (!hit)
            return;
        unsigned i = unsigned(hit - b->Text());
        wchar_t *t = MakePrivate(s);
        unsigned len = s.m_pBuf->m_nLen;
        for (; i < len; ++i)
            if (t[i] == from)
                t[i] = to;
    }

    // Case mapping through the runtime library, one unit at a time; the
    // buffer is made private only when some unit really changes.
    template <class Map> static void MapUnits(UString &s, Map map)
    {
        Buffer *b = s.m_pBuf;
        unsigned len = b->m_nLen, i = 0;
        while (i < len && wchar_t(map(b->Text()[i])) == b->Text()[i])
            ++i;
        if (i == len)
            return;
        wchar_t *t = MakePrivate(s);
        for (; i < len; ++i)
            t[i] = wchar_t(map(t[i]));
    }

    static void EraseLeading(UString &s, wchar_t c)
    {
        Buffer *b = s.m_pBuf;
        unsigned k = 0;
        while (k < b->m_nLen && b->Text()[k] == c)
            ++k;
        if (k)
            Splice(s, 0, k, nullptr, 0);
    }

    static void EraseTrailing(UString &s, wchar_t c)
    {
        Buffer *b = s.m_pBuf;
        unsigned len = b->m_nLen, k = 0;
        while (k < len && b->Text()[len - 1 - k] == c)
            ++k;
        if (k)
            Splice(s, len - k, k, nullptr, 0);
    }

    template <class Test> static bool Every(UString const &s, Test test)
    {
        Lock1 g(s);
        Buffer *b = s.m_pBuf;
        for (unsigned i = 0; i < b->m_nLen; ++i)
            if (!test(b->Text()[i]))
                return false;
        return true;
    }

    static void AppendDigits(UString &s, SString const &digits)
    {
        Digits d(digits);
        Lock1 g(s);
        AppendUnits(s, d.units, d.n);
    }

    static Buffer *DigitsBuf(SString const &digits)
    {
        Digits d(digits);
        return NewBuf(d.units, d.n);
    }

    static void ConvertLineEnds(UString &s, LineEnd target)
    {
        if (target != LineEndCr && target != LineEndLf && target != LineEndCrLf)
            return;
        Buffer *b = s.m_pBuf;
        unsigned len = b->m_nLen;
        wchar_t const *t = b->Text();
        unsigned long long out = 0;
        bool change = false;
        for (unsigned i = 0; i < len;) {
            wchar_t c = t[i];
            if (c != L'\r' && c != L'\n') {
                ++out;
                ++i;
                continue;
            }
            bool pair = i + 1 < len && (t[i + 1] == L'\r' || t[i + 1] == L'\n') && t[i + 1] != c;
            bool inForm = target == LineEndCrLf
                              ? (pair && c == L'\r')
                              : (!pair && c == (target == LineEndCr ? L'\r' : L'\n'));
            change |= !inForm;
            out += target == LineEndCrLf ? 2 : 1;
            i += pair ? 2 : 1;
        }
        if (!change || out >= USTR_MAX_LEN)
            return;
        Buffer *nb = Alloc(unsigned(out), CapFor(unsigned(out)));
        wchar_t *d = nb->Text();
        for (unsigned i = 0; i < len;) {
            wchar_t c = t[i];
            if (c != L'\r' && c != L'\n') {
                *d++ = c;
                ++i;
                continue;
            }
            bool pair = i + 1 < len && (t[i + 1] == L'\r' || t[i + 1] == L'\n') && t[i + 1] != c;
            if (target != LineEndLf)
                *d++ = L'\r';
            if (target != LineEndCr)
                *d++ = L'\n';
            i += pair ? 2 : 1;
        }
        Set(s, nb);
    }

    static bool Equal(UString const &a, UString const &b)
    {
        Lock2 g(a, b);
        Buffer *x = a.m_pBuf, *y = b.m_pBuf;
        if (x == y)
            return true;
        return x->m_nLen == y->m_nLen && std::wmemcmp(x->Text(), y->Text(), x->m_nLen) == 0;
    }

    static bool Equal(UString const &a, wchar_t const *p)
    {
        Lock1 g(a);
        if (!p)
            return a.m_pBuf->m_nLen == 0;
        return CompareZ(a.m_pBuf->Text(), p, STR_NOT_FOUND) == CompEqual;
    }

    static StringCompare Order(UString const &a, UString const &b)
    {
        Lock2 g(a, b);
        Buffer *x = a.m_pBuf, *y = b.m_pBuf;
        if (x == y)
            return CompEqual;
        return CompareN(x->Text(), x->m_nLen, y->Text(), y->m_nLen, STR_NOT_FOUND);
    }

    static StringCompare Order(UString const &a, wchar_t const *p)
    {
        Lock1 g(a);
        return CompareZ(a.m_pBuf->Text(), p ? p : L"", STR_NOT_FOUND);
    }

    static Buffer *FormatBuf(wchar_t const *format, va_list ap)
    {
        if (!format)
            return Empty();
        va_list cp;
        va_copy(cp, ap);
        int need = _vscwprintf(format, cp);
        va_end(cp);
        if (need <= 0)
            return Empty();
        // A result beyond the limit is printed only as far as the limit (the
        // runtime then answers -1 but fills the area), so that a huge field
        // width costs no more than the longest text.
        unsigned keep = std::min(unsigned(need), USTR_MAX_LEN);
        Buffer *b = Alloc(keep, CapFor(keep));
        va_copy(cp, ap);
        int r = _vsnwprintf(b->Text(), keep, format, cp);
        va_end(cp);
        if (r < 0 && unsigned(need) <= keep) {
            Free(b);
            return Empty();
        }
        b->Text()[keep] = L'\0';
        return b;
    }
};

const UStringImpl::EmptyBlock UStringImpl::s_empty = {};

using Impl = UStringImpl;

// ------------------------------------------------------------ construction

UString::UString() : m_pBuf(Impl::Empty()), m_nLock(0) {}

UString::UString(UString const &str) : m_pBuf(Impl::Empty()), m_nLock(0)
{
    Impl::Lock1 g(str);
    m_pBuf = Impl::Share(str.m_pBuf);
}

UString::UString(char const *text) : m_pBuf(Impl::Empty()), m_nLock(0)
{
    if (text)
        m_pBuf = Impl::DecodeDetect(text, unsigned(strnlen(text, USTR_MAX_LEN)));
}

UString::UString(SString const &str) : m_pBuf(Impl::Empty()), m_nLock(0)
{
    SString hold(str);
    m_pBuf = Impl::DecodeDetect(hold.GetStr(), unsigned(hold.Len()));
}

UString::UString(SString const &str, unsigned int pos, unsigned int len)
    : m_pBuf(Impl::Empty()), m_nLock(0)
{
    SString hold(str);
    unsigned total = unsigned(hold.Len());
    if (pos < total)
        m_pBuf = Impl::DecodeDetect(hold.GetStr() + pos, std::min(len, total - pos));
}

UString::UString(CStringA const &str) : m_pBuf(Impl::Empty()), m_nLock(0)
{
    int n = str.GetLength();
    if (n > 0)
        m_pBuf = Impl::DecodeDetect(str.GetString(), unsigned(n));
}

// The end is looked for within the text as well, so that an end beyond the
// terminator cannot read past it.
UString::UString(char const *text, unsigned int pos, unsigned int end)
    : m_pBuf(Impl::Empty()), m_nLock(0)
{
    if (!text)
        return;
    unsigned from = std::min(pos, end);
    unsigned stop = unsigned(strnlen(text, end == STR_TO_END ? STR_MAX_LEN : end));
    if (from < stop)
        m_pBuf = Impl::DecodeDetect(text + from, stop - from);
}

UString::UString(wchar_t const *text, unsigned int pos, unsigned int end)
    : m_pBuf(Impl::Empty()), m_nLock(0)
{
    if (!text)
        return;
    unsigned from = std::min(pos, end);
    unsigned stop = unsigned(wcsnlen(text, end == STR_TO_END ? STR_MAX_LEN : end));
    if (from < stop)
        m_pBuf = Impl::NewBuf(text + from, std::min(stop - from, USTR_MAX_LEN));
}

UString::UString(wchar_t const *text) : m_pBuf(Impl::Empty()), m_nLock(0)
{
    if (text)
        m_pBuf = Impl::NewBuf(text, unsigned(wcsnlen(text, USTR_MAX_LEN)));
}

UString::UString(char c) : m_pBuf(Impl::Empty()), m_nLock(0)
{
    if (c)
        m_pBuf = Impl::Decode(&c, 1, CP_ACP);
}

UString::UString(wchar_t c) : m_pBuf(Impl::Empty()), m_nLock(0)
{
    if (c)
        m_pBuf = Impl::NewBuf(&c, 1);
}

UString::UString(unsigned char value) : m_pBuf(Impl::DigitsBuf(SString(value))), m_nLock(0) {}
UString::UString(short value) : m_pBuf(Impl::DigitsBuf(SString(value))), m_nLock(0) {}
UString::UString(unsigned int value) : m_pBuf(Impl::DigitsBuf(SString(value))), m_nLock(0) {}
UString::UString(long value) : m_pBuf(Impl::DigitsBuf(SString(value))), m_nLock(0) {}
UString::UString(unsigned long value) : m_pBuf(Impl::DigitsBuf(SString(value))), m_nLock(0) {}
UString::UString(__int64 value) : m_pBuf(Impl::DigitsBuf(SString(value))), m_nLock(0) {}
UString::UString(unsigned __int64 value) : m_pBuf(Impl::DigitsBuf(SString(value))), m_nLock(0) {}

UString::UString(int value, int width) : m_pBuf(Impl::Empty()), m_nLock(0)
{
    SString s(value, std::min(width, int(USTR_MAX_LEN)));
    std::vector<wchar_t> w(std::size_t(s.Len()));
    for (std::size_t i = 0; i < w.size(); ++i)
        w[i] = wchar_t((unsigned char)s.GetStr()[i]);
    m_pBuf = Impl::NewBuf(w.data(), unsigned(w.size()));
}

UString::UString(double value) : m_pBuf(Impl::Empty()), m_nLock(0)
{
    SString s(value);
    std::vector<wchar_t> w(std::size_t(s.Len()));
    for (std::size_t i = 0; i < w.size(); ++i)
        w[i] = wchar_t((unsigned char)s.GetStr()[i]);
    m_pBuf = Impl::NewBuf(w.data(), unsigned(std::min(w.size(), std::size_t(USTR_MAX_LEN))));
}

UString::~UString()
{
    Impl::Release(m_pBuf);
}

UString &UString::operator=(UString const &str)
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

UString &UString::operator=(char const *text)
{
    Impl::Lock1 g(*this);
    Impl::AssignDecoded(*this, text, text ? unsigned(strnlen(text, USTR_MAX_LEN)) : 0, CP_ACP,
                        false);
    return *this;
}

UString &UString::operator=(wchar_t const *text)
{
    Impl::Lock1 g(*this);
    Impl::Assign(*this, text, text ? unsigned(wcsnlen(text, USTR_MAX_LEN)) : 0);
    return *this;
}

void UString::Format(wchar_t const *format, ...)
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

UString &UString::operator+=(UString const &str)
{
    Impl::Hold h(str);
    Impl::Lock1 g(*this);
    Impl::AppendBuf(*this, h.Get());
    return *this;
}

UString &UString::operator+=(SString const &str)
{
    return *this += UString(str);
}

UString &UString::operator+=(char const *text)
{
    return *this += UString(text);
}

UString &UString::operator+=(char c)
{
    return *this += UString(c);
}

UString &UString::operator+=(wchar_t const *text)
{
    if (!text)
        return *this;
    Impl::Lock1 g(*this);
    Impl::AppendUnits(*this, text, unsigned(wcsnlen(text, USTR_MAX_LEN)));
    return *this;
}

UString &UString::operator+=(wchar_t c)
{
    if (!c)
        return *this;
    Impl::Lock1 g(*this);
    unsigned len = m_pBuf->m_nLen;
    if (len < USTR_MAX_LEN)
        Impl::Grow(*this, len + 1)[len] = c;
    return *this;
}

UString &UString::operator+=(short value)
{
    Impl::AppendDigits(*this, SString(value));
    return *this;
}

UString &UString::operator+=(int value)
{
    Impl::AppendDigits(*this, SString(value));
    return *this;
}

UString &UString::operator+=(unsigned int value)
{
    Impl::AppendDigits(*this, SString(value));
    return *this;
}

UString &UString::operator+=(long value)
{
    Impl::AppendDigits(*this, SString(value));
    return *this;
}

UString &UString::operator+=(unsigned long value)
{
    Impl::AppendDigits(*this, SString(value));
    return *this;
}

UString &UString::operator+=(double value)
{
    Impl::AppendDigits(*this, SString(value));
    return *this;
}

UString &UString::operator+=(__int64 value)
{
    Impl::AppendDigits(*this, SString(value));
    return *this;
}

void UString::AddSeparated(UString const &str, UString const &sep)
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

void UString::AddSeparated(UString const &str, wchar_t sep)
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
        Impl::AppendUnits(*this, &sep, 1);
    Impl::AppendBuf(*this, hs.Get());
}

void UString::AddToStringListBuffer(wchar_t *list)
{
    if (!list)
        return;
    Impl::Lock1 g(*this);
    std::size_t i = 0;
    while (list[i] || list[i + 1])
        ++i;
    wchar_t *d = i ? list + i + 1 : list;
    std::wmemcpy(d, m_pBuf->Text(), m_pBuf->m_nLen);
    d[m_pBuf->m_nLen] = L'\0';
    d[m_pBuf->m_nLen + 1] = L'\0';
}

UString &UString::Insert(UString const &str, unsigned int pos)
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

UString &UString::Insert(UString const &str, unsigned int from, unsigned int count, unsigned int pos)
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

UString &UString::Insert(wchar_t const *text, unsigned int pos)
{
    if (!text || !*text)
        return *this;
    return Insert(UString(text), pos);
}

UString &UString::Insert(wchar_t c, unsigned int pos)
{
    if (!c)
        return *this;
    Impl::Lock1 g(*this);
    unsigned len = m_pBuf->m_nLen;
    pos = std::min(pos, len);
    if (len >= USTR_MAX_LEN && pos == len)
        return *this;
    Impl::Splice(*this, pos, 0, &c, 1);
    return *this;
}

UString &UString::Insert(char const *text, unsigned int pos)
{
    if (!text || !*text)
        return *this;
    UString w;
    w = text; // the ANSI code page, as every 8-bit argument of an edit
    return Insert(w, pos);
}

UString &UString::Insert(char c, unsigned int pos)
{
    UString w(c);
    return w.IsEmpty() ? *this : Insert(w[0], pos);
}

wchar_t *UString::AllocStrBuf(unsigned int n)
{
    n = std::min(n, USTR_MAX_LEN);
    Buffer *nb = Impl::Alloc(n, Impl::CapFor(n));
    Impl::Lock1 g(*this);
    Impl::Set(*this, nb);
    return nb->Text();
}

// ------------------------------------------------------------ removing, replacing

void UString::Clear()
{
    Impl::Lock1 g(*this);
    Impl::Set(*this, Impl::Empty());
}

UString &UString::Erase(unsigned int pos, unsigned int n)
{
    Impl::Lock1 g(*this);
    unsigned len = m_pBuf->m_nLen;
    if (pos < len && n)
        Impl::Splice(*this, pos, std::min(n, len - pos), nullptr, 0);
    return *this;
}

UString UString::Cut(unsigned int pos, unsigned int n)
{
    Impl::Lock1 g(*this);
    UString r = Impl::Adopt(Impl::Sub(m_pBuf, pos, n));
    unsigned len = m_pBuf->m_nLen;
    if (pos < len && n)
        Impl::Splice(*this, pos, std::min(n, len - pos), nullptr, 0);
    return r;
}

UString &UString::EraseAllChars(wchar_t c)
{
    Impl::Lock1 g(*this);
    Buffer *b = m_pBuf;
    unsigned len = b->m_nLen;
    wchar_t const *hit = len ? std::wmemchr(b->Text(), c, len) : nullptr;
    if (!hit)
        return *this;
    unsigned first = unsigned(hit - b->Text());
    if (Impl::Unshared(b)) {
        wchar_t *t = b->Text();
        unsigned d = first;
        for (unsigned i = first; i < len; ++i)
            if (t[i] != c)
                t[d++] = t[i];
        b->m_nLen = d;
        t[d] = L'\0';
        return *this;
    }
    std::vector<wchar_t> kept(b->Text(), b->Text() + first);
    for (unsigned i = first; i < len; ++i)
        if (b->Text()[i] != c)
            kept.push_back(b->Text()[i]);
    Impl::Set(*this, Impl::NewBuf(kept.data(), unsigned(kept.size())));
    return *this;
}

UString &UString::EraseLeadingChars(wchar_t c)
{
    Impl::Lock1 g(*this);
    Impl::EraseLeading(*this, c);
    return *this;
}

UString &UString::EraseTrailingChars(wchar_t c)
{
    Impl::Lock1 g(*this);
    Impl::EraseTrailing(*this, c);
    return *this;
}

UString &UString::Trim(wchar_t c)
{
    Impl::Lock1 g(*this);
    Impl::EraseLeading(*this, c);
    Impl::EraseTrailing(*this, c);
    return *this;
}

UString &UString::Expand(unsigned int n, wchar_t c)
{
    if (!c)
        return *this;
    Impl::Lock1 g(*this);
    unsigned len = m_pBuf->m_nLen;
    n = std::min(n, USTR_MAX_LEN);
    if (n > len)
        std::wmemset(Impl::Grow(*this, n) + len, c, n - len);
    return *this;
}

UString &UString::Fill(unsigned int n, wchar_t c)
{
    Impl::Lock1 g(*this);
    Buffer *b = m_pBuf;
    if (n > b->m_nLen) {
        n = std::min(n, USTR_MAX_LEN);
        if (Impl::Unshared(b) && n <= b->m_nCap) {
            b->m_nLen = n;
        } else {
            b = Impl::Alloc(n, Impl::CapFor(n));
            Impl::Set(*this, b);
        }
        std::wmemset(b->Text(), c, n);
        b->Text()[n] = L'\0';
    } else if (n) {
        std::wmemset(Impl::MakePrivate(*this), c, n);
    }
    return *this;
}

UString &UString::Replace(UString const &str, unsigned int pos)
{
    Impl::Hold h(str);
    Impl::Lock1 g(*this);
    Buffer *a = h.Get();
    unsigned len = m_pBuf->m_nLen;
    if (pos >= len || !a->m_nLen)
        return *this;
    unsigned n = std::min(a->m_nLen, len - pos);
    if (std::wmemcmp(m_pBuf->Text() + pos, a->Text(), n) != 0)
        std::wmemmove(Impl::MakePrivate(*this) + pos, a->Text(), n);
    return *this;
}

UString &UString::Replace(wchar_t c, unsigned int pos)
{
    Impl::Lock1 g(*this);
    if (pos < m_pBuf->m_nLen && m_pBuf->Text()[pos] != c)
        Impl::MakePrivate(*this)[pos] = c;
    return *this;
}

UString &UString::Replace(char c, unsigned int pos)
{
    UString w(c);
    return Replace(w.IsEmpty() ? L'\0' : w[0], pos);
}

UString &UString::ReplaceAllChars(wchar_t from, wchar_t to)
{
    Impl::Lock1 g(*this);
    Impl::ReplaceUnits(*this, from, to);
    return *this;
}

UString &UString::ReplaceAllChars(wchar_t from, char to)
{
    UString w(to);
    return ReplaceAllChars(from, w.IsEmpty() ? L'\0' : w[0]);
}

UString &UString::ReplaceAllPhrases(UString const &find, UString const &repl, int start)
{
    Impl::Hold hf(find), hr(repl);
    Impl::Lock1 g(*this);
    Buffer *f = hf.Get(), *r = hr.Get();
    unsigned fl = f->m_nLen, rl = r->m_nLen;
    if (!fl)
        return *this;
    if (fl == rl && std::wmemcmp(f->Text(), r->Text(), fl) == 0)
        return *this; // every replacement would write the same units
    long long i = start < 0 ? 0 : start;
    for (;;) {
        Buffer *b = m_pBuf;
        if (i >= (long long)b->m_nLen)
            break;
        if (b->Text()[i] != f->Text()[0]) {
            ++i;
            continue;
        }
        unsigned p = FindUnits(b->Text(), b->m_nLen, unsigned(i), f->Text(), fl);
        if (p == STR_NOT_FOUND)
            break;
        if (fl != rl)
            Impl::Splice(*this, p, fl, r->Text(), rl);
        else
            std::wmemcpy(Impl::MakePrivate(*this) + p, r->Text(), rl);
        i = (long long)p + rl;
    }
    return *this;
}

UString &UString::Reverse()
{
    Impl::Lock1 g(*this);
    unsigned len = m_pBuf->m_nLen;
    if (len > 1) {
        wchar_t *t = Impl::MakePrivate(*this);
        std::reverse(t, t + len);
    }
    return *this;
}

UString &UString::SpaceToZero()
{
    Impl::Lock1 g(*this);
    Impl::ReplaceUnits(*this, L' ', L'0');
    return *this;
}

UString &UString::ZeroToSpace()
{
    Impl::Lock1 g(*this);
    Impl::ReplaceUnits(*this, L'0', L' ');
    return *this;
}

UString &UString::ToLower()
{
    Impl::Lock1 g(*this);
    Impl::MapUnits(*this, [](wchar_t c) { return std::towlower(c); });
    return *this;
}

UString &UString::ToUpper()
{
    Impl::Lock1 g(*this);
    Impl::MapUnits(*this, [](wchar_t c) { return std::towupper(c); });
    return *this;
}

UString UString::Lower() const
{
    UString r(*this);
    r.ToLower();
    return r;
}

UString UString::Upper() const
{
    UString r(*this);
    r.ToUpper();
    return r;
}

UString &UString::ConvertLineEnd(LineEnd target)
{
    Impl::Lock1 g(*this);
    Impl::ConvertLineEnds(*this, target);
    return *this;
}

UString &UString::ConvertLineEnd()
{
    return ConvertLineEnd(GetSystemLineEnd());
}

// ------------------------------------------------------------ extracting

UString UString::Copy(unsigned int pos, unsigned int n) const
{
    Impl::Lock1 g(*this);
    return Impl::Adopt(Impl::Sub(m_pBuf, pos, n));
}

UString UString::operator()(unsigned int pos, unsigned int n) const
{
    return Copy(pos, n);
}

UString UString::CopyToLastChar(wchar_t c) const
{
    Impl::Lock1 g(*this);
    for (unsigned i = m_pBuf->m_nLen; i-- > 0;)
        if (m_pBuf->Text()[i] == c)
            return Impl::Adopt(Impl::Sub(m_pBuf, 0, i));
    return Impl::Adopt(Impl::Share(m_pBuf));
}

UString UString::GetToken(unsigned int index, wchar_t sep) const
{
    Impl::Lock1 g(*this);
    Buffer *b = m_pBuf;
    unsigned len = b->m_nLen, start = 0;
    if (!len)
        return UString();
    for (unsigned k = 0; k < index; ++k) {
        wchar_t const *hit = std::wmemchr(b->Text() + start, sep, len - start);
        if (!hit)
            return UString();
        start = unsigned(hit - b->Text()) + 1;
    }
    wchar_t const *hit = std::wmemchr(b->Text() + start, sep, len - start);
    unsigned end = hit ? unsigned(hit - b->Text()) : len;
    return Impl::Adopt(Impl::Sub(b, start, end - start));
}

unsigned int UString::GetTokenCount(wchar_t sep) const
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

char *UString::CreateCharArr() const
{
    Impl::Lock1 g(*this);
    unsigned len = m_pBuf->m_nLen;
    auto *arr = new char[std::size_t(len) + 1];
    int n = len ? WideCharToMultiByte(CP_ACP, 0, m_pBuf->Text(), int(len), arr, int(len), nullptr,
                                      nullptr)
                : 0;
    arr[n > 0 ? n : 0] = '\0';
    return arr;
}

wchar_t *UString::CreateWCHARArr() const
{
    Impl::Lock1 g(*this);
    unsigned len = m_pBuf->m_nLen;
    auto *arr = new wchar_t[std::size_t(len) + 1];
    std::wmemcpy(arr, m_pBuf->Text(), std::size_t(len) + 1);
    return arr;
}

// ------------------------------------------------------------ searching

unsigned int UString::Search(UString const &str, unsigned int from) const
{
    Impl::Hold h(str);
    Impl::Lock1 g(*this);
    return FindUnits(m_pBuf->Text(), m_pBuf->m_nLen, from, h.Get()->Text(), h.Get()->m_nLen);
}

unsigned int UString::Search(wchar_t const *text, unsigned int from) const
{
    if (!text)
        return STR_NOT_FOUND;
    unsigned fl = unsigned(wcsnlen(text, USTR_MAX_LEN));
    Impl::Lock1 g(*this);
    return FindUnits(m_pBuf->Text(), m_pBuf->m_nLen, from, text, fl);
}

unsigned int UString::Search(wchar_t c, unsigned int from) const
{
    Impl::Lock1 g(*this);
    unsigned len = m_pBuf->m_nLen;
    if (from >= len)
        return STR_NOT_FOUND;
    wchar_t const *hit = std::wmemchr(m_pBuf->Text() + from, c, len - from);
    return hit ? unsigned(hit - m_pBuf->Text()) : STR_NOT_FOUND;
}

unsigned int UString::SearchFromEnd(UString const &str) const
{
    Impl::Hold h(str);
    Impl::Lock1 g(*this);
    Buffer *f = h.Get();
    wchar_t const *t = m_pBuf->Text();
    unsigned len = m_pBuf->m_nLen, fl = f->m_nLen;
    if (!fl || fl > len)
        return STR_NOT_FOUND;
    for (unsigned p = len - fl + 1; p-- > 0;)
        if (std::wmemcmp(t + p, f->Text(), fl) == 0)
            return p;
    return STR_NOT_FOUND;
}

unsigned int UString::SearchFromEnd(wchar_t c) const
{
    Impl::Lock1 g(*this);
    for (unsigned p = m_pBuf->m_nLen; p-- > 0;)
        if (m_pBuf->Text()[p] == c)
            return p;
    return STR_NOT_FOUND;
}

unsigned int UString::Match(UString const &str) const
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

unsigned int UString::Match(wchar_t const *text) const
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

// ------------------------------------------------------------ comparing

StringCompare UString::Compare(UString const &str, unsigned int n) const
{
    Impl::Lock2 g(*this, str);
    Buffer *a = m_pBuf, *b = str.m_pBuf;
    if (a == b)
        return CompEqual;
    return CompareN(a->Text(), a->m_nLen, b->Text(), b->m_nLen, n);
}

StringCompare UString::Compare(wchar_t const *text, unsigned int n) const
{
    Impl::Lock1 g(*this);
    return CompareZ(m_pBuf->Text(), text ? text : L"", n);
}

StringCompare UString::ICompare(UString const &str, unsigned int n) const
{
    Impl::Lock2 g(*this, str);
    Buffer *a = m_pBuf, *b = str.m_pBuf;
    if (a == b || n == 0)
        return CompEqual;
    return Sign(_wcsnicmp(a->Text(), b->Text(), n));
}

StringCompare UString::ICompare(wchar_t const *text, unsigned int n) const
{
    Impl::Lock1 g(*this);
    if (n == 0)
        return CompEqual;
    return Sign(_wcsnicmp(m_pBuf->Text(), text ? text : L"", n));
}

bool UString::NoCaseEqual(UString const &str) const
{
    Impl::Lock2 g(*this, str);
    Buffer *a = m_pBuf, *b = str.m_pBuf;
    return a == b || (a->m_nLen == b->m_nLen && _wcsicmp(a->Text(), b->Text()) == 0);
}

bool operator==(UString const &a, UString const &b) { return Impl::Equal(a, b); }
bool operator==(UString const &a, wchar_t const *b) { return Impl::Equal(a, b); }
bool operator==(wchar_t const *a, UString const &b) { return Impl::Equal(b, a); }
bool operator!=(UString const &a, UString const &b) { return !Impl::Equal(a, b); }
bool operator!=(UString const &a, wchar_t const *b) { return !Impl::Equal(a, b); }
bool operator!=(wchar_t const *a, UString const &b) { return !Impl::Equal(b, a); }
bool operator<(UString const &a, UString const &b) { return Impl::Order(a, b) == CompLess; }
bool operator<(UString const &a, wchar_t const *b) { return Impl::Order(a, b) == CompLess; }
bool operator<(wchar_t const *a, UString const &b) { return Impl::Order(b, a) == CompGreater; }
bool operator<=(UString const &a, UString const &b) { return Impl::Order(a, b) != CompGreater; }
bool operator<=(UString const &a, wchar_t const *b) { return Impl::Order(a, b) != CompGreater; }
bool operator<=(wchar_t const *a, UString const &b) { return Impl::Order(b, a) != CompLess; }
bool operator>(UString const &a, UString const &b) { return Impl::Order(a, b) == CompGreater; }
bool operator>(UString const &a, wchar_t const *b) { return Impl::Order(a, b) == CompGreater; }
bool operator>(wchar_t const *a, UString const &b) { return Impl::Order(b, a) == CompLess; }
bool operator>=(UString const &a, UString const &b) { return Impl::Order(a, b) != CompLess; }
bool operator>=(UString const &a, wchar_t const *b) { return Impl::Order(a, b) != CompLess; }
bool operator>=(wchar_t const *a, UString const &b) { return Impl::Order(b, a) != CompGreater; }

// ------------------------------------------------------------ classifying, numbers

bool UString::IsAlpha() const
{
    return Impl::Every(*this, IsAsciiLetter);
}

bool UString::IsAlphaNumeric() const
{
    return Impl::Every(*this, [](wchar_t c) { return IsAsciiLetter(c) || IsDigit(c); });
}

bool UString::IsNumeric() const
{
    return Impl::Every(*this, IsDigit);
}

bool UString::IsNumber() const
{
    Impl::Lock1 g(*this);
    wchar_t const *t = m_pBuf->Text();
    unsigned len = m_pBuf->m_nLen, i = (len && t[0] == L'-') ? 1 : 0;
    for (; i < len; ++i)
        if (!IsDigit(t[i]))
            return false;
    return true;
}

bool UString::IsLower() const
{
    return Impl::Every(*this, [](wchar_t c) { return !(c >= L'A' && c <= L'Z'); });
}

bool UString::IsUpper() const
{
    return Impl::Every(*this, [](wchar_t c) { return !(c >= L'a' && c <= L'z'); });
}

UString::operator short() const
{
    Impl::Lock1 g(*this);
    return short(_wtoi(m_pBuf->Text()));
}

UString::operator int() const
{
    Impl::Lock1 g(*this);
    return _wtoi(m_pBuf->Text());
}

UString::operator unsigned int() const
{
    Impl::Lock1 g(*this);
    return unsigned(_wtoi(m_pBuf->Text()));
}

UString::operator long() const
{
    Impl::Lock1 g(*this);
    return _wtol(m_pBuf->Text());
}

UString::operator unsigned long() const
{
    Impl::Lock1 g(*this);
    return (unsigned long)_wtol(m_pBuf->Text());
}

UString::operator double() const
{
    Impl::Lock1 g(*this);
    return _wtof(m_pBuf->Text());
}

UString::operator __int64() const
{
    Impl::Lock1 g(*this);
    return _wtoi64(m_pBuf->Text());
}

// ------------------------------------------------------------ 8-bit text

SString UString::GetUTF8() const
{
    Impl::Hold h(*this);
    Buffer *b = h.Get();
    if (!b->m_nLen)
        return SString();
    // Measured first, so that the result is made once at its exact size.
    int need = WideCharToMultiByte(CP_UTF8, 0, b->Text(), int(b->m_nLen), nullptr, 0, nullptr,
                                   nullptr);
    if (need <= 0)
        return SString();
    SString out;
    unsigned n = std::min(unsigned(need), STR_MAX_LEN);
    char *d = out.AllocStrBuf(n);
    if (WideCharToMultiByte(CP_UTF8, 0, b->Text(), int(b->m_nLen), d, int(n), nullptr, nullptr) <= 0)
        return SString();
    out.SetIsUTF8();
    return out;
}

UString::operator SString() const
{
    return GetUTF8();
}

UString::operator SString()
{
    return GetUTF8();
}

unsigned int UString::GetUTF8(char *buffer, unsigned int size) const
{
    if (!buffer || !size)
        return 0;
    Impl::Lock1 g(*this);
    unsigned len = m_pBuf->m_nLen;
    int room = int(std::min(size, 0x7FFFFFFFu));
    int n = len ? WideCharToMultiByte(CP_UTF8, 0, m_pBuf->Text(), int(len), buffer, room, nullptr,
                                      nullptr)
                : 0;
    unsigned r = n > 0 ? unsigned(n) : 0;
    // A text that fills the buffer exactly loses its last byte to the
    // terminator; a shorter one is terminated right after its end.
    if (r < size)
        buffer[r] = '\0';
    buffer[size - 1] = '\0';
    return r;
}

void UString::SetUTF8(SString const &str)
{
    SString hold(str);
    unsigned n = std::min(unsigned(hold.Len()), USTR_MAX_LEN);
    unsigned codePage = DetectCodePage(hold.GetStr(), n);
    Impl::Lock1 g(*this);
    Impl::AssignDecoded(*this, hold.GetStr(), n, codePage, true);
}

void UString::SetUTF8(char const *text, unsigned int len)
{
    if (!text)
        len = 0;
    Impl::Lock1 g(*this);
    Impl::AssignDecoded(*this, text, len, CP_UTF8, true);
}

void UString::SetTranscript(SString const &str, unsigned int pos, unsigned int n)
{
    SString hold(str);
    unsigned len = unsigned(hold.Len());
    pos = std::min(pos, len);
    n = std::min(std::min(n, len - pos), USTR_MAX_LEN);
    Buffer *b = Impl::Decode(hold.GetStr() + pos, n, TranscriptCodePage());
    Impl::Lock1 g(*this);
    Impl::Set(*this, b);
}

void UString::SetTranscript(CStringA const &str, unsigned int pos, unsigned int n)
{
    unsigned len = unsigned(std::max(str.GetLength(), 0));
    pos = std::min(pos, len);
    n = std::min(std::min(n, len - pos), USTR_MAX_LEN);
    Buffer *b = Impl::Decode(str.GetString() + pos, n, TranscriptCodePage());
    Impl::Lock1 g(*this);
    Impl::Set(*this, b);
}

UString UString::UTF8ToRussian() const
{
    return *this;
}
