#pragma once
#include "graphics/Bitmap.h"
#include "mfc/CButton.h"

// A dialog's push button that shows a PNG with its transparency, drawn by us
// on the platform's themed button face (the classic face without visual
// styles): the image in the middle, or at the left with the text beside it;
// faded when the button is disabled. Made with Create, or put on a dialog's
// button with SubclassWindow; it makes the button owner-drawn either way.
class KSAPI ZnDialogBitmapButton : public CButton
{
public:
    ZnDialogBitmapButton() = default;

    // A resource of type "PNG" of the image module; false, and no image,
    // when there is none of that id.
    bool SetPngBitmap(unsigned int nResId);
    // Any image, kept with its transparency.
    void SetPngBitmap(Bitmap const &rBitmap);
    Bitmap const &GetPngBitmap() const { return m_aPng; }

    bool OnChildDrawItem(DRAWITEMSTRUCT *lpDrawItemStruct) override;

protected:
    void PreSubclassWindow() override;
    bool PreCreateWindow(CREATESTRUCTA &cs) override;

private:
    Bitmap m_aPng;
};
