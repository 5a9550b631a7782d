#pragma once
// UString: the library's UTF-16 text, the counterpart of SString for the
// platform's wide interfaces. 8-bit text is decoded on the way in (UTF-8 when
// it holds a UTF-8 sequence, else the process's ANSI code page) and encoded on
// the way out. Copies share one counted buffer until one of them writes;
// every object carries a one-word spin lock, as SString does.
#include "frame/Kestrel5Api.h"
#include "mfc/CStringT.h"
#include "text/SString.h"

// Longest text in units; longer inputs are cut to it.
constexpr unsigned int USTR_MAX_LEN = 0xFFFEE;
// As the count of Compare and ICompare: the whole text.
constexpr unsigned int USTR_WHOLE = 0xFFFFF;

class KSAPI UString
{
public:
    // Construction, assignment, destruction
    UString();
    UString(UString const &str);
    UString(char const *text);
    UString(SString const &str);
    UString(SString const &str, unsigned int pos, unsigned int len = STR_TO_END);
    UString(CStringA const &str);
    // end is an index, not a count; STR_TO_END means the terminator.
    UString(char const *text, unsigned int pos, unsigned int end = STR_TO_END);
    UString(wchar_t const *text, unsigned int pos, unsigned int end = STR_TO_END);
    UString(wchar_t const *text);
    UString(char c); // decoded in the ANSI code page
    UString(wchar_t c);
    UString(unsigned char value); // digits, not a character
    UString(short value);
    UString(unsigned int value);
    UString(long value);
    UString(unsigned long value);
    UString(__int64 value);
    UString(unsigned __int64 value);
    UString(int value, int width = 0);
    UString(double value);
    ~UString();

    UString &operator=(UString const &str);
    // Always the ANSI code page: no UTF-8 detection here.
    UString &operator=(char const *text);
    UString &operator=(wchar_t const *text);

    // printf conventions of the runtime library's wide functions (%s is
    // wide text, %S 8-bit text); empty when formatting fails.
    void Format(wchar_t const *format, ...);

    // Access: no lock is taken, so these must not race with a writer of the
    // same object.
    wchar_t const *GetStr() const { return m_pBuf->Text(); }
    wchar_t const *GetUStr() const { return m_pBuf->Text(); }
    operator wchar_t const *() const { return m_pBuf->Text(); }
    operator wchar_t() const { return m_pBuf->Text()[0]; }
    int Len() const { return int(m_pBuf->m_nLen); }
    bool IsEmpty() const { return m_pBuf->m_nLen == 0; }
    bool operator!() const { return m_pBuf->m_nLen == 0; }
    wchar_t operator[](int i) const { return At(unsigned(i)); }
    wchar_t operator[](unsigned int i) const { return At(i); }
    wchar_t operator[](short i) const { return At(unsigned(i)); }
    wchar_t operator[](unsigned short i) const { return At(i); }

    // Appending and inserting
    UString &operator+=(UString const &str);
    UString &operator+=(SString const &str);
    UString &operator+=(char const *text);
    UString &operator+=(char c);
    UString &operator+=(wchar_t const *text);
    UString &operator+=(wchar_t c);
    UString &operator+=(short value);
    UString &operator+=(int value);
    UString &operator+=(unsigned int value);
    UString &operator+=(long value);
    UString &operator+=(unsigned long value);
    UString &operator+=(double value);
    UString &operator+=(__int64 value);
    void AddSeparated(UString const &str, UString const &sep);
    void AddSeparated(UString const &str, wchar_t sep);
    void AddToStringListBuffer(wchar_t *list);
    UString &Insert(UString const &str, unsigned int pos);
    UString &Insert(UString const &str, unsigned int from, unsigned int count, unsigned int pos);
    UString &Insert(wchar_t const *text, unsigned int pos);
    UString &Insert(wchar_t c, unsigned int pos);
    UString &Insert(char const *text, unsigned int pos);
    UString &Insert(char c, unsigned int pos);
    wchar_t *AllocStrBuf(unsigned int n);

    // Removing, replacing, rearranging
    void Clear();
    UString &Erase(unsigned int pos, unsigned int n = STR_TO_END);
    UString Cut(unsigned int pos, unsigned int n = STR_TO_END);
    UString &EraseAllChars(wchar_t c);
    UString &EraseLeadingChars(wchar_t c = L' ');
    UString &EraseTrailingChars(wchar_t c = L' ');
    UString &Trim(wchar_t c = L' ');
    UString &Expand(unsigned int n, wchar_t c = L' ');
    UString &Fill(unsigned int n, wchar_t c);
    UString &Replace(UString const &str, unsigned int pos);
    UString &Replace(wchar_t c, unsigned int pos);
    UString &Replace(char c, unsigned int pos);
    UString &ReplaceAllChars(wchar_t from, wchar_t to);
    UString &ReplaceAllChars(wchar_t from, char to);
    UString &ReplaceAllPhrases(UString const &find, UString const &repl, int start = 0);
    UString &Reverse();
    UString &SpaceToZero();
    UString &ZeroToSpace();
    // The runtime library's wide case mapping in the current locale.
    UString &ToLower();
    UString &ToUpper();
    UString Lower() const;
    UString Upper() const;
    UString &ConvertLineEnd(LineEnd target);
    UString &ConvertLineEnd();

    // Extracting
    UString Copy(unsigned int pos, unsigned int n = STR_TO_END) const;
    UString operator()(unsigned int pos, unsigned int n) const;
    UString CopyToLastChar(wchar_t c) const;
    UString GetToken(unsigned int index, wchar_t sep) const;
    unsigned int GetTokenCount(wchar_t sep) const;
    // New[] arrays of Len() + 1 elements; the caller delete[]s them.
    char *CreateCharArr() const; // in the ANSI code page
    wchar_t *CreateWCHARArr() const;

    // Searching: positions, or STR_NOT_FOUND
    unsigned int Search(UString const &str, unsigned int from = 0) const;
    unsigned int Search(wchar_t const *text, unsigned int from = 0) const;
    unsigned int Search(wchar_t c, unsigned int from = 0) const;
    unsigned int SearchFromEnd(UString const &str) const;
    unsigned int SearchFromEnd(wchar_t c) const;
    unsigned int Match(UString const &str) const;
    unsigned int Match(wchar_t const *text) const;

    // Comparing: units as unsigned numbers; the I forms and NoCaseEqual use
    // the runtime library's case-insensitive comparison.
    StringCompare Compare(UString const &str, unsigned int n = USTR_WHOLE) const;
    StringCompare Compare(wchar_t const *text, unsigned int n = USTR_WHOLE) const;
    StringCompare ICompare(UString const &str, unsigned int n = USTR_WHOLE) const;
    StringCompare ICompare(wchar_t const *text, unsigned int n = USTR_WHOLE) const;
    bool NoCaseEqual(UString const &str) const;

    // Classifying (ASCII letters and digits) and converting to numbers
    bool IsAlpha() const;
    bool IsAlphaNumeric() const;
    bool IsNumeric() const;
    bool IsNumber() const;
    bool IsLower() const;
    bool IsUpper() const;
    operator short() const;
    operator int() const;
    operator unsigned int() const;
    operator long() const;
    operator unsigned long() const;
    operator double() const;
    operator __int64() const;

    // 8-bit text
    operator SString() const;
    operator SString();
    SString GetUTF8() const;
    // At most size bytes; buffer[size - 1] is always made 0. The result is
    // the number of bytes converted, 0 when nothing fitted.
    unsigned int GetUTF8(char *buffer, unsigned int size) const;
    void SetUTF8(SString const &str);
    void SetUTF8(char const *text, unsigned int len);
    // Bytes in the code page of the global transliteration data.
    void SetTranscript(SString const &str, unsigned int pos, unsigned int n);
    void SetTranscript(CStringA const &str, unsigned int pos, unsigned int n);

    // Members kept for symmetry with SString; a wide text has no UTF-8 flag
    // and is never transliterated text.
    UString UTF8ToRussian() const;
    void SetIsUTF8() {}
    bool IsUTF8() const { return false; }
    bool RemoveUTF8Marker() { return false; }
    bool IsTranscript() const { return false; }
    static bool IsTranscript(char const *const) { return false; }

    static int m_staticLanguageId;

private:
    friend struct UStringImpl;

    // One heap block: this header, then capacity + 1 units (text and its
    // terminator).
    struct Buffer
    {
        unsigned int m_nLen;
        unsigned int m_nShare; // further holders besides the first
        unsigned int m_nCap;   // units of text the block can hold
        unsigned int m_nSpare;

        // Reached through the byte address, so that no compiler bounds check
        // takes the header for the whole block.
        wchar_t *Text() { return reinterpret_cast<wchar_t *>(reinterpret_cast<char *>(this) + 16); }
        wchar_t const *Text() const
        {
            return reinterpret_cast<wchar_t const *>(reinterpret_cast<char const *>(this) + 16);
        }
    };

    wchar_t At(unsigned int i) const { return i <= m_pBuf->m_nLen ? m_pBuf->Text()[i] : L'\0'; }

    Buffer *m_pBuf;               // never null; empty strings use one static buffer
    mutable unsigned int m_nLock; // 0 free, 1 held
};

// Comparisons of units; a null wchar_t const * compares as the empty text.
KSAPI bool operator==(UString const &a, UString const &b);
KSAPI bool operator==(UString const &a, wchar_t const *b);
KSAPI bool operator==(wchar_t const *a, UString const &b);
KSAPI bool operator!=(UString const &a, UString const &b);
KSAPI bool operator!=(UString const &a, wchar_t const *b);
KSAPI bool operator!=(wchar_t const *a, UString const &b);
KSAPI bool operator<(UString const &a, UString const &b);
KSAPI bool operator<(UString const &a, wchar_t const *b);
KSAPI bool operator<(wchar_t const *a, UString const &b);
KSAPI bool operator<=(UString const &a, UString const &b);
KSAPI bool operator<=(UString const &a, wchar_t const *b);
KSAPI bool operator<=(wchar_t const *a, UString const &b);
KSAPI bool operator>(UString const &a, UString const &b);
KSAPI bool operator>(UString const &a, wchar_t const *b);
KSAPI bool operator>(wchar_t const *a, UString const &b);
KSAPI bool operator>=(UString const &a, UString const &b);
KSAPI bool operator>=(UString const &a, wchar_t const *b);
KSAPI bool operator>=(wchar_t const *a, UString const &b);
