// Honest counts of what the process holds, for leak checks under Wine, where GetGuiResources
// reports nothing: GDI objects are counted by filling the free part of the process's handle
// table, windows by enumerating them.
#pragma once

#include <windows.h>

#include <cstddef>

namespace reliability {

// How many more GDI objects the process can create right now. A leak of n objects lowers it
// by n. Everything made for the count is deleted before it returns.
size_t freeGdiSlots();

// Top-level windows of this process plus all their descendants (tooltips included).
size_t processWindows();

// True when the handle still names a live GDI object.
inline bool isGdiObject(HGDIOBJ object) { return object && GetObjectType(object) != 0; }

}  // namespace reliability
