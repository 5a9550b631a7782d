#pragma once
// Real mouse input for the docking tests: presses, drags and clicks sent
// through SendInput, so that they reach the drag loops as a user's would.
#include <windows.h>

#include <functional>
#include <thread>
#include <vector>

#include "docking/ZnDragFrameImpl.h"
#include "mfc/CRect.h"
#include "tests/support/WindowFixture.h"

namespace kstest {

// The drag outline while it shows, else an empty rectangle.
inline CRect DragOutline()
{
    HWND h = FindWindowA(ZnDragFrameImpl::GetWindowClassName(), nullptr);
    CRect r;
    if (h && IsWindowVisible(h))
        GetWindowRect(h, &r);
    return r;
}

// Presses at from and moves through path; once the last move has arrived,
// probe runs (on the sending thread), then Escape is pressed if asked and
// the button released. The rest is sent from another thread once the press
// has taken the mouse, so that it reaches the drag loop.
inline void DragMouse(POINT from, std::vector<POINT> const &path, bool escape = false,
                      std::function<void()> const &probe = {})
{
    // A press soon after the last one at the same place would be the second
    // half of a double-click.
    Sleep(GetDoubleClickTime() + 20);
    SetCursorPos(from.x, from.y);
    Pump();
    DWORD const thread = GetCurrentThreadId();
    std::thread rest([=] {
        GUITHREADINFO gti{};
        gti.cbSize = sizeof gti;
        for (int i = 0; i < 200 && !(GetGUIThreadInfo(thread, &gti) && gti.hwndCapture); ++i)
            Sleep(10);
        for (POINT p : path) {
            INPUT in = MoveTo(p);
            SendInput(1, &in, sizeof in);
            Sleep(30);
        }
        POINT const last = path.back();
        for (int i = 0; i < 100; ++i) {
            POINT now;
            GetCursorPos(&now);
            if (now.x == last.x && now.y == last.y)
                break;
            Sleep(10);
        }
        Sleep(100);
        if (probe)
            probe();
        std::vector<INPUT> in;
        if (escape) {
            in.push_back(Key(VK_ESCAPE));
            in.push_back(Key(VK_ESCAPE, true));
        }
        in.push_back(Mouse(MOUSEEVENTF_LEFTUP));
        SendInput(UINT(in.size()), in.data(), sizeof(INPUT));
    });
    Send({Mouse(MOUSEEVENTF_LEFTDOWN)});
    rest.join();
    Pump();
}

inline void ClickAt(POINT at, bool twice = false)
{
    Sleep(GetDoubleClickTime() + 20);
    SetCursorPos(at.x, at.y);
    Pump();
    if (twice)
        Send({Mouse(MOUSEEVENTF_LEFTDOWN), Mouse(MOUSEEVENTF_LEFTUP), Mouse(MOUSEEVENTF_LEFTDOWN),
              Mouse(MOUSEEVENTF_LEFTUP)});
    else
        Send({Mouse(MOUSEEVENTF_LEFTDOWN), Mouse(MOUSEEVENTF_LEFTUP)});
}

} // namespace kstest
