// Which element the pointer is over, and what a press on each region asks of the player.
#include <gtest/gtest.h>

#include "band/core/PlayerStatus.h"
#include "tests/pointer/BandFixture.h"

namespace pointer_tests {
namespace {

// Three buttons from 100 to 154, the time box from 160, the track box from 200 to 300.
constexpr Regions kLayout{100, 154, 160, 200, 300};

class PointerRegions : public BandFixture {};

TEST_F(PointerRegions, HoverFollowsTheStripTheTimeBoxAndTheGapsBetween) {
    ASSERT_NO_FATAL_FAILURE(open());
    regions = kLayout;
    struct Case {
        int32_t x;
        int32_t hover;
    };
    const Case cases[] = {
        {99, kHoverNothing}, {100, 0},   {117, 0},   {118, 1},
        {153, 2},            {154, kHoverNothing},   {159, kHoverNothing},
        {160, kHoverTimeBox}, {199, kHoverTimeBox},  // the gap before the track box hovers
        {200, kHoverNothing}, {299, kHoverNothing},  // the track box has no hover state
        {117, 0},
    };
    for (const Case& c : cases) {
        moveTo(c.x);
        EXPECT_EQ(c.hover, band->hoverIndex) << "x = " << c.x;
    }
}

TEST_F(PointerRegions, TimeBoxNeverHoversWhenItIsNotShown) {
    // With only the track box shown, painting puts timeLeft on trackLeft.
    ASSERT_NO_FATAL_FAILURE(open());
    regions = {100, 154, 200, 200, 300};
    for (int32_t x : {155, 199, 200, 250}) {
        moveTo(x);
        EXPECT_EQ(kHoverNothing, band->hoverIndex) << "x = " << x;
    }
}

TEST_F(PointerRegions, PressOnTheBoxesSwitchesTimeOrSeeks) {
    ASSERT_NO_FATAL_FAILURE(open());
    ASSERT_NO_FATAL_FAILURE(adoptPlayer("Test Player", 240));
    regions = kLayout;
    struct Case {
        int32_t x;
        bool switchesTime;
        std::vector<Posted> posted;
    };
    const Case cases[] = {
        {160, true, {}},
        {197, true, {}},
        {198, false, {}},  // the gap before the track box is for hovering only
        {199, false, {}},
        {200, false, {{deskBandNotifyMsg, 0, 0}}},
        {250, false, {{deskBandNotifyMsg, 0, 120}}},
        {300, false, {{deskBandNotifyMsg, 0, 240}}},
        {310, false, {{deskBandNotifyMsg, 0, 264}}},  // past the box: no right bound
        {159, false, {}},
        {154, false, {}},
    };
    for (const Case& c : cases) {
        const int32_t modeBefore = band->timeMode;
        clickAt(c.x);
        EXPECT_EQ(c.switchesTime, band->timeMode != modeBefore) << "x = " << c.x;
        EXPECT_EQ(c.posted, takePosted()) << "x = " << c.x;
    }
}

TEST_F(PointerRegions, SeekPositionScalesWithTheTrackLength) {
    ASSERT_NO_FATAL_FAILURE(open());
    ASSERT_NO_FATAL_FAILURE(adoptPlayer());
    regions = kLayout;
    struct Case {
        int32_t trackLength;
        int32_t x;
        LPARAM position;
    };
    const Case cases[] = {
        {0, 250, 0},
        {0, 310, 0},
        // 100 x 50,000,000 does not fit in 32 bits; the position does.
        {50000000, 300, 50000000},
        {50000000, 250, 25000000},
    };
    for (const Case& c : cases) {
        playerStatus.times[1] = c.trackLength;
        clickAt(c.x);
        std::vector<Posted> expected{{deskBandNotifyMsg, 0, c.position}};
        EXPECT_EQ(expected, takePosted()) << "length " << c.trackLength << ", x = " << c.x;
    }
}

TEST_F(PointerRegions, TrackBoxWithoutWidthPostsNoSeek) {
    // The track box hidden: painting leaves trackRight on trackLeft.
    ASSERT_NO_FATAL_FAILURE(open());
    ASSERT_NO_FATAL_FAILURE(adoptPlayer("Test Player", 240));
    for (Regions layout : {Regions{100, 154, 160, 200, 200}, Regions{0, 0, 0, 0, 0}}) {
        regions = layout;
        for (int32_t x : {200, 250, 399}) {
            clickAt(x);
            EXPECT_TRUE(takePosted().empty()) << "x = " << x;
        }
    }
}

}  // namespace
}  // namespace pointer_tests
