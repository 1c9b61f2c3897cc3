#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "band/core/PlayerStatus.h"
#include "band/display/BandFont.h"
#include "tests/display/DisplayFixture.h"
#include "tests/support/Process.h"

namespace display_tests {
namespace {

using namespace testing_support;

std::vector<char> readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<char>(std::istreambuf_iterator<char>(in), {});
}

TEST(BuiltInStrip, ResourceIsTheGeneratorsDrawing) {
    ScratchFolder folder;
    const std::string generated = folder.file("strip.bmp");
    ASSERT_EQ(0, runProcess("\"" + programPath("StripGenerator.exe") + "\" \"" + generated + "\""));
    const std::vector<char> file = readFile(generated);
    ASSERT_GT(file.size(), sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER));

    // A bitmap resource is the file without its file header.
    HRSRC found = FindResourceA(moduleInstance, MAKEINTRESOURCEA(101), MAKEINTRESOURCEA(2));
    ASSERT_NE(nullptr, found);
    const DWORD size = SizeofResource(moduleInstance, found);
    const char* data = static_cast<const char*>(LockResource(LoadResource(moduleInstance, found)));
    ASSERT_EQ(file.size() - sizeof(BITMAPFILEHEADER), size);
    EXPECT_TRUE(std::equal(file.begin() + sizeof(BITMAPFILEHEADER), file.end(), data))
        << "band/res/strip.bmp differs from StripGenerator's output; regenerate it";

    const auto* header = reinterpret_cast<const BITMAPINFOHEADER*>(data);
    EXPECT_EQ(336, header->biWidth);
    EXPECT_EQ(16, header->biHeight);
    EXPECT_EQ(8, header->biBitCount);
    EXPECT_EQ(256u, header->biClrUsed);
}

TEST(BuiltInStrip, EveryImageIsADrawingOnTheMaskColour) {
    HBITMAP strip = LoadBitmapA(moduleInstance, MAKEINTRESOURCEA(101));
    ASSERT_NE(nullptr, strip);
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ previous = SelectObject(dc, strip);
    for (int image = 0; image < 21; ++image) {
        int black = 0, other = 0;
        for (int y = 0; y < 16; ++y) {
            for (int x = 0; x < 16; ++x) {
                COLORREF pixel = GetPixel(dc, image * 16 + x, y);
                if (pixel == RGB(0, 0, 0)) {
                    ++black;
                } else if (pixel != RGB(0, 128, 128) && pixel != RGB(128, 128, 128)) {
                    ++other;
                }
            }
        }
        EXPECT_EQ(RGB(0, 128, 128), GetPixel(dc, image * 16, 0)) << "image " << image;
        EXPECT_GT(black, 12) << "image " << image;
        EXPECT_EQ(0, other) << "image " << image << " has colours besides black, grey, teal";
    }
    SelectObject(dc, previous);
    DeleteDC(dc);
    DeleteObject(strip);
}

class SkinResources : public DisplayFixture {};

TEST_F(SkinResources, ImageCountFollowsTheSkinFile) {
    struct Case {
        const char* name;
        int fileWidth;  // 0: no file
        int images;
    } cases[] = {
        {"missing", 0, 21},
        {"two", 32, 2},
        {"three", 48, 3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        if (c.fileWidth) writeSkinStrip(skins.file("StrappaSkins\\") + c.name + ".bmp", c.fileWidth);
        setString(kPluginKey, "SkinPath", c.name);
        if (!band) {
            open();
        } else {
            reload();
        }
        paint();
        ASSERT_NE(nullptr, band->imageList);
        EXPECT_EQ(c.images, ImageList_GetImageCount(band->imageList));
    }
}

TEST_F(SkinResources, APathTooLongForTheBufferIsNeverLoadedCut) {
    // The cut path (MAX_PATH - 1 characters) names a real two-image skin; the whole path
    // names nothing. Only a path that fits may load.
    const std::string folder = skins.path() + "\\StrappaSkins\\";
    const size_t nameLength = MAX_PATH - folder.size() - 4;  // full path one too long
    const std::string longName(nameLength, 'a');
    const std::string cutPath = (folder + longName + ".bmp").substr(0, MAX_PATH - 1);
    writeSkinStrip(cutPath, 32);
    const std::string fittingName(nameLength - 1, 'a');
    writeSkinStrip(folder + fittingName + ".bmp", 48);

    setString(kPluginKey, "SkinPath", longName);
    open();
    ASSERT_NE(nullptr, band->imageList);
    EXPECT_EQ(21, ImageList_GetImageCount(band->imageList)) << "built-in strip expected";

    setString(kPluginKey, "SkinPath", fittingName);
    reload();
    paint();
    ASSERT_NE(nullptr, band->imageList);
    EXPECT_EQ(3, ImageList_GetImageCount(band->imageList)) << "a path of 259 characters loads";
}

TEST_F(SkinResources, FontFollowsSizeWeightItalicAndFace) {
    const int dpi = [] {
        HDC screen = GetDC(nullptr);
        int value = GetDeviceCaps(screen, LOGPIXELSY);
        ReleaseDC(nullptr, screen);
        return value;
    }();
    struct Case {
        int32_t size;
        int32_t weight;
        uint32_t italic;
        std::string face;
        LONG height;
        const char* expectedFace;
    } cases[] = {
        {80, 400, 0, "Tahoma", -(dpi * 80 / 720), "Tahoma"},
        {0, 700, 1, "Courier New", 0, "Courier New"},
        {120, 400, 0, "Arial", -(dpi * 120 / 720), "Arial"},
        // 31 characters fit the face name; 32 would have to be cut, so the default is used.
        {80, 400, 0, std::string(31, 'F'), -(dpi * 80 / 720), "FFFFFFFFFFFFFFFFFFFFFFFFFFFFFFF"},
        {80, 400, 0, "Courier New" + std::string(21, 'X'), -(dpi * 80 / 720), "Tahoma"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.face);
        setDword(kPluginKey, "FontSize", static_cast<uint32_t>(c.size));
        setDword(kPluginKey, "FontWeight", static_cast<uint32_t>(c.weight));
        setDword(kPluginKey, "FontItalic", c.italic);
        setString(kPluginKey, "FontFace", c.face);
        if (!band) {
            open();
        } else {
            reload();
            paint();
        }
        ASSERT_NE(nullptr, band->font);
        LOGFONTA font{};
        ASSERT_EQ(static_cast<int>(sizeof(font)), GetObjectA(band->font, sizeof(font), &font));
        EXPECT_EQ(c.height, font.lfHeight);
        EXPECT_EQ(c.weight, font.lfWeight);
        EXPECT_EQ(c.italic, font.lfItalic);
        EXPECT_EQ(DEFAULT_CHARSET, font.lfCharSet);
        EXPECT_STREQ(c.expectedFace, font.lfFaceName);
    }
}

TEST(PointFont, HeightIsTenthsOfAPointInTheDCsLogicalUnits) {
    HDC dc = CreateCompatibleDC(nullptr);
    const int dpi = GetDeviceCaps(dc, LOGPIXELSY);
    LOGFONTA request{};
    request.lfHeight = 80;
    std::snprintf(request.lfFaceName, sizeof(request.lfFaceName), "Tahoma");
    struct Case {
        int mapMode;
        LONG height;
    } cases[] = {
        {MM_TEXT, -(dpi * 80 / 720)},
        // Twips: 1440 per inch, so the device height comes back as 8 points of 20 twips.
        {MM_TWIPS, -((dpi * 80 / 720) * 1440 / dpi)},
    };
    for (const Case& c : cases) {
        SetMapMode(dc, c.mapMode);
        HFONT font = createPointFont(request, dc);
        ASSERT_NE(nullptr, font);
        LOGFONTA made{};
        GetObjectA(font, sizeof(made), &made);
        EXPECT_EQ(c.height, made.lfHeight) << "map mode " << c.mapMode;
        EXPECT_EQ(80, request.lfHeight) << "the caller's structure stays as it was";
        DeleteObject(font);
    }
    DeleteDC(dc);
}

TEST_F(SkinResources, MadeOnceAndReleasedOnReload) {
    writeBitmapFile(skins.file("band.bmp"), 4, 4, [](int, int) { return 0x336699u; });
    setString(kPluginKey, "DeskBandBmp", skins.file("band.bmp"));
    open();
    const HIMAGELIST images = band->imageList;
    const HFONT font = band->font;
    const HBITMAP background = band->skinBitmaps[kSkinBand];
    ASSERT_NE(nullptr, images);
    ASSERT_NE(nullptr, font);
    ASSERT_NE(nullptr, background);
    ASSERT_NE(nullptr, band->skinDCs[kSkinBand]);
    const HDC backgroundDC = band->skinDCs[kSkinBand]->dc;
    EXPECT_EQ(4, band->skinSizes[kSkinBand].width);
    EXPECT_EQ(4, band->skinSizes[kSkinBand].height);
    EXPECT_EQ(background, GetCurrentObject(backgroundDC, OBJ_BITMAP));

    paint();
    paint();
    EXPECT_EQ(images, band->imageList);
    EXPECT_EQ(font, band->font);
    EXPECT_EQ(background, band->skinBitmaps[kSkinBand]);
    EXPECT_EQ(backgroundDC, band->skinDCs[kSkinBand]->dc);

    reload();
    EXPECT_EQ(0u, GetObjectType(font));
    EXPECT_EQ(0u, GetObjectType(background));
    EXPECT_EQ(0u, GetObjectType(backgroundDC));
    paint();
    EXPECT_NE(nullptr, band->imageList);
    EXPECT_NE(nullptr, band->font);
    EXPECT_NE(nullptr, band->skinBitmaps[kSkinBand]);
}

TEST_F(SkinResources, BackgroundSlotLoadsOnlyWhenSwitchedOnWithAPath) {
    writeBitmapFile(skins.file("track.bmp"), 2, 2, [](int, int) { return 0x102030u; });
    struct Case {
        uint32_t switchOn;
        std::string path;
        bool loaded;
    } cases[] = {
        {1, skins.file("track.bmp"), true},
        {0, skins.file("track.bmp"), false},
        {1, "", false},
        {1, skins.file("missing.bmp"), false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path + (c.switchOn ? " on" : " off"));
        setDword(kPluginKey, "BitmapTrack", c.switchOn);
        setString(kPluginKey, "TrackBmp", c.path);
        if (!band) {
            open();
        } else {
            reload();
            paint();
        }
        EXPECT_EQ(c.loaded, band->skinBitmaps[kSkinTrack] != nullptr);
        EXPECT_EQ(c.loaded, band->skinDCs[kSkinTrack] != nullptr);
    }
}

}  // namespace
}  // namespace display_tests
