// Hover feedback, the band's one tooltip tool, and what a press on the band does.

#include "band/core/DeskBand.h"
#include "band/core/PlayerLink.h"
#include "band/core/PlayerStatus.h"
#include "band/core/PointerText.h"
#include "band/core/Win32Sizes.h"

namespace {

constexpr int kMaxTipWidth = 300;  // wider tips wrap
constexpr UINT_PTR kToolId = 0;    // the band's only tool

// Pixels between the time box and the track box: they count as the time box for hovering
// only, so a press there neither switches the time nor seeks.
constexpr int32_t kBoxGap = 2;

enum Function : int32_t { kPlay = 1, kTracks = 5, kMinimise = 6 };

// The band's tool, identified by window and id; the announced size is the 32-bit one.
TTTOOLINFOA bandTool(HWND band) {
    TTTOOLINFOA tool{};
    tool.cbSize = kToolInfoSize;
    tool.hwnd = band;
    tool.uId = kToolId;
    return tool;
}

bool startsPlayer(int32_t function) {
    return function == kPlay || function == kTracks || function == kMinimise ||
           (function >= kFirstCustomFunction && function <= kLastCustomFunction);
}

const ButtonDef* buttonAt(int32_t position) {
    if (position < 0 || static_cast<size_t>(position) >= bandSettings.buttons.size()) {
        return nullptr;  // regions can outlive a reload that shortened the list
    }
    return &bandSettings.buttons[static_cast<size_t>(position)];
}

}  // namespace

int32_t DeskBand::HitTest(int32_t x, int32_t y) {
    if (x < 0 && y < 0) return kHoverNothing;  // the pointer has left
    if (buttonsLeft <= x && x < buttonsRight) {
        if (hoverIndex < 0) {
            // Entering the strip: ask for the leave so the frame and tool go with the pointer.
            TRACKMOUSEEVENT track{};
            track.cbSize = sizeof(track);
            track.dwFlags = TME_LEAVE;
            track.hwndTrack = hwnd;
            track.dwHoverTime = 0;
            TrackMouseEvent(&track);
        }
        return (x - buttonsLeft) / kButtonCell;
    }
    if (timeLeft <= x && x < trackLeft) return kHoverTimeBox;
    return kHoverNothing;
}

void DeskBand::AddTool(const char* text) {
    HWND control = tooltipWindow();
    if (!control) return;
    TTTOOLINFOA tool = bandTool(hwnd);
    tool.uFlags = TTF_SUBCLASS;  // the control watches the band's mouse messages itself
    GetClientRect(hwnd, &tool.rect);
    tool.hinst = moduleInstance;
    tool.lpszText = const_cast<char*>(text);  // the control keeps its own copy
    SendMessageA(control, TTM_SETMAXTIPWIDTH, 0, kMaxTipWidth);
    SendMessageA(control, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
}

LRESULT DeskBand::OnMouseMove(int32_t x, int32_t y) {
    const int32_t hit = HitTest(x, y);
    if (hit == hoverIndex) return 0;  // moves are frequent: nothing to do within one element

    if (HWND control = tooltipWindow()) {
        TTTOOLINFOA tool = bandTool(hwnd);
        SendMessageA(control, TTM_DELTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
    }
    hoverIndex = hit;
    if (hit >= 0) {
        if (const ButtonDef* button = buttonAt(hit)) AddTool(ToolText(button->function));
    } else if (hit == kHoverTimeBox) {
        FormatPlaylistTotal(displayText, sizeof(displayText));
        AddTool(displayText);
    }
    InvalidateRect(hwnd, nullptr, FALSE);
    return 0;
}

LRESULT DeskBand::OnMouseButton(UINT message) {
    if (message == WM_LBUTTONUP) {
        // A release never acts; it only lifts the pushed-in button.
        if (hoverIndex >= 0) {
            pressed = false;
            InvalidateRect(hwnd, nullptr, FALSE);
        }
        return 0;
    }
    if (message != WM_LBUTTONDOWN) return 0;

    if (hoverIndex >= 0) {
        pressed = true;
        InvalidateRect(hwnd, nullptr, FALSE);
    }
    // The player distinguishes single- and double-click mode by the message it is told of;
    // the band itself acts on every press either way.
    const UINT reported = bandSettings.ClickMode != 0 ? WM_LBUTTONDBLCLK : WM_LBUTTONDOWN;

    POINT cursor{};
    GetCursorPos(&cursor);
    ScreenToClient(hwnd, &cursor);
    const int32_t x = cursor.x;
    const bool inStrip = buttonsLeft <= x && x < buttonsRight;
    const ButtonDef* button = inStrip ? buttonAt((x - buttonsLeft) / kButtonCell) : nullptr;

    if (!HasPlayerWindow()) {
        // Without a player only the buttons that bring it up react; the boxes have nothing
        // to act on.
        if (button && startsPlayer(button->function) && playerCommand[0] != '\0') {
            RunPlayerCommand();
        }
        return 0;
    }

    if (bandSettings.bDeskBandIcons && inStrip) {
        if (button) {
            if (std::optional<int32_t> code = CommandCode(button->function)) {
                PostCommand(*code, reported);
            }
        }
        return 0;
    }
    if (timeLeft <= x && x < trackLeft - kBoxGap) {
        // Not stored: the next settings load brings the configured mode back.
        timeMode = timeMode == 3 ? 2 : 3;
        InvalidateRect(hwnd, nullptr, FALSE);
        return 0;
    }
    if (x >= trackLeft) {
        // No track box width (hidden, or never painted): there is nothing to seek in.
        if (trackRight <= trackLeft) return 0;
        const uint32_t offset = static_cast<uint32_t>(x - trackLeft);
        const uint32_t width = static_cast<uint32_t>(trackRight - trackLeft);
        const uint32_t length = static_cast<uint32_t>(playerStatus.times[1]);
        // The product may pass 32 bits for long tracks on a wide box; the quotient fits.
        PostSeek(static_cast<uint32_t>(uint64_t{offset} * length / width));
    }
    return 0;
}
