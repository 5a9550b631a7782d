// The docking manager in the settings store: its archive (the groups, the
// mini frames, the pinned-off panes, by control identifier) as one binary
// value beside the panes' own states.
//
// Loading is two passes. The first reads the whole archive into records and
// checks them against the manager's panes (every identifier names one of its
// panes, no pane twice, every pinned pane in a group, nothing left over);
// only then does the second take the panes it names out of their places and
// build the layout again, inside one gesture. A damaged archive therefore
// fails before anything moves.
#include <algorithm>
#include <map>
#include <memory>
#include <set>
#include <string>

#include "docking/DockGeometry.h"
#include "docking/ZN_AUTOHIDE_DOCKSITE_SAVE_INFO.h"
#include "docking/ZnDockablePane.h"
#include "docking/ZnDockingGesture.h"
#include "docking/ZnDockingManager.h"
#include "docking/ZnDummyDockablePane.h"
#include "docking/ZnMultiPaneFrameWnd.h"
#include "docking/ZnPaneContainer.h"
#include "docking/ZnPaneContainerManager.h"
#include "docking/ZnPaneDivider.h"
#include "docking/ZnPaneFrameWnd.h"
#include "docking/ZnPaneTreeRecord.h"
#include "mfc/CArchive.h"
#include "mfc/CMemFile.h"
#include "mfc/CSettingsStore.h"
#include "mfc/CWinApp.h"

namespace {

constexpr char kSection[] = "DockingManagers";
constexpr char kValue[] = "DockingPaneAndPaneDividers";
// More entries than this in one list are damage.
constexpr int kMaxEntries = 4096;
// Step 2's entry kinds.
constexpr int kDividerEntry = 0;
constexpr int kPaneEntry = 1;

CStringA ManagerKey(char const *lpszProfileName, unsigned int uiID)
{
    CStringA const path = AFXGetRegPath(kSection, lpszProfileName);
    if (path.IsEmpty())
        return path;
    return CStringA((std::string(path.GetString()) + "DockingManager-" + std::to_string(int(uiID))).c_str());
}

bool IsPlaceholder(ZnDockablePane const *p)
{
    return dynamic_cast<ZnDummyDockablePane const *>(p) != nullptr;
}

// Registered, but in no group, no frame and on no bar: closed or hidden.
bool IsDockedNowhere(ZnDockablePane const *p)
{
    return !p->GetDefaultPaneDivider() && !p->IsFloating() && !p->IsAutoHideMode();
}

// What the first pass of a load read.
struct LoadedArchive
{
    std::vector<int> loose;
    std::vector<std::unique_ptr<ZnPaneDivider>> groups;
    std::vector<std::unique_ptr<ZnPaneFrameWnd>> frames;
    std::vector<ZN_AUTOHIDE_DOCKSITE_SAVE_INFO> pinned;
};

} // namespace

void ZnDockingManager::Serialize(CArchive &ar)
{
    bool const ok = ar.IsStoring() ? StoreArchive(ar) : LoadArchive(ar);
    if (!ok)
        ar.SetFailed();
}

bool ZnDockingManager::StoreArchive(CArchive &ar)
{
    std::vector<ZnDockablePane *> loose, tabbed;
    std::vector<ZnPaneDivider *> groups;
    // Step 2 walks the pane list from its tail.
    std::vector<CObject *> entries;
    for (POSITION pos = m_lstControlBars.GetTailPosition(); pos;) {
        CObject *o = m_lstControlBars.GetPrev(pos);
        if (auto *p = dynamic_cast<ZnDockablePane *>(o); p && !IsPlaceholder(p)) {
            if (!p->GetSafeHwnd())
                return false;
            if (IsDockedNowhere(p))
                entries.push_back(p);
            else if (p->IsTabbedPane())
                tabbed.push_back(p);
        } else if (auto *d = dynamic_cast<ZnPaneDivider *>(o);
                   d && std::find(m_lstGroups.begin(), m_lstGroups.end(), d) != m_lstGroups.end()) {
            entries.push_back(d);
        }
    }
    // A group the list does not hold is still part of the layout.
    for (ZnPaneDivider *d : m_lstGroups)
        if (std::find(entries.begin(), entries.end(), d) == entries.end())
            entries.push_back(d);

    // 1: the tabs of the tabbed panes not written in step 2.
    ar << int(tabbed.size());
    for (ZnDockablePane *p : tabbed) {
        ar << p->GetDlgCtrlID();
        if (!p->SerializeTabs(ar))
            return false;
    }
    // 2: panes docked nowhere and the groups.
    ar << int(entries.size());
    for (CObject *o : entries) {
        if (auto *d = dynamic_cast<ZnPaneDivider *>(o)) {
            ar << kDividerEntry;
            d->Serialize(ar);
        } else {
            ar << kPaneEntry << static_cast<ZnDockablePane *>(o)->GetDlgCtrlID();
        }
        if (ar.IsFailed())
            return false;
    }
    // 3: the mini frames that hold a pane.
    std::vector<ZnPaneFrameWnd *> frames;
    FillMiniFrameVec(frames);
    frames.erase(std::remove_if(frames.begin(), frames.end(), [](ZnPaneFrameWnd *f) { return f->GetPaneCount() == 0; }),
                 frames.end());
    ar << int(frames.size());
    for (ZnPaneFrameWnd *f : frames)
        ar.WriteObject(f);
    // 4: the pinned-off panes.
    std::vector<ZnDockablePane *> pinned;
    FillAutoHidePaneVec(pinned);
    ar << int(pinned.size());
    for (ZnDockablePane *p : pinned) {
        ZN_AUTOHIDE_DOCKSITE_SAVE_INFO info;
        if (!info.StoreInfo(p))
            return false;
        info.Write(ar);
    }
    // 5: the hidden tabbed MDI bars.
    ar << int(m_lstHiddenMDITabbedBars.size());
    for (void *h : m_lstHiddenMDITabbedBars) {
        auto *p = dynamic_cast<ZnDockablePane *>(CWnd::FromHandlePermanent(static_cast<HWND>(h)));
        ar << (p ? p->GetDlgCtrlID() : -1);
    }
    return !ar.IsFailed();
}

bool ZnDockingManager::LoadArchive(CArchive &ar)
{
    // --- first pass: read and check
    std::vector<ZnDockablePane *> all;
    FillDockablePaneVec(all);
    std::map<int, ZnDockablePane *> byId;
    for (ZnDockablePane *p : all)
        if (p->GetSafeHwnd() && !IsPlaceholder(p))
            byId.emplace(p->GetDlgCtrlID(), p);
    auto count = [&ar](int limit) {
        int n = -1;
        ar >> n;
        if (ar.IsFailed() || n < 0 || n > limit) {
            ar.SetFailed();
            return -1;
        }
        return n;
    };

    int const nTabbed = count(int(byId.size()));
    for (int i = 0; i < nTabbed; ++i) {
        int id = 0;
        ar >> id;
        auto it = byId.find(id);
        if (ar.IsFailed() || it == byId.end() || !it->second->IsTabbedPane() || !it->second->SerializeTabs(ar))
            return false;
    }
    if (nTabbed < 0)
        return false;

    LoadedArchive in;
    int const nEntries = count(kMaxEntries);
    for (int i = 0; i < nEntries && !ar.IsFailed(); ++i) {
        int kind = -1;
        ar >> kind;
        if (kind == kPaneEntry) {
            int id = 0;
            ar >> id;
            in.loose.push_back(id);
        } else if (kind == kDividerEntry) {
            auto d = std::make_unique<ZnPaneDivider>();
            d->Serialize(ar);
            if (!d->GetLoadedRecord())
                return false;
            in.groups.push_back(std::move(d));
        } else {
            return false;
        }
    }
    int const nFrames = count(kMaxEntries);
    for (int i = 0; i < nFrames && !ar.IsFailed(); ++i) {
        std::unique_ptr<CObject> o(ar.ReadObject(RUNTIME_CLASS(ZnPaneFrameWnd)));
        auto *f = dynamic_cast<ZnPaneFrameWnd *>(o.get());
        if (!f || !f->GetLoadedRecord())
            return false;
        o.release();
        in.frames.emplace_back(f);
    }
    int const nPinned = count(kMaxEntries);
    for (int i = 0; i < nPinned && !ar.IsFailed(); ++i) {
        in.pinned.emplace_back();
        if (!in.pinned.back().Read(ar))
            return false;
    }
    int const nHidden = count(kMaxEntries);
    for (int i = 0; i < nHidden && !ar.IsFailed(); ++i) {
        int id = 0;
        ar >> id;
    }
    if (ar.IsFailed() || ar.GetBytesLeft() != 0)
        return false;

    // Every pane named once, and named panes only.
    std::set<int> named, inGroups;
    auto name = [&](int id) { return byId.count(id) && named.insert(id).second; };
    for (int id : in.loose)
        if (!name(id))
            return false;
    for (auto const &d : in.groups)
        for (int id : d->GetLoadedRecord()->PaneIds()) {
            if (!name(id))
                return false;
            inGroups.insert(id);
        }
    for (auto const &f : in.frames)
        for (int id : f->GetLoadedRecord()->PaneIds())
            if (!name(id) || !byId[id]->CanFloat())
                return false;
    // A pinned pane whose group went while it was pinned is in no tree: it
    // docks at its side again before it is pinned.
    std::set<int> pins;
    for (ZN_AUTOHIDE_DOCKSITE_SAVE_INFO const &info : in.pinned)
        if (!pins.insert(info.m_nBarID).second || (!inGroups.count(info.m_nBarID) && !name(info.m_nBarID)) ||
            !(byId[info.m_nBarID]->GetControlBarStyle() & AFX_CBRS_AUTOHIDE))
            return false;

    // --- second pass: the named panes leave their places and take the new ones
    ZnDockingGesture gesture(this);
    ZnDockingManager::RestoringScope restoring;
    std::vector<ZnDockablePane *> pinnedNow;
    FillAutoHidePaneVec(pinnedNow);
    for (ZnDockablePane *p : pinnedNow)
        if (p->GetSafeHwnd() && named.count(p->GetDlgCtrlID())) {
            // One at a time: the pin of a whole group would take the others along.
            bool const allOfGroup = p->IsAutohideAllEnabled();
            p->EnableAutohideAll(false);
            if (p->IsSlidOut())
                p->Slide(false, false);
            p->UnSetAutoHideMode(nullptr);
            p->EnableAutohideAll(allOfGroup);
        }
    for (int id : named) {
        ZnDockablePane *p = byId[id];
        if (p->GetDefaultPaneDivider())
            p->RemoveFromDefaultPaneDivider();
        else if (p->IsFloating())
            p->RemoveFromMiniframe(m_pParentWnd, DM_UNKNOWN);
        if (p->IsPaneVisible() || (p->GetSafeHwnd() && (p->GetStyle() & WS_VISIBLE)))
            p->ShowPane(false, false, false);
    }

    bool ok = true;
    auto hideInvisible = [&byId](ZnPaneTreeRecord const &r) {
        for (ZnPaneTreeRecord::Node const &n : r.m_nodes)
            if (n.bPane && !n.bVisible)
                byId[n.nID]->ShowPane(false, false, false);
    };
    std::vector<std::pair<int, ZnPaneDivider *>> built;
    for (auto const &d : in.groups) {
        ZnPaneTreeRecord const &r = *d->GetLoadedRecord();
        bool const done = r.Build(
            byId, [&](ZnDockablePane *p) { return DockIntoParent(p, r.m_dwAlignment, r.m_nGroupLength, true); },
            [&](ZnDockablePane *p, ZnDockablePane *target, unsigned long align) {
                return DockIntoPane(p, target, align, 0);
            },
            [](ZnDockablePane *p) -> ZnPaneContainer * {
                int first = 0;
                ZnPaneDivider *g = p->GetDefaultPaneDivider();
                return g ? g->FindPaneContainer(p, first) : nullptr;
            });
        ZnPaneDivider *g = byId[r.PaneIds().front()]->GetDefaultPaneDivider();
        if (g) {
            g->SetGroupLength(r.m_nGroupLength);
            built.emplace_back(r.m_nOrdinal, g);
        }
        hideInvisible(r);
        ok = ok && done;
    }
    // The groups lie in their saved order, outermost first; groups of panes
    // the archive does not name keep theirs, inside.
    std::stable_sort(built.begin(), built.end(), [](auto const &a, auto const &b) { return a.first < b.first; });
    std::vector<ZnPaneDivider *> order;
    for (auto const &b : built)
        if (std::find(order.begin(), order.end(), b.second) == order.end())
            order.push_back(b.second);
    for (ZnPaneDivider *d : m_lstGroups)
        if (std::find(order.begin(), order.end(), d) == order.end())
            order.push_back(d);
    if (order.size() == m_lstGroups.size())
        m_lstGroups = order;

    for (auto const &f : in.frames) {
        ZnPaneTreeRecord const &r = *f->GetLoadedRecord();
        bool const done = r.Build(
            byId, [&](ZnDockablePane *p) { return p->FloatPane(r.m_rectFrame, DM_UNKNOWN, true); },
            [&](ZnDockablePane *p, ZnDockablePane *target, unsigned long align) {
                return DockIntoFloatingPane(p, target, align, 0);
            },
            [](ZnDockablePane *p) -> ZnPaneContainer * {
                int first = 0;
                auto *multi = dynamic_cast<ZnMultiPaneFrameWnd *>(p->GetParentMiniFrame());
                return multi ? multi->GetPaneContainerManager().FindPaneContainer(p, first) : nullptr;
            });
        // Made where the record says already; a frame moved to it again
        // would grow to the minimum of the panes it has now, which a frame
        // made smaller before they came in does not have.
        ZnPaneFrameWnd *live = byId[r.PaneIds().front()]->GetParentMiniFrame();
        if (live && live->GetFrameRect() != r.m_rectFrame)
            live->SetFrameRect(r.m_rectFrame);
        hideInvisible(r);
        ok = ok && done;
    }

    for (ZN_AUTOHIDE_DOCKSITE_SAVE_INFO const &info : in.pinned) {
        ZnDockablePane *p = byId[info.m_nBarID];
        bool const allOfGroup = p->IsAutohideAllEnabled();
        p->EnableAutohideAll(false);
        if (!p->GetDefaultPaneDivider())
            DockIntoParent(p, info.m_dwBarAlignment, info.m_nGroupLength, true);
        bool const pinnedOff =
            p->GetDefaultPaneDivider() && p->SetAutoHideMode(true, info.m_dwBarAlignment, nullptr, false);
        p->EnableAutohideAll(allOfGroup);
        if (pinnedOff) {
            int const size = DockGeometry::Extent(info.m_rectBar, DockGeometry::IsHorzAxis(info.m_dwBarAlignment));
            if (size > 0)
                p->SetAutoHideSize(size);
            if (!info.m_bIsVisible)
                p->ShowPane(false, false, false);
        }
        ok = ok && pinnedOff;
    }
    RecalcLayout(true);
    OnLayoutChange();
    return ok;
}

bool ZnDockingManager::SaveState(char const *lpszProfileName, unsigned int uiID)
{
    CStringA const key = ManagerKey(lpszProfileName, uiID);
    if (key.IsEmpty())
        return false;
    bool ok = true;
    std::vector<ZnDockablePane *> panes;
    FillDockablePaneVec(panes);
    for (ZnDockablePane *p : panes)
        if (!IsPlaceholder(p) && p->GetSafeHwnd())
            ok = p->SaveState(lpszProfileName, -1, uiID) && ok;
    if (!ok)
        return false;
    CMemFile file(1024);
    {
        CArchive ar(&file, CArchive::store, 4096);
        m_bSavingState = 1;
        Serialize(ar);
        m_bSavingState = 0;
        ar.Flush();
        if (ar.IsFailed())
            return false;
    }
    CSettingsStore store(false, false);
    return store.CreateKey(key) && store.Write(kValue, file.GetBuffer(), unsigned(file.GetLength()));
}

bool ZnDockingManager::LoadState(char const *lpszProfileName, unsigned int uiID)
{
    CStringA const key = ManagerKey(lpszProfileName, uiID);
    CSettingsStore store(false, true);
    std::vector<unsigned char> bytes;
    if (key.IsEmpty() || !store.Open(key) || !store.Read(kValue, bytes) || bytes.empty())
        return false;
    CMemFile file(bytes.data(), unsigned(bytes.size()));
    CArchive ar(&file, CArchive::load, 4096);
    Serialize(ar);
    return !ar.IsFailed();
}
