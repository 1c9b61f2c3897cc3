#include "tests/reliability/BandOnScreen.h"

#include <cstring>

#include "band/core/PlayerStatus.h"

namespace reliability {

using testing_support::Capture;

const char kPluginKey[] = "Software\\Vantorel\\Strappa Plugin";
const char kButtonsKey[] = "Software\\Vantorel\\Strappa Plugin\\Buttons";

void resetPlayerStatus() {
    std::memset(&playerStatus, 0, sizeof playerStatus);
    std::strcpy(playerStatus.title, kIdleTitle);
}

void parkCursor() { SetCursorPos(1270, 1010); }

ShownBand::ShownBand(int width, int height, int x, int y)
    : parent_(width, height, "Reliability band parent", x, y), band_(new DeskBand) {
    band_->hwndParent = parent_.handle();
    EXPECT_TRUE(band_->CreateBandWindow());
    band_->ShowDW(TRUE);
    UpdateWindow(band_->hwnd);
    testing_support::pumpMessages(0);
}

ShownBand::~ShownBand() {
    band_->CloseDW(0);
    band_->Release();
}

void ShownBand::send(ULONG_PTR kind, const void* data, DWORD size, HWND sender) const {
    COPYDATASTRUCT record{kind, size, const_cast<void*>(data)};
    SendMessageA(band_->hwnd, WM_COPYDATA, reinterpret_cast<WPARAM>(sender),
                 reinterpret_cast<LPARAM>(&record));
}

Capture ShownBand::paint() const {
    InvalidateRect(band_->hwnd, nullptr, FALSE);
    return testing_support::captureClient(band_->hwnd);
}

}  // namespace reliability
