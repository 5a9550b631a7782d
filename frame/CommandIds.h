#pragma once
#include "frame/Kestrel5Api.h"
#include "graphics/ImageList.h"
#include "text/SString.h"

#include <memory>
#include <vector>

class Bitmap;

// The description of a row of commands for a tool bar or a menu: for each
// entry its command number, text, tool-tip text and image (an index into
// the table's image list). The capacity is fixed when the table is made;
// an entry past it is ignored. A separator is an entry of its own.
class KSAPI CommandIds
{
public:
    static constexpr unsigned int NONE = 0xFFFFFFFFu;

    CommandIds() : CommandIds(40) {}
    explicit CommandIds(unsigned int nCapacity);
    CommandIds(CommandIds const &rOther);
    CommandIds &operator=(CommandIds const &rOther);
    ~CommandIds();

    // An empty tool-tip text takes the text; an image of width 0 gives none.
    void Add(unsigned int nId, SString const &rText, Bitmap const &rImage, SString const &rToolTip);
    void AddSeparator();

    int Count() const { return static_cast<int>(m_nCount); }
    unsigned int operator[](unsigned int nIndex) const { return GetCommandId(nIndex); }
    unsigned int GetCommandId(unsigned int nIndex) const;
    unsigned int GetBitmapId(unsigned int nIndex) const;
    SString GetString(unsigned int nIndex) const;
    SString GetToolTipText(unsigned int nIndex) const;
    void SetString(unsigned int nIndex, SString aText);

    bool HasTexts() const;
    bool HasToolTips() const;
    void EnableToolTips(bool bOn) { m_bToolTips = bOn; }

    ImageList &GetImageList() { return m_aImageList; }

    // Every text, separators as "$sep$", one after another, each ended by a
    // NUL and the list by an empty text: the form the platform's tool bar
    // takes its button labels in. The table owns the buffer until the next
    // call or its end.
    char *GetPWinStringList();

private:
    std::vector<unsigned int> m_aIds;
    std::vector<unsigned int> m_aImages;
    std::vector<SString> m_aTexts;
    std::vector<SString> m_aToolTips;
    std::unique_ptr<char[]> m_pStringList;
    ImageList m_aImageList;
    unsigned int m_nCount;
    unsigned int m_nImageCount;
    unsigned int m_nCapacity;
    bool m_bToolTips;
};
