#include "graphics/Font.h"
#include "frame/KSData.h"
#include "frame/KSGlobal.h"
#include "mfc/CFont.h"

#include <cstdlib>
#include <windows.h>

struct FontBody
{
    HFONT hFont = nullptr;
    short nRefCount = 0; // further holders: 0 means one
    short nWeight = FW_NORMAL;
    SString aName{"Arial"};
    UString aUName; // cache of aName in UTF-16; empty until asked for
    Size aSize{0, 14};
    Color aColor{ColorNameBlack};
    Color aFillColor{ColorNameWhite};
    bool bOwned = false;
    bool bTransparent = true;
    bool bUnderline = false;
    bool bItalic = false;
    bool bStrikeout = false;
    unsigned char nQuality = 0;

    // Everything but the handle, its ownership and the count.
    FontBody *Copy() const
    {
        auto *c = new FontBody(*this);
        c->hFont = nullptr;
        c->bOwned = false;
        c->nRefCount = 0;
        return c;
    }
    void DropHandle()
    {
        if (bOwned && hFont)
            DeleteObject(hFont);
        hFont = nullptr;
        bOwned = false;
    }
};

Font::Font(SString const &rName, int nHeight) : m_pBody(new FontBody)
{
    m_pBody->aName = rName;
    m_pBody->aSize = Size(0, nHeight);
}

Font::Font(SString const &rName, Size const &rSize) : m_pBody(new FontBody)
{
    m_pBody->aName = rName;
    m_pBody->aSize = rSize;
}

Font::Font(CFont *pFont) : m_pBody(nullptr)
{
    LOGFONTA lf{};
    if (!pFont || pFont->GetLogFont(&lf) != int(sizeof lf))
        return;
    m_pBody = new FontBody;
    m_pBody->aName = SString(lf.lfFaceName);
    m_pBody->bItalic = lf.lfItalic != 0;
    m_pBody->bUnderline = lf.lfUnderline != 0;
    m_pBody->bStrikeout = lf.lfStrikeOut != 0;
    m_pBody->nWeight = static_cast<short>(lf.lfWeight);
    m_pBody->aSize = Size(lf.lfWidth, std::abs(lf.lfHeight));
    m_pBody->hFont = static_cast<HFONT>(pFont->m_hObject);
    m_pBody->bOwned = false;
}

Font::Font(Font const &rFont) : m_pBody(rFont.m_pBody)
{
    if (m_pBody)
        ++m_pBody->nRefCount;
}

Font &Font::operator=(Font const &rFont)
{
    // Held before the release: on self-assignment the release clears the
    // very pointer being copied.
    FontBody *p = rFont.m_pBody;
    if (p)
        ++p->nRefCount;
    Release();
    m_pBody = p;
    return *this;
}

Font::~Font()
{
    Release();
}

void Font::Release()
{
    if (!m_pBody)
        return;
    if (m_pBody->nRefCount < 1) {
        m_pBody->DropHandle();
        delete m_pBody;
    } else {
        --m_pBody->nRefCount;
    }
    m_pBody = nullptr;
}

FontBody &Font::Body()
{
    if (!m_pBody)
        m_pBody = new FontBody;
    return *m_pBody;
}

FontBody &Font::MakePrivate()
{
    if (!m_pBody) {
        m_pBody = new FontBody;
    } else if (m_pBody->nRefCount >= 1) {
        --m_pBody->nRefCount;
        m_pBody = m_pBody->Copy();
    } else {
        // The only holder: the handle no longer matches what is about to
        // change, so the next request makes a new one.
        m_pBody->DropHandle();
    }
    return *m_pBody;
}

SString Font::GetName() { return Body().aName; }

UString Font::GetUName()
{
    FontBody &b = Body();
    if (b.aUName.Len() == 0 && b.aName.Len() != 0)
        b.aUName = UString(b.aName);
    return b.aUName;
}
Size Font::GetSize() { return Body().aSize; }
int Font::GetHeight() const { return m_pBody ? m_pBody->aSize.Height() : 0; }
int Font::GetWeight() { return Body().nWeight; }
Color Font::GetColor() { return Body().aColor; }
Color Font::GetFillColor() { return Body().aFillColor; }
unsigned char Font::GetQuality() { return Body().nQuality; }
bool Font::IsItalic() { return Body().bItalic; }
bool Font::IsUnderline() { return Body().bUnderline; }
bool Font::IsStrikeout() { return Body().bStrikeout; }
bool Font::IsTransparent() { return Body().bTransparent; }

void Font::SetName(SString const &rName)
{
    if (m_pBody && m_pBody->aName == rName)
        return;
    FontBody &b = MakePrivate();
    b.aName = rName;
    b.aUName = UString();
}

void Font::ChangeSize(Size const &rSize)
{
    if (m_pBody && m_pBody->aSize == rSize)
        return;
    MakePrivate().aSize = rSize;
}

void Font::ChangeHeight(int nHeight)
{
    if (m_pBody && m_pBody->aSize.Height() == nHeight)
        return;
    FontBody &b = MakePrivate();
    b.aSize = Size(b.aSize.Width(), nHeight);
}

void Font::ChangeWeight(int nWeight)
{
    if (m_pBody && m_pBody->nWeight == nWeight)
        return;
    MakePrivate().nWeight = static_cast<short>(nWeight);
}

void Font::ChangeItalic(bool b)
{
    if (m_pBody && m_pBody->bItalic == b)
        return;
    MakePrivate().bItalic = b;
}

void Font::ChangeUnderline(bool b)
{
    if (m_pBody && m_pBody->bUnderline == b)
        return;
    MakePrivate().bUnderline = b;
}

void Font::ChangeStrikeout(bool b)
{
    if (m_pBody && m_pBody->bStrikeout == b)
        return;
    MakePrivate().bStrikeout = b;
}

void Font::ChangeTransparent(bool b)
{
    if (m_pBody && m_pBody->bTransparent == b)
        return;
    MakePrivate().bTransparent = b;
}

void Font::ChangeColor(Color const &rColor)
{
    if (m_pBody && m_pBody->aColor.GetLong() == rColor.GetLong())
        return;
    MakePrivate().aColor = rColor;
}

void Font::ChangeFillColor(Color const &rColor)
{
    if (m_pBody && m_pBody->aFillColor.GetLong() == rColor.GetLong() && !m_pBody->bTransparent)
        return;
    FontBody &b = MakePrivate();
    b.aFillColor = rColor;
    b.bTransparent = false;
}

void Font::SetQuality(unsigned char nQuality)
{
    if (m_pBody && m_pBody->nQuality == nQuality)
        return;
    MakePrivate().nQuality = nQuality;
}

void Font::ScaleHeight()
{
    KSData *data = GetPKSData();
    if (!data)
        return;
    ChangeHeight(MulDiv(GetHeight(), data->m_nLogPixelsY, 96));
}

HFONT Font::GethFont()
{
    FontBody &b = Body();
    if (b.hFont)
        return b.hFont;
    LOGFONTA lf{};
    lf.lfHeight = -b.aSize.Height();
    lf.lfWidth = b.aSize.Width();
    lf.lfWeight = b.nWeight;
    lf.lfItalic = b.bItalic;
    lf.lfUnderline = b.bUnderline;
    lf.lfStrikeOut = b.bStrikeout;
    lf.lfCharSet = DEFAULT_CHARSET;
    lf.lfQuality = b.nQuality;
    lstrcpynA(lf.lfFaceName, b.aName.Len() ? b.aName.GetStr() : "System", LF_FACESIZE);
    b.hFont = CreateFontIndirectA(&lf);
    b.bOwned = b.hFont != nullptr;
    return b.hFont;
}

bool Font::operator!=(Font const &rFont) const
{
    if (m_pBody == rFont.m_pBody)
        return false;
    if (!m_pBody || !rFont.m_pBody)
        return true;
    FontBody const &a = *m_pBody, &b = *rFont.m_pBody;
    return a.nWeight != b.nWeight || a.bItalic != b.bItalic || a.bUnderline != b.bUnderline || a.aName != b.aName ||
           a.aColor.GetLong() != b.aColor.GetLong() || a.aFillColor.GetLong() != b.aFillColor.GetLong() ||
           a.aSize != b.aSize || a.nQuality != b.nQuality || a.bTransparent != b.bTransparent;
}
