#pragma once
// SString: the library's 8-bit text. Copies share one reference-counted buffer
// until one of them writes; every object carries a one-word spin lock so that
// one object may be read and replaced from several threads.
#include <vector>

#include "frame/Kestrel5Api.h"
#include "mfc/CStringT.h"
#include "text/CharSet.h"

// Longest text. A buffer block is capacity + 16 bytes, and this keeps the
// largest block within 24 bits.
constexpr unsigned int STR_MAX_LEN = 0xFFFFEF;
// As a length or count: up to the end.
constexpr unsigned int STR_TO_END = 0xFFFFFF;
// A search that found nothing.
constexpr unsigned int STR_NOT_FOUND = 0xFFFFFFFF;
// Match/IMatch found no difference.
constexpr unsigned int STR_ALL_MATCH = 0xFFFFFFFF;

// Language id that turns on the Windows-1250 letters in SString::ToUpper.
constexpr int LanguagePolish = 12;

enum StringCompare
{
    CompEqual = 0,
    CompGreater = 1, // this string sorts after the argument
    CompLess = 2     // this string sorts before the argument
};

enum LineEnd
{
    LineEndCr = 0,
    LineEndLf = 1,
    LineEndCrLf = 2
};

KSAPI LineEnd GetSystemLineEnd();

// Writes the decimal digits of value backwards into a caller area of at least
// 32 bytes starting at p: a NUL at p + 31, the digits before it. On return p
// points at the first digit; the result is the number of digits.
KSAPI int ImpUNToA(unsigned long value, char *&p);

class KSAPI SString
{
public:
    // Construction, assignment, destruction
    SString();
    SString(SString const &str);
    SString(SString const &str, unsigned int pos, unsigned int len = STR_TO_END);
    SString(char const *text);
    // noScan: the caller vouches that pos + len bytes are readable; no
    // terminator is looked for (unless len is STR_TO_END).
    SString(char const *text, unsigned int pos, unsigned int len = STR_TO_END, bool noScan = false);
    // codePage 3 is the calling thread's ANSI code page.
    SString(wchar_t const *text, unsigned int codePage = 3);
    SString(ATL::CStringT<char, StrTraitMFC_DLL<char, ATL::ChTraitsCRT<char>>> const &str);
    SString(char c);
    SString(unsigned char value); // digits, not a character
    SString(short value);
    SString(unsigned int value);
    SString(long value);
    SString(unsigned long value);
    SString(__int64 value);
    SString(unsigned __int64 value);
    // Leading zeros up to width characters; the sign stays in front.
    SString(int value, int width = 0);
    SString(double value);
    ~SString();

    SString &operator=(SString const &str);
    SString &operator=(char const *text);

    // printf conventions of the runtime library, its Microsoft forms (%I64d)
    // included; the result is empty when formatting fails.
    static SString F(char const *format, ...);
    static SString FromFormat(char const *format, ...);
    void Format(char const *format, ...);

    // Access: no lock is taken, so these must not race with a writer of the
    // same object.
    char const *GetStr() const { return m_pBuf->Text(); }
    operator char const *() const { return m_pBuf->Text(); }
    int Len() const { return int(m_pBuf->m_nLen); }
    bool IsEmpty() const { return m_pBuf->m_nLen == 0; }
    bool operator!() const { return m_pBuf->m_nLen == 0; }
    char operator[](int i) const { return At(unsigned(i)); }
    char operator[](unsigned int i) const { return At(i); }
    char operator[](short i) const { return At(unsigned(i)); }
    char operator[](unsigned short i) const { return At(i); }
    char Front() const { return m_pBuf->Text()[0]; }
    operator char() const { return m_pBuf->Text()[0]; }
    char Back() const { return m_pBuf->m_nLen ? m_pBuf->Text()[m_pBuf->m_nLen - 1] : '\0'; }
    bool IsUTF8() const { return m_pBuf->m_bUTF8 != 0; }

    // Appending and inserting
    SString &operator+=(SString const &str);
    SString &operator+=(char const *text);
    SString &operator+=(char c);
    SString &operator+=(unsigned char value); // digits, not a character
    SString &operator+=(short value);
    SString &operator+=(int value);
    SString &operator+=(unsigned int value);
    SString &operator+=(long value);
    SString &operator+=(unsigned long value);
    void AddSeparated(SString const &str, SString const &sep);
    void AddSeparated(SString const &str, char sep);
    void AddToStringListBuffer(char *list);
    SString &Insert(SString const &str, unsigned int pos);
    SString &Insert(SString const &str, unsigned int from, unsigned int count, unsigned int pos);
    SString &Insert(char const *text, unsigned int pos);
    SString &Insert(char c, unsigned int pos);
    char *AllocStrBuf(unsigned int n);
    char *AllocStrCapBuf(unsigned int n);

    // Removing, replacing, rearranging
    void Clear();
    SString &Erase(unsigned int pos, unsigned int n = STR_TO_END);
    SString Cut(unsigned int pos, unsigned int n = STR_TO_END);
    SString &EraseAllChars(char c);
    SString &EraseLeadingChars(char c = ' ');
    SString &EraseTrailingChars(char c = ' ');
    SString &Trim(char c = ' ');
    SString &Expand(unsigned int n, char c = ' ');
    SString &Fill(unsigned int n, char c);
    SString &Replace(SString const &str, unsigned int pos);
    SString &Replace(char c, unsigned int pos);
    SString &ReplaceAllChars(char from, char to);
    SString &ReplaceAllPhrases(SString const &find, SString const &repl, int start = 0,
                               int count = int(STR_MAX_LEN));
    SString &ReplaceAllPhrasesI(SString const &find, SString const &repl, int start = 0);
    SString &Reverse();
    SString &SpaceToZero();
    SString &ZeroToSpace();
    SString &ToLower();
    SString &ToUpper();
    SString Lower() const;
    SString Upper() const;
    SString &ConvertLineEnd(LineEnd target);
    SString &ConvertLineEnd();
    // Bytes from one character set to another in place; CharSetNone and
    // CharSetKeep on either side leave the text alone.
    SString &Convert(CharSet from, CharSet to);
    // One byte. Unlike the string form: 0 for a byte of 128 or above when
    // either set is CharSetNone or CharSetKeep, the byte itself where the
    // string form writes an ASCII stand-in, and 0 where the target lacks the
    // character (the string form keeps the old byte).
    static char Convert(char c, CharSet from, CharSet to);

    // Extracting
    SString Copy(unsigned int pos, unsigned int n = STR_TO_END) const;
    SString operator()(unsigned int pos, unsigned int n) const;
    SString CopyToLastChar(char c) const;
    SString GetToken(unsigned int index, char sep) const;
    unsigned int GetTokenCount(char sep) const;
    int GetTokenPos(unsigned int index, char sep) const;
    std::vector<SString> GetAllTokens(char sep) const;
    // A new[] array of Len() + 1 units; the caller delete[]s it.
    wchar_t *CreateWCHARArr(unsigned int codePage = 3) const;

    // Searching: positions, or STR_NOT_FOUND
    unsigned int Search(SString const &str, unsigned int from = 0) const;
    unsigned int Search(char const *text, unsigned int from = 0) const;
    unsigned int Search(char c, unsigned int from = 0) const;
    unsigned int NoCaseSearch(SString const &str, unsigned int from = 0) const;
    unsigned int SearchBackward(SString const &str, unsigned int from) const;
    unsigned int SearchFromEnd(SString const &str, bool ignoreCase = false) const;
    unsigned int SearchFromEnd(char c) const;
    bool EndsOn(SString const &str) const;
    unsigned int Match(SString const &str) const;
    unsigned int Match(char const *text) const;
    unsigned int IMatch(SString const &str) const;

    // Comparing (unsigned bytes; the I forms fold ASCII letters only)
    StringCompare Compare(SString const &str, unsigned int n = STR_TO_END) const;
    StringCompare Compare(char const *text, unsigned int n = STR_TO_END) const;
    StringCompare ICompare(SString const &str, unsigned int n = STR_TO_END) const;
    StringCompare ICompare(char const *text, unsigned int n = STR_TO_END) const;
    bool NoCaseEqual(SString const &str) const;

    // Classifying and converting to numbers
    bool IsAlpha() const;
    bool IsAlphaNumeric() const;
    bool IsNumeric() const;
    bool IsNumber() const;
    bool IsLower() const;
    bool IsUpper() const;
    bool ToBool() const;
    operator unsigned char() const;
    operator short() const;
    operator unsigned short() const;
    operator int() const;
    operator unsigned int() const;
    operator unsigned long() const;
    operator long() const;
    operator double() const;
    operator __int64() const;
    operator unsigned __int64() const;

    // UTF-8
    void SetIsUTF8();
    void ClearUTF8();
    bool MayBeUTF8() const;
    static bool MayBeUTF8(char const *const text, unsigned int n = STR_TO_END);
    bool RemoveUTF8Marker();
    SString AnsiToUTF8(unsigned int codePage) const;
    SString AnsiToUTF8() const;
    SString UTF8ToAnsi(unsigned int codePage) const;
    SString UTF8ToAnsi() const;
    SString UTF8ToCzech() const;
    SString UTF8ToPolish() const;
    SString UTF8ToRussian() const;
    SString UTF8ToEnglish() const;
    SString UTF8ToGreek() const;
    SString UTF8ToTurkish() const;

    // Whether more than half of the text is letters of the script the global
    // transliteration data names (a letter repeated counts once).
    bool IsTranscript() const;
    static bool IsTranscript(char const *const text);

    static void SetLanguage(int languageId);
    static int m_staticLanguageId;

private:
    friend struct SStringImpl;

    // One heap block: this header, the text and its NUL; the block is
    // capacity + 16 bytes, so the text may use the 3 bytes after the flag.
    struct Buffer
    {
        unsigned int m_nLen;
        unsigned int m_nShare; // further holders besides the first
        unsigned int m_nCap;
        unsigned char m_bUTF8;
        char m_aText[3]; // the text starts here and runs on into the block

        // Reached through the byte address rather than the 3-byte array, so
        // that no compiler bounds check mistakes the array for the whole text.
        char *Text() { return reinterpret_cast<char *>(this) + TextOffset; }
        char const *Text() const { return reinterpret_cast<char const *>(this) + TextOffset; }
        static constexpr unsigned TextOffset = 13;
    };

    char At(unsigned int i) const { return i <= m_pBuf->m_nLen ? m_pBuf->Text()[i] : '\0'; }

    Buffer *m_pBuf;               // never null; empty strings use one static buffer
    mutable unsigned int m_nLock; // 0 free, 1 held
};

// Comparisons of unsigned bytes; a null char const * compares as the empty text.
KSAPI bool operator==(SString const &a, SString const &b);
KSAPI bool operator==(SString const &a, char const *b);
KSAPI bool operator==(char const *a, SString const &b);
KSAPI bool operator!=(SString const &a, SString const &b);
KSAPI bool operator!=(SString const &a, char const *b);
KSAPI bool operator!=(char const *a, SString const &b);
KSAPI bool operator<(SString const &a, SString const &b);
KSAPI bool operator<(SString const &a, char const *b);
KSAPI bool operator<(char const *a, SString const &b);
KSAPI bool operator<=(SString const &a, SString const &b);
KSAPI bool operator<=(SString const &a, char const *b);
KSAPI bool operator<=(char const *a, SString const &b);
KSAPI bool operator>(SString const &a, SString const &b);
KSAPI bool operator>(SString const &a, char const *b);
KSAPI bool operator>(char const *a, SString const &b);
KSAPI bool operator>=(SString const &a, SString const &b);
KSAPI bool operator>=(SString const &a, char const *b);
KSAPI bool operator>=(char const *a, SString const &b);

// Concatenation; the operands are left alone.
KSAPI SString operator+(SString const &a, SString const &b);
KSAPI SString operator+(SString const &a, char const *b);
KSAPI SString operator+(char const *a, SString const &b);
KSAPI SString operator+(SString const &a, char b);
KSAPI SString operator+(char a, SString const &b);
