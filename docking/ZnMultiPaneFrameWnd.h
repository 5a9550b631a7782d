#pragma once
// A floating mini frame holding several panes, split by a container tree of
// its own as a docked group is (ZnPaneContainerManager, with inner dividers
// that users drag). It is made when a pane is docked onto a floating pane;
// the panes show their own captions while there are two or more, so that
// each can be dragged out, closed or sent back on its own; with one left
// the frame's caption stands for it again.
#include "docking/ZnPaneContainerManager.h"
#include "docking/ZnPaneFrameWnd.h"
#include "frame/Kestrel5Api.h"

class KSAPI ZnMultiPaneFrameWnd : public ZnPaneFrameWnd
{
    DECLARE_DYNCREATE(ZnMultiPaneFrameWnd)
public:
    ZnMultiPaneFrameWnd();
    ~ZnMultiPaneFrameWnd() override;

    bool Create(ZnDockingManager *pManager, CRect const &rectScreen) override;

    // The first pane of an empty frame, or a pane beside all the others
    // (on the right).
    bool AddPane(ZnDockablePane *pPane) override;
    // pPane beside pTarget (a pane of this frame) on side dwAlign of it.
    bool InsertPane(ZnDockablePane *pPane, ZnDockablePane *pTarget, unsigned long dwAlign);
    bool RemovePane(ZnDockablePane *pPane) override;
    void GetPanes(std::vector<ZnDockablePane *> &panes) const override;
    int GetPaneCount() const override;
    bool HasVisiblePane() const override;
    CSize GetMinFrameSize() const override;

    ZnPaneContainerManager &GetPaneContainerManager() { return m_containerManager; }
    ZnPaneContainerManager const &GetPaneContainerManager() const { return m_containerManager; }

    void CalcLayout() override;
    void ApplyLayout() override;

protected:
    SString GetCaptionText() const override;
    ZnPaneContainer const *GetTreeRoot() const override { return m_containerManager.GetRootContainer(); }

private:
    // Inner dividers report their drags to the frame's manager, which lays
    // the frame out again.
    void AdoptDividers();

    ZnPaneContainerManager m_containerManager;
};
