#include "mfc/CSettingsStore.h"

#include <cstring>
#include <windows.h>

namespace {
HKEY Root(bool bAdmin)
{
    return bAdmin ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER;
}

// Values bigger than this are not ours: a damaged store must not make a
// reader allocate whatever it claims.
constexpr DWORD kMaxValueSize = 16u << 20;
} // namespace

CSettingsStore::CSettingsStore(bool bAdmin, bool bReadOnly) : m_bAdmin(bAdmin), m_bReadOnly(bReadOnly) {}

CSettingsStore::~CSettingsStore()
{
    Close();
}

void CSettingsStore::Close()
{
    if (m_hKey)
        RegCloseKey(m_hKey);
    m_hKey = nullptr;
}

bool CSettingsStore::CreateKey(char const *lpszPath)
{
    Close();
    if (!lpszPath || !*lpszPath)
        return false;
    if (m_bReadOnly)
        return Open(lpszPath);
    HKEY h = nullptr;
    if (RegCreateKeyExA(Root(m_bAdmin), lpszPath, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr, &h,
                        nullptr) != ERROR_SUCCESS)
        return false;
    m_hKey = h;
    return true;
}

bool CSettingsStore::Open(char const *lpszPath)
{
    Close();
    if (!lpszPath || !*lpszPath)
        return false;
    HKEY h = nullptr;
    if (RegOpenKeyExA(Root(m_bAdmin), lpszPath, 0, m_bReadOnly ? KEY_READ : KEY_ALL_ACCESS, &h) != ERROR_SUCCESS)
        return false;
    m_hKey = h;
    return true;
}

bool CSettingsStore::Write(char const *lpszValueName, int nValue)
{
    return Write(lpszValueName, static_cast<unsigned long>(nValue));
}

bool CSettingsStore::Write(char const *lpszValueName, unsigned long dwValue)
{
    DWORD const v = dwValue;
    return m_hKey && !m_bReadOnly &&
           RegSetValueExA(m_hKey, lpszValueName, 0, REG_DWORD, reinterpret_cast<BYTE const *>(&v), sizeof v) ==
               ERROR_SUCCESS;
}

bool CSettingsStore::Write(char const *lpszValueName, char const *lpszData)
{
    char const *s = lpszData ? lpszData : "";
    return m_hKey && !m_bReadOnly &&
           RegSetValueExA(m_hKey, lpszValueName, 0, REG_SZ, reinterpret_cast<BYTE const *>(s),
                          DWORD(std::strlen(s) + 1)) == ERROR_SUCCESS;
}

bool CSettingsStore::Write(char const *lpszValueName, RECT const &rect)
{
    LONG const v[4] = {rect.left, rect.top, rect.right, rect.bottom};
    return Write(lpszValueName, reinterpret_cast<unsigned char const *>(v), sizeof v);
}

bool CSettingsStore::Write(char const *lpszValueName, unsigned char const *pData, unsigned int nBytes)
{
    return m_hKey && !m_bReadOnly && (pData || !nBytes) &&
           RegSetValueExA(m_hKey, lpszValueName, 0, REG_BINARY, pData, nBytes) == ERROR_SUCCESS;
}

bool CSettingsStore::Query(char const *lpszValueName, unsigned long type, std::vector<unsigned char> &data)
{
    if (!m_hKey)
        return false;
    DWORD t = 0, size = 0;
    if (RegQueryValueExA(m_hKey, lpszValueName, nullptr, &t, nullptr, &size) != ERROR_SUCCESS || t != type ||
        size > kMaxValueSize)
        return false;
    std::vector<unsigned char> buf(size);
    if (RegQueryValueExA(m_hKey, lpszValueName, nullptr, &t, buf.data(), &size) != ERROR_SUCCESS || t != type)
        return false;
    buf.resize(size);
    data.swap(buf);
    return true;
}

bool CSettingsStore::Read(char const *lpszValueName, int &nValue)
{
    unsigned long v = 0;
    if (!Read(lpszValueName, v))
        return false;
    nValue = static_cast<int>(v);
    return true;
}

bool CSettingsStore::Read(char const *lpszValueName, unsigned long &dwValue)
{
    std::vector<unsigned char> d;
    if (!Query(lpszValueName, REG_DWORD, d) || d.size() != sizeof(DWORD))
        return false;
    DWORD v = 0;
    std::memcpy(&v, d.data(), sizeof v);
    dwValue = v;
    return true;
}

bool CSettingsStore::Read(char const *lpszValueName, CStringA &strValue)
{
    std::vector<unsigned char> d;
    if (!Query(lpszValueName, REG_SZ, d))
        return false;
    size_t n = 0;
    while (n < d.size() && d[n])
        ++n;
    strValue = CStringA(reinterpret_cast<char const *>(d.data()), int(n));
    return true;
}

bool CSettingsStore::Read(char const *lpszValueName, RECT &rect)
{
    std::vector<unsigned char> d;
    LONG v[4];
    if (!Query(lpszValueName, REG_BINARY, d) || d.size() != sizeof v)
        return false;
    std::memcpy(v, d.data(), sizeof v);
    rect = RECT{v[0], v[1], v[2], v[3]};
    return true;
}

bool CSettingsStore::Read(char const *lpszValueName, std::vector<unsigned char> &data)
{
    return Query(lpszValueName, REG_BINARY, data);
}

bool CSettingsStore::DeleteValue(char const *lpszValueName)
{
    return m_hKey && !m_bReadOnly && RegDeleteValueA(m_hKey, lpszValueName) == ERROR_SUCCESS;
}

bool CSettingsStore::DeleteKey(char const *lpszPath)
{
    if (m_bReadOnly || !lpszPath || !*lpszPath)
        return false;
    return RegDeleteTreeA(Root(m_bAdmin), lpszPath) == ERROR_SUCCESS;
}
