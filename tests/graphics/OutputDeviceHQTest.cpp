// The high-quality members on GDI+: fills with opacity, rings, arrows and
// text, mixed with GDI in one paint, and the single report of GDI+ failures.
#include "frame/KSData.h"
#include "graphics/OutputDevice.h"
#include "tests/support/DeviceFixture.h"

#include <atomic>
#include <cstdlib>
#include <string>
#include <thread>

namespace {

class OutputDeviceHQTest : public kstest::DeviceFixture
{
protected:
    CRectangle Ink() { return Where([](int, int, COLORREF p) { return p != WHITE; }); }
    COLORREF Darkest()
    {
        COLORREF best = WHITE;
        for (COLORREF c : Shot())
            if (GetRValue(c) + GetGValue(c) + GetBValue(c) < GetRValue(best) + GetGValue(best) + GetBValue(best))
                best = c;
        return best;
    }
};

// Source over white at alpha a (0..255), per channel.
int Over(int channel, int a)
{
    return (channel * a + 255 * (255 - a) + 127) / 255;
}

bool Near(COLORREF c, int r, int g, int b)
{
    return std::abs(GetRValue(c) - r) <= 2 && std::abs(GetGValue(c) - g) <= 2 && std::abs(GetBValue(c) - b) <= 2;
}

// Closes the library's message boxes from another thread, counting them and
// keeping what the last one said.
struct MessageBoxWatcher
{
    std::atomic<bool> stop{false};
    std::atomic<int> count{0};
    std::string text;
    std::thread thread{[this] {
        for (; !stop; Sleep(10))
            if (HWND box = FindWindowA("#32770", "KESTREL Error")) {
                char said[128] = {};
                GetDlgItemTextA(box, 0xFFFF, said, sizeof said); // the text's control
                text = said;
                ++count;
                SendMessageA(box, WM_COMMAND, IDOK, 0);
                while (IsWindow(box) && !stop)
                    Sleep(5);
            }
    }};
    ~MessageBoxWatcher()
    {
        stop = true;
        thread.join();
    }
};

} // namespace

TEST_F(OutputDeviceHQTest, RectangleFillsExactlyInThePenColourOrWithOpacity)
{
    EXPECT_EQ(1, dev->DrawRectHQ(FRectangle(10, 10, 20, 15)));
    EXPECT_EQ(CRectangle(10, 10, 19, 14), BoundsOf(RGB(0, 0, 0))) << "black without a pen";
    Clear();
    dev->ChangePen(Pen(Color(RED), 1, PS_SOLID));
    EXPECT_EQ(1, dev->DrawRectHQ(FRectangle(2, 3, 12, 8)));
    EXPECT_EQ(CRectangle(2, 3, 11, 7), BoundsOf(RED));
    EXPECT_EQ(0, dev->DrawRectHQ(FRectangle()));

    Clear();
    dev->DeleteDrawingTools();
    EXPECT_EQ(1, dev->DrawRectHQ(FRectangle(10, 10, 30, 30), TransparentColor(Color(BLUE), 50)));
    EXPECT_TRUE(Near(At(20, 20), Over(0, 127), Over(0, 127), Over(255, 127))) << std::hex << At(20, 20);
    EXPECT_EQ(CRectangle(10, 10, 29, 29), Ink());
}

TEST_F(OutputDeviceHQTest, RingsAndArrowsAndTheirFailures)
{
    TransparentColor red(Color(RED), 100);
    ASSERT_TRUE(dev->DrawRing(FPoint(32, 24), 20, 10, red));
    EXPECT_EQ(WHITE, At(32, 24)) << "the hole";
    EXPECT_EQ(RED, At(32 + 15, 24));
    EXPECT_EQ(WHITE, At(32 + 19, 24 + 19));
    EXPECT_FALSE(dev->DrawRing(FPoint(32, 24), 10, 10, red));
    EXPECT_FALSE(dev->DrawRing(FPoint(32, 24), 0, -1, red));

    Clear();
    ASSERT_TRUE(dev->DrawArrow(FPoint(4, 24), FPoint(50, 24), 2.0, red));
    EXPECT_EQ(RED, At(20, 24)) << "shaft";
    EXPECT_EQ(RED, At(45, 26)) << "the head is wider than the shaft";
    EXPECT_EQ(WHITE, At(20, 28));
    EXPECT_NEAR(50, BoundsOf(RED).Right(), 1);
    EXPECT_FALSE(dev->DrawArrow(FPoint(4, 4), FPoint(4, 4), 2.0, red));

    Clear();
    ColorPair pair{Color(RED), Color(BLUE)};
    ASSERT_TRUE(dev->DrawArrowGradient(FPoint(2, 24), FPoint(60, 24), 3.0, pair));
    EXPECT_GT(GetRValue(At(6, 24)), GetBValue(At(6, 24))) << "red at the start";
    EXPECT_GT(GetBValue(At(55, 24)), GetRValue(At(55, 24))) << "blue at the head";
}

TEST_F(OutputDeviceHQTest, TextInkInTheFontColourInsideItsMeasuredBox)
{
    Font f(SString("Arial"), 18);
    f.ChangeColor(Color(BLUE));
    dev->ChangeFont(f);
    FSize s = dev->GetTextSizeHQ(SString("Hig"));
    ASSERT_GT(s.Width(), 10.0);
    ASSERT_GT(s.Height(), 12.0);
    ASSERT_TRUE(dev->DrawTextHQ(FPoint(4, 4), SString("Hig")));
    CRectangle ink = Ink();
    ASSERT_FALSE(ink.IsEmpty());
    EXPECT_TRUE(CRectangle(3, 3, int(4 + s.Width()) + 1, int(4 + s.Height()) + 1).IsInside(ink)) << ink.GetStr().GetStr();
    // Glyph edges are blended; the stems show the colour itself.
    EXPECT_EQ(BLUE, Darkest()) << std::hex << Darkest();

    Clear();
    ASSERT_TRUE(dev->DrawTextWHQ(FPoint(4, 4), UString(L"Hig"), 40));
    EXPECT_TRUE(Near(Darkest(), Over(0, 102), Over(0, 102), 255)) << std::hex << Darkest();
    EXPECT_EQ(0.0, dev->GetTextSizeWHQ(UString()).Width());

    EXPECT_EQ(0u, dev->GetGdiPlusErrorCount());
}

TEST_F(OutputDeviceHQTest, AFailureIsCountedEveryTimeAndShownOnce)
{
    MessageBoxWatcher watcher;
    TransparentColor red(Color(RED), 100);
    // GDI+ refuses an arc in a rectangle without width.
    EXPECT_FALSE(dev->DrawArcHQ(FRectangle(5, 5, 5, 20), 0, 90, 1.0, red));
    EXPECT_EQ(1u, dev->GetGdiPlusErrorCount());
    EXPECT_FALSE(dev->DrawArcHQ(FRectangle(5, 5, 5, 20), 0, 90, 1.0, red));
    EXPECT_EQ(2u, dev->GetGdiPlusErrorCount());
    EXPECT_TRUE(dev->DrawArcHQ(FRectangle(5, 5, 25, 20), 0, 90, 1.0, red));
    EXPECT_EQ(2u, dev->GetGdiPlusErrorCount());
    EXPECT_EQ(1, watcher.count);
    EXPECT_EQ("Error in GDI Plus drawing", watcher.text);

    VirtualDevice other(*dev);
    other.SetOutputSize(Size(30, 30), true);
    EXPECT_FALSE(other.DrawArcHQ(FRectangle(5, 5, 5, 20), 0, 90, 1.0, red));
    EXPECT_EQ(1u, other.GetGdiPlusErrorCount());
    EXPECT_EQ(2, watcher.count) << "each device reports its first failure";
}

TEST_F(OutputDeviceHQTest, NoGdiObjectOrHeapLeftByTheGdiPlusMembers)
{
    dev->ChangeFont(Font(SString("Arial"), 12));
    auto cycle = [this](int i) {
        TransparentColor c(Color(static_cast<unsigned long>(i * 997)), static_cast<unsigned char>(i % 101));
        dev->DrawRectHQ(FRectangle(1, 1, 20, 20), c);
        dev->DrawLineHQ(FPoint(0, 0), FPoint(30, 20), c, 2.0, i % 3);
        dev->DrawRoundRect(CRectangle(2, 2, 40, 30), 8, 2, c, i % 2 == 0);
        dev->DrawRing(FPoint(20, 20), 10, 4, c);
        dev->DrawArrowGradient(FPoint(1, 1), FPoint(40, 30), 2.0, ColorPair(c.GetColor(), Color(0ul)));
        dev->DrawTextHQ(FPoint(1, 1), SString("ab"));
        dev->GetTextSizeHQ(SString("ab"));
    };
    EXPECT_TRUE(kstest::NoGrowthOnceSettled({.batch = 500}, cycle));
}
