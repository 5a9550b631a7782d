// ks-test: serial
// The tree whose items live in the application's model: a random model tree
// against the platform control's visible items under random expansion,
// collapse, selection and text changes; display answers cut to the buffer;
// every notification from real input; bad items, a tree deleted from its
// own handler, and leaks.
#include "controls/ColumnTreeControl.h"
#include "controls/ColumnTreeControlData.h"
#include "controls/MultiSelTreeControl.h"
#include "controls/TreeControl.h"
#include "controls/TreeControlData.h"
#include "controls/ZnTreeCtrl.h"
#include "mfc/CImageList.h"
#include "tests/support/WindowFixture.h"

#include <algorithm>
#include <functional>
#include <gtest/gtest.h>
#include <map>
#include <random>
#include <set>
#include <string>
#include <vector>

namespace {

using kstest::Key;
using kstest::Mouse;
using kstest::Send;
using kstest::Type;

// The application's tree: nodes by number, each item mapped to its node.
// Expand inserts the node's children, Collapse deletes them again.
class Model : public TreeControlData
{
public:
    struct Node
    {
        std::string text;
        int image = 0;
        int parent = -1;
        std::vector<int> kids;
    };
    std::vector<Node> nodes;
    std::vector<int> roots;
    std::map<HTREEITEM, int> nodeOf;
    std::vector<int> expands, collapses;
    int attaches = 0;
    std::function<void(HTREEITEM)> onText;

    int Add(std::string text, int parent)
    {
        Node n;
        n.text = std::move(text);
        n.image = int(nodes.size() % 5);
        n.parent = parent;
        nodes.push_back(n);
        int const id = int(nodes.size()) - 1;
        (parent < 0 ? roots : nodes[size_t(parent)].kids).push_back(id);
        expands.push_back(0);
        collapses.push_back(0);
        return id;
    }
    int Of(HTREEITEM h) const { return nodeOf.count(h) ? nodeOf.at(h) : -1; }
    HTREEITEM ItemOf(int node) const
    {
        for (auto const &[h, n] : nodeOf)
            if (n == node)
                return h;
        return nullptr;
    }
    void Attach(ZnTreeCtrl *) override
    {
        ++attaches;
        nodeOf.clear();
        for (int r : roots)
            nodeOf[InsertNode(nullptr, nullptr)] = r;
    }
    void Expand(HTREEITEM h) override
    {
        int const n = Of(h);
        if (n < 0)
            return;
        ++expands[size_t(n)];
        for (int k : nodes[size_t(n)].kids)
            nodeOf[InsertNode(h, nullptr)] = k;
    }
    void Forget(HTREEITEM h)
    {
        for (HTREEITEM c = m_pTreeCtrl->GetChildItem(h); c; c = m_pTreeCtrl->GetNextSiblingItem(c)) {
            Forget(c);
            nodeOf.erase(c);
        }
    }
    void Collapse(HTREEITEM h) override
    {
        int const n = Of(h);
        if (n < 0)
            return;
        ++collapses[size_t(n)];
        Forget(h);
        m_pTreeCtrl->DeleteAllChildren(h);
    }
    SString GetText(HTREEITEM h) override
    {
        if (onText)
            onText(h);
        return SString(Of(h) < 0 ? "?" : nodes[size_t(Of(h))].text.c_str());
    }
    int HasChildren(HTREEITEM h) override { return Of(h) >= 0 && !nodes[size_t(Of(h))].kids.empty(); }
    int GetImageInx(HTREEITEM h) override { return Of(h) < 0 ? -7 : nodes[size_t(Of(h))].image; }
    int GetSelectedImageInx(HTREEITEM h) override { return GetImageInx(h) + 10; }
};

// A tree that writes down what it is told.
class Probe : public TreeControl
{
public:
    std::multiset<std::string> calls;
    HTREEITEM lastItem = nullptr, lastSelected = nullptr;
    Point lastPoint;
    unsigned lastFlags = 0;
    std::string edited;
    bool editNull = false;
    std::function<void()> onClick;
    void Note(char const *what, HTREEITEM h, Point const &p = Point(), unsigned f = 0)
    {
        calls.insert(what), lastItem = h, lastPoint = p, lastFlags = f;
    }
    void OnItemLClick(HTREEITEM h, Point const &p, unsigned f) override
    {
        Note("click", h, p, f);
        if (onClick)
            onClick();
    }
    void OnItemDoubleClick(HTREEITEM h, unsigned f) override { Note("dblclick", h, Point(), f); }
    void OnItemRClick(HTREEITEM h, Point const &p, unsigned f) override { Note("rclick", h, p, f); }
    void OnSelectionChanged(HTREEITEM h) override { calls.insert("selected"), lastSelected = h; }
    void OnBeginDrag(HTREEITEM h, Point const &p) override { Note("drag", h, p); }
    void OnEndLabelEdit(HTREEITEM h, char *text) override
    {
        Note("edit", h);
        editNull = text == nullptr;
        edited = text ? text : "";
    }
    int Count(char const *what) const { return int(calls.count(what)); }
};

// The parent sees each display request before the tree answers it.
class Parent : public WorkWindow
{
public:
    Parent() : WorkWindow(static_cast<CWnd *>(nullptr), 0) {}
    int lastTextBuffer = 0;
    bool ProcessNotifyMsg(unsigned __int64, __int64 lParam) override
    {
        auto const *info = reinterpret_cast<NMTVDISPINFOA const *>(lParam);
        if ((info->hdr.code == TVN_GETDISPINFOA || info->hdr.code == TVN_GETDISPINFOW) &&
            (info->item.mask & TVIF_TEXT))
            lastTextBuffer = info->item.cchTextMax;
        return false;
    }
};

// A model tree of random shape: a few roots, up to four levels, zero to
// four children each.
void Grow(Model &m, std::mt19937 &rng, int parent, int depth)
{
    int const n = parent < 0 ? 3 + int(rng() % 4) : depth > 3 ? 0 : int(rng() % 5);
    for (int i = 0; i < n; ++i) {
        int const id = m.Add(std::string("n") + std::to_string(m.nodes.size()), parent);
        Grow(m, rng, id, depth + 1);
    }
}

class TreeControlTest : public testing::Test
{
protected:
    void SetUp() override
    {
        KSInit();
        top = new Parent;
        top->SetPosSizePixel(Point(0, 0), Size(400, 500));
        top->Show();
        SetForegroundWindow(top->GetHWND());
        tree = new Probe;
        ASSERT_TRUE(tree->Create(top, &model, 0));
        tree->SetPosSizePixel(Point(10, 10), Size(360, 460));
        tree->Show();
    }
    void TearDown() override
    {
        delete tree;
        delete top;
        KSExit();
    }
    ZnTreeCtrl &T() { return *tree->GetPCTreeCtrl(); }
    std::string Text(HTREEITEM h, int buf = 1000)
    {
        std::vector<char> b(size_t(buf) + 8, '#');
        TVITEMA item{};
        item.mask = TVIF_TEXT;
        item.hItem = h;
        item.pszText = b.data();
        item.cchTextMax = buf;
        if (!SendMessageA(tree->GetHWND(), TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item)))
            return "<no item>";
        return item.pszText == b.data() ? std::string(b.data()) : "<callback>";
    }
    TVITEMA Item(HTREEITEM h)
    {
        TVITEMA item{};
        item.mask = TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_CHILDREN;
        item.hItem = h;
        SendMessageA(tree->GetHWND(), TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item));
        return item;
    }
    // The centre of the item's label on the screen.
    Point LabelOnScreen(HTREEITEM h, TreeControl *in = nullptr)
    {
        in = in ? in : tree;
        RECT r{};
        EXPECT_TRUE(in->GetPCTreeCtrl()->GetItemRect(h, &r, true));
        return in->OutputToScreenPixel(Point((r.left + r.right) / 2, (r.top + r.bottom) / 2));
    }
    void ClickAt(Point p, DWORD down = MOUSEEVENTF_LEFTDOWN, DWORD up = MOUSEEVENTF_LEFTUP, int times = 1)
    {
        SetCursorPos(p.X(), p.Y());
        std::vector<INPUT> in;
        for (int i = 0; i < times; ++i) {
            in.push_back(Mouse(down));
            in.push_back(Mouse(up));
        }
        Send(in);
    }
    Parent *top = nullptr;
    Probe *tree = nullptr;
    Model model;
};

// What the platform control shows, item by item in visible order, must be
// what the model says: texts, images, buttons, expansion, parents.
std::string Compare(TreeControl &tree, Model &m, std::set<int> const &expanded,
                    std::function<std::string(HTREEITEM)> const &text, std::function<TVITEMA(HTREEITEM)> const &item)
{
    std::vector<int> want;
    std::function<void(int)> walk = [&](int n) {
        want.push_back(n);
        if (expanded.count(n))
            for (int k : m.nodes[size_t(n)].kids)
                walk(k);
    };
    for (int r : m.roots)
        walk(r);
    size_t i = 0;
    for (HTREEITEM h = tree.GetRootItem(); h; h = tree.GetNextVisible(h), ++i) {
        int const n = m.Of(h);
        if (i >= want.size())
            return "more items shown than the model has: " + text(h);
        if (n != want[i])
            return std::string("item ") + std::to_string(i) + std::string(" is node ") + std::to_string(n) + std::string(", not ") + std::to_string(want[i]);
        Model::Node const &node = m.nodes[size_t(n)];
        if (text(h) != node.text)
            return std::string("node ") + std::to_string(n) + " shows " + text(h) + ", not " + node.text;
        TVITEMA const it = item(h);
        if (it.iImage != node.image || it.iSelectedImage != node.image + 10)
            return std::string("images of node ") + std::to_string(n);
        if ((it.cChildren != 0) != !node.kids.empty())
            return std::string("button of node ") + std::to_string(n);
        if (tree.IsExpanded(h) != (expanded.count(n) > 0))
            return std::string("expansion of node ") + std::to_string(n);
        if (m.Of(tree.GetParentItem(h)) != node.parent)
            return std::string("parent of node ") + std::to_string(n);
        if (i > 0 && tree.GetPrevVisible(h) == nullptr)
            return std::string("no previous visible item before node ") + std::to_string(n);
    }
    if (i != want.size())
        return std::to_string(want.size() - i) + " items of the model are not shown";
    return "";
}

} // namespace

TEST_F(TreeControlTest, ARandomModelTreeIsShownThroughEveryExpansionCollapseAndSelection)
{
    for (unsigned seed : {1u, 2u, 3u}) {
        std::mt19937 rng(seed);
        model.nodes.clear();
        model.roots.clear();
        model.expands.clear();
        model.collapses.clear();
        Grow(model, rng, -1, 0);
        tree->ChangeTreeControlData(&model);
        std::set<int> expanded;
        int selected = -1;
        std::vector<int> expandsWanted(model.nodes.size()), collapsesWanted(model.nodes.size());
        auto text = [this](HTREEITEM h) { return Text(h); };
        auto item = [this](HTREEITEM h) { return Item(h); };
        ASSERT_EQ("", Compare(*tree, model, expanded, text, item));
        for (int step = 0; step < 150; ++step) {
            std::vector<HTREEITEM> shown;
            for (HTREEITEM h = tree->GetRootItem(); h; h = tree->GetNextVisible(h))
                shown.push_back(h);
            ASSERT_FALSE(shown.empty());
            HTREEITEM const h = shown[rng() % shown.size()];
            int const n = model.Of(h);
            bool const hasKids = !model.nodes[size_t(n)].kids.empty();
            std::string what;
            switch (rng() % 5) {
            case 0:
            case 1:
                what = "expand";
                EXPECT_EQ(hasKids, tree->Expand(h));
                if (hasKids && !expanded.count(n)) {
                    ++expandsWanted[size_t(n)];
                    expanded.insert(n);
                }
                break;
            case 2: {
                what = "collapse";
                EXPECT_TRUE(tree->Collapse(h));
                if (expanded.count(n)) {
                    ++collapsesWanted[size_t(n)];
                    // The children went, and with them their expansion and
                    // the selection, which goes to the collapsed item.
                    std::function<void(int)> drop = [&](int k) {
                        for (int c : model.nodes[size_t(k)].kids) {
                            expanded.erase(c);
                            if (selected == c)
                                selected = n;
                            drop(c);
                        }
                    };
                    drop(n);
                    expanded.erase(n);
                }
                break;
            }
            case 3:
                what = "select";
                EXPECT_TRUE(tree->Select(h));
                selected = n;
                break;
            default:
                what = "rename";
                model.nodes[size_t(n)].text = std::string("renamed ") + std::to_string(step);
                tree->UpdateItem(h);
                break;
            }
            ASSERT_EQ("", Compare(*tree, model, expanded, text, item))
                << "seed " << seed << " step " << step << ": " << what << " node " << n;
            ASSERT_EQ(selected, model.Of(tree->GetSelected())) << "seed " << seed << " step " << step;
            ASSERT_EQ(tree->GetSelected(), tree->GetFirstSelected());
            EXPECT_EQ(nullptr, tree->GetNextSelected(tree->GetSelected()));
            if (selected >= 0) {
                ASSERT_EQ(tree->GetSelected(), tree->lastSelected) << "the last change reported";
            }
        }
        EXPECT_EQ(expandsWanted, model.expands) << "one Expand per expansion, seed " << seed;
        EXPECT_EQ(collapsesWanted, model.collapses) << "one Collapse per collapse, seed " << seed;
        EXPECT_GT(std::count_if(expandsWanted.begin(), expandsWanted.end(), [](int c) { return c > 1; }), 0)
            << "some item was expanded again after a collapse";
    }
}

TEST_F(TreeControlTest, DisplayAnswersAreCutToTheBufferAndBadItemsDoNothing)
{
    int const a = model.Add("alpha", -1);
    int const b = model.Add("beta", -1);
    model.Add("beta child", b);
    tree->ChangeTreeControlData(&model);
    EXPECT_EQ(2, model.attaches);
    HTREEITEM ha = model.ItemOf(a), hb = model.ItemOf(b);
    ASSERT_NE(nullptr, ha);
    EXPECT_EQ(2u, tree->GetItemCount());

    // A text longer than the platform's buffer: the buffer's size less one.
    model.nodes[size_t(a)].text = std::string(5000, 'x');
    std::string const shown = Text(ha, 8000);
    ASSERT_GT(top->lastTextBuffer, 1);
    EXPECT_EQ(std::string(size_t(top->lastTextBuffer - 1), 'x'), shown);
    // And into a small buffer of the application's own, the same.
    model.nodes[size_t(b)].text = "bananas";
    char small[6] = "#####";
    NMTVDISPINFOA ask{};
    ask.hdr.hwndFrom = tree->GetHWND();
    ask.hdr.code = TVN_GETDISPINFOA;
    ask.item.mask = TVIF_TEXT | TVIF_CHILDREN | TVIF_IMAGE;
    ask.item.hItem = hb;
    ask.item.pszText = small;
    ask.item.cchTextMax = sizeof small;
    EXPECT_EQ(0, SendMessageA(top->GetHWND(), WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&ask)));
    EXPECT_STREQ("banan", small);
    EXPECT_EQ(1, ask.item.cChildren);
    EXPECT_EQ(model.nodes[size_t(b)].image, ask.item.iImage);
    // A text that fits is copied whole; the model is asked when the item
    // is drawn, not when it was inserted.
    model.nodes[size_t(b)].text = "be";
    EXPECT_EQ(0, SendMessageA(top->GetHWND(), WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&ask)));
    EXPECT_STREQ("be", small);
    int asked = 0;
    model.onText = [&asked](HTREEITEM) { ++asked; };
    RedrawWindow(tree->GetHWND(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    EXPECT_GE(asked, 2);
    model.onText = nullptr;

    // Drop highlight on and off, with no caret and on the caret item (Wine
    // ignores the platform's own calls in both cases).
    for (HTREEITEM caret : {HTREEITEM(nullptr), hb}) {
        tree->Select(caret);
        EXPECT_TRUE(tree->SetDropHighlight(ha));
        EXPECT_TRUE(T().GetItemState(ha, TVIS_DROPHILITED));
        EXPECT_TRUE(tree->SetDropHighlight(hb));
        EXPECT_FALSE(T().GetItemState(ha, TVIS_DROPHILITED)) << "one drop target at a time";
        EXPECT_TRUE(T().GetItemState(hb, TVIS_DROPHILITED));
        tree->ClearDropHighlight();
        EXPECT_FALSE(T().GetItemState(hb, TVIS_DROPHILITED));
        EXPECT_FALSE(T().GetItemState(ha, TVIS_DROPHILITED));
    }
    tree->Select(nullptr);

    // Styles: label editing on and off; the image-list flag.
    tree->SetCanEditLabels(true);
    EXPECT_TRUE(T().GetStyle() & TVS_EDITLABELS);
    tree->SetCanEditLabels(false);
    EXPECT_FALSE(T().GetStyle() & TVS_EDITLABELS);
    EXPECT_FALSE(T().GetStyle() & TVS_TRACKSELECT);
    EXPECT_TRUE((T().GetStyle() & 0x7) == 0x7);
    CImageList images;
    images.Create(16, 16, ILC_COLOR32 | ILC_MASK, 0, 4);
    tree->SetImageList(&images);
    EXPECT_TRUE(tree->HasImageList());
    EXPECT_EQ(images.GetSafeHandle(), T().GetImageList(TVSIL_NORMAL));
    tree->SetImageList(nullptr);
    EXPECT_FALSE(tree->HasImageList());
    EXPECT_EQ(nullptr, T().GetImageList(TVSIL_NORMAL));

    // Scrolled so that an item is first.
    for (int i = 0; i < 60; ++i)
        model.Add(std::string("more ") + std::to_string(i), -1);
    tree->ChangeTreeControlData(&model);
    HTREEITEM const h10 = model.ItemOf(10);
    EXPECT_TRUE(tree->SelectSetFirstVisible(h10));
    EXPECT_EQ(h10, tree->GetFirstVisible());
    ha = model.ItemOf(a);
    hb = model.ItemOf(b);

    // Bad and stale items: nothing happens, nothing is asked of the model.
    HTREEITEM const gone = model.ItemOf(5);
    EXPECT_TRUE(model.RemoveNode(gone));
    EXPECT_FALSE(model.RemoveNode(gone));
    EXPECT_FALSE(model.RemoveNode(nullptr));
    unsigned const count = tree->GetItemCount();
    int const expandsBefore = model.expands[5];
    for (HTREEITEM bad : {HTREEITEM(nullptr), gone}) {
        EXPECT_EQ(nullptr, tree->GetNextSibling(bad));
        EXPECT_EQ(nullptr, tree->GetPrevSibling(bad));
        EXPECT_EQ(nullptr, tree->GetParentItem(bad));
        EXPECT_EQ(nullptr, tree->GetNextVisible(bad));
        EXPECT_EQ(nullptr, tree->GetPrevVisible(bad));
        EXPECT_EQ(nullptr, tree->GetChildItem(bad));
        EXPECT_FALSE(tree->IsExpanded(bad));
        EXPECT_FALSE(tree->Expand(bad));
        EXPECT_FALSE(tree->Collapse(bad));
        EXPECT_FALSE(tree->SelectSetFirstVisible(bad));
        EXPECT_FALSE(tree->SetDropHighlight(bad));
        EXPECT_FALSE(tree->EnsureVisible(bad));
        EXPECT_FALSE(tree->EditLabel(bad));
        tree->UpdateItem(bad);
        T().DeleteAllChildren(bad);
        EXPECT_FALSE(T().HasVisibleChild(bad));
    }
    EXPECT_FALSE(tree->Select(gone));
    EXPECT_EQ(count, tree->GetItemCount());
    EXPECT_EQ(expandsBefore, model.expands[5]);
    // An item without children is not expanded, and its model not asked to.
    EXPECT_FALSE(tree->Expand(ha));
    EXPECT_EQ(0, model.expands[size_t(a)]);
    EXPECT_TRUE(tree->Expand(hb));
    EXPECT_TRUE(T().HasVisibleChild(hb));
    EXPECT_TRUE(tree->Expand(hb)) << "already expanded";
    EXPECT_EQ(1, model.expands[size_t(b)]);

    // Selection: cleared by SelectAll(false) and by Select(null).
    EXPECT_TRUE(tree->Select(hb));
    tree->SelectAll(true);
    EXPECT_EQ(hb, tree->GetSelected());
    tree->SelectAll(false);
    EXPECT_EQ(nullptr, tree->GetSelected());

    // Without a model: no items, nothing asked; another model: its items.
    Model other;
    other.Add("other", -1);
    tree->ChangeTreeControlData(nullptr);
    EXPECT_EQ(0u, tree->GetItemCount());
    EXPECT_EQ(nullptr, model.GetPZnTreeCtrl());
    EXPECT_EQ(nullptr, model.InsertNode(nullptr, nullptr)) << "a model attached to no tree inserts nothing";
    tree->ChangeTreeControlData(&other);
    EXPECT_EQ(1u, tree->GetItemCount());
    EXPECT_EQ("other", Text(tree->GetRootItem()));

    // A second Create fails; so does one without a parent.
    EXPECT_FALSE(tree->Create(top, &model, 0));
    {
        TreeControl orphan;
        EXPECT_FALSE(orphan.Create(nullptr, &model, 0));
        EXPECT_EQ(nullptr, orphan.GetRootItem());
        EXPECT_FALSE(orphan.Expand(nullptr));
    }
    // The tree-tracking style bit, and the model after its tree is gone.
    {
        Probe tracked;
        ASSERT_TRUE(tracked.Create(top, &model, 0x100000));
        EXPECT_EQ(unsigned(TVS_SHOWSELALWAYS | TVS_TRACKSELECT),
                  tracked.GetPCTreeCtrl()->GetStyle() & (TVS_SHOWSELALWAYS | TVS_TRACKSELECT));
        EXPECT_FALSE(model.GetIsInDestructor());
    }
    EXPECT_TRUE(model.GetIsInDestructor());
    EXPECT_EQ(nullptr, model.GetPZnTreeCtrl());
    EXPECT_EQ(nullptr, model.InsertNode(nullptr, nullptr));
}

TEST_F(TreeControlTest, RealInputReachesTheVirtualOperationsAndTheModel)
{
    int const a = model.Add("apple", -1);
    int const b = model.Add("banana", -1);
    int const b1 = model.Add("banana leaf", b);
    model.Add("cherry", -1);
    tree->ChangeTreeControlData(&model);
    kstest::Pump();
    HTREEITEM const ha = model.ItemOf(a), hb = model.ItemOf(b);

    // A click on a label: the item, its point, the label flag; it selects.
    ClickAt(LabelOnScreen(ha));
    ASSERT_EQ(1, tree->Count("click"));
    EXPECT_EQ(ha, tree->lastItem);
    EXPECT_TRUE(tree->lastFlags & TVHT_ONITEMLABEL);
    RECT r;
    T().GetItemRect(ha, &r, false);
    EXPECT_TRUE(CRectangle(r.left, r.top, r.right - 1, r.bottom - 1).IsInside(tree->lastPoint));
    EXPECT_EQ(ha, tree->lastSelected);
    EXPECT_EQ(ha, tree->GetSelected());
    // On empty space: no item.
    ClickAt(tree->OutputToScreenPixel(Point(150, 400)));
    EXPECT_EQ(2, tree->Count("click"));
    EXPECT_EQ(nullptr, tree->lastItem);
    EXPECT_TRUE(tree->lastFlags & TVHT_NOWHERE);

    // The button: expand, collapse, and expand again, each told once.
    RECT label;
    T().GetItemRect(hb, &label, true);
    int const indent = int(SendMessageA(tree->GetHWND(), TVM_GETINDENT, 0, 0));
    Point const onButton = tree->OutputToScreenPixel(Point(label.left - indent / 2, (label.top + label.bottom) / 2));
    for (int i = 1; i <= 3; ++i) {
        ClickAt(onButton);
        bool const open = i % 2 == 1;
        EXPECT_EQ(open, tree->IsExpanded(hb)) << i;
        EXPECT_EQ((i + 1) / 2, model.expands[size_t(b)]) << i;
        EXPECT_EQ(i / 2, model.collapses[size_t(b)]) << i;
        EXPECT_EQ(open, model.ItemOf(b1) != nullptr) << i;
    }
    // A double click on a label: reported, and the item toggles. (Quick
    // clicks on the button were double clicks too.)
    Sleep(GetDoubleClickTime() + 50);
    int const doubles = tree->Count("dblclick");
    ClickAt(LabelOnScreen(hb), MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP, 2);
    EXPECT_EQ(doubles + 1, tree->Count("dblclick"));
    EXPECT_EQ(hb, tree->lastItem);
    EXPECT_FALSE(tree->IsExpanded(hb));
    EXPECT_EQ(2, model.collapses[size_t(b)]);

    // A right click.
    ClickAt(LabelOnScreen(hb), MOUSEEVENTF_RIGHTDOWN, MOUSEEVENTF_RIGHTUP);
    EXPECT_EQ(1, tree->Count("rclick"));
    EXPECT_EQ(hb, tree->lastItem);

    // A drag from a label.
    Point const from = LabelOnScreen(ha);
    SetCursorPos(from.X(), from.Y());
    // Along the row: the item under the pointer when the drag begins is
    // still the one it began on.
    Send({Mouse(MOUSEEVENTF_LEFTDOWN), Mouse(MOUSEEVENTF_MOVE, 10, 0), Mouse(MOUSEEVENTF_MOVE, 10, 0),
          Mouse(MOUSEEVENTF_LEFTUP)});
    EXPECT_EQ(1, tree->Count("drag"));
    EXPECT_EQ(ha, tree->lastItem);

    // Label edits, though labels are not editable: Return hands the text
    // over (the model takes it), Escape hands null; the style goes again.
    ASSERT_TRUE(tree->EditLabel(ha));
    kstest::Pump();
    Type("pear");
    Send({Key(VK_RETURN), Key(VK_RETURN, true)});
    EXPECT_EQ(1, tree->Count("edit"));
    EXPECT_EQ("pear", tree->edited);
    EXPECT_FALSE(T().GetStyle() & TVS_EDITLABELS);
    EXPECT_EQ("apple", Text(ha)) << "the label shows the model's text";
    ASSERT_TRUE(tree->EditLabel(ha));
    kstest::Pump();
    Type("plum");
    Send({Key(VK_ESCAPE), Key(VK_ESCAPE, true)});
    EXPECT_EQ(2, tree->Count("edit"));
    EXPECT_TRUE(tree->editNull);
}

TEST_F(TreeControlTest, ATreeMayBeDeletedFromItsOwnHandlerOrItsModel)
{
    int const a = model.Add("one", -1);
    int const b = model.Add("two", -1);
    model.Add("two's child", b);
    tree->ChangeTreeControlData(&model);
    kstest::Pump();
    HWND h = tree->GetHWND();
    tree->onClick = [this] {
        delete tree;
        tree = nullptr;
    };
    ClickAt(LabelOnScreen(model.ItemOf(a)));
    ASSERT_EQ(nullptr, tree);
    EXPECT_FALSE(IsWindow(h) && IsWindowVisible(h));
    kstest::Pump();
    EXPECT_FALSE(IsWindow(h));
    EXPECT_TRUE(model.GetIsInDestructor());

    // From inside the model's Expand, while the tree expands the item.
    tree = new Probe;
    ASSERT_TRUE(tree->Create(top, &model, 0));
    tree->Show();
    h = tree->GetHWND();
    struct Deleting : Model
    {
        Probe **tree = nullptr;
        void Expand(HTREEITEM) override
        {
            delete *tree;
            *tree = nullptr;
        }
    } deleting;
    deleting.nodes = model.nodes;
    deleting.roots = model.roots;
    deleting.tree = &tree;
    tree->ChangeTreeControlData(&deleting);
    Probe *const before = tree;
    EXPECT_FALSE(before->Expand(deleting.ItemOf(b)));
    EXPECT_EQ(nullptr, tree);
    kstest::Pump();
    EXPECT_FALSE(IsWindow(h));
}

TEST_F(TreeControlTest, AMultiSelectionTreeSelectsByClickControlShiftAndKeys)
{
    for (int i = 0; i < 8; ++i)
        model.Add(std::string("item ") + std::to_string(i), -1);
    model.Add("child", 7);
    tree->Hide();
    auto *multi = new MultiSelTreeControl;
    ASSERT_TRUE(multi->Create(top, &model, 0));
    multi->SetPosSizePixel(Point(10, 10), Size(360, 460));
    multi->Show();
    kstest::Pump();
    // The selection by both walks: they agree, in tree order.
    auto selected = [&] {
        std::vector<int> walk, all;
        for (HTREEITEM h = multi->GetFirstSelected(); h; h = multi->GetNextSelected(h))
            walk.push_back(model.Of(h));
        for (HTREEITEM h : multi->GetSelection())
            all.push_back(model.Of(h));
        EXPECT_EQ(walk, all);
        return walk;
    };
    auto click = [&](int n, std::vector<WORD> keys = {}) {
        Point const p = LabelOnScreen(model.ItemOf(n), multi);
        SetCursorPos(p.X(), p.Y());
        std::vector<INPUT> in;
        for (WORD k : keys)
            in.push_back(Key(k));
        in.push_back(Mouse(MOUSEEVENTF_LEFTDOWN));
        in.push_back(Mouse(MOUSEEVENTF_LEFTUP));
        for (WORD k : keys)
            in.push_back(Key(k, true));
        Send(in);
    };
    using V = std::vector<int>;
    click(2);
    EXPECT_EQ(V({2}), selected());
    click(5, {VK_CONTROL});
    EXPECT_EQ(V({2, 5}), selected());
    click(2, {VK_CONTROL});
    EXPECT_EQ(V({5}), selected());
    click(6, {VK_SHIFT});
    EXPECT_EQ(V({2, 3, 4, 5, 6}), selected()) << "from the anchor, the last Control click";
    Sleep(GetDoubleClickTime() + 50);
    click(0);
    EXPECT_EQ(V({0}), selected());
    Send({Key(VK_SHIFT), Key(VK_DOWN), Key(VK_DOWN, true), Key(VK_DOWN), Key(VK_DOWN, true), Key(VK_SHIFT, true)});
    EXPECT_EQ(V({0, 1, 2}), selected());
    Send({Key(VK_DOWN), Key(VK_DOWN, true)});
    EXPECT_EQ(V({3}), selected());
    // A selected item inside a collapsed branch counts in tree order; its
    // deletion (the collapse) takes it out.
    HTREEITEM const h7 = model.ItemOf(7);
    EXPECT_TRUE(multi->Expand(h7));
    EXPECT_TRUE(multi->SetItemSelected(model.ItemOf(8), true));
    EXPECT_EQ(V({3, 8}), selected());
    EXPECT_TRUE(multi->Collapse(h7));
    EXPECT_EQ(V({3}), selected());
    Send({Key(VK_CONTROL), Key('A'), Key('A', true), Key(VK_CONTROL, true)});
    EXPECT_EQ(V({0, 1, 2, 3, 4, 5, 6, 7}), selected());
    multi->SelectAll(false);
    EXPECT_EQ(V(), selected());
    multi->SelectAll(true);
    EXPECT_EQ(8u, multi->GetSelection().size());
    EXPECT_TRUE(multi->SetItemSelected(model.ItemOf(4), false));
    EXPECT_FALSE(multi->IsSelected(model.ItemOf(4)));
    EXPECT_FALSE(multi->SetItemSelected(nullptr, true));
    EXPECT_EQ(nullptr, multi->GetNextSelected(nullptr));
    delete multi;
}

TEST_F(TreeControlTest, AColumnTreeDrawsTheModelsColumnTextsUnderItsHeader)
{
    // Five rows; the column texts come from the model and are written down.
    struct Rows : ColumnTreeControlData
    {
        std::map<HTREEITEM, int> row;
        std::set<std::pair<int, int>> asked;
        bool blank = false;
        void Attach(ZnTreeCtrl *) override
        {
            for (int i = 0; i < 5; ++i)
                row[InsertNode(nullptr, nullptr)] = i;
        }
        void Expand(HTREEITEM) override {}
        void Collapse(HTREEITEM) override {}
        SString GetText(HTREEITEM h) override { return SString(("row " + std::to_string(row[h])).c_str()); }
        int HasChildren(HTREEITEM) override { return 0; }
        SString GetColumnText(HTREEITEM h, int c) override
        {
            asked.insert({row[h], c});
            return SString(blank ? "" : "WWWWWWWWWW");
        }
    } rows;
    tree->Hide();
    auto *columns = new ColumnTreeControl;
    ASSERT_TRUE(columns->Create(top, &rows, 0));
    EXPECT_EQ(0, columns->InsertColumn(0, SString("Name"), 120));
    EXPECT_EQ(1, columns->InsertColumn(1, SString("Size"), 90));
    EXPECT_EQ(2, columns->InsertColumn(2, SString("Kind"), -1));
    EXPECT_EQ(-1, columns->InsertColumn(9, SString("Bad"), 10));
    EXPECT_EQ(3, columns->GetNColumns());
    columns->SetPosSizePixel(Point(10, 10), Size(360, 300));
    columns->Show();
    kstest::Pump();
    HWND const header = columns->GetHeaderHWND();
    HWND const h = columns->GetHWND();
    // The header stands on the strip above the rows, as wide as they are,
    // and follows the tree.
    auto placed = [&] {
        RECT hr, client;
        GetWindowRect(header, &hr);
        GetClientRect(h, &client);
        POINT corner{0, 0};
        ClientToScreen(h, &corner);
        RECT wr;
        GetWindowRect(h, &wr);
        EXPECT_EQ(wr.top, hr.top) << "inside the tree's own rectangle, not over its rows or above it";
        EXPECT_EQ(corner.y, hr.bottom);
        EXPECT_EQ(corner.x, hr.left);
        EXPECT_EQ(client.right, hr.right - hr.left);
        EXPECT_GT(hr.bottom - hr.top, 5);
        EXPECT_TRUE(IsWindowVisible(header));
    };
    placed();
    columns->SetPosSizePixel(Point(30, 50), Size(300, 250));
    placed();
    int left = 0, right = 0;
    EXPECT_TRUE(columns->GetColumnExtent(2, left, right));
    EXPECT_EQ(210, left);
    EXPECT_EQ(310, right);
    EXPECT_FALSE(columns->GetColumnExtent(3, left, right));

    // Every row shown was asked for its texts in columns 1 and 2, which
    // are drawn in their columns.
    auto ink = [&](int column) {
        int l = 0, r = 0;
        columns->GetColumnExtent(column, l, r);
        RECT row;
        columns->GetPCTreeCtrl()->GetItemRect(columns->GetRootItem(), &row, false);
        int dark = 0;
        kstest::ScanClient(h, [&](int x, int y, COLORREF c) {
            if (x >= l && x < r && y >= row.top && y < row.bottom)
                dark += GetRValue(c) + GetGValue(c) + GetBValue(c) < 200;
        });
        return dark;
    };
    rows.asked.clear();
    EXPECT_GT(ink(1), 10);
    EXPECT_GT(ink(2), 10);
    for (int r = 0; r < 5; ++r)
        for (int c : {1, 2})
            EXPECT_TRUE(rows.asked.count({r, c})) << r << " " << c;
    rows.blank = true;
    EXPECT_EQ(0, ink(1));
    EXPECT_EQ(0, ink(2));

    columns->Hide();
    kstest::Pump();
    EXPECT_FALSE(IsWindowVisible(header));
    delete columns;
    EXPECT_FALSE(IsWindow(header));
}

TEST_F(TreeControlTest, TreesLeaveNothingBehind)
{
    int const b = model.Add("b", -1);
    for (int i = 0; i < 5; ++i)
        model.Add(std::string("b") + std::to_string(i), b);
    model.Add("c", -1);
    auto cycle = [this, b] {
        Probe t;
        t.Create(top, &model, 0x100000);
        t.SetPosSizePixel(Point(0, 0), Size(200, 150));
        t.Show();
        HTREEITEM const hb = model.ItemOf(b);
        t.Expand(hb);
        t.Select(t.GetChildItem(hb));
        UpdateWindow(t.GetHWND());
        t.Collapse(hb);
        t.SetDropHighlight(hb);
    };
    EXPECT_TRUE(kstest::NoGrowthOnceSettled({.batch = 100, .measured = 3}, cycle));
}
