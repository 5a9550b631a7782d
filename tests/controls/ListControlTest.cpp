// ks-test: serial
// The owner-data list: its data through the link, every notification from
// real input on 10^5 rows, custom drawing, bad indices and re-entry, and
// leaks.
#include "controls/ListControl.h"
#include "controls/ListItemCallBackData.h"
#include "controls/ZnListCtrl.h"
#include "mfc/CListCtrl.h"
#include "tests/support/WindowFixture.h"

#include <functional>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

using kstest::Key;
using kstest::Mouse;
using kstest::Send;
using kstest::Type;

int const ROWS = 100000;

// A list that writes down what it is told, and answers texts from a model.
class Probe : public ListControl
{
public:
    explicit Probe(Window *parent) : ListControl(parent, 0) {}
    std::vector<std::string> calls;
    std::function<void(int)> onClick;
    std::function<bool(HDC, int, int, CRectangle const &)> drawCell;
    std::vector<std::pair<int, int>> cells;
    std::vector<CRectangle> cellRects;
    Point lastPoint;
    std::string edited;
    bool editNull = false;
    void Note(char const *what, int a = 0, int b = 0, unsigned flags = 0)
    {
        calls.push_back(std::string(what) + " " + std::to_string(a) + " " + std::to_string(b) + " " +
                        std::to_string(flags));
    }
    void OnItemClick(int i, int s, unsigned f, bool) override
    {
        Note("click", i, s, f);
        if (onClick)
            onClick(i);
    }
    void OnItemRClick(int i, int s, unsigned f, bool, Point const &p) override
    {
        Note("rclick", i, s, f);
        lastPoint = p;
    }
    void OnItemDoubleClick(int i, unsigned f, bool) override { Note("dblclick", i, 0, f); }
    void OnColumnClick(int c) override { Note("column", c); }
    void OnItemSelected(int i) override { Note("selected", i); }
    void OnEndLabelEdit(int i, char *text) override
    {
        Note("edit", i);
        editNull = text == nullptr;
        edited = text ? text : "";
    }
    void OnBeginDrag(int i, Point const &) override { Note("drag", i); }
    void OnPrePaint(HDC) override { Note("prepaint"); }
    void OnItemPrePaint(HDC, int i) override { Note("itemprepaint", i); }
    void OnPostPaint(HDC) override { Note("postpaint"); }
    SString GetToolTipText(int i) override { return SString(("tip " + std::to_string(i)).c_str()); }
    bool OnCustomDrawCell(HDC h, int i, int s, CRectangle const &r, Color const &, bool) const override
    {
        auto *self = const_cast<Probe *>(this);
        self->cells.push_back({i, s});
        self->cellRects.push_back(r);
        return drawCell && drawCell(h, i, s, r);
    }
    int Count(std::string const &prefix) const
    {
        int n = 0;
        for (auto const &c : calls)
            n += c.rfind(prefix, 0) == 0;
        return n;
    }
    void Sort(int column, bool up) { OnSorted(column, up); }
};

// The texts of the rows, as the application keeps them.
class Model : public LinkHdl
{
public:
    std::function<std::string(int, int)> text = [](int i, int s) {
        return "Row " + std::to_string(i) + (s ? " col " + std::to_string(s) : "");
    };
    std::function<void(ListItemCallBackData &)> also;
    int asked = 0;
    __int64 Fill(void *p)
    {
        auto &d = *static_cast<ListItemCallBackData *>(p);
        ++asked;
        d.aText = SString(text(d.nItem, d.nSubItem).c_str());
        d.nImage = d.nItem % 3;
        if (also)
            also(d);
        return 0;
    }
};

// The parent counts the list's selection-change notices: one for all items
// (-1), or one per item.
class Parent : public WorkWindow
{
public:
    Parent() : WorkWindow(static_cast<CWnd *>(nullptr), 0) {}
    int allItems = 0, perItem = 0;
    bool ProcessNotifyMsg(unsigned __int64, __int64 lParam) override
    {
        auto const *lv = reinterpret_cast<NMLISTVIEW const *>(lParam);
        if (lv->hdr.code == LVN_ITEMCHANGED && (lv->uChanged & LVIF_STATE))
            ++(lv->iItem < 0 ? allItems : perItem);
        return false;
    }
};

class ListControlTest : public testing::Test
{
protected:
    void SetUp() override
    {
        KSInit();
        top = new Parent;
        top->SetPosSizePixel(Point(0, 0), Size(640, 480));
        top->Show();
        SetForegroundWindow(top->GetHWND());
        list = new Probe(top);
        list->SetPosSizePixel(Point(10, 10), Size(600, 400));
        list->SetDrawListItemHdl(Link(&model, &Model::Fill));
        list->ViewReport();
        list->InsertColumn(0, SString("Name"), 0, 150, -1);
        list->InsertColumn(1, SString("Size"), 0, 100, -1);
        list->InsertColumn(2, SString("Kind"), 0, 100, -1);
        list->SetItemCount(ROWS);
        list->Show();
        kstest::Pump();
    }
    void TearDown() override
    {
        delete list;
        delete top;
        KSExit();
    }
    CListCtrl &L() { return *list->GetPCListCtrl(); }
    std::string Text(int item, int sub, int buf = 260)
    {
        std::vector<char> b(size_t(buf) + 8, '#');
        L().GetItemText(item, sub, b.data(), buf);
        return b.data();
    }
    int Focused() { return L().GetNextItem(-1, LVNI_FOCUSED); }
    void ClickCell(int item, int sub, std::vector<WORD> keys = {}, DWORD down = MOUSEEVENTF_LEFTDOWN,
                   DWORD up = MOUSEEVENTF_LEFTUP, int times = 1)
    {
        CRectangle r = list->GetCellRect(item, sub);
        Point p = list->OutputToScreenPixel(Point(r.Left() + 10, (r.Top() + r.Bottom()) / 2));
        SetCursorPos(p.X(), p.Y());
        std::vector<INPUT> in;
        for (WORD k : keys)
            in.push_back(Key(k));
        for (int i = 0; i < times; ++i) {
            in.push_back(Mouse(down));
            in.push_back(Mouse(up));
        }
        for (WORD k : keys)
            in.push_back(Key(k, true));
        Send(in);
    }
    Parent *top = nullptr;
    Probe *list = nullptr;
    Model model;
};

} // namespace

TEST_F(ListControlTest, DataComesThroughTheLinkCutToTheBufferAndBadIndicesDoNothing)
{
    EXPECT_EQ(ROWS, list->GetItemCount());
    EXPECT_EQ(3, list->GetNColumns());
    EXPECT_EQ("Row 99999 col 2", Text(99999, 2));
    // A text of 10^5 characters into a buffer of 20: 19 of them and the end.
    model.text = [](int, int) { return std::string(100000, 'x'); };
    std::string const cut = Text(7, 0, 20);
    EXPECT_EQ(std::string(19, 'x'), cut);
    // Without a link: the item's number, and the column's.
    list->SetDrawListItemHdl(Link());
    EXPECT_EQ("No: 3", Text(3, 0));
    EXPECT_EQ("Sub: 1", Text(3, 1));

    for (int bad : {-1, ROWS, ROWS + 5}) {
        EXPECT_TRUE(list->GetItemRect(bad).IsEmpty());
        EXPECT_TRUE(list->GetCellRect(bad, 0).IsEmpty());
        EXPECT_FALSE(list->IsSelected(bad));
        EXPECT_FALSE(list->IsItemVisible(bad));
        EXPECT_EQ(-1, list->GetColumnOfXPos(bad, 5));
        list->Select(bad, false);
        list->RedrawItems(bad, bad);
        list->EnsureVisible(bad);
        list->SetTopIndex(bad);
        list->EditLabel(bad);
    }
    EXPECT_EQ(0, list->CountSelected());
    for (int bad : {-1, 3, 99}) {
        EXPECT_TRUE(list->GetCellRect(0, bad).IsEmpty());
        EXPECT_EQ(-1, list->SetColumnText(bad, SString("x")));
        EXPECT_EQ(-1, list->SetColumnWidth(bad, 10));
        list->DeleteColumn(bad);
    }
    EXPECT_EQ(-1, list->InsertColumn(-1, SString("x"), 0, 10, -1));
    EXPECT_EQ(-1, list->InsertColumn(9, SString("x"), 0, 10, -1));
    EXPECT_EQ(3, list->GetNColumns());

    // Geometry agrees with itself: the cell under a point is the one whose
    // rectangle holds it.
    for (int item : {0, 1, 5}) {
        for (int col = 0; col < 3; ++col) {
            CRectangle const r = list->GetCellRect(item, col);
            ASSERT_FALSE(r.IsEmpty());
            EXPECT_EQ(item, list->GetRowOfYPos((r.Top() + r.Bottom()) / 2));
            EXPECT_EQ(col, list->GetColumnOfXPos(item, (r.Left() + r.Right()) / 2));
            EXPECT_EQ(col, list->GetColumnIndexByXPixel((r.Left() + r.Right()) / 2));
        }
    }
    list->SetTopIndex(500);
    EXPECT_EQ(500, list->GetTopIndex());
    EXPECT_TRUE(list->IsItemVisible(500));
    EXPECT_FALSE(list->IsItemVisible(0));

    list->SetItemCount(-5);
    EXPECT_EQ(0, list->GetItemCount());
    EXPECT_TRUE(list->GetItemRect(0).IsEmpty());
    EXPECT_EQ(-1, list->GetSelected());
    EXPECT_EQ(0, list->SelectAll());

    // Tiles: without the platform's tile view, each label carries the
    // texts of the columns the link names, one per line.
    list->SetItemCount(ROWS);
    list->SetDrawListItemHdl(Link(&model, &Model::Fill));
    model.text = [](int i, int s) { return "Row " + std::to_string(i) + (s ? " col " + std::to_string(s) : ""); };
    model.also = [](ListItemCallBackData &d) { d.aColumns = {2, 1}; };
    list->ViewTile(0, 1);
    EXPECT_EQ(4, list->GetViewStyle());
    EXPECT_EQ("Row 8\r\nRow 8 col 2", Text(8, 0));
    model.also = nullptr;
    // The tool tip of an item is GetToolTipText's, cut to the buffer.
    list->EnableToolTips(100);
    EXPECT_TRUE(L().GetExtendedStyle() & LVS_EX_INFOTIP);
    char tip[6] = "";
    NMLVGETINFOTIPA ask{};
    ask.hdr.hwndFrom = list->GetHWND();
    ask.hdr.code = LVN_GETINFOTIPA;
    ask.pszText = tip;
    ask.cchTextMax = sizeof tip;
    ask.iItem = 42;
    SendMessageA(top->GetHWND(), WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&ask));
    EXPECT_STREQ("tip 4", tip);
    list->DisableToolTips();
    EXPECT_FALSE(L().GetExtendedStyle() & LVS_EX_INFOTIP);

    // Views: an unknown one is the report view; tiles keep their number.
    list->SetViewStyle(9);
    EXPECT_EQ(1, list->GetViewStyle());
    EXPECT_EQ(LONG_PTR(LVS_REPORT), GetWindowLongPtrA(list->GetHWND(), GWL_STYLE) & LVS_TYPEMASK);
    for (int v : {0, 2, 3, 4, 1}) {
        list->SetViewStyle(v);
        EXPECT_EQ(v, list->GetViewStyle());
    }
}

TEST_F(ListControlTest, SelectionTakesTheRightPath)
{
    list->SetItemCount(1000);
    list->Select(5, true);
    EXPECT_EQ(1, list->CountSelected());
    EXPECT_EQ(5, list->GetSelected());
    EXPECT_EQ(5, Focused());
    EXPECT_EQ(5, L().GetSelectionMark());
    EXPECT_EQ(1, list->Count("selected 5"));
    list->Select(9, false);
    int a = -1, b = -1;
    EXPECT_TRUE(list->GetTwoSelected(a, b));
    EXPECT_EQ(5, a);
    EXPECT_EQ(9, b);
    list->Select(-1, true);
    EXPECT_EQ(0, list->CountSelected());

    // 150 of 1000: one call for all items; 50 of 1000: one call each.
    for (int n : {150, 50}) {
        for (int i = 0; i < n; ++i)
            list->Select(i * 3, false);
        ASSERT_EQ(n, list->CountSelected());
        top->allItems = top->perItem = 0;
        list->ClearSelection();
        EXPECT_EQ(0, list->CountSelected());
        EXPECT_EQ(n > 100 ? 1 : 0, top->allItems) << n;
        EXPECT_EQ(n > 100 ? 0 : n, top->perItem) << n;
    }
    EXPECT_EQ(1000, list->SelectAll());
    EXPECT_TRUE(list->IsSelected(999));
}

TEST_F(ListControlTest, RealInputReachesTheVirtualOperations)
{
    // Clicks on cells, with the keys held.
    ClickCell(3, 1);
    ClickCell(4, 2, {VK_CONTROL});
    ClickCell(6, 0, {VK_SHIFT});
    EXPECT_EQ(1, list->Count("click 3 1 0"));
    EXPECT_EQ(1, list->Count("click 4 2 2"));
    EXPECT_EQ(1, list->Count("click 6 0 4"));
    ClickCell(2, 0, {}, MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP, 2);
    EXPECT_EQ(1, list->Count("dblclick 2"));
    // A right button press runs a drag-detect loop until it comes up: press
    // and release go in one call.
    ClickCell(5, 1, {}, MOUSEEVENTF_RIGHTDOWN, MOUSEEVENTF_RIGHTUP);
    EXPECT_EQ(1, list->Count("rclick 5 1"));
    CRectangle const cell = list->GetCellRect(5, 1);
    EXPECT_TRUE(cell.IsInside(list->lastPoint));

    // A header click.
    RECT h;
    GetWindowRect(L().GetHeaderCtrl()->m_hWnd, &h);
    SetCursorPos(h.left + 200, (h.top + h.bottom) / 2);
    Send({Mouse(MOUSEEVENTF_LEFTDOWN), Mouse(MOUSEEVENTF_LEFTUP)});
    EXPECT_EQ(1, list->Count("column 1"));

    // Keys move the focus through the 10^5 rows.
    list->Select(0, true);
    SetFocus(list->GetHWND());
    Send({Key(VK_DOWN), Key(VK_DOWN, true), Key(VK_DOWN), Key(VK_DOWN, true)});
    EXPECT_EQ(2, Focused());
    int const page = list->GetCountPerPage();
    Send({Key(VK_NEXT), Key(VK_NEXT, true)});
    EXPECT_GE(Focused(), page - 1);
    Send({Key(VK_END), Key(VK_END, true)});
    EXPECT_EQ(ROWS - 1, Focused());
    EXPECT_TRUE(list->IsItemVisible(ROWS - 1));

    // Typing: from the focused item on, case ignored; from the last item
    // the search wraps to the first.
    std::vector<std::string> names(ROWS, "zz");
    names[10] = "Cd";
    names[11] = "AB1";
    names[12] = "ab2";
    names[0] = "Start";
    model.text = [&names](int i, int s) { return s ? std::string("-") : names[size_t(i)]; };
    list->Select(10, true);
    Type("ab");
    EXPECT_EQ(11, Focused());
    Sleep(1100); // a new search
    list->Select(ROWS - 1, true);
    Type("s");
    EXPECT_EQ(0, Focused());
    Sleep(1100);
    list->EnableKeyInput(false);
    list->Select(10, true);
    Type("ab");
    EXPECT_EQ(10, Focused()) << "key input off: typing finds nothing";
    list->EnableKeyInput(true);

    // Label editing ended by Return and by Escape.
    list->EditLabel(11);
    kstest::Pump();
    Type("new");
    Send({Key(VK_RETURN), Key(VK_RETURN, true)});
    EXPECT_EQ(1, list->Count("edit 11"));
    EXPECT_EQ("new", list->edited);
    list->EditLabel(12);
    kstest::Pump();
    Send({Key(VK_ESCAPE), Key(VK_ESCAPE, true)});
    EXPECT_EQ(1, list->Count("edit 12"));
    EXPECT_TRUE(list->editNull);

    // A drag.
    CRectangle const r = list->GetCellRect(list->GetTopIndex() + 1, 0);
    Point const from = list->OutputToScreenPixel(Point(r.Left() + 10, r.Top() + 4));
    SetCursorPos(from.X(), from.Y());
    INPUT move = Mouse(MOUSEEVENTF_MOVE);
    move.mi.dx = 30;
    move.mi.dy = 30;
    Send({Mouse(MOUSEEVENTF_LEFTDOWN), move, move, Mouse(MOUSEEVENTF_LEFTUP)});
    EXPECT_EQ(1, list->Count("drag"));
}

TEST_F(ListControlTest, CustomDrawingStagesAndCellsOnlyWhileOn)
{
    int const item = list->GetTopIndex() + 2;
    HWND h = list->GetHWND();
    RedrawWindow(h, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    EXPECT_EQ(0, list->Count("prepaint") + list->Count("itemprepaint"));
    EXPECT_TRUE(list->cells.empty());

    // A cell the application paints green itself.
    list->drawCell = [item](HDC dc, int i, int s, CRectangle const &r) {
        if (i != item || s != 1)
            return false;
        RECT rc{r.Left(), r.Top(), r.Right() + 1, r.Bottom() + 1};
        HBRUSH b = CreateSolidBrush(RGB(0, 200, 0));
        FillRect(dc, &rc, b);
        DeleteObject(b);
        return true;
    };
    list->SetCustomDrawCells(true);
    RedrawWindow(h, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    EXPECT_EQ(1, list->Count("prepaint"));
    EXPECT_EQ(1, list->Count("postpaint"));
    EXPECT_GE(list->Count("itemprepaint"), list->GetCountPerPage());
    // Every cell it was asked about came with the cell's own rectangle.
    ASSERT_FALSE(list->cells.empty());
    for (size_t i = 0; i < list->cells.size(); ++i)
        EXPECT_EQ(list->GetCellRect(list->cells[i].first, list->cells[i].second), list->cellRects[i]);
    CRectangle const green = list->GetCellRect(item, 1);
    EXPECT_EQ(RGB(0, 200, 0), kstest::PixelOf(h, (green.Left() + green.Right()) / 2, (green.Top() + green.Bottom()) / 2));

    list->SetCustomDrawCells(false);
    list->calls.clear();
    list->cells.clear();
    RedrawWindow(h, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    EXPECT_EQ(0, list->Count("prepaint") + list->Count("itemprepaint"));
    EXPECT_TRUE(list->cells.empty());
    EXPECT_NE(RGB(0, 200, 0), kstest::PixelOf(h, (green.Left() + green.Right()) / 2, (green.Top() + green.Bottom()) / 2));
}

TEST_F(ListControlTest, ALinkMayReEnterAndAListMayDeleteItselfFromItsOwnCall)
{
    // The link asks the list about itself while it answers.
    model.also = [this](ListItemCallBackData &d) {
        list->RedrawItem(d.nItem);
        (void)list->GetItemRect(d.nItem);
        list->SetItemCount(list->GetItemCount());
    };
    model.asked = 0;
    RedrawWindow(list->GetHWND(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    kstest::Pump();
    EXPECT_EQ("Row 4 col 1", Text(4, 1));
    // The paint ends: nothing asks again once it is over.
    int const asked = model.asked;
    kstest::PumpFor(200);
    EXPECT_EQ(asked, model.asked);
    model.also = nullptr;

    // Deleted from its own click: hidden at once, gone after the
    // notification.
    HWND const h = list->GetHWND();
    list->onClick = [this](int) {
        delete list;
        list = nullptr;
    };
    ClickCell(1, 0);
    EXPECT_EQ(nullptr, list);
    EXPECT_FALSE(IsWindow(h) && IsWindowVisible(h));
    kstest::Pump();
    EXPECT_FALSE(IsWindow(h));
}

TEST_F(ListControlTest, HeaderShowsTheSortAndReportsRightClicks)
{
    struct Catcher : LinkHdl
    {
        int column = -2;
        __int64 On(void *p)
        {
            column = *static_cast<int *>(p);
            return 0;
        }
    } catcher;
    list->SetHeaderRightClickHdl(Link(&catcher, &Catcher::On));
    HWND header = L().GetHeaderCtrl()->m_hWnd;
    RECT item;
    Header_GetItemRect(header, 2, &item);
    // The arrow of the sorted column: pixels of the shadow colour near its
    // right edge, which an unsorted title does not have.
    auto arrowPixels = [&](int index) {
        RECT r;
        Header_GetItemRect(header, index, &r);
        int n = 0;
        RedrawWindow(header, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
        HDC dc = GetDC(header);
        for (int y = r.top; y < r.bottom; ++y)
            for (int x = r.right - 20; x < r.right - 2; ++x)
                n += GetPixel(dc, x, y) == GetSysColor(COLOR_BTNSHADOW);
        ReleaseDC(header, dc);
        return n;
    };
    int const before = arrowPixels(2);
    list->Sort(2, true);
    EXPECT_GT(arrowPixels(2), before + 10);
    list->Sort(-1, true);
    EXPECT_EQ(before, arrowPixels(2));

    POINT pt{(item.left + item.right) / 2, (item.top + item.bottom) / 2};
    ClientToScreen(header, &pt);
    SetCursorPos(pt.x, pt.y);
    Send({Mouse(MOUSEEVENTF_RIGHTDOWN), Mouse(MOUSEEVENTF_RIGHTUP)});
    EXPECT_EQ(2, catcher.column);
}

TEST_F(ListControlTest, ListsLeaveNothingBehind)
{
    auto cycle = [this] {
        Probe p(top);
        p.SetPosSizePixel(Point(0, 0), Size(200, 150));
        p.SetDrawListItemHdl(Link(&model, &Model::Fill));
        p.ViewReport();
        p.InsertColumn(0, SString("A"), 0, 80, -1);
        p.InsertColumn(1, SString("B"), 0, 80, -1);
        p.SetItemCount(50);
        p.Show();
        p.Select(3, true);
        UpdateWindow(p.GetHWND());
    };
    EXPECT_TRUE(kstest::NoGrowthOnceSettled({.batch = 200, .measured = 3}, cycle)); // 10^3 cycles at least
}
