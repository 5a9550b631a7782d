// ks-test: serial
// Tool tips through the platform control: the tools it reports against a
// model of what was registered, tips shown by real mouse hovers relayed by
// the window, the bitmap beside the text with its marker, and leaks.
#include "controls/ToolTip.h"
#include "controls/ZnToolTipCtrl.h"
#include "graphics/Color.h"
#include "graphics/ColorName.h"
#include "mfc/CDC.h"
#include "tests/support/WindowFixture.h"

#include <commctrl.h>
#include <gtest/gtest.h>
#include <map>
#include <random>
#include <string>

namespace {

// The window's own tool-tip text question, answered when asked to.
class Child : public Window
{
public:
    explicit Child(Window *parent) : Window(parent, 0, 0) {}
    std::string answer; // empty: the question stays open
    bool ProcessNotifyMsg(unsigned __int64, __int64 lParam) override
    {
        auto *info = reinterpret_cast<NMTTDISPINFOA *>(lParam);
        if (answer.empty() || info->hdr.code != TTN_GETDISPINFOA)
            return false;
        lstrcpynA(info->szText, answer.c_str(), sizeof info->szText);
        info->lpszText = info->szText;
        return true;
    }
};

struct Tool
{
    bool whole = false;    // the platform's window-handle tool
    bool callback = false; // text asked for when shown
    std::string text;      // fixed text, or the answer a callback must get
    RECT rect{};
    bool operator==(Tool const &o) const
    {
        return whole == o.whole && callback == o.callback && text == o.text &&
               (whole || EqualRect(&rect, &o.rect));
    }
};
using Tools = std::map<UINT_PTR, Tool>;

std::string TextOf(HWND tip, HWND owner, UINT_PTR id)
{
    char buf[1100] = "";
    TTTOOLINFOA ti{};
    ti.cbSize = sizeof ti;
    ti.hwnd = owner;
    ti.uId = id;
    ti.lpszText = buf;
    SendMessageA(tip, TTM_GETTEXTA, sizeof buf, reinterpret_cast<LPARAM>(&ti));
    return ti.lpszText && ti.lpszText != LPSTR_TEXTCALLBACKA ? ti.lpszText : "";
}

// What the control holds, read back tool by tool (callback texts resolved
// through the text question, as the control does before showing).
Tools Reported(HWND tip, std::string *pError)
{
    Tools tools;
    int const n = int(SendMessageA(tip, TTM_GETTOOLCOUNT, 0, 0));
    for (int i = 0; i < n; ++i) {
        char buf[1100] = "";
        TTTOOLINFOA ti{};
        ti.cbSize = sizeof ti;
        ti.lpszText = buf;
        if (!SendMessageA(tip, TTM_ENUMTOOLSA, WPARAM(i), reinterpret_cast<LPARAM>(&ti)))
            continue;
        Tool t;
        t.whole = (ti.uFlags & TTF_IDISHWND) != 0;
        t.callback = ti.lpszText == LPSTR_TEXTCALLBACKA;
        t.rect = ti.rect;
        t.text = TextOf(tip, ti.hwnd, ti.uId);
        if (!tools.emplace(ti.uId, t).second)
            *pError += std::string("tool ") + std::to_string(ti.uId) + " twice; ";
    }
    return tools;
}

std::string Describe(Tools const &tools)
{
    std::string s;
    for (auto const &[id, t] : tools)
        s += std::string(t.whole ? "window" : std::to_string(id)) + (t.callback ? " cb '" : " '") + t.text + "' ";
    return s;
}

// The platform reads back at most 80 characters of a tool's text.
std::string Readable(std::string const &text)
{
    return text.substr(0, 80);
}

// A solid 32-bit bitmap of the given colour.
Bitmap Solid(int w, int h, COLORREF colour)
{
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP bm = CreateCompatibleBitmap(screen, w, h);
    HGDIOBJ old = SelectObject(dc, bm);
    RECT r{0, 0, w, h};
    HBRUSH brush = CreateSolidBrush(colour);
    FillRect(dc, &r, brush);
    DeleteObject(brush);
    SelectObject(dc, old);
    DeleteDC(dc);
    ReleaseDC(nullptr, screen);
    Bitmap b(bm);
    DeleteObject(bm);
    return b;
}

COLORREF const kBlue = RGB(0, 0, 200);

void MoveMouseTo(HWND h, int x, int y)
{
    POINT p{x - 2, y};
    ClientToScreen(h, &p);
    SetCursorPos(p.x, p.y);
    INPUT in{};
    in.type = INPUT_MOUSE;
    in.mi.dwFlags = MOUSEEVENTF_MOVE;
    in.mi.dx = 2;
    SendInput(1, &in, sizeof in);
}

class ToolTipTest : public kstest::WindowFixture
{
protected:
    void SetUp() override
    {
        WindowFixture::SetUp();
        MakeTop(0x121);
        ShowTop(Point(100, 100), Size(400, 300));
        child = new Child(top);
        child->SetPosSizePixel(Point(10, 10), Size(300, 200));
        child->Show();
        kstest::Pump();
    }
    void TearDown() override
    {
        delete child;
        WindowFixture::TearDown();
    }
    HWND Tip() const
    {
        ToolTip *t = child->GetPToolTip();
        return t ? t->GetHWND() : nullptr;
    }
    // Hovers (x, y) of the child from outside it; the tool shown, or
    // (UINT_PTR)-1 when no tip showed within the time.
    UINT_PTR HoverAndWait(int x, int y, std::string *pText = nullptr)
    {
        child->GetPToolTip()->Pop();
        SetCursorPos(5, 5);
        kstest::Pump();
        MoveMouseTo(child->GetHWND(), x, y);
        HWND tip = Tip();
        if (!kstest::PumpUntil([tip] { return IsWindowVisible(tip) != FALSE; }, 1500))
            return UINT_PTR(-1);
        kstest::PumpFor(50);
        char buf[200] = "";
        TTTOOLINFOA ti{};
        ti.cbSize = sizeof ti;
        ti.lpszText = buf;
        if (!SendMessageA(tip, TTM_GETCURRENTTOOLA, 0, reinterpret_cast<LPARAM>(&ti)))
            return UINT_PTR(-1);
        if (pText)
            *pText = TextOf(tip, ti.hwnd, ti.uId);
        return ti.uId;
    }
    Child *child = nullptr;
};

} // namespace

TEST_F(ToolTipTest, ToolsMatchWhatWasRegistered)
{
    std::mt19937 rng(20261206);
    Tools model;
    UINT_PTR const whole = reinterpret_cast<UINT_PTR>(child->GetHWND());
    child->SetText(SString("label"));
    for (int step = 0; step < 400; ++step) {
        int const op = int(rng() % 9);
        UINT_PTR const id = 1 + rng() % 5;
        std::string const text = std::string("t") + std::to_string(step) + std::string(rng() % 3 == 0 ? 100 : 0, 'x');
        RECT const r{int(rng() % 100), int(rng() % 100), 100 + int(rng() % 100), 100 + int(rng() % 100)};
        std::string what;
        switch (op) {
        case 0: {
            int const delay = int(rng() % 500);
            child->EnableToolTips(true, delay);
            model[whole] = Tool{true, true, child->answer.empty() ? "label" : child->answer, {}};
            ASSERT_EQ(delay, int(SendMessageA(Tip(), TTM_GETDELAYTIME, TTDT_INITIAL, 0)));
            what = "enable";
            break;
        }
        case 1:
            child->SetToolTip(SString(text.c_str()));
            model[whole] = Tool{true, false, Readable(text), {}};
            what = "whole text";
            break;
        case 2:
        case 3:
            child->SetToolTip(SString(text.c_str()), CRect(r), int(id));
            model[id] = Tool{false, false, Readable(text), r};
            what = std::string("rectangle ") + std::to_string(id);
            break;
        case 4:
            if (ToolTip *t = child->GetPToolTip())
                t->DelTool(child->GetPCWnd(), id);
            model.erase(id);
            what = std::string("delete ") + std::to_string(id);
            break;
        case 5:
            if (ToolTip *t = child->GetPToolTip()) {
                CString s(text.c_str());
                t->UpdateTipText(s, child->GetPCWnd(), id);
                if (model.count(id))
                    model[id].text = Readable(text);
            }
            what = std::string("update ") + std::to_string(id);
            break;
        case 6:
            if (ToolTip *t = child->GetPToolTip()) {
                t->SetText(SString(text.c_str()));
                if (model.count(whole))
                    model[whole] = Tool{true, false, Readable(text), {}};
            }
            what = "set text";
            break;
        case 7:
            if (rng() % 4 == 0) {
                child->EnableToolTips(false, 0);
                model.clear();
                what = "disable";
            }
            break;
        default:
            // The window answers the text question itself, then leaves it
            // to the library again.
            child->answer = rng() % 2 ? "asked" : "";
            for (auto &[key, t] : model)
                if (t.callback)
                    t.text = child->answer.empty() ? "label" : child->answer;
            what = std::string("answer '") + child->answer + "'";
            break;
        }
        if (!Tip()) {
            ASSERT_TRUE(model.empty()) << "step " << step << " " << what;
            continue;
        }
        std::string error;
        Tools const got = Reported(Tip(), &error);
        ASSERT_EQ("", error) << "step " << step << " " << what;
        ASSERT_TRUE(got == model) << "step " << step << " " << what << "\n  control: " << Describe(got)
                                  << "\n  model:   " << Describe(model);
        ASSERT_EQ(int(model.size()), child->GetPToolTip()->GetToolCount());
    }
}

TEST_F(ToolTipTest, BadCallsChangeNothing)
{
    Window empty;
    empty.EnableToolTips(true, 10);
    empty.SetToolTip(SString("x"));
    empty.SetToolTip(SString("x"), CRect(0, 0, 5, 5), 3);
    EXPECT_EQ(nullptr, empty.GetPToolTip()) << "a window without a platform window gets no tip";

    ToolTip orphan(nullptr);
    ASSERT_NE(nullptr, orphan.GetHWND());
    EXPECT_FALSE(orphan.AddTool(nullptr, "x", nullptr, 0));
    orphan.DelTool(nullptr, 4);
    orphan.SetText(SString("no tool 0 here"));
    orphan.UpdateTipText(77u, nullptr, 0);
    orphan.ActivateToolTips(false);
    EXPECT_EQ(0, orphan.GetToolCount());

    child->EnableToolTips(false, 0); // off without a tip
    EXPECT_EQ(nullptr, child->GetPToolTip());
}

TEST_F(ToolTipTest, HoversShowTheToolUnderTheMouse)
{
    child->SetToolTip(SString("whole tip"));
    child->SetToolTip(SString("corner"), CRect(200, 100, 300, 200), 7);
    child->GetPToolTip()->SetDelayTime(30, TTDT_INITIAL);
    UINT_PTR const whole = reinterpret_cast<UINT_PTR>(child->GetHWND());
    std::string text;
    EXPECT_EQ(whole, HoverAndWait(50, 50, &text));
    EXPECT_EQ("whole tip", text);
    EXPECT_EQ(UINT_PTR(7), HoverAndWait(250, 150, &text));
    EXPECT_EQ("corner", text);

    // By callback: the window's own text, or the window's answer.
    child->SetText(SString("my label"));
    child->EnableToolTips(true, 30);
    EXPECT_EQ(whole, HoverAndWait(60, 40, &text));
    EXPECT_EQ("my label", text);
    child->answer = "answered";
    EXPECT_EQ(whole, HoverAndWait(60, 40, &text));
    EXPECT_EQ("answered", text);

    child->GetPToolTip()->ActivateToolTips(false);
    EXPECT_EQ(UINT_PTR(-1), HoverAndWait(50, 50)) << "an inactive tool tip stays hidden";
    child->GetPToolTip()->ActivateToolTips(true);
    EXPECT_EQ(whole, HoverAndWait(50, 50));
}

TEST_F(ToolTipTest, BitmapSizesAndMargins)
{
    child->EnableToolTips(true, 30);
    ToolTip &tip = *child->GetPToolTip();
    ZnToolTipCtrl &ctrl = *tip.GetPCTipCtrl();
    auto margin = [&] {
        RECT m{-1, -1, -1, -1};
        SendMessageA(tip.GetHWND(), TTM_GETMARGIN, 0, reinterpret_cast<LPARAM>(&m));
        return std::to_string(m.left) + "," + std::to_string(m.top) + "," + std::to_string(m.right) + "," +
               std::to_string(m.bottom);
    };
    auto size = [&] { return std::to_string(ctrl.GetIconSize().cx) + "x" + std::to_string(ctrl.GetIconSize().cy); };
    tip.SetBitmap(Solid(100, 50, kBlue), false);
    EXPECT_EQ("0x0", size()) << "nothing while bitmap drawing is off";
    tip.SetScalarX(0.3f);
    tip.EnableDrawBitmap(true);
    EXPECT_EQ("5,5,5,5", margin());
    EXPECT_EQ("110x60", size());
    EXPECT_EQ(0.0f, ctrl.GetScalarX()) << "switching the bitmap puts the cross back";
    tip.SetBitmap(Solid(100, 50, kBlue), true);
    EXPECT_EQ("138x74", size());
    tip.EnableDrawBitmap(false);
    EXPECT_EQ("0,0,0,0", margin());
    EXPECT_EQ("0x0", size());
}

TEST_F(ToolTipTest, ParameterRecordsColourTheControl)
{
    child->EnableToolTips(true, 30);
    ToolTip &tip = *child->GetPToolTip();
    HWND h = tip.GetHWND();
    auto colours = [h] {
        return std::pair(COLORREF(SendMessageA(h, TTM_GETTIPBKCOLOR, 0, 0)),
                         COLORREF(SendMessageA(h, TTM_GETTIPTEXTCOLOR, 0, 0)));
    };
    auto const system = std::pair(GetSysColor(COLOR_INFOBK), GetSysColor(COLOR_INFOTEXT));
    EXPECT_EQ(system, colours());
    CMFCToolTipInfo own(false, true, true, false, true, true, 0, 200, RGB(1, 2, 3), COLORREF(-1), RGB(4, 5, 6),
                        COLORREF(-1));
    tip.GetPCTipCtrl()->SetParams(&own);
    EXPECT_EQ(std::pair(RGB(1, 2, 3), RGB(4, 5, 6)), colours());
    tip.SetParams(true);
    EXPECT_EQ(system, colours()) << "a record without colours gives the system's back";
    EXPECT_TRUE(tip.GetPCTipCtrl()->GetParams().m_bRoundedCorners);
    EXPECT_EQ(0, tip.GetPCTipCtrl()->GetParams().m_nGradientAngle);
}

TEST_F(ToolTipTest, IconDrawingMatchesTheModel)
{
    ZnToolTipCtrl ctrl;
    COLORREF const yellow = Color(ColorNameYellow).GetLong();
    COLORREF const white = RGB(255, 255, 255);
    struct Case
    {
        bool fixed;
        float sx, sy;
    } const cases[] = {{false, 0.5f, 0.5f}, {false, 0.0f, 0.0f}, {true, 0.25f, 0.75f}, {false, 0.0f, 1.0f},
                       {true, 0.9f, 0.1f}};
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = 200;
    bi.bmiHeader.biHeight = -120;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    void *bits = nullptr;
    HBITMAP dib = CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    ASSERT_NE(nullptr, dib);
    CDC dc;
    dc.CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc.m_hDC, dib);
    for (Case const &c : cases) {
        RECT all{0, 0, 200, 120};
        FillRect(dc.m_hDC, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
        ctrl.SetBitmap(Solid(100, 50, kBlue), c.fixed);
        EXPECT_FALSE(ctrl.OnDrawIcon(&dc, CRect(10, 20, 110, 70))) << "nothing while bitmap drawing is off";
        ctrl.EnableDrawBitmap(true);
        ctrl.SetScalarX(c.sx);
        ctrl.SetScalarY(c.sy);
        EXPECT_TRUE(ctrl.OnDrawIcon(&dc, CRect(10, 20, 110, 70)));
        ctrl.EnableDrawBitmap(false);
        GdiFlush();
        int const w = c.fixed ? 128 : 100, h = c.fixed ? 64 : 50;
        int const cx = int(10 + c.sx * w), cy = int(20 + c.sy * h);
        bool const cross = c.sx != 0.0f || c.sy != 0.0f;
        int wrong = 0;
        std::string first;
        for (int y = 0; y < 120; ++y)
            for (int x = 0; x < 200; ++x) {
                int const dx = std::abs(x - cx), dy = std::abs(y - cy);
                bool const arm = cross && ((dx == 0 && dy >= 1 && dy <= 4) || (dy == 0 && dx >= 1 && dx <= 4));
                bool const image = x >= 10 && x < 10 + w && y >= 20 && y < 20 + h;
                COLORREF const want = arm ? yellow : image ? kBlue : white;
                COLORREF const got = GetPixel(dc.m_hDC, x, y);
                if (got != want && !wrong++)
                    first = std::to_string(x) + "," + std::to_string(y);
            }
        EXPECT_EQ(0, wrong) << "fixed " << c.fixed << " scalars " << c.sx << "," << c.sy << " first at " << first;
    }
    SelectObject(dc.m_hDC, old);
    DeleteObject(dib);
}

TEST_F(ToolTipTest, ShownTipCarriesTheBitmapBesideItsText)
{
    child->SetToolTip(SString("with a picture"));
    ToolTip &tip = *child->GetPToolTip();
    tip.SetDelayTime(30, TTDT_INITIAL);
    UINT_PTR const whole = reinterpret_cast<UINT_PTR>(child->GetHWND());
    // Text pixels right of the strip: the whole text, moved beside the picture.
    int text = 0;
    int strip = 0;
    auto shown = [&](int *pBlue, int *pYellow) {
        EXPECT_EQ(whole, HoverAndWait(40, 40));
        RECT r;
        GetWindowRect(tip.GetHWND(), &r);
        *pBlue = *pYellow = text = 0;
        COLORREF const yellow = Color(ColorNameYellow).GetLong();
        COLORREF const ink = COLORREF(SendMessageA(tip.GetHWND(), TTM_GETTIPTEXTCOLOR, 0, 0));
        kstest::ScanClient(tip.GetHWND(), [&](int x, int, COLORREF c) {
            *pBlue += c == kBlue;
            *pYellow += c == yellow;
            text += c == ink && x >= strip;
        });
        return r;
    };
    int blue, yellow;
    RECT const plain = shown(&blue, &yellow);
    int const plainText = text;
    EXPECT_GT(plainText, 20);
    EXPECT_EQ(0, blue);
    tip.SetBitmap(Solid(100, 50, kBlue), false);
    tip.EnableDrawBitmap(true);
    tip.SetScalarX(0.5f);
    tip.SetScalarY(0.5f);
    strip = 110;
    RECT const pictured = shown(&blue, &yellow);
    EXPECT_EQ(plainText, text) << "the text moves right of the picture";
    strip = 0;
    // The margins add 5 on each side as well.
    EXPECT_EQ(plain.right - plain.left + 110 + 10, pictured.right - pictured.left);
    EXPECT_GE(pictured.bottom - pictured.top, 60 + 2);
    EXPECT_EQ(100 * 50 - 16, blue) << "the bitmap, less the cross drawn over it";
    EXPECT_EQ(16, yellow);
    tip.EnableDrawBitmap(false);
    RECT const again = shown(&blue, &yellow);
    EXPECT_EQ(plain.right - plain.left, again.right - again.left);
    EXPECT_EQ(0, blue);
}

TEST_F(ToolTipTest, TipsLeaveNothingBehind)
{
    Bitmap const picture = Solid(40, 20, kBlue);
    auto cycle = [&](int i) {
        Child w(top);
        w.SetPosSizePixel(Point(0, 0), Size(100, 80));
        w.EnableToolTips(true, 10 + i % 50);
        w.SetToolTip(SString("rectangle"), CRect(0, 0, 20, 20), 3);
        w.GetPToolTip()->SetBitmap(picture, i % 2 == 0);
        w.GetPToolTip()->EnableDrawBitmap(true);
        w.GetPToolTip()->SetTitle(1, SString("title"));
        w.GetPToolTip()->SetParams(i % 2 == 0);
        if (i % 3 == 0) {
            w.EnableToolTips(false, 0);
            w.SetToolTip(SString("again"));
        }
    };
    EXPECT_TRUE(kstest::NoGrowthOnceSettled({.batch = 50}, cycle));
}
