// Process-wide state shared by every band object of the module.
#pragma once

#include <windows.h>

#include <cstdint>

// What the player last reported; written only by the player link.
struct PlayerStatus {
    char title[MAX_PATH];      // player caption + five spaces; "ZAX     " when none
    char nextTrack[MAX_PATH];
    char prevTrack[MAX_PATH];
    int32_t times[4];          // track position, track length, playlist elapsed, -remaining
    char skinBaseDir[MAX_PATH];
};

extern PlayerStatus playerStatus;

// Scratch text for painting and the time-box tooltip; holds nothing between uses.
extern char displayText[MAX_PATH];

extern HINSTANCE moduleInstance;
extern LONG objectCount;              // live class factories and bands
extern const UINT taskIconNotifyMsg;  // "MsgTaskIconNotify": commands to the player
extern const UINT deskBandNotifyMsg;  // "DeskBandNotify": seek requests to the player

extern const char kIdleTitle[];       // "ZAX     "
constexpr int kTitleGap = 5;          // spaces appended to the caption

// Debug trace of the band; deliberately discards its arguments.
void Trace(const char* format, ...);
