// The built Strappa.dll as COM sees it: registered with the system's regsvr32, or loaded by
// hand so a test can call its exports and observe the DLL's own object count.
#pragma once

#include <windows.h>
#include <objbase.h>

#include <string>

#include "tests/support/Process.h"

namespace com_testing {

constexpr char kClsidText[] = "{85E0B170-04FA-11D1-B7DA-00A0C90348D6}";
constexpr char kClassKey[] = "CLSID\\{85E0B170-04FA-11D1-B7DA-00A0C90348D6}";

inline CLSID bandClsid() {
    CLSID clsid{};
    CLSIDFromString(L"{85E0B170-04FA-11D1-B7DA-00A0C90348D6}", &clsid);
    return clsid;
}

inline std::string dllPath() { return testing_support::programPath("Strappa.dll"); }

inline long regsvr32(const std::string& options, const std::string& path = dllPath()) {
    return testing_support::runProcess("regsvr32.exe " + options + " \"" + path + "\"");
}

// A REG_SZ under HKEY_CLASSES_ROOT; `found` false when the key or value is missing.
inline std::string classesString(const std::string& key, const char* valueName,
                                 bool* found = nullptr) {
    char data[1024] = {};
    DWORD size = sizeof data - 1;
    DWORD type = 0;
    HKEY opened = nullptr;
    bool ok = RegOpenKeyExA(HKEY_CLASSES_ROOT, key.c_str(), 0, KEY_READ, &opened) == ERROR_SUCCESS;
    if (ok) {
        ok = RegQueryValueExA(opened, valueName, nullptr, &type, reinterpret_cast<BYTE*>(data),
                              &size) == ERROR_SUCCESS &&
             type == REG_SZ;
        RegCloseKey(opened);
    }
    if (found) *found = ok;
    return ok ? std::string(data) : std::string();
}

inline bool classesKeyExists(const std::string& key) {
    HKEY opened = nullptr;
    if (RegOpenKeyExA(HKEY_CLASSES_ROOT, key.c_str(), 0, KEY_READ, &opened) != ERROR_SUCCESS) {
        return false;
    }
    RegCloseKey(opened);
    return true;
}

// Strappa.dll loaded into the test process; its exports called directly.
class LoadedServer {
public:
    using GetClassObjectFn = HRESULT(STDAPICALLTYPE*)(REFCLSID, REFIID, void**);
    using NoArgumentFn = HRESULT(STDAPICALLTYPE*)();

    LoadedServer() : module_(LoadLibraryA(dllPath().c_str())) {
        if (!module_) return;
        getClassObject = reinterpret_cast<GetClassObjectFn>(
            reinterpret_cast<void*>(GetProcAddress(module_, "DllGetClassObject")));
        canUnloadNow = reinterpret_cast<NoArgumentFn>(
            reinterpret_cast<void*>(GetProcAddress(module_, "DllCanUnloadNow")));
        registerServer = reinterpret_cast<NoArgumentFn>(
            reinterpret_cast<void*>(GetProcAddress(module_, "DllRegisterServer")));
        unregisterServer = reinterpret_cast<NoArgumentFn>(
            reinterpret_cast<void*>(GetProcAddress(module_, "DllUnregisterServer")));
    }
    ~LoadedServer() {
        if (module_) FreeLibrary(module_);
    }
    LoadedServer(const LoadedServer&) = delete;
    LoadedServer& operator=(const LoadedServer&) = delete;

    bool loaded() const {
        return module_ && getClassObject && canUnloadNow && registerServer && unregisterServer;
    }

    GetClassObjectFn getClassObject = nullptr;
    NoArgumentFn canUnloadNow = nullptr;
    NoArgumentFn registerServer = nullptr;
    NoArgumentFn unregisterServer = nullptr;

private:
    HMODULE module_;
};

}  // namespace com_testing
