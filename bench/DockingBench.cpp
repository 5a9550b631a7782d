// The docking engine's layouts against the raw platform work they end in.
//   re-layout: the dock site resized, all docked panes laid out again,
//     against one DeferWindowPos batch that moves the same windows to the
//     same rectangles (and the same resize of the site);
//   docking: 50 panes made and docked one by one, against 50 plain child
//     windows made and placed at the rectangles the panes got.
#include <memory>
#include <vector>

#include "bench/BenchHarness.h"
#include "docking/DockParentWindow.h"
#include "docking/ZnDockParentWnd.h"
#include "docking/ZnDockablePane.h"
#include "docking/ZnDockingManager.h"
#include "docking/ZnPaneDivider.h"
#include "frame/KSGlobal.h"
#include "mfc/CObList.h"
#include "window/WorkWindow.h"

namespace {

struct Scene
{
    DockParentWindow host;
    Window canvas;
    std::vector<std::unique_ptr<Window>> panes;

    Scene(Window *top, int n) : host(top, 0), canvas(&host, 0, 0)
    {
        host.SetPosSizePixel(Point(0, 0), Size(1800, 1400));
        host.Show();
        canvas.Show();
        host.GetPDockParentWnd()->SetPFreeSpaceWnd(canvas.GetPCWnd());
        ZnDockingManager *m = Mgr();
        for (int i = 0; i < n; ++i) {
            panes.push_back(std::make_unique<Window>(&host, 0, 0x400000));
            if (i % 8 == 0)
                m->DockIntoParent(P(i), 0x1000u << ((i / 8) % 4), 60, true);
            else
                m->DockIntoPane(P(i), P(i - 1), 0x1000u << (i % 4), 0);
        }
    }
    ZnDockingManager *Mgr() { return host.GetPDockParentWnd()->GetPDockingManager(); }
    ZnDockablePane *P(int i) { return static_cast<ZnDockablePane *>(panes[size_t(i)]->GetPCWnd()); }

    // Every window the layout places, with where it is now.
    std::vector<std::pair<HWND, RECT>> Placements()
    {
        std::vector<std::pair<HWND, RECT>> out;
        HWND const site = host.GetHWND();
        for (HWND h = ::GetWindow(site, GW_CHILD); h; h = ::GetWindow(h, GW_HWNDNEXT)) {
            RECT r;
            ::GetWindowRect(h, &r);
            ::MapWindowPoints(nullptr, site, reinterpret_cast<POINT *>(&r), 2);
            out.push_back({h, r});
        }
        return out;
    }
};

void Relayout(Window *top, int n)
{
    Scene s(top, n);
    Size const a(1800, 1400), b(1500, 1100);
    s.host.SetPosSizePixel(Point(0, 0), b);
    auto atB = s.Placements();
    s.host.SetPosSizePixel(Point(0, 0), a);
    auto atA = s.Placements();
    // The same windows the layout moves: those whose rectangle differs.
    for (size_t i = atA.size(); i-- > 0;)
        if (::EqualRect(&atA[i].second, &atB[i].second)) {
            atA.erase(atA.begin() + long(i));
            atB.erase(atB.begin() + long(i));
        }
    // Each call takes the site to the other size, whoever moved it last.
    auto isAtA = [&s, &a] {
        RECT r;
        ::GetClientRect(s.host.GetHWND(), &r);
        return r.right == a.Width();
    };
    auto raw = [&] {
        bool const toB = isAtA();
        auto const &to = toB ? atB : atA;
        Size const sz = toB ? b : a;
        // The site's own resize without the engine: only the raw batch places.
        ZnDockingManager::m_bDisableRecalcLayout = 1;
        ::SetWindowPos(s.host.GetHWND(), nullptr, 0, 0, sz.Width(), sz.Height(), SWP_NOZORDER | SWP_NOACTIVATE);
        HDWP h = ::BeginDeferWindowPos(int(to.size()));
        for (auto const &[w, r] : to)
            h = ::DeferWindowPos(h, w, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                                 SWP_NOZORDER | SWP_NOACTIVATE);
        ::EndDeferWindowPos(h);
        ZnDockingManager::m_bDisableRecalcLayout = 0;
    };
    auto docked = [&] { s.host.SetPosSizePixel(Point(0, 0), isAtA() ? b : a); };
    char name[64];
    std::snprintf(name, sizeof name, "re-layout on a site resize, %d panes", n);
    bench::Result const r = bench::Compare(name, "DeferWindowPos", 15, raw, docked);
    std::printf("%-48s %.1f us per layout, %.2f us per pane\n", "", r.candidateUs, r.candidateUs / n);
}

void DockFifty(Window *top)
{
    std::vector<RECT> where;
    {
        Scene s(top, 50);
        for (auto const &[w, r] : s.Placements())
            where.push_back(r);
    }
    auto raw = [&] {
        Window host(top, 0, 0);
        host.SetPosSizePixel(Point(0, 0), Size(1800, 1400));
        std::vector<std::unique_ptr<Window>> wins;
        for (RECT const &r : where) {
            wins.push_back(std::make_unique<Window>(&host, 0, 0));
            ::SetWindowPos(wins.back()->GetHWND(), nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                           SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);
        }
    };
    auto docked = [&] { Scene s(top, 50); };
    bench::Compare("docking 50 panes one by one (made and docked)", "plain windows", 7, raw, docked);
}

} // namespace

int main()
{
    KSInit();
    {
        WorkWindow top(static_cast<CWnd *>(nullptr), 0);
        top.SetPosSizePixel(Point(0, 0), Size(1900, 1500));
        for (int n : {10, 50, 200})
            Relayout(&top, n);
        DockFifty(&top);
    }
    KSExit();
    return 0;
}
