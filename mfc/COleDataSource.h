#pragma once
#include "frame/Kestrel5Api.h"
#include "mfc/CObject.h"

#include <vector>
#include <windows.h>
#include <ole2.h>

// A real OLE data object: global data cached per format, and formats that
// are only announced and rendered when a reader asks (OnRenderGlobalData).
// Reference counted like any OLE object: the creator holds the first
// reference; the OLE clipboard or a drag loop take their own. Readers always
// receive a copy of a cached block, so a block is freed only by the source.
class KSAPI COleDataSource : public CObject, public IDataObject
{
public:
    COleDataSource();
    COleDataSource(COleDataSource const &) = delete;
    COleDataSource &operator=(COleDataSource const &) = delete;

    // The source owns h from now on (also when the call fails: it is freed).
    void CacheGlobalData(CLIPFORMAT cfFormat, HGLOBAL hGlobal, FORMATETC const *pFormatEtc = nullptr);
    void DelayRenderData(CLIPFORMAT cfFormat, FORMATETC const *pFormatEtc = nullptr);
    // Frees every cached block and forgets the announced formats.
    void Empty();
    int GetFormatCount() const { return static_cast<int>(m_aEntries.size()); }
    // Some announced format has not been rendered yet.
    bool HasUnrendered() const;

    // Puts the source on the OLE clipboard, which takes its own reference.
    bool SetClipboard();
    static void FlushClipboard();

    // The OLE reference the caller holds: the creator's first reference is
    // given back with InternalRelease, which deletes the source at zero.
    unsigned long InternalAddRef();
    unsigned long InternalRelease();

    // IDataObject
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void **ppv) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;
    HRESULT STDMETHODCALLTYPE GetData(FORMATETC *pFormat, STGMEDIUM *pMedium) override;
    HRESULT STDMETHODCALLTYPE GetDataHere(FORMATETC *pFormat, STGMEDIUM *pMedium) override;
    HRESULT STDMETHODCALLTYPE QueryGetData(FORMATETC *pFormat) override;
    HRESULT STDMETHODCALLTYPE GetCanonicalFormatEtc(FORMATETC *pIn, FORMATETC *pOut) override;
    HRESULT STDMETHODCALLTYPE SetData(FORMATETC *pFormat, STGMEDIUM *pMedium, BOOL fRelease) override;
    HRESULT STDMETHODCALLTYPE EnumFormatEtc(DWORD dwDirection, IEnumFORMATETC **ppEnum) override;
    HRESULT STDMETHODCALLTYPE DAdvise(FORMATETC *, DWORD, IAdviseSink *, DWORD *) override;
    HRESULT STDMETHODCALLTYPE DUnadvise(DWORD) override;
    HRESULT STDMETHODCALLTYPE EnumDAdvise(IEnumSTATDATA **) override;

protected:
    ~COleDataSource() override;
    // Delayed data: fill *phGlobal with a new global block of the format and
    // return true; the source then caches it. Nothing here by default.
    virtual bool OnRenderGlobalData(FORMATETC const *pFormatEtc, HGLOBAL *phGlobal);

private:
    struct Entry
    {
        FORMATETC aFormat;
        HGLOBAL hGlobal; // null while only announced
    };
    Entry *Find(FORMATETC const *pFormat);
    void Add(FORMATETC const &rFormat, HGLOBAL hGlobal);

    std::vector<Entry> m_aEntries;
    LONG m_nRefs;
};
