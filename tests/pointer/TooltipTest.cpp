// The band's one tooltip tool: its texts as the real control holds them, and how sparingly
// mouse moves touch it.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include "band/core/PlayerStatus.h"
#include "band/core/Win32Sizes.h"
#include "tests/pointer/BandFixture.h"

namespace pointer_tests {
namespace {

using testing_support::pumpUntil;
using testing_support::setDword;
using testing_support::setString;

class PointerTooltip : public BandFixture {
protected:
    static int32_t buttonX(int position) { return position * kButtonCell + 5; }
};

TEST_F(PointerTooltip, ButtonTextsComeFromTheTrackTitlesTheTableAndTheDescriptions) {
    // The eight fixed buttons, then custom 8 and 57, a button without a function, and two
    // functions that have no row in the command table at all.
    writeButtons({0, 1, 2, 3, 4, 5, 6, 7, 8, 57, 100, 1000, -5});
    setString(kPluginKey, "CustomDescription0", "Open the visualiser");
    ASSERT_NO_FATAL_FAILURE(open());
    ASSERT_NO_FATAL_FAILURE(adoptPlayer("Test Player"));
    sendText(1, "Next Song");
    sendText(2, "Previous Song");
    regions = {0, 13 * kButtonCell, 240, 280, 390};

    const char* const expected[] = {
        "Previous Song",
        "Test Player     ",  // the title keeps its five trailing spaces
        "Next Song",
        "Stop",
        "Eject",
        "Tracks",
        "Minimise",
        "Exit",
        "Open the visualiser",
        "Custom Command",
        "",
        "",
        "",
    };
    for (int position = 0; position < 13; ++position) {
        moveTo(buttonX(position));
        ASSERT_EQ(position, band->hoverIndex);
        EXPECT_EQ(1, toolCount()) << "position " << position;
        EXPECT_EQ(expected[position], toolText()) << "position " << position;
    }
}

TEST_F(PointerTooltip, ToolCoversTheBandWindowAndIsSubclassing) {
    ASSERT_NO_FATAL_FAILURE(open(300));
    regions = {0, 8 * kButtonCell, 150, 200, 290};
    moveTo(buttonX(3));
    TTTOOLINFOA tool{};
    tool.cbSize = kToolInfoSize;
    ASSERT_TRUE(SendMessageA(tooltip(), TTM_ENUMTOOLSA, 0, reinterpret_cast<LPARAM>(&tool)));
    RECT client{};
    GetClientRect(band->hwnd, &client);
    EXPECT_EQ(band->hwnd, tool.hwnd);
    EXPECT_EQ(0u, tool.uId);
    EXPECT_TRUE(tool.uFlags & TTF_SUBCLASS);
    EXPECT_TRUE(EqualRect(&client, &tool.rect));
    EXPECT_EQ(moduleInstance, tool.hinst);
    EXPECT_EQ(300, SendMessageA(tooltip(), TTM_GETMAXTIPWIDTH, 0, 0));
}

TEST_F(PointerTooltip, TimeBoxShowsThePlaylistLength) {
    ASSERT_NO_FATAL_FAILURE(open());
    regions = {0, 8 * kButtonCell, 150, 200, 390};
    struct Case {
        int32_t elapsed;
        int32_t remaining;
        const char* text;
    };
    const Case cases[] = {
        {3000, -725, "Total Playlist Time : 01:02:05"},
        {59, -1, "Total Playlist Time : 01:00"},
        {0, 0, "Total Playlist Time : 00:00"},
        {360000, 0, "Total Playlist Time : 100:00:00"},
    };
    for (const Case& c : cases) {
        playerStatus.times[2] = c.elapsed;
        playerStatus.times[3] = c.remaining;
        moveTo(160);
        ASSERT_EQ(kHoverTimeBox, band->hoverIndex);
        EXPECT_EQ(c.text, toolText());
        // The text is that of the moment the box became hovered.
        playerStatus.times[2] += 3600;
        moveTo(170);
        EXPECT_EQ(c.text, toolText());
        moveTo(300);
        EXPECT_EQ("<no tool>", toolText());
    }
}

TEST_F(PointerTooltip, PrevTrackRecordRefreshesTheHoveredTrackButton) {
    ASSERT_NO_FATAL_FAILURE(open());
    ASSERT_NO_FATAL_FAILURE(adoptPlayer("Test Player"));
    regions = {0, 8 * kButtonCell, 150, 200, 390};
    MessageCounter tooltipMessages;
    tooltipMessages.attach(tooltip());

    moveTo(buttonX(0));
    sendText(2, "Earlier Song");
    EXPECT_EQ("Earlier Song", toolText());

    moveTo(buttonX(2));
    sendText(1, "Later Song");
    EXPECT_EQ("", toolText()) << "a next-track record alone leaves the tool as it was";
    sendText(2, "Earlier Song");
    EXPECT_EQ("Later Song", toolText());

    moveTo(buttonX(1));
    sendText(2, "Earlier Song");
    EXPECT_EQ("Test Player     ", toolText());

    for (int32_t x : {buttonX(3), 160}) {  // Stop, then the time box
        moveTo(x);
        tooltipMessages.reset();
        sendText(2, "Earlier Song");
        EXPECT_EQ(0, tooltipMessages.count(TTM_UPDATETIPTEXTA)) << "x = " << x;
    }
}

TEST_F(PointerTooltip, OnlyAChangeOfTheHoveredElementTouchesToolAndPaint) {
    ASSERT_NO_FATAL_FAILURE(open());
    regions = {100, 154, 160, 200, 300};
    MessageCounter tooltipMessages;
    tooltipMessages.attach(tooltip());
    struct Step {
        int32_t x;
        int32_t hover;
        int changes;  // TTM_DELTOOLA and paints
        int adds;     // TTM_SETMAXTIPWIDTH and TTM_ADDTOOLA
    };
    const Step steps[] = {
        {100, 0, 1, 1},
        {117, 0, 0, 0},
        {118, 1, 1, 1},
        {130, 1, 0, 0},
        {250, kHoverNothing, 1, 0},
        {260, kHoverNothing, 0, 0},
        {170, kHoverTimeBox, 1, 1},
        {199, kHoverTimeBox, 0, 0},
        {153, 2, 1, 1},
        {80, kHoverNothing, 1, 0},
    };
    for (const Step& step : steps) {
        tooltipMessages.reset();
        bandMessages.reset();
        moveTo(step.x);
        UpdateWindow(band->hwnd);  // paints now, without pumping the queue
        EXPECT_EQ(step.hover, band->hoverIndex) << "x = " << step.x;
        EXPECT_EQ(step.changes, tooltipMessages.count(TTM_DELTOOLA)) << "x = " << step.x;
        EXPECT_EQ(step.adds, tooltipMessages.count(TTM_SETMAXTIPWIDTH)) << "x = " << step.x;
        EXPECT_EQ(step.adds, tooltipMessages.count(TTM_ADDTOOLA)) << "x = " << step.x;
        EXPECT_EQ(step.changes, bandMessages.count(WM_PAINT)) << "x = " << step.x;
        EXPECT_EQ(step.hover == kHoverNothing ? 0 : 1, toolCount()) << "x = " << step.x;
    }
}

TEST_F(PointerTooltip, LeavingWhilePressedClearsHoverPressAndTool) {
    ASSERT_NO_FATAL_FAILURE(open());
    regions = {100, 154, 160, 200, 300};
    moveTo(153);
    SendMessageA(band->hwnd, WM_LBUTTONDOWN, MK_LBUTTON, 0);
    ASSERT_TRUE(band->pressed);
    UpdateWindow(band->hwnd);

    MessageCounter tooltipMessages;
    tooltipMessages.attach(tooltip());
    bandMessages.reset();
    SendMessageA(band->hwnd, WM_MOUSELEAVE, 0, 0);
    UpdateWindow(band->hwnd);
    EXPECT_FALSE(band->pressed);
    EXPECT_EQ(kHoverNothing, band->hoverIndex);
    EXPECT_EQ(1, tooltipMessages.count(TTM_DELTOOLA));
    EXPECT_EQ(0, tooltipMessages.count(TTM_ADDTOOLA));
    EXPECT_EQ(1, bandMessages.count(WM_PAINT));
    EXPECT_EQ(0, toolCount());
}

TEST_F(PointerTooltip, PointerLeavingFromTheStripIsTracked) {
    // Real pointer moves over the painted band; regions are the ones the paints write.
    ASSERT_NO_FATAL_FAILURE(open());
    ASSERT_GT(band->buttonsRight, band->buttonsLeft) << "no strip was painted";
    ASSERT_LT(band->timeLeft, band->trackLeft) << "no time box was painted";
    auto pointAt = [&](int32_t x) {
        POINT point{x, 11};
        ClientToScreen(band->hwnd, &point);
        SetCursorPos(point.x, point.y);
    };

    // Into the time box and out again: no tracking, so the time box stays hovered.
    pointAt(band->timeLeft + 1);
    ASSERT_TRUE(pumpUntil([&] { return band->hoverIndex == kHoverTimeBox; }));
    parkCursor();
    EXPECT_FALSE(pumpUntil([&] { return band->hoverIndex != kHoverTimeBox; }, 800));

    // From the (still hovered) time box into the strip, then away: the leave clears hover and press.
    pointAt(band->buttonsLeft + kButtonCell + 3);
    ASSERT_TRUE(pumpUntil([&] { return band->hoverIndex == 1; }));
    SendMessageA(band->hwnd, WM_LBUTTONDOWN, MK_LBUTTON, 0);
    ASSERT_TRUE(band->pressed);
    parkCursor();
    EXPECT_TRUE(pumpUntil([&] { return band->hoverIndex == kHoverNothing; }, 3000));
    EXPECT_FALSE(band->pressed);
}

TEST_F(PointerTooltip, WithoutATooltipControlHoverAndPressStillWork) {
    ASSERT_NO_FATAL_FAILURE(open());
    ASSERT_NO_FATAL_FAILURE(adoptPlayer());
    band->tooltip.reset();
    regions = {100, 154, 160, 200, 300};
    bandMessages.reset();
    for (int32_t x : {100, 170, 110}) moveTo(x);
    UpdateWindow(band->hwnd);
    EXPECT_EQ(0, band->hoverIndex);
    EXPECT_EQ(1, bandMessages.count(WM_PAINT));
    clickAt(110);
    EXPECT_FALSE(band->pressed);
    EXPECT_EQ(1u, takePosted().size());
}

}  // namespace
}  // namespace pointer_tests
