#include <gtest/gtest.h>

#include <string>

#include "band/core/PlayerStatus.h"
#include "tests/display/DisplayFixture.h"

namespace display_tests {
namespace {

using namespace testing_support;

constexpr int kStop = 3;  // image 3 is a filled square from (3, 3) to (12, 12)

uint32_t face() { return rgb(GetSysColor(COLOR_BTNFACE)); }

// Screen position of pixel (x, y) of button i's image.
POINT imagePixel(const DeskBand& band, int i, int x, int y, int height, int shift = 0) {
    return {band.buttonsLeft + 18 * i + shift + 1 + x, height / 2 + shift - 8 + y};
}

class BandPaint : public DisplayFixture {};

TEST_F(BandPaint, StripPlacementByOrientation) {
    struct Case {
        uint32_t orientation;
        uint32_t icons;
        int32_t buttonsLeft;
        int32_t buttonsRight;
        int32_t trackRight;  // the track box ends 2 pixels before what the strip leaves
    } cases[] = {
        {0, 1, 153, 297, 151},
        {1, 1, 0, 144, 298},
        {0, 0, 0, 0, 295},
        {1, 0, 0, 0, 298},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("orientation " + std::to_string(c.orientation) + " icons " +
                     std::to_string(c.icons));
        setDword(kPluginKey, "Orientation", c.orientation);
        setDword(kPluginKey, "bDeskBandIcons", c.icons);
        if (!band) {
            open(300, 23);
        } else {
            reload();
        }
        const Capture shot = paint();
        EXPECT_EQ(c.buttonsLeft, band->buttonsLeft);
        EXPECT_EQ(c.buttonsRight, band->buttonsRight);
        EXPECT_EQ(c.trackRight, band->trackRight);
        EXPECT_EQ(23, band->bandHeight);
        EXPECT_EQ(band->trackRight - band->trackLeft, band->bandWidth);
        if (c.icons) {
            // The stop square's corners, drawn from 1 pixel into its cell at y 3.
            POINT topLeft = imagePixel(*band, kStop, 3, 3, 23);
            POINT bottomRight = imagePixel(*band, kStop, 12, 12, 23);
            EXPECT_EQ(kBlack, shot.at(topLeft.x, topLeft.y));
            EXPECT_EQ(kBlack, shot.at(bottomRight.x, bottomRight.y));
            EXPECT_EQ(face(), shot.at(topLeft.x - 1, topLeft.y - 1));
            EXPECT_EQ(face(), shot.at(bottomRight.x + 1, bottomRight.y + 1));
        }
    }
}

TEST_F(BandPaint, EmptyButtonListStillLeavesTheMargin) {
    for (int i = 0; i < 8; ++i) setDword(kButtonsKey, "Image" + std::to_string(i), 0xFFFFFFFFu);
    setDword(kPluginKey, "Orientation", 0);
    open(300, 23);
    EXPECT_EQ(297, band->buttonsLeft);
    EXPECT_EQ(297, band->buttonsRight);
    EXPECT_EQ(295, band->trackRight);
}

TEST_F(BandPaint, HoverFrameRaisedAndSunkenWithShiftedImage) {
    struct Case {
        bool pressed;
        uint32_t topLeft;
        uint32_t bottomRight;
        int shift;
    } cases[] = {
        {false, kWhite, kGrey, 0},
        {true, kGrey, kWhite, 1},
    };
    open(300, 23);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.pressed ? "pressed" : "hovered");
        band->hoverIndex = kStop;
        band->pressed = c.pressed;
        const Capture shot = paint();
        const int x0 = band->buttonsLeft + 18 * kStop;
        EXPECT_EQ(c.topLeft, shot.at(x0, 10)) << "left edge";
        EXPECT_EQ(c.topLeft, shot.at(x0 + 9, 2)) << "top edge";
        EXPECT_EQ(c.bottomRight, shot.at(x0 + 18, 10)) << "right edge, in the next cell";
        EXPECT_EQ(c.bottomRight, shot.at(x0 + 9, 21)) << "bottom edge at H - 2";
        EXPECT_EQ(face(), shot.at(x0 + 9, 1));
        EXPECT_EQ(face(), shot.at(x0 + 9, 22));

        POINT corner = imagePixel(*band, kStop, 3, 3, 23, c.shift);
        EXPECT_EQ(kBlack, shot.at(corner.x, corner.y));
        EXPECT_EQ(face(), shot.at(corner.x - 1, corner.y - 1));
        // Other buttons never move.
        POINT other = imagePixel(*band, kStop + 1, 3, 3, 23);
        EXPECT_EQ(face(), shot.at(other.x - 1, other.y - 1));
    }
    for (int32_t nothing : {kHoverNothing, kHoverTimeBox}) {
        band->hoverIndex = nothing;
        band->pressed = true;
        const Capture shot = paint();
        const int x0 = band->buttonsLeft + 18 * kStop;
        EXPECT_EQ(face(), shot.at(x0, 10)) << "no frame for hover " << nothing;
        POINT corner = imagePixel(*band, kStop, 3, 3, 23);
        EXPECT_EQ(kBlack, shot.at(corner.x, corner.y)) << "no shift for hover " << nothing;
    }
}

TEST_F(BandPaint, ImagesAreCentredInTheBandHeight) {
    for (int height : {23, 30, 16}) {
        SCOPED_TRACE(height);
        band = nullptr;
        parent.reset();
        open(300, height);
        const Capture shot = paint();
        POINT corner = imagePixel(*band, kStop, 3, 3, height);
        EXPECT_EQ(kBlack, shot.at(corner.x, corner.y));
        EXPECT_EQ(face(), shot.at(corner.x, corner.y - 1));
        band->CloseDW(0);
        band->Release();
    }
    band = nullptr;
}

TEST_F(BandPaint, ImageIndexBeyondTheListDrawsNothing) {
    writeSkinStrip(skins.file("StrappaSkins\\two.bmp"), 32);
    setString(kPluginKey, "SkinPath", "two");
    setDword(kButtonsKey, "Image2", 5);
    open(300, 23);
    ASSERT_EQ(2, ImageList_GetImageCount(band->imageList));
    const Capture shot = paint();
    for (int i = 0; i < 3; ++i) {
        POINT centre = imagePixel(*band, i, 8, 8, 23);
        EXPECT_EQ(i < 2 ? kBlack : face(), shot.at(centre.x, centre.y)) << "button " << i;
    }
}

TEST_F(BandPaint, NoImagesShowsTheMessageUntilAProperStripAppears) {
    const std::string skin = skins.file("StrappaSkins\\narrow.bmp");
    writeSkinStrip(skin, 8);
    setString(kPluginKey, "SkinPath", "narrow");
    open(300, 23);
    // Regions of an earlier full paint must not survive into the message-only band.
    band->buttonsLeft = 0;
    band->buttonsRight = 144;
    band->timeLeft = 150;
    band->trackLeft = 200;
    band->trackRight = 298;

    for (int paintCount = 0; paintCount < 2; ++paintCount) {
        const Capture shot = paint();
        EXPECT_EQ(nullptr, band->imageList);
        int inkLeft = shot.width, inkRight = -1;
        for (int y = 0; y < shot.height; ++y) {
            for (int x = 0; x < shot.width; ++x) {
                if (shot.at(x, y) == kBlack) {
                    inkLeft = std::min(inkLeft, x);
                    inkRight = std::max(inkRight, x);
                }
            }
        }
        ASSERT_GE(inkRight, 0) << "message text expected";
        EXPECT_NEAR(150, (inkLeft + inkRight) / 2, 3) << "centred";
        EXPECT_GT(inkLeft, 40) << "no strip at the left";
        EXPECT_EQ(band->buttonsLeft, band->buttonsRight);
        EXPECT_EQ(band->timeLeft, band->trackLeft);
        EXPECT_GE(band->trackLeft, 300) << "no x of the band lies in a box";
    }

    writeSkinStrip(skin, 48);  // replaced on disk, no reload
    const Capture shot = paint();
    ASSERT_NE(nullptr, band->imageList);
    EXPECT_EQ(3, ImageList_GetImageCount(band->imageList));
    EXPECT_EQ(144, band->buttonsRight);
    POINT centre = imagePixel(*band, 0, 8, 8, 23);
    EXPECT_EQ(kBlack, shot.at(centre.x, centre.y));
}

TEST_F(BandPaint, BackgroundBitmapsAreStretchedOverBandAndBoxes) {
    // Two columns, red and blue, so the stretch shows as halves.
    writeBitmapFile(skins.file("halves.bmp"), 2, 1,
                    [](int x, int) { return x == 0 ? 0xFF0000u : 0x0000FFu; });
    setString(kPluginKey, "DeskBandBmp", skins.file("halves.bmp"));
    setDword(kPluginKey, "bDeskBandIcons", 0);
    setDword(kPluginKey, "DisplayTime", 0);
    setDword(kPluginKey, "DisplayTrack", 0);
    open(300, 23);
    Capture shot = paint();
    EXPECT_EQ(0xFF0000u, shot.at(5, 5));
    EXPECT_EQ(0xFF0000u, shot.at(145, 20));
    EXPECT_EQ(0x0000FFu, shot.at(155, 0));
    EXPECT_EQ(0x0000FFu, shot.at(299, 22));

    // The same bitmap in the time box, under bar and text, instead of frame and fill.
    setString(kPluginKey, "DeskBandBmp", "");
    setDword(kPluginKey, "DisplayTime", 1);
    setDword(kPluginKey, "BitmapTime", 1);
    setString(kPluginKey, "TimeBmp", skins.file("halves.bmp"));
    setDword(kPluginKey, "bPlaylistProgress", 0);
    reload();
    shot = paint();
    const int left = band->timeLeft - 3;
    const int right = band->trackLeft - 2;
    EXPECT_EQ(0xFF0000u, shot.at(left, 11)) << "no black frame";
    EXPECT_EQ(0x0000FFu, shot.at(right - 1, 11));
    EXPECT_EQ(face(), shot.at(right + 1, 11));
}

// A box's fill row just inside its top edge, where no glyph reaches.
struct Row {
    int barEnd;   // first x after the bar, or left + 1 when there is none
    bool frame;   // black at left and right - 1
    bool filled;  // the rest up to right - 1 is the box colour
};

Row readRow(const Capture& shot, int left, int right, int y, uint32_t bar, uint32_t fill) {
    Row row{left + 1, shot.at(left, y) == kBlack && shot.at(right - 1, y) == kBlack, true};
    while (row.barEnd < right - 1 && shot.at(row.barEnd, y) == bar) ++row.barEnd;
    for (int x = row.barEnd; x < right - 1; ++x) row.filled &= shot.at(x, y) == fill;
    return row;
}

TEST_F(BandPaint, ProgressBarsFollowTheCounters) {
    constexpr COLORREF kFill = RGB(255, 255, 0);
    constexpr COLORREF kBar = RGB(0, 0, 255);
    setDword(kPluginKey, "BackgroundColour", kFill);
    setDword(kPluginKey, "TimeColour", kBar);
    open(400, 23);

    struct Case {
        int32_t times[4];
        bool playlistBar;
        bool trackBar;
    } cases[] = {
        {{30, 120, 50, -150}, true, true},
        {{0, 120, 1, -1}, true, false},         // no track position yet: a zero-width bar
        {{120, 120, 50, 0}, false, false},      // no remaining playlist, track at its end
        {{10, 0, 0, 0}, false, false},          // no lengths at all
        {{-5, 100, -5, -10}, false, false},     // negative counts are huge unsigned values
        {{99, 100, 199, -1}, true, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.times[0]) + "/" + std::to_string(c.times[1]) + " " +
                     std::to_string(c.times[2]) + "/" + std::to_string(c.times[3]));
        std::copy(std::begin(c.times), std::end(c.times), playerStatus.times);
        const Capture shot = paint();
        const RECT box = timeBox(shot);
        ASSERT_GT(box.bottom - box.top, 4);
        const int y = box.top + 1;

        const int timeWidth = box.right - box.left;
        const uint32_t total = static_cast<uint32_t>(c.times[2] - c.times[3]);
        const int expectedTime =
            c.playlistBar ? static_cast<int>((timeWidth - 1) * static_cast<uint32_t>(c.times[2]) /
                                             total)
                          : 0;
        Row time = readRow(shot, box.left, box.right, y, rgb(kBar), rgb(kFill));
        EXPECT_TRUE(time.frame);
        EXPECT_TRUE(time.filled);
        EXPECT_EQ(box.left + 1 + expectedTime, time.barEnd) << "playlist bar";

        const int trackLeft = band->trackLeft;
        const int trackRightEdge = band->trackRight;
        const int trackWidth = trackRightEdge - trackLeft;
        const int expectedTrack =
            c.trackBar ? static_cast<int>((trackWidth - 1) * static_cast<uint32_t>(c.times[0]) /
                                          static_cast<uint32_t>(c.times[1]))
                       : 0;
        Row track = readRow(shot, trackLeft, trackRightEdge, y, rgb(kBar), rgb(kFill));
        EXPECT_TRUE(track.frame);
        EXPECT_TRUE(track.filled);
        EXPECT_EQ(trackLeft + 1 + expectedTrack, track.barEnd) << "track bar";
    }
}

TEST_F(BandPaint, TrackBoxTooNarrowForItsFrameGetsNoBar) {
    // The strip and time box leave the track box less than nothing; its bar must not be
    // painted across the band.
    constexpr COLORREF kBar = RGB(255, 0, 0);
    setDword(kPluginKey, "TimeColour", kBar);
    setDword(kPluginKey, "Orientation", 0);
    playerStatus.times[0] = 50;
    playerStatus.times[1] = 100;
    open(170, 23);
    ASSERT_LT(band->trackRight, band->trackLeft);
    const Capture shot = paint();
    for (int x = 0; x < shot.width; ++x) {
        EXPECT_NE(rgb(kBar), shot.at(x, 11)) << "bar colour at x " << x;
    }
}

}  // namespace
}  // namespace display_tests
