#include "mfc/COleDataSource.h"

#include <cstring>
#include <new>

namespace {

FORMATETC GlobalFormat(CLIPFORMAT cf, FORMATETC const *p)
{
    if (p) {
        FORMATETC f = *p;
        f.cfFormat = cf;
        return f;
    }
    return FORMATETC{cf, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
}

HGLOBAL CopyGlobal(HGLOBAL h)
{
    SIZE_T const n = GlobalSize(h);
    void const *src = GlobalLock(h);
    if (!src)
        return nullptr;
    HGLOBAL copy = GlobalAlloc(GMEM_MOVEABLE, n ? n : 1);
    if (void *dst = copy ? GlobalLock(copy) : nullptr) {
        std::memcpy(dst, src, n);
        GlobalUnlock(copy);
    } else if (copy) {
        GlobalFree(copy);
        copy = nullptr;
    }
    GlobalUnlock(h);
    return copy;
}

// The formats of a source as it was when asked: a snapshot, so that a
// reader enumerating while the source changes never walks freed entries.
class FormatEnum : public IEnumFORMATETC
{
public:
    FormatEnum(FORMATETC const *p, size_t n, size_t nPos) : m_aFormats(p, p + n), m_nPos(nPos), m_nRefs(1) {}

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void **ppv) override
    {
        if (!ppv)
            return E_POINTER;
        if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IEnumFORMATETC)) {
            *ppv = static_cast<IEnumFORMATETC *>(this);
            AddRef();
            return S_OK;
        }
        *ppv = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ULONG(InterlockedIncrement(&m_nRefs)); }
    ULONG STDMETHODCALLTYPE Release() override
    {
        LONG const n = InterlockedDecrement(&m_nRefs);
        if (n == 0)
            delete this;
        return ULONG(n);
    }
    HRESULT STDMETHODCALLTYPE Next(ULONG celt, FORMATETC *rgelt, ULONG *pFetched) override
    {
        if (!rgelt || (celt > 1 && !pFetched))
            return E_INVALIDARG;
        ULONG n = 0;
        for (; n < celt && m_nPos < m_aFormats.size(); ++n)
            rgelt[n] = m_aFormats[m_nPos++];
        if (pFetched)
            *pFetched = n;
        return n == celt ? S_OK : S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE Skip(ULONG celt) override
    {
        size_t const left = m_aFormats.size() - m_nPos;
        m_nPos += celt < left ? celt : left;
        return celt <= left ? S_OK : S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE Reset() override
    {
        m_nPos = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Clone(IEnumFORMATETC **ppEnum) override
    {
        if (!ppEnum)
            return E_POINTER;
        *ppEnum = new (std::nothrow) FormatEnum(m_aFormats.data(), m_aFormats.size(), m_nPos);
        return *ppEnum ? S_OK : E_OUTOFMEMORY;
    }

private:
    virtual ~FormatEnum() = default;
    std::vector<FORMATETC> m_aFormats;
    size_t m_nPos;
    LONG m_nRefs;
};

} // namespace

COleDataSource::COleDataSource() : m_nRefs(1) {}

COleDataSource::~COleDataSource() { Empty(); }

COleDataSource::Entry *COleDataSource::Find(FORMATETC const *pFormat)
{
    for (Entry &e : m_aEntries)
        if (e.aFormat.cfFormat == pFormat->cfFormat && (e.aFormat.tymed & pFormat->tymed) &&
            e.aFormat.dwAspect == pFormat->dwAspect)
            return &e;
    return nullptr;
}

void COleDataSource::Add(FORMATETC const &rFormat, HGLOBAL hGlobal)
{
    FORMATETC key = rFormat;
    if (Entry *e = Find(&key)) {
        if (e->hGlobal)
            GlobalFree(e->hGlobal);
        e->hGlobal = hGlobal;
        return;
    }
    m_aEntries.push_back(Entry{rFormat, hGlobal});
}

void COleDataSource::CacheGlobalData(CLIPFORMAT cfFormat, HGLOBAL hGlobal, FORMATETC const *pFormatEtc)
{
    if (!hGlobal)
        return;
    Add(GlobalFormat(cfFormat, pFormatEtc), hGlobal);
}

void COleDataSource::DelayRenderData(CLIPFORMAT cfFormat, FORMATETC const *pFormatEtc)
{
    Add(GlobalFormat(cfFormat, pFormatEtc), nullptr);
}

void COleDataSource::Empty()
{
    for (Entry &e : m_aEntries)
        if (e.hGlobal)
            GlobalFree(e.hGlobal);
    m_aEntries.clear();
}

bool COleDataSource::HasUnrendered() const
{
    for (Entry const &e : m_aEntries)
        if (!e.hGlobal)
            return true;
    return false;
}

bool COleDataSource::SetClipboard() { return SUCCEEDED(OleSetClipboard(this)); }

void COleDataSource::FlushClipboard() { OleFlushClipboard(); }

unsigned long COleDataSource::InternalAddRef() { return AddRef(); }
unsigned long COleDataSource::InternalRelease() { return Release(); }

bool COleDataSource::OnRenderGlobalData(FORMATETC const *, HGLOBAL *) { return false; }

HRESULT COleDataSource::QueryInterface(REFIID riid, void **ppv)
{
    if (!ppv)
        return E_POINTER;
    if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IDataObject)) {
        *ppv = static_cast<IDataObject *>(this);
        AddRef();
        return S_OK;
    }
    *ppv = nullptr;
    return E_NOINTERFACE;
}

ULONG COleDataSource::AddRef() { return ULONG(InterlockedIncrement(&m_nRefs)); }

ULONG COleDataSource::Release()
{
    LONG const n = InterlockedDecrement(&m_nRefs);
    if (n == 0)
        delete this;
    return ULONG(n);
}

HRESULT COleDataSource::GetData(FORMATETC *pFormat, STGMEDIUM *pMedium)
{
    if (!pFormat || !pMedium)
        return E_INVALIDARG;
    Entry *e = Find(pFormat);
    if (!e)
        return DV_E_FORMATETC;
    if (!e->hGlobal) {
        HGLOBAL h = nullptr;
        FORMATETC const asked = e->aFormat;
        if (!OnRenderGlobalData(&asked, &h) || !h)
            return DV_E_FORMATETC;
        // The renderer may have changed the entries; find the format again.
        Add(asked, h);
        e = Find(pFormat);
        if (!e || !e->hGlobal)
            return E_UNEXPECTED;
    }
    HGLOBAL copy = CopyGlobal(e->hGlobal);
    if (!copy)
        return E_OUTOFMEMORY;
    pMedium->tymed = TYMED_HGLOBAL;
    pMedium->hGlobal = copy;
    pMedium->pUnkForRelease = nullptr;
    return S_OK;
}

HRESULT COleDataSource::GetDataHere(FORMATETC *, STGMEDIUM *) { return E_NOTIMPL; }

HRESULT COleDataSource::QueryGetData(FORMATETC *pFormat)
{
    if (!pFormat)
        return E_INVALIDARG;
    return Find(pFormat) ? S_OK : DV_E_FORMATETC;
}

HRESULT COleDataSource::GetCanonicalFormatEtc(FORMATETC *, FORMATETC *pOut)
{
    if (pOut)
        pOut->ptd = nullptr;
    return DATA_S_SAMEFORMATETC;
}

HRESULT COleDataSource::SetData(FORMATETC *, STGMEDIUM *, BOOL) { return E_NOTIMPL; }

HRESULT COleDataSource::EnumFormatEtc(DWORD dwDirection, IEnumFORMATETC **ppEnum)
{
    if (!ppEnum)
        return E_POINTER;
    *ppEnum = nullptr;
    if (dwDirection != DATADIR_GET)
        return E_NOTIMPL;
    std::vector<FORMATETC> formats;
    for (Entry const &e : m_aEntries)
        formats.push_back(e.aFormat);
    *ppEnum = new (std::nothrow) FormatEnum(formats.data(), formats.size(), 0);
    return *ppEnum ? S_OK : E_OUTOFMEMORY;
}

HRESULT COleDataSource::DAdvise(FORMATETC *, DWORD, IAdviseSink *, DWORD *) { return OLE_E_ADVISENOTSUPPORTED; }
HRESULT COleDataSource::DUnadvise(DWORD) { return OLE_E_ADVISENOTSUPPORTED; }
HRESULT COleDataSource::EnumDAdvise(IEnumSTATDATA **) { return OLE_E_ADVISENOTSUPPORTED; }
