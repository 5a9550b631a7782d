#pragma once
// The painter of the docking windows: pane captions and their buttons, pane
// borders, dividers and the outline of a divider being dragged. It only
// draws and measures; the docking windows decide what is where and when.
//
// One object serves the whole process. GetPVisualManager makes it on first
// use; KSExit deletes it (through KSData's destruction), so that the next
// KSInit starts with a fresh one at the then current resolution.
//
// Metrics are design values for 96 dots per inch scaled to the screen's
// vertical resolution with MulDiv (rounded to nearest), 96 before KSInit:
//
//     caption height       20      the caption font's em is 12, so it fits
//     caption button edge  14      square, centred in the caption
//     button margin         3      (caption height - button edge) / 2, right of the last button
//     gap between buttons   1      keeps the frames of hot neighbours apart
//     pane border           1
//
// Caption layout, right to left:
//
//     | 4 | text ............ | 2 | [b3] 1 [b2] 1 [b1] 1 [b0] | 3 |
//
// The buttons come in the order of the hit codes handed in (the first is the
// rightmost); a hit code of 0 is a hidden button that takes no room. The
// caption text runs from the left padding to two pixels before the leftmost
// button, cut short with an ellipsis when it does not fit.
#include "frame/Kestrel5Api.h"
#include "graphics/Font.h"

class OutputDevice;
class CRectangle;
class SString;

class KSAPI ZnVisualManager
{
public:
    // The process-wide painter, made on first use; KSExit deletes it and
    // clears the pointer.
    static ZnVisualManager *GetPVisualManager();
    // The painter if one exists; never makes one.
    static ZnVisualManager *GetPVisualManagerIfAny();
    // Deletes the painter (if any); KSData's destruction calls it.
    static void DestroyVisualManager();
    // Installs a painter of the application's (a subclass) and takes it
    // over; the previous one is deleted. Null leaves none, so that the next
    // GetPVisualManager makes the library's own again.
    static void SetPVisualManager(ZnVisualManager *pNew);

    ZnVisualManager();
    virtual ~ZnVisualManager();
    ZnVisualManager(ZnVisualManager const &) = delete;
    ZnVisualManager &operator=(ZnVisualManager const &) = delete;

    enum ButtonState { ButtonNormal = 0, ButtonHot = 1, ButtonPressed = 2, ButtonDisabled = 3 };
    // The hit codes of the four caption buttons; 0 stands for no button.
    enum CaptionHit : unsigned {
        CaptionHitNone = 0,
        CaptionHitMaximize = 8,
        CaptionHitPin = 9,
        CaptionHitClose = 19,
        CaptionHitMenu = 25,
        // Not a hit code: the pin of a pinned-off pane, drawn lying.
        CaptionHitPinOff = 0x10009
    };

    virtual int GetCaptionHeight() const;
    virtual int GetCaptionButtonSize() const;
    virtual int GetPaneBorderWidth() const;

    // The buttons' rectangles inside the caption, right to left in the order
    // given; a hidden button (hit code 0) gets an empty rectangle. Buttons
    // are squares of the button edge (of the caption's height when that is
    // smaller), centred vertically. When the caption is too narrow for all
    // of them, those that do not fit (and every one after the first that
    // does not) get empty rectangles, and the result is false.
    virtual bool LayoutCaptionButtons(CRectangle const &rCaption, unsigned const *pHitCodes, int nCount,
                                      CRectangle *pOut) const;
    // Where the caption text goes when the caption holds these buttons.
    virtual CRectangle GetCaptionTextRect(CRectangle const &rCaption, unsigned const *pHitCodes, int nCount) const;

    // The caption with its text kept clear of the four standard buttons
    // (close, menu, pin, maximise).
    virtual void DrawPaneCaption(OutputDevice &rDev, CRectangle const &rCaption, SString const &rText, bool bActive);
    // The same, the text kept clear of the buttons the caption really shows.
    virtual void DrawPaneCaption(OutputDevice &rDev, CRectangle const &rCaption, SString const &rText, bool bActive,
                                 unsigned const *pHitCodes, int nCount);
    // Paints the caption's background under the button first, so that a
    // button can be redrawn alone when its state changes. An unknown hit
    // code draws the background only.
    virtual void DrawCaptionButton(OutputDevice &rDev, CRectangle const &rButton, unsigned nHitCode,
                                   ButtonState eState, bool bActiveCaption);
    // A frame of the border width inside the window rectangle; the inside
    // is left alone.
    virtual void DrawPaneBorder(OutputDevice &rDev, CRectangle const &rWindowRect);
    // bHorizontal: the divider runs left to right (and moves up and down).
    // A default divider (between a docked group and the rest of the site)
    // has a raised edge, an inner one a fainter line on its far side.
    virtual void DrawDivider(OutputDevice &rDev, CRectangle const &rDivider, bool bHorizontal, bool bDefault);
    // A half-tone pattern inverted into the rectangle: drawing it a second
    // time at the same place removes it, so the caller needs no copy of what
    // was under it.
    virtual void DrawDividerTracker(OutputDevice &rDev, CRectangle const &rTracker);

    // Not drawn by this painter: each shows the message box "Not implemented
    // yet (Kestrel5)" and draws nothing. A modal box blocks a test that has
    // nothing closing it.
    virtual void DrawPaneTab(OutputDevice &rDev, CRectangle const &rTab, SString const &rText, bool bActive);
    virtual void DrawAutoHideButton(OutputDevice &rDev, CRectangle const &rButton, SString const &rText,
                                    unsigned long nAlign);

protected:
    // v pixels at 96 dots per inch at the screen's vertical resolution.
    static int Scale(int v);
    // The caption font at the current resolution in the caption's text
    // colour, made again when either changed since it was made.
    Font GetCaptionFont(bool bActive);

private:
    // Inactive and active, each with the resolution it was made for.
    Font m_aCaptionFont[2];
    int m_nCaptionFontDpi[2];
};
