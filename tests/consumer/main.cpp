// Uses the library only through its installed headers and import library.
#include <Kestrel5.h>

#include <cstdio>
#include <cstring>
#include <zlib.h>

int main()
{
    char const text[] = "an application linked against the installed Kestrel5 package";
    unsigned char packed[256];
    uLongf packedLen = sizeof packed;
    if (compress2(packed, &packedLen, reinterpret_cast<Bytef const *>(text), sizeof text, 9) != Z_OK)
        return 1;
    char back[256];
    uLongf backLen = sizeof back;
    if (uncompress(reinterpret_cast<Bytef *>(back), &backLen, packed, packedLen) != Z_OK)
        return 2;
    if (backLen != sizeof text || std::memcmp(back, text, sizeof text) != 0)
        return 3;
    std::printf("consumer OK: zlib %s through Kestrel5.dll\n", zlibVersion());
    return 0;
}
