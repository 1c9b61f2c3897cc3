// The band's side of the player protocol: record kinds in, command codes out.
#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>

// dwData of the WM_COPYDATA records the player's plug-in sends the band window.
enum class RecordKind : ULONG_PTR {
    TitleRecord = 0,      // payload unused; the caption of the player window is the title
    NextTrackRecord = 1,  // text of the next track
    PrevTrackRecord = 2,  // text of the previous track
    TimesRecord = 3,      // four little-endian int32 counters
    ReloadRecord = 4,     // text: new skin base directory; settings are read again
    ClosedRecord = 5,     // payload unused; the player has gone
};

struct CommandEntry {
    int32_t code;   // WPARAM of "MsgTaskIconNotify" for the function
    char name[20];  // display name, tooltip of functions without a text of their own
};

constexpr int kCommandTableSize = 100;
constexpr int kFirstCustomFunction = 8;
constexpr int kLastCustomFunction = 57;

extern const CommandEntry CommandTable[kCommandTableSize];

// Command code for a button function; none for functions outside 0-57.
std::optional<int32_t> CommandCode(int32_t function);

// Starts `playerCommand` as a new process and keeps nothing of it.
void RunPlayerCommand();
