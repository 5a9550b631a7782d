#pragma once
#include "frame/Kestrel5Api.h"
#include "mfc/CCmdUI.h"

class ToolBar;

// The command-update request for a button of the library's ToolBar: m_nID
// is the command number and m_pOther the bar's platform control. For any
// other window it only records that the command was handled.
class KSAPI CustomToolCmdUI : public CCmdUI
{
public:
    void Enable(int bOn = 1) override;
    // 0 clears the check, 1 checks, 2 shows the button indeterminate; the
    // button becomes a check box either way.
    void SetCheck(int nCheck = 1) override;

private:
    ToolBar *ImpToolBar() const;
};
