// The band's text font, sized in tenths of a point for the DC it is drawn into.
#pragma once

#include <windows.h>

// A font of `tenthsOfPoint` height (0: the font mapper's default). A face name too long for
// LOGFONTA falls back to the band's default face rather than being cut, since a cut name
// could match some unrelated font.
HFONT createBandFont(LONG tenthsOfPoint, LONG weight, BYTE italic, const char* faceName, HDC dc);

// Creates `logFont` with its lfHeight taken as tenths of a point and turned into a character
// height in the logical units of `dc`. The caller's structure is left unchanged; null when
// the font cannot be created.
HFONT createPointFont(const LOGFONTA& logFont, HDC dc);
