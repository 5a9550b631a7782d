#pragma once
// The docking fuzzer's table of operations and its driver. A world is one
// manager with its panes and a way to resize its site; the driver applies
// seeded random operations and checks the layout after each. Later docking
// pieces (floating, tabs, auto-hide) add their operations to the table.
#include <functional>
#include <random>
#include <string>
#include <vector>

class ZnDockablePane;
class ZnDockingManager;

namespace kstest {

struct DockWorld
{
    ZnDockingManager *mgr = nullptr;
    std::vector<ZnDockablePane *> panes;
    // Resizes the dock site's client area.
    std::function<void(int cx, int cy)> resize;
    std::mt19937 rng;

    int Rand(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); }
    ZnDockablePane *AnyPane() { return panes[size_t(Rand(0, int(panes.size()) - 1))]; }
    // A pane docked in a group, or null when none is.
    ZnDockablePane *AnyDockedPane();
    unsigned long AnySide();
};

struct DockOperation
{
    char const *name;
    void (*apply)(DockWorld &);
};

std::vector<DockOperation> const &DockOperationTable();

// Floating: float at random rectangles, dock back, dock at a side, dock
// into floating and docked panes, move and close frames, deliver the
// frames' posted messages (DockFloatingOperations.cpp).
std::vector<DockOperation> FloatingDockOperations();

// n random operations from seed, the layout checked after each; "" or
// "seed S, operation #i 'name': what broke".
std::string FuzzDocking(DockWorld &world, unsigned seed, int n);
// The same with the operations of the table that keep answers true.
std::string FuzzDocking(DockWorld &world, unsigned seed, int n, bool (*keep)(DockOperation const &));
// The pinning and sliding operations; the floating ones.
bool IsAutoHideOperation(DockOperation const &op);
bool IsFloatingOperation(DockOperation const &op);

} // namespace kstest
