#include "tests/pointer/BandFixture.h"

#include <windows.h>
#include <commctrl.h>

#include <ostream>

#include "band/core/PlayerStatus.h"
#include "band/core/Win32Sizes.h"

namespace pointer_tests {

using namespace testing_support;

const char kPluginKey[] = "Software\\Vantorel\\Strappa Plugin";
const char kButtonsKey[] = "Software\\Vantorel\\Strappa Plugin\\Buttons";

namespace {
const char kCounterProperty[] = "PointerTestMessageCounter";
constexpr int kCursorParkY = 1000;  // below every test window
}  // namespace

void MessageCounter::attach(HWND window) {
    window_ = window;
    SetPropA(window, kCounterProperty, this);
    previous_ = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&procedure)));
}

MessageCounter::~MessageCounter() {
    if (window_ && IsWindow(window_) && GetPropA(window_, kCounterProperty) == this) {
        SetWindowLongPtrA(window_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous_));
        RemovePropA(window_, kCounterProperty);
    }
}

int MessageCounter::count(UINT message) const {
    auto found = counts_.find(message);
    return found == counts_.end() ? 0 : found->second;
}

LRESULT CALLBACK MessageCounter::procedure(HWND window, UINT message, WPARAM wParam,
                                           LPARAM lParam) {
    auto* self = static_cast<MessageCounter*>(GetPropA(window, kCounterProperty));
    if (!self) return DefWindowProcA(window, message, wParam, lParam);
    ++self->counts_[message];
    return CallWindowProcA(self->previous_, window, message, wParam, lParam);
}

void PrintTo(const Posted& posted, std::ostream* out) {
    const char* name = posted.message == taskIconNotifyMsg   ? "MsgTaskIconNotify"
                       : posted.message == deskBandNotifyMsg ? "DeskBandNotify"
                                                             : "other";
    *out << "{" << name << ", " << posted.wParam << ", " << posted.lParam << "}";
}

void writeButtons(const std::vector<int32_t>& functions) {
    constexpr int kFixedButtons = 8;
    for (size_t i = 0; i < functions.size(); ++i) {
        const std::string index = std::to_string(i);
        setDword(kButtonsKey, "Function" + index, static_cast<uint32_t>(functions[i]));
        setDword(kButtonsKey, "Image" + index, static_cast<uint32_t>(i % kFixedButtons));
    }
    for (size_t i = functions.size(); i < kFixedButtons; ++i) {
        setDword(kButtonsKey, "Image" + std::to_string(i), static_cast<uint32_t>(-1));
    }
}

BandFixture::BandFixture() {
    createKey(kPluginKey);
    parkCursor();
}

BandFixture::~BandFixture() {
    if (band) {
        band->CloseDW(0);
        band->Release();
    }
    player.reset();
    parent.reset();
    parkCursor();
}

void BandFixture::open(int width) {
    parent = std::make_unique<TestWindow>(width, 23, "Band parent");
    band = new DeskBand;
    band->hwndParent = parent->handle();
    ASSERT_TRUE(band->CreateBandWindow());
    ASSERT_NE(nullptr, band->hwnd);
    ASSERT_NE(nullptr, tooltip());
    bandMessages.attach(band->hwnd);
    band->ShowDW(TRUE);
    UpdateWindow(band->hwnd);
    pumpMessages(20);
}

void BandFixture::reload() { band->LoadSettings(bandSettings); }

void BandFixture::adoptPlayer(const char* caption, int32_t trackLength) {
    player = std::make_unique<TestWindow>(200, 60, caption, 700, 500);
    const int32_t times[4] = {0, trackLength, 0, 0};
    sendRecord(3, times, sizeof(times));
    ASSERT_EQ(player->handle(), band->hwndPlayer);
}

void BandFixture::sendRecord(ULONG_PTR kind, const void* data, DWORD size) {
    COPYDATASTRUCT record{kind, size, const_cast<void*>(data)};
    HWND sender = player ? player->handle() : parent->handle();
    SendMessageA(band->hwnd, WM_COPYDATA, reinterpret_cast<WPARAM>(sender),
                 reinterpret_cast<LPARAM>(&record));
}

void BandFixture::sendText(ULONG_PTR kind, const std::string& text) {
    sendRecord(kind, text.c_str(), static_cast<DWORD>(text.size() + 1));
}

std::vector<Posted> BandFixture::takePosted() {
    std::vector<Posted> posted;
    MSG message;
    while (PeekMessageA(&message, player->handle(), 0, 0, PM_REMOVE)) {
        if (message.message == taskIconNotifyMsg || message.message == deskBandNotifyMsg) {
            posted.push_back({message.message, message.wParam, message.lParam});
        } else {
            DispatchMessageA(&message);
        }
    }
    return posted;
}

void BandFixture::pin(const Regions& pinned) {
    band->buttonsLeft = pinned.buttonsLeft;
    band->buttonsRight = pinned.buttonsRight;
    band->timeLeft = pinned.timeLeft;
    band->trackLeft = pinned.trackLeft;
    band->trackRight = pinned.trackRight;
}

void BandFixture::moveTo(int32_t x) {
    pin(regions);
    SendMessageA(band->hwnd, WM_MOUSEMOVE, 0, MAKELPARAM(x, 10));
}

void BandFixture::pressAt(int32_t x) {
    pin(regions);
    POINT point{x, 0};
    ClientToScreen(band->hwnd, &point);
    SetCursorPos(point.x, kCursorParkY);
    SendMessageA(band->hwnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, 10));
}

void BandFixture::clickAt(int32_t x) {
    pressAt(x);
    SendMessageA(band->hwnd, WM_LBUTTONUP, 0, MAKELPARAM(x, 10));
}

void BandFixture::parkCursor() { SetCursorPos(5, kCursorParkY); }

std::string BandFixture::toolText() {
    char text[1024] = {};
    TTTOOLINFOA tool{};
    tool.cbSize = kToolInfoSize;
    if (!SendMessageA(tooltip(), TTM_ENUMTOOLSA, 0, reinterpret_cast<LPARAM>(&tool))) {
        return "<no tool>";
    }
    tool.lpszText = text;
    SendMessageA(tooltip(), TTM_GETTEXTA, sizeof(text), reinterpret_cast<LPARAM>(&tool));
    return text;
}

int BandFixture::toolCount() {
    return static_cast<int>(SendMessageA(tooltip(), TTM_GETTOOLCOUNT, 0, 0));
}

}  // namespace pointer_tests
