#include "frame/CommandIds.h"

#include "graphics/Bitmap.h"
#include "graphics/Color.h"

namespace {
char const SEPARATOR_TEXT[] = "$sep$";
}

CommandIds::CommandIds(unsigned int nCapacity)
    : m_nCount(0), m_nImageCount(0), m_nCapacity(nCapacity), m_bToolTips(true)
{
}

CommandIds::CommandIds(CommandIds const &rOther)
    : m_aIds(rOther.m_aIds), m_aImages(rOther.m_aImages), m_aTexts(rOther.m_aTexts),
      m_aToolTips(rOther.m_aToolTips), m_aImageList(rOther.m_aImageList), m_nCount(rOther.m_nCount),
      m_nImageCount(rOther.m_nImageCount), m_nCapacity(rOther.m_nCapacity), m_bToolTips(rOther.m_bToolTips)
{
}

CommandIds &CommandIds::operator=(CommandIds const &rOther)
{
    if (this != &rOther) {
        m_aIds = rOther.m_aIds;
        m_aImages = rOther.m_aImages;
        m_aTexts = rOther.m_aTexts;
        m_aToolTips = rOther.m_aToolTips;
        m_pStringList.reset();
        m_aImageList = rOther.m_aImageList;
        m_nCount = rOther.m_nCount;
        m_nImageCount = rOther.m_nImageCount;
        m_nCapacity = rOther.m_nCapacity;
        m_bToolTips = rOther.m_bToolTips;
    }
    return *this;
}

CommandIds::~CommandIds() = default;

void CommandIds::Add(unsigned int nId, SString const &rText, Bitmap const &rImage, SString const &rToolTip)
{
    if (m_nCount >= m_nCapacity)
        return;
    unsigned int image = NONE;
    if (rImage.GetSize().Width() != 0) {
        // Scaled for the screen like every other image of the library. A
        // GDI+ image is laid on white, its key colour in the list, so that
        // what was transparent stays so; a GDI image keys on magenta.
        int added;
        if (rImage.IsGdiplusBitmap()) {
            Bitmap const scaled = rImage.ScaleHQ();
            added = m_aImageList.Add(Bitmap(scaled.GetHBitmap(Color(ColorNameWhite))), Color(ColorNameWhite));
        } else {
            added = m_aImageList.Add(rImage.Scale(), Color(ColorNameLightMagenta));
        }
        if (added >= 0)
            image = m_nImageCount++;
    }
    m_aIds.push_back(nId);
    m_aImages.push_back(image);
    m_aTexts.push_back(rText);
    m_aToolTips.push_back(rToolTip.Len() ? rToolTip : rText);
    ++m_nCount;
}

void CommandIds::AddSeparator()
{
    if (m_nCount >= m_nCapacity)
        return;
    m_aIds.push_back(NONE);
    m_aImages.push_back(NONE);
    m_aTexts.push_back(SString(SEPARATOR_TEXT));
    m_aToolTips.push_back(SString());
    ++m_nCount;
}

unsigned int CommandIds::GetCommandId(unsigned int nIndex) const
{
    return nIndex < m_nCount ? m_aIds[nIndex] : NONE;
}

unsigned int CommandIds::GetBitmapId(unsigned int nIndex) const
{
    return nIndex < m_nCount ? m_aImages[nIndex] : NONE;
}

SString CommandIds::GetString(unsigned int nIndex) const
{
    return nIndex < m_nCount ? m_aTexts[nIndex] : SString();
}

SString CommandIds::GetToolTipText(unsigned int nIndex) const
{
    return nIndex < m_nCount ? m_aToolTips[nIndex] : SString();
}

void CommandIds::SetString(unsigned int nIndex, SString aText)
{
    if (nIndex < m_nCount)
        m_aTexts[nIndex] = std::move(aText);
}

bool CommandIds::HasTexts() const
{
    // A separator's "$sep$" counts, as in the string list.
    for (unsigned int i = 0; i < m_nCount; ++i)
        if (m_aTexts[i].Len())
            return true;
    return false;
}

bool CommandIds::HasToolTips() const
{
    if (!m_bToolTips)
        return false;
    for (unsigned int i = 0; i < m_nCount; ++i)
        if (m_aToolTips[i].Len())
            return true;
    return false;
}

char *CommandIds::GetPWinStringList()
{
    std::size_t size = 10;
    for (unsigned int i = 0; i < m_nCount; ++i)
        size += static_cast<std::size_t>(m_aTexts[i].Len()) + 3;
    m_pStringList.reset(new char[size]());
    for (unsigned int i = 0; i < m_nCount; ++i)
        m_aTexts[i].AddToStringListBuffer(m_pStringList.get());
    return m_pStringList.get();
}
