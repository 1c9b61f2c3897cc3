#include "tests/reliability/HandleCensus.h"

#include <vector>

namespace reliability {

namespace {

// Far above any GDI table this runs on; only a guard against a table without a limit.
constexpr size_t kGdiProbeLimit = 1 << 20;

BOOL CALLBACK countChild(HWND, LPARAM counter) {
    ++*reinterpret_cast<size_t*>(counter);
    return TRUE;
}

BOOL CALLBACK countTopLevel(HWND window, LPARAM counter) {
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    if (process != GetCurrentProcessId()) return TRUE;
    ++*reinterpret_cast<size_t*>(counter);
    EnumChildWindows(window, countChild, counter);
    return TRUE;
}

}  // namespace

size_t freeGdiSlots() {
    GdiFlush();
    std::vector<HBRUSH> probes;
    probes.reserve(70000);
    while (probes.size() < kGdiProbeLimit) {
        HBRUSH brush = CreateSolidBrush(RGB(1, 2, 3));
        if (!brush) break;
        probes.push_back(brush);
    }
    for (HBRUSH brush : probes) DeleteObject(brush);
    return probes.size();
}

size_t processWindows() {
    size_t count = 0;
    EnumWindows(countTopLevel, reinterpret_cast<LPARAM>(&count));
    return count;
}

}  // namespace reliability
