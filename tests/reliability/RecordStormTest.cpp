// A second process floods the band window with records and pointer messages. Every record is
// checked as it passes (player window adoption, terminated texts, title shape), and afterwards
// the band must still live, paint like a fresh band and follow the adoption rules.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include "band/core/DeskBand.h"
#include "band/core/PlayerStatus.h"
#include "tests/reliability/BandOnScreen.h"
#include "tests/reliability/Figures.h"
#include "tests/support/Process.h"
#include "tests/support/Registry.h"
#include "tests/support/Windows.h"

namespace {

using namespace reliability;
using testing_support::Capture;

constexpr uint32_t kStormSeed = 20240611;
constexpr long kStormRecords = 50000;
constexpr UINT_PTR kWatchId = 0x5701;

template <size_t N>
bool terminated(const char (&text)[N]) {
    return std::memchr(text, '\0', N) != nullptr;
}

bool titleWellFormed(const char (&title)[MAX_PATH]) {
    if (!terminated(title)) return false;
    const size_t length = std::strlen(title);
    return length >= kTitleGap && std::strspn(title + length - kTitleGap, " ") == kTitleGap;
}

// Sits in front of the band's window procedure and checks the band after every record.
struct RecordWatch {
    DeskBand* band = nullptr;
    long long records = 0;
    long long paints = 0;
    std::map<std::string, long long> faults;
    std::map<ULONG_PTR, long long> kinds;
    long long firstFault = -1;

    void fault(const char* what) {
        ++faults[what];
        if (firstFault < 0) firstFault = records;
    }

    void check(const COPYDATASTRUCT& record, HWND sender, HWND before, bool beforeAlive) {
        ++records;
        ++kinds[record.dwData <= 5 ? record.dwData : 6];
        HWND expected = sender;
        if (record.cbData == 0) {
            expected = before;
        } else if (record.dwData == 5) {
            expected = nullptr;
        } else if (beforeAlive) {
            expected = before;
        }
        if (band->hwndPlayer != expected) fault("player window adoption");
        if (!titleWellFormed(playerStatus.title)) fault("title not caption + gap");
        if (!terminated(playerStatus.nextTrack)) fault("next track unterminated");
        if (!terminated(playerStatus.prevTrack)) fault("previous track unterminated");
        if (!terminated(playerStatus.skinBaseDir)) fault("skin folder unterminated");
        // The closed record keeps the offset while the title shrinks to "ZAX     "; painting
        // copes with that. A title or a full times record must bring it back into the title.
        const int32_t length = static_cast<int32_t>(std::strlen(playerStatus.title));
        if (band->scrollOffset < 0 || band->scrollOffset >= MAX_PATH) fault("scroll offset");
        if (record.cbData != 0 && record.dwData == 0 && band->scrollOffset != 0) {
            fault("scroll offset after a title record");
        }
        if (record.cbData >= 4 * sizeof(int32_t) && record.dwData == 3 &&
            band->scrollOffset >= length) {
            fault("scroll offset after a times record");
        }
        if (band->timeMode < 0 || band->timeMode > 3) fault("time mode");
    }

    static LRESULT CALLBACK procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                      UINT_PTR, DWORD_PTR data) {
        auto* watch = reinterpret_cast<RecordWatch*>(data);
        if (message == WM_PAINT) ++watch->paints;
        if (message != WM_COPYDATA || !lParam) {
            return DefSubclassProc(window, message, wParam, lParam);
        }
        const COPYDATASTRUCT record = *reinterpret_cast<const COPYDATASTRUCT*>(lParam);
        HWND before = watch->band->hwndPlayer;
        const bool beforeAlive = before && IsWindow(before);
        const LRESULT result = DefSubclassProc(window, message, wParam, lParam);
        if (result != 0) watch->fault("record answered non-zero");
        watch->check(record, reinterpret_cast<HWND>(wParam), before, beforeAlive);
        return result;
    }
};

std::map<std::string, long long> readSummary(const std::string& path) {
    std::map<std::string, long long> values;
    std::ifstream file(path);
    std::string name;
    long long value = 0;
    while (file >> name >> value) values[name] = value;
    return values;
}

// Runs the storm, taking its records as they come but dispatching everything else (posted
// pointer messages, paints) only every 20 ms: a paint after each of the 50,000 records would
// turn the storm into a paint benchmark. Returns the exit code, or -1.
long runStorm(const std::string& commandLine, DWORD timeoutMilliseconds) {
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    std::vector<char> line(commandLine.begin(), commandLine.end());
    line.push_back(0);
    if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process)) {
        return -1;
    }
    CloseHandle(process.hThread);
    const DWORD start = GetTickCount();
    DWORD lastPump = start;
    long result = -1;
    for (;;) {
        const DWORD wait = MsgWaitForMultipleObjects(1, &process.hProcess, FALSE, 5, QS_SENDMESSAGE);
        if (wait == WAIT_OBJECT_0) {
            DWORD code = 0;
            GetExitCodeProcess(process.hProcess, &code);
            result = static_cast<long>(code);
            break;
        }
        MSG message;
        PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
        if (GetTickCount() - lastPump >= 20) {
            testing_support::pumpMessages(0);
            lastPump = GetTickCount();
        }
        if (GetTickCount() - start > timeoutMilliseconds) {
            TerminateProcess(process.hProcess, 1);
            break;
        }
    }
    CloseHandle(process.hProcess);
    testing_support::pumpMessages(0);
    return result;
}

size_t differingPixels(const Capture& a, const Capture& b) {
    if (a.width != b.width || a.height != b.height) return SIZE_MAX;
    size_t count = 0;
    for (size_t i = 0; i < a.pixels.size(); ++i) count += a.pixels[i] != b.pixels[i];
    return count;
}

TEST(RecordStorm, BandSurvivesFiftyThousandHostileRecordsFromAnotherProcess) {
    testing_support::VendorKeyScratch scratch;
    testing_support::createKey(kPluginKey);  // every setting at its default, eight buttons
    resetPlayerStatus();
    parkCursor();
    ShownBand band(420, 23, 100, 100);
    ASSERT_NE(nullptr, band.window());

    RecordWatch watch;
    watch.band = band.get();
    ASSERT_TRUE(SetWindowSubclass(band.window(), RecordWatch::procedure, kWatchId,
                                  reinterpret_cast<DWORD_PTR>(&watch)));

    char temp[MAX_PATH];
    GetTempPathA(sizeof temp, temp);
    const std::string summaryPath =
        std::string(temp) + "record-storm-" + std::to_string(GetCurrentProcessId()) + ".txt";
    char commandLine[512];
    std::snprintf(commandLine, sizeof commandLine, "\"%s\" %llu %u %ld \"%s\"",
                  testing_support::programPath("RecordStorm.exe").c_str(),
                  static_cast<unsigned long long>(reinterpret_cast<UINT_PTR>(band.window())),
                  kStormSeed, kStormRecords, summaryPath.c_str());
    std::printf("record storm: seed %u, %ld records\n", kStormSeed, kStormRecords);
    const DWORD start = GetTickCount();
    ASSERT_EQ(0, runStorm(commandLine, 100000)) << commandLine;
    const DWORD elapsed = GetTickCount() - start;
    RemoveWindowSubclass(band.window(), RecordWatch::procedure, kWatchId);

    std::map<std::string, long long> summary = readSummary(summaryPath);
    DeleteFileA(summaryPath.c_str());
    reportFigure("record storm seed", kStormSeed);
    reportFigure("record storm records sent", summary["sent"]);
    reportFigure("record storm records refused", summary["refused"]);
    reportFigure("record storm mouse messages posted", summary["mouse"]);
    reportFigure("record storm commands and seeks received by the player",
                 summary["commands"] + summary["seeks"]);
    reportFigure("record storm player windows replaced", summary["replaced"]);
    reportFigure("record storm records checked", watch.records);
    reportFigure("record storm unknown kinds received", watch.kinds[6]);
    reportFigure("record storm paints between records", watch.paints);
    reportFigure("record storm seconds", elapsed / 1000);
    long long faults = 0;
    for (const auto& [what, count] : watch.faults) {
        ADD_FAILURE() << what << ": " << count << " records (first at record " << watch.firstFault
                      << ", seed " << kStormSeed << ")";
        faults += count;
    }
    reportFigure("record storm faults", faults);

    EXPECT_EQ(kStormRecords, summary["sent"]);
    EXPECT_EQ(0, summary["refused"]);
    EXPECT_EQ(kStormRecords, watch.records);
    ASSERT_TRUE(IsWindow(band.window()));
    EXPECT_TRUE(terminated(playerStatus.nextTrack));
    EXPECT_TRUE(terminated(playerStatus.prevTrack));
    EXPECT_TRUE(terminated(playerStatus.skinBaseDir));
    EXPECT_TRUE(titleWellFormed(playerStatus.title));

    // Back to a known state through the protocol itself; then the stormed band must paint
    // exactly as a band that never saw the storm.
    parkCursor();
    SendMessageA(band.window(), WM_MOUSELEAVE, 0, 0);
    HWND player = band->hwndPlayer;
    band.send(5, "x", 1, player);
    band.send(4, "", 1, nullptr);
    testing_support::pumpMessages(50);
    const Capture stormed = band.paint();
    ShownBand fresh(420, 23, 100, 200);
    const Capture reference = fresh.paint();
    EXPECT_EQ(0u, differingPixels(stormed, reference));
    size_t black = 0;
    for (uint32_t pixel : reference.pixels) black += pixel == 0;
    EXPECT_GT(black, 200u) << "the reference shows buttons and box frames";

    // The adoption rules, step by step, on the same band.
    testing_support::TestWindow first(50, 20, "First player", 600, 600);
    testing_support::TestWindow second(50, 20, "Second player", 700, 600);
    EXPECT_EQ(nullptr, band->hwndPlayer) << "the closed record forgets the player";
    band.send(1, "", 0, first.handle());
    EXPECT_EQ(nullptr, band->hwndPlayer) << "an empty record introduces nobody";
    band.send(9, "z", 1, first.handle());
    EXPECT_EQ(first.handle(), band->hwndPlayer);
    band.send(1, "next", 5, second.handle());
    EXPECT_EQ(first.handle(), band->hwndPlayer) << "a living player is never replaced";
    EXPECT_STREQ("next", playerStatus.nextTrack) << "the record still applies";
    first.destroy();
    band.send(0, "t", 1, second.handle());
    EXPECT_EQ(second.handle(), band->hwndPlayer);
    EXPECT_STREQ("Second player     ", playerStatus.title);
}

}  // namespace
