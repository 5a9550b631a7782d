#pragma once
// The library between KSInit and KSExit with a top-level window for the
// windows, controls and input under test: the message pumps they wait with
// and the pixel reads they judge by; their leak loops are LeakLoop.h's.
#include "frame/KSGlobal.h"
#include "tests/support/LeakLoop.h"
#include "window/WorkWindow.h"

#include <functional>
#include <vector>
#include <gtest/gtest.h>
#include <windows.h>

#include <ostream>

#include "mfc/CRect.h"

// Failed rectangle comparisons print the corners, not the bytes.
inline void PrintTo(CRect const &r, std::ostream *os)
{
    *os << "(" << r.left << ", " << r.top << ", " << r.right << ", " << r.bottom << ")";
}

namespace kstest {

// Dispatches until done() holds (true) or timeoutMs have passed (false);
// inspect sees each message before it is dispatched.
inline bool PumpUntil(std::function<bool()> const &done, DWORD timeoutMs,
                      std::function<void(MSG const &)> const &inspect = nullptr)
{
    for (DWORD const start = GetTickCount();; MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT)) {
        for (MSG m; PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE); DispatchMessageA(&m)) {
            if (inspect)
                inspect(m);
            TranslateMessage(&m);
        }
        if (done())
            return true;
        if (GetTickCount() - start > timeoutMs)
            return false;
    }
}

inline void PumpFor(DWORD ms) { PumpUntil([] { return false; }, ms); }

// Pumps until nothing has arrived for 60 ms (at most 3 s): input sent with
// SendInput reaches the queue some time after the call.
inline void Pump()
{
    DWORD last = GetTickCount();
    PumpUntil(
        [&last] {
            if (GetQueueStatus(QS_ALLINPUT))
                last = GetTickCount();
            return GetTickCount() - last >= 60;
        },
        3000, [&last](MSG const &) { last = GetTickCount(); });
}

// Real input: events sent through the platform's input queue, then pumped
// until they have arrived.
inline void Send(std::vector<INPUT> in)
{
    SendInput(UINT(in.size()), in.data(), sizeof(INPUT));
    Pump();
}

inline INPUT Key(WORD vk, bool up = false)
{
    INPUT i{};
    i.type = INPUT_KEYBOARD;
    i.ki.wVk = vk;
    i.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    return i;
}

inline INPUT Mouse(DWORD flags, int dx = 0, int dy = 0)
{
    INPUT i{};
    i.type = INPUT_MOUSE;
    i.mi.dwFlags = flags;
    i.mi.dx = dx;
    i.mi.dy = dy;
    return i;
}

// A move of the mouse to a screen pixel: the smallest normalised value that
// lands on it.
inline INPUT MoveTo(POINT to)
{
    int const w = GetSystemMetrics(SM_CXSCREEN), h = GetSystemMetrics(SM_CYSCREEN);
    return Mouse(MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE, int((to.x * 65536LL + w - 1) / w),
                 int((to.y * 65536LL + h - 1) / h));
}

// Each character as the key that types it on the current layout.
inline void Type(char const *text)
{
    std::vector<INPUT> in;
    for (char const *p = text; *p; ++p) {
        WORD const vk = WORD(VkKeyScanA(*p) & 0xFF);
        in.push_back(Key(vk));
        in.push_back(Key(vk, true));
    }
    Send(in);
}

inline COLORREF PixelOf(HWND h, int x, int y)
{
    HDC dc = GetDC(h);
    COLORREF const c = GetPixel(dc, x, y);
    ReleaseDC(h, dc);
    return c;
}

// Repaints h at once, then calls visit(x, y, colour) for each pixel of its
// client area that lies margin pixels or more inside the edges.
template <class Visit> void ScanClient(HWND h, Visit visit, int margin = 0)
{
    RedrawWindow(h, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    RECT r;
    GetClientRect(h, &r);
    HDC dc = GetDC(h);
    for (int y = margin; y < r.bottom - margin; ++y)
        for (int x = margin; x < r.right - margin; ++x)
            visit(x, y, GetPixel(dc, x, y));
    ReleaseDC(h, dc);
}

class WindowFixture : public testing::Test
{
protected:
    void SetUp() override { KSInit(); }
    void TearDown() override
    {
        delete top;
        KSExit();
    }
    // A hidden top-level window of the given library style.
    WorkWindow *MakeTop(int style = 0) { return top = new WorkWindow(static_cast<CWnd *>(nullptr), style); }
    // Places, shows and brings top to the front, then pumps until quiet: real
    // input reaches it from then on.
    void ShowTop(Point at, Size size)
    {
        top->SetPosSizePixel(at, size);
        top->Show();
        SetForegroundWindow(top->GetHWND());
        Pump();
    }
    WorkWindow *top = nullptr;
};

} // namespace kstest
