// STUB: replaced by the settings work.
#include "band/settings/BandSettings.h"
BandSettings bandSettings;
char playerCommand[MAX_PATH];
const char kSettingsKeyPath[] = "Software\\Vantorel\\Strappa Plugin";
const char kButtonsKeyPath[] = "Software\\Vantorel\\Strappa Plugin\\Buttons";
void BandSettings::reset() {}
void LoadSettings(BandSettings&, int32_t&) {}
