#pragma once
// The one source of geometric truth for docking tests: walks a manager's
// live layout and names the first broken invariant in words, or answers "".
//   - every pane of a group is in exactly one place, knows its group and its
//     manager; a registered pane outside every group is not shown;
//   - shown panes, dividers, dock sites and the free space tile the dock
//     site without overlap or gap (window rectangles when the site has a
//     window, layout rectangles otherwise), and windows sit where the
//     layout put them;
//   - every split container's divider lies between its two halves, which
//     fill the container with it;
//   - the trees are normal: parents point back, every container but a
//     root has two filled halves, depth is the parent's + 1;
//   - every percentage lies strictly between 0 and 100;
//   - auto-hide: bars lie in their side's strip and have buttons, a strip
//     without bars takes no room, a pinned-off pane is in no container and
//     has exactly one button on the one bar of its side it names, and shows
//     only while slid out: then inside the site, against its strip's inner
//     edge and along all of it; one pane out at most.
//   - tab groups hold two tabs or more, which are registered panes of no
//     group and no frame, children of the group filling its tab area, the
//     active one alone shown; the strip lies inside the group; no window of
//     a dissolved group is left;
//   - a floating pane is in no group and is the content of exactly one mini
//     frame of its manager, which shows exactly while a pane in it does; a
//     lone pane fills the frame's client area, a multi-pane frame's panes
//     and dividers tile it as a site's do.
// DockCheckScope runs the check after every outermost docking gesture of
// every manager and records the failures.
#include <string>
#include <vector>

#include "frame/LinkHdl.h"

class ZnDockingManager;

namespace kstest {

std::string CheckDockLayout(ZnDockingManager &mgr);

class DockCheckScope : public LinkHdl
{
public:
    DockCheckScope();
    ~DockCheckScope() override;
    DockCheckScope(DockCheckScope const &) = delete;
    DockCheckScope &operator=(DockCheckScope const &) = delete;

    int Checks() const { return m_nChecks; }
    // The first failure seen since the scope began (or the last Clear), or "".
    std::string const &FirstFailure() const { return m_sFirst; }
    void Clear() { m_sFirst.clear(); }

private:
    __int64 After(void *pManager);
    int m_nChecks = 0;
    std::string m_sFirst;
};

} // namespace kstest
