#include "sendrel/RegKey.h"

#include <cstring>
#include <vector>

#include "sendrel/DecimalText.h"

namespace {

// Closes the subkey a read opened on every way out of that read.
class OpenedKey {
public:
    OpenedKey() = default;
    ~OpenedKey() {
        if (key_) RegCloseKey(key_);
    }
    OpenedKey(const OpenedKey&) = delete;
    OpenedKey& operator=(const OpenedKey&) = delete;
    HKEY& handle() { return key_; }

private:
    HKEY key_ = nullptr;
};

}  // namespace

RegKey::~RegKey() {
    if (openKey) RegCloseKey(openKey);
    if (root && !predefinedRoot) RegCloseKey(root);
}

bool RegKey::ReadString(const std::string& path, const std::string& name, std::string& text,
                        const std::string& fallback) {
    text = fallback;
    OpenedKey key;
    if (!OpenSubkey(path, key.handle())) {
        Trace("Failed to open %s\n", path.c_str());
        return false;
    }
    DWORD size = 0;
    DWORD type = 0;
    QueryValueSize(key.handle(), name, size);
    QueryValueType(key.handle(), name, type);
    if (type != REG_SZ && type != REG_BINARY) {
        Trace("Wrong type in registry key : expected REG_SZ or REG_BINARY\n");
        return false;
    }
    if (size == 0) return false;
    // One spare zero byte terminates data stored without its own terminator.
    std::vector<char> buffer(static_cast<size_t>(size) + 1, 0);
    if (QueryValueData(key.handle(), name, buffer.data(), type, size)) text = buffer.data();
    return true;
}

bool RegKey::ReadNumber(const std::string& path, const std::string& name, int32_t& number,
                        int32_t fallback) {
    number = fallback;
    OpenedKey key;
    if (!OpenSubkey(path, key.handle())) {
        Trace("----------> Failed to open %s\n", path.c_str());
        return false;
    }
    DWORD size = 0;
    DWORD type = 0;
    QueryValueSize(key.handle(), name, size);
    QueryValueType(key.handle(), name, type);
    if (type == REG_DWORD) {
        // Read the stored size into a buffer of its own: a REG_DWORD may hold more (or fewer)
        // than four bytes, and only the first four, zero-filled, make the number.
        std::vector<unsigned char> buffer(size < sizeof(number) ? sizeof(number) : size, 0);
        if (QueryValueData(key.handle(), name, buffer.data(), type, size)) {
            std::memcpy(&number, buffer.data(), sizeof(number));
        } else {
            number = fallback;
        }
        return true;
    }
    if (type == REG_SZ) {
        std::vector<char> buffer(static_cast<size_t>(size) + 1, 0);
        if (QueryValueData(key.handle(), name, buffer.data(), type, size)) {
            number = ParseDecimal(buffer.data());
        }
        return true;
    }
    return false;
}

bool RegKey::OpenSubkey(const std::string& path, HKEY& key) const {
    return RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, &key) == ERROR_SUCCESS;
}

void RegKey::QueryValueSize(HKEY key, const std::string& name, DWORD& size) {
    size = 0;
    if (RegQueryValueExA(key, name.c_str(), nullptr, nullptr, nullptr, &size) != ERROR_SUCCESS) {
        size = 0;
        Trace("Can not find value %s\n", name.c_str());
    }
}

void RegKey::QueryValueType(HKEY key, const std::string& name, DWORD& type) {
    type = static_cast<DWORD>(-1);
    if (RegQueryValueExA(key, name.c_str(), nullptr, &type, nullptr, nullptr) != ERROR_SUCCESS) {
        // Keep -1 whatever the failed call left there: a missing value has no type.
        type = static_cast<DWORD>(-1);
        Trace("Can not find value %s\n", name.c_str());
    }
}

bool RegKey::QueryValueData(HKEY key, const std::string& name, void* buffer, DWORD type,
                            DWORD size) {
    if (size == 0) return false;
    return RegQueryValueExA(key, name.c_str(), nullptr, &type, static_cast<BYTE*>(buffer),
                            &size) == ERROR_SUCCESS;
}

void RegKey::Trace(const char*, ...) {}
