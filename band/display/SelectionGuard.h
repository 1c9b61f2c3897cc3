// Scoped SelectObject: puts the previous object back when it ends, so an object is always
// deselected before it is deleted.
#pragma once

#include <windows.h>

class SelectionGuard {
public:
    SelectionGuard(HDC dc, HGDIOBJ object) : dc_(dc), previous_(SelectObject(dc, object)) {}
    ~SelectionGuard() {
        if (previous_) SelectObject(dc_, previous_);
    }
    SelectionGuard(const SelectionGuard&) = delete;
    SelectionGuard& operator=(const SelectionGuard&) = delete;

    HGDIOBJ previous() const { return previous_; }

private:
    HDC dc_;
    HGDIOBJ previous_;
};
