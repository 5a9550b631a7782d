#include "controls/ZnEditEx.h"

void ZnEditEx::SetWords(std::map<SString, SString> words)
{
    m_aWords = std::move(words);
    RecolourWords();
}

void ZnEditEx::SetBackground(COLORREF nColor)
{
    m_nBackColor = nColor;
    m_bBackSet = true;
    SetBackColor(nColor);
}

bool ZnEditEx::OnGetWordColor(SString const &rWord, COLORREF &rColor)
{
    if (m_aWords.find(rWord) == m_aWords.end())
        return false;
    rColor = 255;
    return true;
}

void ZnEditEx::OnAfterTextChanged()
{
    if (m_aModifyHdl.IsSet())
        m_aModifyHdl.Call(this);
}
