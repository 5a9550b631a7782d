// The theme library bound at run time, and stylists drawing through it,
// against the platform's own answers.
#include "controls/DialogStylist.h"
#include "controls/ListControlStylist.h"
#include "controls/UXThemeLib.h"
#include "controls/VisualStylist.h"
#include "frame/LibraryLoader.h"
#include "tests/support/WindowFixture.h"

#include <gtest/gtest.h>
#include <uxtheme.h>
#include <vector>
#include <windows.h>

namespace {

// The same members over a library that has none of the theme functions.
class Missing : public UXThemeLib
{
public:
    explicit Missing(char const *name) : UXThemeLib(SString(name)) {}
};

TEST(UXThemeLib, WithoutTheFunctionsEveryMemberAnswersItsDefault)
{
    for (char const *name : {"kernel32.dll", "no-such-library.dll"}) {
        SCOPED_TRACE(name);
        Missing lib(name);
        Missing const &constLib = lib;
        HWND const desk = GetDesktopWindow();
        RECT r{0, 0, 10, 10};
        EXPECT_FALSE(lib.IsThemeActive());
        EXPECT_FALSE(lib.IsAppThemed());
        EXPECT_EQ(nullptr, lib.OpenThemeData(desk, SString("Button")));
        EXPECT_EQ(0x000000ul, lib.GetThemeSysColor(nullptr, COLOR_WINDOW).GetLong());
        EXPECT_EQ(0xFFFFFFul, constLib.GetThemeSysColor(nullptr, COLOR_WINDOW).GetLong());
        EXPECT_EQ(0, lib.DrawThemeBackground(nullptr, nullptr, 1, 1, &r, nullptr));
        EXPECT_EQ(0, lib.DrawThemeText(nullptr, nullptr, 1, 1, SString("x"), 0, 0, &r));
        EXPECT_FALSE(lib.IsThemeBackgroundPartiallyTransparent(nullptr, 1, 1));
        EXPECT_FALSE(lib.SetWindowTheme(desk, SString(""), SString("")));
        EXPECT_FALSE(lib.IsThemeDialogTextureEnabled(desk));
        EXPECT_EQ(0xFFFFFFul, lib.GetThemeColor(nullptr, 1, 1).GetLong());
        EXPECT_STREQ("?", lib.GetCurrentThemeName().GetStr());
        lib.DisableThemes(desk);
        lib.DisableThemes(static_cast<CWnd *>(nullptr));
    }
}

TEST(LibraryLoader, ACopyHoldsTheModuleOnItsOwn)
{
    // A library no other part of the process holds, so that its unloading
    // shows: loaded while any copy lives, gone after the last.
    char const *const name = "wintrust.dll";
    ASSERT_EQ(nullptr, GetModuleHandleA(name)) << "the probe library is in use elsewhere";
    {
        auto *first = new LibraryLoader(SString(name));
        ASSERT_TRUE(first->IsLoaded());
        LibraryLoader copy(*first);
        LibraryLoader assigned(SString("version.dll"));
        assigned = copy;
        delete first;
        EXPECT_NE(nullptr, copy.GetProcAddress(SString("WinVerifyTrust")));
        EXPECT_EQ(copy.GetModule(), assigned.GetModule());
        EXPECT_NE(nullptr, GetModuleHandleA(name));
    }
    EXPECT_EQ(nullptr, GetModuleHandleA(name));
}

class Stylists : public kstest::WindowFixture
{
};

// Fills a memory bitmap, lets draw paint on it, and returns its pixels.
template <class Draw> std::vector<COLORREF> Paint(Draw draw)
{
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP bmp = CreateCompatibleBitmap(screen, 60, 40);
    ReleaseDC(nullptr, screen);
    HGDIOBJ old = SelectObject(dc, bmp);
    RECT all{0, 0, 60, 40};
    HBRUSH fill = CreateSolidBrush(RGB(12, 34, 56));
    FillRect(dc, &all, fill);
    DeleteObject(fill);
    draw(dc);
    std::vector<COLORREF> pixels;
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 60; ++x)
            pixels.push_back(GetPixel(dc, x, y));
    SelectObject(dc, old);
    DeleteObject(bmp);
    DeleteDC(dc);
    return pixels;
}

TEST_F(Stylists, DrawExactlyWhatThePlatformDrawsOrNothingWithoutATheme)
{
    MakeTop();
    HWND const h = top->GetHWND();
    CRectangle const box(4, 4, 55, 35);
    RECT const r{4, 4, 55, 35};
    for (auto [cls, part] : {std::pair<char const *, int>{"Button", 1}, {"Window", 29}, {"ListView", 5}, {"NoSuchClass", 1}}) {
        SCOPED_TRACE(cls);
        VisualStylist const stylist(h, SString(cls), part, 0);
        HTHEME const direct = OpenThemeData(h, UString(SString(cls)).GetStr());
        EXPECT_EQ(direct != nullptr, stylist.IsValid());
        auto const ours = Paint([&](HDC dc) { stylist.DrawBackground(dc, box); });
        auto const theirs = Paint([&](HDC dc) {
            if (direct) {
                RECT parentPart = r;
                if (IsThemeBackgroundPartiallyTransparent(direct, part, 0))
                    DrawThemeParentBackground(h, dc, &parentPart);
                DrawThemeBackground(direct, dc, part, 0, &r, nullptr);
            }
        });
        std::size_t differ = 0;
        for (std::size_t i = 0; i < ours.size(); ++i)
            differ += ours[i] != theirs[i];
        EXPECT_EQ(0u, differ) << "pixels differ from the platform's own drawing";
        EXPECT_EQ(direct != nullptr, ours != Paint([](HDC) {})) << "a theme draws, no theme leaves the fill";
        if (!direct) {
            VisualStylist copy(stylist);
            EXPECT_EQ(0x00FF00FFul, copy.GetBackgroundColor().GetLong() & 0xFFFFFF) << "magenta";
            EXPECT_EQ(0x00FF00FFul, copy.GetThemeSysColor(COLOR_WINDOW).GetLong() & 0xFFFFFF);
            RECT content{};
            EXPECT_FALSE(copy.GetThemeBackgroundContentRect(nullptr, &r, &content));
        } else {
            VisualStylist copy(stylist);
            EXPECT_TRUE(copy.IsValid());
            EXPECT_NE(stylist.GetHTheme(), nullptr);
            CloseThemeData(direct);
        }
    }
    DialogStylist dialog(h);
    ListControlStylist list(h);
    EXPECT_EQ(dialog.IsValid(), list.IsValid() || !UXThemeLib().IsThemeActive());
}

TEST_F(Stylists, DialogTextureFlagsReachTheWindow)
{
    MakeTop();
    HWND const h = top->GetHWND();
    UXThemeLib lib;
    // Enabling, with or without the tab texture, is read back as enabled;
    // the disabling forms as not.
    for (auto [enable, tab] : {std::pair{true, true}, {false, false}, {true, false}, {false, true}}) {
        lib.EnableThemeDialogTexture(h, enable, tab);
        EXPECT_EQ(enable, lib.IsThemeDialogTextureEnabled(h)) << enable << tab;
    }
    // The answer is the platform's success, for each pair of names.
    bool someSucceeded = false;
    for (char const *app : {"", "Explorer"})
        for (char const *ids : {"", "TreeView"}) {
            bool const direct = ::SetWindowTheme(h, UString(SString(app)).GetStr(), UString(SString(ids)).GetStr()) == S_OK;
            someSucceeded = someSucceeded || direct;
            EXPECT_EQ(direct, lib.SetWindowTheme(h, SString(app), SString(ids))) << app << "/" << ids;
        }
    EXPECT_TRUE(someSucceeded);
    EXPECT_TRUE(kstest::NoGrowthOnceSettled({.batch = 20}, [&] {
        VisualStylist a(h, SString("Button"), 1, 1);
        VisualStylist b(a);
        b = DialogStylist(h);
    }));
}

} // namespace
