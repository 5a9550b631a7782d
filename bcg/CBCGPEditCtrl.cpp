#include "bcg/CBCGPEditCtrl.h"

#include <string>
#include <vector>
#include <windows.h>
#include <richedit.h>

IMPLEMENT_DYNAMIC(CBCGPEditCtrl, CWnd)

CBCGPEditCtrl::CBCGPEditCtrl() : m_bColouring(false) {}

CBCGPEditCtrl::~CBCGPEditCtrl() = default;

bool CBCGPEditCtrl::Create(unsigned long dwStyle, RECT const &rect, CWnd *pParentWnd, unsigned int nID)
{
    // The rich-text classes exist once their library is loaded; it stays
    // loaded for the process, as the platform's own controls do.
    if (!GetModuleHandleA("riched20.dll") && !LoadLibraryA("riched20.dll"))
        return false;
    if (!CWnd::Create(RICHEDIT_CLASSA, "", dwStyle, rect, pParentWnd, nID))
        return false;
    ::SendMessageA(m_hWnd, EM_SETEVENTMASK, 0, ENM_CHANGE);
    return true;
}

bool CBCGPEditCtrl::Paste(int nPos)
{
    if (!m_hWnd)
        return false;
    if (nPos >= 0)
        ::SendMessageA(m_hWnd, EM_SETSEL, WPARAM(nPos), LPARAM(nPos));
    ::SendMessageA(m_hWnd, WM_PASTE, 0, 0);
    return true;
}

bool CBCGPEditCtrl::Copy()
{
    return m_hWnd && (::SendMessageA(m_hWnd, WM_COPY, 0, 0), true);
}

bool CBCGPEditCtrl::Cut()
{
    return m_hWnd && (::SendMessageA(m_hWnd, WM_CUT, 0, 0), true);
}

bool CBCGPEditCtrl::IsWordChar(unsigned char c)
{
    return c == '_' || c == '\'' || IsCharAlphaNumericA(static_cast<CHAR>(c));
}

bool CBCGPEditCtrl::OnGetWordColor(SString const &, COLORREF &)
{
    return false;
}

void CBCGPEditCtrl::SetBackColor(COLORREF nColor)
{
    if (m_hWnd)
        ::SendMessageA(m_hWnd, EM_SETBKGNDCOLOR, 0, LPARAM(nColor));
}

void CBCGPEditCtrl::NotifyTextChanged()
{
    if (m_bColouring)
        return;
    RecolourWords();
    OnAfterTextChanged();
}

void CBCGPEditCtrl::RecolourWords()
{
    if (!m_hWnd || m_bColouring)
        return;
    m_bColouring = true;
    // The text as the control counts it (one character per paragraph mark),
    // so that positions in it are the control's positions.
    GETTEXTLENGTHEX len{GTL_NUMCHARS | GTL_PRECISE, CP_ACP};
    long const n = long(::SendMessageA(m_hWnd, EM_GETTEXTLENGTHEX, WPARAM(&len), 0));
    std::vector<char> text(size_t(n > 0 ? n : 0) * 2 + 2, '\0');
    GETTEXTEX get{DWORD(text.size()), GT_DEFAULT, CP_ACP, nullptr, nullptr};
    ::SendMessageA(m_hWnd, EM_GETTEXTEX, WPARAM(&get), LPARAM(text.data()));

    CHARRANGE keep{};
    ::SendMessageA(m_hWnd, EM_EXGETSEL, 0, LPARAM(&keep));
    POINT scroll{};
    ::SendMessageA(m_hWnd, EM_GETSCROLLPOS, 0, LPARAM(&scroll));
    ::SendMessageA(m_hWnd, WM_SETREDRAW, FALSE, 0);
    auto colour = [this](long from, long to, COLORREF c, bool automatic) {
        CHARRANGE r{from, to};
        ::SendMessageA(m_hWnd, EM_EXSETSEL, 0, LPARAM(&r));
        CHARFORMAT2A cf{};
        cf.cbSize = sizeof cf;
        cf.dwMask = CFM_COLOR;
        cf.dwEffects = automatic ? CFE_AUTOCOLOR : 0;
        cf.crTextColor = c;
        ::SendMessageA(m_hWnd, EM_SETCHARFORMAT, SCF_SELECTION, LPARAM(&cf));
    };
    colour(0, -1, 0, true);
    std::string const s(text.data());
    for (size_t i = 0; i < s.size();) {
        if (!IsWordChar(static_cast<unsigned char>(s[i]))) {
            ++i;
            continue;
        }
        size_t j = i;
        while (j < s.size() && IsWordChar(static_cast<unsigned char>(s[j])))
            ++j;
        COLORREF c = 0;
        if (OnGetWordColor(SString(s.substr(i, j - i).c_str()), c))
            colour(long(i), long(j), c, false);
        i = j;
    }
    ::SendMessageA(m_hWnd, EM_EXSETSEL, 0, LPARAM(&keep));
    ::SendMessageA(m_hWnd, EM_SETSCROLLPOS, 0, LPARAM(&scroll));
    ::SendMessageA(m_hWnd, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(m_hWnd, nullptr, FALSE);
    m_bColouring = false;
}
