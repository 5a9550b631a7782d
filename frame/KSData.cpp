#include "frame/KSData.h"
#include "window/Exchange.h"
#include "base/Container.h"
#include "docking/ZnDockingManager.h"
#include "docking/ZnVisualManager.h"
#include "frame/TimerManager.h"
#include "graphics/Bitmap.h"
#include "graphics/DCManager.h"
#include "mfc/CBitmap.h"
#include "mfc/AfxWin.h"
#include "text/International.h"
#include "text/TranscriptData.h"

#include <windows.h>

namespace {

// 8-bit components as the table keeps them: shifted into the high byte,
// 255 as 0xFFFF so that the high byte reads back unchanged.
unsigned short Wide(unsigned c)
{
    return c == 255 ? 0xFFFF : static_cast<unsigned short>(c << 8);
}

KSColorEntry Entry(unsigned r, unsigned g, unsigned b)
{
    return KSColorEntry{Wide(r), Wide(g), Wide(b)};
}

KSColorEntry SysEntry(int index)
{
    COLORREF c = GetSysColor(index);
    return Entry(GetRValue(c), GetGValue(c), GetBValue(c));
}

} // namespace

KSData::KSData()
    : m_pMainWnd(nullptr), m_pColorTable(nullptr), m_pBrushBitmap50(nullptr), m_pBrushBitmap25(nullptr),
      m_aKeyCharCodes{}, m_bInKeyInput(false), m_bKeyInputResult(false), m_pClipboards(nullptr),
      m_pClipFormats(nullptr), m_nClipPrivateFormat(0), m_pClipPrivateData(nullptr), m_bClipPrivateDataValid(false),
      m_nClipRequestFormat(0), m_bClipboardOpen(false), m_pLocaleCountries(nullptr), m_pLocaleLanguages(nullptr), m_pTimerManager(nullptr),
      m_pDCManager(nullptr), m_aUserMessages{}, m_pTranscriptData(nullptr), m_nLogPixelsX(96), m_nLogPixelsY(96),
      m_bVisualStyles(false), m_bClearType(false), m_bHiResTimer(false)
{
    char const *cls = AfxRegisterWndClass(CS_DBLCLKS, nullptr, reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1), nullptr);
    m_aWndClassName = CStringA(cls);

    InitColorTable();

    static char const keyChars[] = {'+', '-', '*', '/', '.', ',', '<', '>', '='};
    for (int i = 0; i < 9; ++i)
        m_aKeyCharCodes[i] = static_cast<unsigned int>(static_cast<unsigned short>(VkKeyScanA(keyChars[i])));
    for (int i = 0; i < 4; ++i)
        m_aKeyCharCodes[9 + i] = 0xB0 + i;

    m_aUserMessages[UserMessageDragRender] = RegisterWindowMessageA("KSMFCDragRender");
    m_aUserMessages[UserMessageDrop] = RegisterWindowMessageA("KSMFCDrop");
    m_aUserMessages[UserMessageQueryDrop] = RegisterWindowMessageA("KSMFCQueryDrop");
    // The docking classes' messages exist from the start, for clients too.
    ZnDockingManager::GetWmOnPressCloseButton();
    ZnDockingManager::GetWmCheckEmptyMiniFrame();
    ZnDockingManager::GetWmChangeVisualManager();

    m_pDCManager = new DCManager;
    m_pTranscriptData = new TranscriptData;
    m_pTranscriptData->SetToCyrillic();

    if (HDC screen = GetDC(nullptr)) {
        m_nLogPixelsX = GetDeviceCaps(screen, LOGPIXELSX);
        m_nLogPixelsY = GetDeviceCaps(screen, LOGPIXELSY);
        if (m_nLogPixelsX == 0)
            m_nLogPixelsX = 96;
        if (m_nLogPixelsY == 0)
            m_nLogPixelsY = 96;
        ReleaseDC(nullptr, screen);
    }
    m_bHiResTimer = TestHiResCounter();
}

KSData::~KSData()
{
    // The docking painter keeps platform fonts: after KSExit none may be
    // left, and the next KSInit makes a painter of its own.
    ZnVisualManager::DestroyVisualManager();
    Exchange::ImpDeleteRegistry(m_pClipFormats);
    m_pClipFormats = nullptr;
    delete m_pClipboards; // the clipboards are the application's
    m_pClipboards = nullptr;
    if (m_bClipboardOpen)
        CloseClipboard();
    m_bClipboardOpen = false;
    delete m_pTranscriptData;
    m_pTranscriptData = nullptr;
    International::ImpDeleteRegistry(m_pLocaleCountries);
    m_pLocaleCountries = nullptr;
    International::ImpDeleteRegistry(m_pLocaleLanguages);
    m_pLocaleLanguages = nullptr;
    delete m_pDCManager;
    m_pDCManager = nullptr;
    delete[] m_pColorTable;
    m_pColorTable = nullptr;
    delete m_pBrushBitmap25;
    m_pBrushBitmap25 = nullptr;
    delete m_pBrushBitmap50;
    m_pBrushBitmap50 = nullptr;
    delete m_pTimerManager;
    m_pTimerManager = nullptr;
}

void KSData::InitColorTable()
{
    if (!m_pColorTable)
        m_pColorTable = new KSColorEntry[COLOR_TABLE_SIZE]();
    KSColorEntry *t = m_pColorTable;
    t[0] = Entry(0, 0, 0);
    t[1] = Entry(0, 0, 128);
    t[2] = Entry(0, 128, 0);
    t[3] = Entry(0, 128, 128);
    t[4] = Entry(128, 0, 0);
    t[5] = Entry(128, 0, 128);
    t[6] = Entry(133, 69, 0);
    t[7] = Entry(128, 128, 128);
    t[8] = Entry(192, 192, 192);
    t[9] = Entry(0, 0, 255);
    t[10] = Entry(0, 255, 0);
    t[11] = Entry(0, 255, 255);
    t[12] = Entry(255, 0, 0);
    t[13] = Entry(255, 0, 255);
    t[14] = Entry(255, 255, 0);
    t[15] = Entry(255, 255, 255);
    t[16] = SysEntry(COLOR_MENU);
    t[17] = SysEntry(COLOR_MENUTEXT);
    t[18] = SysEntry(COLOR_MENU);
    t[19] = SysEntry(COLOR_MENUTEXT);
    t[20] = SysEntry(COLOR_WINDOWTEXT);
    t[21] = SysEntry(COLOR_WINDOW);
    t[22] = SysEntry(COLOR_HIGHLIGHT);
    t[23] = SysEntry(COLOR_HIGHLIGHTTEXT);
    t[24] = SysEntry(COLOR_BTNTEXT);
    t[25] = SysEntry(COLOR_BTNFACE);
    t[26] = SysEntry(COLOR_BTNHIGHLIGHT);
    t[27] = SysEntry(COLOR_BTNSHADOW);
    t[28] = SysEntry(COLOR_SCROLLBAR);
    t[29] = Entry(240, 191, 140);
    // Entry 30 has no colour of its own; it stays black.
}

namespace {

// One pattern byte per row, each row padded to 16 bits as the platform's
// device-dependent bitmaps are.
Bitmap *NewPatternBitmap(unsigned char rowA, unsigned char rowB)
{
    unsigned char rows[16] = {};
    for (int i = 0; i < 8; ++i)
        rows[2 * i] = (i % 2) ? rowB : rowA;
    CBitmap temporary;
    temporary.Attach(CreateBitmap(8, 8, 1, 1, rows));
    return new Bitmap(&temporary);
}

} // namespace

void KSData::CreateBrushBitmaps()
{
    delete m_pBrushBitmap50;
    m_pBrushBitmap50 = nullptr;
    delete m_pBrushBitmap25;
    m_pBrushBitmap25 = nullptr;
    m_pBrushBitmap50 = NewPatternBitmap(0x55, 0xAA);
    m_pBrushBitmap25 = NewPatternBitmap(0x88, 0x22);
}

unsigned int KSData::GetUserMessageCode(UserMessageCode code) const
{
    unsigned idx = static_cast<unsigned>(code);
    return idx <= 2 ? m_aUserMessages[idx] : 0;
}

int KSData::ScaleX(int v) const
{
    return MulDiv(v, m_nLogPixelsX, 96);
}

int KSData::ScaleY(int v) const
{
    return MulDiv(v, m_nLogPixelsY, 96);
}

int KSData::UnScaleX(int v) const
{
    return MulDiv(v, 96, m_nLogPixelsX);
}

int KSData::UnScaleY(int v) const
{
    return MulDiv(v, 96, m_nLogPixelsY);
}

bool KSData::TestHiResCounter()
{
    LARGE_INTEGER freq;
    if (!QueryPerformanceFrequency(&freq) || freq.QuadPart == 0)
        return false;
    SYSTEM_INFO si;
    GetSystemInfo(&si);
    if (si.dwNumberOfProcessors <= 1)
        return true;

    HANDLE process = GetCurrentProcess();
    DWORD_PTR processMask = 0, systemMask = 0;
    if (!GetProcessAffinityMask(process, &processMask, &systemMask))
        return false;
    LARGE_INTEGER last;
    QueryPerformanceCounter(&last);
    bool monotonic = true;
    auto tryCpu = [&](int cpu) {
        DWORD_PTR const bit = DWORD_PTR(1) << cpu;
        if (!(processMask & bit))
            return;
        SetProcessAffinityMask(process, bit);
        Sleep(0);
        LARGE_INTEGER now;
        QueryPerformanceCounter(&now);
        if (now.QuadPart < last.QuadPart)
            monotonic = false;
        last = now;
    };
    int const bits = int(sizeof(DWORD_PTR) * 8);
    for (int cpu = 0; cpu < bits && monotonic; ++cpu)
        tryCpu(cpu);
    for (int cpu = bits - 1; cpu >= 0 && monotonic; --cpu)
        tryCpu(cpu);
    SetProcessAffinityMask(process, processMask);
    return monotonic;
}
