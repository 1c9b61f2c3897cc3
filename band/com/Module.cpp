// Entry points of the in-process server: load, unload test and class objects.
#include <windows.h>
#include <objbase.h>

#include <new>

#include "band/com/ClassFactory.h"
#include "band/core/DeskBand.h"
#include "band/core/PlayerStatus.h"

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) moduleInstance = instance;
    return TRUE;
}

STDAPI DllCanUnloadNow() { return objectCount == 0 ? S_OK : S_FALSE; }

STDAPI DllGetClassObject(REFCLSID clsid, REFIID riid, void** out) {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (!IsEqualCLSID(clsid, BandClsid)) return CLASS_E_CLASSNOTAVAILABLE;
    auto* factory = new (std::nothrow) ClassFactory(clsid);
    if (!factory) return E_OUTOFMEMORY;
    HRESULT result = factory->QueryInterface(riid, out);
    factory->Release();
    return result;
}
