#pragma once
#include <memory>
// A window that shows an animated GIF: it decodes the file itself and plays
// it on a thread of its own at below-normal priority. The player composes
// the frames on a canvas of the file's logical screen, which a spin lock
// guards against the window's own painting.
#include "frame/Kestrel5Api.h"
#include "graphics/Color.h"
#include "graphics/CRectangle.h"
#include "graphics/Size.h"
#include "graphics/Texture.h"
#include "window/Window.h"

#include <cstdint>
#include <vector>

class DirEntry;

class WindowFrame3D;

class KSAPI AnimatedGif : public Window
{
public:
    // A child window of pParent; nFrameWidth pixels around the image are
    // kept for a frame (the window is that much larger on each side).
    AnimatedGif(Window *pParent, int nFrameWidth);
    // Stops a running animation and waits for its thread to end.
    ~AnimatedGif() override;

    // Reads the file named like rFile with the extension "anm" (anim.gif
    // reads anim.anm): 1 when it is a GIF87a or GIF89a file whose logical
    // screen and first frame are 1..16384 pixels a side and whose first frame
    // decodes; 0 otherwise. The window then takes the screen's size (plus
    // the frame). A running animation stops first.
    int Load(DirEntry const &rFile);
    bool IsLoaded() const { return m_bLoaded; }
    // Starts the player thread. False while a previous thread is still busy;
    // true and nothing done when nothing is loaded, when already playing or
    // when the window has no platform window.
    bool Play();
    // Asks the player to stop and waits until its thread has ended.
    void Stop();
    bool IsPlaying() const { return m_nPlayState == PLAY_RUNNING; }
    // What the window shows around and beneath the image (the button face
    // until told otherwise). The canvas and the image's transparent pixels
    // take the texture's colour (a gradient's average, a bitmap's face
    // colour); the rest of the window is erased with the texture itself. A
    // running animation is stopped for the change and started again.
    void SetBackgroundTexture(Texture const &rTexture);
    Texture GetBackgroundTexture() const { return m_aBackgroundTexture; }

protected:
    void Paint(CRectangle const &rRect) override;
    // The first frame over the background at its place inside the frame.
    void DrawFirstFrame();
    // From the start of the data: the first frame (see NextImage).
    bool FirstImage();
    // The walk from the read position to the next frame, which it decodes:
    // true and the frame in m_aIndices at m_nImageLeft/Top. The trailer (or a 0
    // byte) starts the walk again at the beginning, once per call. False for
    // what is no frame: an unknown block, a frame that cannot be decoded, the
    // end of the data.
    bool NextImage();
    // Decodes the image whose descriptor follows the read position.
    bool TakeIt();
    // The next byte of the data, -1 at its end.
    int GetByte();
    // The next LZW code of the current width from the image's sub-blocks; -1
    // when they end.
    int GetCode();
    // One decoded index to the next pixel of the frame, in interlaced row
    // order when the frame is interlaced; pixels beyond the frame are dropped.
    void Output(unsigned char nIndex);
    // The player thread's body.
    void Play1();

    // What the player does for one frame, without the player: the canvas is
    // made on first use (or after Load), the next frame composed on it. False
    // when the walk found no frame (the next call starts from the beginning).
    // Not to be called while playing.
    bool StepCanvas();
    // A copy of the canvas (0x00RRGGBB, rows top to bottom, the logical
    // screen's size), taken under the canvas lock; empty before there is one.
    std::vector<std::uint32_t> GetCanvasPixels() const;
    Size GetScreenSize() const { return Size(m_nScreenWidth, m_nScreenHeight); }
    // Frames the player has put on the window since Play.
    long GetFramesShown() const { return m_nFramesShown; }

private:
    enum : long
    {
        PLAY_IDLE = 0,
        PLAY_STOP_REQUESTED = 1,
        PLAY_STOPPED = 2,
        PLAY_RUNNING = 5
    };

    static unsigned long __stdcall ThreadProc(void *pThis);
    void ImpFree();
    void ImpLockCanvas() const;
    void ImpUnlockCanvas() const;
    // A canvas of the screen's size over the background; the walk restarts.
    bool ImpStartCanvas();
    void ImpFreeCanvas();
    bool ImpComposeNext();
    void ImpSkipSubBlocks();
    // Copies the canvas onto the device context inside the frame.
    void ImpShowCanvas(void *hDC) const;
    void ImpDrawFrame(Size const &rOut);
    std::uint32_t ImpBackground() const;

    int m_nFrameWidth;
    // The sunken frame around the image, when there is a frame width.
    std::unique_ptr<WindowFrame3D> m_pFrame;
    Texture m_aBackgroundTexture;
    // The texture's colour, which the player's pixels take.
    Color m_aBackground;

    // The file after its header and global colour table.
    std::vector<std::uint8_t> m_aData;
    std::size_t m_nPos;
    std::uint32_t m_aGlobalTable[256];
    int m_nGlobalCount;
    int m_nScreenWidth;
    int m_nScreenHeight;
    int m_nBackgroundIndex;
    bool m_bLoaded;

    // From the last graphic control extension.
    int m_nDisposal; // the packed byte & 0x1C: 8 and 12 restore the area under the frame
    bool m_bTransparent;
    int m_nTransparentIndex;
    std::uint32_t m_nTransparentColor;
    int m_nDelay; // hundredths of a second
    int m_nDefaultDelay; // milliseconds, for a delay of 0

    // The decoded frame: its place on the screen and its indices.
    int m_nImageLeft;
    int m_nImageTop;
    int m_nImageWidth;
    int m_nImageHeight;
    std::vector<std::uint8_t> m_aIndices;
    std::uint32_t m_aFrameTable[256];
    bool m_bInterlaced;
    int m_nOutX;
    int m_nOutY;
    int m_nOutPass;

    // The LZW reader's place in the image's sub-blocks.
    int m_nCodeWidth;
    int m_nBlockLeft;
    bool m_bBlocksEnded;
    std::uint32_t m_nBitBuffer;
    int m_nBitCount;

    // The canvas (a top-down 32-bit DIB section) and the area saved under a
    // frame that is to be restored.
    void *m_hCanvas;
    std::uint32_t *m_pCanvasBits;
    std::vector<std::uint32_t> m_aSaved;
    int m_nSavedLeft;
    int m_nSavedTop;
    int m_nSavedWidth;
    int m_nSavedHeight;
    int m_nSavedDisposal;

    void *m_hThread;
    volatile long m_nPlayState;
    volatile long m_bBusy;
    mutable volatile long m_nCanvasLock;
    volatile long m_nFramesShown;
};
