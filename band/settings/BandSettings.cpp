// The process-wide settings record and its reset state.
#include "band/settings/BandSettings.h"

#include <cstring>

BandSettings bandSettings;
char playerCommand[MAX_PATH];

const char kSettingsKeyPath[] = "Software\\Vantorel\\Strappa Plugin";
const char kButtonsKeyPath[] = "Software\\Vantorel\\Strappa Plugin\\Buttons";

void BandSettings::reset() {
    ClickMode = 0;
    buttons.clear();
    // Whole arrays are cleared, not just their first byte, so no text of an earlier load
    // can show through a shorter one.
    std::memset(SkinPath, 0, sizeof SkinPath);
    std::memset(FontFace, 0, sizeof FontFace);
    std::memset(DeskBandBmp, 0, sizeof DeskBandBmp);
    std::memset(TrackBmp, 0, sizeof TrackBmp);
    std::memset(TimeBmp, 0, sizeof TimeBmp);
    std::memset(CustomDescription, 0, sizeof CustomDescription);
    TimeColour = 0;
    TextColour = 0;
    BackgroundColour = 0;
    FontSize = 0;
    bDeskBandIcons = false;
    FontItalic = false;
    Scroll = false;
    bPlaylistProgress = false;
    DisplayTime = false;
    DisplayTrack = false;
    bTrackProgress = false;
    BitmapDeskband = false;
    BitmapTrack = false;
    BitmapTime = false;
    FontWeight = 0;
    Orientation = 0;
}
