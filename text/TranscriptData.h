#pragma once
// Which script the single-byte texts an application may receive in a code
// page other than the user's are written in: Cyrillic (Windows 1251) or Greek
// (Windows 1253). The global data block keeps one, set to Cyrillic at start.
#include "frame/Kestrel5Api.h"

class KSAPI TranscriptData
{
public:
    TranscriptData();
    TranscriptData(TranscriptData const &) = default;
    TranscriptData &operator=(TranscriptData const &) = default;
    TranscriptData &operator=(TranscriptData &&) = default;

    void SetToCyrillic();
    void SetToGreek();
    // Keeps the code page, so that text already decoded with it can still be
    // told apart afterwards.
    void Disable();
    // 1 Cyrillic, 2 Greek, anything else disables.
    void SetToLanguage(int language);

    int GetLanguage() const { return m_nLanguage; }
    unsigned int GetCodePage() const { return m_nCodePage; }
    bool IsCyrillic() const { return m_nLanguage == 1; }
    bool IsGreek() const { return m_nLanguage == 2; }
    bool IsTranscript() const { return m_nLanguage == 1 || m_nLanguage == 2; }
    bool IsTranscriptChar(unsigned char c) const { return m_pLanguageTable[c]; }
    bool const *GetPLanguageTable() const { return m_pLanguageTable; }

private:
    static bool const m_cNullTable[256];
    static bool const m_cCyrillicTable[256];
    static bool const m_cGreekTable[256];

    bool const *m_pLanguageTable;
    int m_nLanguage;         // 0 disabled, 1 Cyrillic, 2 Greek
    unsigned int m_nCodePage;
};
