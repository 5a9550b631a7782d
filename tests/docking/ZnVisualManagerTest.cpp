// ks-test: dpi=120,144
// The docking painter: its metrics follow the screen's resolution (this
// program also runs in prefixes of 120 and 144 dots per inch), its drawings
// are told apart by their pixels on an off-screen device, its button layout
// holds over a sweep of caption sizes, and it lives from first use to KSExit.
#include "docking/ZnPaneDivider.h"
#include "docking/ZnVisualManager.h"
#include "frame/KSData.h"
#include "frame/KSGlobal.h"
#include "graphics/VirtualDevice.h"
#include "tests/support/LeakLoop.h"

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <gtest/gtest.h>
#include <string>
#include <thread>
#include <vector>
#include <windows.h>

namespace {

using VM = ZnVisualManager;
unsigned const FOUR[] = {VM::CaptionHitClose, VM::CaptionHitMenu, VM::CaptionHitPin, VM::CaptionHitMaximize};

// The resolution the prefix was made with (tools/wine-run passes it on).
int PrefixDpi()
{
    char v[16] = {};
    DWORD n = GetEnvironmentVariableA("KS_WINE_DPI", v, sizeof v);
    return n > 0 && n < sizeof v ? std::atoi(v) : 96;
}

// The device's pixels, copied in one blit into memory of our own: reading
// them one by one through the platform would make the sweeps slow.
struct Pixels
{
    int w, h;
    std::vector<COLORREF> px;
    Pixels(OutputDevice &dev, int width, int height) : w(width), h(height), px(size_t(width * height))
    {
        BITMAPINFO bi{};
        bi.bmiHeader = {sizeof(BITMAPINFOHEADER), w, -h, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
        void *bits = nullptr;
        HBITMAP dib = CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
        HDC mem = CreateCompatibleDC(nullptr);
        HGDIOBJ old = SelectObject(mem, dib);
        BitBlt(mem, 0, 0, w, h, dev.GethDC(), 0, 0, SRCCOPY);
        GdiFlush();
        auto const *p = static_cast<DWORD const *>(bits);
        for (size_t i = 0; i < px.size(); ++i) // 0x00RRGGBB in the DIB, 0x00BBGGRR as a COLORREF
            px[i] = RGB((p[i] >> 16) & 0xFF, (p[i] >> 8) & 0xFF, p[i] & 0xFF);
        SelectObject(mem, old);
        DeleteDC(mem);
        DeleteObject(dib);
    }
    COLORREF At(int x, int y) const { return px[size_t(y * w + x)]; }
    // The pixels of r, row by row.
    std::vector<COLORREF> In(CRectangle const &r) const
    {
        std::vector<COLORREF> v;
        for (int y = r.Top(); y <= r.Bottom(); ++y)
            for (int x = r.Left(); x <= r.Right(); ++x)
                v.push_back(At(x, y));
        return v;
    }
    // Bounds (EMPTY when none) and count of the pixels for which pass holds.
    template <class Pass> CRectangle Where(Pass pass, int *pCount = nullptr) const
    {
        CRectangle r;
        int n = 0;
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                if (pass(x, y, At(x, y)) && ++n)
                    r.Union(CRectangle(x, y, x, y));
        if (pCount)
            *pCount = n;
        return r;
    }
};

class ZnVisualManagerTest : public testing::Test
{
protected:
    static constexpr int W = 360, H = 96;
    static constexpr COLORREF WHITE = RGB(255, 255, 255);
    // A backdrop no painting uses, where white could be part of a drawing.
    static constexpr COLORREF KEY = RGB(255, 0, 255);

    void SetUp() override
    {
        KSInit();
        vm = VM::GetPVisualManager();
        dev = new VirtualDevice();
        ASSERT_TRUE(dev->SetOutputSize(Size(W, H), true));
    }
    void TearDown() override
    {
        delete dev;
        KSExit();
    }
    void Clear(COLORREF c = WHITE) { dev->Erase(Color(c), CRectangle(0, 0, W - 1, H - 1)); }
    Pixels Snap() { return Pixels(*dev, W, H); }
    CRectangle Caption(int left, int top, int width) const
    {
        return CRectangle(Point(left, top), Size(width, vm->GetCaptionHeight()));
    }

    VM *vm = nullptr;
    VirtualDevice *dev = nullptr;
};

// Tells how many pixels of v have the colour c.
int Count(std::vector<COLORREF> const &v, COLORREF c)
{
    int n = 0;
    for (COLORREF p : v)
        n += p == c;
    return n;
}

} // namespace

TEST(ZnVisualManagerMetrics, FollowTheScreensVerticalResolution)
{
    // Design values at 96 dots per inch: caption, button, border, divider.
    int const base[] = {20, 14, 1, 6};
    auto metrics = [] {
        VM *p = VM::GetPVisualManager();
        return std::vector<int>{p->GetCaptionHeight(), p->GetCaptionButtonSize(), p->GetPaneBorderWidth(),
                                ZnPaneDivider::GetDefaultWidth()};
    };
    ASSERT_EQ(nullptr, GetPKSData());
    EXPECT_EQ(std::vector<int>(std::begin(base), std::end(base)), metrics()) << "before KSInit: 96 dpi";

    KSInit();
    int const dpi = PrefixDpi();
    ASSERT_EQ(dpi, GetPKSData()->m_nLogPixelsY) << "the prefix does not have the resolution it was made for";
    std::vector<int> scaled;
    for (int b : base)
        scaled.push_back(MulDiv(b, dpi, 96));
    EXPECT_EQ(scaled, metrics()) << dpi << " dpi";
    KSExit();
    EXPECT_EQ(nullptr, VM::GetPVisualManagerIfAny()) << "the one made before KSInit goes with KSExit too";
}

TEST(ZnVisualManagerLife, OneObjectFromFirstUseUntilKSExit)
{
    KSInit();
    EXPECT_EQ(nullptr, VM::GetPVisualManagerIfAny()) << "made on first use, not by KSInit";
    VM *first = VM::GetPVisualManager();
    ASSERT_NE(nullptr, first);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(first, VM::GetPVisualManager());
    EXPECT_EQ(first, VM::GetPVisualManagerIfAny());
    KSExit();
    EXPECT_EQ(nullptr, VM::GetPVisualManagerIfAny());

    KSInit();
    EXPECT_EQ(nullptr, VM::GetPVisualManagerIfAny()) << "KSExit left the old one behind";
    VM *second = VM::GetPVisualManager();
    ASSERT_NE(nullptr, second);
    EXPECT_EQ(second, VM::GetPVisualManager());

    // An application's painter replaces the library's and is deleted by
    // KSExit like it.
    struct Counted : VM
    {
        int *pGone;
        explicit Counted(int *p) : pGone(p) {}
        ~Counted() override { ++*pGone; }
    };
    int gone = 0;
    auto *mine = new Counted(&gone);
    VM::SetPVisualManager(mine);
    EXPECT_EQ(mine, VM::GetPVisualManager());
    VM::SetPVisualManager(mine);
    EXPECT_EQ(0, gone) << "installing the same painter again must not delete it";
    KSExit();
    EXPECT_EQ(1, gone);
    EXPECT_EQ(nullptr, VM::GetPVisualManagerIfAny());
}

TEST(ZnVisualManagerLayout, ButtonsStayInOrderInsideTheCaptionWithoutOverlap)
{
    VM *vm = VM::GetPVisualManager();
    int const edge = vm->GetCaptionButtonSize();
    for (int height : {1, edge - 3, edge, vm->GetCaptionHeight(), 3 * edge})
        for (unsigned mask = 0; mask < 16; ++mask) {
            unsigned codes[4];
            int visible = 0;
            for (int i = 0; i < 4; ++i) {
                codes[i] = mask & (1u << i) ? FOUR[i] : 0u;
                visible += codes[i] != 0;
            }
            bool fitted = false;
            for (int width = 0; width <= 200; ++width) {
                CRectangle const cap(Point(-7, 5), Size(width, height));
                CRectangle r[4];
                bool const all = vm->LayoutCaptionButtons(cap, codes, 4, r);
                SCOPED_TRACE(testing::Message() << "width " << width << ", height " << height << ", mask " << mask);
                int placed = 0;
                CRectangle const *last = nullptr;
                bool gap = false;
                for (int i = 0; i < 4; ++i) {
                    if (!codes[i]) {
                        EXPECT_TRUE(r[i].IsEmpty()) << "a hidden button takes no room";
                        continue;
                    }
                    if (r[i].IsEmpty()) {
                        gap = true;
                        continue;
                    }
                    EXPECT_FALSE(gap) << "button " << i << " placed after one that did not fit";
                    ++placed;
                    EXPECT_TRUE(cap.IsInside(r[i])) << r[i].GetStr().GetStr();
                    int const e = std::min(edge, height);
                    EXPECT_EQ(Size(e, e), r[i].GetSize());
                    EXPECT_LE(std::abs((r[i].Top() - cap.Top()) - (cap.Bottom() - r[i].Bottom())), 1)
                        << "centred vertically";
                    if (last) {
                        EXPECT_LT(r[i].Right(), last->Left()) << "right to left, apart";
                    }
                    last = &r[i];
                }
                EXPECT_EQ(all, placed == visible);
                EXPECT_FALSE(fitted && !all) << "fitted in a narrower caption";
                fitted = fitted || all;
            }
            EXPECT_TRUE(fitted) << "never fitted: height " << height << ", mask " << mask;
        }
    EXPECT_FALSE(vm->LayoutCaptionButtons(CRectangle(0, 0, 100, 19), FOUR, 4, nullptr));
    EXPECT_TRUE(vm->LayoutCaptionButtons(CRectangle(0, 0, 100, 19), FOUR, 0, nullptr));
}

TEST_F(ZnVisualManagerTest, ActiveAndInactiveCaptionsDiffer)
{
    CRectangle const cap = Caption(4, 4, 200);
    COLORREF back[2];
    for (bool active : {false, true}) {
        Clear();
        vm->DrawPaneCaption(*dev, cap, SString("Output"), active);
        Pixels const p = Snap();
        back[active] = p.At(cap.Right(), cap.Bottom()); // the margin right of the last button
        std::vector<COLORREF> const in = p.In(cap);
        EXPECT_GT(Count(in, back[active]) * 2, int(in.size())) << "the caption is filled";
        EXPECT_LT(Count(in, back[active]), int(in.size())) << "the text shows";
    }
    EXPECT_NE(back[0], back[1]);
}

TEST_F(ZnVisualManagerTest, CaptionTextStaysLeftOfTheButtonsAtEveryWidth)
{
    SString const text("Properties of the selected element");
    unsigned const closeOnly[] = {VM::CaptionHitClose, 0, 0, 0};
    int const top = 8;
    for (unsigned const *codes : {FOUR, closeOnly})
        for (bool active : {true, false})
            for (int width = 1; width <= W - 8; width += 9) {
                SCOPED_TRACE(testing::Message() << "width " << width << (active ? " active" : " inactive"));
                CRectangle const cap = Caption(4, top, width);
                Clear();
                vm->DrawPaneCaption(*dev, cap, text, active, codes, 4);
                Pixels const p = Snap();
                COLORREF const back = p.At(cap.Right(), cap.Top());
                CRectangle buttons[4];
                vm->LayoutCaptionButtons(cap, codes, 4, buttons);
                int limit = cap.Right() + 1;
                for (CRectangle const &b : buttons)
                    if (!b.IsEmpty())
                        limit = std::min(limit, b.Left());
                int n = 0;
                CRectangle const ink = p.Where([&](int, int, COLORREF c) { return c != back && c != WHITE; }, &n);
                CRectangle const outside =
                    p.Where([&](int x, int y, COLORREF c) { return c != WHITE && !cap.IsInside(Point(x, y)); });
                EXPECT_TRUE(outside.IsEmpty()) << "drawn outside the caption: " << outside.GetStr().GetStr();
                if (n) {
                    EXPECT_LT(ink.Right(), limit) << "text under a button";
                    EXPECT_GE(ink.Left(), cap.Left());
                    EXPECT_TRUE(cap.IsInside(ink)) << "the font does not fit the caption";
                }
                // Room for a few letters must show some.
                if (vm->GetCaptionTextRect(cap, codes, 4).GetWidth() >= 2 * vm->GetCaptionHeight()) {
                    EXPECT_GT(n, 0);
                }
            }

    // Hidden buttons leave their room to the text.
    auto inkRight = [&](unsigned const *codes) {
        Clear();
        CRectangle const cap = Caption(0, top, 220);
        vm->DrawPaneCaption(*dev, cap, text, true, codes, 4);
        Pixels const p = Snap();
        COLORREF const back = p.At(cap.Right(), cap.Top());
        return p.Where([&](int, int, COLORREF c) { return c != back && c != WHITE; }).Right();
    };
    CRectangle four[4];
    vm->LayoutCaptionButtons(Caption(0, top, 220), FOUR, 4, four);
    EXPECT_GT(inkRight(closeOnly), four[3].Left());
    EXPECT_LT(inkRight(FOUR), four[3].Left());
}

TEST_F(ZnVisualManagerTest, ButtonStatesAndGlyphsLookDifferent)
{
    int const e = vm->GetCaptionButtonSize();
    CRectangle const b(Point(10, 10), Size(e, e));
    VM::ButtonState const states[] = {VM::ButtonNormal, VM::ButtonHot, VM::ButtonPressed, VM::ButtonDisabled};
    for (bool active : {true, false}) {
        std::vector<std::vector<COLORREF>> glyphs;
        for (unsigned code : FOUR) {
            SCOPED_TRACE(testing::Message() << "hit code " << code << (active ? " active" : " inactive"));
            std::vector<std::vector<COLORREF>> look;
            for (VM::ButtonState s : states) {
                Clear();
                vm->DrawCaptionButton(*dev, b, code, s, active);
                look.push_back(Snap().In(b));
            }
            for (size_t i = 0; i < look.size(); ++i)
                for (size_t j = i + 1; j < look.size(); ++j)
                    EXPECT_NE(look[i], look[j]) << "states " << i << " and " << j;
            // Normal and disabled sit on the caption's colour; hot and pressed
            // fill the button.
            COLORREF const back = look[0][0];
            int const half = int(look[0].size()) / 2;
            EXPECT_GT(Count(look[VM::ButtonNormal], back), half);
            EXPECT_GT(Count(look[VM::ButtonDisabled], back), half);
            EXPECT_LT(Count(look[VM::ButtonHot], back), half);
            EXPECT_LT(Count(look[VM::ButtonPressed], back), half);
            glyphs.push_back(look[0]);
        }
        for (size_t i = 0; i < glyphs.size(); ++i)
            for (size_t j = i + 1; j < glyphs.size(); ++j)
                EXPECT_NE(glyphs[i], glyphs[j]) << "glyphs of " << FOUR[i] << " and " << FOUR[j];
    }
}

TEST_F(ZnVisualManagerTest, DividerHasItsFaceAndEdgesAlongItsLength)
{
    COLORREF const face = GetSysColor(COLOR_BTNFACE);
    int const w = ZnPaneDivider::GetDefaultWidth();
    for (bool horizontal : {true, false})
        for (bool isDefault : {true, false}) {
            SCOPED_TRACE(testing::Message() << (horizontal ? "horizontal" : "vertical")
                                            << (isDefault ? " default" : " inner"));
            CRectangle const d = horizontal ? CRectangle(Point(20, 30), Size(120, w))
                                            : CRectangle(Point(60, 4), Size(w, 80));
            Clear(KEY);
            vm->DrawDivider(*dev, d, horizontal, isDefault);
            Pixels const p = Snap();
            EXPECT_EQ(d, p.Where([](int, int, COLORREF c) { return c != KEY; })) << "exactly the divider";
            Point const mid = d.Center();
            EXPECT_EQ(face, p.At(mid.X(), mid.Y()));
            // Along its length the divider ends in an edge on the far side
            // (and on the near side too when it is a default divider); across
            // it, its ends show the face.
            Point const nearEnd = horizontal ? Point(mid.X(), d.Top()) : Point(d.Left(), mid.Y());
            Point const farEnd = horizontal ? Point(mid.X(), d.Bottom()) : Point(d.Right(), mid.Y());
            Point const shortEnd = horizontal ? Point(d.Left(), mid.Y()) : Point(mid.X(), d.Top());
            EXPECT_NE(face, p.At(farEnd.X(), farEnd.Y()));
            EXPECT_EQ(isDefault, face != p.At(nearEnd.X(), nearEnd.Y()));
            EXPECT_EQ(face, p.At(shortEnd.X(), shortEnd.Y()));
        }
}

TEST_F(ZnVisualManagerTest, TrackerDrawnTwiceLeavesNoTrace)
{
    for (int i = 0; i < 6; ++i) {
        // Something to draw over, different each time.
        Clear();
        vm->DrawPaneCaption(*dev, Caption(0, 0, W - 20 * i), SString("Tracker"), i % 2 == 0);
        Pixels const before = Snap();
        CRectangle const t(Point(3 + 11 * i, 2 + 5 * i), Size(40 + 30 * i, 4 + 3 * i));
        vm->DrawDividerTracker(*dev, t);
        int changed = 0;
        CRectangle const where = Snap().Where(
            [&](int x, int y, COLORREF c) { return c != before.At(x, y); }, &changed);
        EXPECT_TRUE(t.IsInside(where)) << where.GetStr().GetStr();
        EXPECT_GE(changed * 3, t.GetWidth() * t.GetHeight()) << "a half-tone covers about half";
        vm->DrawDividerTracker(*dev, t);
        EXPECT_EQ(before.px, Snap().px);
    }
}

TEST_F(ZnVisualManagerTest, BorderIsAFrameOfTheBorderWidth)
{
    int const b = vm->GetPaneBorderWidth();
    for (int size : {3, 2 * b + 1, 30}) {
        CRectangle const r(Point(5, 7), Size(size * 2, size));
        Clear(KEY);
        vm->DrawPaneBorder(*dev, r);
        Pixels const p = Snap();
        CRectangle inner(r);
        inner.Inflate(-2 * b, -2 * b); // b off each side
        bool const hollow = !inner.IsEmpty() && inner.GetWidth() > 0 && inner.GetHeight() > 0;
        for (int y = 0; y < H; ++y)
            for (int x = 0; x < W; ++x) {
                bool const frame = r.IsInside(Point(x, y)) && !(hollow && inner.IsInside(Point(x, y)));
                ASSERT_EQ(frame, p.At(x, y) != KEY) << x << ", " << y << " size " << size;
            }
    }
}

TEST_F(ZnVisualManagerTest, OperationsNotDrawnSaySo)
{
    char path[MAX_PATH] = "";
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string title(path);
    title = title.substr(title.find_last_of("\\/") + 1);
    title = title.substr(0, title.rfind('.'));

    // Closes our process's message boxes from another thread, counting them
    // and keeping what the last one said.
    std::atomic<bool> stop{false};
    std::atomic<int> boxes{0};
    std::string said;
    std::thread watcher([&] {
        for (; !stop; Sleep(10)) {
            HWND box = FindWindowA("#32770", title.c_str());
            DWORD pid = 0;
            if (!box || (GetWindowThreadProcessId(box, &pid), pid != GetCurrentProcessId()))
                continue;
            char text[128] = {};
            GetDlgItemTextA(box, 0xFFFF, text, sizeof text);
            said = text;
            ++boxes;
            SendMessageA(box, WM_COMMAND, IDOK, 0);
            while (IsWindow(box) && !stop)
                Sleep(5);
        }
    });
    Clear();
    Pixels const before = Snap();
    vm->DrawPaneTab(*dev, CRectangle(0, 0, 60, 20), SString("Tab"), true);
    vm->DrawAutoHideButton(*dev, CRectangle(0, 30, 60, 50), SString("Pane"), 0x1000);
    stop = true;
    watcher.join();
    EXPECT_EQ(2, boxes);
    EXPECT_EQ("Not implemented yet (Kestrel5)", said);
    EXPECT_EQ(before.px, Snap().px);
}

TEST_F(ZnVisualManagerTest, RepeatedDrawingKeepsNoObjects)
{
    auto draw = [&] {
        for (int i = 0; i < 4; ++i) {
            CRectangle const cap = Caption(0, 0, 120 + 60 * i);
            vm->DrawPaneCaption(*dev, cap, SString("A caption long enough to be cut short"), i % 2 == 0);
            CRectangle r[4];
            vm->LayoutCaptionButtons(cap, FOUR, 4, r);
            for (int k = 0; k < 4; ++k)
                vm->DrawCaptionButton(*dev, r[k], FOUR[k], VM::ButtonState(i), i % 2 == 0);
            vm->DrawDivider(*dev, CRectangle(Point(0, 40), Size(200, 6)), i % 2 == 0, i < 2);
            vm->DrawPaneBorder(*dev, CRectangle(Point(0, 50), Size(100, 40)));
            vm->DrawDividerTracker(*dev, CRectangle(Point(10, 60), Size(150, 6)));
        }
    };
    EXPECT_TRUE(kstest::NoGrowthOnceSettled({.batch = 5}, draw));

    // The same measure sees one brush left behind per drawing.
    std::vector<HBRUSH> planted;
    planted.reserve(100);
    EXPECT_FALSE(kstest::NoGrowthOnceSettled({.batch = 5}, [&] {
        draw();
        planted.push_back(CreateSolidBrush(RGB(1, 2, 3)));
    }));
    for (HBRUSH h : planted)
        DeleteObject(h);
}
