// Real windows for tests: a top-level parent, message pumping, pixels read back.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace testing_support {

// A visible top-level window of a test class. Messages it receives can be observed through
// `onMessage` (return true to mark a message as handled with result 0).
class TestWindow {
public:
    TestWindow(int width, int height, const char* caption = "Strappa test window",
               int x = 100, int y = 100);
    ~TestWindow();
    TestWindow(const TestWindow&) = delete;
    TestWindow& operator=(const TestWindow&) = delete;

    HWND handle() const { return hwnd_; }
    void destroy();

    std::function<bool(UINT message, WPARAM wParam, LPARAM lParam)> onMessage;

private:
    static LRESULT CALLBACK procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    HWND hwnd_ = nullptr;
};

// Dispatches this thread's messages for about `milliseconds`.
void pumpMessages(DWORD milliseconds = 0);

// Dispatches messages until `done` holds or the time is up; returns `done()`.
bool pumpUntil(const std::function<bool()>& done, DWORD timeoutMilliseconds = 5000);

// What a window shows, read back from the screen after UpdateWindow: 0x00RRGGBB per pixel.
struct Capture {
    int width = 0;
    int height = 0;
    std::vector<uint32_t> pixels;
    uint32_t at(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
};
Capture captureClient(HWND window);

// 0x00RRGGBB from a COLORREF (0x00BBGGRR).
constexpr uint32_t rgb(COLORREF colour) {
    return ((colour & 0xFF) << 16) | (colour & 0xFF00) | ((colour >> 16) & 0xFF);
}

// Writes a capture as a 24-bit BMP file (for screenshots and failure reports).
bool saveBitmap(const Capture& capture, const std::string& path);

}  // namespace testing_support
