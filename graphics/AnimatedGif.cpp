#include "graphics/AnimatedGif.h"
#include "graphics/WindowFrame3D.h"

#include "base/DirEntry.h"
#include "graphics/Bitmap.h"
#include "graphics/ColorName.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <windows.h>

namespace {

constexpr int LZW_TABLE = 4096;
// Files are read whole; one this large is no animation.
constexpr long long MAX_FILE_BYTES = 256ll << 20;

bool SideFits(int n)
{
    return n > 0 && n <= BITMAP_MAX_SIDE;
}

unsigned U16(std::uint8_t const *p)
{
    return unsigned(p[0]) | unsigned(p[1]) << 8;
}

std::uint32_t Rgb(std::uint8_t const *p)
{
    return std::uint32_t(p[0]) << 16 | std::uint32_t(p[1]) << 8 | std::uint32_t(p[2]);
}

bool ReadFileBytes(DirEntry const &rFile, std::vector<std::uint8_t> &rBytes)
{
    std::wstring const name = rFile.GetFullW();
    HANDLE file = CreateFileW(name.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    LARGE_INTEGER size{};
    bool ok = GetFileSizeEx(file, &size) && size.QuadPart > 0 && size.QuadPart <= MAX_FILE_BYTES;
    if (ok) {
        rBytes.resize(std::size_t(size.QuadPart));
        DWORD got = 0;
        ok = ReadFile(file, rBytes.data(), DWORD(rBytes.size()), &got, nullptr) && got == rBytes.size();
    }
    CloseHandle(file);
    return ok;
}

// The pixels (0x00RRGGBB) onto a device context, top-down.
void ShowPixels(HDC hDC, int x, int y, int w, int h, std::uint32_t const *pPixels)
{
    BITMAPINFO const info = TopDownDibInfo(w, h);
    SetDIBitsToDevice(hDC, x, y, DWORD(w), DWORD(h), 0, 0, 0, UINT(h), pPixels, &info, DIB_RGB_COLORS);
}

} // namespace

AnimatedGif::AnimatedGif(Window *pParent, int nFrameWidth)
    : Window(pParent, 0, 0), m_nFrameWidth(std::max(nFrameWidth, 0)), m_aBackgroundTexture(Color(ColorNameButtonFace)),
      m_aBackground(ColorNameButtonFace), m_nPos(0),
      m_aGlobalTable{}, m_nGlobalCount(0), m_nScreenWidth(0), m_nScreenHeight(0), m_nBackgroundIndex(0),
      m_bLoaded(false), m_nDisposal(0), m_bTransparent(false), m_nTransparentIndex(0), m_nTransparentColor(0),
      m_nDelay(0), m_nDefaultDelay(50), m_nImageLeft(0), m_nImageTop(0), m_nImageWidth(10), m_nImageHeight(10),
      m_aFrameTable{}, m_bInterlaced(false), m_nOutX(0), m_nOutY(0), m_nOutPass(0), m_nCodeWidth(0),
      m_nBlockLeft(0), m_bBlocksEnded(true), m_nBitBuffer(0), m_nBitCount(0), m_hCanvas(nullptr),
      m_pCanvasBits(nullptr), m_nSavedLeft(0), m_nSavedTop(0), m_nSavedWidth(0), m_nSavedHeight(0),
      m_nSavedDisposal(0), m_hThread(nullptr), m_nPlayState(PLAY_IDLE), m_bBusy(0), m_nCanvasLock(0),
      m_nFramesShown(0)
{
    if (m_nFrameWidth > 0)
        m_pFrame = std::make_unique<WindowFrame3D>(this, short(std::min(m_nFrameWidth, 0x7FFF)), short(0), true);
}

AnimatedGif::~AnimatedGif()
{
    Stop();
    ImpFree();
}

void AnimatedGif::ImpFree()
{
    ImpFreeCanvas();
    m_aData.clear();
    m_aData.shrink_to_fit();
    m_aIndices.clear();
    m_aIndices.shrink_to_fit();
    m_nPos = 0;
    m_nGlobalCount = 0;
    m_bLoaded = false;
}

void AnimatedGif::ImpFreeCanvas()
{
    ImpLockCanvas();
    if (m_hCanvas)
        DeleteObject(static_cast<HBITMAP>(m_hCanvas));
    m_hCanvas = nullptr;
    m_pCanvasBits = nullptr;
    m_aSaved.clear();
    m_aSaved.shrink_to_fit();
    m_nSavedDisposal = 0;
    ImpUnlockCanvas();
}

void AnimatedGif::ImpLockCanvas() const
{
    while (InterlockedExchange(&m_nCanvasLock, 1) != 0)
        Sleep(0);
}

void AnimatedGif::ImpUnlockCanvas() const
{
    InterlockedExchange(&m_nCanvasLock, 0);
}

std::uint32_t AnimatedGif::ImpBackground() const
{
    return std::uint32_t(m_aBackground.Get8BitRed()) << 16 | std::uint32_t(m_aBackground.Get8BitGreen()) << 8 |
           std::uint32_t(m_aBackground.Get8BitBlue());
}

// ------------------------------------------------------------ the file

int AnimatedGif::Load(DirEntry const &rFile)
{
    Stop();
    ImpFree();
    DirEntry file(rFile);
    file.ChangeExtension("anm");
    std::vector<std::uint8_t> bytes;
    if (!ReadFileBytes(file, bytes) || bytes.size() < 13)
        return 0;
    if (std::memcmp(bytes.data(), "GIF87a", 6) != 0 && std::memcmp(bytes.data(), "GIF89a", 6) != 0)
        return 0;
    int const w = int(U16(&bytes[6])), h = int(U16(&bytes[8]));
    if (!SideFits(w) || !SideFits(h))
        return 0;
    std::uint8_t const flags = bytes[10];
    m_nBackgroundIndex = bytes[11];
    std::size_t start = 13;
    if (flags & 0x80) {
        std::size_t const entries = std::size_t(2) << (flags & 7);
        start += 3 * entries;
        if (start <= bytes.size()) {
            m_nGlobalCount = int(entries);
            for (std::size_t i = 0; i < entries; ++i)
                m_aGlobalTable[i] = Rgb(&bytes[13 + 3 * i]);
        }
        start = std::min(start, bytes.size());
    }
    m_nScreenWidth = w;
    m_nScreenHeight = h;
    m_aData.assign(bytes.begin() + std::ptrdiff_t(start), bytes.end());
    if (!FirstImage()) {
        ImpFree();
        return 0;
    }
    m_bLoaded = true;
    if (GetHWND()) {
        ChangeOutputSizePixel(Size(w + 2 * m_nFrameWidth, h + 2 * m_nFrameWidth));
        Invalidate();
    }
    return 1;
}

// ------------------------------------------------------------ the frame walk

int AnimatedGif::GetByte()
{
    if (m_nPos >= m_aData.size())
        return -1;
    return m_aData[m_nPos++];
}

void AnimatedGif::ImpSkipSubBlocks()
{
    for (int n = GetByte(); n > 0; n = GetByte())
        m_nPos = std::min(m_aData.size(), m_nPos + std::size_t(n));
}

bool AnimatedGif::FirstImage()
{
    m_nPos = 0;
    m_nDisposal = 0;
    m_bTransparent = false;
    m_nDelay = 0;
    return NextImage();
}

bool AnimatedGif::NextImage()
{
    bool restarted = false;
    for (;;) {
        int const b = GetByte();
        if (b < 0)
            return false;
        if (b == 0 || b == 0x3B) {
            if (restarted)
                return false; // a whole walk without a frame
            restarted = true;
            m_nPos = 0;
            continue;
        }
        if (b == 0x2C)
            return TakeIt();
        if (b != 0x21)
            return false;
        int const label = GetByte();
        if (label == 0xF9) {
            int const size = GetByte();
            if (size >= 4 && m_nPos + 4 <= m_aData.size()) {
                std::uint8_t const *p = &m_aData[m_nPos];
                m_nDisposal = p[0] & 0x1C;
                m_bTransparent = (p[0] & 1) != 0;
                m_nDelay = int(U16(p + 1));
                m_nTransparentIndex = p[3];
            }
            if (size > 0)
                m_nPos = std::min(m_aData.size(), m_nPos + std::size_t(size));
            ImpSkipSubBlocks();
        } else if (label == 0x01 || label == 0xFE || label == 0xFF) {
            ImpSkipSubBlocks();
        } else {
            return false;
        }
    }
}

// ------------------------------------------------------------ image decoding

bool AnimatedGif::TakeIt()
{
    if (m_nPos + 9 > m_aData.size()) {
        m_nPos = m_aData.size();
        return false;
    }
    std::uint8_t const *p = &m_aData[m_nPos];
    int const left = int(U16(p)), top = int(U16(p + 2)), w = int(U16(p + 4)), h = int(U16(p + 6));
    std::uint8_t const flags = p[8];
    m_nPos += 9;
    bool const local = (flags & 0x80) != 0;
    std::size_t const localEntries = local ? std::size_t(2) << (flags & 7) : 0;
    if (local && m_nPos + 3 * localEntries > m_aData.size()) {
        m_nPos = m_aData.size();
        return false;
    }
    std::fill(std::begin(m_aFrameTable), std::end(m_aFrameTable), 0u);
    if (local) {
        for (std::size_t i = 0; i < localEntries; ++i)
            m_aFrameTable[i] = Rgb(&m_aData[m_nPos + 3 * i]);
        m_nPos += 3 * localEntries;
    } else if (m_nGlobalCount > 0) {
        std::copy(m_aGlobalTable, m_aGlobalTable + m_nGlobalCount, m_aFrameTable);
    } else {
        // No table at all: greys, so that the indices still show.
        for (std::uint32_t i = 0; i < 256; ++i)
            m_aFrameTable[i] = i << 16 | i << 8 | i;
    }
    int const minCodeSize = GetByte();
    std::size_t const dataStart = m_nPos;
    // The compressed bytes, counted without reading them: an LZW code of
    // 12 bits stands for at most 4096 pixels, so a byte gives fewer than
    // 2731. A frame larger than that is refused before any memory is taken
    // for it.
    std::size_t dataBytes = 0;
    for (std::size_t i = m_nPos; i < m_aData.size() && m_aData[i] != 0; i += 1 + std::size_t(m_aData[i]))
        dataBytes += std::min(std::size_t(m_aData[i]), m_aData.size() - i - 1);
    if (minCodeSize < 1 || minCodeSize > 8 || !SideFits(w) || !SideFits(h) ||
        double(w) * h > double(dataBytes) * 2731.0 + 4096.0) {
        if (minCodeSize >= 0)
            ImpSkipSubBlocks();
        return false;
    }
    m_nImageLeft = left;
    m_nImageTop = top;
    m_nImageWidth = w;
    m_nImageHeight = h;
    m_nTransparentColor = m_aFrameTable[m_nTransparentIndex & 0xFF];
    m_aIndices.assign(std::size_t(w) * std::size_t(h), std::uint8_t(m_bTransparent ? m_nTransparentIndex : 0));
    m_bInterlaced = (flags & 0x40) != 0;
    m_nOutX = 0;
    m_nOutY = 0;
    m_nOutPass = 0;
    m_nPos = dataStart;
    m_nBlockLeft = 0;
    m_bBlocksEnded = false;
    m_nBitBuffer = 0;
    m_nBitCount = 0;

    // The string of each code is its prefix's string plus its suffix; codes
    // below the clear code are single indices.
    std::vector<std::uint16_t> prefix(LZW_TABLE);
    std::vector<std::uint8_t> suffix(LZW_TABLE), stack(LZW_TABLE + 1);
    int const clear = 1 << minCodeSize, end = clear + 1;
    for (int i = 0; i < clear; ++i)
        suffix[std::size_t(i)] = std::uint8_t(i);
    int next = end + 1, prev = -1;
    std::uint8_t first = 0;
    m_nCodeWidth = minCodeSize + 1;
    while (m_nOutY < h) {
        int const code = GetCode();
        if (code < 0 || code == end)
            break;
        if (code == clear) {
            m_nCodeWidth = minCodeSize + 1;
            next = end + 1;
            prev = -1;
            continue;
        }
        if (prev < 0) {
            if (code >= clear)
                break; // no string yet that a code could name
            Output(std::uint8_t(code));
            first = std::uint8_t(code);
            prev = code;
            continue;
        }
        if (code > next || (code == next && next >= LZW_TABLE))
            break; // a code past the table: the rest of the frame stays as it is
        int cur = code == next ? prev : code;
        std::size_t depth = 0;
        while (cur >= clear && depth < LZW_TABLE) {
            stack[depth++] = suffix[std::size_t(cur)];
            cur = prefix[std::size_t(cur)];
        }
        stack[depth++] = std::uint8_t(cur);
        first = stack[depth - 1];
        while (depth > 0)
            Output(stack[--depth]);
        if (code == next)
            Output(first);
        if (next < LZW_TABLE) {
            prefix[std::size_t(next)] = std::uint16_t(prev);
            suffix[std::size_t(next)] = first;
            ++next;
            if (next == (1 << m_nCodeWidth) && m_nCodeWidth < 12)
                ++m_nCodeWidth;
        }
        prev = code;
    }
    if (!m_bBlocksEnded) {
        // The frame was full before its codes ended: the rest of the current
        // sub-block and the ones after it.
        m_nPos = std::min(m_aData.size(), m_nPos + std::size_t(m_nBlockLeft));
        ImpSkipSubBlocks();
    }
    return true;
}

int AnimatedGif::GetCode()
{
    while (m_nBitCount < m_nCodeWidth) {
        if (m_nBlockLeft == 0) {
            if (m_bBlocksEnded)
                return -1;
            int const n = GetByte();
            if (n <= 0) {
                m_bBlocksEnded = true;
                return -1;
            }
            m_nBlockLeft = n;
        }
        int const b = GetByte();
        if (b < 0) {
            m_bBlocksEnded = true;
            return -1;
        }
        --m_nBlockLeft;
        m_nBitBuffer |= std::uint32_t(b) << m_nBitCount;
        m_nBitCount += 8;
    }
    int const code = int(m_nBitBuffer & ((1u << m_nCodeWidth) - 1));
    m_nBitBuffer >>= m_nCodeWidth;
    m_nBitCount -= m_nCodeWidth;
    return code;
}

void AnimatedGif::Output(unsigned char nIndex)
{
    if (m_nOutY >= m_nImageHeight)
        return;
    m_aIndices[std::size_t(m_nOutY) * std::size_t(m_nImageWidth) + std::size_t(m_nOutX)] = nIndex;
    if (++m_nOutX < m_nImageWidth)
        return;
    m_nOutX = 0;
    if (!m_bInterlaced) {
        ++m_nOutY;
        return;
    }
    static int const start[4] = {0, 4, 2, 1}, step[4] = {8, 8, 4, 2};
    m_nOutY += step[m_nOutPass];
    while (m_nOutY >= m_nImageHeight && m_nOutPass < 3) {
        ++m_nOutPass;
        m_nOutY = start[m_nOutPass];
    }
}

// ------------------------------------------------------------ the canvas

bool AnimatedGif::ImpStartCanvas()
{
    ImpFreeCanvas();
    if (!m_bLoaded)
        return false;
    BITMAPINFO const info = TopDownDibInfo(m_nScreenWidth, m_nScreenHeight);
    void *bits = nullptr;
    HBITMAP canvas = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!canvas || !bits) {
        if (canvas)
            DeleteObject(canvas);
        return false;
    }
    auto *pixels = static_cast<std::uint32_t *>(bits);
    std::fill(pixels, pixels + std::size_t(m_nScreenWidth) * std::size_t(m_nScreenHeight), ImpBackground());
    ImpLockCanvas();
    m_hCanvas = canvas;
    m_pCanvasBits = pixels;
    ImpUnlockCanvas();
    m_nPos = 0;
    m_nDisposal = 0;
    m_bTransparent = false;
    m_nDelay = 0;
    return true;
}

// Call with the canvas lock held.
bool AnimatedGif::ImpComposeNext()
{
    if (!m_pCanvasBits)
        return false;
    int const sw = m_nScreenWidth;
    if (m_nSavedDisposal == 8 || m_nSavedDisposal == 12) {
        for (int y = 0; y < m_nSavedHeight; ++y)
            std::copy_n(m_aSaved.data() + std::size_t(y) * std::size_t(m_nSavedWidth), m_nSavedWidth,
                        m_pCanvasBits + std::size_t(m_nSavedTop + y) * std::size_t(sw) + std::size_t(m_nSavedLeft));
    }
    m_nSavedDisposal = 0;
    if (!NextImage())
        return false;
    // The frame's part that lies on the screen.
    int const x0 = std::min(m_nImageLeft, sw), y0 = std::min(m_nImageTop, m_nScreenHeight);
    int const x1 = std::min(m_nImageLeft + m_nImageWidth, sw), y1 = std::min(m_nImageTop + m_nImageHeight, m_nScreenHeight);
    if (m_nDisposal == 8 || m_nDisposal == 12) {
        m_nSavedDisposal = m_nDisposal;
        m_nSavedLeft = x0;
        m_nSavedTop = y0;
        m_nSavedWidth = x1 - x0;
        m_nSavedHeight = y1 - y0;
        m_aSaved.resize(std::size_t(m_nSavedWidth) * std::size_t(m_nSavedHeight));
        for (int y = 0; y < m_nSavedHeight; ++y)
            std::copy_n(m_pCanvasBits + std::size_t(y0 + y) * std::size_t(sw) + std::size_t(x0), m_nSavedWidth,
                        m_aSaved.data() + std::size_t(y) * std::size_t(m_nSavedWidth));
    }
    for (int y = y0; y < y1; ++y) {
        std::uint8_t const *row = m_aIndices.data() + std::size_t(y - m_nImageTop) * std::size_t(m_nImageWidth);
        std::uint32_t *out = m_pCanvasBits + std::size_t(y) * std::size_t(sw);
        for (int x = x0; x < x1; ++x) {
            std::uint8_t const index = row[x - m_nImageLeft];
            if (!m_bTransparent || index != m_nTransparentIndex)
                out[x] = m_aFrameTable[index];
        }
    }
    return true;
}

bool AnimatedGif::StepCanvas()
{
    if (m_nPlayState == PLAY_RUNNING)
        return false;
    if (!m_pCanvasBits && !ImpStartCanvas())
        return false;
    ImpLockCanvas();
    bool const composed = ImpComposeNext();
    ImpUnlockCanvas();
    if (!composed)
        m_nPos = 0;
    return composed;
}

std::vector<std::uint32_t> AnimatedGif::GetCanvasPixels() const
{
    std::vector<std::uint32_t> pixels;
    ImpLockCanvas();
    if (m_pCanvasBits)
        pixels.assign(m_pCanvasBits, m_pCanvasBits + std::size_t(m_nScreenWidth) * std::size_t(m_nScreenHeight));
    ImpUnlockCanvas();
    return pixels;
}

void AnimatedGif::ImpShowCanvas(void *hDC) const
{
    if (m_pCanvasBits)
        ShowPixels(static_cast<HDC>(hDC), m_nFrameWidth, m_nFrameWidth, m_nScreenWidth, m_nScreenHeight,
                   m_pCanvasBits);
}

// ------------------------------------------------------------ painting

void AnimatedGif::Paint(CRectangle const &)
{
    HDC dc = GethDC();
    Size const out = GetOutputSizePixel();
    if (!dc || out.IsEmpty())
        return;
    if (m_bBusy) {
        // The player owns the walk; what it composed last is on the canvas.
        if (m_nFrameWidth > 0)
            Erase(m_aBackgroundTexture, CRectangle(Point(0, 0), out));
        ImpDrawFrame(out);
        ImpLockCanvas();
        ImpShowCanvas(dc);
        ImpUnlockCanvas();
        return;
    }
    Erase(m_aBackgroundTexture, CRectangle(Point(0, 0), out));
    ImpDrawFrame(out);
    DrawFirstFrame();
}

void AnimatedGif::ImpDrawFrame(Size const &rOut)
{
    if (!m_pFrame)
        return;
    m_pFrame->SetPosSizePixel(Point(0, 0), rOut);
    m_pFrame->Draw();
}

void AnimatedGif::DrawFirstFrame()
{
    HDC dc = GethDC();
    if (!dc || !m_bLoaded)
        return;
    // The walk's place and the last control block belong to whoever steps
    // the canvas; the first frame is decoded on the side.
    std::size_t const pos = m_nPos;
    int const disposal = m_nDisposal, transparentIndex = m_nTransparentIndex, delay = m_nDelay;
    bool const transparent = m_bTransparent;
    struct Restore
    {
        AnimatedGif &r;
        std::size_t pos;
        int disposal, transparentIndex, delay;
        bool transparent;
        ~Restore()
        {
            r.m_nPos = pos;
            r.m_nDisposal = disposal;
            r.m_nTransparentIndex = transparentIndex;
            r.m_nDelay = delay;
            r.m_bTransparent = transparent;
        }
    } restore{*this, pos, disposal, transparentIndex, delay, transparent};
    if (!FirstImage())
        return;
    int const x0 = std::min(m_nImageLeft, m_nScreenWidth), y0 = std::min(m_nImageTop, m_nScreenHeight);
    int const w = std::min(m_nImageLeft + m_nImageWidth, m_nScreenWidth) - x0;
    int const h = std::min(m_nImageTop + m_nImageHeight, m_nScreenHeight) - y0;
    if (w <= 0 || h <= 0)
        return;
    // Transparent pixels show the background the window is erased with.
    std::vector<std::uint32_t> pixels(std::size_t(w) * std::size_t(h));
    std::uint32_t const back = ImpBackground();
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            std::uint8_t const index =
                m_aIndices[std::size_t(y0 - m_nImageTop + y) * std::size_t(m_nImageWidth) + std::size_t(x0 - m_nImageLeft + x)];
            pixels[std::size_t(y) * std::size_t(w) + std::size_t(x)] =
                m_bTransparent && index == m_nTransparentIndex ? back : m_aFrameTable[index];
        }
    ShowPixels(dc, m_nFrameWidth + x0, m_nFrameWidth + y0, w, h, pixels.data());
}

// ------------------------------------------------------------ playing

bool AnimatedGif::Play()
{
    if (m_bBusy)
        return false;
    if (!m_bLoaded || m_nPlayState == PLAY_RUNNING || !GetHWND())
        return true;
    if (m_hThread) {
        // A player that ended on its own (no canvas could be made) has
        // cleared busy and is returning.
        WaitForSingleObject(static_cast<HANDLE>(m_hThread), INFINITE);
        CloseHandle(static_cast<HANDLE>(m_hThread));
        m_hThread = nullptr;
    }
    m_nPos = 0;
    m_nFramesShown = 0;
    InterlockedExchange(&m_nPlayState, PLAY_RUNNING);
    InterlockedExchange(&m_bBusy, 1);
    HANDLE thread = CreateThread(nullptr, 0, &AnimatedGif::ThreadProc, this, CREATE_SUSPENDED, nullptr);
    if (!thread) {
        InterlockedExchange(&m_nPlayState, PLAY_IDLE);
        InterlockedExchange(&m_bBusy, 0);
        return false;
    }
    SetThreadPriority(thread, THREAD_PRIORITY_BELOW_NORMAL);
    m_hThread = thread;
    ResumeThread(thread);
    return true;
}

unsigned long __stdcall AnimatedGif::ThreadProc(void *pThis)
{
    static_cast<AnimatedGif *>(pThis)->Play1();
    return 0;
}

void AnimatedGif::Play1()
{
    HWND const hWnd = GetHWND();
    HDC const dc = hWnd ? GetDC(hWnd) : nullptr;

    bool const canvas = dc && ImpStartCanvas();
    while (canvas && m_nPlayState != PLAY_STOP_REQUESTED) {
        DWORD const start = GetTickCount();
        ImpLockCanvas();
        bool const composed = ImpComposeNext();
        if (composed)
            ImpShowCanvas(dc);
        ImpUnlockCanvas();
        DWORD wait = DWORD(m_nDefaultDelay);
        if (composed) {
            InterlockedIncrement(&m_nFramesShown);
            if (m_nDelay > 0)
                wait = DWORD(m_nDelay) * 10;
        } else {
            // No frame where one was expected (damaged data, no trailer):
            // the walk starts again after the default pause.
            m_nPos = 0;
        }
        for (DWORD done = GetTickCount() - start; done < wait && m_nPlayState != PLAY_STOP_REQUESTED;
             done = GetTickCount() - start)
            Sleep(std::min<DWORD>(100, wait - done));
    }
    if (dc)
        ReleaseDC(hWnd, dc);
    ImpLockCanvas();
    m_aSaved.clear();
    m_aSaved.shrink_to_fit();
    m_nSavedDisposal = 0;
    ImpUnlockCanvas();
    InterlockedExchange(&m_nPlayState, PLAY_STOPPED);
    InterlockedExchange(&m_bBusy, 0);
}

void AnimatedGif::SetBackgroundTexture(Texture const &rTexture)
{
    bool const playing = m_nPlayState == PLAY_RUNNING;
    Stop();
    while (m_bBusy)
        Sleep(10);
    m_aBackgroundTexture = rTexture;
    m_aBackground = m_aBackgroundTexture.GetColor(this);
    // A canvas composed by hand still shows the old colour; the next one
    // (Play, Load) starts with the new.
    if (playing)
        Play();
    else if (GetHWND())
        Invalidate();
}

void AnimatedGif::Stop()
{
    if (InterlockedCompareExchange(&m_nPlayState, PLAY_STOP_REQUESTED, PLAY_RUNNING) == PLAY_RUNNING) {
        while (m_nPlayState != PLAY_STOPPED)
            Sleep(1);
    }
    // The thread has acknowledged; it only has to return now.
    if (m_hThread) {
        WaitForSingleObject(static_cast<HANDLE>(m_hThread), INFINITE);
        CloseHandle(static_cast<HANDLE>(m_hThread));
        m_hThread = nullptr;
    }
}
