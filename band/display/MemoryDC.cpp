#include "band/display/MemoryDC.h"

MemoryDC::MemoryDC(HDC reference, int width, int height)
    : dc(CreateCompatibleDC(reference)),
      bitmap(CreateCompatibleBitmap(reference, width, height)) {}

MemoryDC::~MemoryDC() {
    selection.reset();  // the bitmap leaves the DC before it is deleted
    if (bitmap) DeleteObject(bitmap);
    if (dc) DeleteDC(dc);
}

void MemoryDC::clear(int width, int height, COLORREF colour) {
    // A second clear must not leave the own bitmap deselected under a new guard.
    selection.reset();
    selection = std::make_unique<SelectionGuard>(dc, bitmap);
    HBRUSH brush = CreateSolidBrush(colour);
    RECT rect{0, 0, width, height};
    FillRect(dc, &rect, brush);
    DeleteObject(brush);
}
