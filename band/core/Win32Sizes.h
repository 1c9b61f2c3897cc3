// Structure sizes the band passes to the system. The 32-bit numbers are pinned on i686 so a
// header change that alters them fails the build instead of the running band.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <cstddef>

#ifndef TTTOOLINFOA_V1_SIZE
#define TTTOOLINFOA_V1_SIZE CCSIZEOF_STRUCT(TTTOOLINFOA, lpszText)
#endif

// Size the band announces in its tooltip tools: the structure through lParam, 44 bytes on the
// 32-bit system, short of the reserved pointer that newer headers add. (The headers' own
// TTTOOLINFOA_V1_SIZE stops before lParam: 40 bytes there.)
constexpr UINT kToolInfoSize = offsetof(TTTOOLINFOA, lParam) + sizeof(LPARAM);

#if !defined(_WIN64)
static_assert(kToolInfoSize == 44, "tooltip tool size of the 32-bit system");
static_assert(sizeof(STARTUPINFOA) == 68, "STARTUPINFOA size of the 32-bit system");
static_assert(sizeof(TRACKMOUSEEVENT) == 16, "TRACKMOUSEEVENT size of the 32-bit system");
#endif
