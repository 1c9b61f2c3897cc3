// The three registry readers. Each makes one query, ignores the value's type and falls back
// to the default on any failure, so a caller always finds a usable value.
#include <cstring>

#include "band/settings/BandSettings.h"

void ReadNumberValue(HKEY key, const char* name, int32_t* destination, int32_t defaultValue) {
    // Shorter data fills only the low-order bytes; the rest keep what the destination held.
    DWORD size = sizeof(*destination);
    if (RegQueryValueExA(key, name, nullptr, nullptr, reinterpret_cast<BYTE*>(destination),
                         &size) != ERROR_SUCCESS) {
        *destination = defaultValue;
    }
}

void ReadFlagValue(HKEY key, const char* name, bool* destination, bool defaultValue) {
    DWORD buffer = defaultValue ? 1 : 0;
    DWORD size = sizeof(buffer);
    if (RegQueryValueExA(key, name, nullptr, nullptr, reinterpret_cast<BYTE*>(&buffer), &size) !=
        ERROR_SUCCESS) {
        *destination = defaultValue;
        return;
    }
    *destination = buffer == 1;
}

namespace {
void copyDefault(char* destination, DWORD size, const char* defaultText) {
    size_t length = std::strlen(defaultText);
    if (length >= size) length = size - 1;
    std::memcpy(destination, defaultText, length);
    destination[length] = '\0';
}
}  // namespace

void ReadStringValue(HKEY key, const char* name, char* destination, DWORD size,
                     const char* defaultText) {
    if (size == 0) return;
    DWORD stored = size;
    if (RegQueryValueExA(key, name, nullptr, nullptr, reinterpret_cast<BYTE*>(destination),
                         &stored) != ERROR_SUCCESS) {
        copyDefault(destination, size, defaultText);
        return;
    }
    // Data written without a terminator (REG_BINARY, or a REG_SZ stored bare) must still
    // leave a terminated text. A field filled to the brim has no room for one: cutting it
    // would invent a text nobody stored, so it counts as too long and gives the default.
    if (stored >= size) {
        if (destination[size - 1] != '\0') copyDefault(destination, size, defaultText);
        return;
    }
    destination[stored] = '\0';
}
