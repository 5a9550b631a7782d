#pragma once
// A text field on the editor control that corrects words: the application
// hands it words with their corrections, the field shows those words in
// red, and Correct() replaces them in the text.
#include <map>

#include "frame/Kestrel5Api.h"
#include "frame/Link.h"
#include "graphics/Font.h"
#include "text/SString.h"
#include "window/Control.h"

class Texture;
class ZnEditEx;

class KSAPI EditEx : public Control
{
public:
    EditEx(Window *pParent, int nStyle);
    ~EditEx() override;

    void SetModifyHdl(Link const &rLink) { aModifyHdl = rLink; }
    void SetEnterHdl(Link const &rLink) { aEnterHdl = rLink; }
    void SetTabHdl(Link const &rLink) { aTabHdl = rLink; }
    void SetSetFocusHdl(Link const &rLink) { aSetFocusHdl = rLink; }
    void SetKillFocusHdl(Link const &rLink) { aKillFocusHdl = rLink; }
    // Called with the address of the command value for every notice of the
    // control that the field does not handle itself.
    void SetMenuHdl(Link const &rLink) { aMenuHdl = rLink; }

    virtual void Modify();
    void OnSetFocus() override;
    virtual void OnKillFocus();
    bool KeyInput(KeyEvent const &rEvt) override;
    SString GetText() const override;
    void SetText(SString const &rText) override;
    void ChangeFont(Font const &rFont) override;
    void ChangeBackgroundTexture(Texture const &rTexture) override;
    bool ProcessCommandMsg(unsigned long nId) override;

    void ChangeMaxTextLen(unsigned int nLen);
    // Selects from..to and scrolls the caret into view.
    void SetSelection(int nFrom, int nTo);
    void SetCaretToPos(int nPos) { SetSelection(nPos, nPos); }
    // Replaces the words to correct (word as written -> correction).
    void SetWords(std::map<SString, SString> words);
    // Every word of the map, in the map's order, replaced in the whole text
    // by its correction; the map is emptied.
    void Correct();
    ZnEditEx *GetPEditCtrl() const { return pEditCtrl; }

protected:
    bool OwnKeyInputAllowed() const override { return true; }
    bool OwnPaintingAllowed() const override { return false; }
    bool ProcessFocusMsg(unsigned int, unsigned __int64, __int64) override { return false; }

    Link aModifyHdl;
    Link aEnterHdl;
    Link aTabHdl;
    Link aSetFocusHdl;
    Link aKillFocusHdl;
    Font aFont;
    Link aMenuHdl;

private:
    __int64 ControlChanged(void *);
    ZnEditEx *pEditCtrl;
};
