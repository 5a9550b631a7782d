#pragma once
// An editor control that colours words: a rich-text control whose words are
// coloured as OnGetWordColor answers, again after every change of the text.
#include "mfc/CWnd.h"
#include "text/SString.h"

class KSAPI CBCGPEditCtrl : public CWnd
{
    DECLARE_DYNAMIC(CBCGPEditCtrl)

public:
    CBCGPEditCtrl();
    ~CBCGPEditCtrl() override;
    bool Create(unsigned long dwStyle, RECT const &rect, CWnd *pParentWnd, unsigned int nID);

    // The clipboard operations; Paste's argument is where the text goes, -1
    // for the caret.
    bool Paste(int nPos = -1);
    bool Copy();
    bool Cut();

    // The owner tells the control that its text changed (the control's
    // change notice goes to the parent): words are coloured afresh, then
    // OnAfterTextChanged runs.
    void NotifyTextChanged();
    // Colours every word of the text again.
    void RecolourWords();
    void SetBackColor(COLORREF nColor);

    // A word is a run of letters, digits, '_' and '\''.
    static bool IsWordChar(unsigned char c);

protected:
    // True, with the colour, for a word that is to be coloured; false keeps
    // the control's own text colour.
    virtual bool OnGetWordColor(SString const &rWord, COLORREF &rColor);
    virtual void OnAfterTextChanged() {}

private:
    bool m_bColouring;
};
