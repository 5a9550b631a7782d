// ks-test: serial
// Real drags between library windows: the button is pressed over the source
// (whose handler starts the drag loop on this thread), and a second thread
// moves the mouse and releases it while the loop runs. Each step waits for
// what the windows report, never for a fixed time.
#include "mfc/COleDataObject.h"
#include "mfc/CWnd.h"
#include "tests/support/WindowFixture.h"
#include "window/DragDataSource.h"
#include "window/DropData.h"
#include "window/DropEvent.h"
#include "window/StringDropData.h"
#include "window/StringList.h"
#include "window/ZnOleDataSource.h"

#include <atomic>
#include <cstring>
#include <functional>
#include <shlobj.h>
#include <string>
#include <thread>
#include <vector>

namespace {

// Starts a drag of its data when pressed.
class SourceWindow : public WorkWindow
{
public:
    explicit SourceWindow(Window *pParent) : WorkWindow(pParent, 0) {}
    void MouseButtonDown(MouseEvent const &) override
    {
        started = true;
        result = drag ? drag() : ExecuteDrag(*data);
        ended = true;
    }
    DropData const *data = nullptr;
    std::function<unsigned long()> drag;
    std::atomic<bool> started{false}, ended{false};
    unsigned long result = 0xFFFF;
};

// Records what a drag shows it and answers with a set effect.
class TargetWindow : public WorkWindow
{
public:
    explicit TargetWindow(Window *pParent) : WorkWindow(pParent, 0) {}
    unsigned long QueryDrop(DropEvent const &e) override
    {
        StringDropData text;
        if (e.HasClipboardFormat(CF_TEXT) && e.FillDropData(text))
            queriedText = text.GetString().GetStr();
        lastPos = e.GetPosPixel();
        ++queries;
        return answer;
    }
    bool Drop(DropEvent const &e) override
    {
        StringDropData text;
        if (e.FillDropData(text))
            droppedText = text.GetString().GetStr();
        if (e.HasFileNames()) {
            StringList names;
            e.ExtractFileNames(names);
            for (unsigned long i = 0; i < names.Count(); ++i)
                files.push_back(names.GetObject(i)->GetStr());
        }
        dropEffect = e.GetDropEffect();
        ++drops;
        return accept;
    }
    std::atomic<int> queries{0}, drops{0}, leaves{0};
    std::string queriedText, droppedText;
    std::vector<std::string> files;
    unsigned long answer = DROPEFFECT_COPY, dropEffect = 0;
    bool accept = true;
    Point lastPos;

private:
    void OnDragLeavesWindow() override { ++leaves; }
};

bool WaitFor(std::function<bool()> const &cond)
{
    for (DWORD const start = GetTickCount(); !cond(); Sleep(5))
        if (GetTickCount() - start > 5000)
            return false;
    return true;
}

void MoveTo(Point p)
{
    INPUT in{};
    in.type = INPUT_MOUSE;
    in.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    in.mi.dx = MulDiv(p.X(), 65535, GetSystemMetrics(SM_CXSCREEN) - 1);
    in.mi.dy = MulDiv(p.Y(), 65535, GetSystemMetrics(SM_CYSCREEN) - 1);
    SendInput(1, &in, sizeof in);
}

// One leg of the drag: the cursor goes to the point, then the condition
// must come true (what the windows report once the loop saw the cursor).
struct Leg
{
    Point to;
    std::function<bool()> until;
};

class WindowDragTest : public kstest::WindowFixture
{
protected:
    void SetUp() override
    {
        WindowFixture::SetUp();
        MakeTop();
        source = new SourceWindow(top);
        target = new TargetWindow(top);
        other = new TargetWindow(top);
        source->SetPosSizePixel(Point(10, 10), Size(100, 100));
        target->SetPosSizePixel(Point(150, 10), Size(100, 100));
        other->SetPosSizePixel(Point(290, 10), Size(100, 100));
        for (Window *w : {static_cast<Window *>(source), static_cast<Window *>(target), static_cast<Window *>(other)})
            w->Show();
        target->EnableDrop(true);
        other->EnableDrop(true);
        ShowTop(Point(50, 50), Size(420, 160));
        source->GrabFocus();
    }
    void TearDown() override
    {
        delete other;
        delete target;
        delete source;
        WindowFixture::TearDown();
    }
    Point Centre(Window *w) const { return w->OutputToScreenPixel(Point(50, 50)); }

    // Presses over the source, walks the legs from a second thread, then
    // releases; true when every leg's condition came true and the source's
    // drag loop ended.
    bool Drag(std::vector<Leg> const &legs)
    {
        Point const from = Centre(source);
        SetCursorPos(from.X(), from.Y());
        kstest::Pump();
        std::atomic<bool> allSeen{true};
        std::thread mover([&] {
            allSeen = WaitFor([&] { return source->started.load(); });
            for (Leg const &leg : legs) {
                MoveTo(leg.to);
                if (!WaitFor(leg.until))
                    allSeen = false;
            }
            // Released in any case, so that a failed leg cannot leave the
            // loop waiting.
            INPUT up = kstest::Mouse(MOUSEEVENTF_LEFTUP);
            SendInput(1, &up, sizeof up);
        });
        kstest::Send({kstest::Mouse(MOUSEEVENTF_LEFTDOWN)});
        kstest::PumpUntil([&] { return source->ended.load(); }, 10000);
        mover.join();
        kstest::Pump();
        return allSeen && source->ended;
    }

    SourceWindow *source = nullptr;
    TargetWindow *target = nullptr;
    TargetWindow *other = nullptr;
};

TEST_F(WindowDragTest, TextDroppedOnAWindowReachesItsHandlersAndTheFocusFollows)
{
    StringDropData data(SString("dragged text"), DROPEFFECT_COPY | DROPEFFECT_MOVE);
    source->data = &data;
    ASSERT_FALSE(target->HasFocus());
    ASSERT_TRUE(Drag({{Centre(target), [&] { return target->queries > 0; }}}));
    EXPECT_EQ("dragged text", target->queriedText) << "QueryDrop reads the data before the drop";
    EXPECT_EQ(Point(50, 50), target->lastPos) << "client coordinates";
    ASSERT_EQ(1, target->drops);
    EXPECT_EQ("dragged text", target->droppedText);
    EXPECT_EQ(DWORD(DROPEFFECT_COPY | DROPEFFECT_MOVE), target->dropEffect) << "the effects the source allows";
    EXPECT_EQ(0, other->queries + other->drops);
    EXPECT_EQ(DWORD(DROPEFFECT_NONE), source->result) << "a library target never reports a drop";
    EXPECT_TRUE(target->HasFocus()) << "the window that took the drop";
    EXPECT_EQ(source->GetPCWnd(), Window::GetPCWndBeginDrag());
}

TEST_F(WindowDragTest, ARefusedDropLeavesTheFocusAndAWindowWithoutDropSeesNothing)
{
    StringDropData data(SString("x"), DROPEFFECT_COPY);
    source->data = &data;
    target->accept = false;
    other->EnableDrop(false);
    // Over the drop-disabled window only once the loop has left the target.
    ASSERT_TRUE(Drag({{Centre(target), [&] { return target->queries > 0; }},
                      {Centre(other), [&] { return target->leaves > 0; }}}));
    EXPECT_EQ(0, target->drops) << "released elsewhere";
    EXPECT_EQ(0, other->queries + other->drops) << "a window whose drop was turned off";
    EXPECT_EQ(DWORD(DROPEFFECT_NONE), source->result);
    EXPECT_TRUE(source->HasFocus());

    // Turned on again, it takes drops once more; the target refuses.
    other->EnableDrop(true);
    source->started = source->ended = false;
    int const seen = target->queries;
    ASSERT_TRUE(Drag({{Centre(target), [&] { return target->queries > seen; }},
                      {Centre(other), [&] { return other->queries > 0; }},
                      {Centre(target), [&] { return other->leaves > 0; }}}));
    EXPECT_EQ(1, target->drops);
    EXPECT_EQ(0, other->drops);
    EXPECT_TRUE(source->HasFocus()) << "Drop answered false";
}

TEST_F(WindowDragTest, ADelayedFormatIsRenderedWhenTheTargetReadsIt)
{
    struct Renderer : LinkHdl
    {
        int calls = 0;
        __int64 On(void *p)
        {
            auto *r = static_cast<OleRenderData *>(p);
            ++calls;
            if (r->nFormat != CF_TEXT)
                return 0;
            *r->phGlobal = GlobalAlloc(GMEM_MOVEABLE, 9);
            std::memcpy(GlobalLock(*r->phGlobal), "rendered", 9);
            GlobalUnlock(*r->phGlobal);
            return 1;
        }
    } renderer;
    source->drag = [&] { return source->ExecuteDrag(CF_TEXT, Link(&renderer, &Renderer::On)); };
    ASSERT_TRUE(Drag({{Centre(target), [&] { return target->queries > 0; }}}));
    EXPECT_EQ("rendered", target->queriedText);
    EXPECT_EQ("rendered", target->droppedText);
    EXPECT_EQ(1, renderer.calls) << "rendered once, then cached";
}

// A CF_HDROP block: DROPFILES and the ANSI names, each NUL-ended, then NUL
// (two for an empty list: Wine's reader steps over the first).
DropData FileDrop(std::vector<std::string> const &names)
{
    size_t n = sizeof(DROPFILES) + (names.empty() ? 2 : 1);
    for (auto const &s : names)
        n += s.size() + 1;
    DropData d(CF_HDROP, n, DROPEFFECT_COPY);
    auto *df = static_cast<DROPFILES *>(d.GetPData());
    df->pFiles = sizeof(DROPFILES);
    char *p = static_cast<char *>(d.GetPData()) + sizeof(DROPFILES);
    for (auto const &s : names)
        p = std::strcpy(p, s.c_str()) + s.size() + 1;
    return d;
}

TEST_F(WindowDragTest, FileNamesArriveThroughTheDropFormat)
{
    std::vector<std::string> const names{"C:\\a.txt", "C:\\dir with space\\b.dat", std::string(200, 'n')};
    DropData files = FileDrop(names);
    source->data = &files;
    ASSERT_TRUE(Drag({{Centre(target), [&] { return target->queries > 0; }}}));
    ASSERT_EQ(1, target->drops);
    EXPECT_EQ(names, target->files);
    EXPECT_EQ("", target->droppedText) << "no text in a file drop";

    // The same reader over a data object made directly; no names, no list.
    DragDataSource holder;
    files.CopyToDataSource(holder);
    COleDataObject obj;
    obj.Attach(holder.GetPDataSource(), false);
    DropEvent e(Point(1, 2), &obj);
    StringList list;
    list.Append(new SString("kept"));
    ASSERT_TRUE(e.HasFileNames());
    ASSERT_TRUE(e.ExtractFileNames(list));
    ASSERT_EQ(4u, list.Count()) << "appended after what was there";
    EXPECT_EQ(names[1], list.GetObject(2)->GetStr());
    DropData empty = FileDrop({});
    DragDataSource none;
    empty.CopyToDataSource(none);
    obj.Attach(none.GetPDataSource(), false);
    EXPECT_FALSE(DropEvent(Point(), &obj).ExtractFileNames(list));
    EXPECT_FALSE(DropEvent(Point(), nullptr).ExtractFileNames(list));
    EXPECT_EQ(4u, list.Count());
}

} // namespace
