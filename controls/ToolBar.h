#pragma once
#include "frame/Kestrel5Api.h"
#include "window/Control.h"

class CommandIds;
class CToolBarCtrl;

// A row of command buttons made from a CommandIds: the images of its image
// list, the texts as labels when there are any, else as tool tips. A click
// reaches the parent window as the command number (ProcessCommandMsg). The
// bar starts at the size that shows all its buttons, at the parent's
// origin; it is placed like any other control.
//
// A button's style word holds the control's style bits in the low word and
// its state bits in the high word (STATE_CHECKED, STATE_INDETERMINATE,
// STATE_ENABLED); commands are addressed by number.
class KSAPI ToolBar : public Control
{
public:
    static constexpr unsigned int STYLE_CHECKBOX = 0x2;
    static constexpr unsigned int STATE_CHECKED = 0x10000;
    static constexpr unsigned int STATE_ENABLED = 0x40000;
    static constexpr unsigned int STATE_INDETERMINATE = 0x100000;

    ToolBar(Window *pParent, CommandIds &rIds);
    ~ToolBar() override;

    CToolBarCtrl *GetPCToolBarCtrl() const { return pToolBar; }
    int GetButtonCount() const;

    // False for a number no button has.
    bool EnableButton(unsigned int nId, bool bEnable);
    bool IsButtonEnabled(unsigned int nId) const;
    // 0 for a number no button has.
    unsigned int GetButtonStyle(unsigned int nId) const;
    bool SetButtonStyle(unsigned int nId, unsigned int nStyle);

    bool ProcessCommandMsg(unsigned long nId) override;

protected:
    // The platform control paints its buttons itself.
    bool OwnPaintingAllowed() const override { return false; }

private:
    void CreateToolBar(CWnd *pParent, CommandIds &rIds);
    CToolBarCtrl *pToolBar;
};
