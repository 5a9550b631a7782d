#pragma once
#include "controls/ControlBackBrush.h"
#include "mfc/CEdit.h"

class Edit;

// The window object of an Edit: the platform edit control with a way back
// to its Edit and a background brush of its own.
class KSAPI ZnEdit : public CEdit
{
public:
    explicit ZnEdit(Edit *pEdit) : m_pEdit(pEdit) {}
    Edit *GetPEdit() const { return m_pEdit; }
    // From now on the control answers its colour requests with this colour.
    void SetBackColor(unsigned long nColor) { m_aBack.Set(nColor, m_hWnd); }
    bool OnChildNotify(unsigned int message, WPARAM wParam, LPARAM lParam, LRESULT *pResult) override;

private:
    Edit *m_pEdit;
    ControlBackBrush m_aBack;
};
