#pragma once
// Counters for leak tests. Under Wine GetGuiResources and
// GetProcessHandleCount always answer 0, so a leak test built on them could
// never fail; these read the real state instead.
#include <cstddef>
#include <vector>

namespace kstest {

struct HeapUsage
{
    std::size_t blocks = 0; // busy blocks over every heap of the process
    std::size_t bytes = 0;  // their summed sizes
};

// Walks every process heap (GetProcessHeaps + HeapWalk).
HeapUsage CurrentHeapUsage();

struct HeapBlock
{
    void const *heap;
    void const *address; // what the allocator handed out
    std::size_t size;
};

// The busy blocks of every process heap, by heap and address. The list's own
// buffer is left out, so two lists differ only by what happened between them.
std::vector<HeapBlock> HeapBlocks();

// Used entries of the process's GDI handle table (PEB, 0x10000 entries).
std::size_t GdiObjectCount();

// Windows owned by the calling thread, children included.
std::size_t ThreadWindowCount();

// Bytes of committed address space of the process (a VirtualQuery walk):
// PagefileUsage counts only touched pages under Wine, so a huge bitmap that
// was made and never drawn would not show there.
std::size_t CommittedBytes();

} // namespace kstest
