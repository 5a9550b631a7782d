#pragma once
// The background a control answers its parent's colour request with: a
// solid brush of one colour, owned, or nothing until a colour is set.
#include "frame/Kestrel5Api.h"

#include <windows.h>

class KSAPI ControlBackBrush
{
public:
    ControlBackBrush() : m_hBrush(nullptr), m_nColor(0) {}
    ~ControlBackBrush();
    ControlBackBrush(ControlBackBrush const &) = delete;
    ControlBackBrush &operator=(ControlBackBrush const &) = delete;

    // False, and the old brush stays, when no brush can be made; hWnd is
    // repainted with the new one.
    bool Set(unsigned long nColor, HWND hWnd);
    bool IsSet() const { return m_hBrush != nullptr; }
    unsigned long GetColor() const { return m_nColor; }
    // Answers the colour request for hDC: the colour behind text and the
    // brush; false when no colour was set.
    bool Answer(WPARAM hDC, LRESULT *pResult) const;

private:
    HBRUSH m_hBrush;
    unsigned long m_nColor;
};
