#include "frame/KSGlobal.h"
#include "frame/KSData.h"
#include "frame/WinMsgRouter.h"
#include "graphics/ImageList.h"
#include "mfc/CFrameWnd.h"
#include "mfc/CWnd.h"
#include "window/OleClipboard.h"

#include <windows.h>
#include <gdiplus.h>
#include <ole2.h>

namespace {

KSData *g_pKSData = nullptr;
WinMsgRouter *g_pRouter = nullptr;
ULONG_PTR g_nGdiplusToken = 0;
// OLE belongs to the thread that called KSInit: the one the windows, their
// drop targets and the OLE clipboard live on. Balanced once, in KSExit.
bool g_bOleStarted = false;

} // namespace

void KSInit()
{
    g_pKSData = new KSData;
    g_pRouter = new WinMsgRouter;
    Gdiplus::GdiplusStartupInput input; // version 1, no debug callback, thread and codecs not suppressed
    if (Gdiplus::GdiplusStartup(&g_nGdiplusToken, &input, nullptr) != Gdiplus::Ok)
        g_nGdiplusToken = 0;
    // A thread already in the multi-threaded apartment refuses; drag and
    // drop then fails by results, the rest of the library is unaffected.
    g_bOleStarted = SUCCEEDED(OleInitialize(nullptr));
}

void KSExit()
{
    OleClipboard::ImpExit();
    if (g_bOleStarted) {
        OleUninitialize();
        g_bOleStarted = false;
    }
    delete g_pKSData;
    g_pKSData = nullptr;
    delete g_pRouter;
    g_pRouter = nullptr;
    if (g_nGdiplusToken) {
        Gdiplus::GdiplusShutdown(g_nGdiplusToken);
        g_nGdiplusToken = 0;
    }
}

KSData *GetPKSData()
{
    return g_pKSData;
}

WinMsgRouter *GlGetPWinMsgRouter()
{
    return g_pRouter;
}

void SetKSMainFrame(CFrameWnd *pFrame, HINSTANCE hInst)
{
    if (!g_pKSData)
        return;
    g_pKSData->m_pMainWnd = pFrame;
    ImageList::aResHandle = hInst;
    g_pKSData->CreateBrushBitmaps();
}

void SetKSMainWnd(CWnd *pWnd)
{
    if (g_pKSData)
        g_pKSData->m_pMainWnd = pWnd;
}

void KSSetCWndNextFocus(CWnd *pWnd)
{
    if (g_pRouter)
        g_pRouter->m_hNextFocus = pWnd ? pWnd->m_hWnd : nullptr;
}

void GlAddOnKeyDownHdl(Link const &link)
{
    if (g_pRouter)
        g_pRouter->m_aKeyDownChain.Add(link, false);
}

void GlAddOnKeyUpHdl(Link const &link)
{
    if (g_pRouter)
        g_pRouter->m_aKeyUpChain.Add(link, false);
}

void GlRemoveOnKeyDownHdl(Link const &link)
{
    if (g_pRouter)
        g_pRouter->m_aKeyDownChain.Remove(link);
}

void GlRemoveOnKeyUpHdl(Link const &link)
{
    if (g_pRouter)
        g_pRouter->m_aKeyUpChain.Remove(link);
}

void GlPushKeyLinks()
{
    if (!g_pRouter)
        return;
    g_pRouter->m_aKeyUpStack.push_back(g_pRouter->m_aKeyUpChain);
    g_pRouter->m_aKeyDownStack.push_back(g_pRouter->m_aKeyDownChain);
    g_pRouter->m_aKeyUpChain.Clear();
    g_pRouter->m_aKeyDownChain.Clear();
}

void GlPopKeyLinks()
{
    if (!g_pRouter || g_pRouter->m_aKeyDownStack.empty())
        return;
    g_pRouter->m_aKeyDownChain = g_pRouter->m_aKeyDownStack.back();
    g_pRouter->m_aKeyDownStack.pop_back();
    if (!g_pRouter->m_aKeyUpStack.empty()) {
        g_pRouter->m_aKeyUpChain = g_pRouter->m_aKeyUpStack.back();
        g_pRouter->m_aKeyUpStack.pop_back();
    }
}

void GlPushWinProcHook(KSWinProcHook pHook)
{
    if (!g_pRouter || g_pRouter->m_nWinProcHooks >= WinMsgRouter::MAX_WINPROC_HOOKS)
        return;
    g_pRouter->m_aWinProcHooks[g_pRouter->m_nWinProcHooks++] = pHook;
}

void GlPullWinProcHook(KSWinProcHook pHook)
{
    if (!g_pRouter)
        return;
    int n = g_pRouter->m_nWinProcHooks;
    for (int i = 0; i < n; ++i) {
        if (g_pRouter->m_aWinProcHooks[i] == pHook) {
            for (int k = i; k + 1 < n; ++k)
                g_pRouter->m_aWinProcHooks[k] = g_pRouter->m_aWinProcHooks[k + 1];
            g_pRouter->m_aWinProcHooks[n - 1] = nullptr;
            --g_pRouter->m_nWinProcHooks;
            return;
        }
    }
}
