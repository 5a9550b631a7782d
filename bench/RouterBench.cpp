// The cost of the library's message road and of its handler chains.
#include "bench/BenchHarness.h"
#include "frame/HdlChain.h"
#include "frame/KSData.h"
#include "frame/KSGlobal.h"
#include "window/MouseEvent.h"
#include "window/Window.h"

#include <functional>
#include <vector>
#include <windows.h>

namespace {

class CountingWindow : public Window
{
public:
    CountingWindow() : Window(static_cast<CWnd *>(nullptr), 0, 2) {}
    long moves = 0;
    void MouseMove(MouseEvent const &) override { ++moves; }
};

long g_rawMoves = 0;
WNDPROC g_rawPrev = nullptr;
LRESULT CALLBACK RawCounter(HWND h, UINT m, WPARAM w, LPARAM l)
{
    if (m == WM_MOUSEMOVE)
        ++g_rawMoves;
    return CallWindowProcA(g_rawPrev, h, m, w, l);
}

// The same sub-class doing the platform work the routing of a mouse move
// must do on every move: the input time, the Alt key's state, and the
// window's cursor set. What the library adds is the difference to this.
HCURSOR g_arrow = nullptr;
unsigned g_lastTime = 0;
LRESULT CALLBACK FairCounter(HWND h, UINT m, WPARAM w, LPARAM l)
{
    if (m == WM_MOUSEMOVE) {
        ++g_rawMoves;
        g_lastTime = static_cast<unsigned>(GetMessageTime());
        if (GetKeyState(VK_MENU) < 0)
            ++g_rawMoves;
        SetCursor(g_arrow);
    }
    return CallWindowProcA(g_rawPrev, h, m, w, l);
}

class Handler : public LinkHdl
{
public:
    __int64 sum = 0;
    __int64 OnCall(void *p)
    {
        sum += reinterpret_cast<__int64>(p);
        return 1;
    }
};

} // namespace

int main()
{
    KSInit();
    int const rounds = 9;
    int const messages = 20000;
    {
        CountingWindow routed;
        HWND raw = CreateWindowExA(0, GetPKSData()->m_aWndClassName.GetString(), "", WS_OVERLAPPEDWINDOW, 0, 0, 100,
                                   100, nullptr, nullptr, nullptr, nullptr);
        g_rawPrev = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrA(raw, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&RawCounter)));
        bench::Compare("SendMessage WM_MOUSEMOVE x20000", "raw sub-class", rounds,
            [&] { for (int i = 0; i < messages; ++i) SendMessageA(raw, WM_MOUSEMOVE, 0, MAKELPARAM(i & 255, 3)); },
            [&] { for (int i = 0; i < messages; ++i) SendMessageA(routed.GetHWND(), WM_MOUSEMOVE, 0, MAKELPARAM(i & 255, 3)); });
        g_arrow = LoadCursorA(nullptr, reinterpret_cast<char const *>(IDC_ARROW));
        SetWindowLongPtrA(raw, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&FairCounter));
        bench::Compare("SendMessage WM_MOUSEMOVE x20000", "fair sub-class", rounds,
            [&] { for (int i = 0; i < messages; ++i) SendMessageA(raw, WM_MOUSEMOVE, 0, MAKELPARAM(i & 255, 3)); },
            [&] { for (int i = 0; i < messages; ++i) SendMessageA(routed.GetHWND(), WM_MOUSEMOVE, 0, MAKELPARAM(i & 255, 3)); });
        if (routed.moves == 0 || g_rawMoves == 0)
            return 1;
        DestroyWindow(raw);
    }
    {
        std::vector<Handler> handlers(100);
        HdlChain chain;
        std::vector<std::function<__int64(void *)>> functions;
        for (auto &h : handlers) {
            chain.Add(Link(&h, &Handler::OnCall), false);
            functions.push_back([&h](void *p) { return h.OnCall(p); });
        }
        long sink = 0;
        bench::Compare("call 100 handlers x10000", "vector<function>", rounds,
            [&] { for (int i = 0; i < 10000; ++i) for (auto &f : functions) sink += long(f(&sink)); },
            [&] { for (int i = 0; i < 10000; ++i) sink += chain.Call(&sink); });
        bench::Keep(sink);
    }
    KSExit();
    return 0;
}
