#include "band/com/ClassFactory.h"

#include <new>

#include "band/core/DeskBand.h"
#include "band/core/PlayerStatus.h"

ClassFactory::ClassFactory(REFCLSID forClass) : clsid(forClass) { ++objectCount; }

ClassFactory::~ClassFactory() { --objectCount; }

STDMETHODIMP ClassFactory::QueryInterface(REFIID riid, void** out) {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (!IsEqualIID(riid, IID_IUnknown) && !IsEqualIID(riid, IID_IClassFactory)) {
        return E_NOINTERFACE;
    }
    *out = static_cast<IClassFactory*>(this);
    AddRef();
    return S_OK;
}

STDMETHODIMP_(ULONG) ClassFactory::AddRef() { return static_cast<ULONG>(++refCount); }

STDMETHODIMP_(ULONG) ClassFactory::Release() {
    LONG count = --refCount;
    if (count == 0) delete this;
    return static_cast<ULONG>(count);
}

STDMETHODIMP ClassFactory::CreateInstance(IUnknown* outer, REFIID riid, void** out) {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (outer) return CLASS_E_NOAGGREGATION;
    if (!IsEqualCLSID(clsid, BandClsid)) return E_FAIL;
    auto* band = new (std::nothrow) DeskBand;
    if (!band) return E_OUTOFMEMORY;
    // The band starts with one reference of its own; a failed query lets it go again.
    HRESULT result = band->QueryInterface(riid, out);
    band->Release();
    return result;
}

// Keeping the module loaded rests on objectCount alone.
STDMETHODIMP ClassFactory::LockServer(BOOL) { return E_NOTIMPL; }
