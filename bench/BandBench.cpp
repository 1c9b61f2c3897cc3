// Measures what the band costs its host, each figure as a median over many repetitions next to
// a baseline measured in the same run, and writes the table as Markdown.
//
// Usage: BandBench [/out FILE] [/reps N] [/dll64 PATH] [/dll32 PATH] [/runs N]
//   /reps   repetitions of the paint, record and mouse-move measurements (default 1000);
//           creating bands uses a fifth of them
//   /runs   runs of Sendrel and of the empty program (default 9)
//   /dll64, /dll32  DLL files whose sizes the table reports
// The band is created through COM: Strappa.dll must be registered, and the settings key should
// exist without values so that every setting has its default.
#include <windows.h>
#include <commctrl.h>
#include <objbase.h>
#include <shlobj.h>
#include <shobjidl.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "bench/BareWindows.h"
#include "bench/MessageCounter.h"
#include "bench/Results.h"
#include "bench/Timing.h"
#include "tools/BandSite.h"

namespace {

const CLSID kBandClsid = {0x85E0B170, 0x04FA, 0x11D1,
                          {0xB7, 0xDA, 0x00, 0xA0, 0xC9, 0x03, 0x48, 0xD6}};
constexpr char kBandWindowClass[] = "ZAXDeskBandClass";

// The taskbar strip: the band's largest size.
constexpr int kBandWidth = 500;
constexpr int kBandHeight = 30;

// Far wider than the track box, so the title scrolls.
constexpr char kPlayerCaption[] =
    "The Quiet Orchestra of Distant Lighthouses - Variations on a Theme for Sleepless Sailors "
    "(Extended Harbour Mix, Remastered)";
constexpr char kPlayerClass[] = "StrappaBenchPlayer";
constexpr char kTargetClass[] = "StrappaBenchTarget";
constexpr char kShortcutKey[] = "Software\\Vantorel\\Sendrel\\Shortcuts\\StrappaBench";
constexpr UINT kShortcutMessage = WM_APP + 7;
constexpr ULONG_PTR kTimesRecord = 3;
constexpr int kMovesPerSample = 100;  // a single move is too short for the counter's resolution

struct Options {
    std::string out;
    std::string dll64;
    std::string dll32;
    int repetitions = 1000;
    int runs = 9;
};

bool parseOptions(int argc, char** argv, Options* options) {
    for (int i = 1; i < argc; i += 2) {
        if (i + 1 >= argc) return false;
        const std::string name = argv[i];
        const char* value = argv[i + 1];
        if (name == "/out") {
            options->out = value;
        } else if (name == "/dll64") {
            options->dll64 = value;
        } else if (name == "/dll32") {
            options->dll32 = value;
        } else if (name == "/reps") {
            options->repetitions = std::atoi(value);
        } else if (name == "/runs") {
            options->runs = std::atoi(value);
        } else {
            return false;
        }
    }
    return options->repetitions > 0 && options->runs > 0;
}

// The band as the shell holds it: created through COM, sited in a host window, shown.
class HostedBand {
public:
    static constexpr int kStages = 4;  // CoCreateInstance, SetSite, ShowDW, first paint

    // stageEnds, when given, receives the counter's time at the end of each stage.
    HRESULT create(HWND host, double* stageEnds = nullptr) {
        auto stageDone = [&](int stage) {
            if (stageEnds) stageEnds[stage] = microsecondsNow();
        };
        HRESULT result = CoCreateInstance(kBandClsid, nullptr, CLSCTX_INPROC_SERVER,
                                          IID_IDeskBand, reinterpret_cast<void**>(&band_));
        if (FAILED(result)) return result;
        stageDone(0);
        site_ = new BandSite(host);
        IObjectWithSite* withSite = nullptr;
        result = band_->QueryInterface(IID_IObjectWithSite, reinterpret_cast<void**>(&withSite));
        if (SUCCEEDED(result)) {
            result = withSite->SetSite(static_cast<IOleWindow*>(site_));
            withSite->Release();
        }
        if (FAILED(result)) return result;
        stageDone(1);
        band_->ShowDW(TRUE);
        stageDone(2);
        band_->GetWindow(&window_);
        UpdateWindow(window_);
        stageDone(3);
        return window_ ? S_OK : E_FAIL;
    }

    void drop() {
        if (band_) {
            band_->CloseDW(0);
            IObjectWithSite* withSite = nullptr;
            if (SUCCEEDED(band_->QueryInterface(IID_IObjectWithSite,
                                                reinterpret_cast<void**>(&withSite)))) {
                withSite->SetSite(nullptr);
                withSite->Release();
            }
            band_->Release();
            band_ = nullptr;
        }
        if (site_) {
            site_->Release();
            site_ = nullptr;
        }
        window_ = nullptr;
    }

    ~HostedBand() { drop(); }

    IDeskBand* band() const { return band_; }
    HWND window() const { return window_; }

private:
    IDeskBand* band_ = nullptr;
    BandSite* site_ = nullptr;
    HWND window_ = nullptr;
};

// The band's tooltip control: a popup made with the band window as parent is owned by the
// band window's top-level ancestor, the host.
HWND findTooltip(HWND band) {
    struct Search {
        HWND owner;
        HWND found;
    } search{GetAncestor(band, GA_ROOT), nullptr};
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND window, LPARAM context) -> BOOL {
            auto* search = reinterpret_cast<Search*>(context);
            char className[64] = {};
            GetClassNameA(window, className, sizeof className);
            if (lstrcmpiA(className, TOOLTIPS_CLASSA) == 0 &&
                GetWindow(window, GW_OWNER) == search->owner) {
                search->found = window;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

void sendTimes(HWND band, HWND player, const int32_t (&times)[4]) {
    COPYDATASTRUCT record{kTimesRecord, sizeof times, const_cast<int32_t*>(times)};
    SendMessageA(band, WM_COPYDATA, reinterpret_cast<WPARAM>(player),
                 reinterpret_cast<LPARAM>(&record));
}

// An image list like the band's: the built-in strip of the loaded DLL, masked, 32-bit.
HIMAGELIST builtInImageList() {
    HMODULE dll = GetModuleHandleA("Strappa.dll");
    HBITMAP strip = dll ? LoadBitmapA(dll, MAKEINTRESOURCEA(101)) : nullptr;
    if (!strip) return nullptr;
    HIMAGELIST images = ImageList_Create(16, 16, ILC_COLOR32 | ILC_MASK, 0, 100);
    if (images) {
        ImageList_SetBkColor(images, CLR_NONE);
        ImageList_AddMasked(images, strip, RGB(0, 128, 128));
    }
    DeleteObject(strip);
    return images;
}

void repaint(HWND window) {
    InvalidateRect(window, nullptr, FALSE);
    UpdateWindow(window);
}

// The window's pixels as painted, read back through a 32-bit DIB section.
std::vector<uint32_t> capture(HWND window) {
    RECT client;
    GetClientRect(window, &client);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = client.right;
    info.bmiHeader.biHeight = -client.bottom;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HDC windowDC = GetDC(window);
    HBITMAP section = CreateDIBSection(windowDC, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HDC memory = CreateCompatibleDC(windowDC);
    HGDIOBJ previous = SelectObject(memory, section);
    BitBlt(memory, 0, 0, client.right, client.bottom, windowDC, 0, 0, SRCCOPY);
    GdiFlush();
    std::vector<uint32_t> pixels;
    if (bits) {
        const auto* first = static_cast<const uint32_t*>(bits);
        pixels.assign(first, first + static_cast<size_t>(client.right) * client.bottom);
    }
    SelectObject(memory, previous);
    DeleteDC(memory);
    DeleteObject(section);
    ReleaseDC(window, windowDC);
    return pixels;
}

void pumpPending() {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
}

HWND createHiddenWindow(HINSTANCE instance, const char* className, const char* caption) {
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = DefWindowProcA;
    windowClass.hInstance = instance;
    windowClass.lpszClassName = className;
    RegisterClassA(&windowClass);
    return CreateWindowExA(0, className, caption, WS_OVERLAPPED, 0, 0, 100, 100, nullptr,
                           nullptr, instance, nullptr);
}

std::string programFolder() {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string folder = path;
    return folder.substr(0, folder.find_last_of("\\/") + 1);
}

// Starts a program and waits for its end; the wall time in microseconds, or -1 when it did
// not start.
double runProgram(const std::string& commandLine) {
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    std::vector<char> line(commandLine.begin(), commandLine.end());
    line.push_back('\0');
    const double start = microsecondsNow();
    if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process)) {
        return -1.0;
    }
    WaitForSingleObject(process.hProcess, 60000);
    const double elapsed = microsecondsNow() - start;
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return elapsed;
}

bool writeShortcut() {
    HKEY key = nullptr;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, kShortcutKey, 0, nullptr, 0, KEY_WRITE, nullptr, &key,
                        nullptr) != ERROR_SUCCESS) {
        return false;
    }
    const DWORD message = kShortcutMessage;
    bool written =
        RegSetValueExA(key, "Class", 0, REG_SZ, reinterpret_cast<const BYTE*>(kTargetClass),
                       sizeof kTargetClass) == ERROR_SUCCESS &&
        RegSetValueExA(key, "Message", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&message),
                       sizeof message) == ERROR_SUCCESS;
    RegCloseKey(key);
    return written;
}

int drainShortcutMessages(HWND target) {
    int received = 0;
    MSG message;
    while (PeekMessageA(&message, target, kShortcutMessage, kShortcutMessage, PM_REMOVE)) {
        ++received;
    }
    return received;
}

long long fileSize(const std::string& path) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (path.empty() || !GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) {
        return -1;
    }
    return (static_cast<long long>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

const char* wineVersion() {
    using VersionFunction = const char*(CDECL*)();
    HMODULE ntdll = GetModuleHandleA("ntdll.dll");
    auto version = ntdll ? reinterpret_cast<VersionFunction>(
                               reinterpret_cast<void*>(GetProcAddress(ntdll, "wine_get_version")))
                         : nullptr;
    return version ? version() : nullptr;
}

int fail(const char* what, HRESULT result) {
    std::fprintf(stderr, "BandBench: %s (0x%08lX)\n", what, static_cast<unsigned long>(result));
    return 1;
}

int runBenchmarks(HINSTANCE instance, const Options& options) {
    Results results;
    bare::registerClasses(instance);
    bare::paintText = kPlayerCaption;

    HWND player = createHiddenWindow(instance, kPlayerClass, kPlayerCaption);
    HWND bandHost = bare::createHost(instance, "Strappa band", 0, 0, kBandWidth, kBandHeight);
    HWND bareHost = bare::createHost(instance, "bare window", 0, 100, kBandWidth, kBandHeight);
    HWND bareDefaultHost =
        bare::createHost(instance, "bare default", 0, 200, kBandWidth, kBandHeight);
    if (!player || !bandHost || !bareHost || !bareDefaultHost) {
        return fail("the windows could not be created", HRESULT_FROM_WIN32(GetLastError()));
    }
    HWND barePaint = bare::createChild(instance, bare::kPaintClass, bareHost);
    HWND bareDefault = bare::createChild(instance, bare::kDefaultClass, bareDefaultHost);
    HWND bareToolHost = bare::createHost(instance, "bare tool", 0, 500, kBandWidth, kBandHeight);
    HWND bareTool = bare::createChild(instance, bare::kDefaultClass, bareToolHost);
    HWND bareTooltip = bare::addSubclassingTool(instance, bareTool, "Play");

    HostedBand hosted;
    HRESULT created = hosted.create(bandHost);
    if (FAILED(created)) {
        return fail("no band through COM; register Strappa.dll with regsvr32 first", created);
    }
    fitBandWindow(hosted.band(), bandHost);
    const HWND band = hosted.window();
    const HWND tooltip = findTooltip(band);
    UpdateWindow(band);
    UpdateWindow(barePaint);
    pumpPending();

    // The player has sent a few updates: the title is in and scrolling.
    int32_t times[4] = {75, 240, 1000, -2600};
    for (int i = 0; i < 3; ++i) sendTimes(band, player, times);
    UpdateWindow(band);
    const std::vector<uint32_t> before = capture(band);
    sendTimes(band, player, times);  // same counters: only the scroll moves
    UpdateWindow(band);
    results.note(std::string("Title scrolls between two identical time records: ") +
                 (capture(band) != before ? "yes" : "NO"));

    const int reps = options.repetitions;
    char label[256];

    // 1. Full paint against the bare double-buffered paint.
    PairedMedians paint = measurePair(
        reps, [&] { return timeMicroseconds([&] { repaint(band); }); },
        [&] { return timeMicroseconds([&] { repaint(barePaint); }); });
    std::snprintf(label, sizeof label,
                  "Full band paint (%d×%d, 8 buttons, scrolling title)", kBandWidth,
                  kBandHeight);
    results.add(label, paint, "bare double-buffered paint, same size", 2.0);

    // The floor under the band's paint: the bare paint plus the eight ImageList_Draw calls of
    // the strip, from a list made as the band makes its own.
    HWND stripHost = bare::createHost(instance, "bare strip", 0, 600, kBandWidth, kBandHeight);
    bare::stripImages = builtInImageList();
    HWND stripPaint = bare::createChild(instance, bare::kStripPaintClass, stripHost);
    UpdateWindow(stripPaint);
    if (bare::stripImages) {
        PairedMedians floor = measurePair(
            reps, [&] { return timeMicroseconds([&] { repaint(band); }); },
            [&] { return timeMicroseconds([&] { repaint(stripPaint); }); });
        results.add("Full band paint, against the floor its strip sets", floor,
                    "bare paint + 8 × ImageList_Draw of the same list", 0.0);
        PairedMedians strip = measurePair(
            reps, [&] { return timeMicroseconds([&] { repaint(stripPaint); }); },
            [&] { return timeMicroseconds([&] { repaint(barePaint); }); });
        results.add("Bare paint + 8 × ImageList_Draw (the floor)", strip,
                    "bare double-buffered paint", 0.0);
    } else {
        results.note("The built-in strip could not be loaded from Strappa.dll: no floor figure");
    }

    // 2. A time record from another window of this process, with the repaint it causes.
    PairedMedians record = measurePair(
        reps,
        [&] {
            return timeMicroseconds([&] {
                ++times[0];
                ++times[2];
                --times[3];
                sendTimes(band, player, times);
                UpdateWindow(band);
            });
        },
        [&] { return timeMicroseconds([&] { repaint(band); }); });
    results.add("TimesRecord by SendMessage (same process) + its repaint", record,
                "band paint alone", 1.2);

    // 3. Mouse moves that stay on the hovered button (button 1, cells 18..35).
    const int y = kBandHeight / 2;
    SendMessageA(band, WM_MOUSEMOVE, 0, MAKELPARAM(27, y));
    UpdateWindow(band);
    pumpPending();
    int step = 0;
    auto moveWithin = [&](auto&& send) {
        return timeMicroseconds([&] {
                   for (int i = 0; i < kMovesPerSample; ++i) {
                       send(MAKELPARAM(19 + (step++ % 16), y));
                   }
               }) /
               kMovesPerSample;
    };
    const auto bandProcedure =
        reinterpret_cast<WNDPROC>(GetClassLongPtrA(band, GCLP_WNDPROC));
    PairedMedians ownHandler = measurePair(
        reps,
        [&] { return moveWithin([&](LPARAM at) { bandProcedure(band, WM_MOUSEMOVE, 0, at); }); },
        [&] {
            return moveWithin([&](LPARAM at) { DefWindowProcA(bareDefault, WM_MOUSEMOVE, 0, at); });
        });
    results.add("Mouse move within the hovered button: band window procedure", ownHandler,
                "DefWindowProcA, bare window", 1.1);
    PairedMedians throughWindow = measurePair(
        reps,
        [&] { return moveWithin([&](LPARAM at) { SendMessageA(band, WM_MOUSEMOVE, 0, at); }); },
        [&] {
            return moveWithin([&](LPARAM at) { SendMessageA(bareDefault, WM_MOUSEMOVE, 0, at); });
        });
    results.add("Mouse move within the hovered button: SendMessage, incl. the tooltip's "
                "subclass relay",
                throughWindow, "SendMessage to a DefWindowProcA window", 1.1);
    // The relay is the tooltip control's own work; a bare window with the same tool shows it.
    SendMessageA(bareTool, WM_MOUSEMOVE, 0, MAKELPARAM(27, y));
    PairedMedians withTool = measurePair(
        reps,
        [&] { return moveWithin([&](LPARAM at) { SendMessageA(band, WM_MOUSEMOVE, 0, at); }); },
        [&] {
            return moveWithin([&](LPARAM at) { SendMessageA(bareTool, WM_MOUSEMOVE, 0, at); });
        });
    results.add("Mouse move within the hovered button: SendMessage", withTool,
                "SendMessage to a DefWindowProcA window with the same subclassing tool", 1.1);

    {
        MessageCounter counter(band, tooltip);
        const int moves = 1000;
        for (int i = 0; i < moves; ++i) SendMessageA(band, WM_MOUSEMOVE, 0, MAKELPARAM(19 + i % 16, y));
        const BOOL invalid = GetUpdateRect(band, nullptr, FALSE);
        UpdateWindow(band);
        const MessageCounts within = counter.counts();
        std::snprintf(label, sizeof label,
                      "%d moves within the hovered button: %d band messages to the tooltip, "
                      "%d TTM_RELAYEVENT messages from the control's own subclass, %d repaints "
                      "(update region %s)%s",
                      moves, within.otherToTooltip, within.relayedToTooltip, within.bandPaints,
                      invalid ? "set" : "empty", counter.active() ? "" : " [hook failed]");
        results.note(label);
    }
    {
        // Control: a change of the hovered button is seen by the same counter.
        MessageCounter counter(band, tooltip);
        SendMessageA(band, WM_MOUSEMOVE, 0, MAKELPARAM(45, y));
        UpdateWindow(band);
        const MessageCounts change = counter.counts();
        std::snprintf(label, sizeof label,
                      "Control, one move to the next button: %d band messages to the tooltip, "
                      "%d repaints",
                      change.otherToTooltip, change.bandPaints);
        results.note(label);
    }
    SendMessageA(band, WM_MOUSEMOVE, 0, MAKELPARAM(0xFFFF, 0xFFFF));  // off the strip
    UpdateWindow(band);

    // 4. A new band through COM up to its first paint, against a bare child and its paint.
    HWND createHost = bare::createHost(instance, "creation", 0, 300, kBandWidth, kBandHeight);
    HWND bareCreateHost = bare::createHost(instance, "bare creation", 0, 400, kBandWidth,
                                           kBandHeight);
    pumpPending();
    HostedBand fresh;
    HWND bareChild = nullptr;
    bool allCreated = true;
    std::vector<double> stageSamples[HostedBand::kStages];
    PairedMedians creation = measurePair(
        std::max(1, reps / 5),
        [&] {
            double stageEnds[HostedBand::kStages] = {};
            const double start = microsecondsNow();
            if (FAILED(fresh.create(createHost, stageEnds))) allCreated = false;
            const double elapsed = stageEnds[HostedBand::kStages - 1] - start;
            double previous = start;
            for (int stage = 0; stage < HostedBand::kStages; ++stage) {
                stageSamples[stage].push_back(stageEnds[stage] - previous);
                previous = stageEnds[stage];
            }
            fresh.drop();
            return elapsed;
        },
        [&] {
            double elapsed = timeMicroseconds([&] {
                bareChild = bare::createChild(instance, bare::kPaintClass, bareCreateHost);
                UpdateWindow(bareChild);
            });
            DestroyWindow(bareChild);
            return elapsed;
        });
    results.add("New band: CoCreateInstance, SetSite, ShowDW, first paint", creation,
                "CreateWindowExA of a bare child + its paint", 0.0);
    if (!allCreated) results.note("Some band creations FAILED");
    std::snprintf(label, sizeof label,
                  "New band, median per stage: CoCreateInstance (with the settings load) %.0f µs, "
                  "SetSite (band window and tooltip control) %.0f µs, ShowDW %.0f µs, first "
                  "paint (image list, font) %.0f µs",
                  median(stageSamples[0]), median(stageSamples[1]), median(stageSamples[2]),
                  median(stageSamples[3]));
    results.note(label);
    pumpPending();

    // 5. Sizes, and Sendrel against its sleeps plus the start of an empty program.
    results.size("Strappa.dll x86_64", fileSize(options.dll64));
    results.size("Strappa.dll i686", fileSize(options.dll32));

    HWND target = createHiddenWindow(instance, kTargetClass, "Sendrel target");
    const std::string folder = programFolder();
    const std::string sendrel = "\"" + folder + "Sendrel.exe\" /s StrappaBench /c 10";
    const std::string empty = "\"" + folder + "EmptyProgram.exe\"";
    if (!target || !writeShortcut()) {
        results.note("Sendrel: the target window or the shortcut could not be made");
    } else {
        std::vector<double> sendrelTimes;
        std::vector<double> emptyTimes;
        int fewest = 1 << 30;
        int most = 0;
        runProgram(empty);  // the first start pays for loading what later starts share
        drainShortcutMessages(target);
        for (int i = 0; i < options.runs; ++i) {
            sendrelTimes.push_back(runProgram(sendrel));
            const int received = drainShortcutMessages(target);
            fewest = std::min(fewest, received);
            most = std::max(most, received);
            emptyTimes.push_back(runProgram(empty));
        }
        results.sendrel(median(sendrelTimes), median(emptyTimes), 10 * 35.0 * 1000.0,
                        options.runs, fewest, most);
    }

    std::snprintf(label, sizeof label,
                  "%d repetitions per figure (%d moves each for the mouse moves, %d creations); "
                  "operation and baseline alternate.",
                  reps, kMovesPerSample, std::max(1, reps / 5));
    results.note(label);
    if (const char* version = wineVersion()) {
        results.note(std::string("Measured under Wine ") + version + ", on Xvfb.");
    }

    hosted.drop();
    DestroyWindow(createHost);
    DestroyWindow(bareCreateHost);
    DestroyWindow(bandHost);
    DestroyWindow(bareHost);
    DestroyWindow(bareDefaultHost);
    DestroyWindow(bareTooltip);
    DestroyWindow(bareToolHost);
    DestroyWindow(stripHost);
    if (bare::stripImages) ImageList_Destroy(bare::stripImages);
    DestroyWindow(player);
    if (target) DestroyWindow(target);

    const std::string table = results.markdown();
    std::fputs(table.c_str(), stdout);
    if (!options.out.empty()) {
        FILE* file = std::fopen(options.out.c_str(), "w");
        if (!file) return fail("the results file could not be written", E_FAIL);
        std::fputs(table.c_str(), file);
        std::fclose(file);
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    Options options;
    if (!parseOptions(argc, argv, &options)) {
        std::fprintf(stderr,
                     "usage: BandBench [/out FILE] [/reps N] [/runs N] [/dll64 PATH] "
                     "[/dll32 PATH]\n");
        return 2;
    }
    HRESULT result = CoInitialize(nullptr);
    if (FAILED(result)) return fail("COM could not be initialised", result);
    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_WIN95_CLASSES};
    InitCommonControlsEx(&controls);
    const int exitCode = runBenchmarks(GetModuleHandleA(nullptr), options);
    CoFreeUnusedLibraries();
    CoUninitialize();
    return exitCode;
}
