#pragma once
// Internal to the library: a name as the platform's file calls take it. Short
// ANSI names go to the ANSI calls unchanged; UTF-8 names and names of `limit`
// bytes or more go to the wide calls, the long ones with the "\\?\" prefix.
// Not exported; DirEntry, FileStat and Dir share it.
#include <string>

#include "text/SString.h"

struct FSysName
{
    // 260 is the platform's path limit; CreateDirectory stops at 248.
    explicit FSysName(SString const &full, unsigned int limit = 260);
    // Both names of a two-name call must use the same kind of call.
    void MakeWide();

    bool m_bWide;
    SString m_aAnsi;
    std::wstring m_aWide;

    char const *A() const { return m_aAnsi.GetStr(); }
    wchar_t const *W() const { return m_aWide.c_str(); }

    static bool IsUTF8Name(SString const &name) { return name.IsUTF8() || name.MayBeUTF8(); }
    // The text in UTF-16: from UTF-8 when utf8, else from the ANSI code page.
    static std::wstring Widen(char const *text, int len, bool utf8);
    // A name the wide calls returned, back in the caller's encoding.
    static SString Narrow(wchar_t const *text, bool utf8);
};
