// Hands out desk bands to COM: one factory per DllGetClassObject call, none shared.
#pragma once

#include <windows.h>
#include <unknwn.h>

class ClassFactory final : public IClassFactory {
public:
    explicit ClassFactory(REFCLSID clsid);
    ~ClassFactory();
    ClassFactory(const ClassFactory&) = delete;
    ClassFactory& operator=(const ClassFactory&) = delete;

    // IUnknown
    STDMETHODIMP QueryInterface(REFIID riid, void** out) override;
    STDMETHODIMP_(ULONG) AddRef() override;
    STDMETHODIMP_(ULONG) Release() override;
    // IClassFactory
    STDMETHODIMP CreateInstance(IUnknown* outer, REFIID riid, void** out) override;
    STDMETHODIMP LockServer(BOOL lock) override;

    LONG refCount = 1;
    CLSID clsid;
};
