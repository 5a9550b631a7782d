#pragma once
#include "frame/Kestrel5Api.h"
#include "graphics/Color.h"
#include "graphics/Size.h"
#include "text/SString.h"
#include "text/UString.h"

#include <windef.h>

class CFont;
struct FontBody;

// A text description shared between copies and copied on the first change;
// the platform font is made the first time a device asks for it.
class KSAPI Font
{
public:
    Font() : m_pBody(nullptr) {}
    Font(SString const &rName, int nHeight);
    Font(SString const &rName, Size const &rSize);
    // Borrows the font's handle: it stays the caller's.
    explicit Font(CFont *pFont);
    Font(Font const &rFont);
    Font &operator=(Font const &rFont);
    ~Font();

    bool IsEmpty() const { return m_pBody == nullptr; }
    // All getters but GetHeight give an empty font its default description.
    SString GetName();
    // The name in UTF-16, converted on first use and kept.
    UString GetUName();
    Size GetSize();
    int GetHeight() const;
    int GetWeight();
    Color GetColor();
    Color GetFillColor();
    unsigned char GetQuality();
    bool IsItalic();
    bool IsUnderline();
    bool IsStrikeout();
    bool IsTransparent();

    // Each does nothing when the value is the same already.
    void SetName(SString const &rName);
    void ChangeSize(Size const &rSize);
    void ChangeHeight(int nHeight);
    void SetHeight(int nHeight) { ChangeHeight(nHeight); }
    void ChangeWeight(int nWeight);
    void ChangeItalic(bool b);
    void ChangeUnderline(bool b);
    void ChangeStrikeout(bool b);
    void ChangeTransparent(bool b);
    void ChangeColor(Color const &rColor);
    // An opaque background of this colour: also clears transparency.
    void ChangeFillColor(Color const &rColor);
    void SetQuality(unsigned char nQuality);
    // Adapts a height given for 96 dots per inch to the screen.
    void ScaleHeight();

    HFONT GethFont();
    // Strikeout is not compared.
    bool operator!=(Font const &rFont) const;

private:
    FontBody &Body();
    FontBody &MakePrivate();
    void Release();
    FontBody *m_pBody;
};
