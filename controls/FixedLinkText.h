#pragma once
#include "controls/FixedText.h"
#include "frame/Link.h"

// A text that reads as a link: blue, underlined, a hand over it; a click on
// it calls the link with the control.
class KSAPI FixedLinkText : public FixedText
{
public:
    FixedLinkText(Window *pParent, int nStyle);
    void SetLink(Link const &rLink) { m_aLink = rLink; }
    void Paint(CRectangle const &rRect) override;
    void MouseButtonDown(MouseEvent const &rEvt) override;
    void MouseButtonUp(MouseEvent const &rEvt) override;

protected:
    COLORREF TextColour() const override;
    bool Underlined() const override { return true; }

private:
    Link m_aLink;
    bool m_bPressed;
};
