#pragma once
#include "frame/Kestrel5Api.h"
#include "window/Control.h"

class CFont;
class CStatic;
class ZnStatic;

// An owner-drawn static control; the text and picture controls build on it.
class KSAPI Static : public Control
{
public:
    Static();
    Static(Window *pParent, int nStyle);
    ~Static() override;
    CStatic *GetPCStatic() const;

protected:
    void InitStatic(Window *pParent, CWnd *pParentWnd, int nStyle, int nId);
    HFONT GetHFont() const;

private:
    void CreateStatic(CWnd *pParent, int nStyle, int nId);
    ZnStatic *pStatic;
    CFont *pFont;
};
