// Sends messages between named markers, for tools/server-trips-check, which
// runs this program with Wine's server trace on and counts the window-server
// requests each message costs. A marker is a global atom: adding one is a
// server request that carries its name into the trace.
//
// Marker text: "KSTRIPS <section> <messages> [request…]": the requests each
// message of the section may make, each exactly once per message.
#include "frame/KSData.h"
#include "frame/KSGlobal.h"
#include "window/MouseEvent.h"
#include "window/Window.h"

#include <cstdio>
#include <windows.h>

namespace {

class MovedWindow : public Window
{
public:
    MovedWindow() : Window(static_cast<CWnd *>(nullptr), 0, 2) {}
    long moves = 0;
    void MouseMove(MouseEvent const &) override { ++moves; }
};

WNDPROC g_prev = nullptr;
long g_rawMoves = 0;
LRESULT CALLBACK RawCounter(HWND h, UINT m, WPARAM w, LPARAM l)
{
    if (m == WM_MOUSEMOVE)
        ++g_rawMoves;
    return CallWindowProcA(g_prev, h, m, w, l);
}

int const kMessages = 16;

template <class Send> void Section(char const *marker, Send send)
{
    send(); // first-use work (a cursor loaded, a heap grown) is not per message
    GlobalAddAtomA(marker);
    for (int i = 0; i < kMessages; ++i)
        send();
    GlobalAddAtomA("KSTRIPS end");
}

} // namespace

int main()
{
    KSInit();
    int rc = 0;
    {
        MovedWindow routed;
        HWND raw = CreateWindowExA(0, GetPKSData()->m_aWndClassName.GetString(), "", WS_OVERLAPPEDWINDOW, 0, 0, 100,
                                   100, nullptr, nullptr, nullptr, nullptr);
        g_prev = reinterpret_cast<WNDPROC>(SetWindowLongPtrA(raw, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&RawCounter)));
        int x = 0;
        // The probe's own check: a bare sub-class costs no request at all.
        Section("KSTRIPS raw-mouse-move 16", [&] { SendMessageA(raw, WM_MOUSEMOVE, 0, MAKELPARAM(++x & 63, 3)); });
        // A routed move reads the Alt key's state and sets the cursor.
        Section("KSTRIPS routed-mouse-move 16 get_key_state set_cursor",
                [&] { SendMessageA(routed.GetHWND(), WM_MOUSEMOVE, 0, MAKELPARAM(++x & 63, 3)); });
        if (routed.moves != kMessages + 1 || g_rawMoves != kMessages + 1)
            rc = 1;
        DestroyWindow(raw);
    }
    KSExit();
    std::printf("router trips probe: %s\n", rc ? "messages lost" : "done");
    return rc;
}
