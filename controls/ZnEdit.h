#pragma once
#include "mfc/CEdit.h"

class Edit;

// The window object of an Edit: the platform edit control with a way back
// to its Edit and a background brush of its own.
class KSAPI ZnEdit : public CEdit
{
public:
    explicit ZnEdit(Edit *pEdit) : m_pEdit(pEdit), m_hBackBrush(nullptr), m_nBackColor(0) {}
    ~ZnEdit() override;
    Edit *GetPEdit() const { return m_pEdit; }
    // From now on the control answers its colour requests with this colour.
    void SetBackColor(unsigned long nColor);
    bool OnChildNotify(unsigned int message, WPARAM wParam, LPARAM lParam, LRESULT *pResult) override;

private:
    Edit *m_pEdit;
    HBRUSH m_hBackBrush;
    unsigned long m_nBackColor;
};
