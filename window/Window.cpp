#include "window/Window.h"

#include "frame/KSData.h"
#include "frame/KSGlobal.h"
#include "controls/ToolTip.h"
#include "graphics/Bitmap.h"
#include "frame/WinMsgRouter.h"
#include "graphics/DCManager.h"
#include "graphics/RectGradient.h"
#include "mfc/AfxWin.h"
#include "mfc/CBrush.h"
#include "mfc/CWnd.h"
#include "docking/ZnDockParentWnd.h"
#include "docking/ZnDockablePane.h"
#include "window/KeyEvent.h"
#include "window/MouseEvent.h"

#include <commctrl.h>

int Window::m_nCtrlId = 10000;
int Window::nWait = 0;
HCURSOR Window::hNonWaitCursor = nullptr;

namespace {

// System cursors are shared and never freed, so each is loaded once
// (loading one is slow on some platforms).
HCURSOR ArrowCursor()
{
    static HCURSOR const c = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    return c;
}

HCURSOR WaitCursor()
{
    static HCURSOR const c = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_WAIT));
    return c;
}

// The library's style bits and the platform styles each one adds.
struct StyleBit
{
    int lib;
    unsigned long platform;
};
StyleBit const s_aStyleTable[] = {
    {0x00001, 0x00800000}, {0x00010, 0x00040000}, {0x00020, 0x00C00000}, {0x00040, 0x00030000},
    {0x00100, 0x00080000}, {0x10000, 0x1400},     {0x20000, 0x4100},     {0x40000, 0x2800},
    {0x80000, 0x8200},
};

unsigned short VirtualKeyToCode(unsigned vk)
{
    switch (vk) {
    case 0x08: return KEY_BACKSPACE;
    case 0x09: return KEY_TAB;
    case 0x0D: return KEY_RETURN;
    case 0x1B: return KEY_ESCAPE;
    case 0x20: return KEY_SPACE;
    case 0x21: return KEY_PAGEUP;
    case 0x22: return KEY_PAGEDOWN;
    case 0x23: return KEY_END;
    case 0x24: return KEY_HOME;
    case 0x25: return KEY_LEFT;
    case 0x26: return KEY_UP;
    case 0x27: return KEY_RIGHT;
    case 0x28: return KEY_DOWN;
    case 0x2D: return KEY_INSERT;
    case 0x2E: return KEY_DELETE;
    case 0x6A: return KEY_MULTIPLY;
    case 0x6B: return KEY_ADD;
    case 0x6C: return KEY_COMMA;
    case 0x6D: return KEY_SUBTRACT;
    case 0x6E: return KEY_POINT;
    case 0x6F: return KEY_DIVIDE;
    default: break;
    }
    if (vk >= 0x30 && vk <= 0x39)
        return static_cast<unsigned short>(KEY_0 + (vk - 0x30));
    if (vk >= 0x41 && vk <= 0x5A)
        return static_cast<unsigned short>(KEY_A + (vk - 0x41));
    if (vk >= 0x60 && vk <= 0x69)
        return static_cast<unsigned short>(KEY_0 + (vk - 0x60));
    if (vk >= 0x70 && vk <= 0x87)
        return static_cast<unsigned short>(KEY_F1 + (vk - 0x70));
    return 0;
}

// Keys above the table: the layout decides which virtual key types "+",
// "-", … so they are compared with what start-up recorded.
unsigned short LayoutKeyToCode(unsigned vk)
{
    KSData *data = GetPKSData();
    if (!data)
        return 0;
    for (int i = 0; i < KSData::KEY_CHAR_CODES; ++i) {
        if ((data->m_aKeyCharCodes[i] & 0xFF) == vk)
            return static_cast<unsigned short>(i < 9 ? KEY_ADD + i : KEY_OEM_B0 + (i - 9));
    }
    return 0;
}

unsigned short CharToCode(unsigned c)
{
    if (c >= '0' && c <= '9')
        return static_cast<unsigned short>(KEY_0 + (c - '0'));
    if (c >= 'A' && c <= 'Z')
        return static_cast<unsigned short>(KEY_A + (c - 'A'));
    if (c >= 'a' && c <= 'z')
        return static_cast<unsigned short>(KEY_A + (c - 'a'));
    switch (c) {
    case 13: return KEY_RETURN;
    case 27: return KEY_ESCAPE;
    case 9: return KEY_TAB;
    case 8: return KEY_BACKSPACE;
    case ' ': return KEY_SPACE;
    default: return 0;
    }
}

unsigned short MessageButton(unsigned int nMsg)
{
    switch (nMsg) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_LBUTTONDBLCLK:
        return MOUSE_LEFT;
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
    case WM_RBUTTONDBLCLK:
        return MOUSE_RIGHT;
    case WM_MBUTTONDOWN:
    case WM_MBUTTONUP:
    case WM_MBUTTONDBLCLK:
        return MOUSE_MIDDLE;
    default:
        return 0;
    }
}

unsigned short Repeat(__int64 lParam)
{
    return static_cast<unsigned short>(static_cast<unsigned short>(lParam & 0xFFFF) - 1);
}

} // namespace

// ------------------------------------------------------------ construction

Window::Window()
    : m_nWinImpType(0), m_pCWnd(nullptr), m_pParent(nullptr), m_pToolTip(nullptr), m_nShowCmd(SW_SHOW),
      m_bOwnsCWnd(false), m_bResizeMarker(false), m_bNoUpdate(false), m_bGrabFocusOnMBDown(false),
      m_hTheme(nullptr), m_pOldWndProc(nullptr), m_hCursor(nullptr), m_pMouseEvent(nullptr),
      m_pDropTarget(nullptr), m_bDropEnabled(false), m_bRegistered(false), m_bVisible(false), m_bAlignBGBMP(false),
      m_bInitialised(false)
{
}

Window::Window(CWnd *pParentWnd, int nStyle, int nWinImpType) : Window()
{
    InitWindow(pParentWnd, nStyle, nWinImpType);
}

Window::Window(Window *pParent, int nStyle, int nWinImpType) : Window()
{
    m_pParent = pParent;
    InitWindow(pParent ? pParent->m_pCWnd : nullptr, nStyle, nWinImpType);
    if (pParent)
        m_bGrabFocusOnMBDown = pParent->m_bGrabFocusOnMBDown;
}

void Window::InitWindow(CWnd *pParentWnd, int nStyle, int nWinImpType)
{
    m_bResizeMarker = m_bNoUpdate = m_bDropEnabled = m_bVisible = m_bAlignBGBMP = false;
    m_hTheme = nullptr;
    m_pToolTip = nullptr;
    m_pMouseEvent = new MouseEvent(this);
    CreateNewWindow(nWinImpType);
    m_bOwnsCWnd = true;
    CreateWin(pParentWnd, nStyle, nWinImpType);
    m_bInitialised = true;
    if (WinMsgRouter *router = GlGetPWinMsgRouter())
        router->AddWindow(this);
    m_bRegistered = true;
    m_hCursor = ArrowCursor();
    m_bVisible = false;
    m_nShowCmd = SW_SHOW;
    m_nWinImpType = nWinImpType;
}

namespace {

// The dock parent window a parent Window stands for, or null.
ZnDockParentWnd *DockParentOf(Window const *pParent)
{
    return pParent ? dynamic_cast<ZnDockParentWnd *>(pParent->GetPCWnd()) : nullptr;
}

int s_nPaneCounter = 0;

} // namespace

void Window::CreateNewWindow(int nWinImpType)
{
    if (nWinImpType & 0x400000)
        m_pCWnd = new ZnDockablePane(DockParentOf(m_pParent));
    else if (nWinImpType & 0x800000)
        m_pCWnd = new ZnDockParentWnd;
    else
        m_pCWnd = new CWnd;
}

unsigned long Window::TranslateWinStyles(unsigned long dwStyle, int nStyle)
{
    for (StyleBit const &b : s_aStyleTable)
        if (nStyle & b.lib)
            dwStyle |= b.platform;
    return dwStyle;
}

void Window::CreateWin(CWnd *pParentWnd, int nStyle, int nWinImpType)
{
    unsigned long style;
    unsigned long exStyle = 0;
    switch (nWinImpType) {
    case 2:
        style = WS_OVERLAPPEDWINDOW;
        break;
    case 0x8000:
        style = WS_CAPTION;
        exStyle = WS_EX_TOOLWINDOW;
        break;
    case 0x200000:
        // A top-level window that tells nobody about its children: a popup.
        style = WS_POPUP;
        exStyle = WS_EX_NOPARENTNOTIFY;
        break;
    default:
        style = WS_CHILD;
        break;
    }
    if (nWinImpType & 0x400000) {
        // A docking pane: its own window class and caption, a counter as its
        // identifier, the side bits in its style's low word.
        auto *pane = static_cast<ZnDockablePane *>(m_pCWnd);
        unsigned long paneStyle = TranslateWinStyles(0, nStyle);
        if (!(paneStyle & 0xF000))
            paneStyle |= 0x2000;
        paneStyle |= 0x50001400;
        ++s_nPaneCounter;
        pane->Create("", pParentWnd, CRect(0, 0, 350, 250), !(nStyle & 0x200000), unsigned(s_nPaneCounter),
                     paneStyle, 64, 15);
        pane->EnableDocking(0xF000);
        // It shows once it docks: until then it has no place of its own.
        pane->ShowWindow(SW_HIDE);
        pane->SetPaneVisibleFlag(false);
        pane->SetDockedWindow(this);
        if (!DockParentOf(m_pParent))
            pane->ActivateFloatGrip(false);
        return;
    }
    style = TranslateWinStyles(style, nStyle);
    if (nWinImpType & 0x800000)
        style |= WS_CLIPCHILDREN;
    KSData *data = GetPKSData();
    char const *cls = data ? data->m_aWndClassName.GetString() : "";
    RECT const none{0, 0, 0, 0};
    unsigned int id = (nStyle & 0x800) ? 59648 : 0;
    m_pCWnd->CreateEx(exStyle, cls, "", style, none, pParentWnd, id);
    // A child that inherits its parent's look takes its background, font and
    // texture alignment.
    if (nWinImpType == 4 && m_pParent) {
        ChangeBackgroundBrush(m_pParent->GetBackgroundBrush());
        if (!m_pParent->GetFont().IsEmpty())
            ChangeFont(m_pParent->GetFont());
        m_bAlignBGBMP = m_pParent->m_bAlignBGBMP;
    }
}

void Window::InitWindowBeforeCreate()
{
    if (!m_pMouseEvent)
        m_pMouseEvent = new MouseEvent(this);
}

void Window::InitWindowAfterCreate(CWnd *pWnd, bool bOwnsCWnd)
{
    m_pCWnd = pWnd;
    m_bOwnsCWnd = bOwnsCWnd;
    m_bInitialised = true;
    if (WinMsgRouter *router = GlGetPWinMsgRouter())
        router->AddWindow(this);
    m_bRegistered = true;
    m_hCursor = ArrowCursor();
    m_bVisible = false;
    m_nShowCmd = SW_SHOW;
}

void Window::SetAsWrap(CWnd *pWnd)
{
    SetAsParentWrap(pWnd, true);
    HWND h = GetHWND();
    if (h && IsZoomed(h))
        m_nShowCmd = SW_SHOWMAXIMIZED;
    else if (h && IsIconic(h))
        m_nShowCmd = SW_SHOWMINIMIZED;
    else
        m_nShowCmd = SW_SHOWNORMAL;
}

void Window::SetAsParentWrap(CWnd *pWnd, bool bRegister)
{
    m_pCWnd = pWnd;
    m_bOwnsCWnd = false;
    if (!m_pMouseEvent)
        m_pMouseEvent = new MouseEvent(this);
    m_bInitialised = true;
    if (bRegister) {
        if (WinMsgRouter *router = GlGetPWinMsgRouter())
            router->AddWindow(this);
        m_bRegistered = true;
    }
    m_hCursor = ArrowCursor();
    HWND h = GetHWND();
    m_bVisible = h && IsWindowVisible(h);
    m_nShowCmd = SW_SHOWNORMAL;
}

Window::~Window()
{
    if (!m_bInitialised)
        return;
    // The tip's window is owned by this window's top-level window: it goes
    // before the platform can destroy it underneath its object.
    delete m_pToolTip;
    m_pToolTip = nullptr;
    ImpEndDrop();
    if (m_bRegistered) {
        if (WinMsgRouter *router = GlGetPWinMsgRouter())
            router->RemoveWindow(this);
        m_bRegistered = false;
    }
    ReleaseDevice();
    if (m_bOwnsCWnd && m_pCWnd) {
        if (m_pCWnd->m_hWnd)
            m_pCWnd->DestroyWindow();
        // Normally the window's last message detached the object; after
        // KSExit the router swallowed it, so let go of the handle here.
        m_pCWnd->Detach();
        delete m_pCWnd;
        m_pCWnd = nullptr;
    }
    delete m_pMouseEvent;
    m_pMouseEvent = nullptr;
}

HWND Window::GetHWND() const
{
    return m_pCWnd ? m_pCWnd->m_hWnd : nullptr;
}

// ------------------------------------------------------------ virtual defaults

void Window::Paint(CRectangle const &) {}
void Window::Resize() {}
void Window::Test() {}
void Window::Move() {}
bool Window::Close() { return true; }
void Window::Activate() {}
void Window::Deactivate() {}
void Window::OnBackgroundErased() {}
void Window::OnMoved() {}
void Window::OnThemeChanged() {}
void Window::OnSetFocus() {}
void Window::OnLoseFocus() {}
void Window::OnClick() {}
void Window::MouseButtonDown(MouseEvent const &) {}
void Window::MouseButtonUp(MouseEvent const &) {}
void Window::MouseMove(MouseEvent const &) {}
void Window::MouseHover(MouseEvent const &) {}
void Window::MouseLeave(MouseEvent const &) {}
bool Window::MouseWheel(MouseEvent const &) { return false; }
void Window::CaptionDClick() {}
bool Window::KeyInput(KeyEvent const &) { return false; }
bool Window::ProcessCommandMsg(unsigned long nId) { return ProcessMenuCommand(nId); }
bool Window::ProcessNotifyMsg(unsigned __int64, __int64) { return false; }
bool Window::ProcessMenuSelect(unsigned __int64) { return false; }
void Window::ActivateApp() {}
void Window::DeactivateApp() {}
void Window::HandleEnterMenuLoop() {}
void Window::HandleExitMenuLoop() {}
bool Window::EraseVisualStyleBackground(HDC) { return false; }
bool Window::HasVisualStyleBackground() const { return true; }
Window *Window::GetPWindow() { return this; }
bool Window::ProcessMenuCommand(unsigned long) { return false; }
bool Window::ProcessDrawItem(DRAWITEMSTRUCT *) { return false; }
bool Window::ProcessCtlColorMsg(HDC) { return false; }
bool Window::ProcessSysKeyUp() { return false; }
bool Window::ProcessSysCommand() { return false; }
bool Window::ProcessMinMaxInfo(MINMAXINFO *) { return false; }
void Window::OnDragLeavesWindow() {}
unsigned long Window::OnDragScroll(unsigned long, CPoint) { return 0; }
bool Window::OwnPaintingAllowed() const { return true; }
bool Window::OwnKeyInputAllowed() const { return true; }

void Window::OnProcessMsg(unsigned int nMsg, unsigned __int64 wParam, __int64 lParam)
{
    // The tip control decides from the mouse messages alone when to show
    // and hide; everything else would only cost it a message.
    if (!m_pToolTip || nMsg < WM_MOUSEFIRST || nMsg > WM_MOUSELAST)
        return;
    MSG m{};
    m.hwnd = GetHWND();
    m.message = nMsg;
    m.wParam = static_cast<WPARAM>(wParam);
    m.lParam = static_cast<LPARAM>(lParam);
    m.time = static_cast<DWORD>(GetMessageTime());
    DWORD const pos = GetMessagePos();
    m.pt = POINT{static_cast<short>(LOWORD(pos)), static_cast<short>(HIWORD(pos))};
    m_pToolTip->RelayEvent(m);
}

void Window::EnableToolTips(bool bOn, int nDelay)
{
    if (!bOn) {
        delete m_pToolTip;
        m_pToolTip = nullptr;
        return;
    }
    if (!GetHWND())
        return;
    if (!m_pToolTip)
        m_pToolTip = new ToolTip(this);
    if (nDelay >= 0)
        m_pToolTip->SetDelayTime(nDelay, TTDT_INITIAL);
    m_pToolTip->AddTool(m_pCWnd, LPSTR_TEXTCALLBACKA, nullptr, 0);
}

void Window::SetToolTip(SString const &rText)
{
    if (!GetHWND())
        return;
    if (!m_pToolTip)
        m_pToolTip = new ToolTip(this);
    m_pToolTip->AddTool(m_pCWnd, rText.GetStr(), nullptr, 0);
}

void Window::SetToolTip(SString const &rText, CRect aRect, int nId)
{
    if (!GetHWND())
        return;
    if (!m_pToolTip)
        m_pToolTip = new ToolTip(this);
    m_pToolTip->AddTool(m_pCWnd, rText.GetStr(), &aRect, static_cast<unsigned __int64>(nId));
}

bool Window::ProcessThemeChanged()
{
    // The theme handle is opened and closed by the visual-style layer.
    m_hTheme = nullptr;
    OnThemeChanged();
    return false;
}

bool Window::ProcessFocusMsg(unsigned int nMsg, unsigned __int64, __int64)
{
    if (nMsg == WM_SETFOCUS)
        OnSetFocus();
    else if (nMsg == WM_KILLFOCUS)
        OnLoseFocus();
    return false;
}

void Window::SetText(SString const &rText)
{
    if (HWND h = GetHWND())
        SetWindowTextA(h, rText.GetStr());
}

SString Window::GetText() const
{
    HWND h = GetHWND();
    if (!h)
        return SString();
    int n = GetWindowTextLengthA(h);
    if (n <= 0)
        return SString();
    SString text;
    char *buf = new char[std::size_t(n) + 1];
    int got = GetWindowTextA(h, buf, n + 1);
    text = SString(buf, 0, static_cast<unsigned int>(got));
    delete[] buf;
    return text;
}

void Window::ChangePointer(char const *pResName)
{
    if (!pResName)
        return;
    HCURSOR c = LoadCursorA(AfxGetResourceHandle(), pResName);
    if (!c)
        c = LoadCursorA(nullptr, pResName);
    if (c)
        m_hCursor = c;
}

void Window::ChangePointer(unsigned int nId, bool bSystem)
{
    HCURSOR c = LoadCursorA(bSystem ? nullptr : AfxGetResourceHandle(), MAKEINTRESOURCEA(nId));
    if (c)
        m_hCursor = c;
}

void Window::CaptureMouse()
{
    if (HWND h = GetHWND())
        SetCapture(h);
}

void Window::ReleaseMouse()
{
    if (GetCapture() == GetHWND())
        ReleaseCapture();
}

void Window::ChangeUpdateMode(bool bUpdate)
{
    m_bNoUpdate = !bUpdate;
    if (HWND h = GetHWND())
        SendMessageA(h, WM_SETREDRAW, bUpdate ? TRUE : FALSE, 0);
}

// ------------------------------------------------------------ painting

void Window::ProcessPaint()
{
    if (m_bNoUpdate)
        return;
    HWND h = GetHWND();
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(h, &ps);
    if (!dc)
        return;
    // While Paint runs, the device draws on the paint DC (clipped to the
    // update region) rather than on a window DC of its own.
    KSData *data = GetPKSData();
    DCManager *manager = data ? data->m_pDCManager : nullptr;
    HDC previous = manager ? manager->ChangePaintDC(this, dc) : nullptr;
    Paint(CRectangle(ps.rcPaint.left, ps.rcPaint.top, ps.rcPaint.right, ps.rcPaint.bottom));
    if (manager && GetPKSData() == data)
        manager->ChangePaintDC(this, previous);
    EndPaint(h, &ps);
}

bool Window::ProcessEraseBackground(HDC hDC)
{
    if (m_bNoUpdate)
        return true;
    KSData *data = GetPKSData();
    if (data && data->HasVisualStyles() && HasVisualStyleBackground() && EraseVisualStyleBackground(hDC)) {
        OnBackgroundErased();
        return true;
    }
    // The background gradient, else the background bitmap tiled, else the
    // background brush. Without a background of the library's own the
    // previous procedure erases with the class brush.
    if (!hDC)
        return false;
    RECT r;
    ::GetClientRect(GetHWND(), &r);
    if (RectGradient const *gradient = GetBackgroundGradient()) {
        if (r.right > 0 && r.bottom > 0) {
            // The ramp spans the whole client area whatever part is erased.
            // With visual styles the erase is not clipped to the update
            // region: themed parts drawn over it expect the whole background.
            HRGN saved = nullptr;
            bool const unclip = data && data->HasVisualStyles();
            if (unclip) {
                saved = ::CreateRectRgn(0, 0, 0, 0);
                if (saved && ::GetClipRgn(hDC, saved) != 1) {
                    ::DeleteObject(saved);
                    saved = nullptr;
                }
                ::SelectClipRgn(hDC, nullptr);
            }
            OutputDevice on(hDC);
            gradient->FillRect(&on, CRectangle(0, 0, r.right - 1, r.bottom - 1));
            if (unclip) {
                ::SelectClipRgn(hDC, saved);
                if (saved)
                    ::DeleteObject(saved);
            }
        }
        OnBackgroundErased();
        return true;
    }
    if (Bitmap const *tile = GetBackgroundBitmap()) {
        // Aligned to the screen, neighbouring windows with the same bitmap
        // show one seamless surface.
        POINT origin{0, 0};
        if (m_bAlignBGBMP)
            ::ClientToScreen(GetHWND(), &origin);
        OutputDevice on(hDC);
        if (r.right > 0 && r.bottom > 0)
            on.Erase(*tile, CRectangle(0, 0, r.right - 1, r.bottom - 1), origin.x, origin.y);
        OnBackgroundErased();
        return true;
    }
    Brush brush = GetBackgroundBrush();
    if (!brush.IsValid())
        return false;
    FillRect(hDC, &r, static_cast<HBRUSH>(brush.GetOrCreatePCBrush()->m_hObject));
    OnBackgroundErased();
    return true;
}

// ------------------------------------------------------------ position and size

Point Window::GetPosPixel() const
{
    return m_aPos;
}

Size Window::GetSizePixel() const
{
    RECT r;
    HWND h = GetHWND();
    if (!h || !::GetWindowRect(h, &r))
        return Size();
    return Size(r.right - r.left, r.bottom - r.top);
}

Size Window::GetOutputSizePixel() const
{
    RECT r;
    HWND h = GetHWND();
    if (!h || !::GetClientRect(h, &r))
        return Size();
    return Size(r.right - r.left, r.bottom - r.top);
}

CRectangle Window::GetClientRect() const
{
    HWND h = GetHWND();
    if (!h)
        return CRectangle();
    return CRectangle(Point(0, 0), GetOutputSizePixel());
}

CRectangle Window::GetWindowRect() const
{
    RECT r;
    HWND h = GetHWND();
    if (!h || !::GetWindowRect(h, &r))
        return CRectangle();
    return CRectangle(Point(r.left, r.top), Size(r.right - r.left, r.bottom - r.top));
}

Point Window::GetScreenPixel() const
{
    return m_aScreenPos;
}

Point Window::GetMousePos() const
{
    return m_pMouseEvent ? m_pMouseEvent->GetPosPixel() : Point(-1, -1);
}

void Window::ImpRestoreForChange()
{
    HWND h = GetHWND();
    if (!h || (!IsIconic(h) && !IsZoomed(h)))
        return;
    if (m_bVisible)
        ShowWindow(h, SW_RESTORE);
    else
        m_nShowCmd = SW_RESTORE;
}

void Window::ImpSetPosSize(Point const *pPos, Size const *pSize)
{
    HWND h = GetHWND();
    ImpRestoreForChange();
    bool const markerBefore = m_bResizeMarker;
    if (h) {
        UINT flags = SWP_NOZORDER | SWP_NOACTIVATE;
        if (!pPos)
            flags |= SWP_NOMOVE;
        if (!pSize)
            flags |= SWP_NOSIZE;
        SetWindowPos(h, nullptr, pPos ? pPos->X() : 0, pPos ? pPos->Y() : 0, pSize ? pSize->Width() : 0,
                     pSize ? pSize->Height() : 0, flags);
    }
    if (pPos) {
        m_aPos = *pPos;
        POINT p{pPos->X(), pPos->Y()};
        if (HWND parent = h ? ::GetParent(h) : nullptr)
            ClientToScreen(parent, &p);
        m_aScreenPos = Point(p.x, p.y);
        OnMoved();
    }
    // No WM_SIZE came (the size did not change): the marker asks for the
    // Resize the router would otherwise have called.
    if (pSize && pSize->Width() > 0 && markerBefore && m_bResizeMarker) {
        m_bResizeMarker = false;
        Resize();
    }
}

void Window::ChangePosPixel(Point const &rPos)
{
    ImpSetPosSize(&rPos, nullptr);
}

void Window::ChangeSizePixel(Size const &rSize)
{
    ImpSetPosSize(nullptr, &rSize);
}

void Window::SetPosSizePixel(Point const &rPos, Size const &rSize)
{
    ImpSetPosSize(&rPos, &rSize);
}

void Window::ChangeOutputSizePixel(Size const &rSize)
{
    if (!m_pCWnd || !GetHWND())
        return;
    ImpRestoreForChange();
    RECT r{0, 0, rSize.Width(), rSize.Height()};
    m_pCWnd->CalcWindowRect(&r);
    ChangeSizePixel(Size(r.right - r.left, r.bottom - r.top));
}

Point Window::OutputToScreenPixel(Point const &rPos) const
{
    POINT p{rPos.X(), rPos.Y()};
    if (HWND h = GetHWND())
        ClientToScreen(h, &p);
    return Point(p.x, p.y);
}

Point Window::ScreenToOutputPixel(Point const &rPos) const
{
    POINT p{rPos.X(), rPos.Y()};
    if (HWND h = GetHWND())
        ScreenToClient(h, &p);
    return Point(p.x, p.y);
}

bool Window::ScreenPosIsInside(Point const &rScreenPos) const
{
    RECT r;
    HWND h = GetHWND();
    if (!h || !::GetWindowRect(h, &r))
        return false;
    POINT p{rScreenPos.X(), rScreenPos.Y()};
    return PtInRect(&r, p) != FALSE;
}

void Window::ImpApplyShowState(int nCmd)
{
    // A hidden window only remembers the state for its next Show.
    if (m_bVisible && GetHWND())
        ShowWindow(GetHWND(), nCmd);
    else
        m_nShowCmd = nCmd;
}

void Window::Maximize()
{
    ImpApplyShowState(SW_SHOWMAXIMIZED);
}

void Window::Minimize()
{
    ImpApplyShowState(SW_SHOWMINIMIZED);
}

void Window::Restore()
{
    ImpApplyShowState(SW_RESTORE);
}

// ------------------------------------------------------------ state

void Window::Show()
{
    if (m_bVisible)
        return;
    m_bVisible = true;
    if (HWND h = GetHWND())
        ShowWindow(h, m_nShowCmd);
    // A pending restore is done; later shows simply show.
    if (m_nShowCmd == SW_RESTORE)
        m_nShowCmd = SW_SHOW;
}

void Window::Hide()
{
    if (!m_bVisible)
        return;
    m_bVisible = false;
    if (HWND h = GetHWND())
        ShowWindow(h, SW_HIDE);
}

void Window::Enable(bool bEnable)
{
    if (HWND h = GetHWND())
        EnableWindow(h, bEnable);
}

void Window::ToTop()
{
    if (HWND h = GetHWND())
        SetWindowPos(h, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
}

void Window::Update()
{
    if (HWND h = GetHWND())
        UpdateWindow(h);
}

void Window::Invalidate()
{
    if (HWND h = GetHWND())
        InvalidateRect(h, nullptr, TRUE);
}

void Window::Invalidate(CRectangle const &rRect)
{
    HWND h = GetHWND();
    if (!h || rRect.IsEmpty())
        return;
    // Inclusive right and bottom become the platform's exclusive edges.
    RECT r{rRect.Left(), rRect.Top(), rRect.Right() + 1, rRect.Bottom() + 1};
    InvalidateRect(h, &r, TRUE);
}

void Window::Scroll(short nDx, short nDy)
{
    if (HWND h = GetHWND())
        ScrollWindowEx(h, nDx, nDy, nullptr, nullptr, nullptr, nullptr, SW_INVALIDATE | SW_ERASE);
}

void Window::GrabFocus()
{
    if (HWND h = GetHWND())
        SetFocus(h);
}

bool Window::HasFocus() const
{
    HWND h = GetHWND();
    return h && GetFocus() == h;
}

void Window::ParentGrabFocus()
{
    Window *w = this;
    while (w->m_bOwnsCWnd && w->m_pParent)
        w = w->m_pParent;
    HWND h = w->GetHWND();
    if (!h)
        return;
    HWND parent = ::GetParent(h);
    SetFocus(parent ? parent : h);
}

void Window::ChangeParent(Window *pNewParent)
{
    if (HWND h = GetHWND())
        SetParent(h, pNewParent ? pNewParent->GetHWND() : nullptr);
    m_pParent = pNewParent;
    if (auto *pane = dynamic_cast<ZnDockablePane *>(m_pCWnd))
        pane->ActivateFloatGrip(DockParentOf(pNewParent) != nullptr);
}

HICON Window::ChangeCursor(HICON hCursor)
{
    HICON old = m_hCursor;
    m_hCursor = hCursor;
    return old;
}

void Window::ResetArrowPointer()
{
    m_hCursor = ArrowCursor();
}

bool Window::IsAParentWin(Window *pWin) const
{
    if (!pWin)
        return false;
    for (Window *p = m_pParent; p; p = p->m_pParent)
        if (p == pWin)
            return true;
    return false;
}

void Window::InitMouseTracking(unsigned long nFlags)
{
    HWND h = GetHWND();
    if (!h)
        return;
    TRACKMOUSEEVENT tme{};
    tme.cbSize = sizeof tme;
    tme.dwFlags = nFlags;
    tme.hwndTrack = h;
    tme.dwHoverTime = HOVER_DEFAULT;
    TrackMouseEvent(&tme);
}

// ------------------------------------------------------------ class-wide

int Window::GetControlIdCnt()
{
    return m_nCtrlId++;
}

void Window::ShowHourGlass(bool bShow)
{
    HCURSOR wait = WaitCursor();
    if (bShow) {
        if (++nWait == 1)
            hNonWaitCursor = SetCursor(wait);
        return;
    }
    if (--nWait <= 0) {
        nWait = 0;
        SetCursor(hNonWaitCursor);
    }
}

bool Window::IsHourGlass()
{
    return nWait > 0;
}

int Window::GetNWait()
{
    return nWait;
}

// ------------------------------------------------------------ routed messages

void Window::ProcessMove()
{
    HWND h = GetHWND();
    RECT r;
    if (!h || !::GetWindowRect(h, &r))
        return;
    POINT p{r.left, r.top};
    if (m_pParent && m_pParent->GetHWND())
        ScreenToClient(m_pParent->GetHWND(), &p);
    m_aPos = Point(p.x, p.y);
    Move();
    m_aScreenPos = Point(r.left, r.top);
}

void Window::ProcessActivateMsg(unsigned __int64 wParam, __int64)
{
    if (wParam & 0xFFFF)
        Activate();
    else
        Deactivate();
}

void Window::ProcessActivateApp(unsigned __int64 wParam, __int64)
{
    if (wParam & 0xFFFF)
        ActivateApp();
    else
        DeactivateApp();
}

void Window::ProcessNonClientDClick(unsigned __int64, __int64)
{
    CaptionDClick();
}

void Window::ProcessEnterMenuLoop(unsigned __int64)
{
    HandleEnterMenuLoop();
}

void Window::ProcessExitMenuLoop(unsigned __int64)
{
    HandleExitMenuLoop();
}

void Window::SetMouseCode(unsigned __int64 wParam, __int64 lParam)
{
    if (!m_pMouseEvent)
        m_pMouseEvent = new MouseEvent(this);
    MouseEvent &e = *m_pMouseEvent;
    e.aPos = Point(static_cast<short>(lParam & 0xFFFF), static_cast<short>((lParam >> 16) & 0xFFFF));
    // One button only, left before right before middle.
    unsigned short code = 0;
    if (wParam & MK_LBUTTON)
        code = MOUSE_LEFT;
    else if (wParam & MK_RBUTTON)
        code = MOUSE_RIGHT;
    else if (wParam & MK_MBUTTON)
        code = MOUSE_MIDDLE;
    if (wParam & MK_SHIFT)
        code |= 0x1000;
    if (wParam & MK_CONTROL)
        code |= 0x2000;
    if (GetKeyState(VK_MENU) < 0)
        code |= 0x4000;
    e.nCode = code;
    e.nButtonsUp = 0;
    e.nWheelDelta = 0;
}

void Window::ProcessButtonDown(unsigned int nMsg, unsigned __int64 wParam, __int64 lParam)
{
    SetMouseCode(wParam, lParam);
    m_pMouseEvent->nClicks = 1;
    m_pMouseEvent->nCode |= MessageButton(nMsg);
    MouseButtonDown(*m_pMouseEvent);
    if (!m_bGrabFocusOnMBDown)
        return;
    if (m_bOwnsCWnd && m_pParent) {
        m_pParent->ParentGrabFocus();
    } else if (HWND h = GetHWND()) {
        HWND parent = ::GetParent(h);
        SetFocus(parent ? parent : h);
    }
}

void Window::ProcessButtonUp(unsigned int nMsg, unsigned __int64 wParam, __int64 lParam)
{
    SetMouseCode(wParam, lParam);
    unsigned short const b = MessageButton(nMsg);
    m_pMouseEvent->nClicks = 1;
    m_pMouseEvent->nCode |= b;
    m_pMouseEvent->nButtonsUp |= b;
    MouseButtonUp(*m_pMouseEvent);
}

void Window::ProcessDoubleClick(unsigned int nMsg, unsigned __int64 wParam, __int64 lParam)
{
    SetMouseCode(wParam, lParam);
    m_pMouseEvent->nClicks = 2;
    m_pMouseEvent->nCode |= MessageButton(nMsg);
    MouseButtonDown(*m_pMouseEvent);
}

void Window::ProcessMouseMove(unsigned __int64 wParam, __int64 lParam)
{
    SetMouseCode(wParam, lParam);
    m_pMouseEvent->nClicks = 0;
    MouseMove(*m_pMouseEvent);
    SetCursor(nWait > 0 ? WaitCursor() : m_hCursor);
}

void Window::ProcessMouseHover(unsigned __int64 wParam, __int64 lParam)
{
    SetMouseCode(wParam, lParam);
    m_pMouseEvent->nClicks = 0;
    MouseHover(*m_pMouseEvent);
}

void Window::ProcessMouseLeave(unsigned __int64 wParam, __int64 lParam)
{
    SetMouseCode(wParam, lParam);
    m_pMouseEvent->nClicks = 0;
    MouseLeave(*m_pMouseEvent);
}

bool Window::ProcessMouseWheel(unsigned __int64 wParam, __int64 lParam)
{
    SetMouseCode(wParam, lParam);
    m_pMouseEvent->nClicks = 0;
    m_pMouseEvent->nWheelDelta = static_cast<short>((wParam >> 16) & 0xFFFF);
    return MouseWheel(*m_pMouseEvent);
}

bool Window::ImpDeliverKey(KeyEvent const &rEvt)
{
    return KeyInput(rEvt);
}

bool Window::ProcessKeyMsg(unsigned int nMsg, unsigned __int64 wParam, __int64 lParam)
{
    KSData *data = GetPKSData();
    if (nMsg == WM_CHAR || nMsg == WM_SYSCHAR) {
        // Delivered already, together with its key-down.
        if (data && data->m_bInKeyInput) {
            data->m_bInKeyInput = false;
            return data->m_bKeyInputResult;
        }
        unsigned const c = static_cast<unsigned>(wParam & 0xFF);
        KeyCode code(CharToCode(c), GetKeyState(VK_SHIFT) < 0, GetKeyState(VK_CONTROL) < 0,
                     GetKeyState(VK_MENU) < 0);
        return ImpDeliverKey(KeyEvent(static_cast<char>(c), code, Repeat(lParam)));
    }
    if (nMsg != WM_KEYDOWN && nMsg != WM_SYSKEYDOWN)
        return false;

    unsigned const vk = static_cast<unsigned>(wParam & 0xFF);
    if (vk == VK_SHIFT || vk == VK_CONTROL || vk == VK_MENU)
        return false;
    unsigned short const key = vk < 0x92 ? VirtualKeyToCode(vk) : LayoutKeyToCode(vk);
    KeyCode code(key, GetKeyState(VK_SHIFT) < 0, GetKeyState(VK_CONTROL) < 0, (lParam & (1 << 29)) != 0);

    HWND h = GetHWND();
    MSG pending;
    bool havePending = PeekMessageA(&pending, h, WM_CHAR, WM_CHAR, PM_NOREMOVE | PM_NOYIELD) ||
                       PeekMessageA(&pending, h, WM_SYSCHAR, WM_SYSCHAR, PM_NOREMOVE | PM_NOYIELD);
    if (!havePending || !data)
        return ImpDeliverKey(KeyEvent(0, code, Repeat(lParam)));

    // The key and the character it typed reach the handler as one event.
    data->m_bInKeyInput = true;
    data->m_bKeyInputResult = false;
    bool result;
    try {
        result = ImpDeliverKey(KeyEvent(static_cast<char>(pending.wParam & 0xFF), code, Repeat(pending.lParam)));
    } catch (...) {
        MessageBoxA(h, "Keyboard shortcut exception", "Kestrel5", MB_OK | MB_ICONERROR);
        result = false;
    }
    // The handler may have ended the library or this window.
    data = GetPKSData();
    if (!data)
        return result;
    data->m_bKeyInputResult = result;
    if (pending.message == WM_CHAR) {
        MSG taken;
        if (PeekMessageA(&taken, h, WM_CHAR, WM_CHAR, PM_REMOVE | PM_NOYIELD))
            DispatchMessageA(&taken);
        else
            data->m_bInKeyInput = false;
    }
    return result;
}
