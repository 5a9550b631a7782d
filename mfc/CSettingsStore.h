#pragma once
#include <vector>

#include "frame/Kestrel5Api.h"
#include "mfc/CObject.h"
#include "mfc/CRect.h"
#include "mfc/CStringT.h"

struct HKEY__;

// One key of the settings store (the registry under HKEY_CURRENT_USER, or
// HKEY_LOCAL_MACHINE when bAdmin) and its values. Integers are stored as
// DWORD values, strings as REG_SZ, rectangles and byte blocks as binary
// values (a rectangle as left, top, right, bottom). Every operation answers
// false when the key is not open or the value is missing or of another type
// or size; a failed read leaves its output as it was.
class KSAPI CSettingsStore : public CObject
{
public:
    explicit CSettingsStore(bool bAdmin = false, bool bReadOnly = false);
    ~CSettingsStore() override;
    CSettingsStore(CSettingsStore const &) = delete;
    CSettingsStore &operator=(CSettingsStore const &) = delete;

    // Opens the key at the path, made when missing (not for a read-only store).
    bool CreateKey(char const *lpszPath);
    // Opens an existing key.
    bool Open(char const *lpszPath);
    void Close();
    bool IsOpen() const { return m_hKey != nullptr; }

    bool Write(char const *lpszValueName, int nValue);
    bool Write(char const *lpszValueName, unsigned long dwValue);
    bool Write(char const *lpszValueName, char const *lpszData);
    bool Write(char const *lpszValueName, RECT const &rect);
    bool Write(char const *lpszValueName, unsigned char const *pData, unsigned int nBytes);

    bool Read(char const *lpszValueName, int &nValue);
    bool Read(char const *lpszValueName, unsigned long &dwValue);
    bool Read(char const *lpszValueName, CStringA &strValue);
    bool Read(char const *lpszValueName, RECT &rect);
    bool Read(char const *lpszValueName, std::vector<unsigned char> &data);

    bool DeleteValue(char const *lpszValueName);
    // Deletes the key at the path with everything under it.
    bool DeleteKey(char const *lpszPath);

private:
    bool Query(char const *lpszValueName, unsigned long type, std::vector<unsigned char> &data);

    HKEY__ *m_hKey = nullptr;
    bool m_bAdmin;
    bool m_bReadOnly;
};
