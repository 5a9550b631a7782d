#include "mfc/CToolTipCtrl.h"

#include "mfc/AfxWin.h"

#include <cstring>
#include <string>

IMPLEMENT_DYNAMIC(CToolTipCtrl, CWnd)

namespace {
template <class R = LRESULT> R Send(HWND h, UINT m, WPARAM w = 0, LPARAM l = 0, R none = R())
{
    return h ? R(::SendMessageA(h, m, w, l)) : none;
}

// Copies text into a fixed buffer of n characters, cut to fit.
template <class Ch> void CopyCut(std::string const &text, Ch *pOut, std::size_t n)
{
    std::size_t const len = std::min(text.size(), n - 1);
    for (std::size_t i = 0; i < len; ++i)
        pOut[i] = Ch(static_cast<unsigned char>(text[i]));
    pOut[len] = 0;
}
} // namespace

CToolTipCtrl::CToolTipCtrl() = default;
CToolTipCtrl::~CToolTipCtrl() = default;

bool CToolTipCtrl::Create(CWnd *pParentWnd, unsigned long dwStyle)
{
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_BAR_CLASSES};
    InitCommonControlsEx(&icc);
    RECT const none{0, 0, 0, 0};
    return CWnd::CreateEx(0, TOOLTIPS_CLASSA, nullptr, WS_POPUP | dwStyle, none, pParentWnd, 0);
}

void CToolTipCtrl::FillInToolInfo(TTTOOLINFOA &rInfo, CWnd *pWnd, UINT_PTR nIDTool) const
{
    rInfo = TTTOOLINFOA{};
    rInfo.cbSize = sizeof rInfo;
    rInfo.hwnd = pWnd ? pWnd->m_hWnd : nullptr;
    if (nIDTool == 0 && rInfo.hwnd) {
        rInfo.uFlags = TTF_IDISHWND;
        rInfo.uId = reinterpret_cast<UINT_PTR>(rInfo.hwnd);
    } else {
        rInfo.uId = nIDTool;
    }
}

bool CToolTipCtrl::AddTool(CWnd *pWnd, char const *lpszText, RECT const *lpRectTool, UINT_PTR nIDTool)
{
    if (!m_hWnd || !pWnd || !pWnd->m_hWnd)
        return false;
    TTTOOLINFOA ti;
    FillInToolInfo(ti, pWnd, nIDTool);
    if (lpRectTool) {
        // A rectangle always makes a rectangle tool, identifier 0 included.
        ti.uFlags = 0;
        ti.uId = nIDTool;
        ti.rect = *lpRectTool;
    } else if (nIDTool != 0) {
        pWnd->GetClientRect(&ti.rect);
    }
    ti.lpszText = const_cast<char *>(lpszText ? lpszText : "");
    ::SendMessageA(m_hWnd, TTM_DELTOOLA, 0, reinterpret_cast<LPARAM>(&ti));
    return ::SendMessageA(m_hWnd, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&ti)) != 0;
}

void CToolTipCtrl::DelTool(CWnd *pWnd, UINT_PTR nIDTool)
{
    if (!m_hWnd || !pWnd)
        return;
    TTTOOLINFOA ti;
    FillInToolInfo(ti, pWnd, nIDTool);
    ::SendMessageA(m_hWnd, TTM_DELTOOLA, 0, reinterpret_cast<LPARAM>(&ti));
}

void CToolTipCtrl::UpdateTipText(char const *lpszText, CWnd *pWnd, UINT_PTR nIDTool)
{
    if (!m_hWnd || !pWnd)
        return;
    TTTOOLINFOA ti;
    FillInToolInfo(ti, pWnd, nIDTool);
    ti.lpszText = const_cast<char *>(lpszText ? lpszText : "");
    ::SendMessageA(m_hWnd, TTM_UPDATETIPTEXTA, 0, reinterpret_cast<LPARAM>(&ti));
}

void CToolTipCtrl::UpdateTipText(unsigned int nIDText, CWnd *pWnd, UINT_PTR nIDTool)
{
    if (!m_hWnd || !pWnd)
        return;
    // The control loads the string itself from the module it is given.
    TTTOOLINFOA ti;
    FillInToolInfo(ti, pWnd, nIDTool);
    ti.hinst = AfxGetResourceHandle();
    ti.lpszText = MAKEINTRESOURCEA(nIDText);
    ::SendMessageA(m_hWnd, TTM_UPDATETIPTEXTA, 0, reinterpret_cast<LPARAM>(&ti));
}

bool CToolTipCtrl::GetToolInfo(TTTOOLINFOA &rInfo, CWnd *pWnd, UINT_PTR nIDTool) const
{
    FillInToolInfo(rInfo, pWnd, nIDTool);
    rInfo.lpszText = nullptr;
    return m_hWnd && pWnd && ::SendMessageA(m_hWnd, TTM_GETTOOLINFOA, 0, reinterpret_cast<LPARAM>(&rInfo)) != 0;
}

void CToolTipCtrl::GetText(CString &rString, CWnd *pWnd, UINT_PTR nIDTool) const
{
    rString = CString();
    TTTOOLINFOA probe;
    if (!GetToolInfo(probe, pWnd, nIDTool))
        return;
    // The platform's longest tip text, and its terminator.
    std::string buf(1025, '\0');
    TTTOOLINFOA ti;
    FillInToolInfo(ti, pWnd, nIDTool);
    ti.lpszText = buf.data();
    ::SendMessageA(m_hWnd, TTM_GETTEXTA, buf.size(), reinterpret_cast<LPARAM>(&ti));
    if (ti.lpszText && ti.lpszText != LPSTR_TEXTCALLBACKA)
        rString = CString(ti.lpszText);
}

int CToolTipCtrl::GetToolCount() const
{
    return Send<int>(m_hWnd, TTM_GETTOOLCOUNT);
}

void CToolTipCtrl::Activate(bool bActivate)
{
    Send(m_hWnd, TTM_ACTIVATE, bActivate ? TRUE : FALSE);
}

void CToolTipCtrl::SetDelayTime(unsigned long dwDuration, int iTime)
{
    // A negative time gives the duration back to the platform's default.
    Send(m_hWnd, TTM_SETDELAYTIME, dwDuration, iTime < 0 ? LPARAM(-1) : MAKELPARAM(iTime, 0));
}

int CToolTipCtrl::GetDelayTime(unsigned long dwDuration) const
{
    return Send<int>(m_hWnd, TTM_GETDELAYTIME, dwDuration);
}

void CToolTipCtrl::RelayEvent(MSG *pMsg)
{
    if (pMsg)
        Send(m_hWnd, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(pMsg));
}

void CToolTipCtrl::SetMargin(RECT const *lpRect)
{
    if (lpRect)
        Send(m_hWnd, TTM_SETMARGIN, 0, reinterpret_cast<LPARAM>(lpRect));
}

void CToolTipCtrl::GetMargin(RECT *lpRect) const
{
    if (lpRect)
        Send(m_hWnd, TTM_GETMARGIN, 0, reinterpret_cast<LPARAM>(lpRect));
}

void CToolTipCtrl::SetTipBkColor(COLORREF clr)
{
    Send(m_hWnd, TTM_SETTIPBKCOLOR, clr);
}

COLORREF CToolTipCtrl::GetTipBkColor() const
{
    return Send<COLORREF>(m_hWnd, TTM_GETTIPBKCOLOR);
}

void CToolTipCtrl::SetTipTextColor(COLORREF clr)
{
    Send(m_hWnd, TTM_SETTIPTEXTCOLOR, clr);
}

COLORREF CToolTipCtrl::GetTipTextColor() const
{
    return Send<COLORREF>(m_hWnd, TTM_GETTIPTEXTCOLOR);
}

bool CToolTipCtrl::SetTitle(unsigned int uIcon, char const *lpszTitle)
{
    return Send<bool>(m_hWnd, TTM_SETTITLEA, uIcon, reinterpret_cast<LPARAM>(lpszTitle ? lpszTitle : ""));
}

void CToolTipCtrl::Pop()
{
    Send(m_hWnd, TTM_POP);
}

void CToolTipCtrl::Update()
{
    Send(m_hWnd, TTM_UPDATE);
}

bool CToolTipCtrl::OnChildNotify(unsigned int message, WPARAM, LPARAM lParam, LRESULT *pResult)
{
    auto const *hdr = reinterpret_cast<NMHDR const *>(lParam);
    if (message != WM_NOTIFY || !hdr || hdr->hwndFrom != m_hWnd ||
        (hdr->code != TTN_GETDISPINFOA && hdr->code != TTN_GETDISPINFOW))
        return false;
    auto *info = reinterpret_cast<NMTTDISPINFOA *>(const_cast<NMHDR *>(hdr));
    if (!(info->uFlags & TTF_IDISHWND))
        return false;
    HWND tool = reinterpret_cast<HWND>(hdr->idFrom);
    int const n = ::IsWindow(tool) ? ::GetWindowTextLengthA(tool) : 0;
    std::string text(std::size_t(n > 0 ? n : 0) + 1, '\0');
    if (n > 0)
        text.resize(std::size_t(::GetWindowTextA(tool, text.data(), n + 1)));
    else
        text.clear();
    if (hdr->code == TTN_GETDISPINFOW) {
        // Asked for wide text only by windows that say they want it, which
        // the library's never do: cut to the notification's buffer.
        auto *w = reinterpret_cast<NMTTDISPINFOW *>(info);
        CopyCut(text, w->szText, sizeof w->szText / sizeof w->szText[0]);
        w->lpszText = w->szText;
    } else if (text.size() < sizeof info->szText) {
        CopyCut(text, info->szText, sizeof info->szText);
        info->lpszText = info->szText;
    } else {
        m_strCallback = CString(text.c_str(), int(text.size()));
        info->lpszText = const_cast<char *>(m_strCallback.GetString());
    }
    *pResult = 0;
    return true;
}
