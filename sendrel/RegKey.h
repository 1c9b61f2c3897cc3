// Reads single values under a registry root, one value per call, with a caller's default.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

class RegKey {
public:
    RegKey() = default;
    virtual ~RegKey();
    RegKey(const RegKey&) = delete;
    RegKey& operator=(const RegKey&) = delete;

    // `text` becomes `fallback` first. True when the value is REG_SZ or REG_BINARY with at
    // least one byte; binary data is cut at its first zero byte.
    bool ReadString(const std::string& path, const std::string& name, std::string& text,
                    const std::string& fallback);

    // `number` becomes `fallback` first. True when the value is REG_DWORD or REG_SZ (decimal
    // text, 0 when it holds no digits); false when the key or value is missing or of another
    // type.
    bool ReadNumber(const std::string& path, const std::string& name, int32_t& number,
                    int32_t fallback);

    HKEY root = nullptr;
    // Never set by the reads, which open and close their own handle; kept for the destructor.
    HKEY openKey = nullptr;
    // A predefined root such as HKEY_CURRENT_USER must not be closed.
    bool predefinedRoot = true;

private:
    bool OpenSubkey(const std::string& path, HKEY& key) const;
    static void QueryValueSize(HKEY key, const std::string& name, DWORD& size);
    static void QueryValueType(HKEY key, const std::string& name, DWORD& type);
    static bool QueryValueData(HKEY key, const std::string& name, void* buffer, DWORD type,
                               DWORD size);
    static void Trace(const char* format, ...) __attribute__((format(printf, 1, 2)));
};

class CurrentUserKey : public RegKey {
public:
    CurrentUserKey() { root = HKEY_CURRENT_USER; }
};
