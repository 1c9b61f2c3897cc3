// The time box and the track box, drawn left to right into what the button strip leaves of
// the band, and the x regions that pointer handling tests against.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>

#include "band/core/DeskBand.h"
#include "band/core/PlayerStatus.h"

namespace {

constexpr int kTimeBoxPadding = 6;  // box width beyond the measured template
constexpr int kBoxGap = 2;          // between the boxes and at the track box's right end
constexpr int kTrackTextLeft = 4;
constexpr int kTrackTextRight = 2;
constexpr int kElapsedMode = 2;
constexpr int kRemainingMode = 3;
constexpr int kTimeCounters = 4;

SIZE measureText(HDC dc, const char* text, int count) {
    RECT bounds{};
    DrawTextA(dc, text, count, &bounds, DT_CALCRECT | DT_NOPREFIX | DT_SINGLELINE);
    return {bounds.right - bounds.left, bounds.bottom - bounds.top};
}

// A box one text line (plus a pixel above and below) high, centred in the band's height.
RECT boxAt(int left, int right, int bandHeight, int textHeight) {
    const int boxHeight = textHeight + 2;
    const int top = bandHeight / 2 - boxHeight / 2;
    return {left, top, right, top + boxHeight};
}

// The box's background bitmap stretched over it, or else a black frame filled with boxBrush.
// A loaded bitmap of size 0 leaves the box undrawn.
void drawBoxBackground(HDC dc, const RECT& box, HBITMAP bitmap, const SkinSize& size,
                       const MemoryDC* source, HBRUSH boxBrush) {
    if (bitmap) {
        if (size.width && size.height && source) {
            StretchBlt(dc, box.left, box.top, box.right - box.left, box.bottom - box.top,
                       source->dc, 0, 0, size.width, size.height, SRCCOPY);
        }
        return;
    }
    SelectionGuard pen(dc, GetStockObject(BLACK_PEN));
    SelectionGuard brush(dc, boxBrush);
    Rectangle(dc, box.left, box.top, box.right, box.bottom);
}

// Fills the inside of the box from its left edge in proportion done / total, in the unsigned
// 32-bit arithmetic the player's counters are meant for; nothing unless done < total.
void drawProgressBar(HDC dc, const RECT& box, uint32_t done, uint32_t total, HBRUSH barBrush) {
    const int inside = box.right - box.left - 1;
    if (done >= total || inside <= 0) return;  // a box squeezed to nothing has no bar
    const uint32_t filled = static_cast<uint32_t>(inside) * done / total;
    RECT bar{box.left + 1, box.top + 1, box.left + 1 + static_cast<int>(filled), box.bottom - 1};
    FillRect(dc, &bar, barBrush);
}

// The title without its trailing gap: it shows only as the space between end and start
// while the title scrolls.
int visibleLength(const char* text) {
    return std::max(0, static_cast<int>(std::strlen(text)) - kTitleGap);
}

}  // namespace

void DeskBand::drawTimeBox(HDC dc, RECT& workRect, HBRUSH boxBrush, HBRUSH barBrush) {
    SetTextColor(dc, bandSettings.TextColour);
    // A stored mode outside the four counters shows the elapsed time rather than reading past
    // them.
    const int mode = timeMode >= 0 && timeMode < kTimeCounters ? timeMode : kElapsedMode;
    const int32_t time = playerStatus.times[mode];
    const uint32_t seconds = time < 0 ? 0u - static_cast<uint32_t>(time)
                                      : static_cast<uint32_t>(time);
    const int hours = static_cast<int>(seconds / 3600);
    const int minutes = static_cast<int>(seconds % 3600 / 60);
    const int secs = static_cast<int>(seconds % 60);

    char* text = displayText;
    if (mode == kRemainingMode) *text++ = '-';
    const size_t room = sizeof(displayText) - static_cast<size_t>(text - displayText);

    // Sized for zeros, so the box keeps its width while the digits change.
    if (hours) {
        std::snprintf(text, room, "%02d:%02d:%02d", 0, 0, 0);
    } else {
        std::snprintf(text, room, "%02d:%02d", 0, 0);
    }
    const SIZE textSize = measureText(dc, displayText, -1);
    const int height = workRect.bottom - workRect.top;
    const RECT box = boxAt(workRect.left, workRect.left + textSize.cx + kTimeBoxPadding, height,
                           textSize.cy);
    if (hours) {
        std::snprintf(text, room, "%2d:%02d:%02d", hours, minutes, secs);
    } else {
        std::snprintf(text, room, "%02d:%02d", minutes, secs);
    }

    drawBoxBackground(dc, box, skinBitmaps[kSkinTime], skinSizes[kSkinTime],
                      skinDCs[kSkinTime].get(), boxBrush);
    if (bandSettings.bPlaylistProgress) {
        const uint32_t elapsed = static_cast<uint32_t>(playerStatus.times[2]);
        const uint32_t total = elapsed - static_cast<uint32_t>(playerStatus.times[3]);
        drawProgressBar(dc, box, elapsed, total, barBrush);
    }

    const int textLeft = box.left + (box.right - box.left) / 2 - textSize.cx / 2;
    RECT textRect{textLeft, box.top, box.right, box.bottom};
    DrawTextA(dc, displayText, -1, &textRect, DT_NOPREFIX | DT_SINGLELINE | DT_VCENTER);

    timeLeft = textLeft;
    trackLeft = trackRight = box.right + kBoxGap;
    workRect.left = box.right + kBoxGap;
}

void DeskBand::drawTrackBox(HDC dc, RECT& workRect, HBRUSH boxBrush, HBRUSH barBrush) {
    if (!bandSettings.DisplayTime) timeLeft = trackLeft = workRect.left;
    SetTextColor(dc, bandSettings.TextColour);
    const char* title = playerStatus.title;
    const SIZE textSize = measureText(dc, title, visibleLength(title));
    const int height = workRect.bottom - workRect.top;
    const RECT box = boxAt(workRect.left, workRect.right - kBoxGap, height, textSize.cy);

    drawBoxBackground(dc, box, skinBitmaps[kSkinTrack], skinSizes[kSkinTrack],
                      skinDCs[kSkinTrack].get(), boxBrush);
    trackRight = trackLeft + (box.right - box.left);
    workRect.left += kBoxGap;
    if (bandSettings.bTrackProgress) {
        drawProgressBar(dc, box, static_cast<uint32_t>(playerStatus.times[0]),
                        static_cast<uint32_t>(playerStatus.times[1]), barBrush);
    }

    RECT textArea{box.left + kTrackTextLeft, box.top, box.right - kTrackTextRight, box.bottom};
    const int length = static_cast<int>(std::strlen(title));
    if (textSize.cx > textArea.right - textArea.left && bandSettings.Scroll) {
        if (scrollOffset >= 0 && scrollOffset < length) {
            // Rotate left by scrollOffset characters; the gap comes round between end and start.
            const int tail = length - scrollOffset;
            std::memcpy(displayText, title + scrollOffset, static_cast<size_t>(tail));
            std::memcpy(displayText + tail, title, static_cast<size_t>(scrollOffset));
            displayText[length] = '\0';
        } else {
            std::strcpy(displayText, title);
        }
    } else {
        std::strcpy(displayText, title);
        scrollOffset = 0;
    }
    DrawTextA(dc, displayText, visibleLength(displayText), &textArea,
              DT_NOPREFIX | DT_SINGLELINE | DT_VCENTER);
}
