#pragma once
#include "frame/Kestrel5Api.h"
#include "text/SString.h"

struct ConfigRecord;

// Groups and keys of an initialisation file, read and written through the
// platform's profile service (which also caches the file). A path that
// carries the UTF-8 flag is used through the wide calls, values byte for
// byte. Nothing is reported: absent keys read as the default, writes to a
// file that cannot be written change nothing.
class KSAPI Config
{
public:
    // The application's own file: its module name with the extension
    // "ini", in the Windows directory.
    Config();
    explicit Config(SString const &rPathName);
    Config(Config const &rConfig);
    Config &operator=(Config const &rConfig);
    ~Config();

    int operator==(Config const &rConfig) const;
    int operator!=(Config const &rConfig) const { return !(*this == rConfig); }

    SString GetPathName() const;
    SString GetGroup() const;
    void SetGroup(SString const &rGroup);

    SString ReadKey(SString const &rKey, SString const &rDefault) const;
    SString ReadKey(SString const &rKey) const;
    SString ReadKey(unsigned short nIndex) const;
    void WriteKey(SString const &rKey, SString const &rValue);
    void DeleteKey(SString const &rKey);
    void DeleteGroup(SString const &rGroup);
    unsigned short GetKeyCount() const;
    SString GetKeyName(unsigned short nIndex) const;
    void Flush();

protected:
    void DeleteGroupBuf() const;

private:
    bool ReadKeyList() const;
    ConfigRecord *m_pRecord;
};
