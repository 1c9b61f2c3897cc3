// The shell, or a careless host, calling the band in orders it should not: closing twice,
// dropping the site or the object early, losing the parent window, reloading under the pointer.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>

#include "band/core/DeskBand.h"
#include "band/core/PlayerStatus.h"
#include "tests/reliability/BandOnScreen.h"
#include "tests/reliability/HandleCensus.h"
#include "tests/support/Registry.h"
#include "tests/support/Windows.h"
#include "tools/BandSite.h"

namespace {

using namespace reliability;
using testing_support::pumpMessages;
using testing_support::TestWindow;

// Every message the band window handles, with harmless arguments.
void sendEverything(HWND window, HWND sender) {
    int32_t times[4] = {10, 100, 20, -40};
    COPYDATASTRUCT records[] = {{0, 1, times}, {3, sizeof times, times}, {2, 4, (void*)"abc"},
                                {4, 1, (void*)""}, {5, 1, times}};
    for (COPYDATASTRUCT& record : records) {
        SendMessageA(window, WM_COPYDATA, reinterpret_cast<WPARAM>(sender),
                     reinterpret_cast<LPARAM>(&record));
    }
    SendMessageA(window, WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
    SendMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    SendMessageA(window, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    SendMessageA(window, WM_MOUSELEAVE, 0, 0);
    SendMessageA(window, WM_SETFOCUS, 0, 0);
    SendMessageA(window, WM_KILLFOCUS, 0, 0);
    InvalidateRect(window, nullptr, FALSE);
    UpdateWindow(window);
    pumpMessages(0);
}

class Lifecycle : public ::testing::Test {
protected:
    Lifecycle() : parent(400, 23, "Lifecycle parent"), player(40, 20, "Lifecycle player", 700, 700) {
        testing_support::createKey(kPluginKey);
        resetPlayerStatus();
        parkCursor();
    }

    // A band placed on `host` as the shell does it, shown and painted once.
    IDeskBand* openBand(HWND host) {
        auto* band = new DeskBand;
        auto* site = new BandSite(host);
        EXPECT_EQ(S_OK, band->SetSite(static_cast<IOleWindow*>(site)));
        site->Release();
        fitBandWindow(band, host);
        band->ShowDW(TRUE);
        HWND window = nullptr;
        band->GetWindow(&window);
        if (window) UpdateWindow(window);
        pumpMessages(0);
        return band;
    }

    testing_support::VendorKeyScratch scratch;
    TestWindow parent;
    TestWindow player;
};

TEST_F(Lifecycle, CloseTwiceFreesEverythingOnce) {
    IDeskBand* band = openBand(parent.handle());
    auto* object = static_cast<DeskBand*>(band);
    HWND window = object->hwnd;
    HWND tooltip = object->tooltipWindow();
    HGDIOBJ font = object->font;
    ASSERT_TRUE(isGdiObject(font)) << "the first paint made the font";
    EXPECT_EQ(S_OK, band->CloseDW(0));
    EXPECT_FALSE(IsWindow(window));
    EXPECT_FALSE(IsWindow(tooltip));
    EXPECT_FALSE(isGdiObject(font));
    const size_t slots = freeGdiSlots();
    EXPECT_EQ(S_OK, band->CloseDW(0));
    EXPECT_EQ(slots, freeGdiSlots());
    HWND none = reinterpret_cast<HWND>(1);
    EXPECT_EQ(S_OK, band->GetWindow(&none));
    EXPECT_EQ(nullptr, none);
    EXPECT_EQ(S_OK, band->ShowDW(TRUE));
    EXPECT_EQ(0u, band->Release());
}

TEST_F(Lifecycle, WindowKeepsWorkingAfterTheSiteIsDropped) {
    IDeskBand* band = openBand(parent.handle());
    auto* object = static_cast<DeskBand*>(band);
    IObjectWithSite* withSite = nullptr;
    ASSERT_EQ(S_OK, band->QueryInterface(IID_IObjectWithSite, reinterpret_cast<void**>(&withSite)));
    EXPECT_EQ(S_OK, withSite->SetSite(nullptr));
    ASSERT_TRUE(IsWindow(object->hwnd));
    sendEverything(object->hwnd, player.handle());
    EXPECT_TRUE(IsWindow(object->hwnd));
    void* site = reinterpret_cast<void*>(1);
    EXPECT_EQ(E_FAIL, withSite->GetSite(IID_IUnknown, &site));
    EXPECT_EQ(nullptr, site);
    withSite->Release();
    band->CloseDW(0);
    EXPECT_EQ(0u, band->Release());
}

TEST_F(Lifecycle, LastReleaseWithoutCloseTakesTheWindowAlong) {
    const LONG objectsBefore = objectCount;
    const size_t windowsBefore = processWindows();
    IDeskBand* band = openBand(parent.handle());
    auto* object = static_cast<DeskBand*>(band);
    HWND window = object->hwnd;
    HWND tooltip = object->tooltipWindow();
    HGDIOBJ font = object->font;
    EXPECT_EQ(0u, band->Release());
    EXPECT_EQ(objectsBefore, objectCount);
    EXPECT_FALSE(IsWindow(window));
    EXPECT_FALSE(IsWindow(tooltip));
    EXPECT_FALSE(isGdiObject(font));
    EXPECT_EQ(windowsBefore, processWindows());
    // Whatever still holds the old handle reaches nothing.
    sendEverything(window, player.handle());
    EXPECT_EQ(windowsBefore, processWindows());
}

TEST_F(Lifecycle, BandOutlivingItsParentWindowGetsANewWindowFromTheNextSite) {
    auto host = std::make_unique<TestWindow>(400, 23, "Doomed host");
    IDeskBand* band = openBand(host->handle());
    auto* object = static_cast<DeskBand*>(band);
    HWND window = object->hwnd;
    host.reset();  // the taskbar goes away before it closes the band
    EXPECT_FALSE(IsWindow(window));
    sendEverything(window, player.handle());

    auto* site = new BandSite(parent.handle());
    EXPECT_EQ(S_OK, object->SetSite(static_cast<IOleWindow*>(site)));
    site->Release();
    HWND next = nullptr;
    band->GetWindow(&next);
    ASSERT_TRUE(IsWindow(next)) << "a site that succeeded gives the band a real window";
    EXPECT_EQ(parent.handle(), GetParent(next));
    band->ShowDW(TRUE);
    sendEverything(next, player.handle());
    EXPECT_TRUE(IsWindow(next));
    band->CloseDW(0);
    EXPECT_FALSE(IsWindow(next));
    EXPECT_EQ(0u, band->Release());
}

TEST_F(Lifecycle, ReloadUnderAHoveredPressedButtonThatDisappears) {
    ShownBand band(400, 23);
    band.send(9, "x", 1, player.handle());  // adopt a player so presses post
    const testing_support::Capture before = band.paint();
    // Hover and press the last of the eight buttons at its real place.
    const int x = band->buttonsLeft + kButtonCell * 7 + 5;
    POINT screen{x, 10};
    ClientToScreen(band.window(), &screen);
    SetCursorPos(screen.x, screen.y);
    SendMessageA(band.window(), WM_MOUSEMOVE, 0, MAKELPARAM(x, 10));
    SendMessageA(band.window(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, 10));
    ASSERT_EQ(7, band->hoverIndex);
    ASSERT_TRUE(band->pressed);

    // The player cuts the list to two buttons and hides the strip's neighbour, mid-press.
    for (int i = 2; i < 8; ++i) {
        testing_support::setDword(kButtonsKey, "Image" + std::to_string(i), 0xFFFFFFFF);
    }
    band.send(4, "", 1, player.handle());
    ASSERT_EQ(2u, bandSettings.buttons.size());
    band.send(2, "previous", 9, player.handle());  // tooltip refresh for the vanished button
    SendMessageA(band.window(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, 10));
    SendMessageA(band.window(), WM_LBUTTONUP, 0, MAKELPARAM(x, 10));
    SendMessageA(band.window(), WM_MOUSEMOVE, 0, MAKELPARAM(x + 1, 10));
    const testing_support::Capture after = band.paint();
    EXPECT_TRUE(IsWindow(band.window()));
    EXPECT_EQ(2 * kButtonCell, band->buttonsRight - band->buttonsLeft);
    EXPECT_NE(before.pixels, after.pixels);
    SendMessageA(band.window(), WM_MOUSELEAVE, 0, 0);
    EXPECT_EQ(kHoverNothing, band->hoverIndex);
    EXPECT_FALSE(band->pressed);

    // And the strip switched off entirely while a button is held.
    SendMessageA(band.window(), WM_MOUSEMOVE, 0, MAKELPARAM(band->buttonsLeft + 2, 10));
    SendMessageA(band.window(), WM_LBUTTONDOWN, MK_LBUTTON, 0);
    testing_support::setDword(kPluginKey, "bDeskBandIcons", 0);
    band.send(4, "", 1, player.handle());
    band.paint();
    EXPECT_EQ(band->buttonsLeft, band->buttonsRight);
    SendMessageA(band.window(), WM_LBUTTONUP, 0, 0);
    EXPECT_TRUE(IsWindow(band.window()));
    parkCursor();
}

}  // namespace
