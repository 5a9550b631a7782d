#include "graphics/DCManager.h"

#include "base/Table.h"
#include "graphics/OutputDevice.h"

#include <windows.h>

namespace {

class Guard
{
public:
    explicit Guard(CRITICAL_SECTION *p) : m_p(p) { EnterCriticalSection(m_p); }
    ~Guard() { LeaveCriticalSection(m_p); }
    Guard(Guard const &) = delete;
    Guard &operator=(Guard const &) = delete;

private:
    CRITICAL_SECTION *m_p;
};

unsigned __int64 Key(OutputDevice *p)
{
    return reinterpret_cast<unsigned __int64>(p);
}

} // namespace

DCManager::DCManager()
    : m_pLock(new CRITICAL_SECTION), m_hDC(nullptr), m_hWnd(nullptr), m_pHolder(nullptr), m_hParkedDC(nullptr),
      m_hParkedWnd(nullptr), m_pParkedHolder(nullptr), m_pPaintDCs(new Table(2, 2))
{
    InitializeCriticalSection(m_pLock);
}

DCManager::~DCManager()
{
    ImpRelease();
    if (m_hParkedDC) {
        if (m_pParkedHolder && m_pParkedHolder->m_hDC == m_hParkedDC)
            m_pParkedHolder->m_hDC = nullptr;
        ::ReleaseDC(m_hParkedWnd, m_hParkedDC);
    }
    delete m_pPaintDCs;
    DeleteCriticalSection(m_pLock);
    delete m_pLock;
}

void DCManager::ImpRelease()
{
    if (!m_hDC)
        return;
    // The holder may have been handed a paint DC since; only the cached one
    // is taken from it.
    if (m_pHolder && m_pHolder->m_hDC == m_hDC)
        m_pHolder->m_hDC = nullptr;
    ::ReleaseDC(m_hWnd, m_hDC);
    m_hDC = nullptr;
    m_hWnd = nullptr;
    m_pHolder = nullptr;
}

bool DCManager::GetDC(OutputDevice *pWindow)
{
    if (!pWindow)
        return false;
    Guard g(m_pLock);
    if (HDC paint = static_cast<HDC>(m_pPaintDCs->Get(Key(pWindow)))) {
        pWindow->m_hDC = paint;
        return true;
    }
    if (m_pHolder == pWindow && m_hDC) {
        pWindow->m_hDC = m_hDC;
        return true;
    }
    ImpRelease();
    HWND hWnd = pWindow->GetHWND();
    if (!hWnd || !IsWindow(hWnd))
        return false;
    HDC hDC = ::GetDC(hWnd);
    if (!hDC)
        return false;
    m_hDC = hDC;
    m_hWnd = hWnd;
    m_pHolder = pWindow;
    pWindow->m_hDC = hDC;
    return true;
}

void DCManager::DeleteDC()
{
    Guard g(m_pLock);
    ImpRelease();
}

HDC DCManager::ChangePaintDC(OutputDevice *pWindow, HDC hDC)
{
    if (!pWindow)
        return nullptr;
    Guard g(m_pLock);
    HDC old = static_cast<HDC>(m_pPaintDCs->Get(Key(pWindow)));
    if (hDC) {
        if (m_pHolder == pWindow)
            ImpRelease();
        if (old)
            m_pPaintDCs->Replace(Key(pWindow), hDC);
        else
            m_pPaintDCs->Insert(Key(pWindow), hDC);
    } else if (old) {
        m_pPaintDCs->Remove(Key(pWindow));
    }
    // The device still points at the DC it drew on before: the next
    // operation must ask again.
    if (pWindow->m_hDC == old && old != hDC)
        pWindow->m_hDC = nullptr;
    return old;
}

void DCManager::LockDC(HDC hDC)
{
    Guard g(m_pLock);
    if (!hDC || hDC != m_hDC || m_hParkedDC)
        return;
    m_hParkedDC = m_hDC;
    m_hParkedWnd = m_hWnd;
    m_pParkedHolder = m_pHolder;
    m_hDC = nullptr;
    m_hWnd = nullptr;
    m_pHolder = nullptr;
}

void DCManager::UnlockDC(HDC hDC)
{
    Guard g(m_pLock);
    if (!hDC || hDC != m_hParkedDC)
        return;
    ImpRelease();
    m_hDC = m_hParkedDC;
    m_hWnd = m_hParkedWnd;
    m_pHolder = m_pParkedHolder;
    m_hParkedDC = nullptr;
    m_hParkedWnd = nullptr;
    m_pParkedHolder = nullptr;
}

void DCManager::ForgetDevice(OutputDevice *pDevice)
{
    if (!pDevice)
        return;
    Guard g(m_pLock);
    if (m_pHolder == pDevice)
        ImpRelease();
    if (m_pParkedHolder == pDevice) {
        ::ReleaseDC(m_hParkedWnd, m_hParkedDC);
        m_hParkedDC = nullptr;
        m_hParkedWnd = nullptr;
        m_pParkedHolder = nullptr;
    }
    if (m_pPaintDCs->Get(Key(pDevice)))
        m_pPaintDCs->Remove(Key(pDevice));
}
