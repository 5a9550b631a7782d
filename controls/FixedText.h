#pragma once
#include "controls/Static.h"
#include "text/SString.h"

// Text styles of a FixedText: how the text sits in the control.
constexpr unsigned long FIXEDTEXT_LEFT = 0x0000;
constexpr unsigned long FIXEDTEXT_CENTER = 0x0001;
constexpr unsigned long FIXEDTEXT_RIGHT = 0x0002;
constexpr unsigned long FIXEDTEXT_VCENTER = 0x0004; // one line, centred vertically
constexpr unsigned long FIXEDTEXT_WORDBREAK = 0x0010;
constexpr unsigned long FIXEDTEXT_ELLIPSIS = 0x8000; // "…" where a line is cut

// A text label painted by the library: the parent's face colour behind the
// text, the text inset by the padding and placed by the styles.
class KSAPI FixedText : public Static
{
public:
    FixedText(Window *pParent, int nStyle);
    FixedText(CWnd *pParentWnd, int nStyle);

    void SetText(SString const &rText) override;
    SString GetText() const override { return m_aText; }
    void SetStyles(unsigned long nStyles);
    unsigned long GetStyles() const { return m_nStyles; }
    void SetPadding(int nX, int nY);
    void Paint(CRectangle const &rRect) override;

protected:
    // The colours the text is drawn in; the link text changes them.
    virtual COLORREF TextColour() const;
    virtual bool Underlined() const { return false; }

private:
    SString m_aText;
    unsigned long m_nStyles;
    int m_nPadX;
    int m_nPadY;
};
