// Long runs of the band's ordinary work, measured for what they leave behind: GDI objects
// (by how many more the process can still make), windows (by enumeration), band objects, and
// the handles each reload and close must have freed.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "band/core/DeskBand.h"
#include "band/core/PlayerStatus.h"
#include "tests/reliability/BandOnScreen.h"
#include "tests/reliability/Figures.h"
#include "tests/reliability/HandleCensus.h"
#include "tests/support/Registry.h"
#include "tests/support/Windows.h"
#include "tools/BandSite.h"

namespace {

using namespace reliability;
using testing_support::pumpMessages;
using testing_support::TestWindow;

constexpr int kPaints = 20000;
constexpr int kReloads = 1000;
constexpr int kCycles = 500;

// A folder of the prefix's temp path with a skin strip and three backgrounds, so that every
// reload has real bitmaps, DCs, an image list and a font to release and make again.
class SkinFolder {
public:
    SkinFolder() {
        char temp[MAX_PATH];
        GetTempPathA(sizeof temp, temp);
        path_ = std::string(temp) + "strappa-soak-" + std::to_string(GetCurrentProcessId());
        CreateDirectoryA(path_.c_str(), nullptr);
        CreateDirectoryA((path_ + "\\StrappaSkins").c_str(), nullptr);
        writeBitmap(file("StrappaSkins\\soak.bmp"), 64, 16, 0x008080);
        writeBitmap(file("band.bmp"), 30, 10, 0x2040A0);
        writeBitmap(file("track.bmp"), 20, 8, 0x40A020);
        writeBitmap(file("time.bmp"), 12, 6, 0xA02040);
    }
    ~SkinFolder() {
        for (const char* name : {"StrappaSkins\\soak.bmp", "band.bmp", "track.bmp", "time.bmp"}) {
            DeleteFileA(file(name).c_str());
        }
        RemoveDirectoryA(file("StrappaSkins").c_str());
        RemoveDirectoryA(path_.c_str());
    }
    const std::string& path() const { return path_; }
    std::string file(const std::string& name) const { return path_ + "\\" + name; }

private:
    static void writeBitmap(const std::string& path, int width, int height, uint32_t colour) {
        testing_support::Capture image;
        image.width = width;
        image.height = height;
        image.pixels.assign(static_cast<size_t>(width) * height, colour);
        for (int x = 0; x < width; ++x) image.pixels[static_cast<size_t>(height / 2) * width + x] = 0;
        ASSERT_TRUE(testing_support::saveBitmap(image, path));
    }
    std::string path_;
};

class Soak : public ::testing::Test {
protected:
    Soak() : player(40, 20, "Soak player", 700, 700) {
        testing_support::createKey(kPluginKey);
        testing_support::setString(kPluginKey, "SkinPath", "soak");
        testing_support::setString(kPluginKey, "DeskBandBmp", skins.file("band.bmp"));
        testing_support::setString(kPluginKey, "TrackBmp", skins.file("track.bmp"));
        testing_support::setString(kPluginKey, "TimeBmp", skins.file("time.bmp"));
        testing_support::setDword(kPluginKey, "BitmapTrack", 1);
        testing_support::setDword(kPluginKey, "BitmapTime", 1);
        resetPlayerStatus();
        std::snprintf(playerStatus.skinBaseDir, sizeof playerStatus.skinBaseDir, "%s",
                      skins.path().c_str());
        parkCursor();
    }

    // Everything a paint, a reload and a close must give back, as live handles now.
    static std::vector<HGDIOBJ> skinHandles(const DeskBand& band) {
        std::vector<HGDIOBJ> handles{band.font};
        for (int slot = 0; slot < kSkinSlots; ++slot) {
            handles.push_back(band.skinBitmaps[slot]);
            if (band.skinDCs[slot]) {
                handles.push_back(band.skinDCs[slot]->dc);
                handles.push_back(band.skinDCs[slot]->bitmap);
            }
        }
        return handles;
    }

    static size_t stillAlive(const std::vector<HGDIOBJ>& handles) {
        size_t alive = 0;
        for (HGDIOBJ handle : handles) alive += isGdiObject(handle);
        return alive;
    }

    // The system's own caches (fonts, stock objects, the tooltip's) settle before counting.
    void warmUp(ShownBand& band) {
        for (int i = 0; i < 20; ++i) {
            band.send(4, skinDir().c_str(), static_cast<DWORD>(skinDir().size() + 1),
                      player.handle());
            SendMessageA(band.window(), WM_MOUSEMOVE, 0, MAKELPARAM(i * 20, 11));
            band.paint();
        }
        SendMessageA(band.window(), WM_MOUSELEAVE, 0, 0);
        band.paint();
        pumpMessages(20);
        ASSERT_NE(nullptr, band->skinBitmaps[kSkinTrack]) << "the soak runs with real backgrounds";
    }

    std::string skinDir() const { return skins.path(); }

    testing_support::VendorKeyScratch scratch;
    SkinFolder skins;
    TestWindow player;
};

// Counts before and after a run of work, printed as figures under `phase`.
class Census {
public:
    explicit Census(std::string phase)
        : phase_(std::move(phase)), gdi_(freeGdiSlots()), windows_(processWindows()),
          objects_(objectCount) {}

    void finish(size_t survivors) {
        const size_t gdi = freeGdiSlots();
        const size_t windows = processWindows();
        reportFigure(phase_ + ": free GDI slots before / after",
                     std::to_string(gdi_) + " / " + std::to_string(gdi));
        reportFigure(phase_ + ": process windows before / after",
                     std::to_string(windows_) + " / " + std::to_string(windows));
        reportFigure(phase_ + ": released GDI handles still valid", static_cast<long long>(survivors));
        EXPECT_EQ(gdi_, gdi) << "GDI objects leaked: " << static_cast<long long>(gdi_ - gdi);
        EXPECT_EQ(windows_, windows);
        EXPECT_EQ(objects_, objectCount);
        EXPECT_EQ(0u, survivors);
    }

private:
    std::string phase_;
    size_t gdi_;
    size_t windows_;
    LONG objects_;
};

// The measure itself: it must see a handful of objects come and go.
TEST(HandleCensus, SeesEveryGdiObjectAndWindowTheProcessKeeps) {
    const size_t slots = freeGdiSlots();
    std::vector<HGDIOBJ> kept;
    for (int i = 0; i < 7; ++i) kept.push_back(CreatePen(PS_SOLID, 1, RGB(i, 0, 0)));
    EXPECT_EQ(slots - 7, freeGdiSlots());
    for (HGDIOBJ object : kept) DeleteObject(object);
    EXPECT_EQ(slots, freeGdiSlots());

    // The thread's first window also brings the system's helper windows; count after it.
    TestWindow parent(50, 20, "Census parent");
    const size_t windows = processWindows();
    HWND child = CreateWindowExA(0, "STATIC", "", WS_CHILD, 0, 0, 5, 5, parent.handle(), nullptr,
                                 nullptr, nullptr);
    HWND popup = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 5, 5, parent.handle(), nullptr,
                                 nullptr, nullptr);
    ASSERT_NE(nullptr, child);
    ASSERT_NE(nullptr, popup);
    EXPECT_EQ(windows + 2, processWindows());
    DestroyWindow(popup);
    DestroyWindow(child);
    EXPECT_EQ(windows, processWindows());
}

TEST_F(Soak, TwentyThousandPaintsWithHoverAndRecordsBetween) {
    ShownBand band(420, 23);
    band.send(9, "x", 1, player.handle());
    warmUp(band);
    Census census("soak, paints");

    const DWORD start = GetTickCount();
    int32_t times[4] = {0, 300, 0, -3600};
    for (int i = 0; i < kPaints; ++i) {
        const int x = (i * 37) % 420;
        SendMessageA(band.window(), WM_MOUSEMOVE, 0, MAKELPARAM(x, 11));
        if (i % 3 == 0) {
            times[0] = i % 300;
            times[2] = i;
            band.send(3, times, sizeof times, player.handle());
        }
        if (i % 50 == 0) band.send(2, "Previous song", 14, player.handle());
        if (i % 97 == 0) SendMessageA(band.window(), WM_MOUSELEAVE, 0, 0);
        InvalidateRect(band.window(), nullptr, FALSE);
        UpdateWindow(band.window());
    }
    const DWORD elapsed = GetTickCount() - start;
    SendMessageA(band.window(), WM_MOUSELEAVE, 0, 0);
    pumpMessages(20);
    reportFigure("soak paints", kPaints);
    reportFigure("soak paints per second", elapsed ? kPaints * 1000LL / elapsed : kPaints);
    census.finish(0);
}

TEST_F(Soak, AThousandReloadsFreeWhatEachPaintMade) {
    ShownBand band(420, 23);
    band.send(9, "x", 1, player.handle());
    warmUp(band);
    Census census("soak, reloads");

    size_t survivors = 0;
    for (int i = 0; i < kReloads; ++i) {
        const std::vector<HGDIOBJ> made = skinHandles(*band.get());
        band.send(4, skinDir().c_str(), static_cast<DWORD>(skinDir().size() + 1), player.handle());
        survivors += stillAlive(made);
        InvalidateRect(band.window(), nullptr, FALSE);
        UpdateWindow(band.window());
    }
    ASSERT_NE(nullptr, band->skinBitmaps[kSkinTime]);
    reportFigure("soak reload records", kReloads);
    census.finish(survivors);
}

TEST_F(Soak, FiveHundredSiteShowCloseCyclesOnOneObjectAndOnNewOnes) {
    ShownBand band(420, 23);
    warmUp(band);
    DeskBand* object = band.get();
    HWND host = object->hwndParent;
    object->CloseDW(0);
    Census census("soak, cycles");

    size_t survivors = 0;
    for (int i = 0; i < kCycles; ++i) {
        auto* site = new BandSite(host);
        object->SetSite(static_cast<IOleWindow*>(site));
        site->Release();
        object->ShowDW(TRUE);
        UpdateWindow(object->hwnd);
        const std::vector<HGDIOBJ> made = skinHandles(*object);
        object->CloseDW(0);
        survivors += stillAlive(made);
        object->SetSite(nullptr);
    }
    // New objects, released without a close every other time.
    for (int i = 0; i < kCycles; ++i) {
        auto* fresh = new DeskBand;
        auto* site = new BandSite(host);
        fresh->SetSite(static_cast<IOleWindow*>(site));
        site->Release();
        fresh->ShowDW(TRUE);
        UpdateWindow(fresh->hwnd);
        const std::vector<HGDIOBJ> made = skinHandles(*fresh);
        if (i % 2 == 0) fresh->CloseDW(0);
        fresh->SetSite(nullptr);
        fresh->Release();
        survivors += stillAlive(made);
    }
    pumpMessages(20);
    reportFigure("soak site/show/close cycles on one object", kCycles);
    reportFigure("soak site/show/close cycles on new objects", kCycles);
    census.finish(survivors);
}

}  // namespace
