// A window with a child that paints. With --once it closes after painting.
#include <Kestrel5.h>

#include <cstdio>
#include <cstring>
#include <windows.h>

static bool s_bOnce = false;

class Picture : public Window
{
public:
    explicit Picture(Window *pParent) : Window(pParent, 0, 0) {}
    void Paint(CRectangle const &) override
    {
        DrawEllipseHQ(FRectangle(10, 10, 110, 110), TransparentColor(Color(0x0080FFul), 80));
        DrawTextA(Point(120, 50), SString("Hello, Kestrel5"));
        if (s_bOnce)
            PostMessageA(GetParent()->GetHWND(), WM_CLOSE, 0, 0);
    }
};

int main(int argc, char **argv)
{
    s_bOnce = argc > 1 && std::strcmp(argv[1], "--once") == 0;
    KSInit();
    {
        WorkWindow top((Window *)nullptr, 0);
        SString title("First Kestrel5 program");
        top.SetText(title);
        top.SetPosSizePixel(Point(100, 100), Size(320, 200));
        Picture picture(&top);
        picture.SetPosSizePixel(Point(10, 10), Size(280, 130));
        top.Show();
        picture.Show();
        MSG msg;
        while (IsWindow(top.GetHWND()) && GetMessageA(&msg, nullptr, 0, 0) > 0)
            DispatchMessageA(&msg);
        std::printf("%s: closed\n", title.GetStr());
    }
    KSExit();
}
