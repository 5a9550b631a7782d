#include "window/StringDropData.h"

#include <cstring>
#include <windows.h>
#include <ole2.h>

StringDropData::StringDropData() : DropData(CF_TEXT, BLOCK_SIZE, DROPEFFECT_COPY) {}

StringDropData::StringDropData(SString const &rText, unsigned long nEffect) : DropData(CF_TEXT, BLOCK_SIZE, nEffect)
{
    CopyFrom(rText);
}

void StringDropData::CopyFrom(void *p)
{
    char *dst = static_cast<char *>(GetPData());
    if (!dst || !GetNSize())
        return;
    size_t const room = size_t(GetNSize()) - 1;
    size_t n = 0;
    if (char const *src = static_cast<char const *>(p))
        while (n < room && src[n])
            ++n;
    if (n)
        std::memcpy(dst, p, n);
    dst[n] = '\0';
}

void StringDropData::CopyFrom(SString const &rText) { CopyFrom(const_cast<char *>(rText.GetStr())); }

SString StringDropData::GetString() const
{
    char const *p = static_cast<char const *>(GetPData());
    if (!p || !GetNSize())
        return SString();
    size_t n = 0;
    while (n < GetNSize() && p[n])
        ++n;
    return SString(p, 0, static_cast<unsigned int>(n), true);
}
