#include "window/Exchange.h"

#include "base/Container.h"
#include "frame/KSData.h"
#include "frame/KSGlobal.h"
#include "mfc/AfxWin.h"
#include "window/ClipFormat.h"

#include <windows.h>

namespace {

// The registry, made and filled on first use.
Container *Registry()
{
    KSData *data = GetPKSData();
    if (!data)
        return nullptr;
    if (data->m_pClipFormats)
        return data->m_pClipFormats;
    auto *reg = new Container(1024, 16, 16);
    auto add = [reg](char const *name, unsigned long number, unsigned long platform, char const *second) {
        reg->Insert(new ClipFormat{SString(name), number, platform, SString(second)}, reg->Count());
    };
    char module[257] = {};
    GetModuleFileNameA(AfxGetInstanceHandle(), module, 256);
    data->m_nClipPrivateFormat = RegisterClipboardFormatA(module);
    add("Text", 1, CF_TEXT, "Text");
    add("Bitmap", 2, CF_BITMAP, "Bitmap");
    add("DIB", 2, CF_DIB, "Bitmap");
    add("GDIMetaFile", 3, CF_METAFILEPICT, "MetaFile");
    add("Private", 4, data->m_nClipPrivateFormat, "Private");
    add("File", 5, RegisterClipboardFormatA("File"), "File");
    add("DIF", 55, CF_DIF, "DIF");
    add("SYLK", 54, CF_SYLK, "SYLK");
    add("TIFF", 56, CF_TIFF, "TIFF");
    add("OEM-Text", 57, CF_OEMTEXT, "OEM-Text");
    add("Palette", 59, CF_PALETTE, "Palette");
    add("PenData", 60, CF_PENDATA, "PenData");
    add("Riff", 61, CF_RIFF, "Riff");
    add("Wave", 62, CF_WAVE, "Wave");
    data->m_pClipFormats = reg;
    return reg;
}

template <class Pred> ClipFormat const *Find(Pred pred)
{
    Container *reg = Registry();
    if (!reg)
        return nullptr;
    for (unsigned long i = 0; i < reg->Count(); ++i)
        if (auto const *e = static_cast<ClipFormat const *>(reg->GetCntObject(i)); e && pred(*e))
            return e;
    return nullptr;
}

} // namespace

void Exchange::Request()
{
    if (aRequestHdl.IsSet())
        aRequestHdl.Call(this);
}

Link Exchange::ChangeRequestHdl(Link const &rLink)
{
    Link old = aRequestHdl;
    aRequestHdl = rLink;
    return old;
}

unsigned long Exchange::RegisterFormatName(SString const &rName)
{
    if (ClipFormat const *e = Find([&](ClipFormat const &f) { return f.aName == rName; }); e && e->nNumber)
        return e->nNumber;
    Container *reg = Registry();
    if (!reg)
        return 0;
    unsigned long const platform = RegisterClipboardFormatA(rName.GetStr());
    if (!platform)
        return 0;
    reg->Insert(new ClipFormat{rName, platform, platform, rName}, reg->Count());
    return platform;
}

SString Exchange::GetFormatName(unsigned long nNumber)
{
    if (ClipFormat const *e = Find([&](ClipFormat const &f) { return f.nNumber == nNumber; }))
        return e->aName;
    char name[256] = {};
    int const n = GetClipboardFormatNameA(static_cast<UINT>(nNumber), name, sizeof name);
    return n > 0 ? SString(name) : SString();
}

unsigned long Exchange::FormatToPlatform(unsigned long nNumber)
{
    ClipFormat const *e = Find([&](ClipFormat const &f) { return f.nNumber == nNumber; });
    return e ? e->nPlatform : nNumber;
}

unsigned long Exchange::PlatformToFormat(unsigned long nPlatform)
{
    ClipFormat const *e = Find([&](ClipFormat const &f) { return f.nPlatform == nPlatform; });
    return e ? e->nNumber : nPlatform;
}

unsigned long Exchange::PrivateFormat()
{
    KSData *data = GetPKSData();
    return data && Registry() ? data->m_nClipPrivateFormat : 0;
}

void Exchange::ImpDeleteRegistry(Container *pRegistry)
{
    if (!pRegistry)
        return;
    for (unsigned long i = 0; i < pRegistry->Count(); ++i)
        delete static_cast<ClipFormat *>(pRegistry->GetCntObject(i));
    delete pRegistry;
}
