#pragma once
#include "frame/Kestrel5Api.h"
#include "mfc/CStringT.h"

class CWnd;
class Bitmap;
class Container;
class Table;
class TimerManager;
class DCManager;
class TranscriptData;
struct LocaleRegistry;

// Selects one of the three window messages the library registers at start-up.
enum UserMessageCode
{
    UserMessageDragRender = 0,
    UserMessageDrop = 1,
    UserMessageQueryDrop = 2
};

// One entry of the named-colour table: 8-bit components kept in the high byte
// (255 is kept as 0xFFFF), the form the platform's 16-bit colour records use.
struct KSColorEntry
{
    unsigned short nRed;
    unsigned short nGreen;
    unsigned short nBlue;
};

// The process-wide data of the library, alive between KSInit and KSExit. It is
// the one place that owns objects of many layers; its header only names them.
class KSAPI KSData
{
public:
    KSData();
    ~KSData();
    KSData(KSData const &) = delete;
    KSData &operator=(KSData const &) = delete;

    static constexpr int COLOR_TABLE_SIZE = 31;
    static constexpr int KEY_CHAR_CODES = 13;

    unsigned int GetUserMessageCode(UserMessageCode code) const;
    void InitColorTable();
    // The 8 x 8 monochrome patterns of the pattern brushes (50 % and 25 % of
    // the pixels set); a second call replaces them.
    void CreateBrushBitmaps();

    int ScaleX(int v) const;
    int ScaleY(int v) const;
    int UnScaleX(int v) const;
    int UnScaleY(int v) const;

    bool HasVisualStyles() const { return m_bVisualStyles; }
    void SetVisualStyles(bool on) { m_bVisualStyles = on; }
    bool CanClearType() const { return m_bClearType; }
    void SetCanClearType(bool on) { m_bClearType = on; }
    bool CanHiResTimer() const { return m_bHiResTimer; }

    bool HasTranscriptData() const { return m_pTranscriptData != nullptr; }
    TranscriptData &GetTranscriptData() { return *m_pTranscriptData; }
    TranscriptData const &GetTranscriptData() const { return *m_pTranscriptData; }

    // Whether the performance counter can drive timers: it must never run
    // backwards when the process moves between processors.
    static bool TestHiResCounter();

    CWnd *m_pMainWnd;
    KSColorEntry *m_pColorTable;
    Bitmap *m_pBrushBitmap50;
    Bitmap *m_pBrushBitmap25;
    unsigned int m_aKeyCharCodes[KEY_CHAR_CODES];
    bool m_bInKeyInput;
    bool m_bKeyInputResult;
    // Clipboard state: the live Clipboard objects, the exchange-format
    // registry (ClipFormat entries, owned), the platform format of private
    // data, the private clipboard data, the platform format being rendered
    // on request (0: none), and whether the library holds the platform
    // clipboard open (the router closes it after each message).
    Container *m_pClipboards;
    Container *m_pClipFormats;
    unsigned int m_nClipPrivateFormat;
    void *m_pClipPrivateData;
    bool m_bClipPrivateDataValid;
    unsigned int m_nClipRequestFormat;
    bool m_bClipboardOpen;
    // Lookup tables of the locale formatting, made on demand there.
    LocaleRegistry *m_pLocaleCountries;
    LocaleRegistry *m_pLocaleLanguages;
    TimerManager *m_pTimerManager;
    DCManager *m_pDCManager;
    unsigned int m_aUserMessages[3];
    CStringA m_aWndClassName;
    TranscriptData *m_pTranscriptData;
    int m_nLogPixelsX;
    int m_nLogPixelsY;
    bool m_bVisualStyles;
    bool m_bClearType;
    bool m_bHiResTimer;
};
