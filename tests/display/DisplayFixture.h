// A real band window in a parent of a chosen client size, configured through the registry, with
// skin files written into a scratch folder of the prefix.
#pragma once

#include <gtest/gtest.h>

#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "band/core/DeskBand.h"
#include "tests/support/Registry.h"
#include "tests/support/Windows.h"

namespace display_tests {

extern const char kPluginKey[];
extern const char kButtonsKey[];

constexpr uint32_t kBlack = 0x000000;
constexpr uint32_t kWhite = 0xFFFFFF;
constexpr uint32_t kGrey = 0x808080;

// A folder under the temp path, deleted with everything in it when it goes.
class ScratchFolder {
public:
    ScratchFolder();
    ~ScratchFolder();
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;
    const std::string& path() const { return path_; }
    std::string file(const std::string& name) const { return path_ + "\\" + name; }

private:
    std::string path_;
};

// Writes a BMP of width x height whose pixel colours (0x00RRGGBB) come from `colour`.
void writeBitmapFile(const std::string& path, int width, int height,
                     const std::function<uint32_t(int x, int y)>& colour);

// A skin strip `width` pixels wide: each 16 x 16 image a black 10 x 10 square on the mask
// colour.
void writeSkinStrip(const std::string& path, int width);

class DisplayFixture : public ::testing::Test {
protected:
    DisplayFixture();
    ~DisplayFixture() override;

    // Creates the band from the registry values written so far in a parent whose client area
    // is width x height, shows it and lets it paint.
    void open(int width = 300, int height = 23);
    // What the player's reload record does: release, read the settings again, repaint.
    void reload();
    // Paints the band anew and reads back what it shows.
    testing_support::Capture paint();

    // The time box's outer rectangle as the last paint left it (from the regions).
    RECT timeBox(const testing_support::Capture& capture) const;

    testing_support::VendorKeyScratch scratch;
    ScratchFolder skins;
    std::unique_ptr<testing_support::TestWindow> parent;
    DeskBand* band = nullptr;
};

}  // namespace display_tests
