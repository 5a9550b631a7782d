#pragma once
// The window object of an EditEx: the editor control with a background
// brush, the modify link it calls after every text change, and the words to
// correct, which it shows in red.
#include <map>

#include "bcg/CBCGPEditCtrl.h"
#include "frame/Link.h"
#include "text/SString.h"

class KSAPI ZnEditEx : public CBCGPEditCtrl
{
public:
    ZnEditEx() : m_nBackColor(0xFFFFFF), m_bBackSet(false) {}
    void SetModifyHdl(Link const &rLink) { m_aModifyHdl = rLink; }
    void SetWords(std::map<SString, SString> words);
    std::map<SString, SString> const &GetWords() const { return m_aWords; }
    void ClearWords() { m_aWords.clear(); }
    void SetBackground(COLORREF nColor);

protected:
    bool OnGetWordColor(SString const &rWord, COLORREF &rColor) override;
    void OnAfterTextChanged() override;

private:
    Link m_aModifyHdl;
    std::map<SString, SString> m_aWords;
    COLORREF m_nBackColor;
    bool m_bBackSet;
};
