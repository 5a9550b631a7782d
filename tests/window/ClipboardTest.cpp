// ks-test: serial
// The platform clipboard against a model of what was put since the last
// Clear, through random writes and reads with the clipboard closed by a
// routed message in between; the format registry, bitmaps, private data
// and data rendered on request.
#include "base/Container.h"
#include "frame/KSData.h"
#include "graphics/VirtualDevice.h"
#include "tests/support/LinkCounter.h"
#include "tests/support/WindowFixture.h"
#include "window/ClipFormat.h"
#include "window/Clipboard.h"

#include <map>
#include <random>
#include <string>
#include <vector>

namespace {

class ClipboardTest : public kstest::WindowFixture
{
protected:
    void SetUp() override
    {
        WindowFixture::SetUp();
        MakeTop();
        SetKSMainWnd(top->GetPCWnd());
    }
    void TearDown() override
    {
        Close();
        SetKSMainWnd(nullptr);
        WindowFixture::TearDown();
    }
    // What the router does after every message it routes.
    void Close() { SendMessageA(top->GetHWND(), WM_NULL, 0, 0); }
    static bool Held() { return GetPKSData()->m_bClipboardOpen; }
};

TEST_F(ClipboardTest, RegistryNamesNumbersAndPlatformFormats)
{
    EXPECT_EQ("Text", std::string(Exchange::GetFormatName(1).GetStr()));
    EXPECT_EQ("Bitmap", std::string(Exchange::GetFormatName(2).GetStr()));
    EXPECT_EQ(unsigned(CF_BITMAP), Exchange::FormatToPlatform(2)); // the first entry of a number wins
    EXPECT_EQ(2u, Exchange::PlatformToFormat(CF_DIB));
    EXPECT_EQ(59u, Exchange::PlatformToFormat(CF_PALETTE));
    EXPECT_EQ(777u, Exchange::FormatToPlatform(777)); // unknown: unchanged
    EXPECT_NE(0u, Exchange::PrivateFormat());
    EXPECT_EQ(4u, Exchange::PlatformToFormat(Exchange::PrivateFormat()));
    unsigned long const entries = GetPKSData()->m_pClipFormats->Count();
    unsigned long const n = Exchange::RegisterFormatName(SString("Kestrel5 test format"));
    EXPECT_GE(n, 0xC000u);
    EXPECT_EQ(n, Exchange::RegisterFormatName(SString("Kestrel5 test format")));
    EXPECT_EQ(entries + 1, GetPKSData()->m_pClipFormats->Count());
    EXPECT_EQ("Kestrel5 test format", std::string(Exchange::GetFormatName(n).GetStr()));
    EXPECT_EQ(n, Exchange::RegisterFormatName(SString("Text")) == 1 ? n : 0) << "a known name keeps its number";
    // A platform format outside the registry answers with the platform's name.
    UINT const other = RegisterClipboardFormatA("Kestrel5 foreign");
    EXPECT_EQ("Kestrel5 foreign", std::string(Exchange::GetFormatName(other).GetStr()));
}

TEST_F(ClipboardTest, RandomWritesReadBackAsTheModelSays)
{
    unsigned long const custom = Exchange::RegisterFormatName(SString("Kestrel5 bytes"));
    unsigned long const numbers[] = {55, 56, 61, custom};
    std::mt19937 rng(5);
    auto pick = [&](int n) { return int(rng() % unsigned(n)); };
    std::map<unsigned long, std::string> model; // exchange number -> bytes put
    std::string text, wide8;                     // the texts put, if any
    bool hasText = false, hasWide = false;
    for (int step = 0; step < 300; ++step) {
        switch (pick(5)) {
        case 0:
            Clipboard::Clear();
            model.clear();
            hasText = hasWide = false;
            EXPECT_EQ(0, Clipboard::HasFormat(1));
            break;
        case 1: {
            text.clear();
            for (int k = pick(40); k > 0; --k)
                text += char(1 + pick(255));
            ASSERT_EQ(1, Clipboard::CopyString(SString(text.c_str())));
            hasText = true;
            break;
        }
        case 2: {
            wide8.clear();
            for (int k = pick(20); k > 0; --k)
                wide8 += char('a' + pick(26));
            ASSERT_EQ(1, Clipboard::CopyString(UString(wide8.c_str())));
            hasWide = true;
            break;
        }
        default: {
            unsigned long const number = numbers[pick(4)];
            std::string bytes(size_t(1 + pick(100)), '\0');
            for (char &c : bytes)
                c = char(pick(256));
            ASSERT_EQ(1, Clipboard::CopyData(bytes.data(), unsigned(bytes.size()), number));
            model[number] = bytes;
            break;
        }
        }
        if (pick(2))
            Close();
        // Reads agree with the model.
        for (unsigned long number : numbers) {
            auto it = model.find(number);
            ASSERT_EQ(it != model.end() ? 1 : 0, Clipboard::HasFormat(number)) << "step " << step;
            if (it == model.end())
                continue;
            ASSERT_EQ(it->second.size(), Clipboard::GetDataLen(number));
            // Reads never write past the size asked for.
            std::vector<char> buf(it->second.size() + 8, '#');
            unsigned long const asked = unsigned(it->second.size()) - 1;
            ASSERT_EQ(1, Clipboard::PasteData(buf.data(), asked, number));
            ASSERT_EQ(it->second.substr(0, asked), std::string(buf.data(), asked));
            ASSERT_EQ('#', buf[asked]);
        }
        if (hasText) {
            ASSERT_EQ(text, std::string(Clipboard::PasteString().GetStr())) << "step " << step;
        }
        if (hasWide) {
            ASSERT_EQ(std::wstring(UString(wide8.c_str()).GetStr()), std::wstring(Clipboard::PasteUString().GetStr()));
        }
        if (hasText) {
            ASSERT_EQ(1, Clipboard::HasString());
        }
        if (pick(3) == 0)
            Close();
        ASSERT_EQ(Clipboard::GetFormatCount(), Clipboard::GetFormatCount()); // asking never opens
    }
    Close();
    EXPECT_FALSE(Held());
}

TEST_F(ClipboardTest, BitmapsCountOnceAndPrivateDataGoesWithClear)
{
    VirtualDevice dev;
    ASSERT_TRUE(dev.SetOutputSize(Size(12, 9), true));
    dev.Erase(Color(static_cast<unsigned long>(RGB(10, 200, 30))), CRectangle(0, 0, 11, 8));
    dev.Erase(Color(static_cast<unsigned long>(RGB(220, 20, 90))), CRectangle(3, 2, 6, 5));
    Bitmap const picture = dev.GetBitmap(Point(0, 0), Size(12, 9));
    Clipboard::Clear();
    ASSERT_EQ(1, Clipboard::CopyString("words"));
    ASSERT_EQ(1, Clipboard::CopyBitmap(picture));
    Close();
    EXPECT_EQ(1, Clipboard::HasFormat(2));
    Bitmap const back = Clipboard::PasteBitmap();
    ASSERT_FALSE(back.Empty());
    EXPECT_EQ(Size(12, 9), back.GetSize());
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, static_cast<HBITMAP>(back));
    EXPECT_EQ(RGB(10, 200, 30), GetPixel(dc, 0, 0));
    EXPECT_EQ(RGB(220, 20, 90), GetPixel(dc, 4, 3));
    SelectObject(dc, old);
    DeleteDC(dc);
    EXPECT_GT(Clipboard::GetDataLen(2), 12u * 9u);

    // The platform's count less one when both bitmap forms are there; each
    // index names a different number, the bitmap once; past the end, 0.
    bool const both = IsClipboardFormatAvailable(CF_BITMAP) && IsClipboardFormatAvailable(CF_DIB);
    unsigned short const count = Clipboard::GetFormatCount();
    EXPECT_EQ(CountClipboardFormats() - (both ? 1 : 0), int(count));
    std::map<unsigned long, int> seen;
    for (unsigned short i = 0; i < count; ++i)
        ++seen[Clipboard::GetFormat(i)];
    EXPECT_EQ(1, seen[1]);
    EXPECT_EQ(1, seen[2]);
    EXPECT_EQ(size_t(count), seen.size());
    EXPECT_EQ(0u, Clipboard::GetFormat(count));
    Close();

    // Only the device-independent form: still a bitmap.
    Clipboard::Clear();
    HGLOBAL dib = DIBFromBitmap(static_cast<HBITMAP>(picture), nullptr);
    ASSERT_NE(nullptr, dib);
    ASSERT_NE(nullptr, SetClipboardData(CF_DIB, dib));
    Close();
    EXPECT_EQ(1, Clipboard::HasFormat(2));

    int token = 0;
    ASSERT_EQ(1, Clipboard::CopyPrivateData(&token));
    Close();
    EXPECT_EQ(1, Clipboard::HasFormat(4));
    EXPECT_EQ(&token, Clipboard::PastePrivateData());
    Clipboard::Clear();
    Close();
    EXPECT_EQ(0, Clipboard::HasFormat(4));
    EXPECT_EQ(nullptr, Clipboard::PastePrivateData());
}

TEST_F(ClipboardTest, AnnouncedDataIsRenderedByTheLiveClipboards)
{
    struct Renderer : LinkHdl
    {
        int calls = 0;
        unsigned long format = 0;
        __int64 On(void *)
        {
            ++calls;
            format = Clipboard::GetRequestFormat();
            return Clipboard::CopyString("rendered on request");
        }
    } renderer;
    {
        Clipboard idle; // a second live clipboard is asked too, harmlessly
        Clipboard clip;
        kstest::LinkCounter idleCalls;
        idle.ChangeRequestHdl(idleCalls.GetLink());
        EXPECT_FALSE(clip.ChangeRequestHdl(Link(&renderer, &Renderer::On)).IsSet());
        Clipboard::Clear();
        ASSERT_EQ(1, Clipboard::CopyRequest(1));
        Close();
        EXPECT_EQ(1, Clipboard::HasString());
        EXPECT_EQ("rendered on request", std::string(Clipboard::PasteString().GetStr()));
        EXPECT_EQ(1, renderer.calls);
        EXPECT_EQ(1u, renderer.format);
        EXPECT_EQ(1, idleCalls.calls);
        EXPECT_EQ(0u, Clipboard::GetRequestFormat());
        Close();
        Clipboard copy(clip);
        EXPECT_EQ(3u, GetPKSData()->m_pClipboards->Count());
    }
    EXPECT_EQ(0u, GetPKSData()->m_pClipboards->Count());

    // Writes only: Wine keeps 1 KB for every read of clipboard data,
    // whoever reads it (the raw GetClipboardData too).
    auto cycle = [&](int i) {
        Clipboard c;
        Clipboard::Clear();
        Clipboard::CopyString(SString("cycle"));
        VirtualDevice dev;
        dev.SetOutputSize(Size(8 + i % 4, 8), true);
        Clipboard::CopyBitmap(dev.GetBitmap(Point(0, 0), Size(8, 8)));
        Close();
    };
    EXPECT_TRUE(kstest::NoGrowthOnceSettled({.batch = 40}, cycle));
}

} // namespace
