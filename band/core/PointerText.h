// Texts of the band's tooltip.
#pragma once

#include <cstddef>
#include <cstdint>

// Tooltip text of a button function; an empty text for functions without one.
const char* ToolText(int32_t function);

// "Total Playlist Time : hh:mm:ss" (or mm:ss) from the playlist counters of the player status.
void FormatPlaylistTotal(char* buffer, size_t size);
