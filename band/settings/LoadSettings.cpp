// Fills the settings record from the plug-in's registry key.
#include <cstdio>

#include "band/core/PlayerStatus.h"
#include "band/settings/BandSettings.h"

namespace {

constexpr int kFixedButtons = 8;
constexpr int32_t kNoFunction = 100;
constexpr int32_t kDefaultTimeMode = 2;
constexpr int32_t kTimeCounters = 4;

// Registry numbers are read as signed 32-bit data; colours share their four bytes.
void readColour(HKEY key, const char* name, COLORREF* colour, COLORREF defaultColour) {
    int32_t value = static_cast<int32_t>(*colour);
    ReadNumberValue(key, name, &value, static_cast<int32_t>(defaultColour));
    *colour = static_cast<COLORREF>(value);
}

void loadButtons(std::vector<ButtonDef>& buttons) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, kButtonsKeyPath, 0, KEY_READ, &key) != ERROR_SUCCESS) {
        for (int32_t i = 0; i < kFixedButtons; ++i) buttons.push_back({i, i});
        return;
    }
    char name[32];
    for (int32_t i = 0; i < kMaxButtons; ++i) {
        const bool fixed = i < kFixedButtons;
        int32_t function = 0;
        int32_t image = 0;
        std::snprintf(name, sizeof name, "Function%d", i);
        ReadNumberValue(key, name, &function, fixed ? i : kNoFunction);
        std::snprintf(name, sizeof name, "Image%d", i);
        ReadNumberValue(key, name, &image, fixed ? i : -1);
        if (image >= 0) buttons.push_back({function, image});
    }
    RegCloseKey(key);
}

}  // namespace

void LoadSettings(BandSettings& settings, int32_t& timeMode) {
    HKEY key = nullptr;
    LONG status = RegOpenKeyExA(HKEY_CURRENT_USER, kSettingsKeyPath, 0, KEY_READ, &key);
    // Every load starts from nothing, so a reload never doubles the button list.
    settings.reset();
    if (status != ERROR_SUCCESS) {
        Trace("Cannot open %s : %ld\n", kSettingsKeyPath, status);
        return;
    }

    char name[32];
    for (int i = 0; i < kCustomDescriptionCount; ++i) {
        std::snprintf(name, sizeof name, "CustomDescription%d", i);
        ReadStringValue(key, name, settings.CustomDescription[i], kCustomDescriptionSize,
                        "Custom Command");
    }
    ReadNumberValue(key, "ClickMode", &settings.ClickMode, 0);
    ReadStringValue(key, "SkinPath", settings.SkinPath, sizeof settings.SkinPath, "<pant>");
    readColour(key, "TextColour", &settings.TextColour, 0);
    readColour(key, "TimeColour", &settings.TimeColour, 0xC0C0C0);
    readColour(key, "BackgroundColour", &settings.BackgroundColour, 0xFFFFFF);
    ReadNumberValue(key, "FontSize", &settings.FontSize, 80);
    ReadStringValue(key, "FontFace", settings.FontFace, sizeof settings.FontFace, "Tahoma");
    ReadFlagValue(key, "DisplayTime", &settings.DisplayTime, true);
    ReadFlagValue(key, "DisplayTrack", &settings.DisplayTrack, true);
    ReadNumberValue(key, "DisplayPlayListBandMode", &timeMode, kDefaultTimeMode);
    // The mode indexes the four time counters when painting; a stored value that names none
    // of them must not reach there.
    if (timeMode < 0 || timeMode >= kTimeCounters) timeMode = kDefaultTimeMode;
    ReadNumberValue(key, "FontWeight", &settings.FontWeight, 400);
    ReadFlagValue(key, "FontItalic", &settings.FontItalic, false);
    ReadFlagValue(key, "Scroll", &settings.Scroll, true);
    ReadFlagValue(key, "bPlaylistProgress", &settings.bPlaylistProgress, true);
    ReadFlagValue(key, "bTrackProgress", &settings.bTrackProgress, true);
    ReadFlagValue(key, "bDeskBandIcons", &settings.bDeskBandIcons, true);
    ReadStringValue(key, "Player", playerCommand, sizeof playerCommand, "");
    ReadStringValue(key, "DeskBandBmp", settings.DeskBandBmp, sizeof settings.DeskBandBmp, "");
    ReadStringValue(key, "TrackBmp", settings.TrackBmp, sizeof settings.TrackBmp, "");
    ReadStringValue(key, "TimeBmp", settings.TimeBmp, sizeof settings.TimeBmp, "");
    ReadFlagValue(key, "BitmapDeskband", &settings.BitmapDeskband, true);
    ReadFlagValue(key, "BitmapTrack", &settings.BitmapTrack, false);
    ReadFlagValue(key, "BitmapTime", &settings.BitmapTime, false);
    ReadNumberValue(key, "Orientation", &settings.Orientation, 1);
    RegCloseKey(key);

    loadButtons(settings.buttons);
}
