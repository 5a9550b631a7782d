#pragma once
// The library's global functions: start and end of its life, the main
// window, focus hand-over, the global key hooks and the raw window-procedure
// hooks.
#include "frame/Kestrel5Api.h"

#include <windef.h>

class KSData;
class WinMsgRouter;
class CWnd;
class CFrameWnd;
class Link;

// Raw window-procedure hook: returns non-zero to consume the message.
using KSWinProcHook = int (*)(HWND, unsigned int, unsigned __int64, __int64);

KSAPI void KSInit();
KSAPI void KSExit();
KSAPI KSData *GetPKSData();
// The main frame; hInst becomes the module image resources are loaded from
// (ImageList::aResHandle), and the pattern brushes get their bitmaps.
KSAPI void SetKSMainFrame(CFrameWnd *pFrame, HINSTANCE hInst);
// Only the main window: pattern brushes stay solid.
KSAPI void SetKSMainWnd(CWnd *pWnd);
KSAPI void KSSetCWndNextFocus(CWnd *pWnd);
KSAPI WinMsgRouter *GlGetPWinMsgRouter();

KSAPI void GlAddOnKeyDownHdl(Link const &link);
KSAPI void GlAddOnKeyUpHdl(Link const &link);
KSAPI void GlRemoveOnKeyDownHdl(Link const &link);
KSAPI void GlRemoveOnKeyUpHdl(Link const &link);
KSAPI void GlPushKeyLinks();
KSAPI void GlPopKeyLinks();

KSAPI void GlPushWinProcHook(KSWinProcHook pHook);
KSAPI void GlPullWinProcHook(KSWinProcHook pHook);
