// A band object with a shown window on a real parent, configured from a scratch registry.
#pragma once

#include <gtest/gtest.h>

#include <windows.h>

#include <memory>

#include "band/core/DeskBand.h"
#include "tests/support/Windows.h"

namespace reliability {

extern const char kPluginKey[];
extern const char kButtonsKey[];

// Puts the player status back to what a freshly loaded module holds.
void resetPlayerStatus();

// Parks the shared cursor below every test window, so that it moves nothing by itself.
void parkCursor();

// A band in its own parent window, created, shown and painted once.
class ShownBand {
public:
    ShownBand(int width, int height, int x = 100, int y = 100);
    ~ShownBand();
    ShownBand(const ShownBand&) = delete;
    ShownBand& operator=(const ShownBand&) = delete;

    DeskBand* operator->() const { return band_; }
    DeskBand* get() const { return band_; }
    HWND window() const { return band_->hwnd; }

    // Sends the band a record as the player's plug-in does.
    void send(ULONG_PTR kind, const void* data, DWORD size, HWND sender) const;
    // Repaints the whole band and reads back what it shows.
    testing_support::Capture paint() const;

private:
    testing_support::TestWindow parent_;
    DeskBand* band_;
};

}  // namespace reliability
