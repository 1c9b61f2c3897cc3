#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "band/core/PlayerStatus.h"
#include "tests/display/DisplayFixture.h"
#include "tests/support/Png.h"
#include "tests/support/Process.h"

namespace display_tests {
namespace {

using namespace testing_support;

class Boxes : public DisplayFixture {
protected:
    // Width of a text in the band's font, as the boxes measure it.
    int textWidth(const char* text) {
        HDC screen = GetDC(nullptr);
        HDC dc = CreateCompatibleDC(screen);
        HGDIOBJ previous = SelectObject(dc, band->font);
        RECT bounds{};
        DrawTextA(dc, text, -1, &bounds, DT_CALCRECT | DT_NOPREFIX | DT_SINGLELINE);
        SelectObject(dc, previous);
        DeleteDC(dc);
        ReleaseDC(nullptr, screen);
        return bounds.right - bounds.left;
    }
    int timeBoxWidth() const { return band->trackLeft - 2 - (band->timeLeft - 3); }
};

TEST_F(Boxes, TimeTextAndTemplateSizedBox) {
    setDword(kPluginKey, "DisplayTrack", 0);  // leaves the time text in displayText
    open(300, 23);
    struct Case {
        int32_t mode;
        int32_t times[4];
        const char* text;
        const char* sizedFor;
    } cases[] = {
        {2, {0, 0, 3725, 0}, " 1:02:05", "00:00:00"},
        {2, {0, 0, 36000, 0}, "10:00:00", "00:00:00"},
        {2, {0, 0, 59, 0}, "00:59", "00:00"},
        {2, {0, 0, -75, 0}, "01:15", "00:00"},
        {3, {0, 0, 0, -75}, "-01:15", "-00:00"},
        {3, {0, 0, 0, -3725}, "- 1:02:05", "-00:00:00"},
        {0, {125, 0, 0, 0}, "02:05", "00:00"},
        {2, {0, 0, 360000, 0}, "100:00:00", "00:00:00"},  // wider than its box, cut off
        {2, {0, 0, INT32_MIN, 0}, "596523:14:08", "00:00:00"},
        // Stored modes that name no counter show the elapsed time.
        {7, {1, 2, 3, 4}, "00:03", "00:00"},
        {-1, {1, 2, 3, 4}, "00:03", "00:00"},
        {INT32_MAX, {1, 2, 3, 4}, "00:03", "00:00"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        band->timeMode = c.mode;
        std::copy(std::begin(c.times), std::end(c.times), playerStatus.times);
        paint();
        EXPECT_STREQ(c.text, displayText);
        EXPECT_EQ(textWidth(c.sizedFor) + 6, timeBoxWidth());
        EXPECT_EQ(147 + 3, band->timeLeft) << "text starts 3 pixels into the box";
    }
}

TEST_F(Boxes, RegionsForEachBoxCombination) {
    struct Case {
        uint32_t time;
        uint32_t track;
    } cases[] = {{1, 1}, {1, 0}, {0, 1}, {0, 0}};
    for (const Case& c : cases) {
        SCOPED_TRACE("time " + std::to_string(c.time) + " track " + std::to_string(c.track));
        setDword(kPluginKey, "DisplayTime", c.time);
        setDword(kPluginKey, "DisplayTrack", c.track);
        if (!band) {
            open(400, 23);
        } else {
            reload();
        }
        paint();
        const int stripEnd = 147;  // eight buttons at the left and the 3-pixel margin
        if (c.time) {
            EXPECT_EQ(stripEnd + 3, band->timeLeft);
            EXPECT_EQ(stripEnd + textWidth("00:00") + 6 + 2, band->trackLeft);
        }
        if (c.time && !c.track) {
            EXPECT_EQ(band->trackLeft, band->trackRight);
        }
        if (!c.time && c.track) {
            EXPECT_EQ(stripEnd, band->timeLeft);
            EXPECT_EQ(stripEnd, band->trackLeft);
        }
        if (c.track) {
            EXPECT_EQ(398, band->trackRight);
            EXPECT_EQ(band->trackRight - band->trackLeft, band->bandWidth);
        }
        if (!c.time && !c.track) {
            // Nothing drawn, nothing to hit: the regions start at the band's right edge.
            EXPECT_EQ(400, band->timeLeft);
            EXPECT_EQ(400, band->trackLeft);
            EXPECT_EQ(400, band->trackRight);
            EXPECT_EQ(400 - 144 - 3, band->bandWidth);
        }
    }
}

TEST_F(Boxes, TitleRotatesOnlyWhenItDoesNotFitAndScrollIsOn) {
    struct Case {
        int width;
        uint32_t scroll;
        int32_t offset;
        const char* shown;
        int32_t offsetAfter;
    } cases[] = {
        {230, 1, 8, "rld     Hello Wo", 8},
        {230, 1, 0, "Hello World     ", 0},
        {230, 1, 15, " Hello World    ", 15},
        {230, 1, 16, "Hello World     ", 16},  // past the end: unrotated, offset kept
        {230, 1, -3, "Hello World     ", -3},
        {230, 0, 8, "Hello World     ", 0},
        {600, 1, 8, "Hello World     ", 0},  // fits
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.width) + " scroll " + std::to_string(c.scroll) +
                     " offset " + std::to_string(c.offset));
        setDword(kPluginKey, "Scroll", c.scroll);
        if (band) {
            band->CloseDW(0);
            band->Release();
            band = nullptr;
        }
        std::strcpy(playerStatus.title, "Hello World     ");
        open(c.width, 23);
        band->scrollOffset = c.offset;
        paint();
        EXPECT_STREQ(c.shown, displayText);
        EXPECT_EQ(c.offsetAfter, band->scrollOffset);
    }
}

TEST_F(Boxes, RotatedTitleShowsWithoutItsLastFiveCharacters) {
    // Rotated by 5, "MMMM iiii" + gap reads "iiii     MMMM "; its last five characters
    // ("MMMM ") are not drawn, so no ink may follow the i's.
    constexpr COLORREF kText = RGB(255, 0, 0);
    setDword(kPluginKey, "TextColour", kText);
    setDword(kPluginKey, "DisplayTime", 0);
    std::strcpy(playerStatus.title, "MMMM iiii     ");
    open(300, 23);
    const int titleWidth = textWidth("MMMM iiii");
    band->CloseDW(0);
    band->Release();
    band = nullptr;
    open(147 + titleWidth + 5, 23);  // a text area one pixel too narrow for the title
    band->scrollOffset = 5;
    const Capture shot = paint();
    ASSERT_STREQ("iiii     MMMM ", displayText);

    const int textLeft = band->trackLeft + 4;
    int lastInk = -1;
    for (int x = textLeft; x < shot.width; ++x) {
        for (int y = 0; y < shot.height; ++y) {
            if (shot.at(x, y) == rgb(kText)) lastInk = x;
        }
    }
    ASSERT_GE(lastInk, textLeft);
    EXPECT_LT(lastInk - textLeft, textWidth("iiii"));
}

TEST_F(Boxes, ScreenshotAtTaskbarSize) {
    std::strcpy(playerStatus.title, "Nadia Orrel - The Long Road Home (Live)     ");
    const int32_t times[4] = {83, 244, 1325, -2275};
    std::copy(std::begin(times), std::end(times), playerStatus.times);
    open(600, 30);
    band->hoverIndex = 1;
    const Capture shot = paint();
    const std::string path = binFolder() + "band.png";
    EXPECT_TRUE(savePng(shot, path)) << path;
    EXPECT_TRUE(saveBitmap(shot, binFolder() + "band.bmp"));
}

}  // namespace
}  // namespace display_tests
