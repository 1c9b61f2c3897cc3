// A stand-in for the media player and its band plug-in: plays a small invented playlist, keeps
// its caption at the current title, feeds the band window its records and obeys the commands
// and seek requests the band posts back, logging each one.
//
//   PlayerSimulator.exe [/play] [/quit-after seconds] [/log file]
//
// /play starts playing at once; /quit-after closes the simulator after that many seconds;
// /log appends the log lines to a file as well as writing them to standard output.

#include <windows.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "band/core/PlayerLink.h"
#include "tools/FindBand.h"
#include "tools/LineLog.h"

namespace {

constexpr char kWindowClass[] = "StrappaPlayerSimulator";
constexpr UINT_PTR kTickTimer = 1;
constexpr UINT_PTR kQuitTimer = 2;
constexpr UINT kSendTimeoutMs = 2000;

struct Track {
    const char* title;
    int32_t length;  // seconds
};

constexpr Track kPlaylist[] = {
    {"Marmalade Skyline", 187},
    {"Seven Quiet Kettles", 243},
    {"A Rather Long Title That Has To Scroll Past The Edge Of The Track Box", 312},
    {"Tin Roof Overture", 95},
    {"Lighthouse Keeper's Lullaby", 264},
};
constexpr int kTrackCount = static_cast<int>(sizeof kPlaylist / sizeof kPlaylist[0]);

const UINT taskIconNotify = RegisterWindowMessageA("MsgTaskIconNotify");
const UINT deskBandNotify = RegisterWindowMessageA("DeskBandNotify");

LineLog logger;

struct Player {
    HWND window = nullptr;
    HWND band = nullptr;
    int track = 0;
    int32_t position = 0;
    bool playing = false;
    bool minimised = false;
} player;

std::string clock(int32_t seconds) {
    char text[32];
    std::snprintf(text, sizeof text, "%d:%02d", seconds / 60, seconds % 60);
    return text;
}

int wrapTrack(int index) { return (index % kTrackCount + kTrackCount) % kTrackCount; }

std::string describeTrack(int index) {
    const Track& track = kPlaylist[wrapTrack(index)];
    return std::to_string(wrapTrack(index) + 1) + ". " + track.title + " (" + clock(track.length) +
           ")";
}

std::string currentTrack() {
    return "track " + std::to_string(player.track + 1) + " \"" + kPlaylist[player.track].title +
           "\"";
}

int32_t playlistLength() {
    int32_t total = 0;
    for (const Track& track : kPlaylist) total += track.length;
    return total;
}

int32_t playlistElapsed() {
    int32_t elapsed = player.position;
    for (int i = 0; i < player.track; ++i) elapsed += kPlaylist[i].length;
    return elapsed;
}

// One record to the band. A band that does not answer in time, or has gone, is forgotten and
// looked for again on the next tick, so that a band started later still gets the full state.
bool sendRecord(RecordKind kind, const void* data, DWORD size) {
    if (!IsBandWindow(player.band)) {
        player.band = nullptr;
        return false;
    }
    COPYDATASTRUCT record = {};
    record.dwData = static_cast<ULONG_PTR>(kind);
    record.cbData = size;
    record.lpData = const_cast<void*>(data);
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutA(player.band, WM_COPYDATA, reinterpret_cast<WPARAM>(player.window),
                             reinterpret_cast<LPARAM>(&record), SMTO_ABORTIFHUNG, kSendTimeoutMs,
                             &result)) {
        logger.line("band window %p does not answer; looking for it again",
                    static_cast<void*>(player.band));
        player.band = nullptr;
        return false;
    }
    return true;
}

bool sendText(RecordKind kind, const std::string& text) {
    return sendRecord(kind, text.c_str(), static_cast<DWORD>(text.size() + 1));
}

void sendTimes() {
    const int32_t elapsed = playlistElapsed();
    const int32_t times[4] = {player.position, kPlaylist[player.track].length, elapsed,
                              -(playlistLength() - elapsed)};
    sendRecord(RecordKind::TimesRecord, times, sizeof times);
}

// The band takes the title from the caption, so the caption changes before the record.
void sendTrack() {
    sendText(RecordKind::TitleRecord, kPlaylist[player.track].title);
    sendText(RecordKind::NextTrackRecord, "Next: " + describeTrack(player.track + 1));
    sendText(RecordKind::PrevTrackRecord, "Previous: " + describeTrack(player.track - 1));
    sendTimes();
}

void changeTrack(int index) {
    player.track = wrapTrack(index);
    player.position = 0;
    SetWindowTextA(player.window, kPlaylist[player.track].title);
    InvalidateRect(player.window, nullptr, TRUE);
    sendTrack();
}

void connectBand() {
    if (IsBandWindow(player.band)) return;
    player.band = FindBandWindow();
    if (player.band == nullptr) return;
    logger.line("band window found (%p); sending %s", static_cast<void*>(player.band),
                currentTrack().c_str());
    sendTrack();
}

void tick() {
    const bool wasConnected = IsBandWindow(player.band);
    connectBand();
    if (!player.playing) return;
    if (++player.position >= kPlaylist[player.track].length) {
        changeTrack(player.track + 1);
        logger.line("end of track -> %s", currentTrack().c_str());
        return;
    }
    InvalidateRect(player.window, nullptr, TRUE);
    if (wasConnected) sendTimes();
}

const char* clickName(LPARAM click) {
    switch (click) {
    case WM_LBUTTONDOWN: return "click";
    case WM_LBUTTONDBLCLK: return "double click";
    default: return "unexpected mouse message";
    }
}

void onCommand(WPARAM code, LPARAM click) {
    const std::string header = "command " + std::to_string(code);
    const std::string how = std::string(clickName(click)) + " " + std::to_string(click);
    auto report = [&](const char* what, const std::string& result) {
        logger.line("%s (%s, %s) -> %s", header.c_str(), what, how.c_str(), result.c_str());
    };
    switch (code) {
    case 106:
        changeTrack(player.track - 1);
        report("previous track", currentTrack());
        break;
    case 1030:
        player.playing = !player.playing;
        sendTimes();
        report("play/pause", (player.playing ? "playing " : "paused ") + currentTrack());
        break;
    case 104:
        changeTrack(player.track + 1);
        report("next track", currentTrack());
        break;
    case 110:
        player.playing = false;
        player.position = 0;
        sendTimes();
        report("stop", "stopped at the start of " + currentTrack());
        break;
    case 108:
        report("eject", "nothing to eject in the simulator");
        break;
    case 111: {
        std::string list;
        for (int i = 0; i < kTrackCount; ++i) list += (i ? ", " : "") + describeTrack(i);
        report("tracks", "playlist: " + list);
        break;
    }
    case 112:
        player.minimised = !player.minimised;
        ShowWindow(player.window, player.minimised ? SW_MINIMIZE : SW_RESTORE);
        report("minimise", player.minimised ? "minimised" : "restored");
        break;
    case 109:
        report("exit", "closing");
        PostMessageA(player.window, WM_CLOSE, 0, 0);
        break;
    default:
        if (code >= 6000 && code <= 6049) {
            report("custom", "custom command " + std::to_string(code - 6000));
        } else {
            report("unknown", "ignored");
        }
        break;
    }
    InvalidateRect(player.window, nullptr, TRUE);
}

void onSeek(LPARAM request) {
    // The band scales the pointer's place in the track box by the length, and a press right of
    // the box's end asks for more than the length: keep the position inside the track.
    const uint32_t asked = static_cast<uint32_t>(request);
    const int32_t length = kPlaylist[player.track].length;
    player.position = asked >= static_cast<uint32_t>(length) ? length - 1
                                                             : static_cast<int32_t>(asked);
    sendTimes();
    InvalidateRect(player.window, nullptr, TRUE);
    logger.line("seek %u -> %s of %s", asked, clock(player.position).c_str(),
                currentTrack().c_str());
}

void paint(HWND window) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(window, &ps);
    RECT area;
    GetClientRect(window, &area);
    InflateRect(&area, -8, -6);
    const std::string text =
        describeTrack(player.track) + "\n" + clock(player.position) + " / " +
        clock(kPlaylist[player.track].length) + "   " + (player.playing ? "playing" : "paused") +
        "\nband: " + (IsBandWindow(player.band) ? "connected" : "not found");
    SetBkMode(dc, TRANSPARENT);
    SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
    DrawTextA(dc, text.c_str(), -1, &area, DT_LEFT | DT_NOPREFIX | DT_WORDBREAK);
    EndPaint(window, &ps);
}

LRESULT CALLBACK windowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == taskIconNotify && taskIconNotify != 0) {
        onCommand(wParam, lParam);
        return 0;
    }
    if (message == deskBandNotify && deskBandNotify != 0) {
        onSeek(lParam);
        return 0;
    }
    switch (message) {
    case WM_TIMER:
        if (wParam == kTickTimer) tick();
        if (wParam == kQuitTimer) {
            logger.line("quit-after time is up");
            DestroyWindow(window);
        }
        return 0;
    case WM_PAINT:
        paint(window);
        return 0;
    case WM_DESTROY: {
        static const char closed[] = "closed";
        // A band found only now has no state of ours to show; it just learns we are gone.
        if (!IsBandWindow(player.band)) player.band = FindBandWindow();
        const bool told = sendRecord(RecordKind::ClosedRecord, closed, sizeof closed);
        logger.line("exit: %s", told ? "closed record sent" : "no band window to tell");
        PostQuitMessage(0);
        return 0;
    }
    default:
        return DefWindowProcA(window, message, wParam, lParam);
    }
}

struct Options {
    bool play = false;
    int quitAfterSeconds = 0;
    const char* logFile = nullptr;
};

bool parseSeconds(const char* text, int* seconds) {
    char* end = nullptr;
    const long value = std::strtol(text, &end, 10);
    if (end == text || *end != '\0' || value <= 0 || value > 24 * 3600) return false;
    *seconds = static_cast<int>(value);
    return true;
}

bool parseOptions(int count, char** arguments, Options* options) {
    for (int i = 1; i < count; ++i) {
        const char* option = arguments[i];
        const bool hasValue = i + 1 < count;
        if (_stricmp(option, "/play") == 0) {
            options->play = true;
        } else if (_stricmp(option, "/quit-after") == 0 && hasValue) {
            if (!parseSeconds(arguments[++i], &options->quitAfterSeconds)) {
                LineLog::error("PlayerSimulator: /quit-after needs a number of seconds");
                return false;
            }
        } else if (_stricmp(option, "/log") == 0 && hasValue) {
            options->logFile = arguments[++i];
        } else {
            LineLog::error("PlayerSimulator: unknown option %s\n"
                           "usage: PlayerSimulator.exe [/play] [/quit-after seconds] [/log file]",
                           option);
            return false;
        }
    }
    return true;
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    Options options;
    if (!parseOptions(__argc, __argv, &options)) return 2;
    logger.setPrefix("simulator[" + std::to_string(GetCurrentProcessId()) + "]: ");
    if (options.logFile && !logger.appendTo(options.logFile)) {
        LineLog::error("PlayerSimulator: cannot open the log file %s", options.logFile);
        return 2;
    }

    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = windowProcedure;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    windowClass.lpszClassName = kWindowClass;
    if (!RegisterClassA(&windowClass)) {
        LineLog::error("PlayerSimulator: cannot register the window class");
        return 1;
    }
    player.window = CreateWindowExA(0, kWindowClass, kPlaylist[0].title,
                                    WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 200, 480, 110, nullptr,
                                    nullptr, instance, nullptr);
    if (!player.window) {
        LineLog::error("PlayerSimulator: cannot create the window");
        return 1;
    }
    logger.line("started: %s", GetCommandLineA());
    player.playing = options.play;
    SetTimer(player.window, kTickTimer, 1000, nullptr);
    if (options.quitAfterSeconds > 0) {
        SetTimer(player.window, kQuitTimer, static_cast<UINT>(options.quitAfterSeconds) * 1000,
                 nullptr);
    }
    connectBand();
    if (!player.band) logger.line("no band window yet; looking again every second");
    logger.line("%s %s", player.playing ? "playing" : "paused at", currentTrack().c_str());

    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return 0;
}
