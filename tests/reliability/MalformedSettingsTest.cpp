// Settings values as any per-user program could leave them: the wrong type, no data, odd
// lengths, texts without terminators, far too long, numbers at their extremes. Each is loaded
// by a reload record and painted; each must give its default or a sane band.
#include <gtest/gtest.h>

#include <windows.h>

#include <climits>
#include <cstring>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include "band/core/DeskBand.h"
#include "band/core/PlayerStatus.h"
#include "tests/reliability/BandOnScreen.h"
#include "tests/reliability/Figures.h"
#include "tests/support/Registry.h"
#include "tests/support/Windows.h"

namespace {

using namespace reliability;
using testing_support::Capture;
using Bytes = std::vector<uint8_t>;

enum class Kind { Number, Flag, Text };

// A settings value, where its loaded form lands, and its default.
struct Setting {
    const char* key;
    std::string name;
    Kind kind;
    size_t size;  // field size in bytes for texts
    std::function<int64_t(const DeskBand&)> number;
    std::function<const char*()> text;
    int64_t numberDefault;
    const char* textDefault;
};

struct Shape {
    const char* name;
    DWORD type;
    std::function<Bytes(const Setting&)> data;
};

Bytes filled(size_t size, uint8_t byte) { return Bytes(size, byte); }

const ButtonDef* buttonWithImage(int32_t image) {
    for (const ButtonDef& button : bandSettings.buttons) {
        if (button.image == image) return &button;
    }
    return nullptr;
}

std::vector<Setting> settingsTable() {
    auto text = [](const char* name, size_t size, const char* fallback,
                   std::function<const char*()> field) {
        return Setting{kPluginKey, name, Kind::Text, size, nullptr, std::move(field), 0, fallback};
    };
    auto number = [](const char* name, int64_t fallback,
                     std::function<int64_t(const DeskBand&)> field) {
        return Setting{kPluginKey, name, Kind::Number, 4, std::move(field), nullptr, fallback, ""};
    };
    auto flag = [](const char* name, bool fallback, std::function<bool()> field) {
        return Setting{kPluginKey, name, Kind::Flag, 4,
                       [field](const DeskBand&) -> int64_t { return field(); }, nullptr,
                       fallback, ""};
    };
    BandSettings& s = bandSettings;
    std::vector<Setting> table = {
        text("CustomDescription0", 50, "Custom Command", [&s] { return s.CustomDescription[0]; }),
        text("CustomDescription49", 50, "Custom Command", [&s] { return s.CustomDescription[49]; }),
        text("SkinPath", MAX_PATH, "<pant>", [&s] { return s.SkinPath; }),
        text("FontFace", 100, "Tahoma", [&s] { return s.FontFace; }),
        text("DeskBandBmp", MAX_PATH, "", [&s] { return s.DeskBandBmp; }),
        text("TrackBmp", MAX_PATH, "", [&s] { return s.TrackBmp; }),
        text("TimeBmp", MAX_PATH, "", [&s] { return s.TimeBmp; }),
        text("Player", MAX_PATH, "", [] { return playerCommand; }),
        number("ClickMode", 0, [&s](const DeskBand&) { return s.ClickMode; }),
        number("TextColour", 0, [&s](const DeskBand&) { return int32_t(s.TextColour); }),
        number("TimeColour", 0xC0C0C0, [&s](const DeskBand&) { return int32_t(s.TimeColour); }),
        number("BackgroundColour", 0xFFFFFF,
               [&s](const DeskBand&) { return int32_t(s.BackgroundColour); }),
        number("FontSize", 80, [&s](const DeskBand&) { return s.FontSize; }),
        number("FontWeight", 400, [&s](const DeskBand&) { return s.FontWeight; }),
        number("Orientation", 1, [&s](const DeskBand&) { return s.Orientation; }),
        number("DisplayPlayListBandMode", 2, [](const DeskBand& band) { return band.timeMode; }),
        flag("DisplayTime", true, [&s] { return s.DisplayTime; }),
        flag("DisplayTrack", true, [&s] { return s.DisplayTrack; }),
        flag("FontItalic", false, [&s] { return s.FontItalic; }),
        flag("Scroll", true, [&s] { return s.Scroll; }),
        flag("bPlaylistProgress", true, [&s] { return s.bPlaylistProgress; }),
        flag("bTrackProgress", true, [&s] { return s.bTrackProgress; }),
        flag("bDeskBandIcons", true, [&s] { return s.bDeskBandIcons; }),
        flag("BitmapDeskband", true, [&s] { return s.BitmapDeskband; }),
        flag("BitmapTrack", false, [&s] { return s.BitmapTrack; }),
        flag("BitmapTime", false, [&s] { return s.BitmapTime; }),
    };
    // Button 3 keeps its place only with its default image; a malformed one must not bring
    // in a negative image.
    table.push_back(Setting{kButtonsKey, "Image3", Kind::Number, 4,
                            [](const DeskBand&) -> int64_t {
                                return bandSettings.buttons.size() == 8 ? bandSettings.buttons[3].image
                                                                        : -1;
                            },
                            nullptr, 3, ""});
    table.push_back(Setting{kButtonsKey, "Function5", Kind::Number, 4,
                            [](const DeskBand&) -> int64_t {
                                const ButtonDef* button = buttonWithImage(5);
                                return button ? button->function : INT64_MIN;
                            },
                            nullptr, 5, ""});
    return table;
}

// What a reader gives for `data`: the documented default for anything over four bytes (or,
// for texts, anything that does not fit with its terminator); short data lands in the low
// bytes of a zeroed number or of the flag's preset default.
int64_t expectedNumber(const Setting& setting, const Bytes& data, int32_t before) {
    if (data.size() > 4) return setting.numberDefault;
    uint32_t value = setting.kind == Kind::Flag ? static_cast<uint32_t>(setting.numberDefault)
                                                : static_cast<uint32_t>(before);
    std::memcpy(&value, data.data(), data.size());
    if (setting.kind == Kind::Flag) return value == 1;
    if (setting.name == "DisplayPlayListBandMode" && value > 3) return 2;  // never past the counters
    return static_cast<int32_t>(value);
}

std::string expectedText(const Setting& setting, const Bytes& data) {
    if (data.size() > setting.size) return setting.textDefault;
    if (data.size() == setting.size && data.back() != 0) return setting.textDefault;
    return std::string(reinterpret_cast<const char*>(data.data()), data.size()).c_str();
}

const std::vector<Shape>& shapes() {
    static const std::vector<Shape> table = {
        {"wrong type", 0,
         [](const Setting& s) {
             return s.kind == Kind::Text ? Bytes{'D', 'C', 'B', 'A'} : Bytes{'1', 0};
         }},
        {"no data", REG_BINARY, [](const Setting&) { return Bytes{}; }},
        {"five bytes", REG_BINARY, [](const Setting&) { return Bytes{1, 0, 0, 0, 7}; }},
        {"one short of the field, terminated", REG_SZ,
         [](const Setting& s) {
             Bytes data = filled(s.size, 'a');
             data.back() = 0;
             return data;
         }},
        {"field size, no terminator (binary)", REG_BINARY,
         [](const Setting& s) { return filled(s.size, 'b'); }},
        {"field size, no terminator (string)", REG_SZ,
         [](const Setting& s) { return filled(s.size, 'c'); }},
        {"far too long (binary)", REG_BINARY, [](const Setting&) { return filled(70000, 'd'); }},
        {"far too long (string)", REG_SZ,
         [](const Setting&) {
             Bytes data = filled(9000, 'e');
             data.back() = 0;
             return data;
         }},
    };
    return table;
}

template <size_t N>
bool terminated(const char (&text)[N]) {
    return std::memchr(text, '\0', N) != nullptr;
}

bool everyTextTerminated() {
    const BandSettings& s = bandSettings;
    for (const auto& description : s.CustomDescription) {
        if (!terminated(description)) return false;
    }
    return terminated(s.SkinPath) && terminated(s.FontFace) && terminated(s.DeskBandBmp) &&
           terminated(s.TrackBmp) && terminated(s.TimeBmp) && terminated(playerCommand);
}

size_t colours(const Capture& capture) {
    return std::set<uint32_t>(capture.pixels.begin(), capture.pixels.end()).size();
}

class MalformedSettings : public ::testing::Test {
protected:
    MalformedSettings() {
        testing_support::createKey(kPluginKey);
        resetPlayerStatus();
        parkCursor();
    }

    // Starts from an empty plug-in key, lets `write` put values in, and reloads.
    void reloadWith(const std::function<void()>& write) {
        testing_support::deleteTree(kPluginKey);
        testing_support::createKey(kPluginKey);
        write();
        band.send(4, "", 1, nullptr);
    }

    // The band after a load: alive, texts terminated, painted with more than one colour,
    // a time mode that names a counter, and a strip inside the band.
    void expectSaneBand(const std::string& what) {
        SCOPED_TRACE(what);
        const Capture capture = band.paint();
        ASSERT_TRUE(IsWindow(band.window()));
        EXPECT_TRUE(everyTextTerminated());
        EXPECT_GT(colours(capture), 1u);
        EXPECT_GE(band->timeMode, 0);
        EXPECT_LE(band->timeMode, 3);
        EXPECT_LE(band->buttonsLeft, band->buttonsRight);
        for (const ButtonDef& button : bandSettings.buttons) EXPECT_GE(button.image, 0);
    }

    testing_support::VendorKeyScratch scratch;
    ShownBand band{420, 23};
};

TEST_F(MalformedSettings, EveryValueInEveryBrokenShapeGivesItsDefaultOrWhatItHolds) {
    long long cases = 0;
    for (const Setting& setting : settingsTable()) {
        for (const Shape& shape : shapes()) {
            const bool textShape = std::strstr(shape.name, "field") != nullptr;
            if (textShape && setting.kind != Kind::Text) continue;
            const Bytes data = shape.data(setting);
            const DWORD type =
                shape.type ? shape.type : (setting.kind == Kind::Text ? REG_DWORD : REG_SZ);
            const std::string what = setting.name + ": " + shape.name;
            SCOPED_TRACE(what);
            const int32_t timeModeBefore = band->timeMode;
            reloadWith([&] { testing_support::setRaw(setting.key, setting.name, type, data); });
            if (setting.kind == Kind::Text) {
                EXPECT_EQ(expectedText(setting, data), setting.text());
            } else {
                EXPECT_EQ(expectedNumber(setting, data, setting.name == "DisplayPlayListBandMode"
                                                            ? timeModeBefore
                                                            : 0),
                          setting.number(*band.get()));
            }
            expectSaneBand(what);
            ++cases;
        }
    }
    reportFigure("malformed settings cases (value x shape)", cases);
}

TEST_F(MalformedSettings, NumbersAtTheirExtremesGiveASaneBand) {
    struct Extreme {
        const char* name;
        uint32_t value;
        std::function<void()> expect;
    };
    const int32_t kMin = INT32_MIN;
    const std::vector<Extreme> extremes = {
        {"FontSize", 0, [] { EXPECT_EQ(0, bandSettings.FontSize); }},
        {"FontSize", 0x7FFFFFFF, [] {}},
        {"FontSize", 0xFFFFFFFF, [] {}},
        {"FontSize", uint32_t(kMin), [] {}},
        {"FontWeight", 0xFFFFFFFF, [] {}},
        {"FontWeight", 0x7FFFFFFF, [] {}},
        {"Orientation", 2, [this] { EXPECT_EQ(0, band->buttonsLeft) << "strip on the left"; }},
        {"Orientation", 0xFFFFFFFF, [this] { EXPECT_EQ(0, band->buttonsLeft); }},
        {"Orientation", uint32_t(kMin), [this] { EXPECT_EQ(0, band->buttonsLeft); }},
        {"Orientation", 0, [this] { EXPECT_EQ(420 - 3, band->buttonsRight) << "strip on the right"; }},
        {"DisplayPlayListBandMode", 0xFFFFFFFF, [this] { EXPECT_EQ(2, band->timeMode); }},
        {"DisplayPlayListBandMode", 7, [this] { EXPECT_EQ(2, band->timeMode); }},
        {"DisplayPlayListBandMode", uint32_t(kMin), [this] { EXPECT_EQ(2, band->timeMode); }},
        {"DisplayPlayListBandMode", 0, [this] { EXPECT_EQ(0, band->timeMode); }},
        {"TextColour", 0xFF0000FF, [] {}},
        {"TimeColour", 0xFFFFFFFF, [] {}},
        {"TimeColour", 0x01000003, [] {}},
        {"BackgroundColour", 0xFF00FF00, [] {}},
        {"BackgroundColour", 0x02FFFFFF, [] {}},
        {"ClickMode", 0xFFFFFFFF, [] {}},
    };
    playerStatus.times[2] = 3725;  // the time box shows hours, and a bar
    playerStatus.times[3] = -100;
    for (const Extreme& extreme : extremes) {
        const std::string what = std::string(extreme.name) + " = " + std::to_string(extreme.value);
        SCOPED_TRACE(what);
        reloadWith([&] { testing_support::setDword(kPluginKey, extreme.name, extreme.value); });
        expectSaneBand(what);
        extreme.expect();
        // Pointer over every part of the band, and a press on the time box.
        for (int x = 0; x < 420; x += 9) {
            SendMessageA(band.window(), WM_MOUSEMOVE, 0, MAKELPARAM(x, 11));
        }
        SendMessageA(band.window(), WM_MOUSELEAVE, 0, 0);
        expectSaneBand(what + ", after hovering");
    }
    reportFigure("malformed settings extreme numbers", static_cast<long long>(extremes.size()));
}

TEST_F(MalformedSettings, AHundredButtonsWithImagesBeyondTheListAndStrangeFunctions) {
    testing_support::TestWindow player(40, 20, "Malformed player", 700, 700);
    band.send(9, "x", 1, player.handle());
    long long posted = 0;
    player.onMessage = [&](UINT message, WPARAM, LPARAM) {
        if (message == taskIconNotifyMsg || message == deskBandNotifyMsg) ++posted;
        return false;
    };
    const int32_t functions[] = {INT32_MIN, -1, 0, 7, 8, 57, 58, 99, 100, INT32_MAX};
    reloadWith([&] {
        for (int i = 0; i < kMaxButtons; ++i) {
            const uint32_t image = i % 2 ? 21u + i * 1000u : 0x7FFFFFFFu - i;
            testing_support::setDword(kButtonsKey, "Image" + std::to_string(i), image);
            testing_support::setDword(kButtonsKey, "Function" + std::to_string(i),
                                      static_cast<uint32_t>(functions[i % 10]));
        }
        testing_support::setDword(kPluginKey, "Orientation", 0);
    });
    ASSERT_EQ(static_cast<size_t>(kMaxButtons), bandSettings.buttons.size());
    expectSaneBand("a hundred buttons");
    // The strip is far wider than the band: it starts left of the window.
    EXPECT_LT(band->buttonsLeft, 0);

    // Hover and press every button that lies on the window.
    POINT origin{0, 0};
    ClientToScreen(band.window(), &origin);
    int pressed = 0;
    for (int x = 0; x < band->buttonsRight; x += kButtonCell) {
        SetCursorPos(origin.x + x, origin.y + 11);
        SendMessageA(band.window(), WM_MOUSEMOVE, 0, MAKELPARAM(x, 11));
        SendMessageA(band.window(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, 11));
        SendMessageA(band.window(), WM_LBUTTONUP, 0, MAKELPARAM(x, 11));
        band.send(2, "prev", 5, player.handle());  // tooltip refresh on every kind of button
        ++pressed;
    }
    testing_support::pumpMessages(20);
    SendMessageA(band.window(), WM_MOUSELEAVE, 0, 0);
    parkCursor();
    expectSaneBand("a hundred buttons, after pressing");
    EXPECT_GT(posted, 0);
    reportFigure("malformed settings buttons pressed", pressed);
}

}  // namespace
