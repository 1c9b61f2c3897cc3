#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "band/core/PlayerLink.h"
#include "tests/core/BandOnParent.h"
#include "tests/support/Process.h"

namespace {

using testing_support::TestWindow;

struct Posted {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};

class PlayerLink : public BandOnParent {
protected:
    PlayerLink() : player(200, 50, "abc") {
        EXPECT_TRUE(band->CreateBandWindow());
        player.onMessage = [this](UINT message, WPARAM wParam, LPARAM lParam) {
            if (message != taskIconNotifyMsg && message != deskBandNotifyMsg) return false;
            posted.push_back({message, wParam, lParam});
            return true;
        };
    }

    LRESULT send(ULONG_PTR kind, const void* data, DWORD size, HWND sender) {
        COPYDATASTRUCT record{kind, size, const_cast<void*>(data)};
        return SendMessageA(band->hwnd, WM_COPYDATA, reinterpret_cast<WPARAM>(sender),
                            reinterpret_cast<LPARAM>(&record));
    }
    LRESULT sendText(ULONG_PTR kind, const std::string& text, HWND sender) {
        return send(kind, text.c_str(), static_cast<DWORD>(text.size() + 1), sender);
    }
    LRESULT sendTimes(int32_t a, int32_t b, int32_t c, int32_t d, HWND sender) {
        int32_t times[4] = {a, b, c, d};
        return send(3, times, sizeof times, sender);
    }

    TestWindow player;
    std::vector<Posted> posted;
};

TEST_F(PlayerLink, SenderIsAdoptedOnlyWhileNoPlayerWindowLives) {
    TestWindow other(100, 50, "other");
    std::strcpy(playerStatus.nextTrack, "kept");

    // A record without data is ignored whole, adoption included.
    EXPECT_EQ(0, send(1, "x", 0, player.handle()));
    EXPECT_EQ(nullptr, band->hwndPlayer);
    EXPECT_STREQ("kept", playerStatus.nextTrack);

    // Any kind of record introduces its sender, even one the band does not know.
    EXPECT_EQ(0, send(9, "x", 1, player.handle()));
    EXPECT_EQ(player.handle(), band->hwndPlayer);
    EXPECT_TRUE(band->HasPlayerWindow());

    // Another sender's record is applied, but the living player stays.
    EXPECT_EQ(0, sendText(1, "from other", other.handle()));
    EXPECT_STREQ("from other", playerStatus.nextTrack);
    EXPECT_EQ(player.handle(), band->hwndPlayer);

    player.destroy();
    EXPECT_FALSE(band->HasPlayerWindow());
    sendText(1, "next", other.handle());
    EXPECT_EQ(other.handle(), band->hwndPlayer);
}

TEST_F(PlayerLink, TrackTextsAreStored) {
    sendText(1, "Next song", player.handle());
    sendText(2, "Previous song", player.handle());
    EXPECT_STREQ("Next song", playerStatus.nextTrack);
    EXPECT_STREQ("Previous song", playerStatus.prevTrack);
    EXPECT_STREQ(kIdleTitle, playerStatus.title);  // texts never touch the title
}

TEST_F(PlayerLink, TimesTakeTheCaptionAndAdvanceTheScroll) {
    band->scrollOffset = 7;
    sendTimes(10, 240, 3000, -725, player.handle());
    EXPECT_STREQ("abc     ", playerStatus.title);
    EXPECT_EQ(10, playerStatus.times[0]);
    EXPECT_EQ(240, playerStatus.times[1]);
    EXPECT_EQ(3000, playerStatus.times[2]);
    EXPECT_EQ(-725, playerStatus.times[3]);
    EXPECT_EQ(0, band->scrollOffset);
    band->scrollOffset = 3;
    sendTimes(11, 240, 3001, -724, player.handle());
    EXPECT_EQ(4, band->scrollOffset);

    sendText(0, "ignored", player.handle());
    EXPECT_EQ(0, band->scrollOffset);

    // An empty caption is a title of five spaces, and the offset counts modulo 5.
    SetWindowTextA(player.handle(), "");
    sendText(0, "", player.handle());
    EXPECT_STREQ("     ", playerStatus.title);
    std::vector<int32_t> offsets;
    for (int i = 0; i < 6; ++i) {
        sendTimes(0, 0, 0, 0, player.handle());
        offsets.push_back(band->scrollOffset);
    }
    EXPECT_EQ((std::vector<int32_t>{1, 2, 3, 4, 0, 1}), offsets);
}

TEST_F(PlayerLink, LongCaptionIsShortenedSoTheGapFits) {
    SetWindowTextA(player.handle(), std::string(300, 'c').c_str());
    sendTimes(0, 0, 0, 0, player.handle());
    EXPECT_EQ(std::string(254, 'c') + "     ", playerStatus.title);
}

TEST_F(PlayerLink, ClosedResetsCountersTitleAndPlayerOnly) {
    sendText(1, "next", player.handle());
    sendText(2, "prev", player.handle());
    sendTimes(1, 2, 3, -4, player.handle());
    band->scrollOffset = 3;
    send(5, "x", 1, player.handle());
    EXPECT_EQ(nullptr, band->hwndPlayer);
    EXPECT_STREQ("ZAX     ", playerStatus.title);
    for (int32_t counter : playerStatus.times) EXPECT_EQ(0, counter);
    EXPECT_STREQ("next", playerStatus.nextTrack);
    EXPECT_STREQ("prev", playerStatus.prevTrack);
    EXPECT_EQ(3, band->scrollOffset);
}

TEST_F(PlayerLink, ReloadReleasesReloadsAndRestoresTheTimeMode) {
    const std::string main = "Software\\Vantorel\\Strappa Plugin";
    testing_support::setDword(main, "DisplayPlayListBandMode", 3);
    testing_support::setString(main, "FontFace", "Courier");
    testing_support::setDword("Software\\Vantorel\\Strappa Plugin\\Buttons", "Image2", 0xFFFFFFFF);
    band->timeMode = 2;  // as after a press on the time box
    band->imageList = ImageList_Create(16, 16, ILC_COLOR24, 1, 0);
    band->font = CreateFontA(-11, 0, 0, 0, FW_NORMAL, 0, 0, 0, 0, 0, 0, 0, 0, "Tahoma");
    HFONT font = band->font;

    sendText(4, "C:\\Skins", player.handle());
    EXPECT_STREQ("C:\\Skins", playerStatus.skinBaseDir);
    EXPECT_EQ(nullptr, band->imageList);
    EXPECT_EQ(nullptr, band->font);
    EXPECT_EQ(0u, GetObjectType(font));
    EXPECT_EQ(3, band->timeMode);
    EXPECT_STREQ("Courier", bandSettings.FontFace);
    EXPECT_EQ(7u, bandSettings.buttons.size());
}

std::string tipText(HWND tip, HWND band) {
    char text[MAX_PATH] = {};
    TTTOOLINFOA tool{};
    tool.cbSize = sizeof tool;
    tool.hwnd = band;
    tool.uId = 0;
    tool.lpszText = text;
    SendMessageA(tip, TTM_GETTEXTA, sizeof text, reinterpret_cast<LPARAM>(&tool));
    return text;
}

TEST_F(PlayerLink, PreviousTrackRefreshesTheHoveredTrackButtonsTip) {
    HWND tip = band->tooltipWindow();
    ASSERT_NE(nullptr, tip);
    char initial[] = "old text";
    TTTOOLINFOA tool{};
    tool.cbSize = sizeof tool;
    tool.hwnd = band->hwnd;
    tool.uId = 0;
    GetClientRect(band->hwnd, &tool.rect);
    tool.hinst = moduleInstance;
    tool.lpszText = initial;
    ASSERT_TRUE(SendMessageA(tip, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&tool)));

    bandSettings.reset();
    for (int32_t i = 0; i < 8; ++i) bandSettings.buttons.push_back({i, i});
    std::strcpy(playerStatus.title, "Current     ");
    std::strcpy(playerStatus.nextTrack, "Next one");

    struct Case {
        int32_t hover;
        const char* previous;
        const char* expectedTip;
    };
    const Case cases[] = {
        {3, "p1", "old text"},              // Stop: no tooltip message
        {kHoverTimeBox, "p2", "old text"},  // time box
        {kHoverNothing, "p3", "old text"},
        {20, "p4", "old text"},             // past the end of the list
        {0, "p5", "p5"},                    // Previous Track: the new text
        {1, "p6", "Current     "},          // Play: the title
        {2, "p7", "Next one"},              // Next Track
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.hover);
        band->hoverIndex = c.hover;
        sendText(2, c.previous, player.handle());
        EXPECT_STREQ(c.previous, playerStatus.prevTrack);
        EXPECT_EQ(c.expectedTip, tipText(tip, band->hwnd));
    }
    EXPECT_EQ(1, SendMessageA(tip, TTM_GETTOOLCOUNT, 0, 0));
    TTTOOLINFOA found{};
    found.cbSize = sizeof found;
    ASSERT_TRUE(SendMessageA(tip, TTM_ENUMTOOLSA, 0, reinterpret_cast<LPARAM>(&found)));
    EXPECT_EQ(band->hwnd, found.hwnd);
    EXPECT_EQ(0u, found.uId);

    // A next-track text alone leaves the tip as it is.
    sendText(1, "Later", player.handle());
    EXPECT_EQ("Next one", tipText(tip, band->hwnd));

    // Without the tooltip cell the text is still stored.
    band->tooltip.reset();
    band->hoverIndex = 0;
    sendText(2, "no tip", player.handle());
    EXPECT_STREQ("no tip", playerStatus.prevTrack);
}

// The last byte of `data` is the last readable byte: reading one more ends the test program
// at once with a message, rather than leaving it hanging in the debugger.
class GuardedPayload {
public:
    explicit GuardedPayload(const std::vector<char>& data) {
        SYSTEM_INFO system{};
        GetSystemInfo(&system);
        SIZE_T page = system.dwPageSize;
        SIZE_T readable = (data.size() + page - 1) / page * page;
        base_ = static_cast<char*>(
            VirtualAlloc(nullptr, readable + page, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE));
        DWORD old = 0;
        VirtualProtect(base_ + readable, page, PAGE_NOACCESS, &old);
        start_ = base_ + readable - data.size();
        std::memcpy(start_, data.data(), data.size());
        handler_ = AddVectoredExceptionHandler(1, [](EXCEPTION_POINTERS* fault) -> LONG {
            if (fault->ExceptionRecord->ExceptionCode == EXCEPTION_ACCESS_VIOLATION) {
                std::fprintf(stderr, "read past the end of a record's data\n");
                std::fflush(stderr);
                ExitProcess(3);
            }
            return EXCEPTION_CONTINUE_SEARCH;
        });
    }
    ~GuardedPayload() {
        RemoveVectoredExceptionHandler(handler_);
        VirtualFree(base_, 0, MEM_RELEASE);
    }
    const char* data() const { return start_; }

private:
    char* base_ = nullptr;
    char* start_ = nullptr;
    void* handler_ = nullptr;
};

TEST_F(PlayerLink, HostilePayloadsStayInBounds) {
    // Text without a terminator, ending right before an unreadable page.
    GuardedPayload bare(std::vector<char>{'a', 'b', 'c', 'd', 'e'});
    send(1, bare.data(), 5, player.handle());
    EXPECT_STREQ("abcde", playerStatus.nextTrack);

    // 8 KB without a terminator: cut to what the field holds.
    std::vector<char> flood(8192, 'F');
    GuardedPayload big(flood);
    send(4, big.data(), static_cast<DWORD>(flood.size()), player.handle());
    EXPECT_EQ(std::string(MAX_PATH - 1, 'F'), playerStatus.skinBaseDir);
    send(2, big.data(), static_cast<DWORD>(flood.size()), player.handle());
    EXPECT_EQ(std::string(MAX_PATH - 1, 'F'), playerStatus.prevTrack);

    // A terminator inside cbData ends the text there.
    send(1, "xy\0zz", 5, player.handle());
    EXPECT_STREQ("xy", playerStatus.nextTrack);
}

TEST_F(PlayerLink, ShortTimesRecordIsIgnoredButIntroducesItsSender) {
    int32_t half[2] = {5, 6};
    GuardedPayload shortTimes(std::vector<char>(reinterpret_cast<char*>(half),
                                                reinterpret_cast<char*>(half) + sizeof half));
    band->scrollOffset = 2;
    send(3, shortTimes.data(), sizeof half, player.handle());
    EXPECT_EQ(player.handle(), band->hwndPlayer);
    for (int32_t counter : playerStatus.times) EXPECT_EQ(0, counter);
    EXPECT_STREQ(kIdleTitle, playerStatus.title);
    EXPECT_EQ(2, band->scrollOffset);
}

TEST_F(PlayerLink, NullDataIsIgnored) {
    for (ULONG_PTR kind : {0u, 1u, 2u, 3u, 4u, 5u}) {
        EXPECT_EQ(0, send(kind, nullptr, 16, player.handle()));
    }
    EXPECT_EQ(nullptr, band->hwndPlayer);
    EXPECT_STREQ(kIdleTitle, playerStatus.title);
}

TEST_F(PlayerLink, CommandsAndSeeksArePostedToThePlayer) {
    band->PostCommand(1, 1);  // no player window: nothing goes anywhere
    MSG stray{};
    EXPECT_FALSE(PeekMessageA(&stray, reinterpret_cast<HWND>(-1), 0, 0, PM_NOREMOVE));

    send(9, "x", 1, player.handle());
    band->PostCommand(1030, WM_LBUTTONDOWN);
    band->PostCommand(6049, WM_LBUTTONDBLCLK);
    band->PostSeek(120);
    ASSERT_TRUE(testing_support::pumpUntil([&] { return posted.size() == 3; }));
    EXPECT_EQ(taskIconNotifyMsg, posted[0].message);
    EXPECT_EQ(1030u, posted[0].wParam);
    EXPECT_EQ(513, posted[0].lParam);
    EXPECT_EQ(taskIconNotifyMsg, posted[1].message);
    EXPECT_EQ(6049u, posted[1].wParam);
    EXPECT_EQ(515, posted[1].lParam);
    EXPECT_EQ(deskBandNotifyMsg, posted[2].message);
    EXPECT_EQ(0u, posted[2].wParam);
    EXPECT_EQ(120, posted[2].lParam);
}

TEST(CommandCodes, FixedCustomAndNone) {
    const struct {
        int32_t function;
        std::optional<int32_t> code;
    } cases[] = {
        {0, 106},  {1, 1030}, {2, 104},  {3, 110},           {4, 108},
        {5, 111},  {6, 112},  {7, 109},  {8, 6000},          {57, 6049},
        {58, {}},  {99, {}},  {100, {}}, {-1, {}},           {INT32_MIN, {}},
    };
    for (const auto& c : cases) EXPECT_EQ(c.code, CommandCode(c.function)) << c.function;
    EXPECT_STREQ("Minimise", CommandTable[6].name);
    EXPECT_STREQ("", CommandTable[99].name);
}

std::string markerPath() {
    char folder[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, folder);
    return std::string(folder) + "strappa-player-marker.txt";
}

TEST(RunPlayer, StartsTheCommandLine) {
    std::string marker = markerPath();
    DeleteFileA(marker.c_str());
    std::snprintf(playerCommand, sizeof playerCommand, "\"%s\" \"%s\" /play",
                  testing_support::programPath("WriteMarker.exe").c_str(), marker.c_str());
    RunPlayerCommand();
    EXPECT_TRUE(testing_support::pumpUntil(
        [&] { return GetFileAttributesA(marker.c_str()) != INVALID_FILE_ATTRIBUTES; }, 10000));
    Sleep(100);  // let the marker's writer finish
    DeleteFileA(marker.c_str());

    playerCommand[0] = '\0';
    RunPlayerCommand();  // nothing to start, nothing reported
    EXPECT_STREQ("", playerCommand);
}

std::string decimal(HWND window) {
    return std::to_string(reinterpret_cast<UINT_PTR>(window));
}

TEST_F(PlayerLink, RecordsFromAnotherProcess) {
    const std::string sendRecord = "\"" + testing_support::programPath("SendRecord.exe") + "\" ";
    // Next track "Next" without terminator, on behalf of the test's player window.
    EXPECT_EQ(0, testing_support::runProcess(sendRecord + decimal(band->hwnd) + " 1 4E657874 " +
                                             decimal(player.handle())));
    EXPECT_STREQ("Next", playerStatus.nextTrack);
    EXPECT_EQ(player.handle(), band->hwndPlayer);

    // From the sender's own window: adopted after ClosedRecord, gone when its process ends.
    EXPECT_EQ(0, testing_support::runProcess(sendRecord + decimal(band->hwnd) + " 5 00"));
    EXPECT_EQ(nullptr, band->hwndPlayer);
    EXPECT_EQ(0, testing_support::runProcess(sendRecord + decimal(band->hwnd) +
                                             " 3 0100000002000000030000000400000000"));
    EXPECT_EQ(4, playerStatus.times[3]);
    EXPECT_STREQ("SendRecord     ", playerStatus.title);
    EXPECT_NE(nullptr, band->hwndPlayer);
    EXPECT_FALSE(band->HasPlayerWindow());
}

}  // namespace
