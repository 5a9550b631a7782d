#pragma once
// The base of the data exchanges: a link that renders data on request, and
// the registry that maps the library's exchange-format numbers (1 text,
// 2 bitmap, 3 metafile, 4 private, 5 file …) to platform clipboard formats.
#include "frame/Kestrel5Api.h"
#include "frame/Link.h"
#include "text/SString.h"

class Container;

class KSAPI Exchange
{
public:
    Exchange() = default;
    Exchange(Exchange const &) = default;
    Exchange &operator=(Exchange const &) = default;
    virtual ~Exchange() = default;

    // Calls the request link with this object.
    virtual void Request();
    // Returns the link it replaces.
    Link ChangeRequestHdl(Link const &rLink);
    Link GetRequestHdl() const { return aRequestHdl; }

    // The number of a named format: the registry's, or a platform format
    // registered under that name and entered; 0 without KSInit.
    static unsigned long RegisterFormatName(SString const &rName);
    static SString GetFormatName(unsigned long nNumber);
    // Number -> platform format and back; unknown values pass unchanged.
    static unsigned long FormatToPlatform(unsigned long nNumber);
    static unsigned long PlatformToFormat(unsigned long nPlatform);
    // The platform format of private data.
    static unsigned long PrivateFormat();

    // KSExit: the registry's entries and the registry.
    static void ImpDeleteRegistry(Container *pRegistry);

protected:
    Link aRequestHdl;
};
