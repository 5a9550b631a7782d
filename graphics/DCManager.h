#pragma once
#include "frame/Kestrel5Api.h"

#include <windef.h>

class OutputDevice;
class Table;
struct _RTL_CRITICAL_SECTION;

// Hands out window device contexts. Outside painting at most one window DC is
// held at any time: a device that asks for one takes it from the previous
// holder, which obtains it again on its next drawing operation. The router
// and the timer procedure give it back after every message and tick, so no
// window DC outlives the message that needed it. All operations may be
// called from any thread; the cache is shared by every window.
class KSAPI DCManager
{
public:
    DCManager();
    ~DCManager();
    DCManager(DCManager const &) = delete;
    DCManager &operator=(DCManager const &) = delete;

    // Gives the window device its paint DC when one is registered, else the
    // window's own DC, taken from the previous holder. False without a DC.
    bool GetDC(OutputDevice *pWindow);
    // Releases the cached DC and clears its holder's HDC.
    void DeleteDC();
    // Registers the DC a window paints on (a null DC removes the entry);
    // answers the DC registered before.
    HDC ChangePaintDC(OutputDevice *pWindow, HDC hDC);
    // Parks the cached DC so that no other device's request releases it,
    // until UnlockDC of the same DC.
    void LockDC(HDC hDC);
    void UnlockDC(HDC hDC);

    HDC GetCachedDC() const { return m_hDC; }
    OutputDevice *GetCachedHolder() const { return m_pHolder; }
    // A device that goes away must not stay a holder: its DCs are released.
    void ForgetDevice(OutputDevice *pDevice);

private:
    void ImpRelease();

    _RTL_CRITICAL_SECTION *m_pLock;
    HDC m_hDC;
    HWND m_hWnd;
    OutputDevice *m_pHolder;
    HDC m_hParkedDC;
    HWND m_hParkedWnd;
    OutputDevice *m_pParkedHolder;
    Table *m_pPaintDCs;
};
