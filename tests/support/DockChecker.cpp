#include "tests/support/DockChecker.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <map>

#include "docking/DockGeometry.h"
#include "docking/ZnAutoHideBar.h"
#include "docking/ZnAutoHideButton.h"
#include "docking/ZnAutoHideDockSite.h"
#include "docking/ZnBaseTabbedPane.h"
#include "docking/ZnDockParentWnd.h"
#include "docking/ZnDockSite.h"
#include "docking/ZnDockablePane.h"
#include "docking/ZnDockingManager.h"
#include "docking/ZnMultiPaneFrameWnd.h"
#include "docking/ZnPaneFrameWnd.h"
#include "docking/ZnPaneContainer.h"
#include "docking/ZnPaneContainerManager.h"
#include "docking/ZnPaneDivider.h"
#include "frame/Link.h"
#include "mfc/CMFCTabCtrl.h"
#include "mfc/CObList.h"

namespace kstest {

namespace {

std::string Name(CWnd const *w)
{
    if (auto const *p = dynamic_cast<ZnDockablePane const *>(w))
        if (p->GetInternalName().Len())
            return "pane '" + std::string(p->GetInternalName().GetStr()) + "'";
    char buf[64];
    if (auto const *d = dynamic_cast<ZnPaneDivider const *>(w))
        std::snprintf(buf, sizeof buf, "%s divider %p", d->IsDefault() ? "group" : "inner", static_cast<void const *>(d));
    else if (dynamic_cast<ZnDockSite const *>(w))
        std::snprintf(buf, sizeof buf, "dock site %p", static_cast<void const *>(w));
    else if (dynamic_cast<ZnDockablePane const *>(w))
        std::snprintf(buf, sizeof buf, "pane %p", static_cast<void const *>(w));
    else
        std::snprintf(buf, sizeof buf, "free space");
    return buf;
}

std::string Str(CRect const &r)
{
    char buf[80];
    std::snprintf(buf, sizeof buf, "(%ld,%ld)-(%ld,%ld)", long(r.left), long(r.top), long(r.right), long(r.bottom));
    return buf;
}

struct Tile
{
    CWnd const *wnd;
    CRect rect;
};

long long Area(CRect const &r)
{
    return r.IsRectEmpty() ? 0 : 1LL * r.Width() * r.Height();
}

struct Walker
{
    ZnDockingManager &mgr;
    HWND site;
    std::map<ZnDockablePane const *, int> seen;
    std::vector<Tile> tiles;
    std::string err;

    bool Fail(std::string const &s)
    {
        if (err.empty())
            err = s;
        return false;
    }

    // Where a window is, in the site's client coordinates, and whether it
    // shows; the layout's word for windowless ones.
    bool Place(ZnBasePane const *w, CRect &r, bool &shown)
    {
        HWND const h = w->GetSafeHwnd();
        if (!site || !h) {
            r = w->GetLayoutRect();
            shown = w->IsPaneVisible();
            return true;
        }
        shown = (::GetWindowLongA(h, GWL_STYLE) & WS_VISIBLE) != 0;
        ::GetWindowRect(h, &r);
        ::MapWindowPoints(nullptr, site, reinterpret_cast<POINT *>(&r), 2);
        if (shown != w->IsPaneVisible())
            return Fail(Name(w) + (shown ? " shows though the layout hides it" : " is hidden though the layout shows it"));
        if (shown && r != w->GetLayoutRect() && !(r.IsRectEmpty() && w->GetLayoutRect().IsRectEmpty()))
            return Fail(Name(w) + " sits at " + Str(r) + " but the layout put it at " + Str(w->GetLayoutRect()));
        return true;
    }

    void AddTile(ZnBasePane const *w)
    {
        CRect r;
        bool shown;
        if (Place(w, r, shown) && shown && !r.IsRectEmpty())
            tiles.push_back({w, r});
    }

    void Container(ZnPaneContainer const *c, ZnPaneDivider const *group, ZnPaneContainerManager const *cm, bool root,
                   int depth)
    {
        if (c->GetContainerManager() != cm)
            Fail("a container of " + Name(group) + " belongs to another container manager");
        if (!root && (c->IsHalfEmpty(true) || c->IsHalfEmpty(false)))
            Fail("a nested container of " + Name(group) + " has an empty half");
        double const pct = c->GetPercent();
        if (!(pct > 0.0 && pct < 100.0))
            Fail("a container of " + Name(group) + " has percentage " + std::to_string(pct));
        bool const split = !c->IsHalfEmpty(true) && !c->IsHalfEmpty(false);
        if (split != (c->GetPaneDivider() != nullptr))
            Fail("a container of " + Name(group) + (split ? " splits without a divider" : " keeps a divider for one half"));
        for (bool first : {true, false}) {
            if (ZnDockablePane const *p = c->GetPane(first)) {
                if (++seen[p] > 1)
                    Fail(Name(p) + " is in more than one place");
                if (p->GetDefaultPaneDivider() != group)
                    Fail(Name(p) + " does not know its group");
                if (p->GetDockingManager() != &mgr)
                    Fail(Name(p) + " does not know its manager");
                if (p->GetNestedDockDepth() != depth)
                    Fail(Name(p) + " has depth " + std::to_string(p->GetNestedDockDepth()) + ", its container " +
                         std::to_string(depth));
                AddTile(p);
            } else if (ZnPaneContainer const *k = c->GetChild(first)) {
                if (k->GetParentContainer() != c)
                    Fail("a container of " + Name(group) + " does not point back to its parent");
                Container(k, group, cm, false, depth + 1);
            }
        }
        if (ZnPaneDivider const *d = c->GetPaneDivider()) {
            AddTile(d);
            if (d->IsPaneVisible()) {
                // Between its halves, which fill the container with it.
                bool const sbs = d->IsVertical();
                CRect const a = c->GetHalfRect(true), b = c->GetHalfRect(false), r = d->GetLayoutRect(),
                            all = c->GetRect();
                bool const ok = sbs ? (a.left == all.left && a.right == r.left && r.right == b.left &&
                                       b.right == all.right && a.top == all.top && r.top == all.top &&
                                       b.top == all.top && a.bottom == all.bottom && r.bottom == all.bottom &&
                                       b.bottom == all.bottom)
                                    : (a.top == all.top && a.bottom == r.top && r.bottom == b.top &&
                                       b.bottom == all.bottom && a.left == all.left && r.left == all.left &&
                                       b.left == all.left && a.right == all.right && r.right == all.right &&
                                       b.right == all.right);
                if (!ok)
                    Fail(Name(d) + " at " + Str(r) + " does not lie between " + Str(a) + " and " + Str(b));
            }
        }
    }
};

// Auto-hide: every bar sits in the strip of its side's auto-hide dock site
// and has buttons; a strip without bars takes no room; every pinned-off pane
// is in no container and has exactly one button, on the bar it names, on its
// side; a pane shows only while slid out, and then lies inside the site
// against the inner edge of its side's strip, spanning that edge; at most
// one pane is out; a group stands still only while all its panes are off.
std::string CheckAutoHide(Walker &w, std::vector<ZnDockablePane *> const &registered)
{
    ZnDockingManager &mgr = w.mgr;
    std::map<ZnDockablePane const *, int> buttons;
    CObList const &bars = mgr.GetAutoHideBarList();
    for (POSITION pos = bars.GetHeadPosition(); pos;) {
        auto const *bar = static_cast<ZnAutoHideBar const *>(bars.GetNext(pos));
        std::string const name = "the auto-hide bar of side " + std::to_string(bar->GetCurrentAlignment());
        if (bar->GetCount() == 0)
            return name + " stays without buttons";
        ZnAutoHideDockSite const *site = bar->GetParentDockSite();
        if (!site || !mgr.GetDockSiteList().Find(const_cast<ZnAutoHideDockSite *>(site)))
            return name + " lies in no auto-hide dock site of the manager";
        if (site->GetCurrentAlignment() != bar->GetCurrentAlignment())
            return name + " lies in the strip of side " + std::to_string(site->GetCurrentAlignment());
        CRect r;
        bool shown;
        if (!w.Place(bar, r, shown))
            return w.err;
        CRect in;
        if (shown && (!::IntersectRect(&in, &r, &site->GetLayoutRect()) || in != r))
            return name + " at " + Str(r) + " leaves its strip " + Str(site->GetLayoutRect());
        for (int i = 0; i < bar->GetCount(); ++i) {
            ZnAutoHideButton const *b = bar->GetButton(i);
            ZnDockablePane const *p = b->GetAutoHideWindow();
            if (!p)
                return name + " has a button without a pane";
            ++buttons[p];
            if (p->GetAutoHideToolBar() != bar || p->GetAutoHideButton() != b)
                return Name(p) + " has a button on a bar it does not name";
            if (p->GetCurrentAlignment() != bar->GetCurrentAlignment())
                return Name(p) + " of side " + std::to_string(p->GetCurrentAlignment()) + " has its button on " + name;
        }
    }
    for (POSITION pos = mgr.GetDockSiteList().GetHeadPosition(); pos;) {
        auto const *site = dynamic_cast<ZnAutoHideDockSite const *>(mgr.GetDockSiteList().GetNext(pos));
        if (!site)
            continue;
        auto const &own = site->GetAutoHideBars();
        bool anyShown = false;
        for (ZnAutoHideBar const *b : own)
            for (int i = 0; i < b->GetCount(); ++i)
                anyShown = anyShown || b->GetButton(i)->IsVisible();
        if (!anyShown && !site->GetLayoutRect().IsRectEmpty())
            return "the auto-hide strip of side " + std::to_string(site->GetCurrentAlignment()) + " takes " +
                   Str(site->GetLayoutRect()) + " without a button to show";
        for (size_t i = 0; i < own.size(); ++i) {
            if (!bars.Find(own[i]))
                return "a bar of the auto-hide strip of side " + std::to_string(site->GetCurrentAlignment()) +
                       " is not in the manager's list";
            for (size_t j = 0; j < i; ++j) {
                CRect o;
                if (::IntersectRect(&o, &own[i]->GetLayoutRect(), &own[j]->GetLayoutRect()))
                    return "two auto-hide bars of side " + std::to_string(site->GetCurrentAlignment()) + " overlap";
            }
        }
    }
    CRect const inside = mgr.GetOuterEdgeBounds(), siteRect = mgr.GetDockSiteRect();
    int out = 0;
    for (ZnDockablePane const *p : registered) {
        if (!p->IsAutoHideMode()) {
            if (buttons.count(p))
                return Name(p) + " is docked but keeps an auto-hide button";
            continue;
        }
        if (w.seen.count(p) || p->GetDefaultPaneDivider())
            return Name(p) + " is pinned off but still in a container";
        if (buttons[p] != 1)
            return Name(p) + " is pinned off with " + std::to_string(buttons[p]) + " buttons";
        if (!p->IsPaneVisible() && p->IsSlidOut())
            return Name(p) + " is hidden in auto-hide mode but slid out";
        // A site too small to give a slid-out pane any room shows nothing.
        bool const isOut = p->IsSlidOut() && !p->GetLayoutRect().IsRectEmpty();
        HWND const h = p->GetSafeHwnd();
        bool const shown = w.site && h ? (::GetWindowLongA(h, GWL_STYLE) & WS_VISIBLE) != 0 : isOut;
        if (shown != isOut)
            return Name(p) + (shown ? " shows without being slid out" : " is slid out but hidden");
        if (p->IsSlidOut() && !p->IsSliding() && p->GetLayoutRect() != p->GetAHRestoredRect())
            return Name(p) + " is all the way out at " + Str(p->GetLayoutRect()) + ", not at its size " +
                   Str(p->GetAHRestoredRect());
        if (!shown)
            continue;
        ++out;
        CRect r = p->GetLayoutRect();
        if (w.site && h) {
            ::GetWindowRect(h, &r);
            ::MapWindowPoints(nullptr, w.site, reinterpret_cast<POINT *>(&r), 2);
            if (r != p->GetLayoutRect())
                return Name(p) + " sits at " + Str(r) + " but the layout put it at " + Str(p->GetLayoutRect());
        }
        CRect in;
        if (r.IsRectEmpty() || !::IntersectRect(&in, &r, &siteRect) || in != r || !::IntersectRect(&in, &r, &inside) ||
            in != r)
            return Name(p) + " slid out at " + Str(r) + " leaves the inside " + Str(inside) + " of the strips";
        bool against;
        switch (p->GetCurrentAlignment()) {
        case CBRS_ALIGN_LEFT: against = r.left == inside.left && r.top == inside.top && r.bottom == inside.bottom; break;
        case CBRS_ALIGN_RIGHT: against = r.right == inside.right && r.top == inside.top && r.bottom == inside.bottom; break;
        case CBRS_ALIGN_TOP: against = r.top == inside.top && r.left == inside.left && r.right == inside.right; break;
        default: against = r.bottom == inside.bottom && r.left == inside.left && r.right == inside.right; break;
        }
        if (!against)
            return Name(p) + " slid out at " + Str(r) + " does not lie along its edge of " + Str(inside);
    }
    if (out > 1)
        return std::to_string(out) + " panes are slid out at once";
    for (ZnPaneDivider const *g : mgr.GetDefaultDividers())
        if (g->IsAutoHideMode() && g->GetPaneContainerManager()->HasVisiblePane())
            return Name(g) + " stands still though its group shows panes";
    return {};
}

// ---- floating: mini frames hold the panes that float
// A floating pane is in no group, knows its frame, and is the content of
// exactly one frame of its manager; a frame shows exactly while one of its
// panes does. A lone pane fills its frame's client area; a multi-pane
// frame's tree is normal and its panes and dividers tile the client area as
// a site's do.

std::string TileCheck(std::vector<Tile> const &tiles, CRect const &area, std::string const &where)
{
    long long sum = 0;
    for (size_t i = 0; i < tiles.size(); ++i) {
        CRect const &a = tiles[i].rect;
        CRect in;
        if (!::IntersectRect(&in, &a, &area) || in != a)
            return Name(tiles[i].wnd) + " at " + Str(a) + " leaves " + where + " " + Str(area);
        sum += Area(a);
        for (size_t j = 0; j < i; ++j) {
            CRect o;
            if (::IntersectRect(&o, &a, &tiles[j].rect))
                return Name(tiles[i].wnd) + " overlaps " + Name(tiles[j].wnd) + " by " + std::to_string(o.Width()) +
                       "x" + std::to_string(o.Height()) + " px at " + Str(o);
        }
    }
    if (sum != Area(area))
        return "the tiles cover " + std::to_string(sum) + " of " + where + "'s " + std::to_string(Area(area)) +
               " px: a gap";
    return {};
}

struct FrameWalker
{
    ZnDockingManager &mgr;
    ZnPaneFrameWnd const *frame;
    HWND h;
    std::vector<Tile> tiles;
    std::string err;

    bool Fail(std::string const &s)
    {
        if (err.empty())
            err = s;
        return false;
    }

    void AddTile(ZnBasePane const *w)
    {
        HWND const c = w->GetSafeHwnd();
        CRect r = w->GetLayoutRect();
        bool shown = w->IsPaneVisible();
        if (c && h) {
            if (::GetParent(c) != h)
                Fail(Name(w) + " floats but its window is not the frame's child");
            shown = (::GetWindowLongA(c, GWL_STYLE) & WS_VISIBLE) != 0;
            ::GetWindowRect(c, &r);
            ::MapWindowPoints(nullptr, h, reinterpret_cast<POINT *>(&r), 2);
            if (shown != w->IsPaneVisible())
                Fail(Name(w) + (shown ? " shows in its frame though the layout hides it"
                                      : " is hidden in its frame though the layout shows it"));
            else if (shown && r != w->GetLayoutRect())
                Fail(Name(w) + " sits at " + Str(r) + " in its frame but the layout put it at " +
                     Str(w->GetLayoutRect()));
        }
        if (shown && !r.IsRectEmpty())
            tiles.push_back({w, r});
    }

    void Container(ZnPaneContainer const *c, ZnPaneContainerManager const *cm, bool root)
    {
        if (c->GetContainerManager() != cm)
            Fail("a container of a floating frame belongs to another container manager");
        if (!root && (c->IsHalfEmpty(true) || c->IsHalfEmpty(false)))
            Fail("a nested container of a floating frame has an empty half");
        double const pct = c->GetPercent();
        if (!(pct > 0.0 && pct < 100.0))
            Fail("a container of a floating frame has percentage " + std::to_string(pct));
        bool const split = !c->IsHalfEmpty(true) && !c->IsHalfEmpty(false);
        if (split != (c->GetPaneDivider() != nullptr))
            Fail(std::string("a container of a floating frame ") +
                 (split ? "splits without a divider" : "keeps a divider for one half"));
        for (bool first : {true, false}) {
            if (ZnPaneContainer const *k = c->GetChild(first)) {
                if (k->GetParentContainer() != c)
                    Fail("a container of a floating frame does not point back to its parent");
                Container(k, cm, false);
            }
        }
        if (ZnPaneDivider const *d = c->GetPaneDivider())
            AddTile(d);
    }
};

void CheckMiniFrames(ZnDockingManager &mgr, std::map<ZnDockablePane const *, int> &seen, std::string &err)
{
    auto fail = [&err](std::string const &s) {
        if (err.empty())
            err = s;
    };
    std::vector<ZnDockablePane *> registered;
    mgr.FillDockablePaneVec(registered);
    std::vector<ZnPaneFrameWnd *> frames;
    mgr.FillMiniFrameVec(frames);
    for (ZnPaneFrameWnd *f : frames) {
        if (f->GetDockingManager() != &mgr)
            return fail("a mini frame does not know its manager");
        HWND const h = f->GetSafeHwnd();
        std::vector<ZnDockablePane *> panes;
        f->GetPanes(panes);
        bool anyShown = false;
        for (ZnDockablePane *p : panes) {
            if (++seen[p] > 1)
                fail(Name(p) + " is in more than one place");
            if (p->GetParentMiniFrame() != f)
                fail(Name(p) + " does not know its mini frame");
            if (p->GetDefaultPaneDivider())
                fail(Name(p) + " floats and names a group");
            if (p->GetDockingManager() != &mgr)
                fail(Name(p) + " floats without knowing its manager");
            if (std::find(registered.begin(), registered.end(), p) == registered.end())
                fail(Name(p) + " floats without being registered");
            anyShown = anyShown || p->IsPaneVisible();
        }
        if (h) {
            bool const shows = (::GetWindowLongA(h, GWL_STYLE) & WS_VISIBLE) != 0;
            if (shows != anyShown)
                return fail(std::string("the mini frame of ") + (panes.empty() ? "no pane" : Name(panes.front())) +
                            (shows ? " shows without a shown pane" : " is hidden though a pane in it is shown"));
        }
        FrameWalker fw{mgr, f, h, {}, {}};
        CRect const client = f->GetFrameClientRect();
        if (auto const *multi = dynamic_cast<ZnMultiPaneFrameWnd const *>(f)) {
            ZnPaneContainerManager const &cm = multi->GetPaneContainerManager();
            fw.Container(cm.GetRootContainer(), &cm, true);
        } else if (panes.size() > 1) {
            fail("a single-pane mini frame holds " + std::to_string(panes.size()) + " panes");
        }
        for (ZnDockablePane *p : panes)
            fw.AddTile(p);
        if (!fw.err.empty())
            return fail(fw.err);
        if (anyShown)
            if (std::string const e = TileCheck(fw.tiles, client, "the client area of its mini frame"); !e.empty())
                return fail(e);
    }
    for (ZnDockablePane *p : registered)
        if (ZnPaneFrameWnd *f = p->GetParentMiniFrame())
            if (std::find(frames.begin(), frames.end(), f) == frames.end() || !f->ContainsPane(p))
                fail(Name(p) + " names a mini frame that does not hold it");
}

// ---- tab groups: a group holds two tabs or more, each a registered pane
// of no group and no frame whose window is the group's child and fills the
// group's tab area; exactly the active tab shows; the strip lists the tabs
// in the group's order and lies inside the group's client area; the caption
// is the active tab's text. The tabs are the group's content, not tiles of
// the site. A group that dissolved leaves no window behind.

CRect ScreenRectOf(HWND h, CRect r)
{
    ::MapWindowPoints(h, nullptr, reinterpret_cast<POINT *>(&r), 2);
    return r;
}

BOOL CALLBACK CollectTabbedPane(HWND h, LPARAM lParam)
{
    if (auto *g = dynamic_cast<ZnBaseTabbedPane *>(CWnd::FromHandlePermanent(h)))
        reinterpret_cast<std::vector<ZnBaseTabbedPane *> *>(lParam)->push_back(g);
    return TRUE;
}

BOOL CALLBACK CollectTopLevel(HWND h, LPARAM lParam)
{
    CollectTabbedPane(h, lParam);
    ::EnumChildWindows(h, CollectTabbedPane, lParam);
    return TRUE;
}

void CheckTabs(ZnDockingManager &mgr, std::vector<ZnDockablePane *> const &registered,
               std::map<ZnDockablePane const *, int> &seen, std::string &err)
{
    auto fail = [&err](std::string const &s) {
        if (err.empty())
            err = s;
    };
    auto isRegistered = [&](ZnDockablePane const *p) {
        return std::find(registered.begin(), registered.end(), p) != registered.end();
    };
    for (ZnDockablePane *p : registered) {
        if (ZnBaseTabbedPane const *g = p->GetParentTabbedPane()) {
            if (!isRegistered(g) || g->FindTab(p) < 0)
                fail(Name(p) + " names a tabbed pane that does not hold it");
            continue;
        }
        auto const *g = dynamic_cast<ZnBaseTabbedPane const *>(p);
        if (!g)
            continue;
        std::string const name = "the tab group of " + (g->GetActiveTab() ? Name(g->GetActiveTab()) : Name(g));
        if (g->GetTabsNum() < 2)
            return fail(name + " holds " + std::to_string(g->GetTabsNum()) + " tabs");
        CMFCTabCtrl const *strip = g->GetTabWnd();
        if (!strip || strip->GetTabsNum() != g->GetTabsNum() || strip->GetActiveTab() != g->GetActiveTabIndex())
            return fail(name + "'s strip does not list its tabs");
        HWND const gh = g->GetSafeHwnd();
        CRect client;
        if (gh) {
            ::GetClientRect(gh, &client);
            client = ScreenRectOf(gh, client);
            CRect sr;
            ::GetWindowRect(strip->GetSafeHwnd(), &sr);
            CRect in;
            if (!sr.IsRectEmpty() && (!::IntersectRect(&in, &sr, &client) || in != sr))
                fail(name + "'s strip at " + Str(sr) + " leaves its client area " + Str(client));
            if (g->GetActiveTab() && g->GetWindowText() != g->GetActiveTab()->GetWindowText())
                fail(name + " shows the caption '" + std::string(g->GetWindowText().GetStr()) + "'");
        }
        CRect const area = gh ? ScreenRectOf(gh, g->GetTabAreaRect()) : CRect();
        int shown = 0;
        for (int i = 0; i < g->GetTabsNum(); ++i) {
            ZnDockablePane const *t = g->GetTab(i);
            if (strip->GetTabWnd(i) != t)
                fail(name + "'s strip lists its tabs in another order");
            if (++seen[t] > 1)
                fail(Name(t) + " is in more than one place");
            if (t->GetParentTabbedPane() != g)
                fail(Name(t) + " does not know its tab group");
            if (!isRegistered(t))
                fail(Name(t) + " is a tab without being registered");
            if (t->GetDefaultPaneDivider() || t->IsFloating() || t->IsAutoHideMode())
                fail(Name(t) + " is a tab and is docked, floating or pinned as well");
            HWND const th = t->GetSafeHwnd();
            if (!th || !gh)
                continue;
            if (::GetParent(th) != gh)
                fail(Name(t) + " is a tab but its window is not the group's child");
            bool const vis = (::GetWindowLongA(th, GWL_STYLE) & WS_VISIBLE) != 0;
            shown += vis;
            if (vis != (i == g->GetActiveTabIndex()))
                fail(Name(t) + (vis ? " shows though another tab is active" : " is the active tab but hidden"));
            if (vis != t->IsPaneVisible())
                fail(Name(t) + " is a tab whose layout flag disagrees with its window");
            CRect r;
            ::GetWindowRect(th, &r);
            if (r != area)
                fail(Name(t) + " sits at " + Str(r) + ", not on its group's tab area " + Str(area));
        }
        if (gh && shown != 1)
            fail(name + " shows " + std::to_string(shown) + " tabs");
    }
    std::vector<ZnBaseTabbedPane *> windows;
    ::EnumThreadWindows(::GetCurrentThreadId(), CollectTopLevel, reinterpret_cast<LPARAM>(&windows));
    for (ZnBaseTabbedPane *g : windows)
        if ((g->GetDockingManager() == &mgr || !g->GetDockingManager()) && !isRegistered(g))
            fail("a tabbed pane window outlives its group");
}

} // namespace

std::string CheckDockLayout(ZnDockingManager &mgr)
{
    CWnd *siteWnd = mgr.GetDockSiteWnd();
    Walker w{mgr, siteWnd ? siteWnd->GetSafeHwnd() : nullptr, {}, {}, {}};
    for (ZnPaneDivider *g : mgr.GetDefaultDividers()) {
        if (!g->IsDefault())
            return Name(g) + " stands for a group but is not a default divider";
        ZnPaneContainerManager const *cm = g->GetPaneContainerManager();
        if (!cm || cm->IsEmpty())
            return Name(g) + " has no panes left";
        if (cm->GetDefaultPaneDivider() != g)
            return Name(g) + "'s container manager belongs to another divider";
        w.AddTile(g);
        w.Container(cm->GetRootContainer(), g, cm, true, 0);
    }
    CheckMiniFrames(mgr, w.seen, w.err);
    std::vector<ZnDockablePane *> registered;
    mgr.FillDockablePaneVec(registered);
    CheckTabs(mgr, registered, w.seen, w.err);
    for (ZnDockablePane *p : registered) {
        if (w.seen.count(p) || p->IsAutoHideMode())
            continue;
        if (p->GetDefaultPaneDivider())
            w.Fail(Name(p) + " names a group that does not hold it");
        if (p->GetSafeHwnd() && (::GetWindowLongA(p->GetSafeHwnd(), GWL_STYLE) & WS_VISIBLE))
            w.Fail(Name(p) + " shows without being docked");
    }
    // Hidden panes (a dock parent window's): out of every group, not shown.
    if (ZnDockParentWnd *dp = mgr.GetDockParentWnd())
        for (ZnDockablePane *p : dp->GetHiddenPanes()) {
            if (p->IsPaneVisible())
                w.Fail(Name(p) + " is hidden but the layout shows it");
            if (p->GetSafeHwnd() && (::GetWindowLongA(p->GetSafeHwnd(), GWL_STYLE) & WS_VISIBLE))
                w.Fail(Name(p) + " is hidden but its window shows");
        }
    for (POSITION pos = mgr.GetDockSiteList().GetHeadPosition(); pos;)
        w.AddTile(static_cast<ZnDockSite const *>(mgr.GetDockSiteList().GetNext(pos)));
    if (!w.err.empty())
        return w.err;
    if (std::string const e = CheckAutoHide(w, registered); !e.empty())
        return e;

    CRect const site = mgr.GetDockSiteRect();
    CRect client = mgr.GetClientAreaBounds();
    CWnd const *freeWnd = nullptr;
    if (ZnDockParentWnd *dp = mgr.GetDockParentWnd())
        freeWnd = dp->GetPFreeSpaceWnd();
    if (freeWnd && freeWnd->GetSafeHwnd() && w.site) {
        ::GetWindowRect(freeWnd->GetSafeHwnd(), &client);
        ::MapWindowPoints(nullptr, w.site, reinterpret_cast<POINT *>(&client), 2);
        if (client != mgr.GetClientAreaBounds() && !(client.IsRectEmpty() && mgr.GetClientAreaBounds().IsRectEmpty()))
            return "the free space sits at " + Str(client) + " but the layout put it at " +
                   Str(mgr.GetClientAreaBounds());
    }
    if (!client.IsRectEmpty())
        w.tiles.push_back({nullptr, client});

    long long sum = 0;
    for (size_t i = 0; i < w.tiles.size(); ++i) {
        CRect const &a = w.tiles[i].rect;
        CRect in;
        if (!::IntersectRect(&in, &a, &site) || in != a)
            return Name(w.tiles[i].wnd) + " at " + Str(a) + " leaves the dock site " + Str(site);
        sum += Area(a);
        for (size_t j = 0; j < i; ++j) {
            CRect o;
            if (::IntersectRect(&o, &a, &w.tiles[j].rect))
                return Name(w.tiles[i].wnd) + " overlaps " + Name(w.tiles[j].wnd) + " by " + std::to_string(o.Width()) +
                       "x" + std::to_string(o.Height()) + " px at " + Str(o);
        }
    }
    if (sum != Area(site))
        return "the tiles cover " + std::to_string(sum) + " of the site's " + std::to_string(Area(site)) +
               " px: a gap";
    return {};
}

DockCheckScope::DockCheckScope()
{
    ZnDockingManager::SetGestureHdls(Link(), Link(this, &DockCheckScope::After));
}

DockCheckScope::~DockCheckScope()
{
    ZnDockingManager::SetGestureHdls(Link(), Link());
}

__int64 DockCheckScope::After(void *pManager)
{
    ++m_nChecks;
    std::string const e = CheckDockLayout(*static_cast<ZnDockingManager *>(pManager));
    if (!e.empty() && m_sFirst.empty())
        m_sFirst = e;
    return 0;
}

} // namespace kstest
