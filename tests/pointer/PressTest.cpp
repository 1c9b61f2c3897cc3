// What a press on a button or a box does, with and without a player window.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "band/core/PlayerStatus.h"
#include "tests/pointer/BandFixture.h"
#include "tests/support/Process.h"

namespace pointer_tests {
namespace {

using testing_support::captureClient;
using testing_support::pumpMessages;
using testing_support::pumpUntil;
using testing_support::setDword;
using testing_support::setString;

class PointerPress : public BandFixture {};

// Boxes on the left and the strip on the right, as with the strip at the band's right edge,
// so that a button press that wrongly went on to the boxes would post a seek.
constexpr int32_t kStripLeft = 180;
constexpr Regions kStripRight{kStripLeft, kStripLeft + 12 * kButtonCell, 5, 45, 150};
constexpr int32_t buttonX(int position) { return kStripLeft + position * kButtonCell + 9; }

TEST_F(PointerPress, ButtonPostsItsCommandWithTheClickModesMouseMessage) {
    // Positions 8 to 11: custom functions 8 and 57, then 58 and 100, which have no command.
    writeButtons({0, 1, 2, 3, 4, 5, 6, 7, 8, 57, 58, 100});
    ASSERT_NO_FATAL_FAILURE(open());
    ASSERT_NO_FATAL_FAILURE(adoptPlayer("Test Player", 240));
    regions = kStripRight;
    struct Case {
        uint32_t clickMode;
        int position;
        int presses;
        std::vector<Posted> posted;
    };
    const UINT notify = taskIconNotifyMsg;
    const Case cases[] = {
        {0, 1, 1, {{notify, 1030, WM_LBUTTONDOWN}}},
        {1, 1, 1, {{notify, 1030, WM_LBUTTONDBLCLK}}},
        {7, 1, 1, {{notify, 1030, WM_LBUTTONDBLCLK}}},
        {0, 0, 1, {{notify, 106, WM_LBUTTONDOWN}}},
        {0, 7, 1, {{notify, 109, WM_LBUTTONDOWN}}},
        {0, 8, 1, {{notify, 6000, WM_LBUTTONDOWN}}},
        {0, 9, 1, {{notify, 6049, WM_LBUTTONDOWN}}},
        {0, 10, 1, {}},
        {0, 11, 1, {}},
        // A double click arrives as two presses and acts twice, whatever the click mode.
        {0, 2, 2, {{notify, 104, WM_LBUTTONDOWN}, {notify, 104, WM_LBUTTONDOWN}}},
        {1, 2, 2, {{notify, 104, WM_LBUTTONDBLCLK}, {notify, 104, WM_LBUTTONDBLCLK}}},
    };
    for (const Case& c : cases) {
        setDword(kPluginKey, "ClickMode", c.clickMode);
        reload();
        const int32_t timeMode = band->timeMode;
        for (int i = 0; i < c.presses; ++i) clickAt(buttonX(c.position));
        EXPECT_EQ(c.posted, takePosted())
            << "position " << c.position << ", ClickMode " << c.clickMode;
        EXPECT_EQ(timeMode, band->timeMode) << "position " << c.position;
    }
}

TEST_F(PointerPress, StripRegionsOlderThanTheSettingsDoNotReachPastTheList) {
    // Regions from the last paint outlive a reload that shortened the list or hid the strip.
    writeButtons({1});
    ASSERT_NO_FATAL_FAILURE(open());
    ASSERT_NO_FATAL_FAILURE(adoptPlayer("Test Player", 240));
    regions = {100, 154, 0, 200, 300};

    moveTo(140);  // position 2: no entry
    EXPECT_EQ(2, band->hoverIndex);
    EXPECT_EQ(0, toolCount());
    clickAt(140);
    EXPECT_TRUE(takePosted().empty());

    // With the strip switched off, a press where it was goes to whatever box lies there.
    setDword(kPluginKey, "bDeskBandIcons", 0);
    reload();
    const int32_t timeMode = band->timeMode;
    clickAt(105);
    EXPECT_TRUE(takePosted().empty());
    EXPECT_NE(timeMode, band->timeMode);
}

TEST_F(PointerPress, PressAndReleaseOnlyPushTheHoveredButton) {
    ASSERT_NO_FATAL_FAILURE(open());
    ASSERT_NO_FATAL_FAILURE(adoptPlayer());
    regions = kStripRight;

    // Nothing hovered: neither press nor release touches `pressed` or asks for a repaint.
    ValidateRect(band->hwnd, nullptr);
    pressAt(buttonX(3));
    EXPECT_FALSE(band->pressed);
    SendMessageA(band->hwnd, WM_LBUTTONUP, 0, 0);
    EXPECT_FALSE(band->pressed);
    EXPECT_FALSE(GetUpdateRect(band->hwnd, nullptr, FALSE));
    takePosted();

    moveTo(buttonX(3));
    ValidateRect(band->hwnd, nullptr);
    pressAt(buttonX(3));
    EXPECT_TRUE(band->pressed);
    EXPECT_TRUE(GetUpdateRect(band->hwnd, nullptr, FALSE));
    ValidateRect(band->hwnd, nullptr);
    SendMessageA(band->hwnd, WM_LBUTTONUP, 0, 0);
    EXPECT_FALSE(band->pressed);
    EXPECT_TRUE(GetUpdateRect(band->hwnd, nullptr, FALSE));
    // The release never acts: only the press posted.
    EXPECT_EQ(1u, takePosted().size());
}

TEST_F(PointerPress, TimeBoxSwitchesBetweenElapsedAndRemainingOnScreen) {
    struct Case {
        uint32_t storedMode;
        int32_t afterFirst;
        int32_t afterSecond;
    };
    for (const Case& c : {Case{2, 3, 2}, Case{0, 3, 2}}) {
        setDword(kPluginKey, "DisplayPlayListBandMode", c.storedMode);
        if (!band) {
            ASSERT_NO_FATAL_FAILURE(open());
            ASSERT_NO_FATAL_FAILURE(adoptPlayer());
        }
        reload();
        ASSERT_EQ(static_cast<int32_t>(c.storedMode), band->timeMode);
        // 1:15 elapsed, 1:15 remaining: only the minus sign tells the two modes apart.
        const int32_t times[4] = {75, 150, 75, -75};
        sendRecord(3, times, sizeof(times));
        InvalidateRect(band->hwnd, nullptr, FALSE);
        const auto before = captureClient(band->hwnd);
        ASSERT_LT(band->timeLeft, band->trackLeft - 2) << "no time box was painted";

        // Real regions from the paint: press just inside the time text.
        regions = {band->buttonsLeft, band->buttonsRight, band->timeLeft, band->trackLeft,
                   band->trackRight};
        const int32_t x = band->timeLeft + 1;
        clickAt(x);
        EXPECT_EQ(c.afterFirst, band->timeMode);
        const auto switched = captureClient(band->hwnd);
        clickAt(x);
        EXPECT_EQ(c.afterSecond, band->timeMode);
        const auto back = captureClient(band->hwnd);

        EXPECT_NE(before.pixels, switched.pixels) << "stored mode " << c.storedMode;
        if (c.storedMode == 2) {
            EXPECT_EQ(before.pixels, back.pixels);
        }
        EXPECT_TRUE(takePosted().empty());
    }
}

// Without a player window the Play, Tracks, Minimise and custom buttons start the configured
// command line; nothing else reacts.
class PointerStart : public BandFixture {
protected:
    std::string markerPath(const std::string& name) {
        char folder[MAX_PATH] = {};
        GetTempPathA(MAX_PATH, folder);
        std::string path = std::string(folder) + "pointer-start-" + name + ".txt";
        DeleteFileA(path.c_str());
        return path;
    }
    void setPlayerCommand(const std::string& marker) {
        setString(kPluginKey, "Player",
                  "\"" + testing_support::programPath("WriteMarker.exe") + "\" \"" + marker + "\"");
        reload();
    }
    static bool exists(const std::string& path) {
        return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
    }
};

TEST_F(PointerStart, OnlyButtonsThatBringThePlayerUpStartIt) {
    writeButtons({0, 1, 2, 3, 4, 5, 6, 7, 8, 57, 58, 100});
    ASSERT_NO_FATAL_FAILURE(open());
    regions = kStripRight;
    ASSERT_FALSE(band->HasPlayerWindow());
    struct Case {
        const char* name;
        int32_t x;
        bool starts;
    };
    const Case cases[] = {
        {"previous", buttonX(0), false}, {"play", buttonX(1), true},
        {"next", buttonX(2), false},     {"stop", buttonX(3), false},
        {"eject", buttonX(4), false},    {"tracks", buttonX(5), true},
        {"minimise", buttonX(6), true},  {"exit", buttonX(7), false},
        {"custom8", buttonX(8), true},   {"custom57", buttonX(9), true},
        {"f58", buttonX(10), false},     {"f100", buttonX(11), false},
        {"timebox", 10, false},          {"trackbox", 100, false},
    };
    std::vector<std::string> markers;
    for (const Case& c : cases) {
        markers.push_back(markerPath(c.name));
        setPlayerCommand(markers.back());
        const int32_t timeMode = band->timeMode;
        clickAt(c.x);
        EXPECT_EQ(timeMode, band->timeMode) << c.name;
    }
    // Wait for every start, then a little longer for any start that should not have been.
    EXPECT_TRUE(pumpUntil([&] {
        for (size_t i = 0; i < markers.size(); ++i) {
            if (cases[i].starts && !exists(markers[i])) return false;
        }
        return true;
    }, 15000));
    pumpMessages(500);
    for (size_t i = 0; i < markers.size(); ++i) {
        EXPECT_EQ(cases[i].starts, exists(markers[i])) << cases[i].name;
        DeleteFileA(markers[i].c_str());
    }
}

TEST_F(PointerStart, PlayerWindowGoneMeansStartInsteadOfPost) {
    writeButtons({1});
    ASSERT_NO_FATAL_FAILURE(open());
    ASSERT_NO_FATAL_FAILURE(adoptPlayer());
    const std::string marker = markerPath("gone");
    setPlayerCommand(marker);
    regions = {0, kButtonCell, 40, 80, 200};
    player->destroy();
    clickAt(5);
    EXPECT_TRUE(pumpUntil([&] { return exists(marker); }, 15000));
    DeleteFileA(marker.c_str());
}

}  // namespace
}  // namespace pointer_tests
