#include "tests/support/Registry.h"

#include <gtest/gtest.h>

namespace testing_support {

namespace {
HKEY openForWrite(const std::string& path) {
    HKEY key = nullptr;
    LONG status = RegCreateKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                                  nullptr, &key, nullptr);
    EXPECT_EQ(ERROR_SUCCESS, status) << "cannot create HKCU\\" << path;
    return key;
}
}  // namespace

VendorKeyScratch::VendorKeyScratch() { deleteTree("Software\\Vantorel"); }
VendorKeyScratch::~VendorKeyScratch() { deleteTree("Software\\Vantorel"); }

void deleteTree(const std::string& path) { RegDeleteTreeA(HKEY_CURRENT_USER, path.c_str()); }

void createKey(const std::string& path) {
    if (HKEY key = openForWrite(path)) RegCloseKey(key);
}

void setRaw(const std::string& path, const std::string& name, DWORD type,
            const std::vector<uint8_t>& data) {
    HKEY key = openForWrite(path);
    if (!key) return;
    EXPECT_EQ(ERROR_SUCCESS, RegSetValueExA(key, name.c_str(), 0, type, data.data(),
                                            static_cast<DWORD>(data.size())));
    RegCloseKey(key);
}

void setDword(const std::string& path, const std::string& name, uint32_t value) {
    std::vector<uint8_t> data(4);
    memcpy(data.data(), &value, 4);
    setRaw(path, name, REG_DWORD, data);
}

void setString(const std::string& path, const std::string& name, const std::string& text) {
    std::vector<uint8_t> data(text.begin(), text.end());
    data.push_back(0);
    setRaw(path, name, REG_SZ, data);
}

void deleteValue(const std::string& path, const std::string& name) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, KEY_SET_VALUE, &key) == ERROR_SUCCESS) {
        RegDeleteValueA(key, name.c_str());
        RegCloseKey(key);
    }
}

}  // namespace testing_support
