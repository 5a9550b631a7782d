#pragma once
// A floating mini frame: a top-level tool window owned by the dock site's
// top window, holding one pane that fills its client area. Its non-client
// area is its own: a border that resizes it, a small caption with the
// pane's text and a close button. The caption moves the frame (and docks it
// when released over a dock target, see ZnDockingManager::
// TrackMiniFrameDrag); a double-click sends the pane back to where it was
// docked; the close button closes the pane as the pane's own close button
// would.
//
// The docking manager owns its frames and lays them out with the rest: the
// frame shows while a pane in it is shown. A frame that lost its last pane
// hides and is told so by the registered message
// "MSG_ZNCHECKEMPTYMINIFRAME" (posted, since the pane may leave from inside
// the frame's own message handling); then it destroys itself, or only hides
// when its keep flag is set. A frame with a pane ignores the message.
//
// A manager whose site has no window (the engine's arithmetic) gets frames
// without windows: they keep the rectangle they were given, and an emptied
// one goes at the manager's next layout.
#include <vector>

#include "frame/Kestrel5Api.h"
#include "mfc/CRect.h"
#include "mfc/CWnd.h"
#include "text/SString.h"

class CArchive;
class ZnDockablePane;
class ZnDockingManager;
class ZnPaneTreeRecord;
class ZnPaneContainer;

class KSAPI ZnPaneFrameWnd : public CWnd
{
    DECLARE_DYNCREATE(ZnPaneFrameWnd)
public:
    ZnPaneFrameWnd();
    ~ZnPaneFrameWnd() override;

    // A frame at rectScreen (its window rectangle) for the panes of
    // pManager, registered with it. Without a site window no window is
    // made. False when the window cannot be made; the object is then the
    // caller's to delete.
    virtual bool Create(ZnDockingManager *pManager, CRect const &rectScreen);
    ZnDockingManager *GetDockingManager() const { return m_pDockManager; }

    // --- panes
    // Takes pPane in (its window becomes the frame's child); false when the
    // frame holds one already.
    virtual bool AddPane(ZnDockablePane *pPane);
    // Lets pPane go (its window stays where it is until the caller puts it
    // elsewhere); an emptied frame hides and checks itself later.
    virtual bool RemovePane(ZnDockablePane *pPane);
    virtual void GetPanes(std::vector<ZnDockablePane *> &panes) const;
    virtual int GetPaneCount() const { return m_pPane ? 1 : 0; }
    bool ContainsPane(ZnDockablePane const *pPane) const;
    // The first pane, or null.
    ZnDockablePane *GetPane() const;
    virtual bool HasVisiblePane() const;

    // --- geometry
    // The window rectangle (screen).
    CRect GetFrameRect() const;
    void SetFrameRect(CRect const &rectScreen);
    void MoveFrameTo(CPoint ptTopLeft);
    // The client area in the frame's client coordinates.
    CRect GetFrameClientRect() const;
    // The border that resizes the frame and the caption's height.
    static int GetBorderSize();
    static int GetCaptionHeight();
    // The smallest window size a frame keeps.
    virtual CSize GetMinFrameSize() const;

    // --- the manager's layout
    // Gives the panes their layout rectangles inside the client area.
    virtual void CalcLayout();
    // Moves the panes' windows there and shows or hides the frame.
    virtual void ApplyLayout();

    // --- emptiness
    void SetKeepIfEmpty(bool bKeep) { m_bKeepIfEmpty = bKeep; }
    bool IsKeepIfEmpty() const { return m_bKeepIfEmpty; }
    void PostCheckEmpty();
    // What the posted message does; also for frames without a window.
    // True when the frame destroyed itself.
    bool CheckEmpty();

    // --- archiving: the frame's window rectangle and its panes by control
    // identifier. Loading reads into a frame without a window; the manager
    // floats the panes again from that record (GetLoadedRecord).
    void Serialize(CArchive &ar) override;
    ZnPaneTreeRecord const *GetLoadedRecord() const { return m_pLoadedRecord; }

    // --- the caption
    virtual void OnPressCloseButton();
    virtual void OnCaptionDoubleClick();
    // The caption's close button in window coordinates.
    CRect GetCloseButtonRect() const;

protected:
    LRESULT WindowProc(unsigned int message, WPARAM wParam, LPARAM lParam) override;
    void OnDestroy() override;
    void PostNcDestroy() override;

    // Takes a pane's window in and lets it go.
    void AttachPane(ZnDockablePane *pPane);
    void DetachPane(ZnDockablePane *pPane);
    // Hides the panes' own captions while one pane is the frame's content
    // (the frame's caption stands for it), shows them when several are.
    virtual void UpdatePaneCaptions();
    void ApplyVisibility();
    void RecalcWithManager();
    // The text the caption shows.
    virtual SString GetCaptionText() const;
    // The root of the frame's container tree; null for a lone pane.
    virtual ZnPaneContainer const *GetTreeRoot() const { return nullptr; }

    ZnDockingManager *m_pDockManager;

private:
    static char const *RegisterDockingClass();
    LRESULT HitTest(CPoint ptScreen) const;
    void PaintNonClient();
    void TrackCloseButton();
    void TrackResize(unsigned int nHit, CPoint ptScreen);
    void OnCaptionPress(CPoint ptScreen);
    void RememberRect();

    ZnDockablePane *m_pPane;
    CRect m_rectFrame;
    bool m_bKeepIfEmpty;
    bool m_bLayoutShown;
    bool m_bAutoDelete;
    bool m_bClosePushed;
    ZnPaneTreeRecord *m_pLoadedRecord = nullptr;
};
