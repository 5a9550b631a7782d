#pragma once
// The arrangement of a docked group or of a multi-pane frame as it goes into
// an archive: the container tree with each pane named by its control
// identifier, each split's direction and percentage, and each pane's
// visibility; for a group also its side, length, place among the groups and
// divider, for a frame its window rectangle.
//
// Reading checks everything a damaged record could get wrong (the format,
// counts, depth, sides, percentages, rectangles, a pane named twice) and
// marks the archive failed; a record is then never built. Building takes the
// panes by identifier from the caller and arranges them by the engine's own
// docking calls, so that whatever the engine does when a pane docks or
// floats (alignment, registration, captions) happens here too.
#include <functional>
#include <map>
#include <vector>

#include "frame/Kestrel5Api.h"
#include "mfc/CRect.h"

class CArchive;
class ZnDockablePane;
class ZnPaneContainer;

class KSAPI ZnPaneTreeRecord
{
public:
    struct Node
    {
        bool bPane = true;
        int nID = 0;
        bool bVisible = true;
        bool bSideBySide = false;
        double dPercent = 50.0;
        int nFirst = -1;
        int nSecond = -1;
    };

    // Group fields (zero for a frame).
    unsigned long m_dwAlignment = 0;
    unsigned long m_dwDividerStyle = 0;
    int m_nDividerWidth = 0;
    int m_nGroupLength = 0;
    int m_nOrdinal = 0;
    // Frame fields (empty for a group).
    CRect m_rectFrame;
    // Preorder; node 0 is the root.
    std::vector<Node> m_nodes;

    // The tree under pRoot; idOf names a pane (a placeholder by the pane it
    // keeps the place of) and answers false for a pane it cannot name.
    bool Capture(ZnPaneContainer const *pRoot, std::function<bool(ZnDockablePane *, int &, bool &)> const &idOf);
    // The usual naming: a pane by its control identifier and visibility, a
    // placeholder by the pinned-off pane it keeps the place of (visible).
    static bool NamePane(ZnDockablePane *pPane, int &nID, bool &bVisible);
    // The identifiers of the panes, first half first.
    std::vector<int> PaneIds() const;

    void Write(CArchive &ar, bool bGroup) const;
    // False (and the archive marked failed) for a damaged record.
    bool Read(CArchive &ar, bool bGroup);

    // Arranges the panes: first places the first pane of the tree, insert
    // puts a pane beside one already placed on a side of it, containerOf
    // answers the container that holds a placed pane (for its percentage).
    // False when a pane is missing or a step fails; what was placed stays.
    using PlaceFirst = std::function<bool(ZnDockablePane *)>;
    using Insert = std::function<bool(ZnDockablePane *, ZnDockablePane *, unsigned long)>;
    using ContainerOf = std::function<ZnPaneContainer *(ZnDockablePane *)>;
    bool Build(std::map<int, ZnDockablePane *> const &panes, PlaceFirst const &first, Insert const &insert,
               ContainerOf const &containerOf) const;

    // Limits of what a record may hold.
    static constexpr int kMaxNodes = 511;
    static constexpr int kMaxDepth = 32;

private:
    int CaptureNode(ZnPaneContainer const *c, bool bFirst,
                    std::function<bool(ZnDockablePane *, int &, bool &)> const &idOf, int depth);
    int CaptureContainer(ZnPaneContainer const *c, std::function<bool(ZnDockablePane *, int &, bool &)> const &idOf,
                         int depth);
    void WriteNode(CArchive &ar, int i) const;
    int ReadNode(CArchive &ar, int depth);
    int FirstLeaf(int i) const;
    bool Expand(int i, std::map<int, ZnDockablePane *> const &panes, Insert const &insert,
                ContainerOf const &containerOf) const;
};
