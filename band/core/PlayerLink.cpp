// The band's side of the player link: records from the player's plug-in in, commands and
// seek requests out, and the start of the player when it is not running.
#include "band/core/PlayerLink.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "band/core/DeskBand.h"
#include "band/core/PlayerStatus.h"
#include "band/core/Win32Sizes.h"

const CommandEntry CommandTable[kCommandTableSize] = {
    {106, "Previous Track"}, {1030, "Play"}, {104, "Next Track"},
    {110, "Stop"},           {108, "Eject"}, {111, "Tracks"},
    {112, "Minimise"},       {109, "Exit"},  {6000, "Custom"},
};

std::optional<int32_t> CommandCode(int32_t function) {
    if (function >= 0 && function < kFirstCustomFunction) return CommandTable[function].code;
    if (function >= kFirstCustomFunction && function <= kLastCustomFunction) {
        return CommandTable[kFirstCustomFunction].code + (function - kFirstCustomFunction);
    }
    return std::nullopt;
}

void RunPlayerCommand() {
    if (playerCommand[0] == '\0') return;
    STARTUPINFOA startup{};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_SHOW;
    PROCESS_INFORMATION process{};
    char path[MAX_PATH];
    std::memcpy(path, playerCommand, sizeof path);
    path[MAX_PATH - 1] = '\0';
    // CreateProcess may write into its command line; the shared setting stays untouched.
    char commandLine[MAX_PATH + 2];  // room for quotes around a whole-line path
    // Unquoted, a path with spaces is tried prefix by prefix ("C:\Program.exe" before
    // "C:\Program Files\..."), so a planted file could run instead. A line that names an
    // existing file as a whole starts exactly that file; any other line runs as written.
    const char* application = nullptr;
    const DWORD attributes = GetFileAttributesA(path);
    if (attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
        application = path;
        std::snprintf(commandLine, sizeof commandLine, "\"%s\"", path);
    } else {
        std::strcpy(commandLine, path);
    }
    if (CreateProcessA(application, commandLine, nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                       &startup, &process)) {
        CloseHandle(process.hProcess);
        CloseHandle(process.hThread);
    }
}

namespace {

constexpr size_t kTextCapacity = MAX_PATH;
constexpr size_t kTimesPayload = 4 * sizeof(int32_t);

// Any process can send the band a record: read at most cbData bytes, stop at the first zero,
// and cut what does not fit the field.
template <size_t N>
void copyRecordText(char (&field)[N], const COPYDATASTRUCT& record) {
    static_assert(N == kTextCapacity, "record texts go into the status texts");
    const char* data = static_cast<const char*>(record.lpData);
    size_t limit = std::min<size_t>(record.cbData, N - 1);
    size_t length = std::find(data, data + limit, '\0') - data;
    std::memcpy(field, data, length);
    field[length] = '\0';
}

}  // namespace

void DeskBand::RefreshTitle() {
    // Leave room for the gap that separates the title's end from its start while scrolling.
    constexpr int kCaptionRoom = static_cast<int>(sizeof(playerStatus.title)) - kTitleGap;
    int length = GetWindowTextA(hwndPlayer, playerStatus.title, kCaptionRoom);
    length = std::clamp(length, 0, kCaptionRoom - 1);
    playerStatus.title[length] = '\0';
    std::strcat(playerStatus.title, "     ");
}

bool DeskBand::HasPlayerWindow() const { return hwndPlayer && IsWindow(hwndPlayer); }

void DeskBand::PostCommand(int32_t code, UINT mouseMessage) {
    // A null window would post to this thread's own queue instead of the player's.
    if (!hwndPlayer) return;
    PostMessageA(hwndPlayer, taskIconNotifyMsg, static_cast<WPARAM>(code),
                 static_cast<LPARAM>(mouseMessage));
}

void DeskBand::PostSeek(uint32_t position) {
    if (!hwndPlayer) return;
    PostMessageA(hwndPlayer, deskBandNotifyMsg, 0, static_cast<LPARAM>(position));
}

LRESULT DeskBand::OnCopyData(const COPYDATASTRUCT* record, HWND sender) {
    if (!record || record->cbData == 0 || !record->lpData) return 0;
    if (!HasPlayerWindow()) hwndPlayer = sender;

    // Without a window (a band never shown) there is nothing to repaint; a null handle
    // would invalidate every window on the desktop.
    auto repaint = [this] {
        if (hwnd) InvalidateRect(hwnd, nullptr, FALSE);
    };

    switch (static_cast<RecordKind>(record->dwData)) {
        case RecordKind::TitleRecord:
            scrollOffset = 0;
            RefreshTitle();
            repaint();
            break;
        case RecordKind::NextTrackRecord:
            copyRecordText(playerStatus.nextTrack, *record);
            break;
        case RecordKind::PrevTrackRecord: {
            copyRecordText(playerStatus.prevTrack, *record);
            HWND control = tooltipWindow();
            if (!control || hoverIndex < 0 ||
                static_cast<size_t>(hoverIndex) >= bandSettings.buttons.size()) {
                break;
            }
            const char* text = nullptr;
            switch (bandSettings.buttons[hoverIndex].function) {
                case 0: text = playerStatus.prevTrack; break;
                case 1: text = playerStatus.title; break;
                case 2: text = playerStatus.nextTrack; break;
                default: break;
            }
            if (!text) break;
            TTTOOLINFOA tool{};
            tool.cbSize = kToolInfoSize;
            tool.hwnd = hwnd;
            tool.uId = 0;
            tool.hinst = moduleInstance;
            tool.lpszText = const_cast<char*>(text);
            SendMessageA(control, TTM_UPDATETIPTEXTA, 0, reinterpret_cast<LPARAM>(&tool));
            break;
        }
        case RecordKind::TimesRecord: {
            if (record->cbData < kTimesPayload) break;  // not four counters: ignored
            RefreshTitle();
            std::memcpy(playerStatus.times, record->lpData, kTimesPayload);
            repaint();
            int32_t length = static_cast<int32_t>(std::strlen(playerStatus.title));
            scrollOffset = length > 0 ? (scrollOffset + 1) % length : 0;
            break;
        }
        case RecordKind::ReloadRecord:
            copyRecordText(playerStatus.skinBaseDir, *record);
            ReleaseSkinResources();
            LoadSettings(bandSettings);
            repaint();
            break;
        case RecordKind::ClosedRecord:
            std::fill(std::begin(playerStatus.times), std::end(playerStatus.times), 0);
            std::strcpy(playerStatus.title, kIdleTitle);
            repaint();
            hwndPlayer = nullptr;
            break;
        default:
            break;  // unknown kinds only introduce the sender
    }
    return 0;
}
