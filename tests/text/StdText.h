#pragma once
// The library's strings as standard strings, and what the platform makes of
// bytes in a code page: the text tests compare against both.
#include "text/SString.h"
#include "text/UString.h"

#include <string>
#include <windows.h>

namespace kstest {

// The whole text, embedded zeros included.
inline std::string Text(SString const &s) { return std::string(s.GetStr(), std::size_t(s.Len())); }
inline std::wstring Text(UString const &s) { return std::wstring(s.GetUStr(), std::size_t(s.Len())); }
// The buffer itself, to see where it lives and that it ends in a zero.
inline char const *Raw(SString const &s) { return s.GetStr(); }
inline wchar_t const *Raw(UString const &s) { return s.GetUStr(); }

// Empty where the platform refuses the bytes.
inline std::wstring PlatformDecode(unsigned codePage, std::string const &bytes, DWORD flags = 0)
{
    std::wstring out(bytes.size(), L'\0');
    out.resize(std::size_t(
        MultiByteToWideChar(codePage, flags, bytes.data(), int(bytes.size()), out.data(), int(out.size()))));
    return out;
}

inline std::string PlatformEncode(unsigned codePage, std::wstring const &units)
{
    std::string out(units.size() * 4, '\0');
    out.resize(std::size_t(WideCharToMultiByte(codePage, 0, units.data(), int(units.size()), out.data(),
                                               int(out.size()), nullptr, nullptr)));
    return out;
}

} // namespace kstest
