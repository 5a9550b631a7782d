#pragma once
// The docking fuzzer's table of operations and its driver. A world is one
// manager with its panes and a way to resize its site; the driver applies
// seeded random operations and checks the layout after each. Later docking
// pieces (floating, tabs, auto-hide) add their operations to the table.
#include <functional>
#include <random>
#include <string>
#include <vector>

class ZnBaseTabbedPane;
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
    // A tab group of the manager, a pane of the world that is a tab; null
    // when there is none (DockTabOperations.cpp).
    ZnBaseTabbedPane *AnyTabGroup();
    ZnDockablePane *AnyTab();
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
// Tabs: tab a pane or a group onto another, activate, detach and close
// tabs, float and pin groups (DockTabOperations.cpp).
std::vector<DockOperation> TabDockOperations();

// n random operations from seed, the layout checked after each; "" or
// "seed S, operation #i 'name': what broke".
std::string FuzzDocking(DockWorld &world, unsigned seed, int n);
// The same with the operations of the table that keep answers true.
std::string FuzzDocking(DockWorld &world, unsigned seed, int n, bool (*keep)(DockOperation const &));
// The pinning and sliding operations; the floating ones.
bool IsAutoHideOperation(DockOperation const &op);
bool IsFloatingOperation(DockOperation const &op);
// Tab operations, also those that float (counted as floating ones) or pin
// (counted as auto-hide ones).
bool IsTabOperation(DockOperation const &op);
bool IsFloatingTabOperation(DockOperation const &op);
bool IsPinningTabOperation(DockOperation const &op);

} // namespace kstest
