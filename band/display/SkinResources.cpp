// Lazily made skin resources: the button image list, the three background bitmaps and the font.
// Whatever could not be made is tried again at the next paint.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "band/core/DeskBand.h"
#include "band/core/PlayerStatus.h"
#include "band/display/BandFont.h"

namespace {

constexpr int kBuiltInStrip = 101;
constexpr COLORREF kMaskColour = RGB(0, 128, 128);
constexpr int kImageListGrowth = 100;
constexpr char kDefaultFontFace[] = "Tahoma";
constexpr int kTenthsPerInch = 720;

HBITMAP loadBitmapFile(const char* path) {
    return static_cast<HBITMAP>(LoadImageA(moduleInstance, path, IMAGE_BITMAP, 0, 0,
                                           LR_LOADFROMFILE | LR_DEFAULTSIZE));
}

// The skin strip named by the skin folder and SkinPath, or null. A path that does not fit
// MAX_PATH counts as missing: a cut path could name some other file.
HBITMAP loadSkinStrip() {
    char path[MAX_PATH];
    int length = std::snprintf(path, sizeof(path), "%s\\StrappaSkins\\%s.bmp",
                               playerStatus.skinBaseDir, bandSettings.SkinPath);
    if (length < 0 || length >= static_cast<int>(sizeof(path))) return nullptr;
    Trace("%s\n", path);
    return loadBitmapFile(path);
}

}  // namespace

void DeskBand::loadSkin(HDC reference) {
    if (!imageList) {
        HBITMAP strip = loadSkinStrip();
        if (!strip) strip = LoadBitmapA(moduleInstance, MAKEINTRESOURCEA(kBuiltInStrip));
        imageList = ImageList_Create(kImageSize, kImageSize, ILC_COLOR32 | ILC_MASK, 0,
                                     kImageListGrowth);
        if (imageList) {
            ImageList_SetBkColor(imageList, CLR_NONE);
            ImageList_AddMasked(imageList, strip, kMaskColour);
        }
        if (strip) DeleteObject(strip);  // the list holds its own copy
        if (imageList && ImageList_GetImageCount(imageList) == 0) {
            // A strip narrower than one image: show the message, try again next paint.
            ImageList_Destroy(imageList);
            imageList = nullptr;
            return;
        }
    }

    const char* const paths[kSkinSlots] = {bandSettings.DeskBandBmp, bandSettings.TrackBmp,
                                           bandSettings.TimeBmp};
    const bool switches[kSkinSlots] = {bandSettings.BitmapDeskband, bandSettings.BitmapTrack,
                                       bandSettings.BitmapTime};
    for (int slot = 0; slot < kSkinSlots; ++slot) {
        if (skinBitmaps[slot] || !switches[slot] || !paths[slot][0]) continue;
        Trace("Trying to load skin %d ; %s\n", slot, paths[slot]);
        skinBitmaps[slot] = loadBitmapFile(paths[slot]);
        if (!skinBitmaps[slot]) continue;
        BITMAP info{};
        GetObjectA(skinBitmaps[slot], sizeof(info), &info);
        skinSizes[slot] = {info.bmWidth, info.bmHeight};
        skinDCs[slot] = std::make_unique<MemoryDC>(reference, info.bmWidth, info.bmHeight);
        skinDCs[slot]->clear(info.bmWidth, info.bmHeight, GetSysColor(COLOR_BTNFACE));
        // The loaded bitmap becomes the stretch source; the DC's own bitmap waits unselected.
        skinOldBitmaps[slot] = SelectObject(skinDCs[slot]->dc, skinBitmaps[slot]);
    }

    if (!font) {
        font = createBandFont(bandSettings.FontSize, bandSettings.FontWeight,
                              bandSettings.FontItalic, bandSettings.FontFace, reference);
    }
}

HFONT createBandFont(LONG tenthsOfPoint, LONG weight, BYTE italic, const char* faceName, HDC dc) {
    LOGFONTA logFont{};
    logFont.lfHeight = tenthsOfPoint;
    logFont.lfWeight = weight;
    logFont.lfItalic = italic;
    logFont.lfCharSet = DEFAULT_CHARSET;
    const char* face = std::strlen(faceName) < sizeof(logFont.lfFaceName) ? faceName
                                                                          : kDefaultFontFace;
    std::strcpy(logFont.lfFaceName, face);
    return createPointFont(logFont, dc);
}

HFONT createPointFont(const LOGFONTA& logFont, HDC dc) {
    LOGFONTA copy = logFont;
    // 64-bit product: a huge stored size must not overflow; the quotient fits 32 bits again.
    const int64_t deviceHeight =
        static_cast<int64_t>(GetDeviceCaps(dc, LOGPIXELSY)) * logFont.lfHeight / kTenthsPerInch;
    POINT height{0, static_cast<LONG>(deviceHeight)};
    POINT origin{0, 0};
    DPtoLP(dc, &height, 1);
    DPtoLP(dc, &origin, 1);
    copy.lfHeight = -static_cast<LONG>(
        std::llabs(static_cast<int64_t>(height.y) - static_cast<int64_t>(origin.y)));
    return CreateFontIndirectA(&copy);
}
