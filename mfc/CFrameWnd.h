#pragma once
#include "frame/Kestrel5Api.h"
#include "mfc/CWnd.h"

// A top-level frame window. Frames live on the heap and delete themselves
// when their window is destroyed.
class KSAPI CFrameWnd : public CWnd
{
    DECLARE_DYNAMIC(CFrameWnd)
public:
    CFrameWnd();
    ~CFrameWnd() override;

    static RECT const rectDefault;

    // A null class name takes the framework's frame class.
    virtual bool Create(char const *lpszClassName, char const *lpszWindowName,
                        unsigned long dwStyle = 0x00CF0000 /* WS_OVERLAPPEDWINDOW */,
                        RECT const &rect = rectDefault, CWnd *pParentWnd = nullptr, char const *lpszMenuName = nullptr,
                        unsigned long dwExStyle = 0);

protected:
    void PostNcDestroy() override;
};
