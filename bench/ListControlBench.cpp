// The owner-data list against a raw owner-data list view doing the same work.
//   paging: 10^6 virtual rows in the report view, one page scrolled and
//     painted per step, each cell's text formatted on demand;
//   ClearSelection: all rows selected, then cleared, against one raw
//     LVM_SETITEMSTATE for all items; on 10^4 rows, since Wine's list view
//     takes about 54 s to select all of 10^6 owner-data rows.
#include "bench/BenchHarness.h"
#include "controls/ListControl.h"
#include "controls/ListItemCallBackData.h"
#include "frame/KSGlobal.h"
#include "mfc/CListCtrl.h"
#include "window/WorkWindow.h"

#include <commctrl.h>
#include <cstdio>

namespace {

int const ROWS = 1000000;

// The same text for both lists: what an application would format per cell.
void Format(char *buf, size_t n, int item, int sub)
{
    if (sub == 0)
        std::snprintf(buf, n, "Item %d", item);
    else
        std::snprintf(buf, n, "%d.%02d kB", item % 977, sub * 7 % 100);
}

LRESULT CALLBACK RawParent(HWND h, UINT m, WPARAM w, LPARAM l)
{
    if (m == WM_NOTIFY) {
        auto *info = reinterpret_cast<NMLVDISPINFOA *>(l);
        if (info->hdr.code == LVN_GETDISPINFOA && (info->item.mask & LVIF_TEXT) && info->item.pszText)
            Format(info->item.pszText, size_t(info->item.cchTextMax), info->item.iItem, info->item.iSubItem);
        return 0;
    }
    return DefWindowProcA(h, m, w, l);
}

class Texts : public LinkHdl
{
public:
    __int64 Fill(void *p)
    {
        auto &d = *static_cast<ListItemCallBackData *>(p);
        char buf[64];
        Format(buf, sizeof buf, d.nItem, d.nSubItem);
        d.aText = SString(buf);
        return 0;
    }
};

HWND RawList(HWND parent)
{
    HWND h = CreateWindowExA(0, WC_LISTVIEWA, "",
                             WS_CHILD | WS_VISIBLE | LVS_REPORT | LVS_OWNERDATA | LVS_SHOWSELALWAYS, 0, 0, 600, 500,
                             parent, nullptr, nullptr, nullptr);
    for (int c = 0; c < 3; ++c) {
        LVCOLUMNA col{};
        col.mask = LVCF_TEXT | LVCF_WIDTH;
        col.cx = 150;
        col.pszText = const_cast<char *>("Column");
        SendMessageA(h, LVM_INSERTCOLUMNA, WPARAM(c), LPARAM(&col));
    }
    SendMessageA(h, LVM_SETITEMCOUNT, ROWS, LVSICF_NOINVALIDATEALL);
    return h;
}

// One page down (back to the top after the last), painted at once.
void Page(HWND h)
{
    int const per = int(SendMessageA(h, LVM_GETCOUNTPERPAGE, 0, 0));
    RECT r{LVIR_BOUNDS, 0, 0, 0};
    SendMessageA(h, LVM_GETITEMRECT, 0, LPARAM(&r));
    int const rowHeight = r.bottom - r.top;
    int const top = int(SendMessageA(h, LVM_GETTOPINDEX, 0, 0));
    SendMessageA(h, LVM_SCROLL, 0, top + 2 * per >= ROWS ? -top * rowHeight : per * rowHeight);
    UpdateWindow(h);
}

} // namespace

int main()
{
    KSInit();
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_LISTVIEW_CLASSES};
    InitCommonControlsEx(&icc);
    WNDCLASSA wc{};
    wc.lpfnWndProc = RawParent;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "KestrelBenchRawParent";
    RegisterClassA(&wc);
    HWND rawParent = CreateWindowExA(0, wc.lpszClassName, "", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 640, 560,
                                     nullptr, nullptr, wc.hInstance, nullptr);
    HWND raw = RawList(rawParent);
    {
        WorkWindow top(static_cast<CWnd *>(nullptr), 0);
        top.SetPosSizePixel(Point(0, 0), Size(640, 560));
        top.Show();
        Texts texts;
        ListControl list(&top, 0);
        list.SetPosSizePixel(Point(0, 0), Size(600, 500));
        list.SetDrawListItemHdl(Link(&texts, &Texts::Fill));
        list.ViewReport();
        for (int c = 0; c < 3; ++c)
            list.InsertColumn(c, SString("Column"), 0, 150, -1);
        list.SetItemCount(ROWS);
        list.Show();
        HWND ours = list.GetHWND();
        bench::Compare("one page of 10^6 rows scrolled and painted", "raw owner data", 41, [&] { Page(raw); },
                       [&] { Page(ours); });

        int const selectRows = 10000;
        SendMessageA(raw, LVM_SETITEMCOUNT, selectRows, LVSICF_NOINVALIDATEALL);
        list.SetItemCount(selectRows);
        LVITEMA all{};
        all.stateMask = LVIS_SELECTED;
        auto rawClear = [&] {
            all.state = LVIS_SELECTED;
            SendMessageA(raw, LVM_SETITEMSTATE, WPARAM(-1), LPARAM(&all));
            all.state = 0;
            SendMessageA(raw, LVM_SETITEMSTATE, WPARAM(-1), LPARAM(&all));
        };
        auto ourClear = [&] {
            all.state = LVIS_SELECTED;
            SendMessageA(ours, LVM_SETITEMSTATE, WPARAM(-1), LPARAM(&all));
            list.ClearSelection();
        };
        bench::Compare("select all 10^4 rows, then clear", "LVM_SETITEMSTATE", 5, rawClear, ourClear);
    }
    DestroyWindow(rawParent);
    KSExit();
    return 0;
}
