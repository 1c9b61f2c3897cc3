#include "band/core/PointerText.h"

#include <cstdio>

#include "band/core/PlayerLink.h"
#include "band/core/PlayerStatus.h"
#include "band/settings/BandSettings.h"

namespace {
enum Function : int32_t { kPreviousTrack = 0, kPlay = 1, kNextTrack = 2 };
}

const char* ToolText(int32_t function) {
    switch (function) {
        case kPreviousTrack: return playerStatus.prevTrack;
        case kPlay: return playerStatus.title;  // five trailing spaces and all
        case kNextTrack: return playerStatus.nextTrack;
        default: break;
    }
    if (function >= kFirstCustomFunction && function <= kLastCustomFunction) {
        return bandSettings.CustomDescription[function - kFirstCustomFunction];
    }
    // Functions past the table have no row to name them.
    if (function < 0 || function >= kCommandTableSize) return "";
    return CommandTable[function].name;
}

void FormatPlaylistTotal(char* buffer, size_t size) {
    // times[3] is the remaining time stored negative, so the difference is the whole length;
    // taken unsigned as the player counts it.
    const uint32_t total =
        static_cast<uint32_t>(playerStatus.times[2]) - static_cast<uint32_t>(playerStatus.times[3]);
    const unsigned hours = total / 3600;
    const unsigned minutes = (total % 3600) / 60;
    const unsigned seconds = total % 60;
    if (hours != 0) {
        snprintf(buffer, size, "Total Playlist Time : %02u:%02u:%02u", hours, minutes, seconds);
    } else {
        snprintf(buffer, size, "Total Playlist Time : %02u:%02u", minutes, seconds);
    }
}
