#pragma once
#include "frame/Kestrel5Api.h"
#include "text/SString.h"
#include "window/DropData.h"

// Text (format 1) in an owned block of 65534 bytes whose last byte is
// always NUL: longer text is cut to its first 65533 bytes.
class KSAPI StringDropData : public DropData
{
public:
    static constexpr unsigned __int64 BLOCK_SIZE = 65534;

    StringDropData();
    StringDropData(SString const &rText, unsigned long nEffect);

    // p: a NUL-terminated string.
    void CopyFrom(void *p) override;
    void CopyFrom(SString const &rText);
    SString GetString() const;
};
