// A memory device context with a compatible bitmap of its own.
#pragma once

#include <windows.h>

#include <memory>

#include "band/display/SelectionGuard.h"

class MemoryDC {
public:
    MemoryDC(HDC reference, int width, int height);
    ~MemoryDC();
    MemoryDC(const MemoryDC&) = delete;
    MemoryDC& operator=(const MemoryDC&) = delete;

    // Selects the own bitmap into the DC and fills (0, 0, width, height) with the colour.
    void clear(int width, int height, COLORREF colour);

    HDC dc;
    HBITMAP bitmap;
    std::unique_ptr<SelectionGuard> selection;  // selection of `bitmap`, once made
};
