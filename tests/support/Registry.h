// Real registry values in the test prefix, under HKEY_CURRENT_USER.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

namespace testing_support {

// Deletes "Software\Vantorel" when made and when it ends, so no test sees another's values.
class VendorKeyScratch {
public:
    VendorKeyScratch();
    ~VendorKeyScratch();
    VendorKeyScratch(const VendorKeyScratch&) = delete;
    VendorKeyScratch& operator=(const VendorKeyScratch&) = delete;
};

void deleteTree(const std::string& path);
void createKey(const std::string& path);
void setDword(const std::string& path, const std::string& name, uint32_t value);
void setString(const std::string& path, const std::string& name, const std::string& text);
// Raw data of any type, e.g. REG_BINARY bytes or a REG_SZ without its terminator.
void setRaw(const std::string& path, const std::string& name, DWORD type,
            const std::vector<uint8_t>& data);
void deleteValue(const std::string& path, const std::string& name);

}  // namespace testing_support
