#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "band/settings/BandSettings.h"
#include "tests/support/Registry.h"

namespace {

using testing_support::setDword;
using testing_support::setRaw;
using testing_support::setString;

const std::string kMain = "Software\\Vantorel\\Strappa Plugin";
const std::string kButtons = kMain + "\\Buttons";

std::vector<uint8_t> bytes(const std::string& text) { return {text.begin(), text.end()}; }

struct Loaded {
    BandSettings settings;
    int32_t timeMode;
};

class LoadSettingsTest : public ::testing::Test {
protected:
    // A new band starts with time mode 2; the record starts as the module leaves it.
    Loaded load(int32_t timeMode = 2) {
        Loaded loaded;
        loaded.settings.reset();
        loaded.timeMode = timeMode;
        LoadSettings(loaded.settings, loaded.timeMode);
        return loaded;
    }

    testing_support::VendorKeyScratch scratch;
};

using Buttons = std::vector<std::pair<int32_t, int32_t>>;  // {function, image}

Buttons buttonsOf(const BandSettings& settings) {
    Buttons list;
    for (const ButtonDef& button : settings.buttons) list.push_back({button.function, button.image});
    return list;
}

const Buttons kFixedButtons = {{0, 0}, {1, 1}, {2, 2}, {3, 3}, {4, 4}, {5, 5}, {6, 6}, {7, 7}};

TEST_F(LoadSettingsTest, EmptyMainKeyGivesEveryDefault) {
    testing_support::createKey(kMain);
    std::strcpy(playerCommand, "left over");
    Loaded loaded = load(3);
    const BandSettings& s = loaded.settings;
    EXPECT_EQ(0, s.ClickMode);
    EXPECT_STREQ("<pant>", s.SkinPath);
    EXPECT_STREQ("Tahoma", s.FontFace);
    EXPECT_STREQ("", s.DeskBandBmp);
    EXPECT_STREQ("", s.TrackBmp);
    EXPECT_STREQ("", s.TimeBmp);
    for (int i = 0; i < kCustomDescriptionCount; ++i) {
        EXPECT_STREQ("Custom Command", s.CustomDescription[i]) << i;
    }
    EXPECT_EQ(0xC0C0C0u, s.TimeColour);
    EXPECT_EQ(0u, s.TextColour);
    EXPECT_EQ(0xFFFFFFu, s.BackgroundColour);
    EXPECT_EQ(80, s.FontSize);
    EXPECT_EQ(400, s.FontWeight);
    EXPECT_EQ(1, s.Orientation);
    EXPECT_TRUE(s.bDeskBandIcons);
    EXPECT_FALSE(s.FontItalic);
    EXPECT_TRUE(s.Scroll);
    EXPECT_TRUE(s.bPlaylistProgress);
    EXPECT_TRUE(s.DisplayTime);
    EXPECT_TRUE(s.DisplayTrack);
    EXPECT_TRUE(s.bTrackProgress);
    EXPECT_TRUE(s.BitmapDeskband);
    EXPECT_FALSE(s.BitmapTrack);
    EXPECT_FALSE(s.BitmapTime);
    EXPECT_EQ(2, loaded.timeMode);
    EXPECT_STREQ("", playerCommand);
    EXPECT_EQ(kFixedButtons, buttonsOf(s));
}

TEST_F(LoadSettingsTest, MissingMainKeyLeavesTheRecordResetAndTheRestAlone) {
    std::strcpy(playerCommand, "player.exe");
    Loaded loaded;
    loaded.settings.reset();
    loaded.settings.buttons.push_back({1, 1});
    loaded.settings.FontSize = 99;
    loaded.settings.Scroll = true;
    std::strcpy(loaded.settings.FontFace, "Courier");
    loaded.timeMode = 3;
    LoadSettings(loaded.settings, loaded.timeMode);
    EXPECT_TRUE(loaded.settings.buttons.empty());
    EXPECT_EQ(0, loaded.settings.FontSize);
    EXPECT_FALSE(loaded.settings.Scroll);
    EXPECT_FALSE(loaded.settings.DisplayTime);
    EXPECT_FALSE(loaded.settings.bDeskBandIcons);
    EXPECT_STREQ("", loaded.settings.FontFace);
    EXPECT_EQ(3, loaded.timeMode);
    EXPECT_STREQ("player.exe", playerCommand);
}

struct ValueCase {
    const char* label;
    std::function<void()> write;
    std::function<void(const Loaded&)> check;
};

TEST_F(LoadSettingsTest, ValuesOfEveryShapeReadAsStoredOrFallBack) {
    const std::string s49(49, 'd');
    const std::string s50(50, 'e');
    const std::vector<ValueCase> cases = {
        {"number as REG_DWORD", [] { setDword(kMain, "FontSize", 120); },
         [](const Loaded& l) { EXPECT_EQ(120, l.settings.FontSize); }},
        {"number from one byte of binary fills the low byte",
         [] { setRaw(kMain, "FontWeight", REG_BINARY, {0x07}); },
         [](const Loaded& l) { EXPECT_EQ(7, l.settings.FontWeight); }},
        {"number from five bytes gives the default",
         [] { setRaw(kMain, "FontSize", REG_BINARY, {1, 2, 3, 4, 5}); },
         [](const Loaded& l) { EXPECT_EQ(80, l.settings.FontSize); }},
        {"colour", [] { setDword(kMain, "TextColour", 0x00123456); },
         [](const Loaded& l) { EXPECT_EQ(0x00123456u, l.settings.TextColour); }},
        {"negative orientation", [] { setDword(kMain, "Orientation", 0xFFFFFFFF); },
         [](const Loaded& l) { EXPECT_EQ(-1, l.settings.Orientation); }},
        {"flag DWORD 1 is true", [] { setDword(kMain, "FontItalic", 1); },
         [](const Loaded& l) { EXPECT_TRUE(l.settings.FontItalic); }},
        {"flag DWORD 2 is false", [] { setDword(kMain, "Scroll", 2); },
         [](const Loaded& l) { EXPECT_FALSE(l.settings.Scroll); }},
        {"flag DWORD 0 is false", [] { setDword(kMain, "DisplayTrack", 0); },
         [](const Loaded& l) { EXPECT_FALSE(l.settings.DisplayTrack); }},
        {"flag REG_SZ \"1\" is false", [] { setString(kMain, "bDeskBandIcons", "1"); },
         [](const Loaded& l) { EXPECT_FALSE(l.settings.bDeskBandIcons); }},
        {"flag one-byte binary 01 is true",
         [] { setRaw(kMain, "BitmapTime", REG_BINARY, {0x01}); },
         [](const Loaded& l) { EXPECT_TRUE(l.settings.BitmapTime); }},
        {"flag one-byte binary 00 over a true default is false",
         [] { setRaw(kMain, "bTrackProgress", REG_BINARY, {0x00}); },
         [](const Loaded& l) { EXPECT_FALSE(l.settings.bTrackProgress); }},
        {"flag of five bytes gives the default",
         [] { setRaw(kMain, "DisplayTime", REG_BINARY, {0, 0, 0, 0, 0}); },
         [](const Loaded& l) { EXPECT_TRUE(l.settings.DisplayTime); }},
        {"49-character description stays whole",
         [&] { setString(kMain, "CustomDescription0", s49); },
         [&](const Loaded& l) { EXPECT_EQ(s49, l.settings.CustomDescription[0]); }},
        {"50-character description gives the default",
         [&] { setString(kMain, "CustomDescription49", s50); },
         [](const Loaded& l) { EXPECT_STREQ("Custom Command", l.settings.CustomDescription[49]); }},
        {"description filling its field without terminator (binary) gives the default",
         [&] { setRaw(kMain, "CustomDescription2", REG_BINARY, bytes(s50)); },
         [](const Loaded& l) { EXPECT_STREQ("Custom Command", l.settings.CustomDescription[2]); }},
        {"description filling its field without terminator (bare REG_SZ) gives the default",
         [&] { setRaw(kMain, "CustomDescription3", REG_SZ, bytes(s50)); },
         [](const Loaded& l) { EXPECT_STREQ("Custom Command", l.settings.CustomDescription[3]); }},
        {"99-character face stays whole", [] { setString(kMain, "FontFace", std::string(99, 'f')); },
         [](const Loaded& l) { EXPECT_EQ(std::string(99, 'f'), l.settings.FontFace); }},
        {"100-character face gives Tahoma",
         [] { setString(kMain, "FontFace", std::string(100, 'f')); },
         [](const Loaded& l) { EXPECT_STREQ("Tahoma", l.settings.FontFace); }},
        {"260-character skin name gives the default",
         [] { setString(kMain, "SkinPath", std::string(260, 's')); },
         [](const Loaded& l) { EXPECT_STREQ("<pant>", l.settings.SkinPath); }},
        {"bitmap paths", [] {
             setString(kMain, "DeskBandBmp", "C:\\a.bmp");
             setString(kMain, "TrackBmp", "C:\\b.bmp");
             setString(kMain, "TimeBmp", "C:\\c.bmp");
         },
         [](const Loaded& l) {
             EXPECT_STREQ("C:\\a.bmp", l.settings.DeskBandBmp);
             EXPECT_STREQ("C:\\b.bmp", l.settings.TrackBmp);
             EXPECT_STREQ("C:\\c.bmp", l.settings.TimeBmp);
         }},
        {"player command", [] { setString(kMain, "Player", "C:\\zax\\zax.exe /min"); },
         [](const Loaded&) { EXPECT_STREQ("C:\\zax\\zax.exe /min", playerCommand); }},
        {"time mode 3", [] { setDword(kMain, "DisplayPlayListBandMode", 3); },
         [](const Loaded& l) { EXPECT_EQ(3, l.timeMode); }},
        {"time mode 0", [] { setDword(kMain, "DisplayPlayListBandMode", 0); },
         [](const Loaded& l) { EXPECT_EQ(0, l.timeMode); }},
        {"time mode 7 names no counter: 2", [] { setDword(kMain, "DisplayPlayListBandMode", 7); },
         [](const Loaded& l) { EXPECT_EQ(2, l.timeMode); }},
        {"time mode -1 names no counter: 2",
         [] { setDword(kMain, "DisplayPlayListBandMode", 0xFFFFFFFF); },
         [](const Loaded& l) { EXPECT_EQ(2, l.timeMode); }},
    };
    for (const ValueCase& c : cases) {
        SCOPED_TRACE(c.label);
        testing_support::deleteTree("Software\\Vantorel");
        testing_support::createKey(kMain);
        c.write();
        c.check(load(3));
    }
}

struct ButtonCase {
    const char* label;
    std::function<void()> write;
    Buttons expected;
};

TEST_F(LoadSettingsTest, ButtonListFollowsTheButtonKey) {
    Buttons withoutThree = kFixedButtons;
    withoutThree.erase(withoutThree.begin() + 3);
    Buttons withTwelve = kFixedButtons;
    withTwelve.push_back({100, 4});
    Buttons customFirst = kFixedButtons;
    customFirst[0] = {9, 0};
    Buttons lastSlot = kFixedButtons;
    lastSlot.push_back({12, 5});
    lastSlot.push_back({57, 2});

    const std::vector<ButtonCase> cases = {
        {"no button key", [] {}, kFixedButtons},
        {"empty button key", [] { testing_support::createKey(kButtons); }, kFixedButtons},
        {"Image3 = -1 drops the Stop button", [] { setDword(kButtons, "Image3", 0xFFFFFFFF); },
         withoutThree},
        {"Image12 = 4 without Function12", [] { setDword(kButtons, "Image12", 4); }, withTwelve},
        {"Function0 = 9", [] { setDword(kButtons, "Function0", 9); }, customFirst},
        {"Function8 without Image8 stays out, registry order kept",
         [] {
             setDword(kButtons, "Function8", 30);
             setDword(kButtons, "Image99", 2);
             setDword(kButtons, "Function99", 57);
             setDword(kButtons, "Image20", 5);
             setDword(kButtons, "Function20", 12);
         },
         lastSlot},
    };
    for (const ButtonCase& c : cases) {
        SCOPED_TRACE(c.label);
        testing_support::deleteTree("Software\\Vantorel");
        testing_support::createKey(kMain);
        c.write();
        EXPECT_EQ(c.expected, buttonsOf(load().settings));
    }
}

TEST_F(LoadSettingsTest, ReloadStartsFromNothing) {
    testing_support::createKey(kMain);
    setDword(kButtons, "Image40", 1);
    setString(kMain, "SkinPath", "a-long-skin-name");
    setDword(kMain, "FontItalic", 1);

    Loaded loaded = load();
    Buttons first = buttonsOf(loaded.settings);
    LoadSettings(loaded.settings, loaded.timeMode);
    EXPECT_EQ(first, buttonsOf(loaded.settings));
    EXPECT_EQ(9u, loaded.settings.buttons.size());

    // A shorter, bare text over a longer one must not show the old tail.
    setRaw(kMain, "SkinPath", REG_BINARY, bytes("xy"));
    testing_support::deleteValue(kMain, "FontItalic");
    LoadSettings(loaded.settings, loaded.timeMode);
    EXPECT_STREQ("xy", loaded.settings.SkinPath);
    EXPECT_FALSE(loaded.settings.FontItalic);
}

// The readers on their own: one query, the type ignored, short data over what was there.
TEST_F(LoadSettingsTest, ReadersKeepUntouchedBytesAndTerminateBareText) {
    setRaw(kMain, "one", REG_BINARY, {0x55});
    setRaw(kMain, "bare", REG_BINARY, bytes("abc"));
    HKEY key = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExA(HKEY_CURRENT_USER, kMain.c_str(), 0, KEY_READ, &key));

    int32_t number = 0x11223344;
    ReadNumberValue(key, "one", &number, 9);
    EXPECT_EQ(0x11223355, number);
    ReadNumberValue(key, "missing", &number, 9);
    EXPECT_EQ(9, number);

    char text[10];
    std::memset(text, 'x', sizeof text);
    ReadStringValue(key, "bare", text, sizeof text, "dflt");
    EXPECT_STREQ("abc", text);
    ReadStringValue(key, "missing", text, sizeof text, "dflt");
    EXPECT_STREQ("dflt", text);

    bool flag = false;
    ReadFlagValue(key, "missing", &flag, true);
    EXPECT_TRUE(flag);
    RegCloseKey(key);
}

}  // namespace
