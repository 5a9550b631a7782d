#include "mfc/CMFCTabCtrl.h"

#include <windows.h>

#include "mfc/AfxWin.h"

IMPLEMENT_DYNAMIC(CMFCTabCtrl, CMFCBaseTabCtrl)

bool CMFCTabCtrl::Create(Style style, RECT const &rect, CWnd *pParentWnd, unsigned int nID, Location location, bool)
{
    static char const *const cls = [] {
        WNDCLASSA wc{};
        HINSTANCE const inst = AfxGetInstanceHandle();
        if (!::GetClassInfoA(inst, "Afx:TabWnd", &wc)) {
            wc.style = CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW;
            wc.lpfnWndProc = &CWnd::StdWndProc;
            wc.hInstance = inst;
            wc.hCursor = ::LoadCursorA(nullptr, IDC_ARROW);
            wc.lpszClassName = "Afx:TabWnd";
            ::RegisterClassA(&wc);
        }
        return "Afx:TabWnd";
    }();
    m_style = style;
    SetLocation(location);
    return CWnd::CreateEx(0, cls, "", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, rect, pParentWnd, nID);
}
