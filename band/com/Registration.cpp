#include "band/com/Registration.h"

#include <objbase.h>
#include <olectl.h>
#include <comcat.h>
#include <shlguid.h>

#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <type_traits>

#include "band/core/DeskBand.h"
#include "band/core/PlayerStatus.h"

namespace {

const char kBandName[] = "&ZAX";

enum class EntryData { None, BandName, ModulePath, Apartment };

struct RegistrationEntry {
    HKEY root;
    const char* keyFormat;  // one %s for the CLSID string
    const char* valueName;  // null: the key's default value
    EntryData data;
};

// Deleting walks the same rows: the CLSID key first fails while it has subkeys, the subkeys
// go, and the last row removes the then empty CLSID key.
const RegistrationEntry kEntries[] = {
    {HKEY_CLASSES_ROOT, "CLSID\\%s", nullptr, EntryData::BandName},
    {HKEY_CLASSES_ROOT, "CLSID\\%s\\InprocServer32", nullptr, EntryData::ModulePath},
    {HKEY_CLASSES_ROOT, "CLSID\\%s\\InprocServer32", "ThreadingModel", EntryData::Apartment},
    {HKEY_CLASSES_ROOT, "CLSID\\%s\\Implemented Categories", nullptr, EntryData::None},
    {HKEY_CLASSES_ROOT, "CLSID\\%s", nullptr, EntryData::None},
    {nullptr, nullptr, nullptr, EntryData::None},
};

struct TaskMemFree {
    void operator()(wchar_t* text) const { CoTaskMemFree(text); }
};

std::string clsidString(REFCLSID clsid) {
    wchar_t* wide = nullptr;
    if (FAILED(StringFromIID(clsid, &wide))) return {};
    std::unique_ptr<wchar_t, TaskMemFree> owned(wide);
    char text[MAX_PATH] = {};
    WideCharToMultiByte(CP_ACP, 0, owned.get(), -1, text, MAX_PATH, nullptr, nullptr);
    return text;
}

// The whole path, however long: a cut-off path would register a server that cannot load.
std::string modulePath() {
    std::string path(MAX_PATH, '\0');
    for (;;) {
        DWORD length = GetModuleFileNameA(moduleInstance, path.data(),
                                          static_cast<DWORD>(path.size()));
        if (length < path.size()) {
            path.resize(length);
            return path;
        }
        path.resize(path.size() * 2);
    }
}

struct KeyCloser {
    void operator()(HKEY key) const { RegCloseKey(key); }
};
using UniqueKey = std::unique_ptr<std::remove_pointer_t<HKEY>, KeyCloser>;

void writeEntry(const RegistrationEntry& entry, const std::string& keyPath,
                const std::string& data, bool hasData) {
    HKEY created = nullptr;
    if (RegCreateKeyExA(entry.root, keyPath.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &created,
                        nullptr) != ERROR_SUCCESS) {
        return;
    }
    UniqueKey key(created);
    if (!hasData) return;
    RegSetValueExA(key.get(), entry.valueName, 0, REG_SZ,
                   reinterpret_cast<const BYTE*>(data.c_str()),
                   static_cast<DWORD>(data.size() + 1));
}

}  // namespace

void WriteRegistrationEntries(REFCLSID clsid, const char* bandName, RegistrationAction action) {
    const std::string clsidText = clsidString(clsid);
    const std::string path = modulePath();
    for (const RegistrationEntry* entry = kEntries; entry->root; ++entry) {
        // Only the fixed key format is a format; the CLSID string and the module path are data.
        char keyPath[MAX_PATH] = {};
        snprintf(keyPath, sizeof keyPath, entry->keyFormat, clsidText.c_str());
        if (action == RegistrationAction::Remove) {
            RegDeleteKeyA(entry->root, keyPath);
            continue;
        }
        switch (entry->data) {
            case EntryData::None: writeEntry(*entry, keyPath, {}, false); break;
            case EntryData::BandName: writeEntry(*entry, keyPath, bandName, true); break;
            case EntryData::ModulePath: writeEntry(*entry, keyPath, path, true); break;
            case EntryData::Apartment: writeEntry(*entry, keyPath, "Apartment", true); break;
        }
    }
}

bool RegisterCategory(REFCLSID clsid, REFGUID category, RegistrationAction action) {
    // Only a successful CoInitialize is balanced: a caller whose thread already runs another
    // apartment must keep its COM set-up.
    const bool initialised = SUCCEEDED(CoInitialize(nullptr));
    ICatRegister* registrar = nullptr;
    HRESULT result = CoCreateInstance(CLSID_StdComponentCategoriesMgr, nullptr,
                                      CLSCTX_INPROC_SERVER, IID_ICatRegister,
                                      reinterpret_cast<void**>(&registrar));
    if (SUCCEEDED(result)) {
        CATID categories[1] = {category};
        result = action == RegistrationAction::Register
                     ? registrar->RegisterClassImplCategories(clsid, 1, categories)
                     : registrar->UnRegisterClassImplCategories(clsid, 1, categories);
        registrar->Release();
    }
    if (initialised) CoUninitialize();
    return SUCCEEDED(result);
}

STDAPI DllRegisterServer() {
    WriteRegistrationEntries(BandClsid, kBandName, RegistrationAction::Register);
    return RegisterCategory(BandClsid, CATID_DeskBand, RegistrationAction::Register)
               ? S_OK
               : SELFREG_E_CLASS;
}

STDAPI DllUnregisterServer() {
    // The category goes first so that "Implemented Categories" is empty when its row is deleted.
    if (!RegisterCategory(BandClsid, CATID_DeskBand, RegistrationAction::Remove)) {
        return SELFREG_E_CLASS;
    }
    WriteRegistrationEntries(BandClsid, kBandName, RegistrationAction::Remove);
    return S_OK;
}
