#pragma once
#include "frame/Kestrel5Api.h"
#include "mfc/CWnd.h"

// What a frame's docking layer does for it: lays the docked panes out in the
// frame's client rectangle (leaving in rClient what remains for the view),
// and enables docking on sides. The docking manager of the frame attaches
// itself; the frame never owns it.
class KSAPI CFrameDockingHost
{
public:
    virtual ~CFrameDockingHost() = default;
    virtual void LayoutDockedPanes(RECT &rClient) = 0;
    virtual bool EnableFrameDocking(unsigned long dwDockStyle) = 0;
    virtual void OnFrameDestroyed() = 0;
};

// A top-level frame window. Frames live on the heap and delete themselves
// when their window is destroyed.
class KSAPI CFrameWnd : public CWnd
{
    DECLARE_DYNAMIC(CFrameWnd)
public:
    CFrameWnd();
    ~CFrameWnd() override;

    static RECT const rectDefault;

    // The docking layer lays out first, then the view (the child with
    // identifier AFX_IDW_PANE_FIRST) takes what remains.
    virtual void RecalcLayout(bool bNotify = true);
    // Docking on the given sides (CBRS_ALIGN_… bits), through the attached
    // docking layer; false without one.
    bool EnableDocking(unsigned long dwDockStyle);
    void SetDockingHost(CFrameDockingHost *pHost) { m_pDockingHost = pHost; }
    CFrameDockingHost *GetDockingHost() const { return m_pDockingHost; }

    // A null class name takes the framework's frame class.
    virtual bool Create(char const *lpszClassName, char const *lpszWindowName,
                        unsigned long dwStyle = 0x00CF0000 /* WS_OVERLAPPEDWINDOW */,
                        RECT const &rect = rectDefault, CWnd *pParentWnd = nullptr, char const *lpszMenuName = nullptr,
                        unsigned long dwExStyle = 0);

protected:
    void PostNcDestroy() override;
    void OnSize(unsigned int nType, int cx, int cy) override;
    void OnDestroy() override;

private:
    CFrameDockingHost *m_pDockingHost = nullptr;
};
