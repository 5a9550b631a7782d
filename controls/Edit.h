#pragma once
// A text field around the platform edit control: text changes, focus
// changes and the Return and Tab keys reach the application through links.
#include "frame/Kestrel5Api.h"
#include "frame/Link.h"
#include "graphics/Font.h"
#include "text/SString.h"
#include "window/Control.h"

class CEdit;
class Texture;
class ZnEdit;

// Style bits of the fields (besides the control styles of every control).
constexpr int EDIT_READONLY = 0x80;
constexpr int EDIT_RIGHT = 0x400;
constexpr int EDIT_VSCROLL = 0x2000;
constexpr int EDIT_AUTOHSCROLL = 0x4000;
// Kinds: digits only, one line, several lines.
constexpr int EDIT_KIND_NUMBER = 2048;
constexpr int EDIT_KIND_SINGLELINE = 4096;
constexpr int EDIT_KIND_MULTILINE = 8192;

class KSAPI Edit : public Control
{
public:
    Edit(Window *pParent, int nStyle, int nKind);
    ~Edit() override;

    void SetModifyHdl(Link const &rLink) { aModifyHdl = rLink; }
    void SetEnterHdl(Link const &rLink) { aEnterHdl = rLink; }
    void SetTabHdl(Link const &rLink) { aTabHdl = rLink; }
    void SetSetFocusHdl(Link const &rLink) { aSetFocusHdl = rLink; }
    void SetKillFocusHdl(Link const &rLink) { aKillFocusHdl = rLink; }

    // The links, when set, with this field as argument.
    virtual void Modify();
    void OnSetFocus() override;
    virtual void OnKillFocus();

    SString GetText() const override;
    void SetText(SString const &rText) override;
    void ChangeFont(Font const &rFont) override;
    // The field's background takes the texture's colour.
    void ChangeBackgroundTexture(Texture const &rTexture) override;
    bool ProcessCommandMsg(unsigned long nId) override;

    void ChangeMaxTextLen(unsigned int nLen);
    // Selects from..to and scrolls the caret into view.
    void SetSelection(int nFrom, int nTo);
    void SetCaretToPos(int nPos) { SetSelection(nPos, nPos); }
    // The grey hint shown while the field is empty.
    void SetCueBanner(SString const &rText);
    CEdit *GetPCEdit() const;
    Font const &GetFieldFont() const { return aFont; }
    int GetKind() const { return nKind; }

protected:
    // The platform style bits of the library's style and kind.
    static unsigned long EditStyles(int nStyle, int nKind);
    bool OwnKeyInputAllowed() const override { return true; }
    // The platform control paints itself.
    bool OwnPaintingAllowed() const override { return false; }
    // Focus reaches the links through the control's own notices, once.
    bool ProcessFocusMsg(unsigned int, unsigned __int64, __int64) override { return false; }

    Link aModifyHdl;
    Link aEnterHdl;
    Link aTabHdl;
    Link aSetFocusHdl;
    Link aKillFocusHdl;
    Font aFont;

private:
    void CreateEdit(Window *pParent, int nStyle, int nKind);
    ZnEdit *pEdit;
    int nKind;
};
