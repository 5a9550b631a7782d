// Dock position records through DataBuffer against copying the same number
// of bytes with memcpy: the price of the typed, sectioned format over the
// bare bytes. The baseline copies the bytes in and out once each, as the
// candidate writes and reads them once each.
#include "bench/BenchHarness.h"

#include <cstring>
#include <random>
#include <vector>

#include "docking/DataBuffer.h"
#include "docking/DockAlign.h"
#include "docking/DockPosition.h"

int main()
{
    constexpr int POSITIONS = 200;
    std::mt19937 rng(3);
    static unsigned long const aligns[] = {DockAlignLeft, DockAlignTop, DockAlignRight, DockAlignBottom};
    std::vector<DockPosition> positions(POSITIONS);
    for (int i = 0; i < POSITIONS; ++i) {
        DockPosition &p = positions[i];
        p.SetName(SString("Pane-") + SString(i));
        p.SetSize(Size(100 + int(rng() % 400), 80 + int(rng() % 300)));
        p.SetMarginAlign(aligns[rng() % 4]);
        int n = 1 + int(rng() % 6);
        for (int k = 0; k < n; ++k)
            p.AddNeighbour(SString("Pane-") + SString(int(rng() % POSITIONS)), aligns[rng() % 4],
                           NeighbourContactType(rng() % 4), rng() % 2 != 0, rng() % 2 != 0);
        p.SetPos(Point(int(rng() % 1000), int(rng() % 800)));
        p.SetRectRecentFloat(CRectangle(100, 100, 500, 400));
    }

    DataBuffer probe;
    for (DockPosition const &p : positions)
        p.WriteToDataBuffer(probe);
    unsigned long const bytes = probe.GetSize();
    std::printf("%d positions, %lu bytes\n", POSITIONS, bytes);

    std::vector<unsigned char> src(probe.GetData(), probe.GetData() + bytes), mid(bytes), dst(bytes);
    std::vector<DockPosition> back(POSITIONS);
    long long sink = 0;
    int const reps = 50;
    bench::Compare(
        "200 DockPositions written and read, x50", "memcpy in and out", 9,
        [&] {
            for (int r = 0; r < reps; ++r) {
                std::memcpy(mid.data(), src.data(), bytes);
                bench::Keep(mid);
                std::memcpy(dst.data(), mid.data(), bytes);
                bench::Keep(dst);
                sink += dst[r % bytes];
            }
        },
        [&] {
            for (int r = 0; r < reps; ++r) {
                DataBuffer b;
                for (DockPosition const &p : positions)
                    p.WriteToDataBuffer(b);
                b.SetPos(0);
                for (DockPosition &p : back)
                    p.ReadFromDataBuffer(b);
                sink += b.GetPos();
            }
        });

    // The typed values alone, without records and strings: the cost of the
    // bounds check each read makes.
    constexpr int VALUES = 100000;
    std::vector<int> in(VALUES, 7), out(VALUES);
    std::vector<unsigned char> raw(VALUES * 4);
    DataBuffer values;
    values.Reserve(VALUES * 4);
    bench::Compare(
        "10^5 int32 written and read", "memcpy in and out", 9,
        [&] {
            std::memcpy(raw.data(), in.data(), raw.size());
            bench::Keep(raw);
            std::memcpy(out.data(), raw.data(), raw.size());
            bench::Keep(out);
            sink += out[VALUES / 2];
        },
        [&] {
            values.Clear();
            for (int i = 0; i < VALUES; ++i)
                values.WriteInt32(7);
            values.SetPos(0);
            long long s = 0;
            for (int i = 0; i < VALUES; ++i)
                s += values.ReadInt32();
            sink += s;
        });
    bench::Keep(sink);
    return 0;
}
