// Finding the band window from another process. The band is a child window of whatever hosts
// it (the taskbar, or the band host), so every top-level window's descendants are searched.
#pragma once

#include <windows.h>

#include <cstring>

inline constexpr char kBandClassName[] = "ZAXDeskBandClass";

inline bool IsBandWindow(HWND window) {
    char name[64] = {};
    return window != nullptr && IsWindow(window) &&
           GetClassNameA(window, name, sizeof name) > 0 && std::strcmp(name, kBandClassName) == 0;
}

namespace find_band_detail {

inline BOOL CALLBACK checkChild(HWND child, LPARAM context) {
    if (!IsBandWindow(child)) return TRUE;
    *reinterpret_cast<HWND*>(context) = child;
    return FALSE;
}

inline BOOL CALLBACK checkTopLevel(HWND top, LPARAM context) {
    HWND* found = reinterpret_cast<HWND*>(context);
    if (IsBandWindow(top)) {
        *found = top;
        return FALSE;
    }
    EnumChildWindows(top, checkChild, context);
    return *found == nullptr;
}

}  // namespace find_band_detail

// The first band window found, or null.
inline HWND FindBandWindow() {
    HWND found = nullptr;
    EnumWindows(find_band_detail::checkTopLevel, reinterpret_cast<LPARAM>(&found));
    return found;
}
