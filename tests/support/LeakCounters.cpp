#include "LeakCounters.h"

#include <vector>
#include <windows.h>

namespace kstest {

HeapUsage CurrentHeapUsage()
{
    HeapUsage u;
    DWORD n = GetProcessHeaps(0, nullptr);
    std::vector<HANDLE> heaps(n + 16);
    n = GetProcessHeaps(DWORD(heaps.size()), heaps.data());
    // The vector itself lives on a heap; it is freed only after the walk, so
    // it is counted the same way before and after the code under test.
    for (DWORD i = 0; i < n && i < heaps.size(); ++i) {
        if (!HeapLock(heaps[i]))
            continue;
        PROCESS_HEAP_ENTRY e{};
        while (HeapWalk(heaps[i], &e)) {
            if (e.wFlags & PROCESS_HEAP_ENTRY_BUSY) {
                ++u.blocks;
                u.bytes += e.cbData;
            }
        }
        HeapUnlock(heaps[i]);
    }
    return u;
}

std::vector<HeapBlock> HeapBlocks()
{
    std::vector<HeapBlock> list;
    std::vector<HANDLE> heaps;
    for (;;) {
        // Room is made before each walk: the walk itself must not allocate.
        heaps.resize(GetProcessHeaps(0, nullptr) + 16);
        list.clear();
        list.reserve(CurrentHeapUsage().blocks + 256);
        DWORD const n = GetProcessHeaps(DWORD(heaps.size()), heaps.data());
        bool full = n > heaps.size();
        for (DWORD i = 0; i < n && i < heaps.size() && !full; ++i) {
            if (!HeapLock(heaps[i]))
                continue;
            PROCESS_HEAP_ENTRY e{};
            while (HeapWalk(heaps[i], &e))
                if (e.wFlags & PROCESS_HEAP_ENTRY_BUSY) {
                    if (list.size() == list.capacity()) {
                        full = true;
                        break;
                    }
                    if (e.lpData != list.data() && e.lpData != heaps.data())
                        list.push_back(HeapBlock{heaps[i], e.lpData, e.cbData});
                }
            HeapUnlock(heaps[i]);
        }
        if (!full)
            return list;
    }
}

std::size_t GdiObjectCount()
{
    // x64 PEB: GdiSharedHandleTable at 0xF8; entries of 24 bytes, the type
    // byte at offset 14 is 0 for a free entry.
    // The PEB address sits at gs:[0x60] on x64. (GCC 12's __readgsqword
    // trips its own array-bounds warning, hence the plain instruction.)
    unsigned char *peb;
    asm("movq %%gs:0x60, %0" : "=r"(peb));
    auto *table = *reinterpret_cast<unsigned char **>(peb + 0xF8);
    if (!table)
        return 0;
    std::size_t used = 0;
    for (std::size_t i = 0; i < 0x10000; ++i)
        if (table[i * 24 + 14] != 0)
            ++used;
    return used;
}

static BOOL CALLBACK CountChild(HWND, LPARAM p)
{
    ++*reinterpret_cast<std::size_t *>(p);
    return TRUE;
}

static BOOL CALLBACK CountTop(HWND h, LPARAM p)
{
    // The platform gives a thread its input-method window along with its
    // first window and keeps it for the thread's life: not ours to count.
    char cls[32];
    if (GetClassNameA(h, cls, sizeof cls) && (lstrcmpA(cls, "IME") == 0 || lstrcmpA(cls, "MSCTFIME UI") == 0))
        return TRUE;
    ++*reinterpret_cast<std::size_t *>(p);
    EnumChildWindows(h, CountChild, p);
    return TRUE;
}

std::size_t ThreadWindowCount()
{
    std::size_t n = 0;
    EnumThreadWindows(GetCurrentThreadId(), CountTop, reinterpret_cast<LPARAM>(&n));
    return n;
}

std::size_t CommittedBytes()
{
    std::size_t total = 0;
    MEMORY_BASIC_INFORMATION m{};
    for (unsigned char *p = nullptr; VirtualQuery(p, &m, sizeof m) == sizeof m;) {
        if (m.State == MEM_COMMIT)
            total += m.RegionSize;
        unsigned char *next = static_cast<unsigned char *>(m.BaseAddress) + m.RegionSize;
        if (next <= p)
            break;
        p = next;
    }
    return total;
}

} // namespace kstest
