// The band's look and behaviour, read from the player plug-in's per-user registry key.
#pragma once

#include <windows.h>

#include <cstdint>
#include <vector>

// One button of the strip: what it does and which picture of the image list it shows.
struct ButtonDef {
    int32_t function;  // 0-7 fixed functions, 8-57 custom functions, anything else none
    int32_t image;     // index into the 16x16 image list, never negative in a loaded list
};

constexpr int kCustomDescriptionCount = 50;
constexpr int kCustomDescriptionSize = 50;
constexpr int kMaxButtons = 100;
constexpr int kFontFaceSize = 100;

// Field names are the registry value names they are read from.
struct BandSettings {
    int32_t ClickMode;
    std::vector<ButtonDef> buttons;
    char SkinPath[MAX_PATH];
    char FontFace[kFontFaceSize];
    char DeskBandBmp[MAX_PATH];
    char TrackBmp[MAX_PATH];
    char TimeBmp[MAX_PATH];
    char CustomDescription[kCustomDescriptionCount][kCustomDescriptionSize];
    COLORREF TimeColour;
    COLORREF TextColour;
    COLORREF BackgroundColour;
    int32_t FontSize;
    bool bDeskBandIcons;
    bool FontItalic;
    bool Scroll;
    bool bPlaylistProgress;
    bool DisplayTime;
    bool DisplayTrack;
    bool bTrackProgress;
    bool BitmapDeskband;
    bool BitmapTrack;
    bool BitmapTime;
    int32_t FontWeight;
    int32_t Orientation;

    // Every number and colour 0, every flag false, every text empty, no buttons.
    void reset();
};

// The one record of the process; every band reads it and the latest load holds for all.
extern BandSettings bandSettings;

// Command line that starts the player when no player window is known ("Player").
extern char playerCommand[MAX_PATH];

extern const char kSettingsKeyPath[];  // "Software\Vantorel\Strappa Plugin"
extern const char kButtonsKeyPath[];   // "Software\Vantorel\Strappa Plugin\Buttons"

// The three readers: each always leaves its destination with the value read or the default.
void ReadNumberValue(HKEY key, const char* name, int32_t* destination, int32_t defaultValue);
void ReadFlagValue(HKEY key, const char* name, bool* destination, bool defaultValue);
void ReadStringValue(HKEY key, const char* name, char* destination, DWORD size,
                     const char* defaultText);

// Refills `settings` from the registry; also sets the loading band's time mode and
// `playerCommand`. A missing main key leaves the record reset and the other two unchanged.
void LoadSettings(BandSettings& settings, int32_t& timeMode);
