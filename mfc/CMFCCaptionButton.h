#pragma once
// One button of a pane's caption: its hit code, where it sits in the
// caption (window coordinates) and its state. The pane owns its buttons and
// the painter draws them.
#include "frame/Kestrel5Api.h"
#include "mfc/CObject.h"
#include "mfc/CRect.h"

class KSAPI CMFCCaptionButton : public CObject
{
public:
    explicit CMFCCaptionButton(unsigned int nHit = 0) : m_nHit(nHit) {}

    unsigned int GetHit() const { return m_nHit; }
    CRect GetRect() const { return m_rect; }
    void SetRect(CRect const &rect) { m_rect = rect; }
    // A hidden button takes no room in the caption and answers no hit test.
    void Hide(bool bHide) { m_bHidden = bHide; }
    bool IsHidden() const { return m_bHidden; }
    void Enable(bool bEnable) { m_bEnabled = bEnable; }
    bool IsEnabled() const { return m_bEnabled; }

    bool m_bPushed = false;  // pressed and the mouse still over it
    bool m_bFocused = false; // the mouse hovers over it

private:
    unsigned int m_nHit;
    CRect m_rect;
    bool m_bHidden = false;
    bool m_bEnabled = true;
};
